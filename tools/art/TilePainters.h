#pragma once

#include "PixelArt.h"
#include "Terrain.h"

/// The painters of single tile-sheet cells and animation frames, one 32 × 32 canvas each. A
/// painter with a phase draws one step of an animation; phase 0 is the still picture.
namespace poronpa::art::tiles {

// Terrain and buildings (Solids.cpp).
void meadowGround(Canvas& c, unsigned edges);
void nightGround(Canvas& c, unsigned edges);
void floatingIsland(Canvas& c, bool night);
void caveRock(Canvas& c, unsigned edges);
void volcanicRock(Canvas& c, unsigned edges);
void frozenRock(Canvas& c, unsigned edges);
void sand(Canvas& c, bool top);
void stonePlatform(Canvas& c);
void viewingSpot(Canvas& c);
void endingStone(Canvas& c);
void roofTiles(Canvas& c, const palette::Ramp& ramp, int eave);
void woodenFloor(Canvas& c);
void villageStoneWall(Canvas& c);
void crate(Canvas& c);
void storehouseWall(Canvas& c);
void ruinStones(Canvas& c);
void boulder(Canvas& c);
void castleWall(Canvas& c, bool top, bool slit);
void castleFloor(Canvas& c);
void castlePillar(Canvas& c);
void foundationStones(Canvas& c);
void obsidian(Canvas& c);
void gardenBlock(Canvas& c);
void cloudPlatform(Canvas& c, int end);
void marbleBlock(Canvas& c);
void marbleColumn(Canvas& c, bool top);
void treeTrunk(Canvas& c);
void leafBlock(Canvas& c);
void scaffold(Canvas& c);
void tatami(Canvas& c);
void redBricks(Canvas& c);
void steelBlock(Canvas& c);
void hayBale(Canvas& c);
void stoneLedge(Canvas& c);
void teaHouseWall(Canvas& c);
void shingles(Canvas& c);
void mushroomCap(Canvas& c);
void mushroomStem(Canvas& c);
void crystalBlock(Canvas& c);
void snowBlock(Canvas& c);
void crumblingBlock(Canvas& c, bool marble, int wear);

// Scenery in front of a background (Scenery.cpp).
void flowers(Canvas& c);
void foliage(Canvas& c);
void thinTrunk(Canvas& c);
void houseWindow(Canvas& c);
void houseLantern(Canvas& c);
void fence(Canvas& c);
void bush(Canvas& c);
void cloudPuff(Canvas& c);
void moon(Canvas& c, int quarter);
void pampasGrass(Canvas& c);
void hangingVines(Canvas& c);
void cliffCushionFillet(Canvas& c, bool right, bool bottom);
void hiddenBlock(Canvas& c, Background background);
void star(Canvas& c, bool big, int phase);
void torch(Canvas& c, Background background, int phase);
void lamp(Canvas& c, Background background, int phase);
void flames(Canvas& c, int phase);
void flameJet(Canvas& c, int stage);
void lava(Canvas& c);
void spikes(Canvas& c, Background background, bool down);
/// Spikes standing in a pit in the floor, dark behind them: the picture fills its cell and fits
/// any floor.
void spikePit(Canvas& c);

// Water (Water.cpp).
void water(Canvas& c, const palette::Ramp& ramp, int phase);
void waterSurface(Canvas& c, Background above, const palette::Ramp& ramp, int phase, bool foam);
void reedSurface(Canvas& c, int phase);
void lakeBank(Canvas& c, bool right, bool surface, int phase);
void waterWeed(Canvas& c);
void riverBed(Canvas& c);
void sandyBottom(Canvas& c);
void waterfall(Canvas& c, int phase);
void bambooSpout(Canvas& c, int phase);

// Things to use (Gadgets.cpp).
void verticalSpring(Canvas& c, Background background, bool pressed);
/// A spring in an iron housing that fills its cell, for any place.
void springLauncher(Canvas& c, bool pressed);
void sideSpring(Canvas& c, Background background, bool throwsRight, bool pressed);
void cushion(Canvas& c, bool throwsRight, bool pressed);
void cushionCorner(Canvas& c, bool right, bool bottom);
void ladder(Canvas& c, Background background, const palette::Ramp& ramp);
void ropeLadder(Canvas& c);
void net(Canvas& c, Background background);
void claw(Canvas& c, Background background);
void lowGravityCloud(Canvas& c, int part);
void treasureBox(Canvas& c, Background background);
/// A big chest that fills its cell, for any place.
void bigTreasureBox(Canvas& c);
/// The door that key `key` opens (0..3, the keys' item order), in its colour and with its shape.
void door(Canvas& c, int key);
void glass(Canvas& c, bool broken);
void conveyor(Canvas& c, const palette::Ramp& ramp, int phase);
void iceBlock(Canvas& c, bool frosted);
void switchBlock(Canvas& c, int screen);
void panelDisplay(Canvas& c, int phase);

} // namespace poronpa::art::tiles
