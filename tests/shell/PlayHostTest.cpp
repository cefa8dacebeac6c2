#include "tests/shell/ShellTestSupport.h"

#include "app/qt/AreaCanvasView.h"
#include "app/qt/GamePlayHost.h"
#include "app/qt/OverviewSquare.h"
#include "app/qt/VirtualKeys.h"
#include "play/GameEngine.h"

#include <QKeyEvent>

#include <gtest/gtest.h>

#include <chrono>
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

} // namespace

// The frame clock must never wake early and must not burn the processor while it waits.
TEST(GamePlayHost, WaitSleepsUntilTheTickHasPassed)
{
    OpenWindow w;
    GamePlayHost host(*w.window);
    using Clock = std::chrono::steady_clock;

    // Find the start of a tick, then wait for a series of later ones.
    const std::uint32_t first = host.tickCount();
    while (host.tickCount() == first) {
    }
    const Clock::time_point edge = Clock::now();
    const std::uint32_t base = host.tickCount();

    const double cpuBefore = processorMilliseconds();
    const int waits = 20;
    double totalLateMs = 0;
    for (int n = 1; n <= waits; ++n) {
        const std::uint32_t due = base + static_cast<std::uint32_t>(13 * n);
        host.waitUntilAfter(due);
        const double lateMs =
            std::chrono::duration<double, std::milli>(Clock::now() - (edge + std::chrono::milliseconds(13 * n + 1))).count();
        EXPECT_GT(host.tickCount(), due) << "woke early at wait " << n;
        totalLateMs += lateMs;
    }
    const double cpuMs = processorMilliseconds() - cpuBefore;
    EXPECT_LT(cpuMs, 13.0 * waits / 4) << "the wait keeps the processor busy";
    std::printf("mean lateness %.3f ms, processor %.2f ms over %d ms\n", totalLateMs / waits, cpuMs, 13 * waits);
}

TEST(GamePlayHost, RopeLinesLieOverTheCanvasWithoutEnteringIt)
{
    OpenWindow w;
    GamePlayHost host(*w.window);
    AreaCanvasView& canvas = w.window->picGame();
    const Surface before = w.window->engine().canvas();

    host.setRopeLine(1, true, 100, 40, 200);
    const QImage shown = canvas.grab(QRect(90, 30, 20, 180)).toImage();
    EXPECT_EQ(shown.pixel(100 - 90, 100 - 30), qRgb(192, 64, 0));
    EXPECT_EQ(shown.pixel(99 - 90, 100 - 30), qRgb(192, 64, 0));
    EXPECT_NE(shown.pixel(100 - 90, 5), qRgb(192, 64, 0)) << "the line starts at y1";
    EXPECT_TRUE(w.window->engine().canvas() == before);

    host.setRopeLine(1, false, 0, 0, 0);
    EXPECT_EQ(canvas.grab(QRect(100, 100, 1, 1)).toImage().pixel(0, 0) | 0xFF000000u, before.pixel(100, 100));
}

TEST(GamePlayHost, OverviewSquaresShowTheAreaColours)
{
    OpenWindow w;
    GamePlayHost host(*w.window);
    std::array<std::array<std::int32_t, 5>, 5> colours{};
    for (auto& column : colours)
        column.fill(-1);
    colours[2][4] = 255;
    colours[1][0] = 0xFFFFFF;
    colours[3][3] = 0x00FF00;
    host.updateMiniMap(colours);

    const auto centre = [&](int c, int r) { return w.window->shpMap(c + 5 * r).grab().toImage().pixel(9, 9); };
    EXPECT_EQ(centre(2, 4), qRgb(255, 0, 0));
    EXPECT_EQ(centre(1, 0), qRgb(255, 255, 255));
    EXPECT_EQ(centre(3, 3), qRgb(0, 255, 0));
    EXPECT_EQ(w.window->shpMap(0).miniMapColour(), -1);
    EXPECT_NE(centre(0, 0), qRgb(255, 255, 255)) << "an unvisited area is only outlined";
}

TEST(GamePlayHost, EventsStopOnceTheWindowCloses)
{
    OpenWindow w;
    GamePlayHost host(*w.window);
    EXPECT_TRUE(host.processEvents());
    w.window->close();
    EXPECT_FALSE(host.processEvents());
}
