#include "replay/ReplayFile.h"

#include "play/KeptByStart.h"

#include "play/script/Trace.h"
#include "play/SavedGame.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <ctime>

namespace poronpa::replay {

namespace {

constexpr std::string_view Signature = "# poronpa replay ";
// Each record keeps its first four bytes, eight hex digits; sixteen records to a line.
constexpr std::size_t KeptBytesOfRecord = 4;
constexpr std::size_t RecordsPerDataLine = 16;

constexpr std::uint64_t FnvOffset = 14695981039346656037ull;
constexpr std::uint64_t FnvPrime = 1099511628211ull;

std::uint64_t fnv1a(const std::uint8_t* bytes, std::size_t size, std::uint64_t hash = FnvOffset)
{
    for (std::size_t i = 0; i < size; ++i) {
        hash ^= bytes[i];
        hash *= FnvPrime;
    }
    return hash;
}

std::string hex(std::uint64_t value, int digits)
{
    static constexpr char Digits[] = "0123456789abcdef";
    std::string text(static_cast<std::size_t>(digits), '0');
    for (int i = digits - 1; i >= 0; --i, value >>= 4)
        text[static_cast<std::size_t>(i)] = Digits[value & 15];
    return text;
}

template <typename T> bool parseNumber(std::string_view text, T& value, int base = 10)
{
    if (text.empty())
        return false;
    std::from_chars_result result;
    if constexpr (std::is_floating_point_v<T>)
        result = std::from_chars(text.data(), text.data() + text.size(), value);
    else
        result = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

std::size_t recordCount(std::size_t length) { return (length + SaveRecordBytes - 1) / SaveRecordBytes; }

/// The kept bytes of the image, record after record, as hex.
std::string savedRecordsHex(const SaveImage& image)
{
    std::string text;
    for (std::size_t r = 0; r < recordCount(image.bytes.size()); ++r)
        for (std::size_t i = 0; i < KeptBytesOfRecord; ++i) {
            const std::size_t at = r * SaveRecordBytes + i;
            text += hex(at < image.bytes.size() ? image.bytes[at] : 0, 2);
        }
    return text;
}

/// Only what the loader reads: the first bytes of every record, and the length.
void keepReadBytes(std::vector<std::uint8_t>& bytes)
{
    for (std::size_t at = 0; at < bytes.size(); ++at)
        if (at % SaveRecordBytes >= KeptBytesOfRecord)
            bytes[at] = 0;
}

constexpr std::size_t AreaCount = MapGrid::Areas * MapGrid::Areas;

std::string joinNumbers(const AreaNumbers& numbers)
{
    std::string text;
    for (const auto& column : numbers)
        for (const std::int32_t n : column) {
            if (!text.empty())
                text += ',';
            text += std::to_string(n);
        }
    return text;
}

std::vector<std::string_view> split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos)
            return parts;
        text.remove_prefix(at + 1);
    }
}

template <typename T> bool parseList(std::string_view text, std::size_t count, std::vector<T>& values)
{
    const auto parts = split(text, ',');
    if (parts.size() != count)
        return false;
    values.resize(count);
    for (std::size_t i = 0; i < count; ++i)
        if (!parseNumber(parts[i], values[i]))
            return false;
    return true;
}

std::string carryText(const Carry& carry)
{
    const GameState& kept = carry.kept;
    return "frameclock=" + std::to_string(kept.FrameClock) + " facing=" + std::to_string(kept.Facing) +
           " conveyor=" + sim::formatFloat(kept.ConveyorPush) + " slippery=" + std::to_string(kept.OnSlippery) +
           " bump=" + std::to_string(kept.BumpTimer) + "," + std::to_string(kept.BumpX) + "," + std::to_string(kept.BumpY) +
           " deaths=" + joinNumbers(kept.DeathCount) + " random=" + hex(kept.Random.state(), 6);
}

/// Reads "name=value ..." in the order carryText writes it.
std::string parseCarry(std::string_view text, Carry& carry)
{
    const auto words = split(text, ' ');
    constexpr std::array<std::string_view, 7> Names{"frameclock", "facing", "conveyor", "slippery", "bump", "deaths", "random"};
    if (words.size() != Names.size())
        return "expected frameclock=, facing=, conveyor=, slippery=, bump=, deaths= and random=";
    std::array<std::string_view, Names.size()> values;
    for (std::size_t i = 0; i < Names.size(); ++i) {
        const std::size_t equals = words[i].find('=');
        if (words[i].substr(0, equals) != Names[i] || equals == std::string_view::npos)
            return "expected " + std::string(Names[i]) + "= as word " + std::to_string(i + 1);
        values[i] = words[i].substr(equals + 1);
    }
    GameState& kept = carry.kept;
    std::vector<std::int32_t> deaths;
    std::uint32_t random = 0;
    const auto bump = split(values[4], ',');
    if (!parseNumber(values[0], kept.FrameClock) || !parseNumber(values[1], kept.Facing) ||
        !parseNumber(values[2], kept.ConveyorPush) || !parseNumber(values[3], kept.OnSlippery) || bump.size() != 3 ||
        !parseNumber(bump[0], kept.BumpTimer) || !parseNumber(bump[1], kept.BumpX) || !parseNumber(bump[2], kept.BumpY) ||
        !parseList(values[5], AreaCount, deaths) || values[6].size() != 6 || !parseNumber(values[6], random, 16))
        return "a value that is not a number of its kind";
    for (std::size_t i = 0; i < AreaCount; ++i)
        kept.DeathCount[i / MapGrid::Areas][i % MapGrid::Areas] = deaths[i];
    kept.Random = play::PseudoRandom(random);
    // Only what a game can hand on: a replay from anyone must not put the hero or the stars of a
    // bump outside the area.
    const auto within = [](auto value, double low, double high) { return value >= low && value <= high; };
    if (!within(kept.FrameClock, 0, FrameClockPeriod - 1) || !within(kept.Facing, 0, 1) ||
        !std::isfinite(kept.ConveyorPush) || !within(kept.ConveyorPush, -4, 4) || !within(kept.OnSlippery, 0, 1) ||
        !within(kept.BumpTimer, 0, BumpFrames) || !within(kept.BumpX, 0, BumpPositionHighest) ||
        !within(kept.BumpY, 0, BumpPositionHighest) ||
        !std::all_of(deaths.begin(), deaths.end(), [](std::int32_t n) { return n >= 0; }))
        return "a value no game hands on";
    return "";
}

/// Reads the hex of the data lines back into the image's bytes.
std::string decodeSaves(std::string_view hexText, std::size_t length, std::uint64_t check, SaveImage& image)
{
    if (hexText.size() != recordCount(length) * KeptBytesOfRecord * 2)
        return "the embedded save is damaged: " + std::to_string(hexText.size()) + " hex digits where " +
               std::to_string(length) + " bytes need " + std::to_string(recordCount(length) * KeptBytesOfRecord * 2);
    image.kind = SaveImage::Kind::Bytes;
    image.bytes.assign(length, 0);
    for (std::size_t i = 0; i < hexText.size(); i += 2) {
        std::uint8_t byte = 0;
        if (!parseNumber(hexText.substr(i, 2), byte, 16))
            return "the embedded save is damaged: \"" + std::string(hexText.substr(i, 2)) + "\" is not a hex byte";
        const std::size_t record = i / (2 * KeptBytesOfRecord);
        const std::size_t at = record * SaveRecordBytes + (i / 2) % KeptBytesOfRecord;
        if (at < length)
            image.bytes[at] = byte;
    }
    if (fnv1a(image.bytes.data(), image.bytes.size()) != check)
        return "the embedded save is damaged: its check does not match";
    return "";
}

/// The parts of a header as they are read, before they are known to be complete.
struct HeaderLines {
    ReplayHeader header;
    bool program = false, date = false, start = false, frameRate = false, map = false, world = false, carry = false,
         saves = false;
    std::size_t savesLength = 0;
    std::uint64_t savesCheck = 0;
    std::string savesHex;
    bool savesData = false; ///< data lines still expected
    int savesLine = 0;      ///< where the saves begin, for what is wrong with them as a whole
};

/// One `# name value` line of the header; "" or what is wrong with it.
std::string readHeaderLine(std::string_view line, HeaderLines& read)
{
    const std::size_t space = line.find(' ');
    const std::string_view name = line.substr(0, space);
    const std::string_view value = space == std::string_view::npos ? std::string_view() : line.substr(space + 1);
    const auto once = [&](bool& seen) {
        if (seen)
            return false;
        seen = true;
        return true;
    };
    const std::string twice = "a second " + std::string(name) + " line";
    ReplayHeader& header = read.header;
    if (name == "save-data") {
        if (!read.savesData)
            return "save data without a saves line before it";
        for (std::size_t i = 0; i < value.size(); i += 2) {
            std::uint8_t byte = 0;
            if (!parseNumber(value.substr(i, 2), byte, 16))
                return "the embedded save is damaged: \"" + std::string(value.substr(i, 2)) + "\" is not a hex byte";
        }
        read.savesHex += value;
        return "";
    }
    read.savesData = false;
    if (name == "program") {
        if (!once(read.program))
            return twice;
        header.program = value;
    } else if (name == "date") {
        if (!once(read.date))
            return twice;
        header.date = value;
    } else if (name == "start") {
        if (!once(read.start))
            return twice;
        if (value != "new" && value != "continue")
            return "the start is \"new\" or \"continue\"";
        header.continued = value == "continue";
    } else if (name == "framerate") {
        if (!once(read.frameRate))
            return twice;
        if (!parseNumber(value, header.frameRate))
            return "the frame rate is not a whole number";
    } else if (name == "map") {
        if (!once(read.map))
            return twice;
        if (value.size() != 16 || !parseNumber(value, header.mapDigest, 16))
            return "the map digest is not 16 hex digits";
    } else if (name == "world") {
        if (!once(read.world))
            return twice;
        if (value.empty())
            return "the world line names no file";
        header.worldFile = value;
    } else if (name == "carry") {
        if (!once(read.carry))
            return twice;
        if (std::string problem = parseCarry(value, header.carry); !problem.empty())
            return "carry: " + problem;
    } else if (name == "saves") {
        if (!once(read.saves))
            return twice;
        if (value == "none" || value == "unreadable") {
            header.saves.kind = value == "none" ? SaveImage::Kind::None : SaveImage::Kind::Unreadable;
            return "";
        }
        const auto parts = split(value, ' ');
        if (parts.size() != 2 || !parseNumber(parts[0], read.savesLength) || read.savesLength > SaveFileUsedBytes ||
            parts[1].size() != 16 || !parseNumber(parts[1], read.savesCheck, 16))
            return "the embedded save is damaged: expected none, unreadable, or its length (at most " +
                   std::to_string(SaveFileUsedBytes) + ") and check";
        header.saves.kind = SaveImage::Kind::Bytes;
        read.savesData = true;
    }
    // Other lines are notes of whoever read the file; the game writes none.
    return "";
}

/// The header once its last line has been read; "" or what is missing or damaged, with `line`
/// set to the line of the damage when it has one.
std::string finishHeader(HeaderLines& read, int& line)
{
    const std::pair<bool, const char*> required[] = {
        {read.program, "program"}, {read.date, "date"}, {read.start, "start"}, {read.frameRate, "framerate"},
        {read.map, "map"}, {read.carry, "carry"}, {read.saves, "saves"}};
    for (const auto& [seen, name] : required)
        if (!seen)
            return std::string("the header has no ") + name + " line";
    if (read.header.saves.kind == SaveImage::Kind::Bytes) {
        line = read.savesLine;
        return decodeSaves(read.savesHex, read.savesLength, read.savesCheck, read.header.saves);
    }
    return "";
}

bool isBinary(unsigned char c) { return (c < 0x20 && c != '\t') || c == 0x7F; }

std::string byteName(unsigned char c) { return "0x" + hex(c, 2); }

/// The body's `#` lines the game writes; others are notes.
enum class BodyNote { Other, Failure, End, Unfinished };

BodyNote bodyNote(std::string_view comment, Failure& failure, std::string& problem)
{
    constexpr std::string_view SaveFailed = "save failed at frame ";
    constexpr std::string_view LoadFailed = "load failed at frame ";
    for (const auto& [prefix, kind] : {std::pair{SaveFailed, Failure::Kind::Save}, std::pair{LoadFailed, Failure::Kind::Load}})
        if (comment.starts_with(prefix)) {
            failure.kind = kind;
            if (!parseNumber(comment.substr(prefix.size()), failure.frame) || failure.frame < 1)
                problem = "the frame of a failure is not a whole number from 1";
            return BodyNote::Failure;
        }
    if (comment.starts_with("end "))
        return BodyNote::End;
    if (comment.starts_with("unfinished "))
        return BodyNote::Unfinished;
    return BodyNote::Other;
}

/// "frame=N" at the start of a closing line's words, N written as the game writes it: the closing
/// line is compared as text with the simulator's own, so "frame=061" could never match.
bool closingFrames(std::string_view words, std::int64_t& frames)
{
    constexpr std::string_view Frame = "frame=";
    if (!words.starts_with(Frame))
        return false;
    const std::size_t end = words.find(' ');
    const std::string_view digits =
        words.substr(Frame.size(), end == std::string_view::npos ? std::string_view::npos : end - Frame.size());
    return parseNumber(digits, frames) && digits == std::to_string(frames);
}

} // namespace

// --- Save image ----------------------------------------------------------------------------------

SaveImage captureSaveImage(const std::filesystem::path& saveFile)
{
    SaveImage image;
    bool exists = false;
    if (!readFileHead(saveFile, SaveFileUsedBytes, image.bytes, &exists).ok()) {
        image.kind = SaveImage::Kind::Unreadable;
        image.bytes.clear();
        return image;
    }
    image.kind = exists ? SaveImage::Kind::Bytes : SaveImage::Kind::None;
    keepReadBytes(image.bytes);
    return image;
}

FileStatus restoreSaveImage(const SaveImage& image, const std::filesystem::path& saveFile)
{
    switch (image.kind) {
    case SaveImage::Kind::None:
        return {};
    case SaveImage::Kind::Unreadable: {
        std::error_code error;
        if (!std::filesystem::create_directory(saveFile, error) && error)
            return {saveFile.string() + ": cannot be made (" + error.message() + ")"};
        return {};
    }
    case SaveImage::Kind::Bytes:
        break;
    }
    return writeFileAtomically(saveFile, image.bytes);
}

// --- Carry ---------------------------------------------------------------------------------------

Carry Carry::of(const GameState& state)
{
    Carry carry;
    copyKeptByStart(state, carry.kept);
    return carry;
}

void Carry::applyTo(GameState& state) const
{
    copyKeptByStart(kept, state);
}

// --- Writing -------------------------------------------------------------------------------------

std::uint64_t mapDigest(const MapGrid& map)
{
    std::uint64_t hash = FnvOffset;
    for (int y = 0; y < MapGrid::StoredSize; ++y)
        for (int x = 0; x < MapGrid::StoredSize; ++x) {
            const std::uint8_t cell = map.cell(x, y);
            hash = fnv1a(&cell, 1, hash);
        }
    return hash;
}

std::string localDateNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[64];
    return std::string(text, std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S %z", &local));
}

std::string worldFileForHeader(const std::filesystem::path& world)
{
    std::string name = world.filename().string();
    if (std::any_of(name.begin(), name.end(), [](char c) { return isBinary(static_cast<unsigned char>(c)); }))
        return {};
    return name;
}

std::string headerText(const ReplayHeader& header)
{
    std::string text = std::string(Signature) + std::to_string(FormatVersion) + "\n";
    text += "# program " + header.program + "\n";
    text += "# date " + header.date + "\n";
    text += "# start " + std::string(header.continued ? "continue" : "new") + "\n";
    text += "# framerate " + std::to_string(header.frameRate) + "\n";
    text += "# map " + hex(header.mapDigest, 16) + "\n";
    // Only a replay that knows its world says so: one read from an older file is written as it was.
    if (!header.worldFile.empty())
        text += "# world " + header.worldFile + "\n";
    text += "# carry " + carryText(header.carry) + "\n";
    switch (header.saves.kind) {
    case SaveImage::Kind::None:
        text += "# saves none\n";
        break;
    case SaveImage::Kind::Unreadable:
        text += "# saves unreadable\n";
        break;
    case SaveImage::Kind::Bytes: {
        text += "# saves " + std::to_string(header.saves.bytes.size()) + " " +
                hex(fnv1a(header.saves.bytes.data(), header.saves.bytes.size()), 16) + "\n";
        const std::string data = savedRecordsHex(header.saves);
        constexpr std::size_t LineDigits = RecordsPerDataLine * KeptBytesOfRecord * 2;
        for (std::size_t at = 0; at < data.size(); at += LineDigits)
            text += "# save-data " + data.substr(at, LineDigits) + "\n";
        break;
    }
    }
    return text;
}

std::string failureLine(const Failure& failure)
{
    return std::string(failure.kind == Failure::Kind::Save ? "# save" : "# load") + " failed at frame " +
           std::to_string(failure.frame) + "\n";
}

std::string unfinishedLine(std::int64_t frames) { return "# unfinished frame=" + std::to_string(frames) + "\n"; }

std::string endingLine(const std::string& endLine) { return "# " + endLine + "\n"; }

// --- Reading -------------------------------------------------------------------------------------

bool parseReplay(std::string text, Replay& replay, std::string& error)
{
    replay = {};
    if (text.starts_with(sim::ByteOrderMark))
        text.erase(0, sim::ByteOrderMark.size());
    const bool hasHeader = std::string_view(text).starts_with(Signature);
    HeaderLines header;
    bool inHeader = hasHeader;
    bool closed = false;
    int lineNumber = 0;
    const auto fail = [&](int line, const std::string& reason) {
        error = "line " + std::to_string(line) + ": " + reason;
        return false;
    };

    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        const bool lineEnded = end != std::string::npos;
        if (!lineEnded)
            end = text.size();
        std::string_view line(text.data() + start, end - start);
        start = end + 1;
        ++lineNumber;
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        for (std::size_t i = 0; i < line.size(); ++i)
            if (isBinary(static_cast<unsigned char>(line[i])))
                return fail(lineNumber, "binary data (byte " + byteName(static_cast<unsigned char>(line[i])) + " at column " +
                                            std::to_string(i + 1) + "): not a replay");
        if (hasHeader && !lineEnded)
            return fail(lineNumber, "the file ends inside a line: it was cut short");

        if (hasHeader && lineNumber == 1) {
            int version = 0;
            if (!parseNumber(line.substr(Signature.size()), version))
                return fail(1, "not a replay format this program knows");
            if (version != FormatVersion)
                return fail(1, "replay format " + std::to_string(version) + "; this version of the game reads format " +
                                   std::to_string(FormatVersion) + " only");
            continue;
        }
        std::string_view note;
        const bool comment = hasHeader && line.starts_with('#');
        if (comment) {
            note = line.substr(1);
            if (note.starts_with(' '))
                note.remove_prefix(1);
        }
        Failure failure;
        std::string problem;
        const BodyNote kind = comment ? bodyNote(note, failure, problem) : BodyNote::Other;
        if (inHeader && comment && kind == BodyNote::Other) {
            if (note.starts_with("saves "))
                header.savesLine = lineNumber;
            if (problem = readHeaderLine(note, header); !problem.empty())
                return fail(lineNumber, problem);
            continue;
        }
        if (inHeader) {
            int headerEnd = lineNumber - 1;
            if (problem = finishHeader(header, headerEnd); !problem.empty())
                return fail(headerEnd, problem);
            inHeader = false;
        }
        if (closed) {
            if (!line.empty())
                return fail(lineNumber, "text after the replay's closing line");
            continue;
        }

        switch (kind) {
        case BodyNote::Failure:
            if (!problem.empty())
                return fail(lineNumber, problem);
            if (failure.frame > replay.frames || (!replay.failures.empty() && failure.frame < replay.failures.back().frame))
                return fail(lineNumber, "a failure at frame " + std::to_string(failure.frame) + ", out of order");
            replay.failures.push_back(failure);
            continue;
        case BodyNote::End:
        case BodyNote::Unfinished: {
            const bool ended = kind == BodyNote::End;
            std::int64_t frames = 0;
            if (!closingFrames(note.substr(ended ? 4 : 11), frames))
                return fail(lineNumber, "the closing line has no frame=N");
            if (frames != replay.frames)
                return fail(lineNumber, "the closing line counts " + std::to_string(frames) + " frames, the keys before it " +
                                            std::to_string(replay.frames) + ": lines were lost");
            if (ended)
                replay.endLine = std::string(note);
            closed = true;
            continue;
        }
        case BodyNote::Other:
            break;
        }

        sim::KeyRun run;
        switch (sim::parseKeyLine(line, run, problem)) {
        case sim::KeyLine::Nothing:
            break;
        case sim::KeyLine::Bad:
            return fail(lineNumber, problem);
        case sim::KeyLine::Run:
            if (run.frames > MaxFrames - replay.frames)
                return fail(lineNumber, "the counts add up to more than " + std::to_string(MaxFrames) + " frames");
            replay.frames += run.frames;
            break;
        }
    }

    if (hasHeader) {
        if (inHeader)
            return fail(lineNumber, "the file ends in its header: it was cut short");
        if (!closed)
            return fail(lineNumber, "the file ends without the replay's closing line: it was cut short");
        replay.header = std::move(header.header);
    }
    replay.text = std::move(text);
    return true;
}

FileStatus readReplay(const std::filesystem::path& path, Replay& replay)
{
    std::vector<std::uint8_t> bytes;
    bool exists = false;
    if (FileStatus status = readWholeFile(path, bytes, &exists, MaxFileBytes); !status.ok())
        return status;
    if (!exists)
        return {path.string() + ": cannot be opened (no such file)"};
    std::string error;
    if (!parseReplay(std::string(bytes.begin(), bytes.end()), replay, error))
        return {path.string() + ":" + error.substr(std::strlen("line "))};
    return {};
}

} // namespace poronpa::replay
