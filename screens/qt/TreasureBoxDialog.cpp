#include "screens/qt/TreasureBoxDialog.h"

#include "assets/Pictures.h"
#include "audio/Sound.h"
#include "screens/TreasureBoxContent.h"
#include "world/SheetCells.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTextLayout>
#include <QTimer>

#include <cstdlib>

namespace poronpa {

namespace {

constexpr int ClientWidth = 246;
constexpr int ClientHeight = 109;
constexpr int TypingIntervalMs = 30;
constexpr int ColourIntervalMs = 50;
constexpr int ShadowOffset = 3;
constexpr int ColourStep = 4;
constexpr int ColourCycle = 512;

const QColor MessageColour(0, 0, 128);
const QColor ShadowColour(192, 192, 255);
const QColor ButtonStartColour(192, 255, 192);

constexpr int MessagePixelSize = 19;

const QString PlaceholderText = QStringLiteral(".....");

/// Lives across showings so that the button does not restart its glide at every box.
int ColorPhase = 0;

QFont gothicBold(int pixelSize)
{
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    return font;
}

QImage spriteCell(int cell)
{
    return pictures::spriteSheet().copy(sheet::cellX(cell), sheet::cellY(cell), sheet::CellSize,
                                        sheet::CellSize);
}

} // namespace

/// A message label: wrapping text on a transparent background, its lines 19 pixels apart. The
/// box was sized for three lines at that pitch; the font's own pitch is taller and would cut
/// the third line of the longer memos in half.
class MessageLabel : public QWidget {
public:
    MessageLabel(QWidget* parent, const QColor& colour, int x, int y)
        : QWidget(parent), colour_(colour), text_(PlaceholderText)
    {
        setGeometry(x, y, 181, 57);
        setFont(gothicBold(MessagePixelSize));
    }

    QString text() const { return text_; }

    void setText(const QString& text)
    {
        text_ = text;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QString laidOut = text_;
        laidOut.replace(QChar(u'\n'), QChar(QChar::LineSeparator));
        QTextLayout layout(laidOut, font());
        QTextOption option(Qt::AlignLeft);
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (int row = 0;; ++row) {
            QTextLine line = layout.createLine();
            if (!line.isValid()) {
                break;
            }
            line.setLineWidth(width());
            line.setPosition(QPointF(0, row * MessagePixelSize));
        }
        layout.endLayout();

        QPainter painter(this);
        painter.setPen(colour_);
        layout.draw(&painter, QPointF(0, 0));
    }

private:
    QColor colour_;
    QString text_;
};

QColor okButtonColor(int colorPhase)
{
    const auto channel = [colorPhase](int offset) {
        const int x = (colorPhase + offset) % 256;
        return std::abs(x - 127) + 127;
    };
    return QColor(channel(0), channel(170), channel(340));
}

frmGetItem::frmGetItem(QWidget* owner, int boxContent, Sound& sound)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      sound_(sound),
      picItem_(new QLabel(this)),
      lblMS2_(new MessageLabel(this, ShadowColour, 56 + ShadowOffset, 8 + ShadowOffset)),
      lblMS_(new MessageLabel(this, MessageColour, 56, 8)),
      cmdOK_(new QPushButton(QStringLiteral("OK"), this)),
      tmrMS_(new QTimer(this)),
      tmrButtonColor_(new QTimer(this)),
      background_(pictures::dialogBackground())
{
    setFixedSize(ClientWidth, ClientHeight);
    setWindowIcon(pictures::windowIcon());

    picItem_->setGeometry(8, 8, sheet::CellSize, sheet::CellSize);

    cmdOK_->setGeometry(168, 72, 73, 33);
    cmdOK_->setFont(gothicBold(15));
    cmdOK_->setAutoFillBackground(true);
    setButtonColor(ButtonStartColour);
    connect(cmdOK_, &QPushButton::clicked, this, &frmGetItem::PressOK);

    tmrMS_->setInterval(TypingIntervalMs);
    tmrButtonColor_->setInterval(ColourIntervalMs);
    connect(tmrMS_, &QTimer::timeout, this, &frmGetItem::TypeNextCharacter);
    connect(tmrButtonColor_, &QTimer::timeout, this, &frmGetItem::AdvanceButtonColor);

    const TreasureBoxContent content = treasureBoxContent(boxContent);
    switch (content.picture) {
    case TreasureBoxContent::Picture::Item: showPicture(pictures::itemIcon(content.item)); break;
    case TreasureBoxContent::Picture::Memo: showPicture(spriteCell(sprites::Memo)); break;
    case TreasureBoxContent::Picture::Dud: showPicture(spriteCell(sprites::Dud)); break;
    }
    setWindowTitle(QString::fromStdString(content.caption));
    startPage(QString::fromStdString(content.firstPage));
    nextPageText_ = QString::fromStdString(content.secondPage);
    sound_.PlayAsync(content.openingSound);
}

void frmGetItem::startPage(const QString& text)
{
    pageText_ = text;
    typedCount_ = 0;
    tmrMS_->start();
    tmrButtonColor_->stop();
}

void frmGetItem::showPicture(const QImage& picture)
{
    picture_ = picture;
    picItem_->setPixmap(QPixmap::fromImage(picture));
}

void frmGetItem::TypeNextCharacter()
{
    if (typedCount_ >= pageText_.size()) {
        return;
    }
    ++typedCount_;
    const QString shown = pageText_.left(typedCount_);
    lblMS_->setText(shown);
    lblMS2_->setText(shown);
    if (typedCount_ == pageText_.size()) {
        tmrMS_->stop();
        cmdOK_->setFocus();
        tmrButtonColor_->start();
    }
}

void frmGetItem::AdvanceButtonColor()
{
    ColorPhase = (ColorPhase + ColourStep) % ColourCycle;
    setButtonColor(okButtonColor(ColorPhase));
}

void frmGetItem::PressOK()
{
    if (!nextPageText_.isEmpty()) {
        startPage(nextPageText_);
        nextPageText_.clear();
    } else {
        tmrMS_->stop();
        tmrButtonColor_->stop();
        accept();
    }
    sound_.PlayAsync(TreasureBoxContent::PageSound);
}

int frmGetItem::colorPhase()
{
    return ColorPhase;
}

QString frmGetItem::messageText() const
{
    return lblMS_->text();
}

QString frmGetItem::shadowText() const
{
    return lblMS2_->text();
}

QColor frmGetItem::buttonColor() const
{
    return cmdOK_->palette().color(QPalette::Button);
}

QImage frmGetItem::itemPicture() const
{
    return picture_;
}

bool frmGetItem::isTyping() const
{
    return tmrMS_->isActive();
}

bool frmGetItem::isPulsing() const
{
    return tmrButtonColor_->isActive();
}

void frmGetItem::setButtonColor(const QColor& colour)
{
    QPalette palette = cmdOK_->palette();
    palette.setColor(QPalette::Button, colour);
    palette.setColor(QPalette::Window, colour);
    cmdOK_->setPalette(palette);
}

void frmGetItem::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.drawImage(0, 0, background_);
}

void frmGetItem::keyPressEvent(QKeyEvent* event)
{
    // Like a plain window without a cancel button, the dialog answers only to OK and to its
    // close button; a stray Escape must not skip the message.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace poronpa
