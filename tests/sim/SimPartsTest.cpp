#include "play/script/KeyScript.h"
#include "app/sim/SimOptions.h"
#include "play/script/Trace.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>

using namespace poronpa;
using namespace poronpa::sim;

namespace {

KeySet keys(std::initializer_list<int> codes)
{
    KeySet set;
    for (const int code : codes)
        set.set(static_cast<std::size_t>(code));
    return set;
}

std::string parseError(const std::vector<std::string>& args)
{
    SimOptions options;
    std::string error;
    EXPECT_FALSE(parseSimOptions(args, options, error)) << args.front();
    return error;
}

} // namespace

TEST(KeyScript, RunsAreReadWithCommentsAndBlankLines)
{
    KeyScript script;
    std::string error;
    ASSERT_TRUE(parseKeyScript("# walk, then jump while walking\n\n3 right\r\n 2\tright+space   # hop\n1 -\n10 l+0+9+s+q+up+down+left+enter", script, error)) << error;
    ASSERT_EQ(script.runs.size(), 4u);
    EXPECT_EQ(script.totalFrames(), 16);
    EXPECT_EQ(script.runs[0].keys, keys({39}));
    EXPECT_EQ(script.runs[1].frames, 2);
    EXPECT_EQ(script.runs[1].keys, keys({39, 32}));
    EXPECT_EQ(script.runs[2].keys, KeySet());
    EXPECT_EQ(script.runs[3].keys, keys({76, 48, 57, 83, 81, 38, 40, 37, 13}));
}

TEST(KeyScript, BadLinesAreNamed)
{
    const struct {
        const char* script;
        const char* error;
    } cases[] = {
        {"1 right\n2 jump\n", "line 2: unknown key \"jump\""},
        {"1 Right\n", "line 1: unknown key \"Right\""},
        {"1 left++right\n", "line 1: unknown key \"\""},
        {"1 -+left\n", "line 1: unknown key \"-\""},
        {"\n# fine\n0 left\n", "line 3: bad count \"0\""},
        {"-4 left\n", "line 1: bad count \"-4\""},
        {"2x left\n", "line 1: bad count \"2x\""},
        {"99999999999999999999 left\n", "line 1: bad count"},
        {"left\n", "line 1: expected COUNT KEYS"},
        {"3\n", "line 1: expected COUNT KEYS"},
        {"3 left right\n", "line 1: unexpected text after the keys"},
        {"5 -\n9223372036854775803 left\n", "line 2: the counts add up to more than 9223372036854775807 frames"},
        {"9223372036854775807 -\n\n1 -\n", "line 3: the counts add up to more than"},
        {"1 -\n2 -", "line 2: longer than 4096 characters before any comment"},
    };
    for (auto c : cases) {
        std::string text = c.script;
        if (text.ends_with("2 -"))
            text += std::string(KeyScriptReader::MostLineChars, ' ') + "# a long line that is not a comment";
        KeyScript script;
        std::string error;
        EXPECT_FALSE(parseKeyScript(text, script, error)) << c.script;
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << c.script << " gave: " << error;
    }
}

// A byte-order mark an editor put before the first line is no part of the script; anywhere else
// it is text the script cannot hold.
TEST(KeyScript, AByteOrderMarkAtTheStartIsPassedOver)
{
    const std::string mark(ByteOrderMark);
    const struct {
        std::string script;
        std::int64_t frames;
        const char* error;
    } cases[] = {
        {mark + "5 right\n2 -\n", 7, ""},
        {mark + "# a note\n5 right\n", 5, ""},
        {mark + "\r\n5 right\r\n", 5, ""},
        {"5 right\n" + mark + "2 -\n", 0, "line 2: bad count"},
        {mark + mark + "5 right\n", 0, "line 1: bad count"},
    };
    for (const auto& c : cases) {
        KeyScript script;
        std::string error;
        EXPECT_EQ(parseKeyScript(c.script, script, error), !*c.error) << c.script;
        EXPECT_TRUE(error.starts_with(c.error)) << c.script << " gave: " << error;
        if (!*c.error) {
            EXPECT_EQ(script.totalFrames(), c.frames) << c.script;
            ASSERT_FALSE(script.runs.empty()) << c.script;
            EXPECT_EQ(script.runs.front().keys, keys({39})) << c.script;
        }
    }
}

TEST(KeyScript, TheFeedHandsOutEachFramesKeysThenNothing)
{
    std::istringstream text("2 right\n1 right+space\n1 -\n1 left");
    KeyScriptReader script(text);
    KeyFeed feed(script);
    const KeySet expected[] = {keys({39}), keys({39}), keys({32, 39}), keys({}), keys({37}), keys({}), keys({})};
    for (std::size_t frame = 0; frame < std::size(expected); ++frame) {
        KeySet now;
        EXPECT_EQ(feed.next(now), frame < 5) << "frame " << frame + 1 << ": the script ends after frame 5";
        EXPECT_EQ(now, expected[frame]) << "frame " << frame + 1;
    }
}

TEST(SimOptions, EveryFlagIsRead)
{
    SimOptions defaults;
    std::string error;
    ASSERT_TRUE(parseSimOptions({}, defaults, error));
    EXPECT_FALSE(defaults.mapFile || defaults.saveFile || defaults.inputFile || defaults.frames);
    EXPECT_EQ(defaults.start.AreaX, 2);
    EXPECT_EQ(defaults.start.AreaY, 4);
    EXPECT_EQ(defaults.start.HeroX, 160.0f);
    EXPECT_EQ(defaults.start.HeroY, 1498.0f);
    EXPECT_EQ(defaults.start.SwitchOn, 1);
    EXPECT_EQ(defaults.frameRate, 0);

    SimOptions o;
    ASSERT_TRUE(parseSimOptions({"--map", "m.dat", "--save", "s.dat", "--continue", "--area", "0,3", "--pos", "32,1536",
                                 "--items", "9,4,4", "--switch", "0", "--framerate", "-60", "--input", "-", "--frames", "0", "--trace"},
                                o, error))
        << error;
    EXPECT_EQ(*o.mapFile, "m.dat");
    EXPECT_EQ(*o.saveFile, "s.dat");
    EXPECT_TRUE(o.continueGame);
    EXPECT_EQ(o.start.AreaX, 0);
    EXPECT_EQ(o.start.AreaY, 3);
    EXPECT_EQ(o.start.HeroX, 32.0f);
    EXPECT_EQ(o.start.HeroY, 1536.0f);
    EXPECT_EQ(o.start.items, (std::vector<int>{9, 4, 4}));
    EXPECT_EQ(o.start.SwitchOn, 0);
    EXPECT_EQ(o.frameRate, -60);
    EXPECT_EQ(*o.inputFile, "-");
    EXPECT_EQ(*o.frames, 0);
    EXPECT_TRUE(o.trace);

    ASSERT_TRUE(parseSimOptions({"--pos", "100.75,1e3", "--items", ""}, o, error)) << error;
    EXPECT_EQ(o.start.HeroX, 100.75f);
    EXPECT_EQ(o.start.HeroY, 1000.0f);
    EXPECT_TRUE(o.start.items.empty());
}

TEST(SimOptions, BadArgumentsAreRefused)
{
    const struct {
        std::vector<std::string> args;
        const char* error;
    } cases[] = {
        {{"--help"}, "unknown argument \"--help\""},
        {{"map.dat"}, "unknown argument \"map.dat\""},
        {{"--map=m.dat"}, "unknown argument"},
        {{"--trace", "--frames"}, "--frames needs a value"},
        {{"--map", ""}, "--map \"\": expected a file name"},
        {{"--area", "5,0"}, "--area \"5,0\""},
        {{"--area", "1"}, "--area"},
        {{"--area", "1,2,3"}, "--area"},
        {{"--pos", "31,100"}, "--pos"},
        {{"--pos", "100,nan"}, "--pos"},
        {{"--pos", "100,inf"}, "--pos"},
        {{"--pos", "1536.5,100"}, "--pos"},
        {{"--items", "1,,2"}, "--items"},
        {{"--items", "10"}, "--items"},
        {{"--items", "3,"}, "--items"},
        {{"--switch", "2"}, "--switch"},
        {{"--framerate", "60fps"}, "--framerate"},
        {{"--framerate", "9999999999"}, "--framerate"},
        {{"--frames", "-1"}, "--frames"},
    };
    for (const auto& c : cases) {
        const std::string error = parseError(c.args);
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << c.args.front() << " gave: " << error;
    }
}

TEST(Trace, FloatsReadBackAsTheSameFloat)
{
    const struct {
        float value;
        const char* text;
    } cases[] = {
        {160.0f, "160"}, {1498.25f, "1498.25"}, {1e-4f, "1e-04"}, {-0.0f, "-0"}, {0.0f, "0"},
        {0.506f, "0.506"}, {-4.18f, "-4.18"}, {1.0f / 3.0f, "0.33333334"}, {1536.0f, "1536"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatFloat(c.value), c.text);
        EXPECT_EQ(std::strtof(formatFloat(c.value).c_str(), nullptr), c.value) << c.text;
    }
}

TEST(Trace, LinesCarryTheStateAndTheFrameRequests)
{
    GameState state;
    state.AreaX = 3;
    state.AreaY = 1;
    state.HeroX = 1498.25f;
    state.HeroY = 40;
    state.HeroVX = -0.0f;
    state.HeroVY = 0.25f;
    state.HeroState = StateDrowning;
    state.JumpCount = 999;
    state.EventTimer = 57;
    state.ItemHeld[Diary] = 1;
    state.ItemHeld[PampasGrass] = 1;
    state.ItemHeld[10] = 1; // never used: not part of the trace
    state.SwitchOn = 1;
    state.DeathCount[0][0] = 2;
    state.DeathCount[4][4] = 5;
    state.DeathCount[5][5] = 100; // outside the world

    EXPECT_EQ(traceHeader(), "frame,area_x,area_y,hero_x,hero_y,hero_vx,hero_vy,state,jump_count,event_timer,items,switch,sounds,dialog");
    EXPECT_EQ(traceLine(12, state, {}), "12,3,1,1498.25,40,-0,0.25,91,999,57,0000100001,1,,");
    EXPECT_EQ(traceLine(1, state, {{9, 11, 1, 1}, {5}}), "1,3,1,1498.25,40,-0,0.25,91,999,57,0000100001,1,9;11;1;1,5");
    EXPECT_EQ(endLine(40, state, false), "end frame=40 area=3,1 pos=1498.25,40 state=91 items=0000100001 deaths=7 ending=no");
    EXPECT_EQ(endLine(0, GameState{}, true), "end frame=0 area=0,0 pos=0,0 state=0 items=0000000000 deaths=0 ending=yes");
}
