#include "app/base/ProgramDirectory.h"
#include "audio/BackendAudioSystem.h"
#include "audio/Sound.h"
#include "audio/SoundNumbers.h"
#include "audio/clsBGMAPI.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace poronpa;

namespace {

class RecordingPlayer : public WavePlayer {
public:
    void play(const std::string& path) override { played.push_back(path); }
    std::vector<std::string> played;
};

/// Remembers the tunes opened.
class OpeningDevice : public SilentMusicDevice {
public:
    void open(const std::string& path) override { opened.push_back(path); }
    std::vector<std::string> opened;
};

} // namespace

TEST(AudioLists, FilesLieBesideTheProgramWithOneSeparator)
{
    struct Case {
        const char* directory;
        const char* firstEffect;
        const char* firstTune;
    };
    for (const Case& c : {Case{"/opt/poronpa", "/opt/poronpa/click5.wav", "/opt/poronpa/km2.mid"},
                          Case{"/", "/click5.wav", "/km2.mid"}}) {
        SCOPED_TRACE(c.directory);
        setProgramDirectory(c.directory);
        RecordingPlayer player;
        OpeningDevice device;
        Sound sound(player);
        clsBGMAPI music(device);
        LoadAudioLists(music, sound);

        ASSERT_EQ(sound.files().size(), 15u);
        ASSERT_EQ(music.files().size(), 4u);
        EXPECT_EQ(sound.files().front(), c.firstEffect);
        EXPECT_EQ(music.files().front(), c.firstTune);
        EXPECT_TRUE(sound.files().back().ends_with("/break6.wav"));
        EXPECT_TRUE(music.files().back().ends_with("/org5.mid"));
    }
}

TEST(AudioEffects, PlayByNumberOnlyWhileSoundIsOn)
{
    setProgramDirectory("/opt/poronpa");
    RecordingPlayer player;
    OpeningDevice device;
    Sound sound(player);
    clsBGMAPI music(device);
    LoadAudioLists(music, sound);

    for (int number : {1, 7, 15})
        sound.PlayAsync(number);
    EXPECT_TRUE(player.played.empty()) << "effects are off until switched on";

    sound.SoundOn = true;
    sound.PlayAsync(6);
    sound.PlayAsync(15);
    EXPECT_EQ(player.played, (std::vector<std::string>{"/opt/poronpa/key1.wav", "/opt/poronpa/break6.wav"}));

    player.played.clear();
    for (int number : {0, 16, -3})
        sound.PlayAsync(number);
    EXPECT_TRUE(player.played.empty()) << "a number outside the list plays nothing";
}

// Each effect and each tune by its number plays its own file, under the name the program's folder
// holds it by: every entry of both lists.
TEST(AudioLists, EveryNumberPlaysItsOwnFile)
{
    setProgramDirectory("/d");
    RecordingPlayer player;
    OpeningDevice device;
    Sound sound(player);
    clsBGMAPI music(device);
    LoadAudioLists(music, sound);
    sound.SoundOn = true;
    music.BgmOn = true;
    const std::pair<int, const char*> effects[] = {
        {sounds::Click, "click5.wav"}, {sounds::Jump, "jump2.wav"},     {sounds::HeadBump, "dull3.wav"},
        {sounds::Splash, "sprash.wav"}, {sounds::Spring, "sjump2.wav"}, {sounds::Door, "key1.wav"},
        {sounds::Burn, "burn2.wav"},   {sounds::Spikes, "gusa.wav"},    {sounds::Switch, "ss6.wav"},
        {sounds::FellOut, "fall1.wav"}, {sounds::Item, "clear5.wav"},   {sounds::Memo, "ss21.wav"},
        {sounds::Nothing, "sy18.wav"}, {sounds::RopeHooked, "rope.wav"}, {sounds::Glass, "break6.wav"},
    };
    for (const auto& [number, file] : effects) {
        player.played.clear();
        sound.PlayAsync(number);
        EXPECT_EQ(player.played, std::vector<std::string>{std::string("/d/") + file}) << number;
    }
    const std::pair<int, const char*> tuneFiles[] = {
        {tunes::Title, "km2.mid"}, {tunes::Field, "km3.mid"}, {tunes::Sky, "sky02.mid"}, {tunes::Ending, "org5.mid"}};
    for (const auto& [number, file] : tuneFiles) {
        device.opened.clear();
        music.BGMPlay(number, false);
        EXPECT_EQ(device.opened, std::vector<std::string>{std::string("/d/") + file}) << number;
    }
}
