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
    engine.startNewGame({});
    engine.beginLoop();
    SimHost host([](const std::string&) {});
    engine.keyDown(keys::Q);
    EXPECT_EQ(host.runFrame(engine), StepEnd::ToTitle);
    EXPECT_TRUE(host.frameRequests().sounds.empty());
}
