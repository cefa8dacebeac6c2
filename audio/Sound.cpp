#include "audio/Sound.h"

#include "app/base/FileLocations.h"

namespace poronpa {

void Sound::Add(const std::string& fileName)
{
    files_.push_back(shippedFile(fileName).string());
}

void Sound::PlayAsync(int soundNumber)
{
    if (!SoundOn)
        return;
    // A number outside the list is a caller's slip, not a reason to end the game: play nothing.
    if (soundNumber < 1 || soundNumber > static_cast<int>(files_.size()))
        return;
    player_.play(files_[soundNumber - 1]);
}

} // namespace poronpa
