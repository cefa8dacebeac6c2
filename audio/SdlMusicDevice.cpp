#include "audio/SdlMusicDevice.h"

#include "audio/MidiSummary.h"

#include <SDL_mixer.h>

#include <iostream>

namespace poronpa {

namespace {

/// How much earlier than its length a tune reports its end. The poll that notices it comes up
/// to 100 ms late and reloading the tune takes some 26 ms; reporting this much early centres the
/// restart on the beat instead of always landing late.
constexpr double restartLeadMs = 75.0;

} // namespace

SdlMusicDevice::~SdlMusicDevice()
{
    close();
}

std::string SdlMusicDevice::send(const std::string& command)
{
    if (command.starts_with("open \""))
        return open(command);
    if (command == "play bgm" || command == "play bgm from 0")
        return play();
    if (command == "stop bgm")
        return stop();
    if (command == "close bgm")
        return close();
    if (command == "status bgm mode")
        return status();
    return {};
}

std::string SdlMusicDevice::open(const std::string& command)
{
    static const std::string suffix = "\" alias bgm";
    if (music_ || !command.ends_with(suffix) || command.size() < 6 + suffix.size())
        return {};
    const std::string path = command.substr(6, command.size() - 6 - suffix.size());
    music_ = Mix_LoadMUS(path.c_str());
    if (!music_) {
        if (reportedPaths_.insert(path).second)
            std::cerr << "poronpa: tune " << path << " cannot be played (" << Mix_GetError() << ")\n";
        return {};
    }
    path_ = path;
    const auto summary = summarizeMidiFile(path);
    lengthMs_ = summary ? std::optional<double>(summary->lengthMs) : std::nullopt;
    started_ = false;
    playing_ = false;
    return {};
}

std::string SdlMusicDevice::play()
{
    if (!music_)
        return {};
    if (started_) {
        // The MIDI player resumes where it was halted, even when asked to start again: only a
        // freshly loaded tune starts from its beginning.
        Mix_FreeMusic(music_);
        music_ = Mix_LoadMUS(path_.c_str());
        if (!music_) {
            playing_ = false;
            return {};
        }
    }
    started_ = true;
    playing_ = Mix_PlayMusic(music_, 0) == 0;
    startedAt_ = std::chrono::steady_clock::now();
    return {};
}

std::string SdlMusicDevice::stop()
{
    if (!music_)
        return {};
    Mix_HaltMusic();
    playing_ = false;
    return {};
}

std::string SdlMusicDevice::close()
{
    if (!music_)
        return {};
    Mix_HaltMusic();
    Mix_FreeMusic(music_);
    music_ = nullptr;
    playing_ = false;
    return {};
}

std::string SdlMusicDevice::status()
{
    if (!music_)
        return {};
    if (playing_) {
        if (lengthMs_) {
            const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - startedAt_;
            playing_ = elapsed.count() < *lengthMs_ - restartLeadMs;
        } else {
            playing_ = Mix_PlayingMusic() != 0;
        }
    }
    return playing_ ? "playing" : "stopped";
}

} // namespace poronpa
