// A program directory nobody may write to: the game starts, plays and ends normally, and each
// try to save says once that the game could not be saved; the directory is left as it was.
#include "play/SavedGame.h"
#include "tests/hardening/FaultSupport.h"

#include <gtest/gtest.h>

using namespace poronpa;
using namespace poronpa::test;

TEST(ReadOnlyDirectory, TheGamePlaysAndEachSaveSaysItCouldNotSave)
{
    struct Case {
        const char* what;
        bool withSave;
        std::vector<std::string> start;
    };
    const Case cases[] = {
        {"a new game", false, {"--items", "4"}},
        {"a continued game", true, {"--continue"}},
    };
    for (const Case& c : cases) {
        TempDir dir;
        std::filesystem::copy_file(std::string(PORONPA_RUNTIME_DIR) + "/mapdata.dat", dir / "mapdata.dat");
        if (c.withSave) {
            SaveRecord diary;
            diary.AreaX = 2;
            diary.AreaY = 4;
            diary.RespawnX = 160;
            diary.RespawnY = 1498;
            diary.ItemHeld[4] = 1;
            ASSERT_TRUE(SaveGame(dir / "savedata.dat", diary).ok());
        }
        const auto namesBefore = directoryNames(dir.path());
        const auto saveBefore = readBytes(dir / "savedata.dat");
        ReadOnlyDirectory readOnly(dir.path());
        if (!readOnly.ok())
            GTEST_SKIP() << "no way to make a directory read-only here";

        std::vector<std::string> args{PORONPA_SIM_EXECUTABLE, "--map", (dir / "mapdata.dat").string(), "--save",
                                      (dir / "savedata.dat").string(), "--input", "-"};
        args.insert(args.end(), c.start.begin(), c.start.end());
        const ProgramRun run = runProgram(args, "30 right\n20 s\n10 -\n20 s+left\n20 space\n");

        EXPECT_EQ(run.status, 0) << c.what << ": " << run.err;
        EXPECT_NE(run.out.find("end frame=100 "), std::string::npos) << c.what << ": " << run.out;
        const auto lines = run.errLines();
        EXPECT_EQ(lines.size(), 2u) << c.what << ": " << run.err;
        for (const std::string& line : lines)
            EXPECT_NE(line.find("セーブできませんでした"), std::string::npos) << c.what << ": " << line;
        EXPECT_EQ(directoryNames(dir.path()), namesBefore) << c.what;
        EXPECT_TRUE(readBytes(dir / "savedata.dat") == saveBefore) << c.what;
    }
}
