#pragma once

#include "audio/Sound.h"

#include <QList>

#include <string>

namespace poronpa::test {

/// A Sound whose effects are recorded by number instead of played.
class RecordedSound : private WavePlayer {
public:
    RecordedSound() : sound_(*this)
    {
        for (int number = 1; number <= 15; ++number) {
            sound_.Add("effect" + std::to_string(number) + ".wav");
        }
        sound_.SoundOn = true;
    }

    Sound& sound() { return sound_; }
    /// The effect numbers played so far, in order.
    const QList<int>& played() const { return played_; }

private:
    void play(const std::string& path) override
    {
        const auto& files = sound_.files();
        for (std::size_t i = 0; i < files.size(); ++i) {
            if (files[i] == path) {
                played_.push_back(static_cast<int>(i) + 1);
            }
        }
    }

    Sound sound_;
    QList<int> played_;
};

} // namespace poronpa::test
