// A world other than the default one played in the window keeps its saves and replays in a folder
// of its own and is named on the title; a world or a replay's world that cannot be played is named
// before the player's files are touched.
#include "tests/shell/ShellTestSupport.h"

#include "app/base/FileNames.h"
#include "app/qt/StartUp.h"
#include "play/GameEngine.h"
#include "replay/ReplayFile.h"
#include "tests/support/Installation.h"
#include "world/MapFile.h"
#include "world/WorldPlaces.h"

#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <sys/stat.h>

using namespace poronpa;
using namespace poronpa::test;

namespace {

/// Every file and folder under `root` with its size, to tell that nothing was written.
std::string listing(const std::filesystem::path& root)
{
    std::string text;
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(root, error); it != std::filesystem::recursive_directory_iterator();
         it.increment(error)) {
        text += it->path().string();
        if (it->is_regular_file(error))
            text += " " + std::to_string(it->file_size(error));
        text += "\n";
    }
    return text;
}

/// A replay of a few frames recorded on `map`, naming `worldFile`.
std::string replayOn(const MapGrid& map, const std::string& worldFile)
{
    replay::ReplayHeader header;
    header.program = "1.0";
    header.date = "2026-01-01 00:00:00 +0000";
    header.mapDigest = replay::mapDigest(map);
    header.worldFile = worldFile;
    return replay::headerText(header) + "5 -\n" +
           replay::endingLine("end frame=5 area=2,4 pos=160,1498 state=0 items=0000000000 deaths=0 ending=no");
}

} // namespace

TEST(WorldFiles, AnotherWorldKeepsItsSavesAndReplaysApartAndIsNamedOnTheTitle)
{
    TempDir dir;
    setProgramDirectory(dir.path());
    writeText(dir / filenames::Saves, "the default world's saves");
    std::filesystem::create_directories(dir / filenames::Replays);
    writeText(dir / filenames::Replays / "2020-01-01_00-00-00.replay", "kept");
    const std::string defaultReplays = listing(dir / filenames::Replays);
    MapGrid map = floorMap();
    const auto world = dir / "sent" / "castle.ppw";
    std::filesystem::create_directories(world.parent_path());
    ASSERT_TRUE(saveMap(world, map).ok());
    const auto own = worldDataFolder(world);
    ASSERT_EQ(own.parent_path(), dir / filenames::Worlds);

    AudioLog audio;
    GameWindow window(map, recordingAudio(audio), world);
    window.open();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    PlaySession& session = window.session();
    QWidget& title = session.screens().picTitle;
    const auto* name = title.findChild<QLabel*>(QStringLiteral("worldName"));
    ASSERT_NE(name, nullptr);
    EXPECT_TRUE(name->isVisible());
    EXPECT_TRUE(name->text().contains(QStringLiteral("castle")));
    EXPECT_TRUE(title.rect().contains(name->geometry()));
    for (const QLabel* other : title.findChildren<QLabel*>())
        if (other != name && other->isVisible())
            EXPECT_FALSE(other->geometry().intersects(name->geometry())) << other->text().toStdString();

    QWindow* handle = window.windowHandle();
    QTest::keyClick(handle, Qt::Key_Space);
    ASSERT_EQ(session.state(), PlaySession::State::Playing);
    session.engine().state().ItemHeld[Diary] = 1;
    QTest::keyPress(handle, Qt::Key_S);
    ASSERT_TRUE(QTest::qWaitFor([&] { return session.engine().state().SavedHere != 0 || shownMessageBox(); }, 5000));
    QTest::keyRelease(handle, Qt::Key_S);
    ASSERT_EQ(shownMessageBox(), nullptr) << shownMessageBox()->text().toStdString();
    QTest::keyPress(handle, Qt::Key_Q);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shownMessageBox() != nullptr; }, 5000));
    QTest::keyRelease(handle, Qt::Key_Q);
    shownMessageBox()->button(QMessageBox::Yes)->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return session.state() == PlaySession::State::Title; }, 5000));

    // The recording is written on a thread of its own: looked at once it has its end line.
    std::string recorded;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            std::error_code error;
            for (const auto& entry : std::filesystem::directory_iterator(own / filenames::Replays, error))
                recorded = readText(entry.path());
            return recorded.find("\n# end ") != std::string::npos;
        },
        5000))
        << "the game was not recorded in the world's folder";
    EXPECT_NE(recorded.find("\n# world castle.ppw\n"), std::string::npos) << recorded;
    EXPECT_TRUE(std::filesystem::is_regular_file(own / filenames::Saves));
    EXPECT_TRUE(readText(dir / filenames::Saves) == "the default world's saves") << "the default world's saves changed";
    EXPECT_EQ(listing(dir / filenames::Replays), defaultReplays);
    window.close();
    setProgramDirectory({});
}

// A world named on the command line that holds no whole world, or a replay whose world is found
// nowhere, is named on standard error and in a box, and the game does not start; no file of the
// player's is made or changed. A replay's world beside it or among the recent ones is played.
TEST(WorldFiles, AWorldThatCannotBePlayedIsNamedAndNothingIsWritten)
{
    const ScopedEnvironment silent("SDL_AUDIODRIVER", "dummy");
    Installation installed;
    TempDir home;
    const ScopedEnvironment dataHome("XDG_DATA_HOME", (home / "data").string());
    const auto sent = home / "sent";
    std::filesystem::create_directories(sent);
    std::filesystem::create_directories(home / "kept");
    MapGrid castle = floorMap();
    castle.setCell(3, 3, 100);
    ASSERT_TRUE(saveMap(home / "kept" / "castle.ppw", castle).ok());

    struct Case {
        const char* what;
        std::function<void()> make;
        std::filesystem::path world, replay;
        std::string error; ///< after the file's name; empty when the world is played
        std::filesystem::path played = {};
    };
    const auto whole = sent / "whole.ppw";
    const Case cases[] = {
        {"a missing world", [] {}, sent / "missing.ppw", {}, ": cannot be opened (no such file)"},
        {"a short world", [&] { writeText(sent / "short.ppw", "short"); }, sent / "short.ppw", {},
         ": not a whole world (5 bytes, a world holds 62500)"},
        {"a folder", [&] { std::filesystem::create_directory(sent / "folder.ppw"); }, sent / "folder.ppw", {},
         ": cannot be read (Is a directory)"},
        {"a pipe", [&] { ::mkfifo((sent / "pipe.ppw").c_str(), 0644); }, sent / "pipe.ppw", {},
         ": cannot be read (not a regular file)"},
        {"a replay whose world is nowhere", [&] { writeText(sent / "run.replay", replayOn(castle, "castle.ppw")); }, {},
         sent / "run.replay",
         ": this replay was recorded on castle.ppw (map digest " + [&] {
             char digits[17];
             std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(replay::mapDigest(castle)));
             return std::string(digits);
         }() + "), found neither beside it nor among the recent worlds"},
        {"a replay's world in the recent list", [&] { ASSERT_EQ(rememberRecentWorld(home / "kept" / "castle.ppw"), ""); }, {},
         sent / "run.replay", "", home / "kept" / "castle.ppw"},
        {"a replay's world beside it", [&] { ASSERT_TRUE(saveMap(sent / "castle.ppw", castle).ok()); }, {},
         sent / "run.replay", "", sent / "castle.ppw"},
        {"a whole world", [&] { ASSERT_TRUE(saveMap(whole, castle).ok()); }, whole, {}, "", whole},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.make();
        const std::string before = listing(home.path()) + listing(installed.prefix.path());
        std::string message;
        MapGrid map;
        std::unique_ptr<QWidget> window;
        {
            WhenMessageBoxOpens watch([&](QMessageBox& box) {
                message = box.text().toStdString();
                box.accept();
            });
            testing::internal::CaptureStderr();
            window = startUp(map, worldToPlay(c.world, c.replay), c.replay);
            const std::string err = testing::internal::GetCapturedStderr();
            if (!c.error.empty()) {
                const std::string named = (c.replay.empty() ? c.world : c.replay).string();
                EXPECT_EQ(window, nullptr);
                EXPECT_TRUE(message.starts_with(named + c.error)) << message;
                // The toolkit may add its own words about the box; the game's are one line.
                std::string ours;
                std::istringstream lines(err);
                for (std::string line; std::getline(lines, line);)
                    if (line.starts_with("poronpa: "))
                        ours += line + "\n";
                EXPECT_EQ(ours, "poronpa: " + message + "\n");
                EXPECT_EQ(listing(home.path()) + listing(installed.prefix.path()), before);
                continue;
            }
        }
        ASSERT_NE(window, nullptr) << message;
        auto& game = static_cast<GameWindow&>(*window);
        EXPECT_EQ(game.session().world(), c.played);
        EXPECT_EQ(recentWorlds().front(), worldIdentity(c.played));
        EXPECT_EQ(map.cell(3, 3), 100);
        window->close();
    }
}
