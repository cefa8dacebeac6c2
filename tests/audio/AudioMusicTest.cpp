#include "app/base/ProgramDirectory.h"
#include "audio/Sound.h"
#include "audio/clsBGMAPI.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace poronpa;

namespace {

/// Records every command and answers status queries with a scripted mode ("" = no answer).
class RecordingDevice : public MediaCommands {
public:
    std::string send(const std::string& command) override
    {
        sent.push_back(command);
        return command == "status bgm mode" ? mode : std::string();
    }
    std::vector<std::string> sent;
    std::string mode = "playing";
};

class AudioMusic : public ::testing::Test {
protected:
    void SetUp() override
    {
        setProgramDirectory("/games/poronpa");
        for (const char* tune : {"km2.mid", "km3.mid", "sky02.mid", "org5.mid"})
            music.AddBGM(tune);
        music.InitBGM();
    }
    /// The commands sent by `action` alone.
    template <typename Action>
    std::vector<std::string> commandsOf(Action action)
    {
        device.sent.clear();
        action();
        return device.sent;
    }

    RecordingDevice device;
    clsBGMAPI music{device};
};

using Commands = std::vector<std::string>;

} // namespace

TEST_F(AudioMusic, PlayingATuneClosesWhatWasOpenThenOpensAndStartsIt)
{
    EXPECT_EQ(commandsOf([&] { music.BGMPlay(2, false); }),
              (Commands{"stop bgm", "close bgm", "open \"/games/poronpa/km3.mid\" alias bgm", "play bgm"}));
    EXPECT_EQ(music.BgmCurrent, 2);
    EXPECT_NE(music.BgmLoop, 0);

    EXPECT_EQ(commandsOf([&] { music.BGMPlay(2, false); }), Commands{}) << "the same tune goes on undisturbed";
    EXPECT_EQ(commandsOf([&] { music.BGMPlay(3, false); }),
              (Commands{"stop bgm", "close bgm", "open \"/games/poronpa/sky02.mid\" alias bgm", "play bgm"}));
}

TEST_F(AudioMusic, PollRestartsALoopingTuneAndClosesOneThatPlaysOnce)
{
    music.BGMPlay(2, false);
    device.mode = "playing";
    EXPECT_EQ(commandsOf([&] { music.CalledByTimer(); }), Commands{"status bgm mode"});
    device.mode = "stopped";
    EXPECT_EQ(commandsOf([&] { music.CalledByTimer(); }), (Commands{"status bgm mode", "play bgm from 0"}));

    music.BGMPlay(1, true);
    EXPECT_EQ(music.BgmLoop, 0);
    EXPECT_EQ(commandsOf([&] { music.CalledByTimer(); }), (Commands{"status bgm mode", "stop bgm", "close bgm"}));
    EXPECT_EQ(music.BgmCurrent, 1) << "a tune that ended keeps its number";
}

TEST_F(AudioMusic, ATuneThatEndedStaysSilentUntilAnotherTuneOrAStopRuns)
{
    music.BGMPlay(1, true);
    device.mode = "stopped";
    music.CalledByTimer();

    EXPECT_EQ(commandsOf([&] { music.BGMPlay(1, true); }), Commands{});
    music.BGMStop();
    EXPECT_EQ(music.BgmCurrent, -1);
    EXPECT_EQ(commandsOf([&] { music.BGMPlay(1, true); }),
              (Commands{"stop bgm", "close bgm", "open \"/games/poronpa/km2.mid\" alias bgm", "play bgm"}));
}

TEST_F(AudioMusic, SwitchedOffMusicOnlyStopsAndPollsDoNothing)
{
    music.BGMPlay(2, false);
    music.BGMOnOff(false);
    device.mode = "stopped";
    EXPECT_EQ(commandsOf([&] { music.CalledByTimer(); }), Commands{"status bgm mode"});
    EXPECT_EQ(commandsOf([&] { music.BGMPlay(3, false); }), (Commands{"stop bgm", "close bgm"}));
    EXPECT_EQ(music.BgmCurrent, -1);

    EXPECT_EQ(commandsOf([&] { music.BGMOnOff(true); }), Commands{}) << "switching on starts nothing by itself";
    EXPECT_EQ(commandsOf([&] { music.BGMPlay(1, true); }).size(), 4u);
}

TEST_F(AudioMusic, AnUnansweredStatusQueryKeepsTheLastAnswer)
{
    music.BGMPlay(2, false);
    device.mode = "playing";
    music.CalledByTimer();
    device.mode = "";
    EXPECT_FALSE(music.GetBGMStopped());
    device.mode = "stopped";
    EXPECT_TRUE(music.GetBGMStopped());
    device.mode = "";
    EXPECT_TRUE(music.GetBGMStopped());
}

TEST_F(AudioMusic, AnUnknownTuneNumberLeavesTheMusicClosed)
{
    music.BGMPlay(2, false);
    for (int tune : {0, 5, 99}) {
        SCOPED_TRACE(tune);
        const Commands sent = commandsOf([&] { music.BGMPlay(tune, false); });
        for (const std::string& command : sent)
            EXPECT_FALSE(command.starts_with("open") || command.starts_with("play")) << command;
    }
}
