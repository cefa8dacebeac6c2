#pragma once

#include "play/GameEngine.h"
#include "tests/support/TempDir.h"
#include "world/SheetCells.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace poronpa::test {

/// A host that answers at once and records everything the engine asks of it. Its clock moves
/// only when the engine waits (to just after the due tick) or when a test moves it.
class FakeHost : public PlayHost {
public:
    std::uint32_t clock = 1000;
    double midnight = 0; ///< the clock's second at which the time of day was last 0
    std::vector<std::uint32_t> waits;
    std::vector<bool> blocked; ///< for each wait: whether the clock had to move
    std::vector<int> sounds;
    std::vector<int> tunes;
    std::vector<std::string> questions;
    std::deque<bool> answers; ///< answers to askYesNo in order; Yes when empty
    std::vector<std::string> messages;
    std::vector<int> boxes;
    std::vector<int> gags;
    std::vector<std::pair<int, int>> views;
    std::vector<std::string> fpsTexts;
    std::array<bool, 10> icons{};
    std::array<bool, 2> ropeVisible{};
    std::array<std::array<int, 3>, 2> ropeLine{};
    std::array<std::array<std::int32_t, 5>, 5> miniMap{};
    int titles = 0;
    int endings = 0;
    bool windowOpen = true;
    std::function<void()> duringEvents;   ///< runs inside processEvents
    std::function<void()> duringDialog;   ///< runs inside the treasure box dialog

    std::uint32_t tickCount() override { return clock; }
    void waitUntilAfter(std::uint32_t tick) override
    {
        waits.push_back(tick);
        blocked.push_back(clock <= tick);
        if (clock <= tick)
            clock = tick + 1;
    }
    double secondsSinceMidnight() override { return clock / 1000.0 - midnight; }
    bool processEvents() override
    {
        if (duringEvents)
            duringEvents();
        return windowOpen;
    }
    void playSound(int number) override { sounds.push_back(number); }
    void playMusic(int tune, bool) override { tunes.push_back(tune); }
    void stopMusic() override {}
    bool askYesNo(const std::string& question) override
    {
        questions.push_back(question);
        if (answers.empty())
            return true;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void showMessage(const std::string& message) override { messages.push_back(message); }
    void showTreasureBox(int boxContent) override
    {
        boxes.push_back(boxContent);
        if (duringDialog)
            duringDialog();
    }
    void playMissGag(int phraseIndex, int) override { gags.push_back(phraseIndex); }
    void showTitle() override { ++titles; }
    void startEnding() override { ++endings; }
    void presentView(int scrollX, int scrollY) override { views.emplace_back(scrollX, scrollY); }
    void setRopeLine(int index, bool visible, int x, int y1, int y2) override
    {
        ropeVisible[static_cast<std::size_t>(index)] = visible;
        ropeLine[static_cast<std::size_t>(index)] = {x, y1, y2};
    }
    void updateMiniMap(const std::array<std::array<std::int32_t, 5>, 5>& colours) override { miniMap = colours; }
    void setItemIconVisible(int item, bool visible) override { icons[static_cast<std::size_t>(item)] = visible; }
    void setFpsText(const std::string& text) override { fpsTexts.push_back(text); }
};

/// Virtual key codes the engine reads.
namespace keys {
constexpr int Enter = 13, Space = 32, Left = 37, Up = 38, Right = 39, Down = 40, L = 76, Q = 81, S = 83;
constexpr int digit(int d) { return 48 + d; }
} // namespace keys

/// A sheet whose every cell is one colour that names the cell; on the sprite sheet every mask
/// row is black (the whole sprite opaque), so a drawn sprite shows exactly its image's colour.
inline std::uint32_t cellColour(int n) { return rgb(n, 255 - n, 7); }
inline Surface numberedSheet(bool opaqueMasks)
{
    Surface sheetSurface(sheet::Width, sheet::Height);
    for (int n = 0; n < sheet::Cells; ++n) {
        const bool maskRow = opaqueMasks && (n / sheet::Columns) % 2 == 1 && n / sheet::Columns <= 9;
        sheetSurface.fillRect(sheet::cellX(n), sheet::cellY(n), 32, 32, maskRow ? rgb(0, 0, 0) : cellColour(n));
    }
    return sheetSurface;
}

/// An engine on a map the test paints, with the start of a game in any area and place.
class EngineTest : public ::testing::Test {
protected:
    MapGrid map;
    Surface tiles = numberedSheet(false);
    Surface spriteSheet = numberedSheet(true);
    FakeHost host;
    GameEngine engine{map, tiles, spriteSheet, host};
    GameState& s = engine.state();
    LoopExit exit = LoopExit::Stopped;

    /// Sets cell (c, r) of area (ax, ay).
    void put(int ax, int ay, int c, int r, std::uint8_t tile) { map.setCell(50 * ax + c, 50 * ay + r, tile); }
    /// A row of one tile from column c0 to c1 in area (ax, ay).
    void row(int ax, int ay, int c0, int c1, int r, std::uint8_t tile)
    {
        for (int c = c0; c <= c1; ++c)
            put(ax, ay, c, r, tile);
    }

    /// A new game placed at (x, y) of area (ax, ay) with these items, the area entered and the
    /// loop begun; the sounds and dialogs of the start are forgotten.
    void start(int ax, int ay, float x, float y, const std::vector<int>& items = {})
    {
        engine.NewGame();
        s.AreaX = static_cast<std::int16_t>(ax);
        s.AreaY = static_cast<std::int16_t>(ay);
        s.HeroX = x;
        s.HeroY = y;
        for (int item : items)
            s.ItemHeld[static_cast<std::size_t>(item)] = 1;
        engine.EnterArea();
        engine.beginLoop();
        host.sounds.clear();
        host.tunes.clear();
    }

    /// Holds exactly these keys (as the window's key events would leave them).
    void hold(std::initializer_list<int> held)
    {
        for (int k = 0; k < 256; ++k)
            engine.keyUp(k);
        for (int k : held)
            engine.keyDown(k);
    }

    /// Runs n frames; false when the loop ended on the way (the reason is in `exit`).
    bool run(int n = 1)
    {
        for (int i = 0; i < n; ++i)
            if (!engine.runFrame(exit))
                return false;
        return true;
    }

    /// Runs frames until the condition holds (at most `limit`); returns the frames run.
    int runUntil(const std::function<bool()>& done, int limit = 2000)
    {
        for (int i = 1; i <= limit; ++i) {
            if (!engine.runFrame(exit))
                return -i;
            if (done())
                return i;
        }
        return limit + 1;
    }

    std::uint8_t cell(int c, int r) const { return s.AreaCells[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)]; }
};

} // namespace poronpa::test
