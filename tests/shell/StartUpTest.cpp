#include "tests/shell/ShellTestSupport.h"

#include "app/StartUp.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace poronpa;
using namespace poronpa::test;

TEST(StartUp, AnUnreadableMapIsNamedAndNothingOpens)
{
    TempDir dir;
    setProgramDirectory(dir.path());
    std::filesystem::create_directory(dir / "mapdata.dat");
    std::string message;
    WhenMessageBoxOpens watch([&](QMessageBox& box) {
        message = box.text().toStdString();
        box.accept();
    });
    MapGrid map;
    const auto window = startUp(map);
    setProgramDirectory({});

    EXPECT_EQ(window, nullptr);
    EXPECT_NE(message.find((dir / "mapdata.dat").string()), std::string::npos) << message;
    EXPECT_FALSE(std::filesystem::exists(dir / "zembo.ini"));
}
