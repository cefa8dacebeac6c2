#include "audio/clsBGMAPI.h"

#include "app/base/FileLocations.h"
#include "audio/Sound.h"

#include <array>

namespace poronpa {

void clsBGMAPI::CalledByTimer()
{
    if (!GetBGMStopped() || !BgmOn)
        return;
    if (BgmLoop != 0) {
        device_.send("play bgm from 0");
        return;
    }
    // BgmCurrent keeps the tune that ended, so asking for it again leaves the silence alone.
    device_.send("stop bgm");
    device_.send("close bgm");
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
    device_.send("open \"" + files_[tune - 1] + "\" alias bgm");
    device_.send("play bgm");
    BgmLoop = notLoop ? 0 : -1;
    BgmCurrent = tune;
}

void clsBGMAPI::BGMStop()
{
    device_.send("stop bgm");
    device_.send("close bgm");
    BgmCurrent = -1;
}

bool clsBGMAPI::GetBGMStopped()
{
    const std::string reply = device_.send("status bgm mode");
    if (!reply.empty())
        statusReply_ = reply;
    return statusReply_.starts_with("stopped");
}

void LoadAudioLists(clsBGMAPI& music, Sound& sound)
{
    for (const char* tune : {"km2.mid", "km3.mid", "sky02.mid", "org5.mid"})
        music.AddBGM(tune);
    static constexpr std::array effects{
        "click5.wav", "jump2.wav", "dull3.wav", "sprash.wav", "sjump2.wav",
        "key1.wav",   "burn2.wav", "gusa.wav",  "ss6.wav",    "fall1.wav",
        "clear5.wav", "ss21.wav",  "sy18.wav",  "rope.wav",   "break6.wav",
    };
    for (const char* effect : effects)
        sound.Add(effect);
}

} // namespace poronpa
