#include "editor/BitmapFile.h"

namespace poronpa {

namespace {

constexpr std::uint32_t FileHeaderBytes = 14;
constexpr std::uint32_t InfoHeaderBytes = 40;

void put16(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    put16(out, value & 0xFFFFu);
    put16(out, value >> 16);
}

} // namespace

std::vector<std::uint8_t> encodeBitmap(const Surface& picture)
{
    const auto width = static_cast<std::uint32_t>(picture.width());
    const auto height = static_cast<std::uint32_t>(picture.height());
    const std::uint32_t rowBytes = (width * 3 + 3) / 4 * 4;
    const std::uint32_t imageBytes = rowBytes * height;
    const std::uint32_t offset = FileHeaderBytes + InfoHeaderBytes;

    std::vector<std::uint8_t> out;
    out.reserve(offset + imageBytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, offset + imageBytes);
    put32(out, 0); // reserved
    put32(out, offset);

    put32(out, InfoHeaderBytes);
    put32(out, width);
    put32(out, height); // positive: the rows are stored bottom-up
    put16(out, 1);      // planes
    put16(out, 24);     // bits per pixel
    put32(out, 0);      // no compression
    put32(out, imageBytes);
    put32(out, 3780); // 96 dpi in pixels per metre
    put32(out, 3780);
    put32(out, 0); // no palette
    put32(out, 0);

    for (int y = picture.height() - 1; y >= 0; --y) {
        const std::uint32_t* row = picture.data() + static_cast<std::size_t>(y) * width;
        for (std::uint32_t x = 0; x < width; ++x) {
            out.push_back(static_cast<std::uint8_t>(row[x]));       // blue
            out.push_back(static_cast<std::uint8_t>(row[x] >> 8));  // green
            out.push_back(static_cast<std::uint8_t>(row[x] >> 16)); // red
        }
        out.resize(out.size() + (rowBytes - width * 3), 0);
    }
    return out;
}

FileStatus saveBitmap(const std::filesystem::path& path, const Surface& picture)
{
    return writeFileAtomically(path, encodeBitmap(picture));
}

} // namespace poronpa
