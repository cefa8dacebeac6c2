#pragma once

#include "audio/AudioBackend.h"

#include <string>
#include <vector>

namespace poronpa {

/// The background music: a list of tunes beside the program, one of them open on the music
/// device, polled every 100 ms to loop or close it.
class clsBGMAPI {
public:
    explicit clsBGMAPI(MusicDevice& device) : device_(device) {}

    void CalledByTimer();
    void InitBGM();
    void BGMOnOff(bool on);
    void AddBGM(const std::string& fileName);
    void BGMPlay(int tune, bool notLoop);
    void BGMStop();
    bool GetBGMStopped();

    bool BgmOn = false;
    int BgmLoop = 0;
    int BgmCurrent = 0;

    const std::vector<std::string>& files() const { return files_; }

private:
    MusicDevice& device_;
    std::vector<std::string> files_;
    /// The last answer of the status query; a query the device does not answer leaves it as it was.
    MusicStatus lastStatus_ = MusicStatus::NoAnswer;
};

/// Registers the four tunes, then the fifteen effects, each under its number (audio/AudioFiles.h).
class Sound;
void LoadAudioLists(clsBGMAPI& music, Sound& sound);

} // namespace poronpa
