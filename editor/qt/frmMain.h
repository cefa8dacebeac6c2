#pragma once

#include "app/base/SafeFile.h"
#include "app/base/Surface.h"

#include <QMessageBox>
#include <QPoint>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

class QLabel;
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
    };

    /// Opens the game window for a test play; `ended` is called once it has closed.
    using TestPlayer = std::function<void(const MapGrid& map, const GameStart& start, std::function<void()> ended)>;

    /// `mapFile` is the map Load and Save use; the pictures are exported into `pictureDirectory`.
    frmMain(MapEditor& editor, std::filesystem::path mapFile, std::filesystem::path pictureDirectory);
    ~frmMain() override;

    void setDialogs(Dialogs dialogs) { dialogs_ = std::move(dialogs); }
    void setTestPlayer(TestPlayer player) { testPlayer_ = std::move(player); }

    /// Load reads `file` instead of the map file until the first Save (the shipped world, while
    /// the player has no map of their own).
    void readMapFrom(std::filesystem::path file) { readFile_ = std::move(file); }

    /// Loads the map with its progress in the status label, without asking first.
    FileStatus loadMapFile();

    frmParts* palette() const { return palette_.get(); }

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
    Dialogs dialogs_;
    TestPlayer testPlayer_;
    TestPlayItems* testPlayItems_ = nullptr;
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
    QPushButton* cmdSave_ = nullptr;
    std::vector<QShortcut*> shortcuts_;
    QPoint wheelTurn_; ///< what the wheel has turned beyond whole cells
};

} // namespace poronpa
