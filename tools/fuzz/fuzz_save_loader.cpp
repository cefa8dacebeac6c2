#include "app/base/FileNames.h"
#include "play/StartAndBand.h"
#include "play/SavedGame.h"
#include "tools/fuzz/FuzzFile.h"

#include <algorithm>

using namespace poronpa;

namespace {

constexpr std::size_t RecordBytes = 128;

/// A save that differs from the zeros of a fresh file in every field.
SaveRecord knownRecord()
{
    SaveRecord r;
    r.AreaX = 3;
    r.AreaY = 1;
    r.RespawnX = 100.5f;
    r.RespawnY = 1200.25f;
    r.SwitchOn = 1;
    r.ItemHeld = {1, 0, 1, 0, 1, 0, 1, 0, 1, 1};
    for (int x = 0; x < 5; ++x)
        for (int y = 0; y < 5; ++y) {
            r.MiniMapColor[x][y] = 16777215 - x;
            r.DeathCount[x][y] = 7 * x + y + 1;
        }
    return r;
}

/// The bytes a save may change: the first bytes of record 1 (the counter) and of each of the
/// slot's records, as many as the value stored there.
std::vector<bool> bytesWrittenBySave(int slot, std::size_t fileSize)
{
    std::vector<bool> written(fileSize, false);
    const auto mark = [&](int record, std::size_t bytes) {
        for (std::size_t i = 0; i < bytes; ++i)
            written[RecordBytes * static_cast<std::size_t>(record - 1) + i] = true;
    };
    mark(1, 2);
    int r = 70 * slot + 2;
    for (std::size_t bytes : {2, 2, 4, 4, 2})
        mark(r++, bytes);
    for (int i = 0; i < 10; ++i)
        mark(r++, 2);
    for (int i = 0; i < 50; ++i)
        mark(r++, 4);
    return written;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzFile file(filenames::Saves, data, size);

    // Every way back into the ring gives a hero inside the world, or nothing.
    for (int back = 0; back <= 9; ++back) {
        SaveRecord r;
        const LoadOutcome outcome = LoadGameRecord(file.path(), back, r);
        require(outcome == LoadOutcome::Loaded || outcome == LoadOutcome::NeverWritten);
        if (outcome != LoadOutcome::Loaded)
            continue;
        require(r.AreaX >= 0 && r.AreaX <= 4 && r.AreaY >= 0 && r.AreaY <= 4);
        require(insideBand(r.RespawnX) && insideBand(r.RespawnY));
        require(r.SwitchOn == 0 || r.SwitchOn == 1);
        require(std::all_of(r.ItemHeld.begin(), r.ItemHeld.end(), [](std::int16_t held) { return held == 0 || held == 1; }));
    }

    // A save touches only its own slot and the counter: every other byte the file held stays.
    // A counter cut short by the end of the file reads as if the missing byte were zero.
    const auto counter = static_cast<std::int16_t>((size > 0 ? data[0] : 0) | (size > 1 ? data[1] << 8 : 0));
    const int slot = counter >= 0 && counter <= 9 ? counter : 0;
    const SaveRecord saved = knownRecord();
    require(SaveGame(file.path(), saved).ok());
    std::vector<std::uint8_t> after;
    require(readWholeFile(file.path(), after).ok());
    // The file grows by whole records up to the end of the slot, never beyond it.
    require(after.size() == std::max(size, RecordBytes * static_cast<std::size_t>(70 * slot + 66)));
    const std::vector<bool> written = bytesWrittenBySave(slot, after.size());
    for (std::size_t i = 0; i < after.size(); ++i)
        if (!written[i])
            require(after[i] == (i < size ? data[i] : 0));

    // And the save comes back as it was made.
    SaveRecord loaded;
    require(LoadGameRecord(file.path(), 0, loaded) == LoadOutcome::Loaded);
    require(loaded.AreaX == saved.AreaX && loaded.AreaY == saved.AreaY && loaded.RespawnX == saved.RespawnX &&
            loaded.RespawnY == saved.RespawnY && loaded.SwitchOn == saved.SwitchOn && loaded.ItemHeld == saved.ItemHeld &&
            loaded.MiniMapColor == saved.MiniMapColor && loaded.DeathCount == saved.DeathCount);
    return 0;
}
