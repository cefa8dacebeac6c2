#include "KeyMarks.h"

#include "Palette.h"

namespace poronpa::art {

namespace {

// Circle, triangle, square and star. The square is inset so that its straight sides fall
// inside the circle's curve: at this size a full-width square would differ from the circle by
// its four corner pixels only.
constexpr const char* Shapes[4][KeyMarkSize] = {
    {"...ooooo...", ".oowwwwwoo.", ".owwwwwwwo.", "owwwwwwwwwo", "owwwwwwwwwo", "owwwwwwwwwo",
     "owwwwwwwwwo", "owwwwwwwwwo", ".owwwwwwwo.", ".oowwwwwoo.", "...ooooo..."},
    {".....o.....", "....owo....", "....owo....", "...owwwo...", "...owwwo...", "..owwwwwo..",
     "..owwwwwo..", ".owwwwwwwo.", ".owwwwwwwo.", "owwwwwwwwwo", "ooooooooooo"},
    {"...........", ".ooooooooo.", ".owwwwwwwo.", ".owwwwwwwo.", ".owwwwwwwo.", ".owwwwwwwo.",
     ".owwwwwwwo.", ".owwwwwwwo.", ".owwwwwwwo.", ".ooooooooo.", "..........."},
    {".....o.....", "....owo....", "...owwwo...", "oooowwwoooo", "owwwwwwwwwo", ".owwwwwwwo.",
     "..owwwwwo..", "..owwwwwo..", ".owwwowwwo.", ".owwo.owwo.", ".ooo...ooo."},
};

// Pure white: lighter than anything else on a key's icon or a door, the highlights of the
// yellow ramp included, so that in grey the shape is the lightest thing there.
constexpr Rgb MarkFill = PureWhite;

} // namespace

void drawKeyMark(Canvas& c, int key, int x, int y)
{
    for (int j = 0; j < KeyMarkSize; ++j)
        for (int i = 0; i < KeyMarkSize; ++i)
            switch (Shapes[key][j][i]) {
            case 'o': c.set(x + i, y + j, palette::Ink); break;
            case 'w': c.set(x + i, y + j, MarkFill); break;
            default: break;
            }
}

} // namespace poronpa::art
