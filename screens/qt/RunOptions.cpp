#include "screens/qt/RunOptions.h"

#include "screens/qt/Fonts.h"
#include "screens/qt/MouseLabel.h"
#include "settings/Settings.h"

#include <QCoreApplication>
#include <QLabel>
#include <QStringList>

namespace poronpa {

namespace {

// The colours of the options screen's rows.
const QColor LabelColour(255, 255, 128);
const QColor DimColour(192, 192, 0);
const QColor ChosenColour(255, 255, 160);
const QColor BestTimesColour(255, 255, 192);

constexpr const char* Captions[] = {QT_TRANSLATE_NOOP("Options", "タイマー"), "ON", "OFF",
                                    QT_TRANSLATE_NOOP("Options", "ゴースト"), "ON", "OFF"};
constexpr int TimerOn = 1, TimerOff = 2, GhostOn = 4, GhostOff = 5;

// In the sky between the title and the edition word, on the columns of the rows below, smaller:
// the rows of the design keep their places.
constexpr int Left = 272, ColumnStep = 80, Top = 100, RowStep = 22;
// The best times on the left, over the hill below the moon.
constexpr int BestTimesLeft = 16, BestTimesTop = 250, BestTimesWidth = 240, BestTimesHeight = 76;

std::int16_t& settingOfRow(Settings& settings, int index) { return index < 3 ? settings.RunTimer : settings.Ghost; }

} // namespace

std::vector<QString> bestTimesText(const std::vector<std::string>& lines)
{
    std::vector<QString> text{QCoreApplication::translate("Options", "ベストタイム（★ アイテムすべて）")};
    if (lines.empty())
        text.push_back(QCoreApplication::translate("Options", "まだ記録がありません"));
    for (const std::string& line : lines)
        text.push_back(QString::fromStdString(line));
    return text;
}

RunOptions::RunOptions(QWidget& picTitle, Settings& settings) : settings_(settings)
{
    const QFont font = fonts::gothic(12, true);
    for (int k = 0; k < 6; ++k) {
        auto* label = new MouseLabel({}, font, LabelColour, &picTitle);
        label->showTranslated("Options", Captions[k]);
        label->move(Left + ColumnStep * (k % 3), Top + RowStep * (k / 3));
        label->hide();
        connect(label, &MouseLabel::clicked, this, [this, k] { label_Click(k); });
        labels_[static_cast<std::size_t>(k)] = label;
    }
    label(settings_.RunTimer != 0 ? TimerOff : TimerOn).setColour(DimColour);
    label(settings_.Ghost != 0 ? GhostOff : GhostOn).setColour(DimColour);

    bestTimes_ = new QLabel(&picTitle);
    bestTimes_->setFont(fonts::gothic(9, true));
    QPalette palette = bestTimes_->palette();
    palette.setColor(QPalette::WindowText, BestTimesColour);
    bestTimes_->setPalette(palette);
    bestTimes_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    bestTimes_->setGeometry(BestTimesLeft, BestTimesTop, BestTimesWidth, BestTimesHeight);
    bestTimes_->hide();
    showBestTimes({});
}

void RunOptions::setVisible(bool visible)
{
    for (MouseLabel* row : labels_)
        row->setVisible(visible);
    bestTimes_->setVisible(visible);
}

void RunOptions::showBestTimes(const std::vector<std::string>& lines)
{
    QStringList text;
    for (const QString& line : bestTimesText(lines))
        text << line;
    bestTimes_->setText(text.join('\n'));
}

void RunOptions::label_Click(int index)
{
    if (index % 3 == 0)
        return;
    const int other = index % 3 == 1 ? index + 1 : index - 1;
    label(index).setColour(ChosenColour);
    label(other).setColour(DimColour);
    settingOfRow(settings_, index) = static_cast<std::int16_t>(index % 3 == 1 ? 1 : 0);
}

} // namespace poronpa
