#include "audio/Sound.h"

#include "app/FileLocations.h"

namespace poronpa {

void Sound::Add(const std::string& fileName)
{
    files_.push_back(shippedFile(fileName).string());
}

void Sound::PlayAsync(int soundNumber, int /*loopFlag*/, int /*asyncFlag*/, int /*noStopFlag*/)
{
    // Every caller asks for one asynchronous play that cuts off the effect still sounding, which
    // is all the player does; looped and no-stop playback are never requested.
    if (!SoundOn)
        return;
    // A number outside the list is a caller's slip, not a reason to end the game: play nothing.
    if (soundNumber < 1 || soundNumber > static_cast<int>(files_.size()))
        return;
    player_.play(files_[soundNumber - 1]);
}

} // namespace poronpa
