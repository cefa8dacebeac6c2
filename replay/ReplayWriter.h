#pragma once

#include "app/base/SafeFile.h"
#include "replay/ReplayRecorder.h"

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <deque>
#include <string>
#include <thread>

namespace poronpa::replay {

/// Writes replays on a thread of its own, so that no frame ever waits for the disk. Each write
/// replaces the whole file atomically; a newer version of a file waiting to be written replaces
/// the older one. The first write that fails ends all writing: the game plays on without
/// recording, and `report` (called once, on the writer's thread) says why.
class ReplayWriter {
public:
    explicit ReplayWriter(std::function<void(const std::string&)> report);
    /// Finishes what is waiting to be written.
    ~ReplayWriter();
    ReplayWriter(const ReplayWriter&) = delete;
    ReplayWriter& operator=(const ReplayWriter&) = delete;

    /// Writes `header`, `keys` and `closing` as the replay `path`. Its folder is made when
    /// missing; after the first write of a file, the folder's old replays beyond the last
    /// KeptReplays are removed.
    void write(const std::filesystem::path& path, std::string header, RecordedKeys keys, std::string closing);

    /// Waits until everything handed over has been written (or has failed).
    void flush();

    /// True once a write has failed: nothing more is written.
    bool failed() const { return failed_; }

private:
    struct Job {
        std::filesystem::path path;
        std::string header;
        RecordedKeys keys;
        std::string closing;
    };
    void run();
    FileStatus writeOne(const Job& job);

    std::function<void(const std::string&)> report_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Job> waiting_;
    bool busy_ = false;
    bool stopping_ = false;
    std::atomic<bool> failed_ = false;
    std::filesystem::path lastWritten_;
    std::thread thread_;
};

} // namespace poronpa::replay
