// The replay file: what is written reads back whole, the saves it embeds load as the originals
// did, and every kind of damage is refused with the line it was found on.
#include "replay/ReplayFile.h"
#include "replay/ReplayRecorder.h"
#include "play/SavedGame.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

using namespace poronpa;
using namespace poronpa::replay;
using poronpa::test::TempDir;

namespace {

sim::KeySet keysOf(std::initializer_list<int> codes)
{
    sim::KeySet keys;
    for (const int code : codes)
        keys.set(static_cast<std::size_t>(code));
    return keys;
}

ReplayHeader sampleHeader()
{
    ReplayHeader header;
    header.program = "0.94.7";
    header.date = "2025-06-01 14:03:22 +0900";
    header.continued = true;
    header.frameRate = 60;
    header.mapDigest = 0x0123456789abcdefull;
    header.carry.kept.FrameClock = 917;
    header.carry.kept.Facing = 1;
    header.carry.kept.ConveyorPush = -4;
    header.carry.kept.OnSlippery = 1;
    header.carry.kept.BumpTimer = 3;
    header.carry.kept.BumpX = 160;
    header.carry.kept.BumpY = 1470;
    header.carry.kept.DeathCount[4][0] = 7;
    header.carry.kept.DeathCount[0][4] = 2147483647;
    header.carry.kept.Random = play::PseudoRandom(0xabcdef);
    header.saves.kind = SaveImage::Kind::Bytes;
    header.saves.bytes.assign(3 * SaveRecordBytes + 9, 0);
    header.saves.bytes[0] = 3;
    header.saves.bytes[2 * SaveRecordBytes + 3] = 0xff;
    header.saves.bytes[3 * SaveRecordBytes + 1] = 0x80;
    return header;
}

/// A finished replay of these frames: the header, the keys and the end line.
std::string replayText(const ReplayHeader& header, const std::string& body, std::int64_t frames)
{
    return headerText(header) + body + endingLine("end frame=" + std::to_string(frames) + " area=2,4 pos=160,1504 state=0 items=0000000000 deaths=0 ending=no");
}

Replay parsed(const std::string& text)
{
    Replay replay;
    std::string error;
    EXPECT_TRUE(parseReplay(text, replay, error)) << error;
    return replay;
}

} // namespace

TEST(ReplayFile, WhatIsRecordedReadsBackFrameByFrame)
{
    // Random keys, with the runs, the failures and the pieces the recorder cuts its text into.
    std::mt19937 random(7);
    ReplayRecorder recorder;
    std::vector<sim::KeySet> played;
    std::vector<Failure> failures;
    for (int frame = 1; frame <= 40000; ++frame) {
        sim::KeySet keys;
        if (random() % 4 != 0 && !played.empty())
            keys = played.back();
        else
            for (const int code : {37, 38, 39, 40, 32, 13, 83, 76, 81, 48, 57})
                keys.set(static_cast<std::size_t>(code), random() % 3 == 0);
        recorder.beginFrame(keys);
        if (random() % 500 == 0) {
            const auto kind = random() % 2 ? Failure::Kind::Save : Failure::Kind::Load;
            recorder.failed(kind);
            failures.push_back({frame, kind});
        }
        recorder.endFrame();
        played.push_back(keys);
    }
    recorder.beginFrame(keysOf({81})); // a frame the window closed inside: not kept

    std::string body;
    recorder.keys().appendTo(body);
    ASSERT_GT(body.size(), 64u * 1024) << "the text should span several pieces";
    const Replay replay = parsed(replayText(sampleHeader(), body, recorder.frames()));
    ASSERT_TRUE(replay.header);
    EXPECT_EQ(*replay.header, sampleHeader());
    EXPECT_EQ(replay.frames, 40000);
    EXPECT_EQ(replay.failures, failures);
    ASSERT_TRUE(replay.endLine);
    EXPECT_TRUE(replay.endLine->starts_with("end frame=40000 "));
    std::istringstream text(replay.text);
    sim::KeyScriptReader script(text);
    sim::KeyFeed feed(script);
    sim::KeySet keys;
    for (std::size_t i = 0; i < played.size(); ++i) {
        ASSERT_TRUE(feed.next(keys));
        ASSERT_EQ(keys, played[i]) << "frame " << i + 1;
    }
    EXPECT_FALSE(feed.next(keys)) << "the keys end with the last frame";
    EXPECT_EQ(script.error(), "");
}

TEST(ReplayRecorder, MergesRunsAndKeepsTheQuestionsAPlayerWillAnswerYes)
{
    ReplayRecorder recorder;
    const auto frame = [&](sim::KeySet keys, bool decline = false) {
        recorder.beginFrame(keys);
        if (decline)
            recorder.declineQuestion();
        recorder.endFrame();
    };
    for (int i = 0; i < 30; ++i)
        frame(keysOf({39}));
    frame(keysOf({39, 32}));
    frame(keysOf({39, 81}), true);      // Q answered No: kept without Q
    frame(keysOf({76, 51, 55}), true);  // L with 3 and 7 answered No: the digits stay, L goes
    frame(keysOf({76, 55}));            // answered Yes
    frame({});
    std::string body;
    recorder.keys().appendTo(body);
    EXPECT_EQ(body, "30 right\n1 right+space\n1 right\n1 3+7\n1 l+7\n1 -\n");
    EXPECT_EQ(recorder.frames(), 35);

    // What a writer took stays as it was while the recording goes on.
    const RecordedKeys before = recorder.keys();
    frame({});
    std::string unchanged;
    before.appendTo(unchanged);
    EXPECT_EQ(unchanged, body);
}

TEST(ReplayFile, EmbeddedSavesLoadAsTheFileTheyWereTakenFrom)
{
    TempDir dir;
    // Twelve saves fill the ring and wrap it; then the tails of the records are scribbled over,
    // as another writer of the format may leave them.
    const auto original = dir / "savedata.dat";
    for (int i = 0; i < 12; ++i) {
        SaveRecord record;
        record.AreaX = static_cast<std::int16_t>(i % 5);
        record.AreaY = 3;
        record.RespawnX = 100.5f + static_cast<float>(i);
        record.RespawnY = 1498;
        record.SwitchOn = static_cast<std::int16_t>(i % 2);
        record.ItemHeld[static_cast<std::size_t>(i % 10)] = 1;
        record.DeathCount[1][2] = 1000 * i;
        record.MiniMapColor[0][0] = 0xFFFFFF;
        ASSERT_TRUE(SaveGame(original, record).ok());
    }
    auto bytes = test::readBytes(original);
    for (std::size_t at = 0; at < bytes.size(); ++at)
        if (at % SaveRecordBytes >= 4)
            bytes[at] = static_cast<unsigned char>(at * 31);
    test::writeBytes(original, bytes);
    // A file cut inside the sixth slot: the slots beyond it were never written.
    const auto cut = dir / "cut.dat";
    bytes.resize(70 * 5 * SaveRecordBytes + 40 * SaveRecordBytes + 2);
    test::writeBytes(cut, bytes);
    std::filesystem::create_directory(dir / "unreadable.dat");

    for (const auto& file : {original, cut, dir / "none.dat", dir / "unreadable.dat"}) {
        SCOPED_TRACE(file.filename().string());
        ReplayHeader header = sampleHeader();
        header.saves = captureSaveImage(file);
        const Replay replay = parsed(replayText(header, "1 -\n", 1));
        const auto copy = dir / ("copy-of-" + file.filename().string());
        ASSERT_TRUE(restoreSaveImage(replay.header->saves, copy).ok());
        for (int back = 0; back <= 9; ++back) {
            SaveRecord expected, actual;
            const LoadOutcome outcome = LoadGameRecord(file, back, expected);
            ASSERT_EQ(LoadGameRecord(copy, back, actual), outcome) << "back " << back;
            EXPECT_TRUE(actual == expected) << "back " << back;
        }
    }
}

TEST(ReplayFile, DamageIsRefusedWithItsLine)
{
    const std::string good = replayText(sampleHeader(), "30 right\n2 -\n", 32);
    const auto lineOf = [&](std::string_view start) {
        const std::size_t at = good.find(start);
        return std::to_string(1 + std::count(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
    };
    const auto replaced = [&](std::string_view what, std::string_view with) {
        std::string text = good;
        text.replace(text.find(what), what.size(), with);
        return text;
    };
    const std::string dataLine = lineOf("# save-data");
    const std::string endLine = lineOf("# end");
    const struct {
        const char* name;
        std::string text;
        std::string expected; ///< the start of the error
    } cases[] = {
        {"cut inside a line", good.substr(0, good.size() - 5), "line " + endLine + ": the file ends inside a line"},
        {"cut at a line's end", good.substr(0, good.find("2 -\n") + 4), "line " + lineOf("2 -") + ": the file ends without the replay's closing line"},
        {"cut in the header", good.substr(0, good.find("# carry")), "line 6: the file ends in its header"},
        {"another version", replaced("replay 1", "replay 2"), "line 1: replay format 2; this version of the game reads format 1 only"},
        {"no version", replaced("replay 1", "replay x"), "line 1: not a replay format"},
        {"binary garbage", replaced("30 right", std::string("30 \0\x01\xff", 6)), "line " + lineOf("30 right") + ": binary data (byte 0x00 at column 4)"},
        {"a count beyond any number", replaced("30 right", "99999999999999999999 right"), "line " + lineOf("30 right") + ": bad count"},
        {"a huge count", replaced("30 right", "2147483647 right"), "line " + lineOf("2 -") + ": the counts add up to more than 2147483647 frames"},
        {"no count", replaced("30 right", "right"), "line " + lineOf("30 right") + ": expected COUNT KEYS"},
        {"an unknown key", replaced("30 right", "30 rihgt"), "line " + lineOf("30 right") + ": unknown key \"rihgt\""},
        {"a save's digit damaged", replaced("# save-data 0300", "# save-data 0x00"), "line " + dataLine + ": the embedded save is damaged: \"0x\""},
        {"a save's byte changed", replaced("# save-data 0300", "# save-data 0400"), "line " + lineOf("# saves") + ": the embedded save is damaged: its check"},
        {"a save cut short", replaced("# save-data 0300", "# save-data "), "line " + lineOf("# saves") + ": the embedded save is damaged: "},
        {"a save too long", replaced("# saves 393", "# saves 99999"), "line " + lineOf("# saves") + ": the embedded save is damaged: expected"},
        {"a header line lost", replaced("# framerate 60\n", ""), "line " + std::to_string(std::stoi(dataLine) - 1) + ": the header has no framerate line"},
        {"a run lost", replaced("2 -\n", ""), "line " + std::to_string(std::stoi(endLine) - 1) + ": the closing line counts 32 frames, the keys before it 30"},
        {"a closing count not as the game writes it", replaced("# end frame=32 ", "# end frame=0032 "),
         "line " + endLine + ": the closing line has no frame=N"},
        {"keys after the end", good + "5 left\n", "line " + std::to_string(std::stoi(endLine) + 1) + ": text after the replay's closing line"},
        {"a conveyor that is no number", replaced("conveyor=-4", "conveyor=nan"), "line " + lineOf("# carry") + ": carry: a value no game hands on"},
        {"a bump outside the area", replaced("bump=3,160,1470", "bump=3,160,2000"), "line " + lineOf("# carry") + ": carry: a value no game hands on"},
        {"a carry word missing", replaced(" slippery=1", ""), "line " + lineOf("# carry") + ": carry: expected frameclock="},
        {"a failure out of order", replaced("2 -\n", "2 -\n# load failed at frame 33\n"), "line " + endLine + ": a failure at frame 33, out of order"},
    };
    for (const auto& c : cases) {
        Replay replay;
        std::string error;
        EXPECT_FALSE(parseReplay(c.text, replay, error)) << c.name;
        EXPECT_TRUE(error.starts_with(c.expected)) << c.name << ": " << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << c.name;
    }

    // Read from a file, the error names the file and the line the way compilers do.
    TempDir dir;
    test::writeText(dir / "r.replay", cases[3].text);
    Replay replay;
    EXPECT_EQ(readReplay(dir / "r.replay", replay).error,
              (dir / "r.replay").string() + ":1: replay format 2; this version of the game reads format 1 only");
}

// A replay or a key script saved by an editor that starts text with a byte-order mark reads as
// it would without one.
TEST(ReplayFile, AByteOrderMarkAtTheStartIsPassedOver)
{
    for (const std::string& text : {replayText(sampleHeader(), "30 right\n2 -\n", 32), std::string("5 right\n# note\n2 -\n")}) {
        const Replay plain = parsed(text);
        const Replay marked = parsed(std::string(sim::ByteOrderMark) + text);
        EXPECT_EQ(marked.header, plain.header);
        EXPECT_EQ(marked.frames, plain.frames);
        EXPECT_EQ(marked.endLine, plain.endLine);
        EXPECT_EQ(marked.text, plain.text);
    }
}

TEST(ReplayFile, PlainKeyScriptsPlayAsNewGames)
{
    // The world's own route scripts are key scripts with notes: they play as replays without a header.
    const Replay replay = parsed("# a note\n9 space\n3 left+space # and another\n\n48 left\n");
    EXPECT_FALSE(replay.header);
    EXPECT_FALSE(replay.endLine);
    EXPECT_EQ(replay.frames, 60);

    Replay bad;
    std::string error;
    EXPECT_FALSE(parseReplay("9 space\n2000000000 left\n2000000000 left\n", bad, error));
    EXPECT_EQ(error, "line 3: the counts add up to more than 2147483647 frames");
}
