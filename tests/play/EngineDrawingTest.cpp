#include "EngineFixture.h"

#include "play/Animation.h"

using namespace poronpa;
using namespace poronpa::test;

namespace {

class Drawing : public EngineTest {
protected:
    void SetUp() override { row(2, 4, 1, 49, 48, 96); }

    /// True when the whole cell (c, r) of the canvas shows one colour.
    bool cellShows(int c, int r, std::uint32_t colour) const
    {
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (canvas().pixel(32 * c + x, 32 * r + y) != colour)
                    return false;
        return true;
    }
};

} // namespace

TEST_F(Drawing, ViewFollowsTheHeroWithinTheArea)
{
    for (const auto& [x, scrollX] : {std::pair{32.f, 0}, std::pair{1536.f, -1280}, std::pair{500.f, -356},
                                     std::pair{500.5f, -356}, std::pair{501.5f, -358}}) {
        start(2, 4, x, 1504);
        s.HeroState = StateClimbing; // holds still
        run();
        EXPECT_EQ(host.views.back(), (std::pair{scrollX, -1280})) << x;
    }
}

TEST_F(Drawing, TheHeroLeavesNoTraceOnAnAnimatedTile)
{
    put(2, 4, 5, 47, 4); // a waterfall behind the hero
    start(2, 4, 160, 1504);
    run();
    const std::uint32_t hero = cellColour(0); // frame 0: standing, facing right
    EXPECT_EQ(canvas().pixel(165, 1510), hero);
    hold({keys::Right});
    runUntil([&] { return s.HeroX >= 192; }); // the first frame clear of the waterfall
    const int frame = play::tileAnimationFrame(4, s.FrameClock, s.SwitchOn);
    EXPECT_TRUE(cellShows(5, 47, cellColour(frame)));
    EXPECT_TRUE(cellShows(4, 47, cellColour(0)));
}

TEST_F(Drawing, AnOpenedDoorShowsTheHeroOverTheNewPicture)
{
    put(2, 4, 6, 47, 148);
    put(2, 4, 7, 47, 21);
    start(2, 4, 160, 1504, {BlueKey});
    run();
    hold({keys::Right});
    runUntil([&] { return cell(6, 47) != 148; });
    run();
    // The door's cell shows tile 21 beside the hero, and the hero over it.
    const int heroFrame = play::heroAnimationFrame(s);
    const int heroRight = static_cast<int>(s.HeroX) + 31;
    ASSERT_GE(heroRight, 6 * 32);
    EXPECT_EQ(canvas().pixel(heroRight, 1510), cellColour(16 * (heroFrame / 8) + heroFrame % 8));
    EXPECT_EQ(canvas().pixel(6 * 32 + 31, 1510), cellColour(21));
}

TEST(TileAnimation, FlameJetSequence)
{
    std::vector<int> changes;
    for (int c = 0; c < 100; ++c) {
        const int f = play::tileAnimationFrame(54, c, 1);
        if (changes.empty() || changes.back() != f)
            changes.push_back(f);
    }
    EXPECT_EQ(changes, (std::vector<int>{90, 89, 88, 89, 88, 90, 91}));
    int idle = 0;
    for (int c = 0; c < 100; ++c)
        idle += play::tileAnimationFrame(54, c, 1) == 91;
    EXPECT_EQ(idle, 79);
    EXPECT_EQ(play::tileAnimationFrame(54, 121, 1), play::tileAnimationFrame(54, 21, 1));
}

TEST(TileAnimation, SwitchedTilesStandStillWhileTheSwitchIsOff)
{
    for (const auto& [tile, still] : {std::pair{154, 96}, std::pair{155, 99}, std::pair{158, 116},
                                      std::pair{159, 119}, std::pair{143, 94}, std::pair{172, 138}})
        for (int c : {0, 3, 7, 13, 999})
            EXPECT_EQ(play::tileAnimationFrame(static_cast<std::uint8_t>(tile), c, 0), still) << tile;
    EXPECT_EQ(play::tileAnimationFrame(158, 3, 1), 119);
    EXPECT_EQ(play::tileAnimationFrame(143, 5, 1), 92);
    EXPECT_EQ(play::tileAnimationFrame(20, 5, 1), play::NoFrame);
}

TEST_F(Drawing, SplashSkipsItsFirstFrameThenRunsThroughFourPictures)
{
    start(2, 4, 160, 1504);
    run();
    s.SplashTimer = 20;
    s.SplashX = 400;
    s.SplashY = 1400;
    const std::uint32_t background = canvas().pixel(410, 1410);
    run();
    EXPECT_EQ(canvas().pixel(410, 1410), background);
    std::vector<int> shown;
    for (int i = 0; i < 19; ++i) {
        run();
        const std::uint32_t p = canvas().pixel(410, 1410);
        shown.push_back(p == background ? -1 : static_cast<int>((p >> 16) & 0xFF));
    }
    EXPECT_EQ(shown, (std::vector<int>{71, 71, 71, 71, 71, 70, 70, 70, 70, 70, 69, 69, 69, 69, 69, 68, 68, 68, 68}));
    run();
    EXPECT_EQ(canvas().pixel(410, 1410), background);
}

TEST_F(Drawing, TheStateIsTheSameWithoutDrawing)
{
    put(2, 4, 5, 47, 38);
    put(2, 4, 12, 48, 144);
    put(2, 4, 20, 47, 4);
    put(2, 4, 25, 40, 61);
    put(2, 4, 30, 47, 48); // water: a splash
    const std::vector<std::pair<int, std::vector<int>>> script = {
        {30, {}}, {40, {keys::Right}}, {20, {keys::Right, keys::Space}}, {60, {keys::Left}}, {100, {keys::Right}}};

    // The painted engine is the fixture's; the quiet one is run without asking for drawing.
    QuietEngine quiet(map);
    for (GameEngine* e : {&engine, &quiet.engine}) {
        e->NewGame();
        e->state().HeroX = 160;
        e->EnterArea();
    }
    runner.beginLoop();
    quiet.runner.beginLoop();
    take();
    quiet.runner.takeEvents();
    for (const auto& [frames, held] : script) {
        for (play::FrameRunner* r : {&runner, &quiet.runner})
            r->letGoOfKeys();
        keys = quiet.keys = keySet(held);
        for (int i = 0; i < frames; ++i) {
            frame();
            quiet.frame();
            EXPECT_EQ(host.sounds, quiet.host.sounds) << "frame " << i;
            EXPECT_EQ(host.tunes, quiet.host.tunes) << "frame " << i;
            EXPECT_EQ(host.boxes, quiet.host.boxes) << "frame " << i;
            EXPECT_EQ(host.gags, quiet.host.gags) << "frame " << i;
            EXPECT_EQ(quiet.host.drawOps, 0u);
            ASSERT_EQ(engine.state(), quiet.engine.state()) << "frame " << i;
        }
    }
    EXPECT_FALSE(host.views.empty());
}

// The rules name a picture and its frame; the painter finds it on the sheet. Every picture's
// frames, and the pressed look of tiles beside the tile sheet's last column and in it.
TEST_F(Drawing, EachPictureIsTakenFromItsCellOfTheSheet)
{
    using play::DrawOp, play::Picture;
    const struct {
        DrawOp::Kind kind;
        Picture picture;
        int frame;
        int cell; ///< the sheet cell shown, or -1 for none (the area's own picture stays)
    } cases[] = {
        {DrawOp::Kind::Sprite, Picture::Hero, 0, 0},     {DrawOp::Kind::Sprite, Picture::Hero, 7, 7},
        {DrawOp::Kind::Sprite, Picture::Hero, 9, 17},    {DrawOp::Kind::Sprite, Picture::Hero, 31, 55},
        {DrawOp::Kind::Sprite, Picture::Crumbling, 0, 64}, {DrawOp::Kind::Sprite, Picture::Crumbling, 1, 65},
        {DrawOp::Kind::Sprite, Picture::Bump, 0, 66},    {DrawOp::Kind::Sprite, Picture::Bump, 1, 67},
        {DrawOp::Kind::Sprite, Picture::Splash, 0, 68},  {DrawOp::Kind::Sprite, Picture::Splash, 3, 71},
        {DrawOp::Kind::Sprite, Picture::Splash, 4, -1},
        {DrawOp::Kind::Overlay, Picture::Hero, 144, 145}, {DrawOp::Kind::Overlay, Picture::Hero, 151, 151},
    };
    start(2, 4, 160, 1504);
    const std::uint32_t area = canvas().pixel(400 + 5, 800 + 5);
    for (const auto& c : cases) {
        play::FrameEvents events;
        const int what = c.kind == DrawOp::Kind::Overlay ? c.frame : static_cast<int>(c.picture);
        events.drawing = {{DrawOp::Kind::Begin}, {c.kind, 400, 800, what, c.frame}, {DrawOp::Kind::Show}};
        painter.paint(events, s);
        EXPECT_EQ(canvas().pixel(400 + 5, 800 + 5), c.cell < 0 ? area : cellColour(c.cell))
            << static_cast<int>(c.picture) << " frame " << c.frame;
    }
}

// The ghost's picture is the hero as the painter lays it, with the canvas let through where the
// sprite's mask leaves it: half of frame 9's cell is masked out here.
TEST(HeroPicture, IsTheHeroAsPaintedWithTheRestLeftClear)
{
    Surface sheet = numberedSheet(true);
    const int column = 9 % sheet::Columns, row = (9 / sheet::Columns) * 2;
    sheet.fillRect(column * 32, row * 32, 16, 32, rgb(255, 255, 255));
    sheet.fillRect(column * 32, (row + 1) * 32, 16, 32, rgb(255, 255, 255));
    const Surface picture = play::heroPicture(sheet, 9);
    ASSERT_EQ(picture.width(), 32);
    ASSERT_EQ(picture.height(), 32);

    MapGrid map;
    play::FramePainter painter(map, sheet, sheet);
    play::FrameEvents events;
    events.drawing = {{play::DrawOp::Kind::Begin}, {play::DrawOp::Kind::Sprite, 64, 96, static_cast<int>(play::Picture::Hero), 9},
                      {play::DrawOp::Kind::Show}};
    painter.paint(events, GameState{});
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const std::uint32_t p = picture.pixel(x, y);
            EXPECT_EQ(p >> 24, x < 16 ? 0u : 0xFFu) << x << "," << y;
            // Over the black canvas, a clear pixel shows black.
            EXPECT_EQ(painter.canvas().pixel(64 + x, 96 + y), x < 16 ? rgb(0, 0, 0) : p) << x << "," << y;
        }
}
