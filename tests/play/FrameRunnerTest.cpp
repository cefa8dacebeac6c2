#include "play/FrameRunner.h"
#include "play/KeyCodes.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

using namespace poronpa;

namespace {

/// Keeps what the runner told it, in order, and answers from `answers` (later, when it is empty).
struct LoggingHost : play::FrameHost {
    std::vector<std::string> log;
    std::deque<bool> answers;

    void frameBegins(const GameState&) override { log.push_back("begins"); }
    std::optional<bool> ask(Question question) override
    {
        log.push_back(questionText(question));
        if (answers.empty())
            return std::nullopt;
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }
    void playSound(int number) override { log.push_back("sound " + std::to_string(number)); }
    void playMusic(int) override { log.push_back("music"); }
    void show(const play::FrameEvents&, const GameState&) override { log.push_back("show"); }
    void frameEnds(StepEnd end, const GameState&) override
    {
        log.push_back(end == StepEnd::Next ? "next" : end == StepEnd::ToTitle ? "to the title" : "other end");
    }
};

class Runner : public testing::Test {
protected:
    void SetUp() override
    {
        engine.startFromTitle(TitleChoice::NewGame);
        runner.beginLoop();
        runner.takeEvents();
        host.log.clear();
    }

    KeySet held(std::initializer_list<int> keys)
    {
        KeySet set;
        for (const int key : keys)
            set.set(static_cast<std::size_t>(key));
        return set;
    }

    const MapGrid map;
    GameEngine engine{map};
    LoggingHost host;
    play::FrameRunner runner{engine, host};
};

} // namespace

// The engine holds a key from the frame it is first held in to the frame it is let go in. A key
// the engine let go of by itself (a question answered, a box closed) stays let go while it is
// held on, and is held again once pressed anew, or once the runner lets go of every key.
TEST_F(Runner, TheEngineHoldsWhatTheFramesHold)
{
    // Per frame of `frames`: 'H' Space held, '.' not; before a frame, 'c' the engine clears its
    // keys, 'g' the runner lets go of every key. `engine`: whether the engine held Space in each.
    const struct {
        const char* frames;
        const char* engine;
    } cases[] = {
        {"HHH..", "HHH.."},
        {".H.H.", ".H.H."},
        {"HcHH.H", "H...H"},  // held on through a cleared question: not pressed again
        {"Hc.H", "H.H"},      // let go and pressed anew
        {"HgHH", "HHH"},      // the runner let go: what is held next is pressed anew
        {"Hg..", "H.."},
        {"HgcH", "HH"},
    };
    for (const auto& c : cases) {
        SetUp();
        std::string seen;
        for (const char* f = c.frames; *f; ++f) {
            if (*f == 'c') {
                engine.ClearKeys();
                continue;
            }
            if (*f == 'g') {
                runner.letGoOfKeys();
                continue;
            }
            const KeySet frameKeys = *f == 'H' ? held({keys::Space, keys::Right}) : held({keys::Right});
            runner.runFrame(frameKeys);
            seen += engine.state().KeyHeld[keys::Space] ? 'H' : '.';
            EXPECT_EQ(runner.held(), frameKeys) << c.frames;
        }
        EXPECT_EQ(seen, c.engine) << c.frames;
    }
}

TEST_F(Runner, EachKeyChangedIsHandedOverAndNoOther)
{
    // Several keys change at once, each either way; the ones held on stay held.
    runner.runFrame(held({keys::Left, keys::Space, keys::digit(3)}));
    runner.runFrame(held({keys::Right, keys::Space, keys::Down}));
    std::vector<int> holding;
    for (int key = 0; key < 256; ++key)
        if (engine.state().KeyHeld[static_cast<std::size_t>(key)])
            holding.push_back(key);
    EXPECT_EQ(holding, (std::vector<int>{keys::Space, keys::Right, keys::Down}));
}

// The events of a frame are handed over before its question and after it; the frame ends once,
// with the answer the host gave now or later.
TEST_F(Runner, QuestionsAreAskedInTheFrameAndAnsweredNowOrLater)
{
    host.answers = {false};
    EXPECT_EQ(runner.runFrame(held({keys::L})), StepEnd::Next);
    EXPECT_EQ(host.log, (std::vector<std::string>{"begins", "show", "ロードしますか？", "show", "next"}));
    EXPECT_FALSE(engine.state().KeyHeld[keys::L]) << "a No lets go of the keys";

    host.log.clear();
    EXPECT_EQ(runner.runFrame(held({keys::Q})), StepEnd::Asking);
    EXPECT_EQ(host.log, (std::vector<std::string>{"begins", "show", "タイトルに戻りますか？"}));
    host.log.clear();
    EXPECT_EQ(runner.answer(true), StepEnd::ToTitle);
    EXPECT_EQ(host.log, (std::vector<std::string>{"show", "to the title"}));
}

TEST_F(Runner, WhatWasAskedBeforeTheFrameAndNotTakenIsNotTheFrames)
{
    engine.startFromTitle(TitleChoice::NewGame); // its tune and its area, not taken
    runner.runFrame(held({}));
    EXPECT_EQ(host.log, (std::vector<std::string>{"begins", "show", "next"}));

    host.log.clear();
    engine.startFromTitle(TitleChoice::NewGame);
    runner.takeEvents();
    EXPECT_EQ(host.log, (std::vector<std::string>{"music", "show"}));
}
