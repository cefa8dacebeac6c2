// The SDL back ends against SDL's disk audio driver: what the mixer plays lands in a file of raw
// samples, so the tests can hear whether, when and how things sounded.
#include "app/base/ProgramDirectory.h"
#include "audio/sdl/SdlAudioSystem.h"
#include "audio/sdl/SdlMusicDevice.h"
#include "audio/sdl/SdlWavePlayer.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <thread>

#include <SDL.h>
#include <SDL_mixer.h>

using namespace poronpa;
using namespace std::chrono_literals;

namespace {

constexpr int rate = 44100;
constexpr double bytesPerSecond = rate * 2 * 2; // the mixer's stereo 16-bit output

/// The disk driver's output: 16-bit signed stereo frames in native order.
std::vector<std::int16_t> samplesOf(const std::filesystem::path& rawFile)
{
    const std::vector<unsigned char> bytes = test::readBytes(rawFile);
    std::vector<std::int16_t> samples(bytes.size() / 2);
    if (!samples.empty())
        std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

/// The loudest sample between two times in seconds.
int loudestSample(const std::filesystem::path& rawFile, double fromSeconds = 0.0, double toSeconds = 1e9)
{
    const std::vector<std::int16_t> samples = samplesOf(rawFile);
    const auto begin = static_cast<std::size_t>(fromSeconds * rate) * 2;
    const auto end = std::min(samples.size(), static_cast<std::size_t>(std::min(toSeconds * rate, 1e12)) * 2);
    int loudest = 0;
    for (std::size_t i = begin; i < end; ++i)
        loudest = std::max(loudest, std::abs(static_cast<int>(samples[i])));
    return loudest;
}

/// When each loud hit starts, in seconds: a sample rises past half the loudest after at least
/// a tenth of a second below it.
std::vector<double> onsets(const std::vector<std::int16_t>& samples)
{
    int loudest = 0;
    for (std::int16_t sample : samples)
        loudest = std::max(loudest, std::abs(static_cast<int>(sample)));
    std::vector<double> times;
    std::size_t lastLoud = 0;
    for (std::size_t n = 0; n < samples.size() / 2; ++n) {
        if (std::max(std::abs(samples[2 * n]), std::abs(samples[2 * n + 1])) * 2 < loudest)
            continue;
        if (times.empty() || n - lastLoud > rate / 10)
            times.push_back(static_cast<double>(n) / rate);
        lastLoud = n;
    }
    return times;
}

/// The longest run of frames in which both channels are exactly zero, in seconds.
double longestDigitalSilence(const std::vector<std::int16_t>& samples, double fromSeconds, double toSeconds)
{
    std::size_t run = 0;
    std::size_t longest = 0;
    const auto end = std::min(samples.size() / 2, static_cast<std::size_t>(toSeconds * rate));
    for (auto n = static_cast<std::size_t>(fromSeconds * rate); n < end; ++n) {
        run = samples[2 * n] == 0 && samples[2 * n + 1] == 0 ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return static_cast<double>(longest) / rate;
}

/// A Standard MIDI File of one track at 120 quarter notes a minute, 480 ticks to the quarter.
class MidiTrack {
public:
    MidiTrack& at(std::uint32_t tick, std::initializer_list<unsigned char> event)
    {
        std::uint32_t delta = tick - now_;
        now_ = tick;
        unsigned char groups[5];
        int count = 0;
        do {
            groups[count++] = static_cast<unsigned char>(delta & 0x7F);
            delta >>= 7;
        } while (delta != 0);
        while (count > 1)
            bytes_.push_back(static_cast<unsigned char>(groups[--count] | 0x80));
        bytes_.push_back(groups[0]);
        bytes_.insert(bytes_.end(), event);
        return *this;
    }
    std::vector<unsigned char> file(std::uint32_t endTick)
    {
        at(endTick, {0xFF, 0x2F, 0x00});
        std::vector<unsigned char> out = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0, 'M', 'T', 'r', 'k'};
        for (int shift = 24; shift >= 0; shift -= 8)
            out.push_back(static_cast<unsigned char>(bytes_.size() >> shift));
        out.insert(out.end(), bytes_.begin(), bytes_.end());
        return out;
    }

private:
    std::vector<unsigned char> bytes_;
    std::uint32_t now_ = 0;
};

/// A hand clap at the start over a quiet organ note held for `heldTicks`; the tune lasts
/// `endTick` ticks (960 a second).
std::vector<unsigned char> clapOverOrgan(std::uint32_t heldTicks, std::uint32_t endTick)
{
    MidiTrack track;
    track.at(0, {0xC0, 19}).at(0, {0xB0, 7, 60}).at(0, {0x90, 60, 40}).at(0, {0x99, 39, 127});
    track.at(120, {0x89, 39, 0}).at(heldTicks, {0x80, 60, 0});
    return track.file(endTick);
}

/// One bar of C major quarter notes: two seconds long.
std::vector<unsigned char> oneBarTune()
{
    MidiTrack track;
    track.at(0, {0xC0, 0});
    std::uint32_t tick = 0;
    const unsigned char keys[] = {60, 64, 67, 72};
    for (const unsigned char key : keys) {
        track.at(tick, {0x90, key, 100}).at(tick + 480, {0x80, key, 0});
        tick += 480;
    }
    return track.file(tick);
}

/// A soft tap to mark the start, silence to the end of the first second, then two seconds of
/// quick organ notes, so that wherever the tune is resumed in its second half, notes sound.
std::vector<unsigned char> lateNotesTune()
{
    MidiTrack track;
    track.at(0, {0xC0, 19}).at(0, {0x99, 76, 60}).at(60, {0x89, 76, 0});
    for (std::uint32_t tick = 960; tick < 2880; tick += 240)
        track.at(tick, {0x90, 67, 110}).at(tick + 240, {0x80, 67, 0});
    return track.file(2880);
}

/// A mono 16-bit wave file holding one value for `seconds`.
std::vector<unsigned char> steadyWave(std::int16_t value, double seconds)
{
    const auto dataBytes = static_cast<std::uint32_t>(seconds * rate) * 2;
    std::vector<unsigned char> out;
    const auto put = [&](std::uint32_t v, int count) {
        for (int i = 0; i < count; ++i)
            out.push_back(static_cast<unsigned char>(v >> (8 * i)));
    };
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    put(36 + dataBytes, 4);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put(16, 4);
    put(1, 2);
    put(1, 2);
    put(rate, 4);
    put(rate * 2, 4);
    put(2, 2);
    put(16, 2);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    put(dataBytes, 4);
    for (std::uint32_t i = 0; i < dataBytes / 2; ++i)
        put(static_cast<std::uint16_t>(value), 2);
    return out;
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
    double recordedSeconds() const { return static_cast<double>(std::filesystem::file_size(rawFile())) / bytesPerSecond; }

    /// Lets the device record `seconds` more than it holds now: time measured by the recording, so
    /// that a busy machine's slower device still records as much. False when it did not within
    /// ten seconds.
    [[nodiscard]] bool recordFor(double seconds) const
    {
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        const auto recorded = [this] { return std::filesystem::exists(rawFile()) ? recordedSeconds() : 0.0; };
        const double until = recorded() + seconds;
        while (recorded() < until && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(10ms);
        return recorded() >= until;
    }

    /// When the recording first holds a sound, in seconds; negative while it holds none.
    double firstSound() const
    {
        const std::vector<std::int16_t> samples = samplesOf(rawFile());
        const auto found = std::find_if(samples.begin(), samples.end(), [](std::int16_t s) { return s != 0; });
        return found == samples.end() ? -1.0 : static_cast<double>((found - samples.begin()) / 2) / rate;
    }

    /// Plays tune file `name` through the music layer as the game does, polled every 100 ms
    /// like the game window's timer, until the recording holds `seconds` from the first sound
    /// (the soundfont loads first, slower on a busy machine). Answers when the layer closed the
    /// tune, in seconds of the recording (or a negative number when it did not).
    double playPolled(const std::string& name, bool notLoop, double seconds)
    {
        setProgramDirectory(dir.path());
        auto audio = createAudioSystem();
        clsBGMAPI& music = audio->music();
        music.InitBGM();
        music.AddBGM(name);
        music.BGMPlay(1, notLoop);
        double closedAt = -1.0;
        double started = -1.0;
        const auto deadline = std::chrono::steady_clock::now() + 30s;
        while (std::chrono::steady_clock::now() < deadline && (started < 0.0 || recordedSeconds() < started + seconds)) {
            std::this_thread::sleep_for(100ms);
            music.CalledByTimer();
            if (closedAt < 0.0 && music.GetBGMStopped() && music.BgmLoop == 0)
                closedAt = recordedSeconds();
            if (started < 0.0)
                started = firstSound();
        }
        return closedAt;
    }

    test::TempDir dir;
};

} // namespace

TEST_F(AudioDevice, AnEffectSoundsOnlyWhileEffectsAreOn)
{
    {
        auto audio = createAudioSystem();
        LoadAudioLists(audio->music(), audio->sound());
        audio->sound().PlayAsync(11);
        ASSERT_TRUE(recordFor(0.3)) << "the device recorded nothing";
    }
    EXPECT_LT(loudestSample(rawFile()), 8) << "effects are off until switched on";

    {
        auto audio = createAudioSystem();
        LoadAudioLists(audio->music(), audio->sound());
        audio->sound().SoundOn = true;
        audio->sound().PlayAsync(11);
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (loudestSample(rawFile()) <= 3000 && std::chrono::steady_clock::now() < deadline)
            ASSERT_TRUE(recordFor(0.05)) << "the device stopped recording";
    }
    EXPECT_GT(loudestSample(rawFile()), 3000);
}

TEST_F(AudioDevice, AnEffectCutOffByTheNextFadesOutInsteadOfClicking)
{
    test::writeBytes(dir / "steady.wav", steadyWave(16000, 1.0));
    test::writeBytes(dir / "silent.wav", steadyWave(0, 0.3));
    {
        auto audio = createAudioSystem(); // opens the mixer for the player below
        SdlWavePlayer player;
        player.play((dir / "steady.wav").string());
        ASSERT_TRUE(recordFor(0.3)) << "the device recorded nothing";
        player.play((dir / "silent.wav").string());
        ASSERT_TRUE(recordFor(0.2)) << "the device stopped recording";
    }
    const std::vector<std::int16_t> samples = samplesOf(rawFile());
    std::size_t lastFull = 0;
    std::size_t firstSilent = 0;
    int largestStep = 0;
    for (std::size_t n = 1; n < samples.size() / 2; ++n) {
        const int value = samples[2 * n];
        // The steady effect itself starts with a jump; what counts is how it ends.
        if (lastFull > 0)
            largestStep = std::max(largestStep, std::abs(value - samples[2 * n - 2]));
        if (value >= 15900)
            lastFull = n;
        if (value == 0 && lastFull > 0 && firstSilent == 0)
            firstSilent = n;
    }
    ASSERT_GT(lastFull, 0u) << "the first effect sounded";
    ASSERT_GT(firstSilent, lastFull) << "the second effect cut it off";
    EXPECT_NEAR(static_cast<double>(firstSilent - lastFull) / rate, 0.005, 0.001) << "faded over 5 ms";
    EXPECT_LT(largestStep, 200) << "no jump of the level where the effects meet";
}

TEST_F(AudioDevice, ATunePlaysThroughTheSynthesizer)
{
    auto audio = createAudioSystem();
    LoadAudioLists(audio->music(), audio->sound());
    audio->music().InitBGM();
    audio->music().BGMPlay(2, false);
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (loudestSample(rawFile()) <= 1000 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(100ms);
    EXPECT_GT(loudestSample(rawFile()), 1000);
}

TEST_F(AudioDevice, ATuneAskedForBeforeTheDeviceOpensPlaysOnceItOpens)
{
    auto audio = createAudioSystemOpeningLater();
    LoadAudioLists(audio->music(), audio->sound());
    audio->music().InitBGM();
    audio->music().BGMPlay(2, false);
    audio->music().CalledByTimer();
    EXPECT_FALSE(std::filesystem::exists(rawFile())) << "no device is opened before it is asked for";
    EXPECT_FALSE(audio->music().GetBGMStopped()) << "the tune waiting for the device is not taken for ended";

    audio->openDevice();
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (loudestSample(rawFile()) <= 1000 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(100ms);
    EXPECT_GT(loudestSample(rawFile()), 1000);
}

TEST_F(AudioDevice, ALoopingTunePlaysOnAcrossItsEndWithoutABreak)
{
    // 1.5 s passes; the poll asks to start over at each end and the tune carries on instead.
    test::writeBytes(dir / "loop.mid", clapOverOrgan(1440, 1440));
    playPolled("loop.mid", false, 3.6);

    const std::vector<std::int16_t> samples = samplesOf(rawFile());
    const std::vector<double> hits = onsets(samples);
    ASSERT_GE(hits.size(), 3u) << "three passes began";
    SCOPED_TRACE(testing::Message() << "passes began at " << hits[0] << ", " << hits[1] << ", " << hits[2] << " s");
    EXPECT_NEAR(hits[1] - hits[0], 1.5, 0.005) << "the second pass starts on the beat";
    EXPECT_NEAR(hits[2] - hits[0], 3.0, 0.005) << "and so does the third";
    EXPECT_LT(longestDigitalSilence(samples, hits[0], hits[2] + 0.5), 0.001) << "no gap where the passes meet";
}

TEST_F(AudioDevice, ATuneThatPlaysOnceIsClosedInsideItsSilentTail)
{
    // Half a second of notes, then silence to the end at 2 s.
    test::writeBytes(dir / "once.mid", clapOverOrgan(480, 1920));
    const double closedAt = playPolled("once.mid", true, 3.0);

    const std::vector<std::int16_t> samples = samplesOf(rawFile());
    const std::vector<double> hits = onsets(samples);
    ASSERT_EQ(hits.size(), 1u) << "one pass and no second";
    EXPECT_GT(closedAt, hits[0] + 0.5) << "after the last note";
    EXPECT_LT(closedAt, hits[0] + 2.0) << "before the tune's end";
    EXPECT_LT(loudestSample(rawFile(), hits[0] + 2.1), 100) << "nothing sounds after the tune";
}

TEST_F(AudioDevice, ATuneReportsItsEndBeforeItAndStartsAgainFromTheTop)
{
    test::writeBytes(dir / "bar.mid", oneBarTune());
    auto audio = createAudioSystem(); // opens the mixer for the device below
    SdlMusicDevice device(SdlMusicDevice::gameSoundFont);
    device.open((dir / "bar.mid").string());
    EXPECT_EQ(device.status(), MusicStatus::Stopped) << "a tune just opened has not started";
    device.play();
    EXPECT_EQ(device.status(), MusicStatus::Playing);
    // The two seconds of the tune, played slower by a busy machine's device.
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (device.status() == MusicStatus::Playing && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(10ms);
    EXPECT_EQ(device.status(), MusicStatus::Stopped);
    // A while after the end, as when the game's timer comes round to ask.
    std::this_thread::sleep_for(1000ms);
    device.playFromStart();
    EXPECT_EQ(device.status(), MusicStatus::Playing) << "the tune that had ended starts again";
    device.stop();
    EXPECT_EQ(device.status(), MusicStatus::Stopped);
    device.close();
    EXPECT_EQ(device.status(), MusicStatus::NoAnswer) << "a closed tune does not answer";
}

TEST_F(AudioDevice, AMissingTuneLeavesTheAliasClosed)
{
    auto audio = createAudioSystem();
    SdlMusicDevice device(SdlMusicDevice::gameSoundFont);
    device.open((dir / "absent.mid").string());
    device.play();
    EXPECT_EQ(device.status(), MusicStatus::NoAnswer);
    device.playFromStart();
    device.stop();
    device.close();
}

TEST_F(AudioDevice, StartingAgainFromTheTopDoesNotResumeWhereTheTuneWas)
{
    test::writeBytes(dir / "late.mid", lateNotesTune());
    double startedAt = -1.0;
    double restartedAt = 0.0;
    {
        auto audio = createAudioSystem();
        SdlMusicDevice device(SdlMusicDevice::gameSoundFont);
        device.open((dir / "late.mid").string());
        device.play();
        const auto deadline = std::chrono::steady_clock::now() + 20s;
        while ((startedAt < 0.0 || recordedSeconds() < startedAt + 1.6) && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(10ms);
            if (startedAt < 0.0)
                startedAt = firstSound();
        }
        ASSERT_GE(startedAt, 0.0) << "the tune began";
        device.playFromStart();
        restartedAt = recordedSeconds();
        while (recordedSeconds() < restartedAt + 0.8 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(10ms);
    }
    const int before = loudestSample(rawFile(), startedAt + 1.1, restartedAt - 0.05);
    EXPECT_GT(before, 1000) << "the notes sounded before the restart";
    EXPECT_LT(loudestSample(rawFile(), restartedAt + 0.25, restartedAt + 0.7) * 10, before)
        << "after the restart the tune is back in its opening second of silence, the notes before only ringing out";
}
