#include "play/GameState.h"
#include "play/SavedGame.h"
#include "tests/support/HostileFiles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <limits>
#include <sys/resource.h>

using namespace poronpa;
using poronpa::test::TempDir;

namespace {

/// A record that tells saves apart by `n` in every field.
SaveRecord numbered(int n)
{
    SaveRecord r;
    r.AreaX = static_cast<std::int16_t>(n % 5);
    r.AreaY = static_cast<std::int16_t>((n / 5) % 5);
    r.RespawnX = 40.5f + static_cast<float>(n);
    r.RespawnY = 1528.25f - static_cast<float>(n);
    r.SwitchOn = static_cast<std::int16_t>(n % 2);
    for (int i = 0; i < 10; ++i)
        r.ItemHeld[i] = static_cast<std::int16_t>((n >> (i % 4)) & 1);
    for (int x = 0; x < 5; ++x) {
        for (int y = 0; y < 5; ++y) {
            r.MiniMapColor[x][y] = (x + y + n) % 3 == 0 ? MiniMapUnvisited : MiniMapVisited;
            r.DeathCount[x][y] = 1000 * n + 10 * x + y;
        }
    }
    return r;
}

void expectSame(const SaveRecord& a, const SaveRecord& b)
{
    EXPECT_EQ(a.AreaX, b.AreaX);
    EXPECT_EQ(a.AreaY, b.AreaY);
    EXPECT_EQ(a.RespawnX, b.RespawnX);
    EXPECT_EQ(a.RespawnY, b.RespawnY);
    EXPECT_EQ(a.SwitchOn, b.SwitchOn);
    EXPECT_EQ(a.ItemHeld, b.ItemHeld);
    EXPECT_EQ(a.MiniMapColor, b.MiniMapColor);
    EXPECT_EQ(a.DeathCount, b.DeathCount);
}

SaveRecord load(const std::filesystem::path& file, int back, LoadOutcome expected = LoadOutcome::Loaded)
{
    SaveRecord r;
    EXPECT_EQ(LoadGameRecord(file, back, r), expected) << "back " << back;
    return r;
}

template <typename T> T valueAt(const std::vector<unsigned char>& bytes, int record)
{
    T value;
    std::memcpy(&value, bytes.data() + 128 * (record - 1), sizeof value); // the test machine is little-endian
    return value;
}

template <typename T> void putValue(std::vector<unsigned char>& bytes, int record, T value)
{
    std::memcpy(bytes.data() + 128 * (record - 1), &value, sizeof value);
}

} // namespace

TEST(SavedGame, RingGivesSavesBackNewestFirst)
{
    TempDir dir;
    const auto file = dir / "savedata.dat";
    for (int n = 1; n <= 3; ++n)
        ASSERT_TRUE(SaveGame(file, numbered(n)).ok());
    expectSame(load(file, 0), numbered(3));
    expectSame(load(file, 1), numbered(2));
    expectSame(load(file, 2), numbered(1));
    load(file, 3, LoadOutcome::NeverWritten);
    load(file, 9, LoadOutcome::NeverWritten);
}

TEST(SavedGame, EleventhSaveReplacesTheOldest)
{
    TempDir dir;
    const auto file = dir / "savedata.dat";
    for (int n = 1; n <= 11; ++n)
        ASSERT_TRUE(SaveGame(file, numbered(n)).ok());
    const auto bytes = test::readBytes(file);
    EXPECT_EQ(valueAt<std::int16_t>(bytes, 1), 1);
    expectSame(load(file, 0), numbered(11));
    expectSame(load(file, 9), numbered(2));
}

TEST(SavedGame, RecordsLieAtTheirFixedOffsets)
{
    TempDir dir;
    const auto file = dir / "savedata.dat";
    ASSERT_TRUE(SaveGame(file, numbered(7)).ok());
    auto bytes = test::readBytes(file);
    ASSERT_EQ(bytes.size(), 66u * 128);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[1], 0);
    EXPECT_EQ(valueAt<std::int16_t>(bytes, 2), 2);
    EXPECT_EQ(valueAt<std::int16_t>(bytes, 3), 1);
    EXPECT_EQ(valueAt<float>(bytes, 4), 47.5f);
    EXPECT_EQ(valueAt<float>(bytes, 5), 1521.25f);
    EXPECT_EQ(valueAt<std::int16_t>(bytes, 6), 1);
    EXPECT_EQ(valueAt<std::int16_t>(bytes, 7), numbered(7).ItemHeld[0]);
    EXPECT_EQ(valueAt<std::int16_t>(bytes, 16), numbered(7).ItemHeld[9]);
    EXPECT_EQ(valueAt<std::int32_t>(bytes, 17 + 2 * (5 * 3 + 1)), numbered(7).MiniMapColor[3][1]);
    EXPECT_EQ(valueAt<std::int32_t>(bytes, 18 + 2 * (5 * 3 + 1)), 7031);
    EXPECT_EQ(valueAt<std::int32_t>(bytes, 66), 7044);

    // The last slot: its records end at 696, the counter wraps, and whatever the file held
    // outside the written values stays as it was.
    std::fill(bytes.begin(), bytes.end(), 0xAB);
    putValue<std::int16_t>(bytes, 1, 9);
    test::writeBytes(file, bytes);
    ASSERT_TRUE(SaveGame(file, numbered(8)).ok());
    const auto after = test::readBytes(file);
    ASSERT_EQ(after.size(), 696u * 128);
    EXPECT_EQ(valueAt<std::int16_t>(after, 1), 0);
    EXPECT_EQ(valueAt<std::int16_t>(after, 632), 3);
    EXPECT_EQ(valueAt<std::int32_t>(after, 696), 8044);
    EXPECT_EQ(after[2], 0xAB);
    EXPECT_EQ(after[128 * 65 + 4], 0xAB);
    EXPECT_TRUE(std::equal(bytes.begin() + 128, bytes.end(), after.begin() + 128)) << "slot 0 must be untouched";
}

// The run's frames lie beside the save file, whose bytes stay as they always were; each slot's
// frames are read only with the slot they were written with: a save file without them, or a slot
// an older game wrote over, reads as a run of unknown length.
TEST(SavedGame, TheRunsFramesLieBesideTheSaveFileWithTheirSlot)
{
    TempDir dir;
    const auto file = dir / "savedata.dat";
    for (const std::int32_t frames : {0, 1, 65536, 123456789, std::numeric_limits<std::int32_t>::max(), UnknownRunFrames}) {
        SaveRecord record = numbered(frames & 7);
        record.RunFrames = frames;
        ASSERT_TRUE(SaveGame(file, record).ok());
        EXPECT_EQ(load(file, 0), record) << frames;
        // The save file itself is byte for byte what it would be without them.
        SaveRecord without = record;
        without.RunFrames = UnknownRunFrames;
        const auto other = dir / "other.dat";
        std::filesystem::copy_file(file, other, std::filesystem::copy_options::overwrite_existing);
        auto bytes = test::readBytes(other);
        putValue<std::int16_t>(bytes, 1, static_cast<std::int16_t>((valueAt<std::int16_t>(bytes, 1) + 9) % 10));
        test::writeBytes(other, bytes);
        ASSERT_TRUE(SaveGame(other, without).ok());
        EXPECT_EQ(test::readBytes(other), test::readBytes(file)) << frames;
    }
    EXPECT_EQ(load(file, 1).RunFrames, std::numeric_limits<std::int32_t>::max());

    // Each slot keeps its own; a slot written over by a game that noted none reads as unknown,
    // and so does every slot when the file beside is gone.
    SaveRecord later = numbered(2);
    later.RunFrames = 5000;
    ASSERT_TRUE(SaveGame(file, later).ok());
    const auto noted = test::readBytes(runFramesFile(file));
    SaveRecord older = numbered(3);
    older.RunFrames = 6000;
    ASSERT_TRUE(SaveGame(file, older).ok());
    EXPECT_EQ(load(file, 0).RunFrames, 6000);
    EXPECT_EQ(load(file, 1).RunFrames, 5000);
    test::writeBytes(runFramesFile(file), noted);
    EXPECT_EQ(load(file, 0).RunFrames, UnknownRunFrames);
    EXPECT_EQ(load(file, 1).RunFrames, 5000);
    std::filesystem::remove(runFramesFile(file));
    EXPECT_EQ(load(file, 1).RunFrames, UnknownRunFrames);
}

TEST(SavedGame, MissingFileAndSlotsNeverWritten)
{
    TempDir dir;
    const auto file = dir / "savedata.dat";
    load(file, 0, LoadOutcome::NoFile);

    // An empty file has no counter: the first save goes to slot 0, and slot 9 (latest) is empty.
    test::writeBytes(file, {});
    load(file, 0, LoadOutcome::NeverWritten);

    // A slot counts as written as soon as any byte of its last record is in the file; the
    // missing rest of that record reads as zero.
    ASSERT_TRUE(SaveGame(file, numbered(4)).ok());
    auto bytes = test::readBytes(file);
    bytes.resize(65 * 128);
    test::writeBytes(file, bytes);
    load(file, 0, LoadOutcome::NeverWritten);
    bytes.push_back(0x05);
    test::writeBytes(file, bytes);
    const SaveRecord r = load(file, 0);
    EXPECT_EQ(r.DeathCount[4][4], 5);
    EXPECT_EQ(r.AreaX, 4);
}

TEST(SavedGame, DamagedValuesAreMadeSafe)
{
    struct Case {
        const char* what;
        std::int16_t counter, areaX, areaY;
        float x, y;
        std::int16_t switchOn, item;
        bool movedToStart;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const Case cases[] = {
        {"sound", 1, 3, 1, 32, 1536, 1, 1, false},
        {"counter past the ring", 57, 3, 1, 100, 100, 0, 0, false},
        {"counter one past the ring", 10, 3, 1, 100, 100, 0, 0, false},
        {"negative counter", -3, 3, 1, 100, 100, 0, 0, false},
        {"area column too far", 1, 5, 1, 100, 100, 0, 0, true},
        {"negative area row", 1, 3, -1, 100, 100, 0, 0, true},
        {"position not a number", 1, 3, 1, nan, 100, 0, 0, true},
        {"infinite position", 1, 3, 1, 100, -inf, 0, 0, true},
        {"position left of the band", 1, 3, 1, 31.5f, 100, 0, 0, false},
        {"position below the band, as the game could store it", 1, 3, 1, 100, 1536.55f, 0, 0, false},
        {"position far out", 1, 3, 1, -1e30f, 1e30f, 0, 0, false},
        {"flags out of range", 1, 3, 1, 100, 100, -7, 300, false},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const auto file = dir / "savedata.dat";
        // The slot a damaged counter falls back to (slot 9 before counter 0) and the one a sound
        // counter of 1 names (slot 0) are both filled with the case's values.
        std::vector<unsigned char> bytes(696 * 128, 0);
        putValue<std::int16_t>(bytes, 1, c.counter);
        for (int first : {2, 632}) {
            putValue<std::int16_t>(bytes, first, c.areaX);
            putValue<std::int16_t>(bytes, first + 1, c.areaY);
            putValue<float>(bytes, first + 2, c.x);
            putValue<float>(bytes, first + 3, c.y);
            putValue<std::int16_t>(bytes, first + 4, c.switchOn);
            putValue<std::int16_t>(bytes, first + 5, c.item);
            putValue<std::int32_t>(bytes, first + 64, 12);
        }
        test::writeBytes(file, bytes);

        SaveRecord r;
        ASSERT_EQ(LoadGameRecord(file, 0, r), LoadOutcome::Loaded) << c.what;
        if (c.movedToStart) {
            EXPECT_EQ(r.AreaX, 2) << c.what;
            EXPECT_EQ(r.AreaY, 4) << c.what;
            EXPECT_EQ(r.RespawnX, 160.0f) << c.what;
            EXPECT_EQ(r.RespawnY, 1498.0f) << c.what;
        } else {
            EXPECT_EQ(r.AreaX, c.areaX) << c.what;
            EXPECT_EQ(r.AreaY, c.areaY) << c.what;
            // Kept with its area, at the nearest point of the band.
            EXPECT_EQ(r.RespawnX, std::clamp(c.x, 32.0f, 1536.0f)) << c.what;
            EXPECT_EQ(r.RespawnY, std::clamp(c.y, 32.0f, 1536.0f)) << c.what;
        }
        EXPECT_EQ(r.SwitchOn, c.switchOn != 0 ? 1 : 0) << c.what;
        EXPECT_EQ(r.ItemHeld[0], c.item != 0 ? 1 : 0) << c.what;
        EXPECT_EQ(r.DeathCount[4][4], 12) << c.what;

        // Saving over a damaged counter restarts the ring at slot 0 and leaves a sound counter;
        // the save is the latest, inside the ring.
        ASSERT_TRUE(SaveGame(file, numbered(2)).ok()) << c.what;
        const bool counterSound = c.counter >= 0 && c.counter <= 9;
        EXPECT_EQ(valueAt<std::int16_t>(test::readBytes(file), 1), counterSound ? c.counter + 1 : 1) << c.what;
        EXPECT_EQ(std::filesystem::file_size(file), 696u * 128) << c.what;
        expectSame(load(file, 0), numbered(2));
    }
}

TEST(SavedGame, FilesThatAreNoSaveNeitherHoldNorSwallowTheGame)
{
    TempDir ring;
    for (int n = 1; n <= 3; ++n)
        ASSERT_TRUE(SaveGame(ring / "savedata.dat", numbered(n)).ok());
    const auto saves = test::readBytes(ring / "savedata.dat");
    const std::string head(saves.begin(), saves.end());

    for (const test::Hostile kind : {test::Hostile::Pipe, test::Hostile::Device, test::Hostile::HugeSparse}) {
        TempDir dir;
        const auto file = dir / "savedata.dat";
        test::makeHostile(file, kind, head, "TAIL");
        const auto result = test::withinDeadline([&] {
            SaveRecord r;
            std::string error;
            if (LoadGameRecord(file, 0, r, &error) != LoadOutcome::Loaded)
                return "not loaded: " + error;
            if (const FileStatus status = SaveGame(file, numbered(4)); !status.ok())
                return status.error;
            return "saved after " + std::to_string(r.DeathCount[4][4]);
        });
        ASSERT_TRUE(result) << describe(kind) << ": the loader did not finish";
        if (kind != test::Hostile::HugeSparse) {
            EXPECT_EQ(*result, "not loaded: " + file.string() + ": cannot be read (not a regular file)") << describe(kind);
            continue;
        }
        // Only the ring was read; the save neither grew the file on the disk nor lost its tail.
        EXPECT_EQ(*result, "saved after 3044");
        EXPECT_EQ(std::filesystem::file_size(file), static_cast<std::uintmax_t>(test::HugeSparseSize));
        EXPECT_LT(test::diskUsage(file), 1u << 20);
        expectSame(load(file, 0), numbered(4));
        expectSame(load(file, 3), numbered(1));
        EXPECT_EQ(test::lastBytes(file, 4), "TAIL");
    }
}

TEST(SavedGame, FailedSaveLeavesTheOldFileWhole)
{
    TempDir dir;
    const auto file = dir / "savedata.dat";
    ASSERT_TRUE(SaveGame(file, numbered(1)).ok());
    const auto before = test::readBytes(file);

    // A disk that fills up mid-save: the next slot would grow the file past the limit. (The
    // limit works for every user, unlike file permissions.)
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = before.size() + 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const FileStatus status = SaveGame(file, numbered(2));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(status.ok());
    EXPECT_NE(status.error.find("savedata.dat"), std::string::npos) << status.error;
    EXPECT_EQ(test::readBytes(file), before);
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        EXPECT_TRUE(entry.path() == file || entry.path() == runFramesFile(file)) << entry.path() << ": a temporary file left behind";
    }
    expectSame(load(file, 0), numbered(1));
}

// A file exactly as long as the ring, and one a byte longer (the first length past it), load the
// same saves; a save into the longer one keeps the byte beyond the ring where it was.
TEST(SavedGame, AByteBeyondTheRingIsNeitherReadNorLost)
{
    for (const std::size_t extra : {0u, 1u}) {
        SCOPED_TRACE(extra);
        TempDir dir;
        const auto file = dir / "savedata.dat";
        for (int n = 1; n <= 10; ++n)
            ASSERT_TRUE(SaveGame(file, numbered(n)).ok());
        auto bytes = test::readBytes(file);
        ASSERT_EQ(bytes.size(), SaveFileUsedBytes);
        bytes.resize(SaveFileUsedBytes + extra, 0x5A);
        test::writeBytes(file, bytes);
        for (int back = 0; back < 10; ++back)
            expectSame(load(file, back), numbered(10 - back));
        ASSERT_TRUE(SaveGame(file, numbered(11)).ok());
        const auto after = test::readBytes(file);
        ASSERT_EQ(after.size(), SaveFileUsedBytes + extra);
        if (extra)
            EXPECT_EQ(after.back(), 0x5A);
        expectSame(load(file, 0), numbered(11));
        expectSame(load(file, 9), numbered(2));
    }
}
