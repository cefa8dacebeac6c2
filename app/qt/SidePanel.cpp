#include "app/qt/SidePanel.h"

#include "app/qt/OverviewSquare.h"
#include "assets/Pictures.h"
#include "play/GameState.h"
#include "play/RunTime.h"
#include "screens/MessageTables.h"
#include "screens/qt/Fonts.h"
#include "screens/qt/MouseLabel.h"
#include "screens/qt/Translations.h"
#include "world/MapGrid.h"

#include <QCoreApplication>

namespace poronpa {

namespace {

void setColour(QWidget& control, QPalette::ColorRole role, const QColor& colour)
{
    QPalette palette = control.palette();
    palette.setColor(role, colour);
    control.setPalette(palette);
}

} // namespace

SidePanel::SidePanel(QWidget& client)
{
    for (int r = 0; r < MapGrid::Areas; ++r) {
        for (int c = 0; c < MapGrid::Areas; ++c) {
            auto* square = new OverviewSquare(&client);
            square->setGeometry(342 + 24 * c, 113 + 24 * r, 18, 18);
            shpMap_[static_cast<std::size_t>(c + MapGrid::Areas * r)] = square;
        }
    }

    for (int k = 0; k < 10; ++k) {
        auto* icon = new QLabel(&client);
        icon->setPixmap(QPixmap::fromImage(pictures::itemIcon(k)));
        icon->setGeometry(340 + 32 * (k % 5), 262 + 32 * (k / 5), 32, 32);
        keepTranslated(*icon, [icon, k] {
            icon->setToolTip(QCoreApplication::translate("Items", texts::ItemText[static_cast<std::size_t>(k)].c_str()));
        });
        icon->hide();
        imgItem_[static_cast<std::size_t>(k)] = icon;
    }

    lblBeta2_ = new MouseLabel(QStringLiteral("ぽぷらん"), fonts::gothic(12, true), QColor(255, 255, 128), &client);
    lblBeta2_->move(384, 56);

    lblDPS_ = new QLabel(&client);
    lblDPS_->setFont(fonts::gothic(8.25));
    setColour(*lblDPS_, QPalette::WindowText, Qt::black);
    lblDPS_->setGeometry(12, 329, 120, 14);

    // In the item box's heading, beside its tag: the diary that saves is one of the items.
    lblSaved_ = new QLabel(&client);
    keepTranslated(*lblSaved_, [label = lblSaved_] {
        label->setText(QCoreApplication::translate("SidePanel", "セーブしました"));
    });
    lblSaved_->setFont(fonts::gothic(9, true));
    setColour(*lblSaved_, QPalette::WindowText, QColor(90, 74, 122));
    lblSaved_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblSaved_->setGeometry(386, 243, 114, 17);
    lblSaved_->hide();
    // In the item box's heading, in its ink, where the note of a save takes its place for the few
    // seconds it is shown: below the box the panel has no room left. Hidden until the player asks.
    lblRunTime_ = new QLabel(&client);
    lblRunTime_->setFont(fonts::gothic(9, true));
    setColour(*lblRunTime_, QPalette::WindowText, QColor(90, 74, 122));
    lblRunTime_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblRunTime_->setGeometry(386, 243, 114, 17);
    lblRunTime_->hide();

    savedNoteTimer_.setSingleShot(true);
    savedNoteTimer_.setInterval(3000);
    QObject::connect(&savedNoteTimer_, &QTimer::timeout, lblSaved_, [this] {
        // The ending may have hidden both meanwhile: nothing comes back over it.
        if (!lblSaved_->isVisible())
            return;
        lblSaved_->hide();
        lblRunTime_->setVisible(runTimerShown_);
    });
}

void SidePanel::show(const GameState& state)
{
    for (int c = 0; c < MapGrid::Areas; ++c)
        for (int r = 0; r < MapGrid::Areas; ++r)
            shpMap(c + MapGrid::Areas * r).setMiniMapColour(state.MiniMapColor[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)]);
    for (int item = 0; item < ItemCount; ++item)
        imgItem(item).setVisible(state.ItemHeld[static_cast<std::size_t>(item)] != 0);
    // Every frame changes the hundredths: the text is made only when the frames changed.
    if (runTimerShown_ && (state.RunFrames != runFramesShown_ || lblRunTime_->text().isEmpty())) {
        runFramesShown_ = state.RunFrames;
        lblRunTime_->setText(QString::fromStdString(play::runTimeText(state.RunFrames)));
    }
}

void SidePanel::showRunTimer(bool shown)
{
    runTimerShown_ = shown;
    lblRunTime_->clear();
    lblRunTime_->setVisible(shown && !lblSaved_->isVisible());
}

void SidePanel::showFrameRate(const QString& text)
{
    lblDPS_->setText(text);
}

void SidePanel::noteSaved()
{
    lblRunTime_->hide();
    lblSaved_->show();
    savedNoteTimer_.start();
}

void SidePanel::clearSavedNote()
{
    savedNoteTimer_.stop();
    lblSaved_->hide();
    lblRunTime_->setVisible(runTimerShown_);
}

std::vector<QWidget*> SidePanel::controls() const
{
    std::vector<QWidget*> all(shpMap_.begin(), shpMap_.end());
    all.insert(all.end(), imgItem_.begin(), imgItem_.end());
    all.push_back(lblBeta2_);
    all.push_back(lblDPS_);
    all.push_back(lblSaved_);
    all.push_back(lblRunTime_);
    return all;
}

} // namespace poronpa
