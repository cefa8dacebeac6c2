#pragma once

#include "screens/MessageTables.h"
#include "play/FramePainter.h"
#include "play/GameEngine.h"
#include "play/KeyCodes.h"
#include "tests/support/TempDir.h"
#include "world/SheetCells.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace poronpa::test {

/// What the engine asked of its shell, recorded as a shell would take it after each frame:
/// questions answered from `answers` (Yes when it runs out), the side panel and the rope lines
/// read from the state.
struct FakeHost {
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

    bool nextAnswer()
    {
        if (answers.empty())
            return true;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
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
    FakeHost host;
    GameEngine engine{map};
    play::FramePainter painter{map, tiles, spriteSheet};
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
        take();
        host.sounds.clear();
        host.tunes.clear();
    }

    /// Answers and paints what the engine asked for since the last time, as the window does.
    void take()
    {
        const play::FrameEvents& events = engine.events();
        for (const play::Request& r : events.requests) {
            switch (r.kind) {
            case play::Request::Kind::Sound: host.sounds.push_back(r.value); break;
            case play::Request::Kind::Music: host.tunes.push_back(r.value); break;
            case play::Request::Kind::TreasureBox: host.boxes.push_back(r.value); break;
            case play::Request::Kind::SaveFailed: host.messages.push_back(texts::saveFailedText(events.reasons[static_cast<std::size_t>(r.value)])); break;
            case play::Request::Kind::LoadFailed: host.messages.push_back(texts::loadFailedText(events.reasons[static_cast<std::size_t>(r.value)])); break;
            case play::Request::Kind::MissGag: host.gags.push_back(r.value); break;
            }
        }
        host.holds += events.held ? 1 : 0;
        if (painter.paint(events, s))
            host.views.emplace_back(painter.scrollX(), painter.scrollY());
        engine.clearEvents();
        for (std::size_t i = 0; i < host.icons.size(); ++i)
            host.icons[i] = s.ItemHeld[i] != 0;
        for (std::size_t i = 0; i < 2; ++i) {
            host.ropeVisible[i] = s.RopeLines[i].visible;
            host.ropeLine[i] = {s.RopeLines[i].x, s.RopeLines[i].y1, s.RopeLines[i].y2};
        }
        for (std::size_t x = 0; x < 5; ++x)
            for (std::size_t y = 0; y < 5; ++y)
                host.miniMap[x][y] = s.MiniMapColor[x][y];
    }

    /// One frame, its questions answered; false when the loop ends with it (`end` says how).
    bool frame()
    {
        end = engine.step();
        while (end == StepEnd::Asking) {
            host.questions.push_back(questionText(engine.question()));
            end = engine.answer(host.nextAnswer());
        }
        take();
        host.titles += end == StepEnd::ToTitle ? 1 : 0;
        host.endings += end == StepEnd::Ending ? 1 : 0;
        return end == StepEnd::Next;
    }

    const Surface& canvas() const { return painter.canvas(); }

    /// Holds exactly these keys (as the window's key events would leave them).
    void hold(std::initializer_list<int> held)
    {
        for (int k = 0; k < 256; ++k)
            engine.keyUp(k);
        for (int k : held)
            engine.keyDown(k);
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
