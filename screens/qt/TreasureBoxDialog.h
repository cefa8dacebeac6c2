#pragma once

#include <QColor>
#include <QDialog>
#include <QImage>
#include <QString>

class QLabel;
class QPushButton;
class QTimer;

namespace poronpa {

class MessageLabel;
class Sound;

/// The colour of the OK button at a phase of its cycle (0..511): each channel a triangle wave
/// between 127 and 255, the three channels a third of the wave apart.
QColor okButtonColor(int colorPhase);

/// The treasure box dialog: what a box held (an item, a memo, nothing) or that the moon-viewing
/// offerings are incomplete, typed out a character at a time over one or two pages.
/// Its timers call TypeNextCharacter and AdvanceButtonColor; tests may call them directly
/// instead of running an event loop.
class frmGetItem : public QDialog {
    Q_OBJECT

public:
    /// Loads the dialog for `boxContent` (what it shows and plays is decided by
    /// treasureBoxContent): picture, first page, caption, and its sound.
    frmGetItem(QWidget* owner, int boxContent, Sound& sound);

    /// One tick of tmrMS: shows one more character; at the page's end, focus and pulse to OK.
    void TypeNextCharacter();
    /// One tick of tmrButtonColor: the next colour of the OK button.
    void AdvanceButtonColor();
    /// The OK button's action: the second page, or closing; a click sound either way.
    void PressOK();

    /// The phase of the OK button's colour cycle, kept from one showing to the next.
    static int colorPhase();

    QString pageText() const { return pageText_; }
    QString nextPageText() const { return nextPageText_; }
    QString messageText() const;       ///< what lblMS shows
    QString shadowText() const;        ///< what lblMS2 shows
    QColor buttonColor() const;        ///< cmdOK's background
    QImage itemPicture() const;        ///< what picItem shows
    bool isTyping() const;             ///< tmrMS is running
    bool isPulsing() const;            ///< tmrButtonColor is running
    QPushButton* okButton() const { return cmdOK_; }
    QTimer* typingTimer() const { return tmrMS_; }
    QTimer* colourTimer() const { return tmrButtonColor_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void setButtonColor(const QColor& colour);
    void showPicture(const QImage& picture);
    void startPage(const QString& text);

    Sound& sound_;
    QLabel* picItem_;
    MessageLabel* lblMS2_;
    MessageLabel* lblMS_;
    QPushButton* cmdOK_;
    QTimer* tmrMS_;
    QTimer* tmrButtonColor_;
    QImage background_;
    QImage picture_;
    QString pageText_;
    QString nextPageText_;
    int typedCount_ = 0;
};

} // namespace poronpa
