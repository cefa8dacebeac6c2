#include "play/script/KeyScript.h"
#include "replay/ReplayFile.h"
#include "play/SavedGame.h"
#include "tools/fuzz/FuzzFile.h"

#include <sstream>

using namespace poronpa;

// A replay comes from anyone who hands one over: whatever it holds, the reader either refuses it
// with one line or accepts exactly what the simulator will then play.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    replay::Replay read;
    std::string error;
    if (!replay::parseReplay(std::string(reinterpret_cast<const char*>(data), size), read, error)) {
        require(error.starts_with("line ") && error.find('\n') == std::string::npos);
        return 0;
    }
    require(read.frames >= 0 && read.frames <= replay::MaxFrames);
    if (read.endLine)
        require(read.endLine->starts_with("end frame=" + std::to_string(read.frames)));
    if (read.header) {
        require(read.header->saves.bytes.size() <= SaveFileUsedBytes);
        // The header written again reads back the same.
        replay::Replay again;
        require(replay::parseReplay(replay::headerText(*read.header) + replay::unfinishedLine(0), again, error));
        require(again.header == read.header);
    }
    // The keys the simulator reads are the frames the reader counted, with no bad line among them.
    std::istringstream text(read.text);
    sim::KeyScriptReader script(text);
    std::int64_t frames = 0;
    for (sim::KeyRun run; script.next(run);)
        frames += run.frames;
    require(script.error().empty());
    require(frames == read.frames);
    return 0;
}
