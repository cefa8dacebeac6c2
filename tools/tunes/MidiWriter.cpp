#include "MidiWriter.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace poronpa::tunes {

namespace {

void putVariableLength(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    std::uint8_t groups[5];
    int count = 0;
    do {
        groups[count++] = static_cast<std::uint8_t>(value & 0x7F);
        value >>= 7;
    } while (value != 0);
    while (count > 1)
        out.push_back(static_cast<std::uint8_t>(groups[--count] | 0x80));
    out.push_back(groups[0]);
}

void putBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int count)
{
    for (int i = count - 1; i >= 0; --i)
        out.push_back(static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF));
}

std::uint8_t dataByte(int value)
{
    return static_cast<std::uint8_t>(std::clamp(value, 0, 127));
}

std::uint8_t statusByte(int kind, int channel)
{
    if (channel < 1 || channel > 16)
        throw std::runtime_error("MIDI channel " + std::to_string(channel) + " is not 1..16");
    return static_cast<std::uint8_t>(kind | (channel - 1));
}

} // namespace

void MidiWriter::beginTrack(const std::string& name)
{
    tracks_.emplace_back();
    std::vector<std::uint8_t> meta{0xFF, 0x03};
    putVariableLength(meta, static_cast<std::uint32_t>(name.size()));
    meta.insert(meta.end(), name.begin(), name.end());
    add(0, 1, std::move(meta));
}

void MidiWriter::tempo(std::uint32_t tick, double quartersPerMinute)
{
    std::vector<std::uint8_t> meta{0xFF, 0x51, 0x03};
    putBigEndian(meta, static_cast<std::uint32_t>(std::lround(60'000'000.0 / quartersPerMinute)), 3);
    add(tick, 1, std::move(meta));
}

void MidiWriter::timeSignature(std::uint32_t tick, int numerator, int denominator)
{
    int power = 0;
    while ((1 << power) < denominator)
        ++power;
    add(tick, 1, {0xFF, 0x58, 0x04, dataByte(numerator), dataByte(power), 24, 8});
}

void MidiWriter::controlChange(std::uint32_t tick, int channel, int controller, int value)
{
    add(tick, 1, {statusByte(0xB0, channel), dataByte(controller), dataByte(value)});
}

void MidiWriter::programChange(std::uint32_t tick, int channel, int program)
{
    add(tick, 1, {statusByte(0xC0, channel), dataByte(program)});
}

void MidiWriter::note(std::uint32_t tick, std::uint32_t length, int channel, int key, int velocity)
{
    add(tick, 2, {statusByte(0x90, channel), dataByte(key), static_cast<std::uint8_t>(std::clamp(velocity, 1, 127))});
    add(tick + length, 0, {statusByte(0x80, channel), dataByte(key), 0});
}

void MidiWriter::add(std::uint32_t tick, int order, std::vector<std::uint8_t> bytes)
{
    if (tracks_.empty())
        throw std::logic_error("MIDI event before the first track");
    tracks_.back().push_back({tick, order, std::move(bytes)});
}

std::vector<std::uint8_t> MidiWriter::bytes(std::uint32_t endTick) const
{
    std::vector<std::uint8_t> out{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
    putBigEndian(out, static_cast<std::uint32_t>(tracks_.size()), 2);
    putBigEndian(out, static_cast<std::uint32_t>(ticksPerQuarter_), 2);
    for (std::vector<MidiEvent> events : tracks_) {
        std::stable_sort(events.begin(), events.end(), [](const MidiEvent& a, const MidiEvent& b) {
            return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
        });
        std::vector<std::uint8_t> data;
        std::uint32_t now = 0;
        for (const MidiEvent& event : events) {
            if (event.tick > endTick)
                throw std::runtime_error("a note runs past the end of the tune");
            putVariableLength(data, event.tick - now);
            now = event.tick;
            data.insert(data.end(), event.bytes.begin(), event.bytes.end());
        }
        putVariableLength(data, endTick - now);
        data.insert(data.end(), {0xFF, 0x2F, 0x00});
        out.insert(out.end(), {'M', 'T', 'r', 'k'});
        putBigEndian(out, static_cast<std::uint32_t>(data.size()), 4);
        out.insert(out.end(), data.begin(), data.end());
    }
    return out;
}

} // namespace poronpa::tunes
