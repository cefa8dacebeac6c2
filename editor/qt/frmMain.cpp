#include "editor/qt/frmMain.h"

#include "screens/qt/Fonts.h"
#include "editor/MapEditor.h"
#include "editor/TileNumberText.h"
#include "editor/qt/CheckWindow.h"
#include "editor/qt/PictureBox.h"
#include "editor/qt/RouteDrawing.h"
#include "editor/qt/TestPlayItems.h"
#include "app/qt/GameLauncher.h"
#include "app/qt/GameWindow.h"
#include "editor/qt/frmParts.h"
#include "world/AreaDrawing.h"
#include "world/MapFile.h"
#include "world/SheetCells.h"
#include "world/WorldPlaces.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QTemporaryFile>
#include <QTimer>
#include <QWheelEvent>
#include <QClipboard>
#include <QGuiApplication>

namespace poronpa {

namespace {

constexpr int ClientWidth = 522;
constexpr int ClientHeight = 399;

QMessageBox::StandardButton askWithBox(QWidget* parent, const QString& question)
{
    return QMessageBox::question(parent, "MapDesign", question,
                                 QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
}

void tellWithBox(QWidget* parent, const QString& message) { QMessageBox::warning(parent, "MapDesign", message); }

QMessageBox::StandardButton askYesOrNo(QWidget* parent, const QString& question)
{
    return QMessageBox::question(parent, "MapDesign", question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
}

bool chooseWithBox(TestPlayItems& items) { return items.exec() == QDialog::Accepted; }

QString worldFilters()
{
    return QCoreApplication::translate("MapDesign", "ワールド (*.ppw *.dat)") + ";;" + QCoreApplication::translate("MapDesign", "すべてのファイル (*)");
}

std::filesystem::path pathOf(const QString& chosen) { return std::filesystem::path(chosen.toStdString()); }

std::filesystem::path chooseWorldToOpenInDialog(QWidget* parent)
{
    return pathOf(QFileDialog::getOpenFileName(parent, QCoreApplication::translate("MapDesign", "ワールドを開く"), {}, worldFilters()));
}

std::filesystem::path chooseWorldToSaveInDialog(QWidget* parent, const std::filesystem::path& suggested)
{
    // The dialog adds the extension itself, so that it asks before replacing the file so named.
    QFileDialog dialog(parent, QCoreApplication::translate("MapDesign", "名前を付けて保存"), QString::fromStdString(suggested.string()), worldFilters());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QString(WorldExtension).mid(1));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return pathOf(dialog.selectedFiles().front());
}

void openTestPlayWindow(const MapGrid& map, const GameStart& start, std::function<void()> ended)
{
    openTestPlay(map, start, std::move(ended));
}

} // namespace

/// The area canvas with what the editor draws over the map: the grid of cells when it is on, an
/// outline round the cell under the pointer, the selection's marching outline, and a lifted stamp
/// half transparent where it would be put down.
class CanvasBox : public PictureBox {
public:
    CanvasBox(const MapEditor& editor, const bool& grid, QWidget* parent)
        : PictureBox(&editor.canvas(), parent), editor_(editor), grid_(grid)
    {
        marching_.setInterval(120);
        connect(&marching_, &QTimer::timeout, this, [this] {
            ++phase_;
            update();
        });
    }

    /// The route drawn over the map, or none.
    void showRoute(const route::CheckReport* route)
    {
        route_ = route;
        update();
    }

    /// The outline marches while there is a selection, and the timer rests while there is none.
    void keepMarching()
    {
        if (editor_.selection() && !marching_.isActive())
            marching_.start();
        else if (!editor_.selection())
            marching_.stop();
    }

protected:
    void paintOver(QPainter& painter) override
    {
        constexpr int Cell = sheet::CellSize;
        if (grid_) {
            // Light and dark dots in turn: seen on dark tiles and on light ones.
            for (const QPen& pen : {QPen(QColor(255, 255, 255, 110)), QPen(QColor(0, 0, 0, 140), 1, Qt::DotLine)}) {
                painter.setPen(pen);
                for (int k = 1; k < MapGrid::AreaCells; ++k) {
                    painter.drawLine(Cell * k, 0, Cell * k, AreaCanvasSize);
                    painter.drawLine(0, Cell * k, AreaCanvasSize, Cell * k);
                }
            }
        }
        if (route_)
            drawRoute(painter, *route_, editor_.areaX(), editor_.areaY());
        const auto cell = editor_.hoveredCell();
        const auto& stamp = editor_.floatingStamp();
        if (cell && stamp) {
            const Surface& tiles = editor_.tileSheet();
            const QImage sheetImage(reinterpret_cast<const uchar*>(tiles.data()), tiles.width(), tiles.height(),
                                    tiles.width() * 4, QImage::Format_RGB32);
            painter.setOpacity(0.5);
            for (int row = 0; row < stamp->height; ++row)
                for (int column = 0; column < stamp->width; ++column) {
                    const std::uint8_t tile = stamp->at(column, row);
                    painter.drawImage(QPoint(Cell * (cell->column + column), Cell * (cell->row + row)), sheetImage,
                                      QRect(sheet::cellX(tile), sheet::cellY(tile), Cell, Cell));
                }
            painter.setOpacity(1);
        }
        if (cell) {
            // Dark outside, light inside: seen on any tile. Round a lifted stamp, its whole size.
            const int width = stamp ? stamp->width : 1;
            const int height = stamp ? stamp->height : 1;
            const QRect outline(Cell * cell->column, Cell * cell->row, Cell * width - 1, Cell * height - 1);
            painter.setPen(Qt::black);
            painter.drawRect(outline);
            painter.setPen(Qt::white);
            painter.drawRect(outline.adjusted(1, 1, -1, -1));
        }
        if (const auto selection = editor_.selection()) {
            // Black dashes marching over white ones, as a selection is shown elsewhere.
            const QRect outline(Cell * selection->column, Cell * selection->row, Cell * selection->width - 1,
                                Cell * selection->height - 1);
            painter.setPen(QPen(Qt::white, 2));
            painter.drawRect(outline);
            QPen dashes(Qt::black, 2, Qt::CustomDashLine);
            dashes.setDashPattern({3, 3});
            dashes.setDashOffset(phase_ % 6);
            painter.setPen(dashes);
            painter.drawRect(outline);
        }
    }

private:
    const MapEditor& editor_;
    const bool& grid_;
    const route::CheckReport* route_ = nullptr;
    QTimer marching_;
    int phase_ = 0;
};

frmMain::frmMain(MapEditor& editor, std::filesystem::path mapFile, std::filesystem::path pictureDirectory)
    : editor_(editor), mapFile_(std::move(mapFile)), readFile_(mapFile_),
      pictureDirectory_(std::move(pictureDirectory)), defaultMapFile_(mapFile_), defaultReadFile_(mapFile_),
      dialogs_{askWithBox, tellWithBox, askYesOrNo, chooseWithBox, chooseWorldToOpenInDialog, chooseWorldToSaveInDialog},
      testPlayer_(openTestPlayWindow), checker_(route::checkWorld),
      palette_(std::make_unique<frmParts>(editor))
{
    setObjectName("frmMain");
    setFixedSize(ClientWidth, ClientHeight);
    setFont(fonts::gothic(9));
    buildControls();
    buildMenus();
    testPlayItems_ = new TestPlayItems(this);

    // The palette is a window of its own, so the shortcuts must work from either. Keys a Replace
    // box uses for its text (the arrows sideways, Home, End, letters) stay with the box.
    addShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), [this] { return editor_.undo(); });
    for (const QKeySequence& keys : {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)})
        addShortcut(keys, [this] { return editor_.redo(); });
    addShortcut(QKeySequence(Qt::Key_F5), [this] {
        testPlay();
        return false;
    });
    addShortcut(QKeySequence(Qt::Key_G), [this] {
        grid_ = !grid_;
        return true;
    });
    // The hands: a selection, the clipboard, a stamp on the pointer.
    addShortcut(QKeySequence(Qt::CTRL | Qt::Key_A), [this] {
        editor_.selectAll();
        return true;
    });
    addShortcut(QKeySequence(Qt::CTRL | Qt::Key_C), [this] { return copyToClipboard(&MapEditor::copySelection); });
    addShortcut(QKeySequence(Qt::CTRL | Qt::Key_X), [this] { return copyToClipboard(&MapEditor::cutSelection); });
    addShortcut(QKeySequence(Qt::CTRL | Qt::Key_V),
                [this] { return editor_.paste(QGuiApplication::clipboard()->text().toStdString()); });
    addShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), [this] { return editor_.fillSelection(); });
    addShortcut(QKeySequence(Qt::Key_Escape), [this] { return editor_.escape(); });
    addShortcut(QKeySequence(Qt::Key_X), [this] {
        editor_.flipStamp();
        return true;
    });
    constexpr int View = ViewSize / sheet::CellSize;
    const struct {
        Qt::Key key;
        int columns, rows;
    } scrolls[] = {{Qt::Key_Left, -1, 0},     {Qt::Key_Right, 1, 0},     {Qt::Key_Up, 0, -1},   {Qt::Key_Down, 0, 1},
                   {Qt::Key_PageUp, 0, -View}, {Qt::Key_PageDown, 0, View}, {Qt::Key_Home, -View, 0}, {Qt::Key_End, View, 0}};
    for (const auto& scroll : scrolls)
        addShortcut(QKeySequence(scroll.key), [this, scroll] {
            editor_.scrollCells(scroll.columns, scroll.rows);
            return true;
        });
    // The canvas covers the frame but for the margin of its design position.
    picFrame_->installEventFilter(this);
    picEdit_->installEventFilter(this);
    refresh();
}

frmMain::~frmMain() = default;

void frmMain::buildControls()
{
    picFrame_ = new QWidget(this);
    picFrame_->setObjectName("picFrame");
    picFrame_->setGeometry(0, 4, ViewSize, ViewSize);
    canvas_ = new CanvasBox(editor_, grid_, picFrame_);
    picEdit_ = canvas_;
    picEdit_->setObjectName("picEdit");
    picEdit_->setMouseTracking(true);
    // The canvas holds the keyboard focus, so that undo and redo reach the map rather than the
    // text of a Replace box.
    picEdit_->setFocusPolicy(Qt::ClickFocus);
    picEdit_->setFocus();
    connect(picEdit_, &PictureBox::pressed, this, [this](Qt::MouseButton button, QPointF p, Qt::KeyboardModifiers keys) {
        editor_.canvasPress(static_cast<MouseButton>(editorButtons(button)), p.x(), p.y(), editorModifiers(keys));
        refresh();
    });
    connect(picEdit_, &PictureBox::moved, this, [this](Qt::MouseButtons held, QPointF p) {
        const auto selection = editor_.selection();
        editor_.canvasMove(editorButtons(held), p.x(), p.y());
        picEdit_->update();
        showHoveredCell();
        if (editor_.selection() != selection)
            showStatusNow();
    });
    connect(picEdit_, &PictureBox::released, this, [this](Qt::MouseButtons stillHeld, QPointF) {
        editor_.canvasRelease(editorButtons(stillHeld));
        canvas_->keepMarching();
    });

    lblXY_ = new QLabel(this);
    lblXY_->setObjectName("lblXY");
    lblXY_->move(0, 4 + ViewSize);

    // Below the status label and the Game button: the selected tile, and the cell under the pointer.
    selectedSwatch_ = Surface(sheet::CellSize, sheet::CellSize);
    picSelected_ = new SurfaceView(&selectedSwatch_, this);
    picSelected_->setObjectName("picSelected");
    picSelected_->move(0, 346);
    lblSelected_ = new QLabel(this);
    lblSelected_->setObjectName("lblSelected");
    lblSelected_->setGeometry(38, 346, 290, 32);
    lblSelected_->setWordWrap(true);
    lblCell_ = new QLabel(this);
    lblCell_->setObjectName("lblCell");
    lblCell_->setGeometry(0, 382, ClientWidth, 16);
    connect(palette_.get(), &frmParts::tileChosen, this, &frmMain::refresh);

    picMap_ = new PictureBox(&editor_.overview(), this);
    picMap_->setObjectName("picMap");
    picMap_->move(336, 4);
    connect(picMap_, &PictureBox::released, this, [this](Qt::MouseButtons, QPointF p) {
        editor_.overviewRelease(p.x(), p.y());
        refresh();
    });

    auto* pad = new QFrame(this);
    pad->setObjectName("Picture1");
    pad->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pad->setGeometry(336, 64, 161, 89);
    const struct {
        const char* caption;
        int x, y;
    } arrows[] = {{"↑", 56, 8}, {"→", 104, 24}, {"↓", 56, 48}, {"←", 8, 24}};
    for (int index = 0; index < 4; ++index) {
        const auto& arrow = arrows[index];
        QPushButton* button =
            addButton(QString("cmdArrow%1").arg(index), QString::fromUtf8(arrow.caption), pad, arrow.x, arrow.y, 41, 33);
        connect(button, &QPushButton::clicked, this, [this, index] {
            editor_.arrowClick(index);
            refresh();
        });
    }

    connect(addButton("cmdFill", "Fill", this, 336, 164, 81, 33), &QPushButton::clicked, this, [this] {
        editor_.fill();
        refresh();
    });
    connect(addButton("cmdProve", "Edge", this, 424, 164, 81, 33), &QPushButton::clicked, this, [this] {
        editor_.edge();
        refresh();
    });

    txtFrom_ = new QLineEdit(this);
    txtFrom_->setObjectName("txtFrom");
    txtFrom_->setGeometry(336, 220, 33, 18);
    auto* between = new QLabel(">", this);
    between->setObjectName("lblStatic");
    between->setGeometry(372, 224, 6, 12);
    txtTo_ = new QLineEdit(this);
    txtTo_->setObjectName("txtTo");
    txtTo_->setGeometry(380, 220, 33, 17);
    for (QLineEdit* box : {txtFrom_, txtTo_})
        box->setTextMargins(0, 0, 0, 0);
    connect(addButton("cmdReplace", "Replace", this, 424, 208, 81, 33), &QPushButton::clicked, this, &frmMain::replace);

    cmdLoad_ = addButton("cmdLoad", "Load", this, 336, 272, 81, 33);
    connect(cmdLoad_, &QPushButton::clicked, this, &frmMain::load);
    cmdSave_ = addButton("cmdSave", "Save", this, 424, 272, 81, 33);
    connect(cmdSave_, &QPushButton::clicked, this, [this] { saveMapFile(); });
    connect(addButton("cmdGame", "Game", this, 336, 316, 169, 33), &QPushButton::clicked, this, &frmMain::startGame);

    connect(addButton("cmdCheck", "Check", this, 424, 354, 81, 25), &QPushButton::clicked, this, &frmMain::checkWorld);

    connect(addButton("cmdMakeMap", "AllMap", this, 440, 8, 57, 21), &QPushButton::clicked, this,
            [this] { exportPicture(&MapEditor::exportWorld); });
    connect(addButton("cmdBMP", "1Map", this, 440, 32, 57, 21), &QPushButton::clicked, this,
            [this] { exportPicture(&MapEditor::exportArea); });
}

void frmMain::buildMenus()
{
    // The world's file commands open from a button in the free corner below Game, which keeps the
    // window's other controls where they are.
    auto* fileButton = new QToolButton(this);
    fileButton->setObjectName("cmdFile");
    fileButton->setText("File");
    fileButton->setGeometry(336, 354, 81, 25);
    fileButton->setPopupMode(QToolButton::InstantPopup);
    auto* file = new QMenu(fileButton);
    file->setObjectName("menuFile");
    fileButton->setMenu(file);
    addCommand(file, QCoreApplication::translate("MapDesign", "新規(&N)"), QKeySequence(Qt::CTRL | Qt::Key_N), [this] {
        if (settleUnsavedChanges(QCoreApplication::translate("MapDesign", "マップの変更が保存されていません。新しいワールドを始める前に保存しますか？")))
            newWorld();
    })->setObjectName("actNew");
    addCommand(file, QCoreApplication::translate("MapDesign", "開く(&O)..."), QKeySequence(Qt::CTRL | Qt::Key_O), [this] { askForWorldToOpen(); })
        ->setObjectName("actOpen");
    recentMenu_ = file->addMenu(QCoreApplication::translate("MapDesign", "最近使ったワールド(&R)"));
    recentMenu_->setObjectName("menuRecent");
    connect(recentMenu_, &QMenu::aboutToShow, this, &frmMain::fillRecentMenu);
    file->addSeparator();
    saveCommand_ = addCommand(file, QCoreApplication::translate("MapDesign", "上書き保存(&S)"), QKeySequence(Qt::CTRL | Qt::Key_S), [this] {
        if (editor_.canSave())
            saveMapFile();
    });
    saveCommand_->setObjectName("actSave");
    addCommand(file, QCoreApplication::translate("MapDesign", "名前を付けて保存(&A)..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), [this] {
        if (editor_.canSave())
            askForFileToSaveIn();
    })->setObjectName("actSaveAs");
    file->addSeparator();
    addCommand(file, QCoreApplication::translate("MapDesign", "終了(&X)"), {}, [this] { close(); });
}

QAction* frmMain::addCommand(QMenu* menu, const QString& caption, const QKeySequence& keys, std::function<void()> action)
{
    QAction* command = menu->addAction(caption);
    command->setShortcut(keys);
    // Like the editor's other keys, from the palette as well.
    command->setShortcutContext(Qt::ApplicationShortcut);
    connect(command, &QAction::triggered, this, [this, action = std::move(action)] {
        action();
        refresh();
    });
    // Also the window's own, so that the keys work while the menu is closed.
    addAction(command);
    commands_.push_back(command);
    return command;
}

void frmMain::fillRecentMenu()
{
    recentMenu_->clear();
    connect(recentMenu_->addAction(QCoreApplication::translate("MapDesign", "標準のワールド")), &QAction::triggered, this, [this] {
        if (settleBeforeAnotherWorld())
            openDefaultWorld();
    });
    const auto worlds = recentWorlds();
    if (!worlds.empty())
        recentMenu_->addSeparator();
    int number = 0;
    for (const auto& world : worlds) {
        const QString caption = QString("&%1 %2  (%3)")
                                    .arg(++number)
                                    .arg(QString::fromStdString(worldName(world)), QString::fromStdString(world.parent_path().string()));
        connect(recentMenu_->addAction(caption), &QAction::triggered, this, [this, world] { openRecentWorld(world); });
    }
}

bool frmMain::settleBeforeAnotherWorld()
{
    return settleUnsavedChanges(QCoreApplication::translate("MapDesign", "マップの変更が保存されていません。ほかのワールドを開く前に保存しますか？"));
}

void frmMain::openChosenWorld(const std::filesystem::path& world)
{
    if (const FileStatus status = openWorld(world); !status.ok())
        dialogs_.tell(this, QCoreApplication::translate("MapDesign", "ワールドを開けませんでした。") + "\n" + QString::fromStdString(status.error));
}

void frmMain::openRecentWorld(const std::filesystem::path& world)
{
    if (!settleBeforeAnotherWorld())
        return;
    if (std::error_code error; !std::filesystem::exists(world, error)) {
        // A list that keeps naming a file that is gone would only fail again.
        forgetRecentWorld(world);
        dialogs_.tell(this, QCoreApplication::translate("MapDesign", "「%1」が見つからないため、最近使ったワールドの一覧から外しました。").arg(QString::fromStdString(world.string())));
        return;
    }
    openChosenWorld(world);
}

void frmMain::openDefaultWorld()
{
    mapFile_ = defaultMapFile_;
    readFile_ = defaultReadFile_;
    reportFailure(loadMapFile());
}

void frmMain::askForWorldToOpen()
{
    if (!settleBeforeAnotherWorld())
        return;
    if (const std::filesystem::path world = dialogs_.chooseWorldToOpen(this); !world.empty())
        openChosenWorld(world);
}

FileStatus frmMain::openWorld(const std::filesystem::path& world)
{
    // Checked whole before the editor reads it: the editor's reader takes a short file as the
    // start of a map, and would create a missing one.
    MapGrid whole;
    if (FileStatus status = loadWholeWorld(world, whole); !status.ok())
        return status;
    const FileStatus status = editor_.load(world, [this] { showStatusNow(); });
    if (status.ok())
        nowEditing(world);
    refresh();
    return status;
}

void frmMain::nowEditing(const std::filesystem::path& world)
{
    mapFile_ = readFile_ = world;
    if (!isDefaultWorld(world))
        rememberRecentWorld(world);
}

void frmMain::newWorld()
{
    editor_.newWorld();
    mapFile_.clear();
    readFile_.clear();
    refresh();
}

QString frmMain::untitledName() { return QCoreApplication::translate("MapDesign", "無題"); }

bool frmMain::askForFileToSaveIn()
{
    const auto suggested = mapFile_.empty() ? std::filesystem::path(untitledName().toStdString() + WorldExtension)
                                            : mapFile_.parent_path() / (worldName(mapFile_) + WorldExtension);
    const std::filesystem::path file = dialogs_.chooseWorldToSave(this, suggested);
    return !file.empty() && saveWorldAs(file);
}

bool frmMain::saveWorldAs(std::filesystem::path file)
{
    if (!file.has_extension())
        file += WorldExtension;
    if (!mapFile_.empty() && worldIdentity(file) == worldIdentity(mapFile_))
        return saveMapFile();
    const FileStatus status = editor_.save(file, [this] { showStatusNow(); });
    if (status.ok())
        nowEditing(file);
    refresh();
    reportFailure(status);
    return status.ok();
}

void frmMain::showCaption()
{
    const QString name = mapFile_.empty() ? untitledName() : QString::fromStdString(worldName(mapFile_));
    const QString caption = (editor_.modified() ? "*" : "") + name + " - MapDesign";
    if (windowTitle() != caption)
        setWindowTitle(caption);
}

std::filesystem::path frmMain::pictureDirectory() const
{
    if (mapFile_.empty() || worldIdentity(mapFile_) == worldIdentity(defaultMapFile_))
        return pictureDirectory_;
    return worldDataFolder(mapFile_);
}

void frmMain::addShortcut(const QKeySequence& keys, std::function<bool()> action)
{
    auto* shortcut = new QShortcut(keys, this);
    shortcut->setContext(Qt::ApplicationShortcut);
    connect(shortcut, &QShortcut::activated, this, [this, action = std::move(action)] {
        if (action())
            refresh();
    });
    shortcuts_.push_back(shortcut);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == picEdit_ && event->type() == QEvent::Leave) {
        editor_.canvasLeave();
        picEdit_->update();
        showHoveredCell();
    }
    if ((watched != picFrame_ && watched != picEdit_) || event->type() != QEvent::Wheel)
        return QWidget::eventFilter(watched, event);
    // A notch of the wheel is three cells; finer wheels and touch pads add up to whole cells.
    constexpr int TurnPerCell = QWheelEvent::DefaultDeltasPerStep / 3;
    const auto* wheel = static_cast<QWheelEvent*>(event);
    QPoint turn = wheel->angleDelta();
    if (wheel->modifiers() & Qt::ShiftModifier)
        turn = QPoint(turn.x() + turn.y(), 0);
    wheelTurn_ += turn;
    const int columns = -wheelTurn_.x() / TurnPerCell;
    const int rows = -wheelTurn_.y() / TurnPerCell;
    wheelTurn_ += QPoint(columns, rows) * TurnPerCell;
    if (columns != 0 || rows != 0) {
        editor_.scrollCells(columns, rows);
        refresh();
    }
    return true;
}

QPushButton* frmMain::addButton(const QString& name, const QString& caption, QWidget* parent, int x, int y, int w, int h)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(x, y, w, h);
    return button;
}

void frmMain::refresh()
{
    picEdit_->move(editor_.scrollLeft(), editor_.scrollTop());
    picEdit_->update();
    canvas_->keepMarching();
    picMap_->update();
    lblXY_->setText(QString::fromStdString(editor_.status()));
    lblXY_->adjustSize();
    cmdSave_->setEnabled(editor_.canSave());
    saveCommand_->setEnabled(editor_.canSave());
    if (routeShown_ && !(editor_.map() == routeMap_))
        dismissRoute();
    // A new world has no file to read again.
    cmdLoad_->setEnabled(!readFile_.empty());
    showCaption();
    palette_->refresh();
    const auto selected = static_cast<std::uint8_t>(editor_.selectedTile());
    drawTile(selectedSwatch_, 0, 0, editor_.tileSheet(), selected);
    picSelected_->update();
    lblSelected_->setText(QCoreApplication::translate("MapDesign", "選択 %1").arg(QString::fromStdString(MapEditor::tileText(selected))));
    showHoveredCell();
}

bool frmMain::copyToClipboard(bool (MapEditor::*take)())
{
    if (!(editor_.*take)())
        return false;
    QGuiApplication::clipboard()->setText(QString::fromStdString(stampText(*editor_.copied())));
    return true;
}

void frmMain::showHoveredCell() { lblCell_->setText(QString::fromStdString(editor_.hoveredText())); }

void frmMain::showStatusNow()
{
    lblXY_->setText(QString::fromStdString(editor_.status()));
    lblXY_->adjustSize();
    lblXY_->repaint();
}

void frmMain::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    palette_->show();
}

FileStatus frmMain::loadMapFile()
{
    const FileStatus status = editor_.load(readFile_, [this] { showStatusNow(); });
    // Save writes the player's map even while Load reads the shipped world: what it holds now is
    // what Save may overwrite without asking.
    if (status.ok() && readFile_ != mapFile_)
        editor_.noteFile(mapFile_);
    refresh();
    return status;
}

void frmMain::load()
{
    if (!settleUnsavedChanges(QCoreApplication::translate("MapDesign", "マップの変更が保存されていません。読み込む前に保存しますか？")))
        return;
    reportFailure(loadMapFile());
}

bool frmMain::saveMapFile()
{
    if (mapFile_.empty())
        return askForFileToSaveIn();
    // Another editor on the same map saved meanwhile: overwriting would silently take its work back.
    if (editor_.changedSinceNoted(mapFile_)) {
        if (dialogs_.askToOverwrite(this, QCoreApplication::translate("MapDesign", "マップファイルは、読み込みか保存のあとに別のところで書き換えられています。上書きしますか？")) !=
            QMessageBox::Yes)
            return false;
    } else if (std::error_code error; readFile_ != mapFile_ && std::filesystem::exists(mapFile_, error)) {
        // The start passes over a map of the player's only when it cannot be read whole; the game
        // leaves it alone, and so does Save unless the designer means to replace it.
        const QString question =
            QCoreApplication::translate("MapDesign", "「%1」は壊れているか読み込めないため、いま開いているのは同梱のワールドです。このファイルを編集中のマップで置き換えますか？")
                .arg(QString::fromStdString(mapFile_.string()));
        if (dialogs_.askToOverwrite(this, question) != QMessageBox::Yes)
            return false;
    }
    const FileStatus status = editor_.save(mapFile_, [this] { showStatusNow(); });
    if (status.ok())
        readFile_ = mapFile_;
    refresh();
    reportFailure(status);
    return status.ok();
}

bool frmMain::settleUnsavedChanges(const QString& question)
{
    if (!editor_.modified())
        return true;
    switch (dialogs_.askToSave(this, question)) {
    case QMessageBox::Yes:
        return saveMapFile();
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

void frmMain::startGame()
{
    // The game plays the map as it is in memory, but the program ends with the game window. Its
    // saves and replays go with the world's file, so a new world gets one first.
    if (mapFile_.empty() && !askForFileToSaveIn())
        return;
    if (!settleUnsavedChanges(QCoreApplication::translate("MapDesign", "マップの変更が保存されていません。ゲームを始める前に保存しますか？")))
        return;
    handingOver_ = true;
    enableShortcuts(false);
    emit gameRequested();
    palette_->hide();
    close();
}

void frmMain::testPlay()
{
    // The cell under the pointer is taken before the list opens over the canvas, which makes the
    // canvas forget it.
    GameStart start = editor_.testPlayStart({});
    if (!dialogs_.chooseTestPlayItems(*testPlayItems_))
        return;
    start.items = testPlayItems_->ticked();
    awayForGame();
    testPlayer_(editor_.map(), start, [this] { backFromGame(); });
}

void frmMain::awayForGame()
{
    // The game window takes the keys while it plays; the editor waits out of sight.
    enableShortcuts(false);
    editor_.canvasLeave();
    palette_->hide();
    hide();
}

void frmMain::backFromGame()
{
    enableShortcuts(true);
    show();
    activateWindow();
    refresh();
}

void frmMain::checkWorld()
{
    if (checkWindow_ && checkWindow_->run().running()) {
        checkWindow_->raise();
        checkWindow_->activateWindow();
        return;
    }
    delete checkWindow_;
    dismissRoute();
    route::CheckOptions options;
    options.program = "mapdesign";
    const QString name = mapFile_.empty() ? untitledName() : QString::fromStdString(worldName(mapFile_));
    // A new world has no folder to keep its route in; it is checked afresh each time.
    const std::filesystem::path routeFile = mapFile_.empty() ? std::filesystem::path() : checkedRouteFile(mapFile_);
    // The run reads the route this world's last check kept; a world handed over with a route
    // beside it starts from that one when there is none.
    if (!mapFile_.empty())
        options.previousRoute = routeToTakeOver(mapFile_);
    checkWindow_ = new CheckWindow(editor_.map(), name, options, routeFile, checker_, this);
    connect(checkWindow_, &CheckWindow::checked, this, &frmMain::showCheckedRoute);
    connect(checkWindow_, &CheckWindow::drawingDismissed, this, &frmMain::dismissRoute);
    connect(checkWindow_, &CheckWindow::watchRequested, this, &frmMain::watchRoute);
    checkWindow_->show();
}

void frmMain::showCheckedRoute()
{
    const WorldCheckRun& run = checkWindow_->run();
    if (run.report().outcome != route::CheckReport::Outcome::Finishable || !(run.map() == editor_.map()))
        return;
    routeShown_ = run.report();
    routeMap_ = run.map();
    canvas_->showRoute(&*routeShown_);
    checkWindow_->setRouteDrawn(true);
}

void frmMain::dismissRoute()
{
    if (!routeShown_)
        return;
    canvas_->showRoute(nullptr);
    routeShown_.reset();
    if (checkWindow_)
        checkWindow_->setRouteDrawn(false);
}

void frmMain::watchRoute()
{
    if (!checkWindow_)
        return;
    const WorldCheckRun& run = checkWindow_->run();
    // The map as checked, which the route was found on, whatever has been edited since.
    struct CheckedMap : QObject {
        explicit CheckedMap(const MapGrid& checked) : map(checked) {}
        MapGrid map;
    };
    auto* checked = new CheckedMap(run.map());
    auto* window = static_cast<GameWindow*>(openGameWindow(checked->map, mapFile_));
    checked->setParent(window);
    window->setAttribute(Qt::WA_DeleteOnClose);
    std::filesystem::path replay = run.report().replayFile;
    if (replay.empty()) {
        // Not kept among the world's files: a file of the window's own, gone with it.
        auto* file = new QTemporaryFile(window);
        if (file->open()) {
            const std::string& text = run.report().replayText;
            file->write(text.data(), static_cast<qint64>(text.size()));
            file->flush();
        }
        replay = file->fileName().toStdString();
    }
    connect(window, &QObject::destroyed, this, &frmMain::backFromGame);
    awayForGame();
    QTimer::singleShot(0, window, [window, replay] { window->session().watch(replay); });
}

void frmMain::enableShortcuts(bool enabled)
{
    for (QShortcut* shortcut : shortcuts_)
        shortcut->setEnabled(enabled);
    for (QAction* command : commands_)
        command->setEnabled(enabled);
}

void frmMain::closeEvent(QCloseEvent* event)
{
    if (!handingOver_ && !settleUnsavedChanges(QCoreApplication::translate("MapDesign", "マップの変更が保存されていません。保存しますか？"))) {
        event->ignore();
        return;
    }
    palette_->close();
    // A check still running is cancelled with its window.
    if (checkWindow_)
        checkWindow_->close();
    event->accept();
}

void frmMain::replace()
{
    const std::string message = editor_.replace(txtFrom_->text().toStdString(), txtTo_->text().toStdString());
    refresh();
    if (!message.empty())
        dialogs_.tell(this, QString::fromStdString(message));
}

void frmMain::exportPicture(FileStatus (MapEditor::*exportTo)(const std::filesystem::path&) const)
{
    const std::filesystem::path directory = pictureDirectory();
    std::error_code ignored; // a folder that cannot be made fails the export, which says so
    std::filesystem::create_directories(directory, ignored);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const FileStatus status = (editor_.*exportTo)(directory);
    QApplication::restoreOverrideCursor();
    reportFailure(status);
}

void frmMain::reportFailure(const FileStatus& status)
{
    if (!status.ok())
        dialogs_.tell(this, QString::fromStdString(status.error));
}

} // namespace poronpa
