#include "editor/qt/frmParts.h"

#include "editor/MapEditor.h"
#include "editor/qt/PictureBox.h"
#include "world/SheetCells.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QToolBar>
#include <QToolTip>
#include <QVBoxLayout>

namespace poronpa {

namespace {

constexpr int Border = 2;
constexpr int OutsideWidth = sheet::Width + 2 * Border;
constexpr int OutsideHeight = sheet::Height + 2 * Border;
// Room the window system keeps for the palette's title bar and frame.
constexpr int WindowFrameRoom = 48;

/// The red outline around the chosen tiles; clicks go through it to the sheet.
class SelectionBox : public QWidget {
public:
    explicit SelectionBox(QWidget* parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        resize(sheet::CellSize, sheet::CellSize);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(QPen(QColor(255, 0, 0), 2));
        painter.drawRect(QRectF(1, 1, width() - 2, height() - 2));
    }
};

} // namespace

frmParts::frmParts(MapEditor& editor) : editor_(editor)
{
    setObjectName("frmParts");
    setWindowTitle("Parts");

    // The whole sheet with its border, in a scroller: on a small screen or at a large scale
    // every row can still be reached.
    auto* border = new QFrame;
    border->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    border->setLineWidth(Border);
    border->setFixedSize(OutsideWidth, OutsideHeight);
    auto* scroller = new QScrollArea(this);
    scroller->setObjectName("partsScroller");
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidget(border);
    auto* tools = new QToolBar(this);
    tools->setObjectName("partsTools");
    auto* toolGroup = new QActionGroup(this);
    paintTool_ = tools->addAction(QCoreApplication::translate("MapDesign", "ペン"));
    paintTool_->setObjectName("toolPaint");
    paintTool_->setToolTip(QCoreApplication::translate("MapDesign", "左ドラッグで塗る (Shift+ドラッグで範囲選択)"));
    selectTool_ = tools->addAction(QCoreApplication::translate("MapDesign", "選択"));
    selectTool_->setObjectName("toolSelect");
    selectTool_->setToolTip(QCoreApplication::translate("MapDesign", "左ドラッグで範囲を選ぶ"));
    for (QAction* tool : {paintTool_, selectTool_}) {
        tool->setCheckable(true);
        toolGroup->addAction(tool);
    }
    connect(toolGroup, &QActionGroup::triggered, this, [this](QAction* tool) {
        editor_.setTool(tool == selectTool_ ? CanvasTool::Select : CanvasTool::Paint);
        emit tileChosen();
    });
    QAction* flip = tools->addAction(QCoreApplication::translate("MapDesign", "左右反転"));
    flip->setObjectName("toolFlip");
    flip->setToolTip(QCoreApplication::translate("MapDesign", "貼り付け中の形かペンを左右反転 (X)"));
    connect(flip, &QAction::triggered, this, [this] {
        editor_.flipStamp();
        refresh();
        emit tileChosen();
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // Below the sheet, which thus keeps its place in the window.
    layout->addWidget(scroller);
    layout->addWidget(tools);

    picParts_ = new PictureBox(&editor_.tileSheet(), border);
    picParts_->setObjectName("picParts");
    picParts_->move(Border, Border);
    picParts_->installEventFilter(this);
    shpSelect_ = new SelectionBox(picParts_);
    shpSelect_->setObjectName("shpSelect");

    connect(picParts_, &PictureBox::pressed, this, [this](Qt::MouseButton button, QPointF position) {
        if (button == Qt::LeftButton)
            editor_.palettePress(position.x(), position.y());
    });
    connect(picParts_, &PictureBox::moved, this, [this](Qt::MouseButtons held, QPointF position) {
        editor_.paletteMove(editorButtons(held), position.x(), position.y());
        refresh();
    });
    connect(picParts_, &PictureBox::released, this, [this](Qt::MouseButtons, QPointF position) {
        editor_.paletteRelease(position.x(), position.y());
        refresh();
        emit tileChosen();
    });

    // As tall as the sheet where the screen allows, with room for a scroll bar where it does not.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int toolsHeight = tools->sizeHint().height();
    const int room = screen ? screen->availableGeometry().height() - WindowFrameRoom - toolsHeight : OutsideHeight;
    const int height = std::min(OutsideHeight, room);
    const int bar = height < OutsideHeight ? style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0;
    resize(std::max(OutsideWidth + bar, tools->sizeHint().width()), height + toolsHeight);
    refresh();
}

void frmParts::refresh()
{
    const CellRect frame = editor_.paletteFrame();
    shpSelect_->setGeometry(sheet::CellSize * frame.column, sheet::CellSize * frame.row, sheet::CellSize * frame.width,
                            sheet::CellSize * frame.height);
    (editor_.tool() == CanvasTool::Select ? selectTool_ : paintTool_)->setChecked(true);
}

bool frmParts::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != picParts_ || event->type() != QEvent::ToolTip)
        return QWidget::eventFilter(watched, event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QPoint at = help->pos();
    if (!picParts_->rect().contains(at)) {
        QToolTip::hideText();
        return true;
    }
    const int column = at.x() / sheet::CellSize;
    const int row = at.y() / sheet::CellSize;
    const QRect cell(sheet::CellSize * column, sheet::CellSize * row, sheet::CellSize, sheet::CellSize);
    const auto tile = static_cast<std::uint8_t>(sheet::Columns * row + column);
    QToolTip::showText(help->globalPos(), QString::fromStdString(MapEditor::tileText(tile)), picParts_, cell);
    return true;
}

void frmParts::closeEvent(QCloseEvent* event)
{
    if (event->spontaneous())
        event->ignore();
}

} // namespace poronpa
