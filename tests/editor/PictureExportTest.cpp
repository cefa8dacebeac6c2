#include "app/base/FileNames.h"
#include "editor/BitmapFile.h"
#include "editor/MapEditor.h"
#include "tests/editor/EditorFixture.h"
#include "tests/support/TempDir.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace poronpa;
using poronpa::test::solidTileSheet;
using poronpa::test::tileColour;
using poronpa::test::TempDir;

namespace {

std::uint32_t little32(const std::vector<unsigned char>& bytes, std::size_t at)
{
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

/// Checks that the file is a plain uncompressed 24-bit bitmap and returns its picture.
QImage readBitmap(const std::filesystem::path& path)
{
    const auto bytes = test::readBytes(path);
    EXPECT_GE(bytes.size(), 54u);
    if (bytes.size() < 54)
        return {};
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(little32(bytes, 2), bytes.size());
    EXPECT_EQ(little32(bytes, 14), 40u) << "info header";
    EXPECT_EQ(bytes[28] | bytes[29] << 8, 24) << "bits per pixel";
    EXPECT_EQ(little32(bytes, 30), 0u) << "compression";
    return QImage(QString::fromStdString(path.string()), "BMP");
}

} // namespace

TEST(BitmapFile, RowsAreStoredBottomUpAndPadded)
{
    // Three pixels make a row of nine bytes, padded to twelve.
    Surface picture(3, 2);
    const std::uint32_t colours[2][3] = {{rgb(255, 0, 0), rgb(0, 255, 0), rgb(0, 0, 255)},
                                         {rgb(1, 2, 3), rgb(250, 251, 252), rgb(128, 64, 32)}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            picture.setPixel(x, y, colours[y][x]);

    const auto bytes = encodeBitmap(picture);
    ASSERT_EQ(bytes.size(), 54u + 2 * 12);
    EXPECT_EQ(bytes[54], 3) << "the first row stored is the bottom one, blue first";
    EXPECT_EQ(bytes[56], 1);

    TempDir dir;
    ASSERT_TRUE(saveBitmap(dir / "small.bmp", picture).ok());
    const QImage image = readBitmap(dir / "small.bmp");
    ASSERT_EQ(image.size(), QSize(3, 2));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(image.pixel(x, y), colours[y][x]) << x << "," << y;
}

TEST(PictureExport, WholeWorldPictureHasEveryAreaInItsSquare)
{
    MapGrid map;
    for (int ax = 0; ax < 5; ++ax)
        for (int ay = 0; ay < 5; ++ay)
            for (int i = 0; i < 50; ++i)
                for (int j = 0; j < 50; ++j)
                    map.setCell(50 * ax + i, 50 * ay + j, static_cast<std::uint8_t>(5 * ax + ay + 1));
    MapEditor editor(map, solidTileSheet());
    editor.overviewRelease(35, 15);
    const Surface canvasBefore = editor.canvas();

    TempDir dir;
    ASSERT_TRUE(editor.exportWorld(dir.path()).ok());
    const QImage image = readBitmap(dir / "allmap.bmp");
    ASSERT_EQ(image.size(), QSize(1000, 1000));
    for (const auto& [x, y] : {std::pair{400, 0}, {599, 199}, {500, 100}})
        EXPECT_EQ(image.pixel(x, y), tileColour(5 * 2 + 0 + 1)) << "area (2, 0) at " << x << "," << y;
    EXPECT_EQ(image.pixel(399, 0), tileColour(5 * 1 + 0 + 1));
    EXPECT_EQ(image.pixel(400, 200), tileColour(5 * 2 + 1 + 1));
    EXPECT_EQ(image.pixel(999, 999), tileColour(5 * 4 + 4 + 1));

    EXPECT_EQ(editor.areaX(), 3);
    EXPECT_EQ(editor.areaY(), 1);
    EXPECT_EQ(editor.canvas(), canvasBefore) << "the canvas still shows the current area";
}

TEST(PictureExport, AreaPictureIsTheCanvasUnderTheAreasName)
{
    MapGrid map;
    map.setCell(200, 50, 9);
    MapEditor editor(map, solidTileSheet());
    editor.overviewRelease(45, 15);
    editor.paletteRelease(40, 70);
    editor.canvasPress(LeftButton, 40, 0); // painted since the area was drawn: saved as well
    editor.canvasRelease(NoButton);

    TempDir dir;
    test::writeBytes(dir / "map41.bmp", std::vector<unsigned char>(5'000'000, 1));
    ASSERT_TRUE(editor.exportArea(dir.path()).ok());
    const QImage image = readBitmap(dir / "map41.bmp");
    ASSERT_EQ(image.size(), QSize(1600, 1600));
    EXPECT_EQ(image.pixel(0, 0), tileColour(9));
    EXPECT_EQ(image.pixel(32, 0), tileColour(17));
    EXPECT_EQ(image.pixel(1599, 1599), tileColour(0));
    EXPECT_EQ(filenames::areaPicture(2, 3), "map23.bmp");
    EXPECT_EQ(filenames::areaPicture(0, 0), "map00.bmp");
}
