#include "audio/SoundNumbers.h"
#include "screens/qt/TitleScreen.h"

#include "screens/qt/Fonts.h"
#include "screens/qt/MouseLabel.h"
#include "screens/qt/WindowShowing.h"
#include "audio/Sound.h"
#include "audio/clsBGMAPI.h"
#include "screens/MessageTables.h"
#include "screens/qt/OptionsScreen.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMessageBox>

#include <algorithm>
#include <string>

namespace poronpa {

namespace {

const QColor MenuColour(192, 192, 0);
const QColor MenuPointedColour(255, 255, 160);

struct MenuEntry {
    const char* caption;
    int x, y;
};
constexpr MenuEntry MenuEntries[3] = {
    {QT_TRANSLATE_NOOP("Title", "はじめから"), 272, 208},
    {QT_TRANSLATE_NOOP("Title", "つづきから"), 272, 248},
    {QT_TRANSLATE_NOOP("Title", "設 定"), 273, 288},
};

std::string fourDigits(std::int32_t v)
{
    const std::string digits = std::to_string(v < 0 ? -static_cast<std::int64_t>(v) : static_cast<std::int64_t>(v));
    return (v < 0 ? "-" : "") + std::string(digits.size() < 4 ? 4 - digits.size() : 0, '0') + digits;
}

} // namespace

std::string playCountText(const AreaCounters& deathCount)
{
    std::string text = QCoreApplication::translate("Title", "プレイ回数 : ").toStdString() + "\r\n";
    // Counters come back from saved games too, so the total must not overflow whatever they say.
    std::int64_t total = 0;
    for (const auto& column : deathCount) {
        for (const std::int32_t count : column) {
            text += fourDigits(count) + " ";
            total += count;
        }
        text += "\r\n";
    }
    return text + QCoreApplication::translate("Title", "total %1 plays").arg(total).toStdString();
}

TitleScreen::TitleScreen(QWidget& picTitle, MouseLabel& lblBeta2, Sound& sound, clsBGMAPI& music, TitleActions& actions)
    : picTitle_(picTitle), lblBeta2_(lblBeta2), sound_(sound), music_(music), actions_(actions)
{
    const QFont menuFont = fonts::mincho(21.75, true);
    for (int i = 0; i < 3; ++i) {
        auto* label = new MouseLabel({}, menuFont, MenuColour, &picTitle_);
        label->showTranslated("Title", MenuEntries[i].caption);
        label->move(MenuEntries[i].x, MenuEntries[i].y);
        connect(label, &MouseLabel::clicked, this, [this, i] { lblTitle_Click(i); });
        connect(label, &MouseLabel::pointerMoved, this, [this, i] { lblTitle_MouseMove(i); });
        lblTitle_[static_cast<std::size_t>(i)] = label;
    }

    // The shadow is made first so that the bright text lies over it.
    const QFont waitFont = fonts::gothic(26.25, true, true);
    lblWait_[1] = new MouseLabel({}, waitFont, QColor(192, 192, 0), &picTitle_);
    lblWait_[1]->move(172, 156);
    lblWait_[0] = new MouseLabel({}, waitFont, QColor(255, 255, 128), &picTitle_);
    lblWait_[0]->move(168, 152);
    for (MouseLabel* label : lblWait_) {
        label->showTranslated("Title", QT_TRANSLATE_NOOP("Title", "Please wait..."));
        label->hide();
    }

    lblBeta1_ = new MouseLabel(QStringLiteral("ぽぷらん"), fonts::gothic(15.75, true), QColor(255, 255, 192), &picTitle_);
    lblBeta1_->move(392, 168);

    picTitle_.setFocusPolicy(Qt::StrongFocus);
    picTitle_.installEventFilter(this);
    connect(&lblBeta2_, &MouseLabel::released, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers modifiers) { lblBeta2_MouseUp(button, modifiers); });
}

void TitleScreen::ShowTitle()
{
    picTitle_.show();
    picTitle_.raise();
    picTitle_.setFocus();
    music_.BGMPlay(tunes::Title, true);
    actions_.resetGame();
}

void TitleScreen::ShowOptions(bool show)
{
    optionsShown_ = show;
    for (MouseLabel* label : lblTitle_)
        label->setVisible(!show);
    if (options_)
        options_->setVisible(show);
}

void TitleScreen::lblTitle_MouseMove(int index)
{
    for (MouseLabel* label : lblTitle_)
        label->setColour(MenuColour);
    lblTitle(index).setColour(MenuPointedColour);
    highlighted_ = index;
}

void TitleScreen::moveHighlight(int step)
{
    const int count = static_cast<int>(lblTitle_.size());
    const int from = highlighted_ >= 0 ? highlighted_ : step > 0 ? -1 : count;
    lblTitle_MouseMove(((from + step) % count + count) % count);
}

void TitleScreen::chooseHighlighted()
{
    const int entry = std::max(highlighted_, 0);
    lblTitle_MouseMove(entry);
    lblTitle_Click(entry);
}

void TitleScreen::lblTitle_Click(int index)
{
    sound_.PlayAsync(sounds::Click);
    if (index == 2) {
        ShowOptions(true);
        return;
    }

    // Preparing a game keeps the window busy; the notice has to be on screen before that starts.
    for (MouseLabel* label : lblWait_) {
        label->show();
        label->repaint();
    }
    if (index == 1)
        actions_.continueGame();
    else
        actions_.enterStartArea();
    picTitle_.hide();
    for (MouseLabel* label : lblWait_)
        label->hide();
    actions_.runGame();
}

void TitleScreen::picTitle_KeyPress(int characterCode)
{
    int entry = -1;
    if (characterCode == ' ')
        entry = 0;
    else if (characterCode == 'L' || characterCode == 'l')
        entry = 1;
    if (entry < 0)
        return;
    lblTitle_MouseMove(entry);
    lblTitle_Click(entry);
}

void TitleScreen::lblBeta2_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    const auto held = modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (button != Qt::RightButton || held == Qt::NoModifier)
        return;
    QString text = QString::fromStdString(playCountText(actions_.deathCounts()));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    actions_.showBox(new QMessageBox(QMessageBox::NoIcon, QString::fromStdString(texts::ApplicationTitle), text,
                                     QMessageBox::Ok, windowShowing(lblBeta2_)));
}

bool TitleScreen::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &picTitle_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // The hidden title keeps the keyboard focus during play and after the ending; only the
        // title's menu on screen takes its shortcuts, or space would start a game inside the
        // game, or behind the options screen.
        if (!picTitle_.isVisible() || key->isAutoRepeat())
            return true;
        // The options screen's only key is the way back, so that a player who came to it by the
        // keyboard or a pad is not left there.
        if (optionsShown_) {
            if (key->key() == Qt::Key_Escape && options_)
                options_->goBack();
            return true;
        }
        switch (key->key()) {
        case Qt::Key_Up:
            moveHighlight(-1);
            break;
        case Qt::Key_Down:
            moveHighlight(1);
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            chooseHighlighted();
            break;
        default:
            if (key->text().size() == 1)
                picTitle_KeyPress(key->text().at(0).unicode());
            break;
        }
        return true;
    }
    return false;
}

} // namespace poronpa
