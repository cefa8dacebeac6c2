#include "replay/ReplaySession.h"

namespace poronpa::replay {

ReplaySession::ReplaySession(ReplayWriter& writer, std::filesystem::path path, const ReplayHeader& header,
                             std::chrono::steady_clock::duration period)
    : writer_(writer), path_(std::move(path)), header_(headerText(header)), period_(period)
{
    // At once, so that a game that goes wrong early still leaves its replay, and a folder that
    // cannot be written is known before the first step.
    write(unfinishedLine(0));
}

void ReplaySession::afterFrame()
{
    if (finished_ || std::chrono::steady_clock::now() - lastWrite_ < period_)
        return;
    write(unfinishedLine(recorder_.frames()));
}

void ReplaySession::finish(const std::string& endLine)
{
    if (finished_)
        return;
    finished_ = true;
    // Frames lost to a recording grown too long would not lead to this end line.
    write(recorder_.full() ? unfinishedLine(recorder_.frames()) : endingLine(endLine));
}

void ReplaySession::write(std::string closing)
{
    lastWrite_ = std::chrono::steady_clock::now();
    writer_.write(path_, header_, recorder_.keys(), std::move(closing));
}

} // namespace poronpa::replay
