#include "screens/qt/MissGagScene.h"

#include "assets/Pictures.h"
#include "world/SheetCells.h"

#include <QElapsedTimer>
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

/// A scene whose own timer stays out of the way (its steps are driven by the test with advance()).
struct Scene {
    Scene(ViewFrame& view, int phraseIndex) : scene(view.frame, *view.canvas, phraseIndex, 100000, [this] { ++done; }) {}
    int done = 0;
    MissGagScene scene;
};

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
    void soulRisesOnePixelPerStepAboveTheHero()
    {
        ViewFrame view;
        Scene run(view, 0);
        const QImage hero = spriteCell(186);
        const QImage soul = spriteCell(178);
        // The first two steps are drawn at once.
        QCOMPARE(run.scene.stepsShown(), 2);
        for (int step = 1; step <= 40; ++step) {
            QCOMPARE(run.scene.stepsShown(), step + 1);
            const QImage shown = view.picture();
            QVERIFY(view.canvas->isHidden());
            QCOMPARE(shown.copy(X0, Y0, 32, 32), hero);
            QCOMPARE(shown.copy(X0, Y0 - 32 - step, 32, 32), soul);
            QCOMPARE(shown.pixel(0, 0), QColor(Qt::black).rgb());
            run.scene.advance();
        }
        // After the last step's wait the canvas comes back and the scene says it is done.
        QVERIFY(run.scene.finished());
        QVERIFY(!view.canvas->isHidden());
        QCOMPARE(view.frame.findChildren<QWidget*>(), QList<QWidget*>{view.canvas});
        QVERIFY(QTest::qWaitFor([&] { return run.done == 1; }, 5000));
    }

    void stepsWaitMoreThanTwoFramesEachOnTheirOwnTimer()
    {
        ViewFrame view;
        const int frameInterval = 5;
        int done = 0;
        QElapsedTimer clock;
        clock.start();
        MissGagScene scene(view.frame, *view.canvas, 3, frameInterval, [&] { ++done; });
        QVERIFY(QTest::qWaitFor([&] { return done == 1; }, 20000));
        // Forty waits of more than two frame intervals each: the first two steps share one.
        QVERIFY(clock.elapsed() >= 40 * (2 * frameInterval + 1));
        QCOMPARE(scene.stepsShown(), 41);
        QVERIFY(!view.canvas->isHidden());
    }

    void endingTheSceneEarlyBringsTheCanvasBackAtOnce()
    {
        ViewFrame view;
        int done = 0;
        {
            MissGagScene scene(view.frame, *view.canvas, 3, 5, [&] { ++done; });
            QVERIFY(view.canvas->isHidden());
        }
        QVERIFY(!view.canvas->isHidden());
        QCOMPARE(view.frame.findChildren<QWidget*>(), QList<QWidget*>{view.canvas});
        QTest::qWait(50);
        QCOMPARE(done, 0);
    }

    void phraseIsCentredWithItsTopAtMidHeight()
    {
        ViewFrame view;
        QFont font = view.frame.font();
        font.setPixelSize(16);
        view.frame.setFont(font);
        Scene run(view, 9);
        const QRect text = whiteBounds(view.picture());

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
        Scene run(view, 14);
        const QRect text = whiteBounds(view.picture());

        QCOMPARE(text.left(), 0);
        QCOMPARE(text.right(), FrameSize - 1);
    }

    void unknownPhraseIndexPrintsNothing()
    {
        ViewFrame view;
        Scene run(view, 15);
        QVERIFY(whiteBounds(view.picture()).isEmpty());
    }
};

QTEST_MAIN(MissGagSceneTest)
#include "MissGagSceneTest.moc"
