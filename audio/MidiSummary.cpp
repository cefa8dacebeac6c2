#include "audio/MidiSummary.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>

namespace poronpa {

namespace {

/// A bounds-checked cursor: every read past the end turns the reader invalid instead of
/// reading stray memory.
class ByteReader {
public:
    ByteReader(const std::vector<std::uint8_t>& bytes, std::size_t begin, std::size_t end)
        : bytes_(bytes), position_(begin), end_(std::min(end, bytes.size()))
    {
    }

    bool ok() const { return ok_; }
    bool atEnd() const { return position_ >= end_; }
    std::size_t position() const { return position_; }

    std::uint32_t byte()
    {
        if (position_ >= end_) {
            ok_ = false;
            return 0;
        }
        return bytes_[position_++];
    }
    std::uint32_t bigEndian(int count)
    {
        std::uint32_t value = 0;
        for (int i = 0; i < count; ++i)
            value = (value << 8) | byte();
        return value;
    }
    std::uint32_t variableLength()
    {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const std::uint32_t b = byte();
            value = (value << 7) | (b & 0x7F);
            if ((b & 0x80) == 0)
                return value;
        }
        ok_ = false;
        return 0;
    }
    void skip(std::uint32_t count)
    {
        if (count > end_ - position_) {
            ok_ = false;
            position_ = end_;
            return;
        }
        position_ += count;
    }
    bool tag(const char (&expected)[5])
    {
        for (int i = 0; i < 4; ++i)
            if (byte() != static_cast<std::uint8_t>(expected[i]))
                return false;
        return ok_;
    }

private:
    const std::vector<std::uint8_t>& bytes_;
    std::size_t position_;
    std::size_t end_;
    bool ok_ = true;
};

struct TrackScan {
    std::uint64_t endTick = 0;
    std::array<int, 16> notes{};
};

bool scanTrack(ByteReader& in, std::map<std::uint64_t, std::uint32_t>& tempos, TrackScan& scan)
{
    std::uint64_t tick = 0;
    std::uint32_t running = 0;
    while (!in.atEnd()) {
        tick += in.variableLength();
        std::uint32_t status = in.byte();
        if (status == 0xFF) {
            const std::uint32_t type = in.byte();
            const std::uint32_t length = in.variableLength();
            if (type == 0x51 && length == 3)
                tempos[tick] = in.bigEndian(3);
            else
                in.skip(length);
            if (type == 0x2F) {
                scan.endTick = std::max(scan.endTick, tick);
                return in.ok();
            }
        } else if (status == 0xF0 || status == 0xF7) {
            in.skip(in.variableLength());
        } else if (status > 0xF0) {
            return false;
        } else {
            // Below 0x80 the byte is already the first data byte of a running status.
            if (status >= 0x80) {
                running = status;
                in.byte();
            } else if (running == 0) {
                return false;
            }
            const std::uint32_t kind = running & 0xF0;
            if (kind == 0x90) {
                if (in.byte() > 0)
                    ++scan.notes[running & 0x0F];
            } else if (kind != 0xC0 && kind != 0xD0) {
                in.byte();
            }
        }
        if (!in.ok())
            return false;
        scan.endTick = std::max(scan.endTick, tick);
    }
    // A track must close with its end-of-track event.
    return false;
}

} // namespace

std::optional<MidiSummary> summarizeMidi(const std::vector<std::uint8_t>& bytes)
{
    ByteReader header(bytes, 0, bytes.size());
    if (!header.tag("MThd") || header.bigEndian(4) != 6)
        return std::nullopt;
    MidiSummary summary;
    summary.format = static_cast<int>(header.bigEndian(2));
    summary.trackCount = static_cast<int>(header.bigEndian(2));
    const std::uint32_t division = header.bigEndian(2);
    if (!header.ok() || summary.format > 2 || summary.trackCount == 0 || division == 0)
        return std::nullopt;

    std::map<std::uint64_t, std::uint32_t> tempos;
    std::uint64_t endTick = 0;
    std::size_t next = header.position();
    for (int track = 0; track < summary.trackCount; ++track) {
        ByteReader chunk(bytes, next, bytes.size());
        if (!chunk.tag("MTrk"))
            return std::nullopt;
        const std::uint32_t length = chunk.bigEndian(4);
        if (!chunk.ok() || length > bytes.size() - chunk.position())
            return std::nullopt;
        ByteReader events(bytes, chunk.position(), chunk.position() + length);
        TrackScan scan;
        if (!scanTrack(events, tempos, scan))
            return std::nullopt;
        endTick = std::max(endTick, scan.endTick);
        for (std::size_t channel = 0; channel < 16; ++channel)
            summary.notesPerChannel[channel] += scan.notes[channel];
        next = chunk.position() + length;
    }

    if (division & 0x8000) {
        // Time code division: frames per second times ticks per frame, no tempo involved.
        const int framesPerSecond = 256 - static_cast<int>(division >> 8);
        const int ticksPerFrame = static_cast<int>(division & 0xFF);
        if (ticksPerFrame == 0)
            return std::nullopt;
        summary.lengthMs = 1000.0 * static_cast<double>(endTick) / (framesPerSecond * ticksPerFrame);
        return summary;
    }
    double ms = 0.0;
    std::uint64_t tick = 0;
    std::uint32_t microsPerQuarter = 500000;
    for (const auto& [changeTick, tempo] : tempos) {
        if (changeTick >= endTick)
            break;
        ms += static_cast<double>(changeTick - tick) * microsPerQuarter / 1000.0 / division;
        tick = changeTick;
        microsPerQuarter = tempo;
    }
    ms += static_cast<double>(endTick - tick) * microsPerQuarter / 1000.0 / division;
    summary.lengthMs = ms;
    return summary;
}

std::optional<MidiSummary> summarizeMidiFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return summarizeMidi(bytes);
}

} // namespace poronpa
