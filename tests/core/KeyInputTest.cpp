#include "play/GameEngine.h"
#include "play/KeyCodes.h"
#include "play/KeyInput.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace poronpa;

namespace {

/// What the engine holds of one key in each of the frames that follow a run of key events:
/// '+' a press and '-' a release before the first frame, '|' a frame boundary in between.
std::string heldPerFrame(const std::string& events, int frames)
{
    const MapGrid map;
    GameEngine engine(map);
    KeyInput input;
    std::string held;
    for (const char e : events) {
        if (e == '+')
            input.press(keys::Space);
        else if (e == '-')
            input.release(keys::Space);
        else
            input.deliver(engine);
    }
    for (int i = 0; i < frames; ++i) {
        input.deliver(engine);
        held += engine.state().KeyHeld[keys::Space] ? 'H' : '.';
    }
    return held;
}

} // namespace

TEST(KeyInput, EveryPressAndReleaseIsSeenByAFrame)
{
    const struct {
        const char* events;
        const char* held;
    } cases[] = {
        {"+", "HHHH"},      // held down
        {"+-", "H..."},     // a tap between two frames: held for one frame, then released
        {"+-+-", "H.H."},   // two taps: each seen
        {"+|-", "...."},    // a release after the frame that saw the press
        {"+|-+", ".HHH"},   // released and pressed again at once: the gap is seen, then held
        {"", "...."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(heldPerFrame(c.events, 4), c.held) << c.events;
}

TEST(KeyInput, LosingTheFocusLetsGoOfEveryKeyDown)
{
    const MapGrid map;
    GameEngine engine(map);
    KeyInput input;
    input.press(keys::Right);
    input.press(keys::Space);
    input.release(keys::Space);
    input.deliver(engine);
    input.deliver(engine);
    ASSERT_TRUE(engine.state().KeyHeld[keys::Right]);

    input.releaseAll();
    EXPECT_FALSE(input.isDown(keys::Right));
    input.deliver(engine);
    EXPECT_FALSE(engine.state().KeyHeld[keys::Right]);
    EXPECT_FALSE(input.pending()) << "keys already up are not released twice";
}

TEST(KeyInput, TheLoopBeginsWithNothingPending)
{
    const MapGrid map;
    GameEngine engine(map);
    KeyInput input;
    input.press(keys::Space); // the key that started the game on the title
    input.clear();
    input.deliver(engine);
    EXPECT_FALSE(engine.state().KeyHeld[keys::Space]);
    EXPECT_TRUE(input.isDown(keys::Space)) << "it is still down, and its release will come";
}
