#pragma once

#include "app/base/SafeFile.h"
#include "app/base/Surface.h"
#include "editor/qt/CheckWindow.h"

#include <QMessageBox>
#include <QPoint>
#include <QPointer>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QLineEdit;
class QPushButton;
class QKeySequence;
class QShortcut;

namespace poronpa {

class MapEditor;
class MapGrid;
class PictureBox;
class CanvasBox;
class TestPlayItems;
struct GameStart;
class SurfaceView;
class frmParts;

/// The editor window "MapDesign": the area canvas in its view frame, the overview of the areas,
/// the arrow pad, the status label and the tool buttons. It opens the palette window with itself.
class frmMain : public QWidget {
    Q_OBJECT
public:
    /// The questions and messages the window shows; tests answer them without a modal box.
    struct Dialogs {
        /// Asks whether to save the changed map first: Yes, No or Cancel.
        std::function<QMessageBox::StandardButton(QWidget* parent, const QString& question)> askToSave;
        /// Tells the user something went wrong.
        std::function<void(QWidget* parent, const QString& message)> tell;
        /// Asks whether to overwrite a map file another program changed, or one that could not
        /// be read: Yes or No.
        std::function<QMessageBox::StandardButton(QWidget* parent, const QString& question)> askToOverwrite;
        /// Lets the designer tick the items a test play starts with; false when cancelled.
        std::function<bool(TestPlayItems& items)> chooseTestPlayItems;
        /// Asks for a world file to open; empty when cancelled.
        std::function<std::filesystem::path(QWidget* parent)> chooseWorldToOpen;
        /// Asks for the file to save the world in, offering `suggested`; empty when cancelled.
        std::function<std::filesystem::path(QWidget* parent, const std::filesystem::path& suggested)> chooseWorldToSave;
    };

    /// Opens the game window for a test play; `ended` is called once it has closed.
    using TestPlayer = std::function<void(const MapGrid& map, const GameStart& start, std::function<void()> ended)>;

    /// `mapFile` is the default world's file, which Load and Save use until another world is
    /// opened; its pictures are exported into `pictureDirectory`, another world's into its folder
    /// among the player's files.
    frmMain(MapEditor& editor, std::filesystem::path mapFile, std::filesystem::path pictureDirectory);
    ~frmMain() override;

    void setDialogs(Dialogs dialogs) { dialogs_ = std::move(dialogs); }
    void setTestPlayer(TestPlayer player) { testPlayer_ = std::move(player); }
    /// The check the Check button runs, route::checkWorld unless a test gives another.
    void setWorldChecker(WorldCheckRun::Checker checker) { checker_ = std::move(checker); }

    /// Load reads `file` instead of the map file until the first Save (the shipped world, while
    /// the player has no map of their own).
    void readMapFrom(std::filesystem::path file)
    {
        readFile_ = std::move(file);
        defaultReadFile_ = readFile_;
    }

    /// Loads the map with its progress in the status label, without asking first.
    FileStatus loadMapFile();

    /// Edits the world in `world` from now on, without asking first: Load reads it and Save writes
    /// it, and it goes first in the recent list. A file that is not a whole world leaves the
    /// world being edited as it was, and the result says why.
    FileStatus openWorld(const std::filesystem::path& world);
    /// Edits an empty world with no file yet, without asking first; Save asks for its file.
    void newWorld();
    /// Writes the world to `file` (".ppw" added to a name without an extension), which it is
    /// edited as from then on. On a failure the world stays where it was.
    bool saveWorldAs(std::filesystem::path file);
    /// The file the world being edited is saved in; empty for a new world not yet saved.
    const std::filesystem::path& worldFile() const { return mapFile_; }
    /// The name of a world with no file yet, as the caption shows it.
    static QString untitledName();

    frmParts* palette() const { return palette_.get(); }
    /// The window of the latest check, while it is open.
    CheckWindow* checkWindow() const { return checkWindow_; }
    /// The route found by the latest check, while it is drawn over the map.
    const route::CheckReport* routeShown() const { return routeShown_ ? &*routeShown_ : nullptr; }

signals:
    /// The Game button was pressed: the game window is to open over the map. The editor then
    /// hides the palette and closes itself.
    void gameRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    /// The mouse wheel over the view frame scrolls it, sideways with Shift; the pointer leaving
    /// the canvas leaves no cell hovered.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    /// A menu command, with keys that work in either window.
    QAction* addCommand(QMenu* menu, const QString& caption, const QKeySequence& keys, std::function<void()> action);
    void fillRecentMenu();
    bool settleBeforeAnotherWorld();
    /// Opens `world`, or tells why it cannot be opened.
    void openChosenWorld(const std::filesystem::path& world);
    void openRecentWorld(const std::filesystem::path& world);
    void openDefaultWorld();
    void askForWorldToOpen();
    bool askForFileToSaveIn();
    /// Load and Save use `world` from now on, which goes first in the recent list.
    void nowEditing(const std::filesystem::path& world);
    /// The caption names the world and marks unsaved changes with "*" before it.
    void showCaption();
    std::filesystem::path pictureDirectory() const;
    /// A key that works in either window; the view is refreshed when `action` returns true.
    void addShortcut(const QKeySequence& keys, std::function<bool()> action);
    void enableShortcuts(bool enabled);
    QPushButton* addButton(const QString& name, const QString& caption, QWidget* parent, int x, int y, int w, int h);
    void refresh();
    void showStatusNow();
    void showHoveredCell();
    bool settleUnsavedChanges(const QString& question);
    bool saveMapFile();
    void load();
    void startGame();
    /// The Check button: checks the map as it is now on a thread of its own, in a window that
    /// shows the progress and then the report.
    void checkWorld();
    /// The check has ended: a route found is drawn over the map until the map changes.
    void showCheckedRoute();
    void dismissRoute();
    /// Plays the route found in the game window, on the map as it was checked.
    void watchRoute();
    /// The editor waits out of sight while a game window of its has the keys.
    void awayForGame();
    void backFromGame();
    /// F5: plays the map as it is in memory from the current area, then comes back to it.
    void testPlay();
    void replace();
    /// Copy or cut: the taken tiles go to the system clipboard as rows of tile codes, so that
    /// another editor can paste them.
    bool copyToClipboard(bool (MapEditor::*take)());
    void exportPicture(FileStatus (MapEditor::*exportTo)(const std::filesystem::path&) const);
    void reportFailure(const FileStatus& status);

    MapEditor& editor_;
    std::filesystem::path mapFile_;
    std::filesystem::path readFile_;
    std::filesystem::path pictureDirectory_;
    /// The default world's files, as the editor started with them, for the recent list's first entry.
    std::filesystem::path defaultMapFile_;
    std::filesystem::path defaultReadFile_;
    Dialogs dialogs_;
    TestPlayer testPlayer_;
    TestPlayItems* testPlayItems_ = nullptr;
    WorldCheckRun::Checker checker_;
    QPointer<CheckWindow> checkWindow_;
    /// The route drawn, and the map it was found on: an edit takes the drawing away.
    std::optional<route::CheckReport> routeShown_;
    MapGrid routeMap_;
    std::unique_ptr<frmParts> palette_;
    bool handingOver_ = false;

    QWidget* picFrame_ = nullptr;
    PictureBox* picEdit_ = nullptr;
    CanvasBox* canvas_ = nullptr; ///< picEdit_, with what it draws over the map
    QLabel* lblXY_ = nullptr;
    Surface selectedSwatch_;
    SurfaceView* picSelected_ = nullptr;
    QLabel* lblSelected_ = nullptr;
    QLabel* lblCell_ = nullptr;
    bool grid_ = false;
    PictureBox* picMap_ = nullptr;
    QLineEdit* txtFrom_ = nullptr;
    QLineEdit* txtTo_ = nullptr;
    QPushButton* cmdLoad_ = nullptr;
    QPushButton* cmdSave_ = nullptr;
    std::vector<QShortcut*> shortcuts_;
    std::vector<QAction*> commands_;
    QMenu* recentMenu_ = nullptr;
    QAction* saveCommand_ = nullptr;
    QPoint wheelTurn_; ///< what the wheel has turned beyond whole cells
};

} // namespace poronpa
