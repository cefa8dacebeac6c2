#pragma once

#include "audio/AudioBackend.h"

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace poronpa {

/// The music device over one MIDI synthesizer that feeds the mixer's music stream for the whole
/// run.
///
/// The synthesizer and its soundfont are made once, on a worker thread, so
/// opening a tune costs only reading its small file. Everything the synthesizer does happens on
/// the audio thread: the commands are handed over in a mailbox and the player's position comes
/// back the same way, so no command ever waits for the sound to be rendered.
///
/// A tune that reaches its end plays on without a break when playFromStart comes in time:
/// the device reports the end half a second early, and the restart asked for then only lets the
/// synthesizer carry on into the next pass. Without that request the tune stops at its own end,
/// so a tune meant to play once never starts over.
class SdlMusicDevice : public MusicDevice {
public:
    /// The mixer must be open. A synthesizer that cannot be made is named on standard error; the
    /// device then answers no status query, as a missing device would.
    explicit SdlMusicDevice(const std::string& soundFont);
    /// The soundfont the tunes were written and balanced for.
    static constexpr const char* gameSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
    ~SdlMusicDevice() override;
    SdlMusicDevice(const SdlMusicDevice&) = delete;
    SdlMusicDevice& operator=(const SdlMusicDevice&) = delete;

    void open(const std::string& path) override;
    void play() override { play(false); }
    void playFromStart() override { play(true); }
    void stop() override;
    void close() override;
    MusicStatus status() override;

    class Renderer;

private:
    enum class State { Closed, Opened, Playing, Stopped };
    struct Tune {
        std::shared_ptr<const std::vector<std::uint8_t>> bytes;
        double lengthMs = 0.0;
    };

    void play(bool fromTheTop);
    bool passEnded() const;

    std::unique_ptr<Renderer> renderer_;
    State state_ = State::Closed;
    std::shared_ptr<const std::vector<std::uint8_t>> tune_;
    /// How far into a pass the tune reports its end, in frames of the output.
    std::int64_t endReportedAt_ = 0;
    /// The pass the music layer already asked to carry on from.
    std::int64_t continuedPass_ = -1;
    std::uint64_t lastPosted_ = 0;
    /// Each tune file is read once, the first time it is opened.
    std::map<std::string, Tune> tunes_;
    std::set<std::string> reportedPaths_;
};

} // namespace poronpa
