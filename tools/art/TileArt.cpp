#include "TileArt.h"

#include "TilePainters.h"
#include "world/SheetCells.h"
#include "world/TileFacts.h"

namespace poronpa::art {

using namespace palette;
using namespace tiles;

namespace {

void paintScenery(Canvas& c, int t)
{
    switch (t) {
    case 0: paintSky(c); break;
    case 1: paintCaveWall(c); break;
    case 2: cliffCushionFillet(c, true, true); break;
    case 3: cliffCushionFillet(c, false, true); break;
    case 6: paintNightSky(c); break;
    case 8: paintCliffFace(c); break;
    case 9: paintCastleInside(c); break;
    case 10: cliffCushionFillet(c, true, false); break;
    case 11: cliffCushionFillet(c, false, false); break;
    case 13: thinTrunk(c); break;
    case 14: foliage(c); break;
    case 16: flowers(c); break;
    case 19: houseWindow(c); break;
    case 20: paintHouseWall(c); break;
    case 21: fence(c); break;
    case 22: houseLantern(c); break;
    case 23: bush(c); break;
    case 24: cloudPuff(c); break;
    case 27: lamp(c, paintIceWall, 0); break;
    case 28: moon(c, 0); break;
    case 29: moon(c, 1); break;
    case 30: moon(c, 2); break;
    case 31: moon(c, 3); break;
    case 33: lava(c); break;
    case 34: spikes(c, paintCastleInside, false); break;
    case 35: spikes(c, paintNightSky, false); break;
    case 36: spikePit(c); break;
    case 37: spikes(c, paintSky, false); break;
    case 38: verticalSpring(c, paintSky, false); break;
    case 39: verticalSpring(c, paintSky, true); break;
    case 40: ladder(c, paintCastleInside, Wood); break;
    case 41: ladder(c, paintCaveWall, Wood); break;
    case 42: ladder(c, paintHouseWall, Wood); break;
    case 43: ladder(c, paintSky, Wood); break;
    case 44: sideSpring(c, paintSky, false, false); break;
    case 45: sideSpring(c, paintSky, false, true); break;
    case 46: sideSpring(c, paintSky, true, false); break;
    case 47: sideSpring(c, paintSky, true, true); break;
    case 48: waterSurface(c, paintCastleInside, CaveWater, 0, false); break;
    case 50: lowGravityCloud(c, 0); break;
    case 51: lowGravityCloud(c, 1); break;
    case 52: claw(c, paintSky); break;
    case 53: claw(c, paintCastleInside); break;
    case 55: treasureBox(c, paintSky); break;
    case 57: sandyBottom(c); break;
    case 58: lowGravityCloud(c, 2); break;
    case 59: lowGravityCloud(c, 3); break;
    case 60: lowGravityCloud(c, 4); break;
    case 61: hiddenBlock(c, paintSky); break;
    case 62: hiddenBlock(c, paintIceWall); break;
    case 63: paintIceWall(c); break;
    case 64: paintVolcanoWall(c); break;
    case 65: net(c, paintIceWall); break;
    case 66: ropeLadder(c); break;
    case 67: ladder(c, paintVolcanoWall, Steel); break;
    case 68: verticalSpring(c, paintCaveWall, false); break;
    case 69: verticalSpring(c, paintCaveWall, true); break;
    case 70: springLauncher(c, false); break;
    case 71: springLauncher(c, true); break;
    case 72: cushion(c, false, false); break;
    case 73: cushion(c, false, true); break;
    case 74: cushion(c, true, false); break;
    case 75: cushion(c, true, true); break;
    case 76: sideSpring(c, paintCaveWall, false, false); break;
    case 77: sideSpring(c, paintCaveWall, false, true); break;
    case 78: sideSpring(c, paintCaveWall, true, false); break;
    case 79: sideSpring(c, paintCaveWall, true, true); break;
    case 80: cushionCorner(c, true, true); break;
    case 81: cushionCorner(c, false, true); break;
    case 82: bigTreasureBox(c); break;
    case 83: treasureBox(c, paintCaveWall); break;
    case 84: hangingVines(c); break;
    case 85: torch(c, paintVolcanoWall, 0); break;
    case 86: water(c, CaveWater, 0); break;
    case 87: waterSurface(c, paintCaveWall, CaveWater, 0, false); break;
    case 88: cushionCorner(c, true, false); break;
    case 89: cushionCorner(c, false, false); break;
    case 94: waterWeed(c); break;
    case 95: riverBed(c); break;
    }
}

void paintSolid(Canvas& c, int t)
{
    switch (t) {
    case 96: meadowGround(c, Top); break;
    case 97: meadowGround(c, 0); break;
    case 98: stonePlatform(c); break;
    case 99: caveRock(c, 0); break;
    case 100: castleWall(c, false, false); break;
    case 101: woodenFloor(c); break;
    case 102: ruinStones(c); break;
    case 103: volcanicRock(c, 0); break;
    case 104: cloudPlatform(c, 0); break;
    case 105: frozenRock(c, 0); break;
    case 106: roofTiles(c, RoofTile, 0); break;
    case 107: meadowGround(c, Top | Left); break;
    case 108: meadowGround(c, Top | Right); break;
    case 109: meadowGround(c, Left); break;
    case 110: meadowGround(c, Right); break;
    case 111: meadowGround(c, Bottom); break;
    case 112: caveRock(c, Top); break;
    case 113: caveRock(c, Top | Left); break;
    case 114: caveRock(c, Top | Right); break;
    case 115: caveRock(c, Left); break;
    case 116: caveRock(c, Right); break;
    case 117: caveRock(c, Bottom); break;
    case 118: boulder(c); break;
    case 119: crystalBlock(c); break;
    case 120: castleWall(c, true, false); break;
    case 121: castleWall(c, false, true); break;
    case 122: castleFloor(c); break;
    case 123: castlePillar(c); break;
    case 124: foundationStones(c); break;
    case 125: roofTiles(c, CastleRoof, 0); break;
    case 126: roofTiles(c, CastleRoof, -1); break;
    case 127: roofTiles(c, CastleRoof, 1); break;
    case 128: volcanicRock(c, Top); break;
    case 129: volcanicRock(c, Top | Left); break;
    case 130: volcanicRock(c, Top | Right); break;
    case 131: obsidian(c); break;
    case 132: frozenRock(c, Top); break;
    case 133: snowBlock(c); break;
    case 134: villageStoneWall(c); break;
    case 135: gardenBlock(c); break;
    case 136: nightGround(c, Top); break;
    case 137: nightGround(c, 0); break;
    case 138: nightGround(c, Top | Left); break;
    case 139: nightGround(c, Top | Right); break;
    case 140: cloudPlatform(c, -1); break;
    case 141: cloudPlatform(c, 1); break;
    case 142: viewingSpot(c); break;
    case 148:
    case 149:
    case 150:
    case 151: door(c, t - 148); break;
    case 152: glass(c, false); break;
    case 153: glass(c, true); break;
    case 156: iceBlock(c, false); break;
    case 157: iceBlock(c, true); break;
    case 164: treeTrunk(c); break;
    case 165: leafBlock(c); break;
    case 166: scaffold(c); break;
    case 167: tatami(c); break;
    case 168: sand(c, true); break;
    case 169: sand(c, false); break;
    case 170: marbleColumn(c, false); break;
    case 171: marbleColumn(c, true); break;
    case 173: redBricks(c); break;
    case 174: steelBlock(c); break;
    case 175: hayBale(c); break;
    case 176: stoneLedge(c); break;
    case 177: teaHouseWall(c); break;
    case 178: shingles(c); break;
    case 179: mushroomCap(c); break;
    case 180: mushroomStem(c); break;
    case 181: roofTiles(c, RoofTile, -1); break;
    case 182: roofTiles(c, RoofTile, 1); break;
    case 183: crate(c); break;
    case 184: storehouseWall(c); break;
    case 185: floatingIsland(c, false); break;
    case 186: floatingIsland(c, true); break;
    case 187: meadowGround(c, Bottom | Left); break;
    case 188: meadowGround(c, Bottom | Right); break;
    case 189: caveRock(c, Bottom | Left); break;
    case 190: caveRock(c, Bottom | Right); break;
    case 191: marbleBlock(c); break;
    default:
        if (t >= 144 && t <= 147)
            crumblingBlock(c, false, t - 144);
        else if (t >= 160 && t <= 163)
            crumblingBlock(c, true, t - 160);
        break;
    }
}

} // namespace

QImage paintTile(int tile)
{
    // An animated tile's own cell shows the picture it has while the switch is off or the jet idle.
    if (isAnimated(static_cast<std::uint8_t>(tile)))
        return paintAnimationCell(tileFacts(static_cast<std::uint8_t>(tile)).animation.still);
    QImage image = blankImage(sheet::CellSize, sheet::CellSize, PureBlack);
    Canvas c(image);
    if (!isSolid(static_cast<std::uint8_t>(tile)))
        paintScenery(c, tile);
    else
        paintSolid(c, tile);
    return image;
}

QImage paintAnimationCell(int n)
{
    QImage image = blankImage(sheet::CellSize, sheet::CellSize, PureBlack);
    Canvas c(image);
    if (n >= 88 && n <= 91)
        flameJet(c, n - 88);
    else if (n >= 92 && n <= 94)
        switchBlock(c, n == 94 ? 0 : n - 91);
    else if (n >= 96 && n <= 99)
        conveyor(c, Belt, n - 96);
    else if (n == 100 || n == 101)
        flames(c, n - 100);
    else if (n == 102 || n == 103)
        reedSurface(c, n - 102);
    else if (n == 104 || n == 105)
        waterfall(c, n - 104);
    else if (n == 106 || n == 107)
        bambooSpout(c, n - 106);
    else if (n == 108 || n == 109)
        waterSurface(c, paintSky, Water, n - 108, true);
    else if (n == 110 || n == 111)
        water(c, Water, n - 110);
    else if (n == 112 || n == 113)
        torch(c, paintCastleInside, n - 112);
    else if (n == 114 || n == 115)
        lamp(c, paintCastleInside, n - 114);
    else if (n >= 116 && n <= 119)
        conveyor(c, Hazard, n - 116);
    else if (n == 120 || n == 121)
        torch(c, paintCaveWall, n - 120);
    else if (n == 122 || n == 123)
        lamp(c, paintCaveWall, n - 122);
    else if (n == 124 || n == 125)
        star(c, true, n - 124);
    else if (n == 126 || n == 127)
        star(c, false, n - 126);
    else if (n >= 128 && n <= 135)
        lakeBank(c, ((n - 128) / 2) % 2 == 1, n < 132, n % 2);
    else if (n >= 136 && n <= 138)
        panelDisplay(c, n - 136);
    else if (n == 139)
        endingStone(c);
    else
        return {};
    return image;
}

QImage paintTileSheet()
{
    QImage sheetImage = blankImage(sheet::Width, sheet::Height, PureBlack);
    Canvas c(sheetImage);
    for (int t = 0; t < sheet::Cells; ++t)
        c.paste(paintTile(t), sheet::cellX(t), sheet::cellY(t));
    return sheetImage;
}

} // namespace poronpa::art
