#pragma once

#include "PixelArt.h"

/// The colours of every theme. Each theme keeps to a few ramps, lit from the top left; the
/// outline of a ramp is its darkest step.
namespace poronpa::art::palette {

/// A shading ramp from the lit side to the shadowed side.
struct Ramp {
    Rgb highlight;
    Rgb light;
    Rgb base;
    Rgb shadow;
    Rgb outline;
};

// Shared by every theme.
constexpr Rgb Ink = colour(0x1c1426);
constexpr Rgb White = colour(0xfcfcf8);

// Day sky and meadow.
constexpr Rgb Sky = colour(0x9cd4f0);
constexpr Rgb SkyHaze = colour(0xbde3f5);
constexpr Ramp Cloud{colour(0xfcfcf8), colour(0xeef4fa), colour(0xd6e6f4), colour(0xb4cde6), colour(0x7f9fc4)};
constexpr Ramp Grass{colour(0xb8e870), colour(0x84cc48), colour(0x58a834), colour(0x3a7c26), colour(0x1f4a1c)};
constexpr Ramp Earth{colour(0xd8a468), colour(0xb47c46), colour(0x8f5c34), colour(0x6a4026), colour(0x3c2418)};
constexpr Ramp Bark{colour(0xa87850), colour(0x88603e), colour(0x6c4a30), colour(0x523622), colour(0x2e1e14)};
constexpr Ramp Leaves{colour(0x9ad858), colour(0x6cb840), colour(0x48942e), colour(0x2e6e24), colour(0x1a4418)};
constexpr Rgb FlowerPink = colour(0xf47ca0);
constexpr Rgb FlowerPinkDark = colour(0xc04870);
constexpr Rgb FlowerYellow = colour(0xf8d848);
constexpr Rgb FlowerYellowDark = colour(0xc89a20);
constexpr Ramp Sand{colour(0xfae6b0), colour(0xf0d290), colour(0xdcb470), colour(0xb88e52), colour(0x6e5030)};
constexpr Ramp Hemp{colour(0xf0dca8), colour(0xd8bc84), colour(0xb89a62), colour(0x8a7044), colour(0x4a3a22)};
constexpr Ramp Bamboo{colour(0xc8ec8c), colour(0x9cd068), colour(0x74ae48), colour(0x528a34), colour(0x2a4a1c)};
constexpr Ramp Cushion{colour(0xffd0e0), colour(0xf8a0c0), colour(0xe070a0), colour(0xb04c80), colour(0x5a2044)};
constexpr Ramp Cliff{colour(0xd8ac7c), colour(0xc89a6a), colour(0xb48658), colour(0x9c7048), colour(0x84603e)};

// Village.
constexpr Ramp Plaster{colour(0xfaf4e6), colour(0xf0e6d0), colour(0xe0d2b4), colour(0xc4b290), colour(0x7a6a50)};
constexpr Ramp Timber{colour(0x9a6a44), colour(0x7e5434), colour(0x643e26), colour(0x4a2c1c), colour(0x2a1a12)};
constexpr Ramp Wood{colour(0xe8b478), colour(0xd09858), colour(0xb07a40), colour(0x8a5a2e), colour(0x4e321c)};
constexpr Ramp RoofTile{colour(0x9aa6bc), colour(0x7886a0), colour(0x5c6884), colour(0x444e68), colour(0x262c40)};
constexpr Ramp WallStone{colour(0xd4ccb8), colour(0xb8ae98), colour(0x9a907a), colour(0x7a705e), colour(0x4a4438)};
constexpr Ramp Brick{colour(0xe88a64), colour(0xcc6a48), colour(0xac5038), colour(0x86382a), colour(0x4a1e18)};
constexpr Rgb LanternRed = colour(0xe44c3c);
constexpr Rgb LanternDark = colour(0xa82e2a);
constexpr Rgb Glow = colour(0xffe890);
constexpr Rgb GlowWarm = colour(0xffc860);
constexpr Rgb Paper = colour(0xfff6dc);

// Caves.
// Passable backgrounds are dark, flat and greyish, so that the lit solid ground in front of them
// reads at a glance as what the hero stands on.
constexpr Rgb CaveDark = colour(0x1c1a22);
constexpr Ramp CaveWall{colour(0x38343f), colour(0x33303a), colour(0x2e2b35), colour(0x2a2731), colour(0x23212a)};
constexpr Ramp Rock{colour(0xd4cae0), colour(0xb2a8c6), colour(0x928aa8), colour(0x6e6688), colour(0x2c2440)};

// Castle.
constexpr Ramp Ashlar{colour(0xe4e4ea), colour(0xc8c8d2), colour(0xa8a8b8), colour(0x84849a), colour(0x3e3e56)};
constexpr Ramp CastleInside{colour(0x3e383f), colour(0x39343a), colour(0x343036), colour(0x2f2b31), colour(0x252226)};
constexpr Ramp CastleRoof{colour(0x7cb4a8), colour(0x5a9688), colour(0x40786c), colour(0x2c5a52), colour(0x18342e)};
constexpr Ramp Gold{colour(0xfff0a0), colour(0xf8d050), colour(0xd8a830), colour(0xa87820), colour(0x5a3e10)};
constexpr Ramp Lacquer{colour(0xf07860), colour(0xd84838), colour(0xb03028), colour(0x842020), colour(0x421010)};

// Water.
constexpr Rgb Foam = colour(0xf4fbff);
constexpr Ramp Water{colour(0xb8e8fc), colour(0x78c4ee), colour(0x4c9ce0), colour(0x3474c4), colour(0x22509a)};
constexpr Ramp CaveWater{colour(0x6c8ed0), colour(0x4a6cb8), colour(0x36549c), colour(0x28407e), colour(0x1a2a58)};
constexpr Rgb Weed = colour(0x3c9c6c);
constexpr Rgb WeedDark = colour(0x246c4c);

// Volcano.
constexpr Ramp VolcanoWall{colour(0x3a2928), colour(0x352524), colour(0x302120), colour(0x2b1e1d), colour(0x231818)};
constexpr Ramp Basalt{colour(0xd8aa98), colour(0xb8887a), colour(0x98685c), colour(0x744c44), colour(0x2e1416)};
constexpr Ramp Lava{colour(0xfff0a0), colour(0xffc040), colour(0xff8020), colour(0xe04418), colour(0x901c10)};
constexpr Ramp Flame{colour(0xfffce0), colour(0xffe060), colour(0xffa028), colour(0xf05018), colour(0xa01c10)};

// Ice.
constexpr Ramp IceWall{colour(0x3e4a58), colour(0x384452), colour(0x323e4b), colour(0x2d3845), colour(0x26303b)};
constexpr Ramp Ice{colour(0xfcffff), colour(0xcaf2ff), colour(0x96d8f4), colour(0x64aee0), colour(0x2c5e9c)};

// Night sky.
constexpr Rgb Night = colour(0x1c2050);
constexpr Rgb NightHaze = colour(0x262c64);
constexpr Rgb Star = colour(0xfff6c0);
constexpr Rgb StarDim = colour(0xa8aee8);
constexpr Ramp NightCloud{colour(0xe8e8fa), colour(0xc8cae8), colour(0xa4a6d2), colour(0x7c7eb4), colour(0x4c4e88)};
constexpr Ramp NightGrass{colour(0x8ad0a0), colour(0x5cae84), colour(0x3e8a6a), colour(0x2a6652), colour(0x163a34)};
constexpr Ramp NightEarth{colour(0x8a7498), colour(0x6c5a80), colour(0x544668), colour(0x3e3452), colour(0x221c32)};
constexpr Ramp Marble{colour(0xfaf6ff), colour(0xe0dcf0), colour(0xc0bada), colour(0x9892b8), colour(0x4a4470)};
constexpr Ramp Moon{colour(0xfffce8), colour(0xfff0b0), colour(0xf8dc88), colour(0xe0bc68), colour(0xb08c48)};
constexpr Ramp Pampas{colour(0xfff8e0), colour(0xf0e0b8), colour(0xd8c490), colour(0xb09c68), colour(0x6a5a38)};

// Metal and machines.
constexpr Ramp Steel{colour(0xf0f2f8), colour(0xc8ccd8), colour(0x9ca2b4), colour(0x6c7288), colour(0x2e3244)};
constexpr Ramp Belt{colour(0x8a8e9a), colour(0x6c707c), colour(0x54586a), colour(0x3c4050), colour(0x1e2030)};
constexpr Ramp Hazard{colour(0xfff080), colour(0xf8d030), colour(0xe0a818), colour(0xb07c10), colour(0x4e3408)};
constexpr Rgb ScreenDark = colour(0x1a2a22);
constexpr Rgb ScreenGreen = colour(0x60f090);
constexpr Rgb ScreenGlow = colour(0x2e8050);
constexpr Rgb LedAmber = colour(0xffb830);
constexpr Rgb LedOff = colour(0x4a2c18);

// The four key colours.
constexpr Ramp KeyBlue{colour(0xa8d0ff), colour(0x6ca4f8), colour(0x3c74e0), colour(0x2850b0), colour(0x142a66)};
constexpr Ramp KeyGreen{colour(0xb0f0a0), colour(0x70d064), colour(0x3caa44), colour(0x2a7c34), colour(0x14401c)};
constexpr Ramp KeyRed{colour(0xffb0a0), colour(0xf87060), colour(0xe03c38), colour(0xa82430), colour(0x581018)};
constexpr Ramp KeyYellow{colour(0xfff4b0), colour(0xffe060), colour(0xf0bc28), colour(0xc08c18), colour(0x5c400c)};
/// The key colours in the keys' item order, which is their doors' order too.
constexpr const Ramp* KeyColours[4] = {&KeyBlue, &KeyGreen, &KeyRed, &KeyYellow};

} // namespace poronpa::art::palette
