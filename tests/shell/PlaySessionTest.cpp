#include "tests/shell/ShellTestSupport.h"

#include "play/GameEngine.h"
#include "play/KeyCodes.h"

#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

using namespace poronpa;
using namespace poronpa::test;

namespace {

using State = PlaySession::State;

/// The one replay the window has recorded so far, or an empty path.
std::filesystem::path onlyReplayIn(const std::filesystem::path& folder)
{
    std::filesystem::path found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.path().extension() != ".replay")
            continue;
        if (!found.empty())
            return {};
        found = entry.path();
    }
    return found;
}

} // namespace

// A game played is recorded; watched, the replay takes its keys from the recording while the
// player's own go nowhere but to stop it (Q) and hurry it (F), and answers its questions itself.
// Over or stopped, it hands the title back, and the next game is the player's keys' again.
TEST(PlaySession, AReplayWatchedPlaysItsOwnKeysAndGivesThePlayerTheGameBack)
{
    OpenWindow w;
    GameWindow& gw = *w.window;
    PlaySession& session = gw.session();
    const GameState& s = session.engine().state();
    QWindow* handle = gw.windowHandle();
    ASSERT_EQ(session.state(), State::Title);

    QTest::keyClick(handle, Qt::Key_Space);
    ASSERT_EQ(session.state(), State::Playing);
    const float startX = s.HeroX;
    QTest::keyPress(handle, Qt::Key_Right);
    ASSERT_TRUE(QTest::qWaitFor([&] { return s.HeroX > startX + 24; }, 5000)) << "the hero did not walk";
    QTest::keyRelease(handle, Qt::Key_Right);
    QTest::keyPress(handle, Qt::Key_Q);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shownMessageBox() != nullptr; }, 5000));
    QTest::keyRelease(handle, Qt::Key_Q);
    shownMessageBox()->button(QMessageBox::Yes)->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return session.state() == State::Title; }, 5000));
    // The recording is written on a thread of its own: watched once it has its end line.
    std::filesystem::path replay;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            replay = onlyReplayIn(w.dir / "replays");
            return !replay.empty() && readText(replay).find("\n# end ") != std::string::npos;
        },
        5000))
        << "the game was not recorded once";

    session.watch(replay);
    ASSERT_EQ(session.state(), State::Watching) << (shownMessageBox() ? shownMessageBox()->text().toStdString() : "");
    EXPECT_FALSE(session.screens().picTitle.isVisible());
    QTest::keyPress(handle, Qt::Key_Left);
    bool walkedRight = false, leftReached = false;
    // The recorded Q is answered by the replay: no box waits for the watcher.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            walkedRight = walkedRight || s.KeyHeld[keys::Right];
            leftReached = leftReached || s.KeyHeld[keys::Left] || session.router().player().keys().isDown(keys::Left);
            return session.state() == State::Title;
        },
        20000))
        << "the replay did not end at the title";
    QTest::keyRelease(handle, Qt::Key_Left);
    EXPECT_TRUE(walkedRight) << "the recording's keys did not play";
    EXPECT_FALSE(leftReached) << "the watcher's key reached the game";
    EXPECT_TRUE(session.screens().picTitle.isVisible());
    EXPECT_TRUE(onlyReplayIn(w.dir / "replays") == replay) << "watching was recorded";

    session.watch(replay);
    ASSERT_EQ(session.state(), State::Watching);
    QTest::keyPress(handle, Qt::Key_F);
    EXPECT_EQ(session.host().speed(), 4);
    QTest::keyRelease(handle, Qt::Key_F);
    EXPECT_EQ(session.host().speed(), 1);
    QTest::keyClick(handle, Qt::Key_Q);
    EXPECT_TRUE(QTest::qWaitFor([&] { return session.state() == State::Title; }, 5000)) << "Q did not stop the replay";
    EXPECT_EQ(shownMessageBox(), nullptr);

    QTest::keyClick(handle, Qt::Key_Space);
    ASSERT_EQ(session.state(), State::Playing);
    QTest::keyPress(handle, Qt::Key_Left);
    EXPECT_TRUE(QTest::qWaitFor([&] { return s.KeyHeld[keys::Left]; }, 5000)) << "the player's keys stayed away";
    gw.close();
    EXPECT_EQ(session.state(), State::Closed);
}
