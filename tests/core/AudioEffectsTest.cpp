#include "app/ProgramDirectory.h"
#include "audio/Sound.h"
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

class SilentDevice : public MediaCommands {
public:
    std::string send(const std::string&) override { return {}; }
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
        SilentDevice device;
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
    SilentDevice device;
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
