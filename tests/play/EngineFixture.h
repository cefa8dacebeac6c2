#pragma once

#include "screens/MessageTables.h"
#include "play/FramePainter.h"
#include "play/FrameRunner.h"
#include "play/GameEngine.h"
#include "play/KeyCodes.h"
#include "tests/support/TempDir.h"
#include "world/SheetCells.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace poronpa::test {

/// What the engine asked of its shell, recorded as a shell would take it: questions answered from
/// `answers` (Yes when it runs out), the frames painted when there is a painter, the side panel
/// and the rope lines read from the state.
struct FakeHost : play::FrameHost {
    std::vector<int> sounds;
    std::vector<int> tunes;
    std::vector<std::string> questions;
    std::deque<bool> answers; ///< answers to the questions in order; Yes when empty
    std::vector<std::string> messages;
    std::vector<int> boxes;
    std::vector<int> gags;
    std::vector<std::pair<int, int>> views;
    std::array<bool, 10> icons{};
    std::array<bool, 2> ropeVisible{};
    std::array<std::array<int, 3>, 2> ropeLine{};
    std::array<std::array<std::int32_t, 5>, 5> miniMap{};
    int titles = 0;
    int endings = 0;
    int holds = 0; ///< frames (or title actions) that held the loop up
    std::size_t drawOps = 0; ///< steps of drawing the engine described
    play::FramePainter* painter = nullptr;

    explicit FakeHost(play::FramePainter* paintedOn = nullptr) : painter(paintedOn) {}

    std::optional<bool> ask(Question question) override
    {
        questions.push_back(questionText(question));
        if (answers.empty())
            return true;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void playSound(int number) override { sounds.push_back(number); }
    void playMusic(int tune) override { tunes.push_back(tune); }
    void openTreasureBox(int content) override { boxes.push_back(content); }
    void saveFailed(const std::string& reason) override { messages.push_back(texts::saveFailedText(reason)); }
    void loadFailed(const std::string& reason) override { messages.push_back(texts::loadFailedText(reason)); }
    void playMishap(int phrase) override { gags.push_back(phrase); }
    void show(const play::FrameEvents& events, const GameState& s) override
    {
        holds += events.held ? 1 : 0;
        drawOps += events.drawing.size();
        if (painter && painter->paint(events, s))
            views.emplace_back(painter->scrollX(), painter->scrollY());
        for (std::size_t i = 0; i < icons.size(); ++i)
            icons[i] = s.ItemHeld[i] != 0;
        for (std::size_t i = 0; i < 2; ++i) {
            ropeVisible[i] = s.RopeLines[i].visible;
            ropeLine[i] = {s.RopeLines[i].x, s.RopeLines[i].y1, s.RopeLines[i].y2};
        }
        for (std::size_t x = 0; x < 5; ++x)
            for (std::size_t y = 0; y < 5; ++y)
                miniMap[x][y] = s.MiniMapColor[x][y];
    }
    void frameEnds(StepEnd end, const GameState&) override
    {
        titles += end == StepEnd::ToTitle ? 1 : 0;
        endings += end == StepEnd::Ending ? 1 : 0;
    }
};

/// The keys of a list, as a set.
inline KeySet keySet(const std::vector<int>& held)
{
    KeySet keys;
    for (int k : held)
        keys.set(static_cast<std::size_t>(k));
    return keys;
}

/// A second engine on the fixture's map that draws nothing, run by a runner of its own: what it
/// does must not differ from what the painted engine does.
struct QuietEngine {
    explicit QuietEngine(const MapGrid& map) : engine(map) { engine.setDrawingWanted(false); }
    FakeHost host;
    GameEngine engine;
    play::FrameRunner runner{engine, host};
    KeySet keys;

    /// As EngineTest::hold().
    void hold(std::initializer_list<int> held)
    {
        runner.letGoOfKeys();
        keys = keySet(held);
    }
    StepEnd frame() { return runner.runFrame(keys); }
};

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
    play::FramePainter painter{map, tiles, spriteSheet};
    FakeHost host{&painter};
    GameEngine engine{map};
    play::FrameRunner runner{engine, host};
    KeySet keys;
    GameState& s = engine.state();
    StepEnd end = StepEnd::Next;

    /// Sets cell (c, r) of area (ax, ay).
    void put(int ax, int ay, int c, int r, std::uint8_t tile) { map.setCell(50 * ax + c, 50 * ay + r, tile); }
    /// A row of one tile from column c0 to c1 in area (ax, ay).
    void row(int ax, int ay, int c0, int c1, int r, std::uint8_t tile)
    {
        for (int c = c0; c <= c1; ++c)
            put(ax, ay, c, r, tile);
    }

    /// A new game placed at (x, y) of area (ax, ay) with these items, the area entered and the
    /// loop begun with no key held; the sounds and dialogs of the start are forgotten.
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
        runner.beginLoop();
        keys.reset();
        take();
        host.sounds.clear();
        host.tunes.clear();
    }

    /// Answers and paints what the engine asked for since the last time, as the window does.
    void take() { runner.takeEvents(); }

    /// One frame with the keys held, its questions answered; false when the loop ends with it
    /// (`end` says how).
    bool frame()
    {
        end = runner.runFrame(keys);
        return end == StepEnd::Next;
    }

    const Surface& canvas() const { return painter.canvas(); }

    /// From the next frame on, exactly these keys are held, each pressed anew.
    void hold(std::initializer_list<int> held)
    {
        runner.letGoOfKeys();
        keys = keySet(held);
    }

    /// Runs n frames; false when the loop ended on the way (the reason is in `end`).
    bool run(int n = 1)
    {
        for (int i = 0; i < n; ++i)
            if (!frame())
                return false;
        return true;
    }

    /// Runs frames until the condition holds (at most `limit`); returns the frames run.
    int runUntil(const std::function<bool()>& done, int limit = 2000)
    {
        for (int i = 1; i <= limit; ++i) {
            if (!frame())
                return -i;
            if (done())
                return i;
        }
        return limit + 1;
    }

    std::uint8_t cell(int c, int r) const { return s.AreaCells[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)]; }
};

} // namespace poronpa::test
