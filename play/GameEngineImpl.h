#pragma once

#include "play/GameEngine.h"
#include "play/SaveStore.h"

#include <cstdint>

namespace poronpa {

/// The engine's inside, shared by the files that make up a frame: the step and its prompts
/// (GameEngine.cpp), motion (HeroMotion.cpp), tile tests (TileTests.cpp), world events
/// (WorldEvents.cpp) and what the frame shows (FrameDrawing.cpp). It keeps no game state of its
/// own besides the point a frame waits at for an answer.
struct GameEngine::Impl {
    explicit Impl(const MapGrid& map);

    // --- The world and the settings --------------------------------------------------------
    const MapGrid& map;
    std::int32_t frameRate = 0;
    NoSaveStore noSaves;
    SaveStore* saves = &noSaves;

    GameState s;
    play::FrameEvents events;
    bool drawingWanted = true;

    /// Where a frame waits for an answer.
    enum class Waiting { Nothing, LoadAnswer, TitleAnswer };
    Waiting waiting = Waiting::Nothing;

    // --- GameEngine.cpp: the step, prompts, keys -------------------------------------------
    StepEnd step();
    StepEnd answer(bool yes);
    StepEnd afterLoadPrompt();
    StepEnd restOfFrame();
    void beginLoop();
    /// After anything that held the loop up: the next frame is due one interval after it.
    void heldUp() { events.held = true; }
    void ClearKeys();
    bool held(int key) const { return s.KeyHeld[static_cast<std::size_t>(key)]; }
    void playSound(int number) { events.requests.push_back({play::Request::Kind::Sound, number}); }
    void request(play::Request::Kind kind, int value) { events.requests.push_back({kind, value}); }
    /// A save or a load failed (SaveFailed, LoadFailed), for the reason given.
    void failed(play::Request::Kind kind, std::string reason);

    // --- HeroMotion.cpp ------------------------------------------------------------------------
    void motionStep();
    void throwRope();
    void moveHero();
    void crossAreaEdges();
    void setRopeLine(int index, bool visible, int x, int y1, int y2);
    void releaseRope();

    // --- TileTests.cpp -----------------------------------------------------------------------
    void tileTests();
    std::uint8_t& cellAt(int c, int r);
    void headTest();
    void sideTests();
    void floorTests();
    void centreTest();
    void crumblingStep(int c, int r);
    void verticalSpring(std::uint8_t tile, int c, int r);
    void sideSpring(std::uint8_t tile, int c, int r, bool throwsRight);
    void water();

    // --- WorldEvents.cpp -----------------------------------------------------------------------
    void NewGame();
    void EnterArea();
    void PlayAreaMusic();
    /// What a new game and a load both leave behind of the game before: no speed, the hero just
    /// placed, no rope, no countdown running.
    void placeHeroAfresh();
    void OpenTreasureBox();
    void reachViewingSpot();
    void startMishap(std::int16_t state, std::int32_t frames, int sound);
    void saveWithDiary();
    bool LoadGame(int back);
    void respawn();
    StepEnd StartEnding();

    // --- FrameDrawing.cpp ----------------------------------------------------------------------
    void draw(play::DrawOp::Kind kind, int a = 0, int b = 0, int c = 0, int d = 0)
    {
        if (drawingWanted)
            events.drawing.push_back({kind, a, b, c, d});
    }
    void PushSprite(int x, int y, play::Picture picture, int frame)
    {
        draw(play::DrawOp::Kind::Sprite, x, y, static_cast<int>(picture), frame);
    }
    /// Tile `tile` of cell (c, r) shown pressed for this frame.
    void PushPressed(int c, int r, std::uint8_t tile) { draw(play::DrawOp::Kind::Overlay, c * 32, r * 32, tile); }
    void DrawCell(int c, int r) { draw(play::DrawOp::Kind::Cell, c, r, cellAt(c, r)); }
    void drawFrame();
    /// The effects shown for a while (a head bump, a splash) count down, drawn or not.
    void countDownEffects();
};

} // namespace poronpa
