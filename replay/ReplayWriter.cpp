#include "replay/ReplayWriter.h"

#include "app/base/SafeFile.h"
#include "replay/ReplayFolder.h"

#include <algorithm>

namespace poronpa::replay {

ReplayWriter::ReplayWriter(std::function<void(const std::string&)> report)
    : report_(std::move(report)), thread_([this] { run(); })
{
}

ReplayWriter::~ReplayWriter()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void ReplayWriter::write(const std::filesystem::path& path, std::string header, RecordedKeys keys, std::string closing)
{
    if (failed_)
        return;
    {
        std::lock_guard lock(mutex_);
        Job job{path, std::move(header), std::move(keys), std::move(closing)};
        // Only the latest version of a replay matters; another replay's write still waiting
        // (a game ended and the next began within one write) keeps its turn.
        const auto same = std::find_if(waiting_.begin(), waiting_.end(), [&](const Job& other) { return other.path == path; });
        if (same != waiting_.end())
            *same = std::move(job);
        else
            waiting_.push_back(std::move(job));
    }
    changed_.notify_all();
}

void ReplayWriter::flush()
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return waiting_.empty() && !busy_; });
}

void ReplayWriter::run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return !waiting_.empty() || stopping_; });
        if (waiting_.empty())
            return;
        Job job = std::move(waiting_.front());
        waiting_.pop_front();
        busy_ = true;
        lock.unlock();
        if (!failed_) {
            if (const FileStatus status = writeOne(job); !status.ok() && !failed_.exchange(true) && report_)
                report_(status.error);
        }
        lock.lock();
        busy_ = false;
        changed_.notify_all();
    }
}

FileStatus ReplayWriter::writeOne(const Job& job)
{
    const std::filesystem::path folder = job.path.parent_path();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        return {folder.string() + ": cannot be created (" + error.message() + ")"};
    std::string text = job.header;
    job.keys.appendTo(text);
    text += job.closing;
    if (FileStatus status = writeFileAtomically(job.path, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
        !status.ok())
        return status;
    if (job.path != lastWritten_) {
        lastWritten_ = job.path;
        pruneReplays(folder, KeptReplays, job.path);
    }
    return {};
}

} // namespace poronpa::replay
