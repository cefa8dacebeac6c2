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

/// What the music device says of its tune when asked.
enum class MusicStatus {
    NoAnswer, ///< no tune open, or no device to ask
    Playing,
    Stopped, ///< opened and not yet started, stopped, or come to its end
};

/// The music device: one tune open at a time. Every call but open does nothing while no tune is
/// open; a tune that cannot be read or played leaves none open.
class MusicDevice {
public:
    virtual ~MusicDevice() = default;
    /// Opens the tune file, stopped at its start; does nothing while another is open.
    virtual void open(const std::string& path) = 0;
    /// Starts the open tune; one already playing goes on undisturbed.
    virtual void play() = 0;
    /// Starts the open tune again from its start, or lets one that has just come to its end
    /// carry on into its next pass without a break.
    virtual void playFromStart() = 0;
    virtual void stop() = 0;
    /// Lets go of the tune; nothing is open afterwards.
    virtual void close() = 0;
    virtual MusicStatus status() = 0;
};

} // namespace poronpa
