#include "audio/sdl/SdlMusicDevice.h"

#include "app/base/SafeFile.h"
#include "audio/MidiSummary.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <fluidsynth.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <iostream>
#include <mutex>
#include <optional>
#include <thread>

namespace poronpa {

namespace {

/// The synthesizer's output gain, set here rather than through the mixer's music volume, whose
/// mapping onto the synthesizer differs from one mixer version to the next. The tunes' balance
/// and the effects' loudness were measured at this gain.
constexpr float synthesizerGain = 0.9f;

/// How long before its end a tune reports that it ended. The poll that answers comes up to
/// 100 ms later, a frame or two more when the game is busy; this leaves room for that, and still
/// falls inside the silent tail of a tune that plays once.
constexpr double endReportedEarlyMs = 500.0;

/// Far more than any tune needs: a larger file is not a tune.
constexpr std::size_t MostTuneBytes = std::size_t{4} << 20;

/// The tune's bytes; nothing, with `why` set, for a file that cannot be read or is no tune. A pipe
/// or a device in a tune's place must not hold the game, nor a huge file fill its memory.
std::optional<std::vector<std::uint8_t>> readTune(const std::string& path, std::string& why)
{
    std::vector<std::uint8_t> bytes;
    bool exists = false;
    const FileStatus status = readWholeFile(path, bytes, &exists, MostTuneBytes);
    if (!status.ok() || !exists) {
        why = status.ok() ? path + ": cannot be opened (" + std::strerror(ENOENT) + ")" : status.error;
        return std::nullopt;
    }
    return bytes;
}

} // namespace

/// The audio thread's side: the synthesizer, the player of the current tune, and the mailbox
/// through which the commands come in and the position goes out.
class SdlMusicDevice::Renderer {
public:
    struct Position {
        /// The last command the audio thread has carried out.
        std::uint64_t applied = 0;
        /// Counts every start and every pass played on from the one before.
        std::int64_t pass = 0;
        std::int64_t frames = 0;
        bool done = true;
    };
    enum class Kind { Start, Continue, Stop, Close };

    static std::unique_ptr<Renderer> create(const std::string& soundFont)
    {
        int rate = 0;
        Uint16 format = 0;
        int channels = 0;
        if (Mix_QuerySpec(&rate, &format, &channels) == 0 || format != AUDIO_S16SYS) {
            std::cerr << "poronpa: the mixer does not play 16-bit samples; playing without music\n";
            return nullptr;
        }
        auto renderer = std::unique_ptr<Renderer>(new Renderer(rate, channels));
        // Making the synthesizer and reading the soundfont take a few hundred milliseconds:
        // the window need not wait for them.
        renderer->loader_ = std::thread([r = renderer.get(), soundFont] {
            r->synth_ = new_fluid_synth(r->settings_);
            if (!r->synth_) {
                std::cerr << "poronpa: no MIDI synthesizer; playing without music\n";
                r->failed_ = true;
                return;
            }
            if (fluid_synth_sfload(r->synth_, soundFont.c_str(), 1) == FLUID_FAILED) {
                std::cerr << "poronpa: soundfont " << soundFont << " cannot be read; playing without music\n";
                r->failed_ = true;
                return;
            }
            r->loaded_ = true;
        });
        Mix_HookMusic(&Renderer::mix, renderer.get());
        return renderer;
    }

    ~Renderer()
    {
        // Once the hook is gone the audio thread no longer touches the synthesizer.
        Mix_HookMusic(nullptr, nullptr);
        if (loader_.joinable())
            loader_.join();
        if (player_)
            delete_fluid_player(player_);
        if (synth_)
            delete_fluid_synth(synth_);
        delete_fluid_settings(settings_);
    }

    int sampleRate() const { return rate_; }
    bool failed() const { return failed_; }

    /// Hands a command to the audio thread; the answer is its number, to compare with
    /// Position::applied.
    std::uint64_t post(Kind kind, std::shared_ptr<const std::vector<std::uint8_t>> tune = nullptr)
    {
        std::lock_guard lock(mailboxLock_);
        mailbox_.push_back({kind, std::move(tune), ++posted_});
        return posted_;
    }

    Position position() const
    {
        std::lock_guard lock(mailboxLock_);
        return published_;
    }

private:
    struct Command {
        Kind kind;
        std::shared_ptr<const std::vector<std::uint8_t>> tune;
        std::uint64_t number;
    };

    Renderer(int rate, int channels) : rate_(rate), channels_(channels)
    {
        settings_ = new_fluid_settings();
        fluid_settings_setnum(settings_, "synth.sample-rate", rate);
        fluid_settings_setnum(settings_, "synth.gain", synthesizerGain);
        // Between two passes of a tune the notes still ringing must ring on.
        fluid_settings_setint(settings_, "player.reset-synth", 0);
    }

    static void SDLCALL mix(void* self, Uint8* stream, int length)
    {
        static_cast<Renderer*>(self)->render(reinterpret_cast<std::int16_t*>(stream),
                                             length / static_cast<int>(sizeof(std::int16_t)) / static_cast<Renderer*>(self)->channels_);
    }

    void render(std::int16_t* out, int frames)
    {
        if (!loaded_) {
            std::fill(out, out + frames * channels_, std::int16_t{0});
            return;
        }
        {
            std::lock_guard lock(mailboxLock_);
            taken_.swap(mailbox_);
        }
        for (const Command& command : taken_) {
            apply(command);
            applied_ = command.number;
        }
        taken_.clear();

        scratch_.resize(static_cast<std::size_t>(frames) * 2);
        fluid_synth_write_float(synth_, frames, scratch_.data(), 0, 2, scratch_.data(), 1, 2);
        for (int n = 0; n < frames; ++n) {
            const float left = scratch_[static_cast<std::size_t>(2 * n)];
            const float right = scratch_[static_cast<std::size_t>(2 * n + 1)];
            std::int16_t* frame = out + n * channels_;
            if (channels_ == 1) {
                frame[0] = toSample(0.5f * (left + right));
                continue;
            }
            frame[0] = toSample(left);
            frame[1] = toSample(right);
            std::fill(frame + 2, frame + channels_, std::int16_t{0});
        }

        bool done = true;
        if (player_) {
            // The player's tick falls back when it starts over on the next pass.
            const int tick = fluid_player_get_current_tick(player_);
            if (tick < lastTick_) {
                ++pass_;
                passStart_ = rendered_;
            }
            lastTick_ = tick;
            done = fluid_player_get_status(player_) != FLUID_PLAYER_PLAYING;
        }
        rendered_ += frames;
        std::lock_guard lock(mailboxLock_);
        published_ = {applied_, pass_, rendered_ - passStart_, done};
    }

    static std::int16_t toSample(float value)
    {
        return static_cast<std::int16_t>(std::lround(std::clamp(value, -1.0f, 1.0f) * 32767.0f));
    }

    void apply(const Command& command)
    {
        switch (command.kind) {
        case Kind::Start:
            start(command.tune);
            break;
        case Kind::Continue:
            // One more pass: the player carries on from its end without a break. A tune that has
            // already ended starts again from the top.
            if (player_ && fluid_player_get_status(player_) == FLUID_PLAYER_PLAYING)
                fluid_player_set_loop(player_, 1);
            else if (tune_)
                start(tune_);
            break;
        case Kind::Stop:
            // The player lets its notes go at its next step, so they fade as released notes do.
            if (player_)
                fluid_player_stop(player_);
            break;
        case Kind::Close:
            release();
            tune_.reset();
            break;
        }
    }

    void start(std::shared_ptr<const std::vector<std::uint8_t>> tune)
    {
        release();
        tune_ = std::move(tune);
        player_ = new_fluid_player(synth_);
        if (player_ && fluid_player_add_mem(player_, tune_->data(), tune_->size()) == FLUID_OK)
            fluid_player_play(player_);
        ++pass_;
        passStart_ = rendered_;
        lastTick_ = 0;
    }

    void release()
    {
        if (!player_)
            return;
        fluid_synth_all_notes_off(synth_, -1);
        delete_fluid_player(player_);
        player_ = nullptr;
    }

    int rate_;
    int channels_;
    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    std::thread loader_;
    std::atomic<bool> loaded_{false};
    std::atomic<bool> failed_{false};

    mutable std::mutex mailboxLock_;
    std::vector<Command> mailbox_;
    std::uint64_t posted_ = 0;
    Position published_;

    // Touched by the audio thread alone.
    std::vector<Command> taken_;
    std::vector<float> scratch_;
    fluid_player_t* player_ = nullptr;
    std::shared_ptr<const std::vector<std::uint8_t>> tune_;
    std::uint64_t applied_ = 0;
    std::int64_t pass_ = 0;
    std::int64_t passStart_ = 0;
    std::int64_t rendered_ = 0;
    int lastTick_ = 0;
};

SdlMusicDevice::SdlMusicDevice(const std::string& soundFont) : renderer_(Renderer::create(soundFont)) {}

SdlMusicDevice::~SdlMusicDevice() = default;

void SdlMusicDevice::stop()
{
    if (state_ == State::Closed)
        return;
    if (state_ == State::Playing)
        lastPosted_ = renderer_->post(Renderer::Kind::Stop);
    state_ = State::Stopped;
}

void SdlMusicDevice::close()
{
    if (state_ == State::Closed)
        return;
    lastPosted_ = renderer_->post(Renderer::Kind::Close);
    state_ = State::Closed;
    tune_.reset();
}

void SdlMusicDevice::open(const std::string& path)
{
    if (!renderer_ || state_ != State::Closed)
        return;
    auto known = tunes_.find(path);
    if (known == tunes_.end()) {
        std::string why;
        auto bytes = readTune(path, why);
        const auto summary = bytes ? summarizeMidi(*bytes) : std::nullopt;
        if (!summary) {
            if (reportedPaths_.insert(path).second)
                std::cerr << "poronpa: tune " << (bytes ? path + " cannot be played (not a readable MIDI file)" : why) << "\n";
            return;
        }
        known = tunes_.emplace(path, Tune{std::make_shared<const std::vector<std::uint8_t>>(std::move(*bytes)),
                                          summary->lengthMs})
                    .first;
    }
    tune_ = known->second.bytes;
    const double reportedMs = std::max(0.0, known->second.lengthMs - endReportedEarlyMs);
    endReportedAt_ = static_cast<std::int64_t>(reportedMs / 1000.0 * renderer_->sampleRate());
    state_ = State::Opened;
}

void SdlMusicDevice::play(bool fromTheTop)
{
    if (state_ == State::Closed)
        return;
    if (state_ == State::Playing && passEnded()) {
        continuedPass_ = renderer_->position().pass;
        lastPosted_ = renderer_->post(Renderer::Kind::Continue);
        return;
    }
    if (state_ == State::Playing && !fromTheTop)
        return;
    lastPosted_ = renderer_->post(Renderer::Kind::Start, tune_);
    continuedPass_ = -1;
    state_ = State::Playing;
}

bool SdlMusicDevice::passEnded() const
{
    const Renderer::Position position = renderer_->position();
    // A command still on its way to the audio thread has not been heard yet.
    if (position.applied < lastPosted_)
        return false;
    return position.done || (position.frames >= endReportedAt_ && position.pass != continuedPass_);
}

MusicStatus SdlMusicDevice::status()
{
    if (state_ == State::Closed || renderer_->failed())
        return MusicStatus::NoAnswer;
    if (state_ != State::Playing)
        return MusicStatus::Stopped;
    return passEnded() ? MusicStatus::Stopped : MusicStatus::Playing;
}

} // namespace poronpa
