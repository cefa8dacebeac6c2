// How the writers replace the player's files: through a symbolic link to its target, never over a
// file its owner made read-only, one writer at a time, and without leaving what a killed writer
// left behind for ever.
#include "screens/SavedGame.h"
#include "settings/Settings.h"
#include "tests/hardening/FaultSupport.h"
#include "world/MapFile.h"

#include <gtest/gtest.h>

#include <functional>

using namespace poronpa;
using namespace poronpa::test;

namespace {

SaveRecord aSave(int n)
{
    SaveRecord r;
    r.AreaX = 1;
    r.AreaY = 2;
    r.RespawnX = 100;
    r.RespawnY = 200;
    r.DeathCount[0][0] = n;
    return r;
}

struct Writer {
    const char* what;
    const char* fileName;
    const char* oldContent;
    /// Writes; the error, or empty.
    std::function<std::string(const std::filesystem::path&)> write;
    /// Whether the file holds what `write` wrote.
    std::function<bool(const std::filesystem::path&)> written;
};

std::vector<Writer> writers()
{
    MapGrid map;
    map.setCell(0, 3, 42);
    return {
        {"a save", "savedata.dat", "old saves",
         [](const auto& file) { return SaveGame(file, aSave(7)).error; },
         [](const auto& file) {
             SaveRecord r;
             return LoadGameRecord(file, 0, r) == LoadOutcome::Loaded && r.DeathCount[0][0] == 7;
         }},
        {"the map", "mapdata.dat", "old map",
         [map](const auto& file) { return saveMap(file, map).error; },
         [](const auto& file) { return readBytes(file).size() == 62500 && readBytes(file)[3] == 42; }},
        {"the settings", "zembo.ini", "[INIExist]\nDummy=True\n",
         [](const auto& file) {
             clsINI ini;
             ini.InitINIAt(file);
             SaveSettings(ini, Settings{0, 1, 0});
             return std::string();
         },
         [](const auto& file) { return readText(file).find("BGM=0") != std::string::npos; }},
    };
}

} // namespace

TEST(FileReplacement, ALinkIsWrittenThroughToItsTarget)
{
    for (const Writer& writer : writers()) {
        TempDir program, elsewhere;
        const auto target = elsewhere / "kept-here";
        writeText(target, writer.oldContent);
        const auto link = program / writer.fileName;
        // A relative link through a second one, as a player might set it up.
        std::filesystem::create_symlink(target, elsewhere / "second");
        std::filesystem::create_symlink(std::filesystem::relative(elsewhere / "second", program.path()), link);

        EXPECT_EQ(writer.write(link), "") << writer.what;
        EXPECT_TRUE(std::filesystem::is_symlink(link)) << writer.what << ": the link was replaced";
        EXPECT_TRUE(std::filesystem::is_symlink(elsewhere / "second")) << writer.what;
        EXPECT_TRUE(writer.written(target)) << writer.what << ": the target was not written";
        EXPECT_EQ(directoryNames(program.path()), std::vector<std::string>{writer.fileName}) << writer.what;
        EXPECT_EQ(directoryNames(elsewhere.path()), (std::vector<std::string>{"kept-here", "second"})) << writer.what;
    }
}

TEST(FileReplacement, AFileItsOwnerMadeReadOnlyIsNotReplacedButTheSettingsAreMadeWritable)
{
    for (const Writer& writer : writers()) {
        TempDir dir;
        const auto file = dir / writer.fileName;
        writeText(file, writer.oldContent);
        std::filesystem::permissions(file, std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                                               std::filesystem::perms::others_read);
        const std::string error = writer.write(file);
        if (writer.fileName == std::string("zembo.ini")) {
            // The settings file is made writable before it is written, as it always was.
            EXPECT_EQ(error, "");
            EXPECT_TRUE(writer.written(file));
            continue;
        }
        EXPECT_EQ(error, file.string() + ": cannot be written (Permission denied)") << writer.what;
        EXPECT_EQ(readText(file), writer.oldContent) << writer.what;
        EXPECT_EQ(directoryNames(dir.path()), std::vector<std::string>{writer.fileName}) << writer.what;
    }
}

TEST(FileReplacement, TwoGamesSavingAtOnceEachGetASlot)
{
    TempDir dir;
    const auto file = dir / "savedata.dat";
    constexpr int Rounds = 151;
    // Two processes save as fast as they can; every save advances the counter once, and the ring
    // holds each writer's latest saves in order.
    std::vector<pid_t> writers;
    for (int writer = 0; writer < 2; ++writer) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            bool ok = true;
            for (int n = 0; n < Rounds; ++n)
                ok = SaveGame(file, aSave(1000 * (writer + 1) + n)).ok() && ok;
            ::_exit(ok ? 0 : 1);
        }
        writers.push_back(pid);
    }
    for (const pid_t pid : writers) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    std::vector<int> latest{1000 + Rounds, 2000 + Rounds}; // one past each writer's newest in the ring
    for (int back = 0; back < 10; ++back) {
        SaveRecord r;
        ASSERT_EQ(LoadGameRecord(file, back, r), LoadOutcome::Loaded) << back;
        const int writer = r.DeathCount[0][0] / 1000 - 1;
        ASSERT_TRUE(writer == 0 || writer == 1) << back;
        EXPECT_EQ(r.DeathCount[0][0], latest[writer] - 1) << "save " << back << " back: a save was lost";
        latest[writer] = r.DeathCount[0][0];
    }
    EXPECT_EQ(readBytes(file)[0], (2 * Rounds) % 10) << "the counter";
}

TEST(FileReplacement, WhatKilledWritersLeftIsRemovedAndNothingElse)
{
    TempDir dir, elsewhere;
    const std::vector<std::string> left{"savedata.dat.tmp-a1B2c3", "mapdata.dat.tmp-ZZZZZZ", "zembo.ini.tmp-000000"};
    const std::vector<std::string> kept{"mapdata.dat", "mapdata.dat.tmp-short", "notes.txt.tmp-a1B2c3",
                                        "savedata.dat.tmp-a1B2c3d", "zembo.ini", "zembo.ini.tmp-dir123"};
    for (const auto& name : left)
        writeText(dir / name, "half written");
    for (const auto& name : kept)
        if (name != "zembo.ini.tmp-dir123")
            writeText(dir / name, "mine");
    std::filesystem::create_directory(dir / "zembo.ini.tmp-dir123");
    // The save file is a link: its own temporary files lie beside its target.
    std::filesystem::create_symlink(elsewhere / "savedata.dat", dir / "savedata.dat");
    writeText(elsewhere / "savedata.dat.tmp-Q1w2E3", "half written");

    removeStaleTemporaries({dir / "mapdata.dat", dir / "savedata.dat", dir / "zembo.ini"});

    std::vector<std::string> expected = kept;
    expected.push_back("savedata.dat");
    // (the link's own folder is cleaned too: its temporary files date from before the link)
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(directoryNames(dir.path()), expected);
    EXPECT_TRUE(directoryNames(elsewhere.path()).empty());
}
