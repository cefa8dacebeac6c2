#include "editor/qt/WorldCheckRun.h"

#include "app/base/SafeFile.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace poronpa {

namespace {

/// How often the editor's thread looks for news of the check: often enough for a progress bar
/// that moves, seldom enough to cost nothing.
constexpr int PollMilliseconds = 50;

/// The check's threads yield to the editor's: on Linux a thread's niceness is its own, and the
/// threads the check starts take it over.
void yieldToTheEditor()
{
#ifdef __linux__
    setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 10);
#endif
}

} // namespace

WorldCheckRun::WorldCheckRun(const MapGrid& map, route::CheckOptions options, std::filesystem::path routeFile,
                             Checker checker, QObject* parent)
    : QObject(parent), map_(map)
{
    poll_.setInterval(PollMilliseconds);
    connect(&poll_, &QTimer::timeout, this, &WorldCheckRun::collect);
    poll_.start();
    thread_ = std::thread([this, options = std::move(options), routeFile = std::move(routeFile), checker = std::move(checker)]() mutable {
        yieldToTheEditor();
        std::string keepFailure;
        if (std::vector<std::uint8_t> kept; !routeFile.empty() && readWholeFile(routeFile, kept).ok())
            options.previousRoute.assign(kept.begin(), kept.end());
        route::CheckReport report = checker(
            map_, options,
            [this](const route::CheckProgress& progress) {
                const std::lock_guard lock(mutex_);
                progress_ = progress;
                progressNew_ = true;
            },
            &cancel_);
        if (report.outcome == route::CheckReport::Outcome::Finishable && !routeFile.empty()) {
            std::error_code ignored; // a folder that cannot be made fails the write, which says so
            std::filesystem::create_directories(routeFile.parent_path(), ignored);
            const std::vector<std::uint8_t> bytes(report.replayText.begin(), report.replayText.end());
            if (const FileStatus written = writeFileAtomically(routeFile, bytes); written.ok())
                report.replayFile = routeFile.string();
            else
                keepFailure = written.error;
        }
        const std::lock_guard lock(mutex_);
        done_ = std::move(report);
        keepFailure_ = std::move(keepFailure);
    });
}

WorldCheckRun::~WorldCheckRun()
{
    cancel_ = true;
    if (thread_.joinable())
        thread_.join();
}

void WorldCheckRun::collect()
{
    std::optional<route::CheckProgress> progress;
    {
        const std::lock_guard lock(mutex_);
        if (progressNew_)
            progress = progress_;
        progressNew_ = false;
        if (done_) {
            report_ = std::move(done_);
            done_.reset();
        }
    }
    if (progress)
        emit progressed(*progress);
    if (report_) {
        poll_.stop();
        thread_.join();
        emit finished();
    }
}

} // namespace poronpa
