#include "assets/Pictures.h"
#include "world/SheetCells.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

using namespace poronpa;

namespace {

QImage cell(const QImage& sheetImage, int n)
{
    return sheetImage.copy(sheet::cellX(n), sheet::cellY(n), sheet::CellSize, sheet::CellSize);
}

bool uniform(const QImage& image, QRgb colour)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != colour)
                return false;
    return true;
}

constexpr QRgb White = 0xFFFFFFFFu;
constexpr QRgb Black = 0xFF000000u;

/// What a player who sees no colour picks out first on a key or a door: the pixels within a few
/// levels of the lightest grey of the picture.
struct LightestPart {
    QImage grey;
    std::vector<bool> on; ///< per pixel, row by row
    QRect bounds;

    explicit LightestPart(const QImage& picture) : grey(picture.convertToFormat(QImage::Format_Grayscale8))
    {
        int lightest = 0;
        for (int y = 0; y < grey.height(); ++y)
            for (int x = 0; x < grey.width(); ++x)
                lightest = std::max(lightest, qGray(grey.pixel(x, y)));
        for (int y = 0; y < grey.height(); ++y)
            for (int x = 0; x < grey.width(); ++x) {
                on.push_back(qGray(grey.pixel(x, y)) >= lightest - 8);
                if (on.back())
                    bounds |= QRect(x, y, 1, 1);
            }
    }

    bool at(int x, int y) const { return on[static_cast<std::size_t>(y * grey.width() + x)]; }

    /// The part cut to its bounds, as rows of '#' and '.'.
    std::string shape() const
    {
        std::string rows;
        for (int y = bounds.top(); y <= bounds.bottom(); ++y) {
            for (int x = bounds.left(); x <= bounds.right(); ++x)
                rows += at(x, y) ? '#' : '.';
            rows += '\n';
        }
        return rows;
    }

    /// The pixels where one picture shows its part and the other does not, and the greys of the
    /// two differ by enough to be seen; both pictures of one size.
    int clearlyDifferentPixels(const LightestPart& other) const
    {
        int count = 0;
        for (int y = 0; y < grey.height(); ++y)
            for (int x = 0; x < grey.width(); ++x)
                if (at(x, y) != other.at(x, y) && std::abs(qGray(grey.pixel(x, y)) - qGray(other.grey.pixel(x, y))) >= 48)
                    ++count;
        return count;
    }
};

} // namespace

TEST(Pictures, EveryPictureHasItsSize)
{
    struct Case {
        const char* name;
        QImage image;
        QSize size;
    };
    std::vector<Case> cases = {
        {"tile sheet", pictures::tileSheet(), {256, 768}},
        {"sprite sheet", pictures::spriteSheet(), {256, 768}},
        {"game frame", pictures::gameFrame(), {518, 346}},
        {"title", pictures::titlePicture(), {518, 346}},
        {"dialog", pictures::dialogBackground(), {256, 160}},
    };
    for (int k = 0; k < 10; ++k)
        cases.push_back({"item icon", pictures::itemIcon(k), {32, 32}});
    for (const Case& c : cases) {
        EXPECT_EQ(c.image.size(), c.size) << c.name;
        EXPECT_FALSE(c.image.hasAlphaChannel()) << c.name;
    }
    EXPECT_TRUE(pictures::itemIcon(10).isNull());
    EXPECT_TRUE(pictures::windowIcon().availableSizes().contains(QSize(32, 32)));
}

TEST(Pictures, MaskedCellsAreWhiteOutsideTheirSilhouette)
{
    const QImage sprites = pictures::spriteSheet();
    for (int imageRow : {0, 2, 4, 6, 8}) {
        for (int column = 0; column < sheet::Columns; ++column) {
            const QImage image = cell(sprites, imageRow * sheet::Columns + column);
            const QImage mask = cell(sprites, (imageRow + 1) * sheet::Columns + column);
            // Hero sprite 28 is the one blank pose; every other masked cell shows something.
            const bool blankPose = imageRow == 6 && column == 4;
            EXPECT_EQ(uniform(mask, White), blankPose) << "row " << imageRow << " column " << column;
            for (int y = 0; y < 32; ++y) {
                for (int x = 0; x < 32; ++x) {
                    const QRgb m = mask.pixel(x, y);
                    ASSERT_TRUE(m == White || m == Black)
                        << "mask of row " << imageRow << " column " << column << " at " << x << "," << y;
                    if (m == White) {
                        ASSERT_EQ(image.pixel(x, y), White)
                            << "image of row " << imageRow << " column " << column << " at " << x << "," << y;
                    }
                }
            }
        }
    }
}

TEST(Pictures, EveryCellThatIsDrawnHasAPicture)
{
    const QImage tiles = pictures::tileSheet();
    for (int t = 0; t < sheet::Cells; ++t) {
        const QImage picture = cell(tiles, t);
        EXPECT_FALSE(uniform(picture, White) || uniform(picture, Black)) << "tile " << t;
    }
    const QImage sprites = pictures::spriteSheet();
    std::vector<int> opaqueCells = {sprites::Soul, sprites::Memo, sprites::HeroFront, sprites::Dud};
    for (int n = 88; n <= sprites::StoneBlock; ++n)
        if (n != 95)
            opaqueCells.push_back(n);
    for (int n : opaqueCells) {
        const QImage picture = cell(sprites, n);
        EXPECT_FALSE(uniform(picture, White) || uniform(picture, Black)) << "sprite sheet cell " << n;
    }
}

TEST(Pictures, RisingSoulLeavesNoTrail)
{
    // The mishap scene lifts the soul a pixel at a time without clearing; its lowest row must
    // be the black of the scene so that it wipes out what the previous copy left.
    const QImage soul = cell(pictures::spriteSheet(), sprites::Soul);
    for (int x = 0; x < 32; ++x)
        EXPECT_EQ(soul.pixel(x, 31), Black) << x;
}

TEST(Pictures, AnimatedTilesMoveAndStartFromTheirTilePicture)
{
    struct Case {
        int tile;
        std::vector<int> frames;
    };
    const std::vector<Case> cases = {
        {4, {106, 107}},   {5, {108, 109}},   {7, {126, 127}},       {12, {104, 105}},
        {15, {124, 125}},  {17, {112, 113}},  {18, {114, 115}},      {25, {120, 121}},
        {26, {122, 123}},  {32, {100, 101}},  {49, {110, 111}},      {54, {88, 89, 90, 91}},
        {56, {102, 103}},  {90, {128, 129}},  {91, {130, 131}},      {92, {132, 133}},
        {93, {134, 135}},  {143, {92, 93, 94}}, {154, {96, 97, 98, 99}}, {155, {96, 97, 98, 99}},
        {158, {116, 117, 118, 119}}, {159, {116, 117, 118, 119}}, {172, {136, 137, 138}},
    };
    const QImage tiles = pictures::tileSheet();
    const QImage sprites = pictures::spriteSheet();
    for (const Case& c : cases) {
        bool allSame = true;
        bool tileIsAFrame = false;
        const QImage first = cell(sprites, c.frames.front());
        for (int f : c.frames) {
            allSame = allSame && cell(sprites, f) == first;
            tileIsAFrame = tileIsAFrame || cell(sprites, f) == cell(tiles, c.tile);
        }
        EXPECT_FALSE(allSame) << "tile " << c.tile;
        // The tile sheet's picture is what the map shows before the animation first draws over
        // it, and what the editor shows: it must be one of the frames or the cell jumps.
        EXPECT_TRUE(tileIsAFrame) << "tile " << c.tile;
    }
}

TEST(Pictures, EdgeCornersBendTheRightWay)
{
    // The editor's Edge tool writes these where tile 8 (cliff) and tile 72 (cushion) meet at a
    // corner: each shows the other material in the corner that faces it, its own elsewhere.
    struct Case {
        int tile;
        int cornerX, cornerY;
        int cornerMaterial;
    };
    const std::vector<Case> cases = {
        {11, 0, 0, 72},   {10, 31, 0, 72},  {2, 31, 31, 72},  {3, 0, 31, 72},
        {89, 0, 0, 8},    {88, 31, 0, 8},   {80, 31, 31, 8},  {81, 0, 31, 8},
    };
    const QImage tiles = pictures::tileSheet();
    auto at = [&](int t, int x, int y) { return tiles.pixel(sheet::cellX(t) + x, sheet::cellY(t) + y); };
    for (const Case& c : cases) {
        const int ownMaterial = c.cornerMaterial == 8 ? 72 : 8;
        const int farX = 31 - c.cornerX;
        const int farY = 31 - c.cornerY;
        EXPECT_EQ(at(c.tile, c.cornerX, c.cornerY), at(c.cornerMaterial, c.cornerX, c.cornerY)) << "tile " << c.tile;
        EXPECT_EQ(at(c.tile, farX, farY), at(ownMaterial, farX, farY)) << "tile " << c.tile;
    }
}

TEST(Pictures, KeysAndTheirDoorsAreToldApartInGrey)
{
    // Red and green, or blue and green, may be one colour to a player: each key carries a shape,
    // the lightest thing on it in grey, that its door carries too and no other key does. The game
    // only magnifies these pictures pixel by pixel, so what tells them apart here does at any scale.
    const QImage tiles = pictures::tileSheet();
    std::vector<LightestPart> icons;
    std::vector<LightestPart> doors;
    for (int key = 0; key < 4; ++key) {
        icons.emplace_back(pictures::itemIcon(key));
        doors.emplace_back(cell(tiles, 148 + key));
        EXPECT_GE(std::count(icons[key].on.begin(), icons[key].on.end(), true), 30)
            << "key " << key << " shows no shape but a glint:\n" << icons[key].shape();
        EXPECT_EQ(doors[key].shape(), icons[key].shape()) << "key " << key << " and its door";
    }
    for (const auto* kind : {&icons, &doors}) {
        const std::vector<LightestPart>& parts = *kind;
        for (int a = 0; a < 4; ++a)
            for (int b = a + 1; b < 4; ++b)
                EXPECT_GE(parts[a].clearlyDifferentPixels(parts[b]), 12)
                    << (kind == &icons ? "keys " : "doors ") << a << " and " << b << ":\n"
                    << parts[a].shape() << "\n" << parts[b].shape();
    }
}

TEST(Pictures, SurfaceRoundTripKeepsEveryPixel)
{
    const QImage icon = pictures::itemIcon(3);
    const Surface surface = pictures::toSurface(icon);
    ASSERT_EQ(surface.width(), 32);
    EXPECT_EQ(surface.pixel(5, 7), icon.pixel(5, 7));
    EXPECT_EQ(pictures::toImage(surface), icon);
}

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
