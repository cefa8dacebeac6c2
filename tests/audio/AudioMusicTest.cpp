#include "app/base/ProgramDirectory.h"
#include "audio/BackendAudioSystem.h"
#include "audio/Sound.h"
#include "audio/clsBGMAPI.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace poronpa;

namespace {

/// Records every call, spelt as a word or two, and answers status queries with a scripted mode.
class RecordingDevice : public MusicDevice {
public:
    void open(const std::string& path) override { sent.push_back("open " + path); }
    void play() override { sent.push_back("play"); }
    void playFromStart() override { sent.push_back("play from start"); }
    void stop() override { sent.push_back("stop"); }
    void close() override { sent.push_back("close"); }
    MusicStatus status() override
    {
        sent.push_back("status");
        return mode;
    }
    std::vector<std::string> sent;
    MusicStatus mode = MusicStatus::Playing;
};

class AudioMusic : public ::testing::Test {
protected:
    void SetUp() override
    {
        setProgramDirectory("/games/poronpa");
        Sound effects(silence);
        LoadAudioLists(music, effects);
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

    SilentWavePlayer silence;
    RecordingDevice device;
    clsBGMAPI music{device};
};

using Commands = std::vector<std::string>;

} // namespace

TEST_F(AudioMusic, PlayingATuneClosesWhatWasOpenThenOpensAndStartsIt)
{
    EXPECT_EQ(commandsOf([&] { music.BGMPlay(2, false); }),
              (Commands{"stop", "close", "open /games/poronpa/km3.mid", "play"}));
    EXPECT_EQ(music.BgmCurrent, 2);
    EXPECT_NE(music.BgmLoop, 0);

    EXPECT_EQ(commandsOf([&] { music.BGMPlay(2, false); }), Commands{}) << "the same tune goes on undisturbed";
    EXPECT_EQ(commandsOf([&] { music.BGMPlay(3, false); }),
              (Commands{"stop", "close", "open /games/poronpa/sky02.mid", "play"}));
}

TEST_F(AudioMusic, PollRestartsALoopingTuneAndClosesOneThatPlaysOnce)
{
    music.BGMPlay(2, false);
    device.mode = MusicStatus::Playing;
    EXPECT_EQ(commandsOf([&] { music.CalledByTimer(); }), Commands{"status"});
    device.mode = MusicStatus::Stopped;
    EXPECT_EQ(commandsOf([&] { music.CalledByTimer(); }), (Commands{"status", "play from start"}));

    music.BGMPlay(1, true);
    EXPECT_EQ(music.BgmLoop, 0);
    EXPECT_EQ(commandsOf([&] { music.CalledByTimer(); }), (Commands{"status", "stop", "close"}));
    EXPECT_EQ(music.BgmCurrent, 1) << "a tune that ended keeps its number";
}

TEST_F(AudioMusic, ATuneThatEndedStaysSilentUntilAnotherTuneOrAStopRuns)
{
    music.BGMPlay(1, true);
    device.mode = MusicStatus::Stopped;
    music.CalledByTimer();

    EXPECT_EQ(commandsOf([&] { music.BGMPlay(1, true); }), Commands{});
    music.BGMStop();
    EXPECT_EQ(music.BgmCurrent, -1);
    EXPECT_EQ(commandsOf([&] { music.BGMPlay(1, true); }),
              (Commands{"stop", "close", "open /games/poronpa/km2.mid", "play"}));
}

TEST_F(AudioMusic, SwitchedOffMusicOnlyStopsAndPollsDoNothing)
{
    music.BGMPlay(2, false);
    music.BGMOnOff(false);
    device.mode = MusicStatus::Stopped;
    EXPECT_EQ(commandsOf([&] { music.CalledByTimer(); }), Commands{"status"});
    EXPECT_EQ(commandsOf([&] { music.BGMPlay(3, false); }), (Commands{"stop", "close"}));
    EXPECT_EQ(music.BgmCurrent, -1);

    EXPECT_EQ(commandsOf([&] { music.BGMOnOff(true); }), Commands{}) << "switching on starts nothing by itself";
    EXPECT_EQ(commandsOf([&] { music.BGMPlay(1, true); }).size(), 4u);
}

TEST_F(AudioMusic, AnUnansweredStatusQueryKeepsTheLastAnswer)
{
    music.BGMPlay(2, false);
    device.mode = MusicStatus::Playing;
    music.CalledByTimer();
    device.mode = MusicStatus::NoAnswer;
    EXPECT_FALSE(music.GetBGMStopped());
    device.mode = MusicStatus::Stopped;
    EXPECT_TRUE(music.GetBGMStopped());
    device.mode = MusicStatus::NoAnswer;
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
