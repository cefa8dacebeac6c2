// The soak's judge: a check that let a broken frame through would make the soak pass for nothing.
#include "tools/soak/TraceCheck.h"

#include <gtest/gtest.h>

using poronpa::soak::TraceCheck;

TEST(SoakTraceCheck, PassesSoundFramesAndCatchesEveryBrokenOne)
{
    const std::string sound = "1,2,4,160.55,1498.25,0.55,-0.25,0,0,0,1111111111,1,,";
    struct Case {
        const char* what;
        std::string second; // the line after a sound first frame
        bool passes;
    };
    const Case cases[] = {
        {"sound", "2,0,4,32,1536,0,1e-04,9,0,0,0000000000,0,11;1;1,7", true},
        {"a frame skipped", "3,2,4,160,1498,0,0,0,0,0,0000000000,1,,", false},
        {"a frame repeated", "1,2,4,160,1498,0,0,0,0,0,0000000000,1,,", false},
        {"area column 5", "2,5,4,160,1498,0,0,0,0,0,0000000000,1,,", false},
        {"negative area row", "2,2,-1,160,1498,0,0,0,0,0,0000000000,1,,", false},
        {"hero left of the band", "2,2,4,31.99,1498,0,0,0,0,0,0000000000,1,,", false},
        {"hero below the band", "2,2,4,160,1536.01,0,0,0,0,0,0000000000,1,,", false},
        {"position not a number", "2,2,4,nan,1498,0,0,0,0,0,0000000000,1,,", false},
        {"speed not a number", "2,2,4,160,1498,-nan,0,0,0,0,0000000000,1,,", false},
        {"infinite speed", "2,2,4,160,1498,0,inf,0,0,0,0000000000,1,,", false},
        {"a cut line", "2,2,4,160", false},
    };
    for (const Case& c : cases) {
        TraceCheck check;
        ASSERT_EQ(check.line(sound), "") << c.what;
        EXPECT_EQ(check.line(c.second).empty(), c.passes) << c.what;
    }
}

TEST(SoakTraceCheck, ClosingLineMustCountTheFramesSeen)
{
    TraceCheck check;
    ASSERT_EQ(check.line("1,2,4,160,1498,0,0,0,0,0,0000000000,1,,"), "");
    ASSERT_EQ(check.line("2,2,4,160,1498,0,0,0,0,0,0000000000,1,,"), "");
    EXPECT_EQ(check.end("end frame=2 area=2,4 pos=160,1498 state=0 items=0000000000 deaths=0 ending=no"), "");
    EXPECT_NE(check.end("end frame=20 area=2,4 pos=160,1498 state=0 items=0000000000 deaths=0 ending=no"), "");
    EXPECT_NE(check.end("end frame=1 area=2,4 pos=160,1498 state=0 items=0000000000 deaths=0 ending=no"), "");
}
