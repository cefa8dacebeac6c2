#include "screens/qt/MissGagScene.h"

#include "assets/Pictures.h"
#include "world/SheetCells.h"

#include <QWidget>
#include <QtTest>

#include <cstdint>
#include <vector>

using namespace poronpa;

namespace {

constexpr int FrameSize = 320;
constexpr int X0 = (FrameSize - 32) / 2;
constexpr int Y0 = FrameSize - 64;
constexpr QRgb White = 0xFFFFFFFFu;

QImage spriteCell(int cell)
{
    return pictures::spriteSheet()
        .copy(sheet::cellX(cell), sheet::cellY(cell), 32, 32)
        .convertToFormat(QImage::Format_RGB32);
}

/// The view frame with the area canvas inside it, as the game window has them.
struct ViewFrame {
    ViewFrame()
    {
        frame.resize(FrameSize, FrameSize);
        frame.setAutoFillBackground(true);
        frame.setPalette(QPalette(Qt::black));
        canvas = new QWidget(&frame);
        canvas->setGeometry(-100, -100, 1600, 1600);
        canvas->setAutoFillBackground(true);
        canvas->setPalette(QPalette(Qt::red));
        frame.show();
    }

    QImage picture() { return frame.grab().toImage().convertToFormat(QImage::Format_RGB32); }

    QWidget frame;
    QWidget* canvas;
};

/// What the scene showed each time it let window events run, on a clock that moves 4 ms per read.
struct Run {
    struct Step {
        QImage picture;
        bool canvasHidden;
        std::uint32_t tick;
    };
    std::vector<Step> steps;
    std::uint32_t endTick = 0;
};

Run playScene(ViewFrame& view, int phraseIndex, int frameInterval, std::uint32_t startTick = 0)
{
    Run run;
    std::uint32_t now = startTick;
    PlayMissGag(
        &view.frame, view.canvas, phraseIndex, frameInterval, [&] { return now += 4; },
        [&] { run.steps.push_back({view.picture(), view.canvas->isHidden(), now}); });
    run.endTick = now;
    return run;
}

/// The columns and rows that hold white pixels in the band where the phrase is printed.
QRect whiteBounds(const QImage& picture)
{
    QRect bounds;
    for (int y = FrameSize / 2; y < Y0 - 72; ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (picture.pixel(x, y) == White) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

} // namespace

class MissGagSceneTest : public QObject {
    Q_OBJECT

private slots:
    void soulRisesOnePixelPerStepAboveTheHero_data()
    {
        QTest::addColumn<std::uint32_t>("startTick");
        QTest::newRow("fresh clock") << std::uint32_t{0};
        QTest::newRow("clock wrapping during the scene") << std::uint32_t{0xFFFFFFC0u};
    }

    void soulRisesOnePixelPerStepAboveTheHero()
    {
        QFETCH(std::uint32_t, startTick);
        ViewFrame view;
        const int frameInterval = 4; // the clock hits the step's end exactly
        const Run run = playScene(view, 0, frameInterval, startTick);

        const QImage hero = spriteCell(186);
        const QImage soul = spriteCell(178);
        QCOMPARE(run.steps.size(), std::size_t{41});
        for (std::size_t step = 0; step < run.steps.size(); ++step) {
            const Run::Step& shown = run.steps[step];
            QVERIFY(shown.canvasHidden);
            QCOMPARE(shown.picture.copy(X0, Y0, 32, 32), hero);
            QCOMPARE(shown.picture.copy(X0, Y0 - 32 - static_cast<int>(step), 32, 32), soul);
            QCOMPARE(shown.picture.pixel(0, 0), QColor(Qt::black).rgb());
            if (step > 0) {
                // Only the first step goes on without waiting.
                const std::uint32_t stepTime = shown.tick - run.steps[step - 1].tick;
                QCOMPARE(stepTime > 2u * frameInterval, step >= 2);
            }
        }
        // The last position stays up for a whole step before the canvas comes back.
        QVERIFY(run.endTick - run.steps.back().tick > 2u * frameInterval);
        QVERIFY(!view.canvas->isHidden());
        QCOMPARE(view.frame.findChildren<QWidget*>(), QList<QWidget*>{view.canvas});
    }

    void phraseIsCentredWithItsTopAtMidHeight()
    {
        ViewFrame view;
        QFont font = view.frame.font();
        font.setPixelSize(16);
        view.frame.setFont(font);
        const QRect text = whiteBounds(playScene(view, 9, 0).steps.front().picture);

        QVERIFY(!text.isEmpty());
        QVERIFY(text.top() >= FrameSize / 2 && text.top() < FrameSize / 2 + 6);
        QVERIFY(qAbs(text.left() - (FrameSize - 1 - text.right())) <= 3);
    }

    void phraseWiderThanTheFrameIsCutOnBothSides()
    {
        ViewFrame view;
        QFont font = view.frame.font();
        font.setPixelSize(40);
        view.frame.setFont(font);
        const QRect text = whiteBounds(playScene(view, 14, 0).steps.front().picture);

        QCOMPARE(text.left(), 0);
        QCOMPARE(text.right(), FrameSize - 1);
    }

    void unknownPhraseIndexPrintsNothing()
    {
        ViewFrame view;
        const Run run = playScene(view, 15, 0);
        QCOMPARE(run.steps.size(), std::size_t{41});
        QVERIFY(whiteBounds(run.steps.front().picture).isEmpty());
    }
};

QTEST_MAIN(MissGagSceneTest)
#include "MissGagSceneTest.moc"
