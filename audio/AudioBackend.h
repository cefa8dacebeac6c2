#pragma once

#include <string>

namespace poronpa {

/// Plays wave files: one effect at a time, a new one cutting off the one still sounding.
class WavePlayer {
public:
    virtual ~WavePlayer() = default;
    /// Starts the file once, asynchronously. Failures are silent.
    virtual void play(const std::string& path) = 0;
};

/// The music device, driven by the command texts of a media control interface ("open \"...\"
/// alias bgm", "play bgm", "play bgm from 0", "stop bgm", "close bgm", "status bgm mode").
class MediaCommands {
public:
    virtual ~MediaCommands() = default;
    /// Carries out one command; the reply is what a status query answers ("playing", "stopped").
    virtual std::string send(const std::string& command) = 0;
};

} // namespace poronpa
