#pragma once

#include "audio/AudioBackend.h"

#include <chrono>
#include <optional>
#include <set>
#include <string>

typedef struct _Mix_Music Mix_Music;

namespace poronpa {

/// The music alias "bgm" over the mixer's MIDI player: one tune open at a time (each loaded tune
/// carries a synthesizer of its own), answering the command texts the music layer sends.
class SdlMusicDevice : public MediaCommands {
public:
    SdlMusicDevice() = default;
    ~SdlMusicDevice() override;
    SdlMusicDevice(const SdlMusicDevice&) = delete;
    SdlMusicDevice& operator=(const SdlMusicDevice&) = delete;

    std::string send(const std::string& command) override;

private:
    std::string open(const std::string& command);
    std::string play();
    std::string stop();
    std::string close();
    std::string status();

    std::string path_;
    Mix_Music* music_ = nullptr;
    /// The tune's own length from its file; the player itself goes on reporting "playing"
    /// through seconds of release after the last note, which would put a gap into every loop.
    std::optional<double> lengthMs_;
    bool started_ = false;
    bool playing_ = false;
    std::chrono::steady_clock::time_point startedAt_;
    std::set<std::string> reportedPaths_;
};

} // namespace poronpa
