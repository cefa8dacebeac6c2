#include "app/sim/SimHost.h"
#include "play/KeyCodes.h"
#include "screens/TreasureBoxContent.h"

#include <gtest/gtest.h>

using namespace poronpa;
using namespace poronpa::sim;

TEST(SimHost, TreasureBoxAddsTheDialogsSoundsToTheFrame)
{
    const struct {
        int content;
        std::vector<int> sounds;
    } cases[] = {
        {BlueKey, {7, 11, 1, 1}}, {PampasGrass, {7, 11, 1, 1}}, {101, {7, 12, 1, 1}}, {106, {7, 12, 1, 1}},
        {BoxEmpty, {7, 13, 1}}, {BoxOfferingsMissing, {7, 13, 1}},
    };
    for (const auto& c : cases) {
        std::vector<int> sounds{7};
        appendClickedThroughSounds(c.content, sounds);
        EXPECT_EQ(sounds, c.sounds) << c.content;
    }
}

TEST(SimHost, EveryQuestionIsAnsweredYes)
{
    const MapGrid map;
    GameEngine engine(map);
    engine.startFromTitle(TitleChoice::NewGame);
    SimHost host([](const std::string&) {});
    play::FrameRunner runner(engine, host);
    runner.beginLoop();
    KeySet held;
    held.set(keys::Q);
    EXPECT_EQ(runner.runFrame(held), StepEnd::ToTitle);
    EXPECT_TRUE(host.frameRequests().sounds.empty());
}
