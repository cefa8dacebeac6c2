// The world as the player sees it: every tile drawn on a background shows the background of the
// place where it stands, and what an opened box, a crumbled block, an opened door or broken glass
// leaves behind fits in there too. Both read the pictures of the built tile sheet and the world's
// sources, so a change to either is checked.
#include "assets/Pictures.h"
#include "tools/mapc/MapSource.h"
#include "world/SheetCells.h"
#include "world/TileFacts.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <sstream>
#include <string>

using namespace poronpa;

namespace {

/// The plain pictures the world's scenery is drawn on: day sky, cave, night sky, cliff, castle
/// bricks, leaves, plaster, water, cave water, ice cave, volcano.
constexpr std::array Backgrounds = {0, 1, 6, 8, 9, 14, 20, 49, 86, 63, 64};

enum Side { Left, Right, Top, Bottom };
constexpr std::array<const char*, 4> SideNames = {"left", "right", "top", "bottom"};
constexpr Side opposite(Side s) { return static_cast<Side>(s ^ 1); }

/// A side of a picture counts as showing a background when at least this many of its 32 pixels
/// are that background's own pixels: a rounded-off corner of a few pixels does not.
constexpr int ShowingPixels = 4;

bool isBackground(int tile)
{
    return std::find(Backgrounds.begin(), Backgrounds.end(), tile) != Backgrounds.end();
}

class TilePictures {
public:
    TilePictures() : sheet_(pictures::tileSheet()) {}

    QRgb pixel(int tile, int x, int y) const { return sheet_.pixel(sheet::cellX(tile) + x, sheet::cellY(tile) + y); }

    /// The background a side of a tile's picture shows: the one whose pixels it repeats most
    /// along that side, if it repeats enough of them.
    std::optional<int> sideShows(int tile, Side side) const
    {
        if (isBackground(tile))
            return tile;
        std::optional<int> best;
        int bestCount = ShowingPixels - 1;
        for (int b : Backgrounds) {
            int count = 0;
            for (int i = 0; i < 32; ++i) {
                const auto [x, y] = along(side, i);
                count += pixel(tile, x, y) == pixel(b, x, y);
            }
            if (count > bestCount) {
                bestCount = count;
                best = b;
            }
        }
        return best;
    }

    /// True when the picture's whole frame is one background's frame: the background itself, or
    /// it with something small in the middle (a star).
    bool plainBackground(int tile) const
    {
        if (isBackground(tile))
            return true;
        for (int b : Backgrounds) {
            bool same = true;
            for (int s = Left; s <= Bottom && same; ++s)
                for (int i = 0; i < 32 && same; ++i) {
                    const auto [x, y] = along(static_cast<Side>(s), i);
                    same = pixel(tile, x, y) == pixel(b, x, y);
                }
            if (same)
                return true;
        }
        return false;
    }

private:
    static std::pair<int, int> along(Side side, int i)
    {
        switch (side) {
        case Left: return {0, i};
        case Right: return {31, i};
        case Top: return {i, 0};
        default: return {i, 31};
        }
    }

    QImage sheet_;
};

const TilePictures& tilePictures()
{
    static const TilePictures pictures;
    return pictures;
}

MapGrid world()
{
    MapGrid map;
    const auto status = mapsource::compileWorld(PORONPA_MAP_SOURCES, map);
    EXPECT_TRUE(status.ok()) << status.error;
    return map;
}

struct Place {
    const MapGrid& map;
    int ax, ay, c, r;

    int tile() const { return map.areaCell(ax, ay, c, r); }
    /// The neighbour across a side inside the same area: areas are drawn one at a time, so the
    /// cells of the next area are never seen beside these.
    std::optional<int> beside(Side s) const
    {
        const int dc = s == Left ? -1 : (s == Right ? 1 : 0);
        const int dr = s == Top ? -1 : (s == Bottom ? 1 : 0);
        const int nc = c + dc;
        const int nr = r + dr;
        if (nc < 0 || nr < 0 || nc >= MapGrid::AreaCells || nr >= MapGrid::AreaCells)
            return std::nullopt;
        return map.areaCell(ax, ay, nc, nr);
    }
    std::string name() const
    {
        std::ostringstream out;
        out << "area (" << ax << ", " << ay << ") cell (" << c << ", " << r << ")";
        return out.str();
    }
};

/// How the backgrounds a picture shows on its sides meet the neighbours' pictures there.
struct Fit {
    std::map<int, int> matches;    ///< background -> sides where the neighbour shows it too
    std::map<int, int> mismatches; ///< background -> sides where the neighbour shows another one
    std::string why;               ///< the mismatching sides, named

    /// No background the picture shows clashes with more of its neighbours than carry it on: a
    /// trunk under a canopy (sky on both sides) fits, a box of sky in a house does not. Where two
    /// backgrounds meet (a ladder leaving a shaft for the open sky, a doorway) the draw fits; a
    /// run of wrong pictures still shows where it ends among the plain backgrounds.
    bool fits() const
    {
        for (const auto& [background, count] : mismatches)
            if (count > (matches.contains(background) ? matches.at(background) : 0))
                return false;
        return true;
    }
    int totalMatches() const
    {
        int n = 0;
        for (const auto& [background, count] : matches)
            n += count;
        return n;
    }
};

/// How tile `tile` would fit at the place, among the neighbours there.
Fit fitAt(const Place& at, int tile)
{
    const TilePictures& pictures = tilePictures();
    Fit fit;
    for (int s = Left; s <= Bottom; ++s) {
        const Side side = static_cast<Side>(s);
        const auto own = pictures.sideShows(tile, side);
        const auto neighbour = at.beside(side);
        if (!own || !neighbour)
            continue;
        const auto theirs = pictures.sideShows(*neighbour, opposite(side));
        if (!theirs)
            continue;
        if (*theirs == *own) {
            ++fit.matches[*own];
        } else {
            ++fit.mismatches[*own];
            fit.why += std::string(" ") + SideNames[s] + ": tile " + std::to_string(*neighbour) + " shows " +
                       std::to_string(*theirs) + ";";
        }
    }
    return fit;
}

template <typename Visit>
void forEachCell(const MapGrid& map, Visit visit)
{
    for (int ay = 0; ay < MapGrid::Areas; ++ay)
        for (int ax = 0; ax < MapGrid::Areas; ++ax)
            for (int r = 0; r < MapGrid::AreaCells; ++r)
                for (int c = 0; c < MapGrid::AreaCells; ++c)
                    visit(Place{map, ax, ay, c, r});
}

} // namespace

TEST(WorldLook, EveryTileShowsTheBackgroundOfItsPlace)
{
    const MapGrid map = world();
    int checked = 0;
    forEachCell(map, [&](const Place& at) {
        const int t = at.tile();
        const Fit fit = fitAt(at, t);
        checked += fit.totalMatches() > 0;
        EXPECT_TRUE(fit.fits()) << at.name() << ": tile " << t << " clashes with its neighbours:" << fit.why;
    });
    // The check reads backgrounds off the pictures; if it found none it would pass on anything.
    EXPECT_GT(checked, 1000);
}

TEST(WorldLook, WhatOpenedAndBrokenThingsLeaveFitsTheirPlace)
{
    const MapGrid map = world();
    const TilePictures& pictures = tilePictures();
    forEachCell(map, [&](const Place& at) {
        const int t = at.tile();
        const TileKind kind = tileKind(static_cast<std::uint8_t>(t));
        const bool box = kind == TileKind::TreasureBox;
        const bool fromAbove = box || kind == TileKind::Crumbling || kind == TileKind::Glass || kind == TileKind::BrokenGlass;
        const bool door = kind == TileKind::Door;
        if (!fromAbove && !door)
            return;
        // An opened box, a crumbled block and broken glass take the tile above; an opened door
        // takes the tile to its right.
        const auto left = at.beside(door ? Right : Top);
        if (!left) {
            ADD_FAILURE() << at.name() << ": tile " << t << " has nothing to take its place in its area";
            return;
        }
        const std::string what = at.name() + ": tile " + std::to_string(t) + " leaves tile " + std::to_string(*left);
        if (!pictures.plainBackground(*left)) {
            ADD_FAILURE() << what << ", which is not a plain background";
            return;
        }
        const Fit fit = fitAt(at, *left);
        EXPECT_TRUE(fit.totalMatches() > 0 && fit.fits()) << what << ", which clashes with the neighbours:" << fit.why;
        // The box's own background is the one the player saw round it.
        if (const auto drawnOn = pictures.sideShows(t, Top); box && drawnOn) {
            EXPECT_EQ(pictures.sideShows(*left, Bottom), drawnOn) << what << ", but the box was drawn on tile " << *drawnOn;
        }
    });
}

int main(int argc, char** argv)
{
    // Pictures only: no display is needed, also when the test list is read.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
