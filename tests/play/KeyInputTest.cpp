#include "play/KeyCodes.h"
#include "play/KeyInput.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace poronpa;

namespace {

/// Whether one key is held in each frame of a run of key events ('+' a press, '-' a release, '|'
/// a frame), then in `frames` frames more.
std::string heldPerFrame(const std::string& events, int frames)
{
    KeyInput input;
    std::string held;
    const auto frame = [&] { held += input.nextFrame().test(keys::Space) ? 'H' : '.'; };
    for (const char e : events) {
        if (e == '+')
            input.press(keys::Space);
        else if (e == '-')
            input.release(keys::Space);
        else
            frame();
    }
    for (int i = 0; i < frames; ++i)
        frame();
    return held;
}

} // namespace

// A key is held from its first press to its last release, and a frame sees every press: a release
// followed by a press before the next frame is no release (a key repeat the toolkit did not
// recognise as one), while a tap between two frames is held for one.
TEST(KeyInput, AKeyIsHeldFromItsFirstPressToItsLastRelease)
{
    const struct {
        const char* events;
        const char* held;
    } cases[] = {
        {"+", "HHHH"},                 // held down
        {"+-", "H..."},                // a tap between two frames: held for one frame, then released
        {"+|-", "H...."},              // a release after the frame that saw the press
        {"+|-+", "HHHHH"},             // a repeat's release and press: held throughout
        {"+|-+-+-+", "HHHHH"},         // several repeats between two frames
        {"+|-+|-+|-+", "HHHHHHH"},     // a repeat before every frame
        {"+-+", "HHHH"},               // pressed again before the tap's release was seen
        {"+|-+-", "H...."},            // the last release counts
        {"+|-|+", "H.HHHH"},           // let go for a whole frame: the gap is seen
        {"+-+-", "H..."},              // two taps before one frame are one tap
        {"", "...."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(heldPerFrame(c.events, 4), c.held) << c.events;
}

TEST(KeyInput, LosingTheFocusLetsGoOfEveryKeyDown)
{
    KeyInput input;
    input.press(keys::Right);
    input.press(keys::Space);
    input.release(keys::Space);
    input.nextFrame();
    ASSERT_TRUE(input.nextFrame().test(keys::Right));

    input.releaseAll();
    EXPECT_FALSE(input.isDown(keys::Right));
    EXPECT_FALSE(input.nextFrame().test(keys::Right));
    EXPECT_FALSE(input.pending()) << "keys already up are not released twice";
}

TEST(KeyInput, ClearingLetsGoOfWhatIsHeldAndWhatIsPending)
{
    KeyInput input;
    input.press(keys::Right);
    input.nextFrame();
    input.press(keys::Space); // the key that started the game on the title
    input.clear();
    EXPECT_TRUE(input.cleared());
    EXPECT_TRUE(input.nextFrame().none());
    EXPECT_FALSE(input.cleared()) << "only until the next frame";
    EXPECT_TRUE(input.isDown(keys::Space)) << "it is still down, and its release will come";
    input.press(keys::Right);
    EXPECT_TRUE(input.nextFrame().test(keys::Right)) << "pressed after the clearing";
}
