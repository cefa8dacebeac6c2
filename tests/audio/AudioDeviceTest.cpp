// The SDL back ends against SDL's disk audio driver: what the mixer plays lands in a file of raw
// samples, so the tests can hear whether anything sounded.
#include "app/ProgramDirectory.h"
#include "audio/AudioSystem.h"
#include "audio/SdlMusicDevice.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <thread>

#include <SDL.h>
#include <SDL_mixer.h>

using namespace poronpa;
using namespace std::chrono_literals;

namespace {

/// The loudest sample of the disk driver's output (16-bit signed, native order) from `from`
/// samples on.
int loudestSample(const std::filesystem::path& rawFile, std::size_t from = 0)
{
    const std::vector<unsigned char> bytes = test::readBytes(rawFile);
    int loudest = 0;
    for (std::size_t i = 2 * from; i + 1 < bytes.size(); i += 2) {
        std::int16_t sample;
        std::memcpy(&sample, &bytes[i], 2);
        loudest = std::max(loudest, std::abs(static_cast<int>(sample)));
    }
    return loudest;
}

class AudioDevice : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", rawFile().c_str(), 1);
        setProgramDirectory(PORONPA_RUNTIME_DIR);
    }
    void TearDown() override
    {
        unsetenv("SDL_AUDIODRIVER");
        unsetenv("SDL_DISKAUDIOFILE");
    }
    std::filesystem::path rawFile() const { return dir / "out.raw"; }

    test::TempDir dir;
};

/// A tune of one bar of C major quarter notes at 120 beats a minute: two seconds long.
std::vector<unsigned char> oneBarTune()
{
    std::vector<unsigned char> track = {0x00, 0xC0, 0x00};
    for (const unsigned char key : std::vector<unsigned char>{60, 64, 67, 72})
        track.insert(track.end(), {0x00, 0x90, key, 100, 0x83, 0x60, 0x80, key, 0});
    track.insert(track.end(), {0x00, 0xFF, 0x2F, 0x00});
    std::vector<unsigned char> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0,
                                       'M', 'T', 'r', 'k', 0, 0, 0, static_cast<unsigned char>(track.size())};
    file.insert(file.end(), track.begin(), track.end());
    return file;
}

} // namespace

TEST_F(AudioDevice, AnEffectSoundsOnlyWhileEffectsAreOn)
{
    {
        auto audio = AudioSystem::create(false);
        LoadAudioLists(audio->music(), audio->sound());
        audio->sound().PlayAsync(11, 0, 1, 0);
        std::this_thread::sleep_for(300ms);
    }
    EXPECT_LT(loudestSample(rawFile()), 8) << "effects are off until switched on";

    {
        auto audio = AudioSystem::create(false);
        LoadAudioLists(audio->music(), audio->sound());
        audio->sound().SoundOn = true;
        audio->sound().PlayAsync(11, 0, 1, 0);
        std::this_thread::sleep_for(500ms);
    }
    EXPECT_GT(loudestSample(rawFile()), 3000);
}

TEST_F(AudioDevice, ATunePlaysThroughTheSynthesizer)
{
    {
        auto audio = AudioSystem::create(false);
        LoadAudioLists(audio->music(), audio->sound());
        audio->music().InitBGM();
        audio->music().BGMPlay(2, false);
        std::this_thread::sleep_for(1500ms);
        audio->music().BGMStop();
    }
    EXPECT_GT(loudestSample(rawFile()), 1000);
}

TEST_F(AudioDevice, ATuneEndsAtItsOwnLengthAndStartsAgainFromTheTop)
{
    test::writeBytes(dir / "bar.mid", oneBarTune());
    auto audio = AudioSystem::create(false); // opens the mixer for the device below
    SdlMusicDevice device;
    device.send("open \"" + (dir / "bar.mid").string() + "\" alias bgm");
    EXPECT_EQ(device.send("status bgm mode"), "stopped") << "a tune just opened has not started";
    device.send("play bgm");
    std::this_thread::sleep_for(1500ms);
    EXPECT_EQ(device.send("status bgm mode"), "playing");
    std::this_thread::sleep_for(600ms);
    EXPECT_EQ(device.send("status bgm mode"), "stopped") << "the release tail does not count as playing";
    device.send("play bgm from 0");
    EXPECT_EQ(device.send("status bgm mode"), "playing");
    device.send("stop bgm");
    EXPECT_EQ(device.send("status bgm mode"), "stopped");
    device.send("close bgm");
    EXPECT_EQ(device.send("status bgm mode"), "") << "a closed alias does not answer";
}

TEST_F(AudioDevice, AMissingTuneLeavesTheAliasClosed)
{
    auto audio = AudioSystem::create(false);
    SdlMusicDevice device;
    device.send("open \"" + (dir / "absent.mid").string() + "\" alias bgm");
    device.send("play bgm");
    EXPECT_EQ(device.send("status bgm mode"), "");
    device.send("play bgm from 0");
    device.send("stop bgm");
    device.send("close bgm");
}
