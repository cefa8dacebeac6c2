#include "tests/shell/ShellTestSupport.h"

#include "app/qt/AreaCanvasView.h"
#include "app/qt/GamePlayHost.h"
#include "app/qt/OverviewSquare.h"
#include "app/qt/VirtualKeys.h"
#include "play/GameEngine.h"

#include <QEventLoop>
#include <QKeyEvent>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <ctime>

using namespace poronpa;
using namespace poronpa::test;

TEST(VirtualKeys, QtKeysBecomeTheGamesKeyCodes)
{
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        int code;
    } cases[] = {
        {Qt::Key_Return, Qt::NoModifier, 13}, {Qt::Key_Enter, Qt::KeypadModifier, 13},
        {Qt::Key_Space, Qt::NoModifier, 32},  {Qt::Key_Left, Qt::NoModifier, 37},
        {Qt::Key_Up, Qt::NoModifier, 38},     {Qt::Key_Right, Qt::NoModifier, 39},
        {Qt::Key_Down, Qt::NoModifier, 40},   {Qt::Key_0, Qt::NoModifier, 48},
        {Qt::Key_7, Qt::ShiftModifier, 55},   {Qt::Key_3, Qt::KeypadModifier, 99},
        {Qt::Key_L, Qt::NoModifier, 76},      {Qt::Key_Q, Qt::NoModifier, 81},
        {Qt::Key_S, Qt::NoModifier, 83},      {Qt::Key_Z, Qt::NoModifier, 90},
        {Qt::Key_Escape, Qt::NoModifier, 27}, {Qt::Key_Eacute, Qt::NoModifier, 0},
    };
    for (const auto& c : cases) {
        const QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers);
        EXPECT_EQ(virtualKeyCode(event), c.code) << std::hex << c.key;
    }
}

namespace {

double processorMilliseconds()
{
    std::timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

/// Starts a new game from the title, as space does.
void startGame(OpenWindow& w)
{
    QTest::keyClick(w.window->windowHandle(), Qt::Key_Space);
    ASSERT_TRUE(w.window->session().host().playing());
}

} // namespace

// The frames run from a timer in the window's own event loop: each starts strictly after its due
// time and close to it, and the processor rests in between.
TEST(GamePlayHost, FramesRunOnTimeWithoutKeepingTheProcessorBusy)
{
    OpenWindow w;
    GamePlayHost& host = w.window->session().host();
    std::vector<std::pair<std::int64_t, std::int64_t>> starts; // due, start
    host.frameStarted = [&](std::int64_t due, std::int64_t now) { starts.emplace_back(due, now); };
    startGame(w);
    const double cpuBefore = processorMilliseconds();
    bool timerRan = false;
    QTimer::singleShot(100, [&] { timerRan = true; });
    // The window's own event loop, as in the game (a test's wait would sleep between its rounds).
    QEventLoop loop;
    QTimer::singleShot(400, &loop, &QEventLoop::quit);
    loop.exec();
    const double cpuMs = processorMilliseconds() - cpuBefore;

    ASSERT_GT(starts.size(), 20u);
    double late = 0;
    std::vector<std::int64_t> lateness;
    for (const auto& [due, start] : starts) {
        EXPECT_GT(start, due) << "a frame started early";
        late += static_cast<double>(start - due - 1);
        lateness.push_back(start - due - 1);
    }
    // The middle frame, not the mean: on a busy machine some frames wait for the processor, which
    // says nothing of the loop; a loop that starts its frames late does so every frame.
    std::nth_element(lateness.begin(), lateness.begin() + static_cast<std::ptrdiff_t>(lateness.size() / 2), lateness.end());
    const std::int64_t middle = lateness[lateness.size() / 2];
    EXPECT_LT(middle, 3) << "frames start long after their time";
    EXPECT_TRUE(timerRan) << "the window's other timers run during play";
    EXPECT_LT(cpuMs, 400.0 / 2) << "the loop keeps the processor busy";
    std::printf("%zu frames, lateness %lld ms in the middle, %.2f ms on average, processor %.1f ms over 400 ms\n",
                starts.size(), static_cast<long long>(middle), late / static_cast<double>(starts.size()), cpuMs);
}

TEST(GamePlayHost, RopeLinesLieOverTheCanvasWithoutEnteringIt)
{
    OpenWindow w;
    AreaCanvasView& canvas = w.window->session().screens().play.canvas;
    const Surface before = w.window->session().host().canvas();
    GameState& s = w.window->session().engine().state();

    s.RopeLines[1] = RopeLine{true, 100, 40, 200};
    w.window->session().host().takeEvents();
    const QImage shown = canvas.grab(QRect(90, 30, 20, 180)).toImage();
    EXPECT_EQ(shown.pixel(100 - 90, 100 - 30), qRgb(192, 64, 0));
    EXPECT_EQ(shown.pixel(99 - 90, 100 - 30), qRgb(192, 64, 0));
    EXPECT_NE(shown.pixel(100 - 90, 5), qRgb(192, 64, 0)) << "the line starts at y1";
    EXPECT_TRUE(w.window->session().host().canvas() == before);

    s.RopeLines[1].visible = false;
    w.window->session().host().takeEvents();
    EXPECT_EQ(canvas.grab(QRect(100, 100, 1, 1)).toImage().pixel(0, 0) | 0xFF000000u, before.pixel(100, 100));
}

TEST(GamePlayHost, OverviewSquaresShowTheAreaColours)
{
    OpenWindow w;
    GameState& s = w.window->session().engine().state();
    for (auto& column : s.MiniMapColor)
        column.fill(-1);
    s.MiniMapColor[2][4] = 255;
    s.MiniMapColor[1][0] = 0xFFFFFF;
    s.MiniMapColor[3][3] = 0x00FF00;
    w.window->session().host().takeEvents();

    const auto centre = [&](int c, int r) { return w.window->panel().shpMap(c + 5 * r).grab().toImage().pixel(9, 9); };
    EXPECT_EQ(centre(2, 4), qRgb(255, 0, 0));
    EXPECT_EQ(centre(1, 0), qRgb(255, 255, 255));
    EXPECT_EQ(centre(3, 3), qRgb(0, 255, 0));
    EXPECT_EQ(w.window->panel().shpMap(0).miniMapColour(), -1);
    EXPECT_NE(centre(0, 0), qRgb(255, 255, 255)) << "an unvisited area is only outlined";
}

TEST(GamePlayHost, FramesStopOnceTheWindowCloses)
{
    OpenWindow w;
    startGame(w);
    const int clock = w.window->session().engine().state().FrameClock;
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.window->session().engine().state().FrameClock != clock; }, 5000))
        << "no frame ran before the window closed";
    w.window->close();
    const GameState after = w.window->session().engine().state();
    // Long enough for a few frames, had they not stopped.
    QTest::qWait(50);
    EXPECT_FALSE(w.window->session().host().playing());
    EXPECT_EQ(w.window->session().engine().state(), after);
}
