#include "world/TileFacts.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

using namespace poronpa;

namespace {

/// What each part of the legend says of the tiles listed under it.
struct Section {
    std::string heading; ///< how the comment that opens it begins
    std::function<bool(std::uint8_t)> holds;
    std::string claim;
};

const std::vector<Section>& sections()
{
    static const std::vector<Section> list = {
        {"; Passable scenery", [](std::uint8_t t) { return tileKind(t) == TileKind::Scenery; }, "plain scenery"},
        {"; Passable tiles that act",
         [](std::uint8_t t) { return !isSolid(t) && tileKind(t) != TileKind::Scenery; }, "passable and acting"},
        {"; Solid tiles", [](std::uint8_t t) { return isSolid(t); }, "solid"},
        {"; The same things drawn on other backgrounds", [](std::uint8_t) { return true; }, "anything"},
    };
    return list;
}

} // namespace

TEST(TileTable, AgreesWithTheWorldsLegend)
{
    std::istringstream legend(test::readText(std::filesystem::path(PORONPA_MAP_SOURCES) / "legend.txt"));
    const Section* section = nullptr;
    int entries = 0;
    for (std::string line; std::getline(legend, line);) {
        if (line.empty())
            continue;
        if (line[0] == ';') {
            for (const Section& s : sections())
                if (line.rfind(s.heading, 0) == 0)
                    section = &s;
            continue;
        }
        std::istringstream fields(line);
        std::string code;
        int number = -1;
        fields >> code >> number >> std::ws;
        std::string words;
        std::getline(fields, words);
        ASSERT_TRUE(number >= 0 && number < tiles::WithPicture) << line;
        ASSERT_NE(section, nullptr) << "a tile before the legend's first part: " << line;
        const auto tile = static_cast<std::uint8_t>(number);
        EXPECT_EQ(tileName(tile), words) << "tile " << number;
        EXPECT_TRUE(section->holds(tile)) << "tile " << number << " should be " << section->claim;
        ++entries;
    }
    EXPECT_GT(entries, 0);
}

TEST(TileTable, ClassesByNumber)
{
    // Passable below 96, solid up to the sheet's last picture, passable scenery without one.
    for (int n = 0; n < 256; ++n) {
        const auto t = static_cast<std::uint8_t>(n);
        EXPECT_EQ(isSolid(t), n >= 96 && n < 192) << n;
        EXPECT_EQ(ropePasses(t), n <= 64) << n;
        if (n >= 192) {
            EXPECT_EQ(tileKind(t), TileKind::Scenery) << n;
            EXPECT_FALSE(isAnimated(t)) << n;
        }
    }
}
