#include "audio/clsBGMAPI.h"

#include "app/base/FileLocations.h"
#include "audio/AudioFiles.h"
#include "audio/Sound.h"

namespace poronpa {

void clsBGMAPI::CalledByTimer()
{
    if (!GetBGMStopped() || !BgmOn)
        return;
    if (BgmLoop != 0) {
        device_.playFromStart();
        return;
    }
    // BgmCurrent keeps the tune that ended, so asking for it again leaves the silence alone.
    device_.stop();
    device_.close();
}

void clsBGMAPI::InitBGM()
{
    BgmOn = true;
}

void clsBGMAPI::BGMOnOff(bool on)
{
    BgmOn = on;
}

void clsBGMAPI::AddBGM(const std::string& fileName)
{
    files_.push_back(shippedFile(fileName).string());
}

void clsBGMAPI::BGMPlay(int tune, bool notLoop)
{
    if (!BgmOn) {
        BGMStop();
        return;
    }
    if (tune == BgmCurrent)
        return;
    BGMStop();
    // An unknown tune number leaves the music closed rather than reading past the list.
    if (tune < 1 || tune > static_cast<int>(files_.size()))
        return;
    device_.open(files_[tune - 1]);
    device_.play();
    BgmLoop = notLoop ? 0 : -1;
    BgmCurrent = tune;
}

void clsBGMAPI::BGMStop()
{
    device_.stop();
    device_.close();
    BgmCurrent = -1;
}

bool clsBGMAPI::GetBGMStopped()
{
    if (const MusicStatus status = device_.status(); status != MusicStatus::NoAnswer)
        lastStatus_ = status;
    return lastStatus_ == MusicStatus::Stopped;
}

void LoadAudioLists(clsBGMAPI& music, Sound& sound)
{
    // Both lists are numbered from 1 in the order they are registered.
    for (int tune = 1; tune <= static_cast<int>(TuneFiles.size()); ++tune)
        music.AddBGM(std::string(fileOf(TuneFiles, tune)));
    for (int effect = 1; effect <= static_cast<int>(EffectFiles.size()); ++effect)
        sound.Add(std::string(fileOf(EffectFiles, effect)));
}

} // namespace poronpa
