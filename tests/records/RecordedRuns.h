#pragma once

#include "play/FrameRunner.h"
#include "play/SaveFileStore.h"
#include "replay/Recordings.h"
#include "tests/support/TempDir.h"
#include "world/MapFile.h"

#include <gtest/gtest.h>

#include <fstream>

namespace poronpa::test {

/// The route to the ending on the built world, played as the window plays a game from the title
/// and recorded: once as a new game, once begun as a continued game (with no save, which starts
/// a new game all the same). Made once for the whole test program.
struct RecordedRuns {
    MapGrid map;
    TempDir dir;
    std::filesystem::path whole;     ///< the new game's recording
    std::filesystem::path continued; ///< the continued game's
    std::int32_t frames = 0;         ///< the run's frames to the ending

    static const RecordedRuns& get()
    {
        static const RecordedRuns runs;
        return runs;
    }

private:
    struct Host : play::FrameHost {
        replay::ReplaySession* session = nullptr;
        void frameBegins(const GameState& state) override { session->beginFrame(state); }
        std::optional<bool> ask(Question) override { return true; }
        void frameEnds(StepEnd end, const GameState& state) override { session->endFrame(state, end == StepEnd::Ending); }
    };

    RecordedRuns()
    {
        EXPECT_TRUE(loadMap(PORONPA_BUILT_MAP, map).ok());
        whole = record(false);
        continued = record(true);
    }

    std::filesystem::path record(bool fromContinue)
    {
        std::ifstream route(std::string(PORONPA_MAP_SOURCES) + "/routes/ending.keys");
        sim::KeyScriptReader script(route);
        sim::KeyFeed feed(script);
        replay::Recordings recordings(dir / "replays", [](const std::string& reason) { ADD_FAILURE() << reason; });
        SaveFileStore saves(dir / (fromContinue ? "continued.dat" : "whole.dat"));
        GameEngine engine(map);
        engine.setDrawingWanted(false);
        engine.setSaveStore(saves);
        engine.startFromTitle(fromContinue ? TitleChoice::Continue : TitleChoice::NewGame);
        Host host;
        play::FrameRunner runner(engine, host);
        runner.beginLoop();
        host.session = recordings.begin(engine.state(), fromContinue, 0, map, saves.file());
        const auto path = host.session->path();
        StepEnd end = StepEnd::Next;
        for (sim::KeySet keys; end == StepEnd::Next && feed.next(keys);)
            end = runner.runFrame(keys);
        EXPECT_EQ(end, StepEnd::Ending) << "the route no longer reaches the ending";
        frames = engine.state().RunFrames;
        recordings.end();
        recordings.flush();
        // Two recordings begun in one second get names of their own; keep each apart anyway.
        const auto kept = dir / (fromContinue ? "continued.replay" : "whole.replay");
        std::filesystem::rename(path, kept);
        return kept;
    }
};

} // namespace poronpa::test
