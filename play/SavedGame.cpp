#include "play/SavedGame.h"

#include "play/StartAndBand.h"

#include <cstring>
#include <vector>

namespace poronpa {

namespace {

constexpr std::size_t RecordBytes = SaveRecordBytes;
constexpr int SlotCount = 10;
constexpr int SlotStride = 70;


constexpr int firstRecordOfSlot(int slot) { return SlotStride * slot + 2; }
constexpr int lastRecordOfSlot(int slot) { return SlotStride * slot + 66; }

constexpr std::size_t recordOffset(int record) { return RecordBytes * static_cast<std::size_t>(record - 1); }

// The last record any slot uses ends the part of the file the ring lives in; the rest of a longer
// file is never read.
constexpr std::size_t UsedBytes = recordOffset(lastRecordOfSlot(SlotCount - 1) + 1);
static_assert(UsedBytes == SaveFileUsedBytes);

/// The bytes of the record file. Reads beyond the end give zeros, as a value never written is
/// naturally read; writes grow the file by whole records.
class RecordFile {
public:
    explicit RecordFile(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

    std::vector<std::uint8_t> take() { return std::move(bytes_); }

    bool hasAnyByteOf(int record) const { return bytes_.size() > recordOffset(record); }

    template <typename T> T read(int record) const
    {
        std::uint8_t raw[sizeof(T)]{};
        const std::size_t offset = recordOffset(record);
        for (std::size_t i = 0; i < sizeof(T); ++i)
            if (offset + i < bytes_.size())
                raw[i] = bytes_[offset + i];
        return fromLittleEndian<T>(raw);
    }

    template <typename T> void write(int record, T value)
    {
        const std::size_t offset = recordOffset(record);
        if (bytes_.size() < offset + RecordBytes)
            bytes_.resize(offset + RecordBytes);
        std::uint8_t raw[sizeof(T)];
        toLittleEndian(value, raw);
        std::memcpy(bytes_.data() + offset, raw, sizeof(T));
    }

private:
    template <typename T> static T fromLittleEndian(const std::uint8_t (&raw)[sizeof(T)])
    {
        std::uint32_t bits = 0;
        for (std::size_t i = sizeof(T); i-- > 0;)
            bits = (bits << 8) | raw[i];
        if constexpr (std::is_same_v<T, float>) {
            float value;
            std::memcpy(&value, &bits, sizeof value);
            return value;
        } else {
            return static_cast<T>(static_cast<std::make_unsigned_t<T>>(bits));
        }
    }

    template <typename T> static void toLittleEndian(T value, std::uint8_t (&raw)[sizeof(T)])
    {
        std::uint32_t bits = 0;
        if constexpr (std::is_same_v<T, float>)
            std::memcpy(&bits, &value, sizeof value);
        else
            bits = static_cast<std::make_unsigned_t<T>>(value);
        for (std::size_t i = 0; i < sizeof(T); ++i)
            raw[i] = static_cast<std::uint8_t>(bits >> (8 * i));
    }

    std::vector<std::uint8_t> bytes_;
};

/// The counter names the slot the next save uses; a damaged one starts the ring again at 0.
int readCounter(const RecordFile& file)
{
    const std::int16_t counter = file.read<std::int16_t>(1);
    return counter >= 0 && counter < SlotCount ? counter : 0;
}

// The run's frames beside the save file: for each slot, the frames and a digest of the values
// the slot held when they were written, little-endian.
constexpr std::size_t RunEntryBytes = 8;
constexpr std::size_t RunFileBytes = RunEntryBytes * SlotCount;

/// FNV-1a over the values of a slot as they lie in the file (floats by their bits).
std::uint32_t slotDigest(const SaveRecord& record)
{
    std::uint32_t hash = 2166136261u;
    const auto add = [&hash](std::uint32_t bits, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            hash ^= (bits >> (8 * i)) & 0xFF;
            hash *= 16777619u;
        }
    };
    const auto addFloat = [&add](float value) {
        std::uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        add(bits, 4);
    };
    add(static_cast<std::uint16_t>(record.AreaX), 2);
    add(static_cast<std::uint16_t>(record.AreaY), 2);
    addFloat(record.RespawnX);
    addFloat(record.RespawnY);
    add(static_cast<std::uint16_t>(record.SwitchOn), 2);
    for (const std::int16_t held : record.ItemHeld)
        add(static_cast<std::uint16_t>(held), 2);
    for (int x = 0; x < MapGrid::Areas; ++x)
        for (int y = 0; y < MapGrid::Areas; ++y) {
            add(static_cast<std::uint32_t>(record.MiniMapColor[x][y]), 4);
            add(static_cast<std::uint32_t>(record.DeathCount[x][y]), 4);
        }
    return hash;
}

std::uint32_t readWord(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    std::uint32_t word = 0;
    for (std::size_t i = 4; i-- > 0;)
        word = (word << 8) | (at + i < bytes.size() ? bytes[at + i] : 0);
    return word;
}

void writeWord(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t word)
{
    for (std::size_t i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(word >> (8 * i));
}

/// Notes the run's frames of `record`, just written into `slot`.
void writeRunFrames(const std::filesystem::path& saveFile, int slot, const SaveRecord& record)
{
    updateFile(runFramesFile(saveFile), RunFileBytes, LongerFile::KeepTail, [&](std::vector<std::uint8_t>& bytes, bool) {
        bytes.resize(RunFileBytes);
        const std::size_t at = RunEntryBytes * static_cast<std::size_t>(slot);
        writeWord(bytes, at, static_cast<std::uint32_t>(record.RunFrames));
        writeWord(bytes, at + 4, slotDigest(record));
    });
}

/// The run's frames noted for `slot`, when they belong to `record`, the slot as it was read.
std::int32_t readRunFrames(const std::filesystem::path& saveFile, int slot, const SaveRecord& record)
{
    std::vector<std::uint8_t> bytes;
    if (!readFileHead(runFramesFile(saveFile), RunFileBytes, bytes).ok() || bytes.size() < RunFileBytes)
        return UnknownRunFrames;
    const std::size_t at = RunEntryBytes * static_cast<std::size_t>(slot);
    const auto frames = static_cast<std::int32_t>(readWord(bytes, at));
    if (readWord(bytes, at + 4) != slotDigest(record) || frames < 0)
        return UnknownRunFrames;
    return frames;
}

bool isArea(std::int16_t coordinate) { return coordinate >= 0 && coordinate <= 4; }

/// A damaged file must neither crash the game nor put the hero outside the world.
void makeSafe(SaveRecord& record)
{
    const bool placeIsSound = isArea(record.AreaX) && isArea(record.AreaY) && std::isfinite(record.RespawnX) &&
                              std::isfinite(record.RespawnY);
    if (!placeIsSound) {
        // A position is only known to be free in the area it was saved in; the start of a new
        // game is the one place known to be safe whatever else the file has lost.
        record.AreaX = StartAreaX;
        record.AreaY = StartAreaY;
        record.RespawnX = StartX;
        record.RespawnY = StartY;
    }
    // A point just beyond the band, as the game itself could store it, stays with its area.
    record.RespawnX = intoBand(record.RespawnX);
    record.RespawnY = intoBand(record.RespawnY);
    if (record.SwitchOn != 0)
        record.SwitchOn = 1;
    for (std::int16_t& held : record.ItemHeld)
        if (held != 0)
            held = 1;
}

} // namespace

std::filesystem::path runFramesFile(const std::filesystem::path& saveFile)
{
    std::filesystem::path beside = saveFile;
    beside += ".run";
    return beside;
}

FileStatus SaveGame(const std::filesystem::path& file, const SaveRecord& record)
{
    // The counter is read and advanced in one turn with every other writer of the file, so two
    // games saving at once each get a slot of their own.
    int slot = 0;
    FileStatus status = updateFile(file, UsedBytes, LongerFile::KeepTail, [&](std::vector<std::uint8_t>& bytes, bool) {
        RecordFile records(std::move(bytes));
        slot = readCounter(records);
        int r = firstRecordOfSlot(slot);
        records.write(r++, record.AreaX);
        records.write(r++, record.AreaY);
        records.write(r++, record.RespawnX);
        records.write(r++, record.RespawnY);
        records.write(r++, record.SwitchOn);
        for (const std::int16_t held : record.ItemHeld)
            records.write(r++, held);
        for (int x = 0; x < MapGrid::Areas; ++x) {
            for (int y = 0; y < MapGrid::Areas; ++y) {
                records.write(r++, record.MiniMapColor[x][y]);
                records.write(r++, record.DeathCount[x][y]);
            }
        }
        records.write(1, static_cast<std::int16_t>((slot + 1) % SlotCount));
        bytes = records.take();
    });
    if (status.ok())
        writeRunFrames(file, slot, record);
    return status;
}

LoadOutcome LoadGameRecord(const std::filesystem::path& file, int back, SaveRecord& record, std::string* error)
{
    std::vector<std::uint8_t> bytes;
    bool exists = false;
    if (FileStatus status = readFileHead(file, UsedBytes, bytes, &exists); !status.ok()) {
        if (error)
            *error = status.error;
        return LoadOutcome::Unreadable;
    }
    if (!exists)
        return LoadOutcome::NoFile;
    const RecordFile records(std::move(bytes));

    const int slot = ((readCounter(records) + 9 - back) % SlotCount + SlotCount) % SlotCount;
    if (!records.hasAnyByteOf(lastRecordOfSlot(slot)))
        return LoadOutcome::NeverWritten;

    SaveRecord loaded;
    int r = firstRecordOfSlot(slot);
    loaded.AreaX = records.read<std::int16_t>(r++);
    loaded.AreaY = records.read<std::int16_t>(r++);
    loaded.RespawnX = records.read<float>(r++);
    loaded.RespawnY = records.read<float>(r++);
    loaded.SwitchOn = records.read<std::int16_t>(r++);
    for (std::int16_t& held : loaded.ItemHeld)
        held = records.read<std::int16_t>(r++);
    for (int x = 0; x < MapGrid::Areas; ++x) {
        for (int y = 0; y < MapGrid::Areas; ++y) {
            loaded.MiniMapColor[x][y] = records.read<std::int32_t>(r++);
            loaded.DeathCount[x][y] = records.read<std::int32_t>(r++);
        }
    }
    loaded.RunFrames = readRunFrames(file, slot, loaded);
    makeSafe(loaded);
    record = loaded;
    return LoadOutcome::Loaded;
}

} // namespace poronpa
