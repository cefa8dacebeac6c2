#pragma once

#include "play/GameEngine.h"
#include "play/PseudoRandom.h"

#include <array>
#include <cstdint>

namespace poronpa {

/// The engine's inside, shared by the files that make up a frame: the loop and keys
/// (GameEngine.cpp), motion (HeroMotion.cpp), tile tests (TileTests.cpp), world events
/// (WorldEvents.cpp) and drawing (FrameDrawing.cpp).
struct GameEngine::Impl {
    Impl(const MapGrid& map, const Surface& tileSheet, const Surface& spriteSheet, PlayHost& host);

    // --- The world and the surroundings ------------------------------------------------------
    const MapGrid& map;
    const Surface& tileSheet;
    const Surface& spriteSheet;
    PlayHost& host;
    GameState s;
    Surface canvas;
    bool drawingEnabled = true;
    std::int32_t frameRate = 0;
    std::filesystem::path saveFile;
    play::PseudoRandom random;

    // --- Loop bookkeeping ----------------------------------------------------------------------
    std::int64_t frameDue = 0;
    float fpsShownAt = 0;
    std::int32_t fpsCount = 0;
    bool closing = false;

    /// One rope line as the host was last told to show it.
    struct RopeLine {
        bool visible = false;
        int x = 0, y1 = 0, y2 = 0;
    };
    std::array<RopeLine, 2> ropeLines{};

    // --- Per-frame drawing lists ---------------------------------------------------------------
    static constexpr int ListSize = 11;
    /// A 32 × 32 block queued for the end of the frame: where it goes and which sheet cell it shows.
    struct Block {
        int x = 0, y = 0, column = 0, row = 0;
    };
    std::array<int, ListSize> saveUnderX{}, saveUnderY{};
    int saveUnderCount = 0;
    Surface saveUnderStrip;
    std::array<Block, ListSize> sprites{};
    int spriteCount = 0;
    std::array<Block, ListSize> overlays{};
    int overlayCount = 0;
    int scrollX = 0, scrollY = 0;

    // --- GameEngine.cpp: loop, pacing, keys, prompts ----------------------------------------
    void beginLoop();
    bool runFrame(LoopExit& exit);
    /// After anything that held the loop up: the next frame is due one interval from now.
    void rebaseFrameClock();
    void ClearKeys();
    bool held(int key) const { return s.KeyHeld[static_cast<std::size_t>(key)]; }

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
    void UpdateMiniMap();
    void OpenTreasureBox();
    void reachViewingSpot();
    void startMishap(std::int16_t state, std::int32_t frames, int sound);
    void saveWithDiary();
    bool LoadGame(int back);
    void respawn();
    void StartEnding();

    // --- FrameDrawing.cpp ----------------------------------------------------------------------
    void restoreSaveUnders();
    void SaveUnder(int x, int y);
    void PushSprite(int x, int y, int column, int row);
    void PushOverlay(int x, int y, int column, int row);
    void DrawCell(int c, int r);
    void placeView();
    void drawFrame();
    void drawAnimatedTiles();
    void redrawWholeArea();
};

} // namespace poronpa
