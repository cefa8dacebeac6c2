#include "audio/SoundNumbers.h"
#include "screens/qt/EndingSequence.h"

#include "screens/qt/Fonts.h"
#include "screens/qt/RunOptions.h"
#include "audio/Sound.h"
#include "audio/clsBGMAPI.h"

#include <QCoreApplication>
#include <QPainter>
#include <QWidget>

namespace poronpa {

/// The window's background during the ending: dark blue, with every line printed on it kept, so
/// the text survives any repaint.
class EndingBackdrop : public QWidget {
public:
    explicit EndingBackdrop(QWidget* parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFont(fonts::gothic(9));
    }

    /// Prints a line at the print position and moves it down by one line height.
    void print(const QString& line)
    {
        lines_.push_back({QPoint(printX, printY), line});
        printY += fontMetrics().height();
        update();
    }

    int printX = 0;
    int printY = 0;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(0, 0, 120));
        painter.setPen(Qt::white);
        for (const auto& [at, text] : lines_)
            painter.drawText(QRect(at, QSize(width() - at.x(), fontMetrics().height())), Qt::AlignLeft | Qt::AlignTop,
                             text);
    }

private:
    std::vector<std::pair<QPoint, QString>> lines_;
};

namespace {
constexpr int TickInterval = 60;
constexpr int TextTick = 4;
constexpr int TextTop = 48;
} // namespace

const std::array<std::string, 9>& EndingSequence::closingText()
{
    static const std::array<std::string, 9> lines = {
        QT_TRANSLATE_NOOP("Ending", "ごめんなさい、ぽぷらんには"),
        QT_TRANSLATE_NOOP("Ending", "エンディングはありません・・・"),
        QT_TRANSLATE_NOOP("Ending", "最後までプレイしていただき、"),
        QT_TRANSLATE_NOOP("Ending", "本当にありがとうございます。"),
        QT_TRANSLATE_NOOP("Ending", "ぜひ作者まで感想を"),
        QT_TRANSLATE_NOOP("Ending", "お聞かせ下さい。"),
        "",
        QT_TRANSLATE_NOOP("Ending", "制作：ポロンパ工房"),
        QT_TRANSLATE_NOOP("Ending", "感想はプロジェクトのページへ"),
    };
    return lines;
}

EndingSequence::EndingSequence(QWidget& window, QWidget& viewFrame, std::vector<QWidget*> panelControls, Sound& sound,
                               clsBGMAPI& music)
    : window_(window), viewFrame_(viewFrame), panelControls_(std::move(panelControls)), sound_(sound), music_(music),
      backdrop_(new EndingBackdrop(&window))
{
    backdrop_->hide();
    tmrEnding_.setInterval(TickInterval);
    tmrEnding_.setTimerType(Qt::PreciseTimer);
    connect(&tmrEnding_, &QTimer::timeout, this, [this] { tmrEnding_Timer(); });
}

void EndingSequence::StartEnding()
{
    started_ = true;
    backdrop_->setGeometry(window_.rect());
    backdrop_->show();
    backdrop_->lower();
    for (QWidget* control : panelControls_)
        control->hide();
    endingTick_ = 0;
    music_.BGMStop();
    tmrEnding_.start();
}

void EndingSequence::tmrEnding_Timer()
{
    ++endingTick_;
    if (endingTick_ < TextTick)
        return;
    music_.BGMPlay(tunes::Ending, true);
    sound_.SoundOn = false;
    backdrop_->printY = TextTop;
    for (const std::string& line : closingText()) {
        backdrop_->printX = viewFrame_.x() + viewFrame_.width();
        backdrop_->print(line.empty() ? QString() : QCoreApplication::translate("Ending", line.c_str()));
    }
    if (!bestTimes_.empty()) {
        backdrop_->print({});
        for (const QString& line : bestTimesText(bestTimes_))
            backdrop_->print(line);
    }
    tmrEnding_.stop();
}

} // namespace poronpa
