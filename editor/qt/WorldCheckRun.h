#pragma once

#include "route/WorldCheck.h"
#include "world/MapGrid.h"

#include <QObject>
#include <QTimer>

#include <atomic>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace poronpa {

/// One check of a world on a thread of its own, so that the editor stays responsive while it
/// runs: it checks a copy of the map taken at the start, and hands its progress and its report to
/// the editor's thread, which looks for them a few times a second. The route a check keeps among
/// the world's files is where the next check starts from, and where a route found is kept.
class WorldCheckRun : public QObject {
    Q_OBJECT
public:
    /// The check itself: route::checkWorld, or a stand-in for the tests.
    using Checker = std::function<route::CheckReport(const MapGrid&, const route::CheckOptions&,
                                                     const std::function<void(const route::CheckProgress&)>&,
                                                     const std::atomic<bool>*)>;

    /// Starts checking `map` at once. With a `routeFile`, the route kept there is the check's hint
    /// and a route found replaces it (the report names it); without, nothing is read or kept.
    WorldCheckRun(const MapGrid& map, route::CheckOptions options, std::filesystem::path routeFile, Checker checker,
                  QObject* parent = nullptr);
    /// Cancels a check still running and waits for its thread.
    ~WorldCheckRun() override;

    /// Asks the check to stop; finished() follows once it has.
    void cancel() { cancel_ = true; }
    bool running() const { return !report_.has_value(); }
    /// The map as it was checked.
    const MapGrid& map() const { return map_; }
    /// The report, once finished() has been sent.
    const route::CheckReport& report() const { return *report_; }
    /// Why a route found could not be kept, once finished(); empty when it was or none was found.
    const std::string& keepFailure() const { return keepFailure_; }

signals:
    void progressed(const poronpa::route::CheckProgress& progress);
    void finished();

private:
    void collect();

    const MapGrid map_;
    std::atomic<bool> cancel_{false};
    std::mutex mutex_;
    route::CheckProgress progress_;   ///< the latest, under the mutex
    bool progressNew_ = false;        ///< under the mutex
    std::optional<route::CheckReport> done_; ///< set by the thread under the mutex
    std::optional<route::CheckReport> report_; ///< the editor's thread's copy
    std::string keepFailure_;                  ///< set with done_
    QTimer poll_;
    std::thread thread_;
};

} // namespace poronpa
