#pragma once

#include "editor/qt/WorldCheckRun.h"

#include <QWidget>

#include <memory>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace poronpa {

/// The window of one check of the world: while it runs, the stage, a progress bar, the states
/// searched and Cancel; then the report, with the buttons that play the route found in the game
/// and take its drawing off the map. The editor stays usable meanwhile.
class CheckWindow : public QWidget {
    Q_OBJECT
public:
    /// Starts checking `map`, which is copied, for the world called `worldName`, keeping a route
    /// found in `routeFile` as WorldCheckRun does.
    CheckWindow(const MapGrid& map, const QString& worldName, route::CheckOptions options,
                const std::filesystem::path& routeFile, WorldCheckRun::Checker checker, QWidget* parent);
    ~CheckWindow() override;

    const WorldCheckRun& run() const { return *run_; }
    /// Whether the route's drawing is still on the map, as the window's button shows.
    void setRouteDrawn(bool drawn);

signals:
    /// The check has ended (found, not found, or cancelled); its report is run().report().
    void checked();
    /// The player wants to see the route played in the game.
    void watchRequested();
    /// The route's drawing is to go from the map.
    void drawingDismissed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showProgress(const route::CheckProgress& progress);
    void showReport();

    std::unique_ptr<WorldCheckRun> run_;
    QLabel* stage_;
    QProgressBar* bar_;
    QLabel* states_;
    QPlainTextEdit* report_;
    QPushButton* cancel_;
    QPushButton* watch_;
    QPushButton* dismiss_;
    QPushButton* close_;
};

} // namespace poronpa
