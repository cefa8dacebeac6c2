#include "tests/shell/ShellTestSupport.h"

#include "app/qt/StartUp.h"
#include "tests/support/Installation.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace poronpa;
using namespace poronpa::test;

namespace {

/// The start-up into `map`, with the message box it may show accepted.
struct StartedUp {
    std::string message; // the box's text
    std::unique_ptr<QWidget> window;

    explicit StartedUp(MapGrid& map)
    {
        WhenMessageBoxOpens watch([&](QMessageBox& box) {
            message = box.text().toStdString();
            box.accept();
        });
        window = startUp(map);
    }
};

} // namespace

TEST(StartUp, AnUnreadableMapIsNamedAndNothingOpens)
{
    TempDir dir;
    setProgramDirectory(dir.path());
    std::filesystem::create_directory(dir / "mapdata.dat");
    MapGrid map;
    const StartedUp started(map);
    setProgramDirectory({});

    EXPECT_EQ(started.window, nullptr);
    EXPECT_NE(started.message.find((dir / "mapdata.dat").string()), std::string::npos) << started.message;
    EXPECT_FALSE(std::filesystem::exists(dir / "zembo.ini"));
}

TEST(StartUp, WhatThePlayerHasThatCannotBeUsedIsNamedAndTheShippedWorldPlayed)
{
    struct Case {
        const char* what;
        const char* spoilt; // a file under XDG_DATA_HOME, or XDG_DATA_HOME itself when empty
        const char* named;  // what the message names, under XDG_DATA_HOME
    };
    const Case cases[] = {
        {"a damaged map of the player's", "poronpa/mapdata.dat", "poronpa/mapdata.dat"},
        {"XDG_DATA_HOME that is a file", "", "poronpa"},
    };
    const ScopedEnvironment silent("SDL_AUDIODRIVER", "dummy");
    for (const Case& c : cases) {
        Installation installed;
        TempDir home;
        const std::filesystem::path data = home / "data";
        const ScopedEnvironment dataHome("XDG_DATA_HOME", data.string());
        const std::filesystem::path spoilt = *c.spoilt ? data / c.spoilt : data;
        std::filesystem::create_directories(spoilt.parent_path());
        writeText(spoilt, "not a map");

        MapGrid map;
        const StartedUp started(map);

        EXPECT_NE(started.window, nullptr) << c.what << ": the game must still start";
        EXPECT_NE(started.message.find((data / c.named).string()), std::string::npos) << c.what << ": " << started.message;
        EXPECT_EQ(map.cell(0, 0), Installation::ShippedTile) << c.what;
        EXPECT_EQ(map.cell(249, 249), Installation::ShippedTile) << c.what;
        EXPECT_EQ(readText(spoilt), "not a map") << c.what << ": the player's file changed";
    }
}
