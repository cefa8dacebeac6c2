#include "app/qt/PlayRecords.h"

#include "app/base/TemporaryFolder.h"
#include "app/qt/AreaCanvasView.h"
#include "app/qt/SidePanel.h"
#include "play/FramePainter.h"
#include "play/SaveFileStore.h"
#include "records/RunRecords.h"
#include "replay/ReplayFile.h"
#include "settings/Settings.h"

#include <iostream>

namespace poronpa {

PlayRecords::PlayRecords(const MapGrid& map, const Settings& settings, const SaveFileStore& saves, SidePanel& panel,
                         AreaCanvasView& canvas, const Surface& spriteSheet)
    : map_(map), settings_(settings), saves_(saves), panel_(panel), canvas_(canvas), spriteSheet_(spriteSheet)
{
}

PlayRecords::~PlayRecords() = default;

std::filesystem::path PlayRecords::folder() const { return saves_.file().parent_path(); }

void PlayRecords::titleStarted(bool newGame)
{
    titleStarted_ = true;
    newGame_ = newGame;
}

void PlayRecords::loopStarts(const std::filesystem::path& recording)
{
    recording_ = recording;
    run_ = titleStarted_;
    titleStarted_ = false;
    panel_.showRunTimer(settings_.RunTimer != 0);
    if (!run_ || !newGame_ || settings_.Ghost == 0)
        return;
    ghostFolder_ = std::make_unique<TemporaryFolder>(GhostFolder);
    if (ghostFolder_->ok())
        ghost_ = records::openGhost(folder(), map_, ghostFolder_->path());
}

void PlayRecords::frameEnded(const GameState& state)
{
    if (!ghost_)
        return;
    std::optional<records::GhostSighting> seen;
    if (state.RunFrames != UnknownRunFrames && ghost_->seek(state.RunFrames))
        seen = ghost_->sighting(state.AreaX, state.AreaY);
    if (seen)
        canvas_.setGhost(&heroPicture(seen->frame), seen->x, seen->y);
    else
        canvas_.setGhost(nullptr, 0, 0);
}

const QImage& PlayRecords::heroPicture(int frame)
{
    auto [at, made] = pictures_.try_emplace(frame);
    if (made) {
        const Surface picture = play::heroPicture(spriteSheet_, frame);
        at->second = QImage(reinterpret_cast<const uchar*>(picture.data()), picture.width(), picture.height(),
                            picture.width() * 4, QImage::Format_ARGB32)
                         .copy();
    }
    return at->second;
}

void PlayRecords::loopEnds()
{
    canvas_.setGhost(nullptr, 0, 0);
    ghost_.reset();
    ghostFolder_.reset();
}

void PlayRecords::reachedEnding(const GameState& state, const std::function<void()>& flushRecording)
{
    if (!run_ || state.RunFrames == UnknownRunFrames)
        return;
    run_ = false;
    flushRecording();
    records::BestTime run;
    run.frames = state.RunFrames;
    run.date = replay::localDateNow();
    run.everyItem = true;
    for (int item = 0; item < ItemCount; ++item)
        run.everyItem = run.everyItem && state.ItemHeld[static_cast<std::size_t>(item)] != 0;
    std::error_code error;
    std::filesystem::create_directories(folder(), error);
    const records::RecordedRun recorded = records::recordFinishedRun(folder(), run, recording_);
    if (!recorded.status.ok())
        std::cerr << "poronpa: the best times: " << recorded.status.error << '\n';
}

std::vector<std::string> PlayRecords::bestTimeLines() const
{
    std::vector<std::string> lines;
    const std::vector<records::BestTime> list = records::readBestTimes(records::bestTimesFile(folder()));
    for (std::size_t place = 0; place < list.size(); ++place)
        lines.push_back(records::bestTimeLine(place, list[place]));
    return lines;
}

} // namespace poronpa
