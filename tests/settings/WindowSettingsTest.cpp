#include "settings/WindowSettings.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace poronpa;
using poronpa::test::TempDir;

namespace {

/// Lines of a file a player has kept for years: the options with a frame rate added by hand, a
/// comment, a section of someone else's, in the line ends of another system.
const std::string PlayersOptions =
    "; kept by hand\r\n[INIExist]\r\nDummy=True\r\n[Option]\r\nBGM=0\r\nFrameRate=60\r\nSE=1\r\n\r\n[Other]\r\nx=1\r\n";

} // namespace

// A start-up and a shut-down read and write the window's section; the options' own lines come out
// byte for byte as they went in, a fresh file still starts with them, and a value that is not one
// the game writes falls back to its default with one line of complaint, changing nothing else.
TEST(WindowSettings, RoundTripLeavesTheOptionsAsTheyWere)
{
    struct Case {
        const char* name;
        const std::string* before; // none: no file
        std::string window;        // the [Window] section of the file before, if any
        int scaleRead;
        bool fullScreenRead;
        int problems;
        WindowSettings written;
        std::string after;
    };
    const std::string options = "[INIExist]\nDummy=True\n[Option]\nBGM=1\nSE=1\n";
    const Case cases[] = {
        {"first start", nullptr, "", 0, false, 0, {2, false}, options + "[Window]\nScale=2\nFullScreen=0\n"},
        {"kept by the player", &PlayersOptions, "[Window]\r\nScale=3\r\nFullScreen=1\r\n", 3, true, 0, {1, false},
         PlayersOptions + "[Window]\r\nScale=1\r\nFullScreen=0\r\n"},
        {"garbage", &PlayersOptions, "[window]\r\nscale=\x01\xff\xfe zz\r\nFullScreen=yes\r\n", 0, false, 2, {3, true},
         PlayersOptions + "[window]\r\nScale=3\r\nFullScreen=1\r\n"},
        {"out of range", &options, "[Window]\nScale=99999999999999999999\nFullScreen=2\n", 0, false, 2, {4, false},
         options + "[Window]\nScale=4\nFullScreen=0\n"},
        {"zero and a fraction", &options, "[Window]\nScale=0\nFullScreen=1.0\n", 0, false, 2, {1, true},
         options + "[Window]\nScale=1\nFullScreen=1\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const auto path = dir / "zembo.ini";
        if (c.before)
            test::writeText(path, *c.before + c.window);
        clsINI ini;
        ini.InitINIAt(path);

        Settings settings;
        LoadSettings(ini, settings);
        WindowSettings window;
        std::ostringstream problems;
        LoadWindowSettings(ini, window, problems);
        EXPECT_EQ(window.Scale, c.scaleRead);
        EXPECT_EQ(window.FullScreen, c.fullScreenRead);
        const std::string said = problems.str();
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), c.problems) << said;
        // What is quoted from the file is shown, not sent to the terminal as it is.
        EXPECT_EQ(said.find_first_of("\x01\xff\xfe\r"), std::string::npos) << said;

        SaveSettings(ini, settings);
        SaveWindowSettings(ini, c.written);
        EXPECT_EQ(test::readText(path), c.after);
    }
}

TEST(WindowSettings, KeysAreReadAndNeverWritten)
{
    TempDir dir;
    const auto path = dir / "zembo.ini";
    const std::string file =
        "[INIExist]\nDummy=True\n[Keys]\nJUMP = Z\nrope=\n; note\njmup=Q\njump=X\n[Option]\nBGM=1\n";
    test::writeText(path, file);
    clsINI ini;
    ini.InitINIAt(path);

    using Entries = std::vector<std::pair<std::string, std::string>>;
    // A misspelt action is read too, for the window to report.
    EXPECT_EQ(ReadKeySettings(ini), (Entries{{"JUMP", "Z"}, {"jmup", "Q"}}));
    SaveSettings(ini, Settings{1, 1, 0});
    SaveWindowSettings(ini, WindowSettings{1, false});
    EXPECT_EQ(test::readText(path), file.substr(0, file.size() - 6) + "BGM=1\nSE=1\n[Window]\nScale=1\nFullScreen=0\n");
}

// Each value is taken up to its limit and refused from the first value past it, with one line of
// complaint and the first-start rule in its place.
TEST(WindowSettings, TheFirstValuePastEachLimitIsRefused)
{
    struct Case {
        const char* window;
        int scale;
        bool fullScreen;
        int problems;
    };
    const Case cases[] = {
        {"Scale=1\nFullScreen=0\n", 1, false, 0}, {"Scale=4\nFullScreen=1\n", 4, true, 0},
        {"Scale=5\nFullScreen=0\n", 0, false, 1}, {"Scale=0\nFullScreen=0\n", 0, false, 1},
        {"Scale=-1\nFullScreen=0\n", 0, false, 1}, {"Scale=2\nFullScreen=2\n", 2, false, 1},
        {"Scale=2\nFullScreen=-1\n", 2, false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.window);
        TempDir dir;
        test::writeText(dir / "zembo.ini", std::string("[Window]\n") + c.window);
        clsINI ini;
        ini.InitINIAt(dir / "zembo.ini");
        WindowSettings window;
        std::ostringstream problems;
        LoadWindowSettings(ini, window, problems);
        EXPECT_EQ(window.Scale, c.scale);
        EXPECT_EQ(window.FullScreen, c.fullScreen);
        const std::string said = problems.str();
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), c.problems) << said;
    }
}
