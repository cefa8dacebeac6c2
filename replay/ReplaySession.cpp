#include "replay/ReplaySession.h"

#include "app/base/StandardOptions.h"
#include "play/script/Trace.h"


namespace poronpa::replay {

ReplayHeader startHeader(const GameState& state, bool continued, std::int32_t frameRate, const MapGrid& map,
                         const std::filesystem::path& saveFile, const std::filesystem::path& world)
{
    ReplayHeader header;
    header.program = std::string(programVersion());
    header.date = localDateNow();
    header.continued = continued;
    header.frameRate = frameRate;
    header.mapDigest = mapDigest(map);
    header.worldFile = worldFileForHeader(world);
    header.carry = Carry::of(state);
    header.saves = captureSaveImage(saveFile);
    return header;
}

sim::KeySet heldKeys(const GameState& state)
{
    static const sim::KeySet named = sim::namedKeys();
    sim::KeySet keys;
    for (std::size_t code = 0; code < state.KeyHeld.size(); ++code)
        if (state.KeyHeld[code] && named.test(code))
            keys.set(code);
    return keys;
}

ReplaySession::ReplaySession(ReplayWriter& writer, std::filesystem::path path, const ReplayHeader& header,
                             const GameState& start, std::chrono::steady_clock::duration period)
    : writer_(writer), path_(std::move(path)), header_(headerText(header)), period_(period),
      endLine_(sim::endLine(0, start, false))
{
    // At once, so that a game that goes wrong early still leaves its replay, and a folder that
    // cannot be written is known before the first step.
    write(unfinishedLine(0));
}

void ReplaySession::endFrame(const GameState& state, bool ending)
{
    recorder_.endFrame();
    if (finished_)
        return;
    endLine_ = sim::endLine(recorder_.frames(), state, ending);
    if (std::chrono::steady_clock::now() - lastWrite_ >= period_)
        write(unfinishedLine(recorder_.frames()));
}

void ReplaySession::finish()
{
    if (finished_)
        return;
    finished_ = true;
    // Frames lost to a recording grown too long would not lead to this end line.
    write(recorder_.full() ? unfinishedLine(recorder_.frames()) : endingLine(endLine_));
}

void ReplaySession::write(std::string closing)
{
    lastWrite_ = std::chrono::steady_clock::now();
    writer_.write(path_, header_, recorder_.keys(), std::move(closing));
}

} // namespace poronpa::replay
