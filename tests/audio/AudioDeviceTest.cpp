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

constexpr double bytesPerSecond = 44100.0 * 2 * 2; // the mixer's stereo 16-bit output

/// The loudest sample of the disk driver's output (16-bit signed, native order) between two
/// times in seconds.
int loudestSample(const std::filesystem::path& rawFile, double fromSeconds = 0.0, double toSeconds = 1e9)
{
    const std::vector<unsigned char> bytes = test::readBytes(rawFile);
    const auto begin = static_cast<std::size_t>(fromSeconds * bytesPerSecond) & ~std::size_t{3};
    const auto end = std::min(bytes.size(), static_cast<std::size_t>(std::min(toSeconds * bytesPerSecond, 1e12)));
    int loudest = 0;
    for (std::size_t i = begin; i + 1 < end; i += 2) {
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

std::vector<unsigned char> midiFile(std::vector<unsigned char> track)
{
    track.insert(track.end(), {0x00, 0xFF, 0x2F, 0x00});
    std::vector<unsigned char> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0, 'M', 'T', 'r', 'k', 0, 0, 0};
    file.push_back(static_cast<unsigned char>(track.size()));
    for (unsigned char byte : track)
        file.push_back(byte);
    return file;
}

/// One bar of C major quarter notes at 120 beats a minute: two seconds long.
std::vector<unsigned char> oneBarTune()
{
    std::vector<unsigned char> track = {0x00, 0xC0, 0x00};
    for (const unsigned char key : std::vector<unsigned char>{60, 64, 67, 72})
        track.insert(track.end(), {0x00, 0x90, key, 100, 0x83, 0x60, 0x80, key, 0});
    return midiFile(track);
}

/// A second of silence, then two seconds of quick organ notes, so that wherever the tune is
/// resumed in its second half, notes sound.
std::vector<unsigned char> lateNotesTune()
{
    std::vector<unsigned char> track = {0x00, 0xC0, 19, 0x87, 0x40};
    for (int note = 0; note < 8; ++note)
        track.insert(track.end(), {0x90, 67, 110, 0x81, 0x70, 0x80, 67, 0, 0x00});
    track.pop_back(); // the end-of-track event brings its own delta time
    return midiFile(track);
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
    EXPECT_EQ(device.send("status bgm mode"), "playing");
    std::this_thread::sleep_for(2100ms);
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

TEST_F(AudioDevice, StartingAgainFromTheTopDoesNotResumeWhereTheTuneWas)
{
    test::writeBytes(dir / "late.mid", lateNotesTune());
    double restartedAt = 0.0;
    {
        auto audio = AudioSystem::create(false);
        SdlMusicDevice device;
        device.send("open \"" + (dir / "late.mid").string() + "\" alias bgm");
        device.send("play bgm");
        std::this_thread::sleep_for(1600ms);
        device.send("play bgm from 0");
        restartedAt = static_cast<double>(std::filesystem::file_size(rawFile())) / bytesPerSecond;
        std::this_thread::sleep_for(800ms);
    }
    EXPECT_GT(loudestSample(rawFile(), 1.2, restartedAt - 0.1), 1000) << "the notes sounded before the restart";
    EXPECT_LT(loudestSample(rawFile(), restartedAt + 0.2, restartedAt + 0.7), 100)
        << "after the restart the tune is back in its opening second of silence";
}
