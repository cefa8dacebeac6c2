#include "editor/frmParts.h"

#include "editor/MapEditor.h"
#include "editor/PictureBox.h"
#include "world/SheetCells.h"

#include <QCloseEvent>
#include <QFrame>
#include <QPainter>

namespace poronpa {

namespace {

constexpr int ClientWidth = 261;
constexpr int ClientHeight = 741;
constexpr int Border = 2;

/// The red outline around the selected tile; clicks go through it to the sheet.
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
        painter.drawRect(QRectF(1, 1, sheet::CellSize - 2, sheet::CellSize - 2));
    }
};

} // namespace

frmParts::frmParts(MapEditor& editor) : editor_(editor)
{
    setObjectName("frmParts");
    setWindowTitle("Parts");
    resize(ClientWidth, ClientHeight);

    // The sheet with its border; its top 12 pixels lie above the window's client area.
    auto* border = new QFrame(this);
    border->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    border->setLineWidth(Border);
    border->setGeometry(0, -12, sheet::Width + 2 * Border, sheet::Height + 2 * Border);

    picParts_ = new PictureBox(&editor_.tileSheet(), border);
    picParts_->setObjectName("picParts");
    picParts_->move(Border, Border);
    shpSelect_ = new SelectionBox(picParts_);
    shpSelect_->setObjectName("shpSelect");

    connect(picParts_, &PictureBox::released, this, [this](Qt::MouseButtons, QPointF position) {
        editor_.paletteRelease(position.x(), position.y());
        refresh();
    });
    refresh();
}

void frmParts::refresh()
{
    shpSelect_->move(sheet::CellSize * editor_.selectedCol(), sheet::CellSize * editor_.selectedRow());
}

void frmParts::closeEvent(QCloseEvent* event)
{
    if (event->spontaneous())
        event->ignore();
}

} // namespace poronpa
