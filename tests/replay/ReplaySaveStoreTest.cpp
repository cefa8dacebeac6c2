// The saves a replay plays with meet the recorded failures at their frames and only there, each
// kind of failure on its own kind of call, and work on the recorded ring otherwise; the engine
// hands a store's failure to the shell as a typed request with the store's reason.

#include "play/GameEngine.h"
#include "play/SaveStore.h"
#include "replay/ReplaySaveStore.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

using namespace poronpa;
using namespace poronpa::replay;

TEST(ReplaySaveStore, RecordedFailuresHappenAtTheirFramesOnly)
{
    test::TempDir dir;
    Replay replay;
    replay.failures = {{3, Failure::Kind::Save}, {5, Failure::Kind::Load}, {7, Failure::Kind::Save},
                       {7, Failure::Kind::Load}};
    ReplaySaveStore store(dir.path(), replay);
    ASSERT_TRUE(store.prepare().ok());
    SaveRecord record;
    record.AreaX = 3;
    record.RespawnX = 320;
    record.RespawnY = 640;
    // frame, whether a save there is kept, what a load of the latest there finds
    const std::vector<std::tuple<int, bool, LoadOutcome>> frames = {
        {1, true, LoadOutcome::Loaded},      {3, false, LoadOutcome::Loaded}, {4, true, LoadOutcome::Loaded},
        {5, true, LoadOutcome::Unreadable}, {6, true, LoadOutcome::Loaded}, {7, false, LoadOutcome::Unreadable},
        {9, true, LoadOutcome::Loaded},
    };
    for (const auto& [frame, saved, loaded] : frames) {
        SCOPED_TRACE(frame);
        store.atFrame(frame);
        const SaveResult save = store.save(record);
        EXPECT_EQ(save.saved, saved);
        EXPECT_EQ(save.reason.empty(), saved);
        const LoadResult load = store.load(0);
        EXPECT_EQ(load.outcome, loaded);
        if (loaded == LoadOutcome::Loaded)
            EXPECT_EQ(load.record, record);
    }
}

namespace {

/// A store that answers as told and counts the calls.
struct ScriptedStore : SaveStore {
    SaveResult saveAnswer;
    LoadResult loadAnswer;
    int saves = 0, loads = 0;
    SaveResult save(const SaveRecord&) override { return ++saves, saveAnswer; }
    LoadResult load(int) override { return ++loads, loadAnswer; }
};

} // namespace

TEST(SaveStorePort, AFailureReachesTheShellTypedWithTheStoresReason)
{
    MapGrid map;
    GameEngine engine(map);
    ScriptedStore store;
    store.loadAnswer.outcome = LoadOutcome::Unreadable;
    store.loadAnswer.reason = "the disk is asleep";
    engine.setSaveStore(store);
    engine.NewGame();
    engine.EnterArea();
    engine.clearEvents();
    EXPECT_FALSE(engine.LoadGame(0));
    EXPECT_EQ(store.loads, 1);
    const play::FrameEvents& events = engine.events();
    ASSERT_EQ(events.requests.size(), 1u);
    EXPECT_EQ(events.requests[0].kind, play::Request::Kind::LoadFailed);
    EXPECT_EQ(events.reasons.at(static_cast<std::size_t>(events.requests[0].value)), "the disk is asleep");
}
