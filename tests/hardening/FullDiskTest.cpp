// A full disk during every writer: the old file stays whole, nothing half-written is left beside
// it, the failure is reported, and the player is told once that the game could not be saved.
#include "play/SavedGame.h"
#include "settings/ProfileFile.h"
#include "tests/hardening/FaultSupport.h"
#include "world/MapFile.h"

#include <gtest/gtest.h>

#include <csignal>
#include <functional>

using namespace poronpa;
using namespace poronpa::test;

namespace {

constexpr std::size_t Page = 4096;

SaveRecord aSave(int n)
{
    SaveRecord r;
    r.AreaX = 1;
    r.AreaY = static_cast<std::int16_t>(n % 5);
    r.RespawnX = 64.0f + static_cast<float>(n);
    r.RespawnY = 1200.0f;
    r.ItemHeld[4] = 1;
    return r;
}

struct Writer {
    const char* what;
    const char* fileName;
    std::function<void(const std::filesystem::path&)> prepare;
    /// Writes the new content; false when the writer says it failed.
    std::function<bool(const std::filesystem::path&)> write;
};

std::vector<Writer> writers()
{
    return {
        {"a save into a new slot", "savedata.dat",
         [](const auto& file) {
             for (int n = 1; n <= 3; ++n)
                 SaveGame(file, aSave(n));
         },
         [](const auto& file) { return SaveGame(file, aSave(4)).ok(); }},
        {"the map", "mapdata.dat", [](const auto& file) { writeBytes(file, std::vector<unsigned char>(62500, 7)); },
         [](const auto& file) {
             MapGrid map;
             map.setCell(3, 4, 99);
             return saveMap(file, map).ok();
         }},
        {"a settings value", "zembo.ini",
         [](const auto& file) { writeText(file, "[INIExist]\nDummy=True\n[Option]\nBGM=1\nSE=1\n" + std::string(6000, ';') + "\n"); },
         [](const auto& file) { return ProfileFile(file).write("Option", "BGM", "0").ok(); }},
    };
}

/// Runs `write` with every file it writes capped at `limit` bytes, as a disk that fills up.
bool writeWithFileSizeLimit(const std::function<bool()>& write, rlim_t limit)
{
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &small);
    const bool written = write();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    return written;
}

} // namespace

TEST(FullDisk, EveryWriterKeepsTheOldFileWholeAtEveryFillLevel)
{
    for (const Writer& writer : writers()) {
        // The new content, written where there is room.
        std::vector<unsigned char> written;
        {
            TempDir dir;
            writer.prepare(dir / writer.fileName);
            ASSERT_TRUE(writer.write(dir / writer.fileName)) << writer.what;
            written = readBytes(dir / writer.fileName);
        }

        // A file that may grow only so far, at every record-sized step of the new file.
        for (rlim_t limit = 0; limit < written.size(); limit += 128) {
            TempDir dir;
            const auto file = dir / writer.fileName;
            writer.prepare(file);
            const auto before = readBytes(file);
            // What the writer left beside its file before (a save's run frames) may stay; nothing
            // else may appear.
            const auto namesBefore = directoryNames(dir.path());
            const bool ok = writeWithFileSizeLimit([&] { return writer.write(file); }, limit);
            EXPECT_FALSE(ok) << writer.what << ", limit " << limit;
            EXPECT_TRUE(readBytes(file) == before) << writer.what << ", limit " << limit << ": the old file was damaged";
            EXPECT_EQ(directoryNames(dir.path()), namesBefore) << writer.what << ", limit " << limit;
        }

        // A real disk that fills up, page by page, until the new file fits.
        bool fitted = false;
        for (std::size_t free = 0; !fitted; free += Page) {
            ASSERT_LT(free, written.size() + 4 * Page) << writer.what << ": never fits";
            SmallDisk disk(256 * 1024);
            if (!disk.ok())
                break; // mounting is for the superuser; the limit above stands in for it
            const auto file = disk / writer.fileName;
            writer.prepare(file);
            const auto before = readBytes(file);
            const auto namesBefore = directoryNames(disk.path());
            disk.leaveFree(free);
            fitted = writer.write(file);
            EXPECT_FALSE(fitted && free == 0) << writer.what << ": written on a full disk";
            if (fitted) {
                EXPECT_TRUE(readBytes(file) == written) << writer.what << ", " << free << " bytes free";
            } else {
                EXPECT_TRUE(readBytes(file) == before) << writer.what << ", " << free << " bytes free: the old file was damaged";
                auto names = namesBefore;
                names.insert(names.begin(), "filler");
                EXPECT_EQ(directoryNames(disk.path()), names) << writer.what;
            }
        }
    }
}

TEST(FullDisk, ThePlayerIsToldOnceForEachSaveThatFails)
{
    // The file-size limit stands for the full disk; its signal is not ignored here, as a player's
    // shell would not ignore it either.
    TempDir dir;
    const auto save = dir / "savedata.dat";
    for (int n = 1; n <= 3; ++n)
        ASSERT_TRUE(SaveGame(save, aSave(n)).ok());
    const auto before = readBytes(save);
    const auto namesBefore = directoryNames(dir.path());

    // S held for a while, let go, then pressed again: two tries, each told once; the game goes
    // on to the last frame. The fourth save would grow the file beyond what the disk holds.
    const ProgramRun run = runProgram({PORONPA_SIM_EXECUTABLE, "--map", std::string(PORONPA_RUNTIME_DIR) + "/mapdata.dat",
                                       "--save", save.string(), "--items", "4", "--input", "-"},
                                      "40 s\n10 -\n40 s\n10 right\n", before.size() + 1000);
    EXPECT_EQ(run.status, 0) << run.err;
    const auto lines = run.errLines();
    ASSERT_EQ(lines.size(), 2u) << run.err;
    for (const std::string& line : lines)
        EXPECT_NE(line.find("セーブできませんでした"), std::string::npos) << line;
    EXPECT_NE(run.out.find("end frame=100 "), std::string::npos) << run.out;
    EXPECT_TRUE(readBytes(save) == before);
    EXPECT_EQ(directoryNames(dir.path()), namesBefore);
}
