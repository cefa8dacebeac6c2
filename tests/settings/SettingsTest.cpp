#include "settings/Settings.h"
#include "settings/WindowSettings.h"
#include "tests/support/HostileFiles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace poronpa;
using poronpa::test::TempDir;

namespace {

struct Loaded {
    Settings settings;
    std::string fileAfter;
};

Loaded load(const TempDir& dir, const std::string* content)
{
    const auto path = dir / "zembo.ini";
    if (content)
        test::writeText(path, *content);
    clsINI ini;
    ini.InitINIAt(path);
    Loaded result;
    LoadSettings(ini, result.settings);
    result.fileAfter = test::readText(path);
    return result;
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

} // namespace

TEST(Settings, MissingFileIsCreatedWithMusicAndEffectsOn)
{
    TempDir dir;
    const Loaded l = load(dir, nullptr);
    EXPECT_EQ(l.settings.BGM, 1);
    EXPECT_EQ(l.settings.SE, 1);
    EXPECT_EQ(l.settings.FrameRate, 0);
    EXPECT_EQ(l.fileAfter, "[INIExist]\nDummy=True\n[Option]\nBGM=1\nSE=1\n");
}

TEST(Settings, ValuesAreReadAsNumbersAtTheStartOfTheText)
{
    struct Case { std::string file; int bgm, se, frameRate; };
    const Case cases[] = {
        {"[INIExist]\nDummy=True\n[Option]\nBGM=0\nSE=1\nFrameRate=60\n", 0, 1, 60},
        {"[iniexist]\r\ndummy = True\r\n[OPTION]\r\nbgm=abc\r\nSe= 1.5\r\nframerate=  0.5\r\n", 0, 2, 0},
        {"[INIExist]\nDummy=True\n[Option]\nBGM=12abc\nSE=-2.5\nFrameRate=&H3C\n", 12, -2, 60},
        {"[INIExist]\nDummy=True\n[Option]\nBGM=99999\nSE=-99999\nFrameRate=1e12\n", 32767, -32768, 2147483647},
        {"[INIExist]\nDummy=True\n[Option]\nBGM=\"1\"\n", 1, 0, 0},
        {std::string("[INIExist]\nDummy=True\n[Option]\nBGM=") + std::string(5000, '7') + "\n\x01\xff\xfe\n", 32767, 0, 0},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const Loaded l = load(dir, &c.file);
        EXPECT_EQ(l.settings.BGM, c.bgm) << c.file;
        EXPECT_EQ(l.settings.SE, c.se) << c.file;
        EXPECT_EQ(l.settings.FrameRate, c.frameRate) << c.file;
    }
}

TEST(Settings, FileWithoutMarkerIsRewrittenAsAFirstRun)
{
    TempDir dir;
    const std::string file = "[INIExist]\nDummy=\n[Option]\nBGM=0\n";
    const Loaded l = load(dir, &file);
    EXPECT_EQ(l.settings.BGM, 1);
    EXPECT_EQ(l.fileAfter, "[INIExist]\nDummy=True\n[Option]\nBGM=1\nSE=1\n");
}

TEST(Settings, SavingReplacesValuesInPlaceAndKeepsEveryOtherLine)
{
    TempDir dir;
    const auto path = dir / "zembo.ini";
    test::writeText(path, "; mine\n[INIExist]\nDummy=True\n[Option]\nbgm=1\nFrameRate=60\nSE=1\n\n[Other]\nx=1\n");
    clsINI ini;
    ini.InitINIAt(path);
    SaveSettings(ini, Settings{0, 1, 999});
    EXPECT_EQ(test::readText(path), "; mine\n[INIExist]\nDummy=True\n[Option]\nBGM=0\nFrameRate=60\nSE=1\n\n[Other]\nx=1\n");
}

// The run timer and the ghost are off in a file that never named them, which stays as it was until
// the player switches one on; switched off again, the line says so.
TEST(Settings, TheRunTimerAndTheGhostAreWrittenOnceSwitchedOn)
{
    TempDir dir;
    const std::string start = "[INIExist]\nDummy=True\n[Option]\nBGM=1\nSE=1\n";
    Loaded l = load(dir, &start);
    EXPECT_EQ(l.settings.RunTimer, 0);
    EXPECT_EQ(l.settings.Ghost, 0);
    clsINI ini;
    ini.InitINIAt(dir / "zembo.ini");
    ASSERT_TRUE(SaveSettings(ini, l.settings).ok());
    EXPECT_EQ(test::readText(dir / "zembo.ini"), start);

    l.settings.RunTimer = 1;
    ASSERT_TRUE(SaveSettings(ini, l.settings).ok());
    EXPECT_EQ(test::readText(dir / "zembo.ini"), start + "RunTimer=1\n");
    l = load(dir, nullptr);
    EXPECT_EQ(l.settings.RunTimer, 1);
    EXPECT_EQ(l.settings.Ghost, 0);

    l.settings.RunTimer = 0;
    l.settings.Ghost = 1;
    ASSERT_TRUE(SaveSettings(ini, l.settings).ok());
    EXPECT_EQ(test::readText(dir / "zembo.ini"), start + "RunTimer=0\nGhost=1\n");
}

// A settings file that cannot be written back whole is left exactly as it was, its mode and its
// every line, and the save says why: one its owner made read-only, and one the added line would
// take past the most the game reads (the first byte past it; the last byte inside is written).
TEST(Settings, AFileThatCannotBeWrittenBackWholeIsLeftAsItWas)
{
    // Saving adds "SE=1\n", five bytes, before the player's own keys at the end.
    const std::string start = "[INIExist]\nDummy=True\n[Option]\nBGM=0\n";
    const std::string end = "[Keys]\njump=Z\n";
    const auto padded = [&](std::size_t size) {
        return start + ";" + std::string(size - start.size() - end.size() - 2, 'x') + "\n" + end;
    };
    using std::filesystem::perms;
    const perms readOnly = perms::owner_read | perms::group_read | perms::others_read;
    const perms readWrite = readOnly | perms::owner_write;
    const struct {
        const char* what;
        std::string text;
        perms mode;
        std::string refusal; ///< empty: written
    } cases[] = {
        {"a file its owner made read-only", start + end, readOnly, "Permission denied"},
        {"a file that reaches the most with the line", padded(ProfileFile::MostBytes - 5), readWrite, ""},
        {"a file a byte past the most with the line", padded(ProfileFile::MostBytes - 4), readWrite,
         "it would grow beyond 1048576 bytes"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const auto path = dir / "zembo.ini";
        test::writeText(path, c.text);
        std::filesystem::permissions(path, c.mode);
        clsINI ini;
        ini.InitINIAt(path);
        Settings read;
        ASSERT_TRUE(LoadSettings(ini, read).ok()) << c.what;
        EXPECT_EQ(ReadKeySettings(ini), (std::vector<std::pair<std::string, std::string>>{{"jump", "Z"}})) << c.what;
        const FileStatus saved = SaveSettings(ini, Settings{1, 1, 0});
        const std::string after = test::readText(path);
        EXPECT_EQ(std::filesystem::status(path).permissions(), c.mode) << c.what;
        if (c.refusal.empty()) {
            EXPECT_TRUE(saved.ok()) << c.what << ": " << saved.error;
            EXPECT_EQ(after.size(), ProfileFile::MostBytes) << c.what;
            EXPECT_TRUE(after.ends_with("\nSE=1\n" + end)) << c.what;
            continue;
        }
        EXPECT_EQ(saved.error, path.string() + ": cannot be written (" + c.refusal + ")") << c.what;
        EXPECT_EQ(after, c.text) << c.what;
    }
}

// The game plays on with music and effects on, and the caller learns that they will not be kept.
TEST(Settings, AFirstRunWhoseFileCannotBeWrittenSaysWhy)
{
    TempDir dir;
    const auto readOnly = dir / "zembo.ini";
    test::writeText(readOnly, "[Option]\nBGM=0\n");
    std::filesystem::permissions(readOnly, std::filesystem::perms::owner_read);
    const struct {
        std::filesystem::path path;
        std::string refusal;
    } cases[] = {
        {"/proc/poronpa-no-such-dir/zembo.ini", "cannot be written"},
        {readOnly, "cannot be written (Permission denied)"},
    };
    for (const auto& c : cases) {
        clsINI ini;
        ini.InitINIAt(c.path);
        Settings s;
        const FileStatus status = LoadSettings(ini, s);
        EXPECT_EQ(s.BGM, 1) << c.path;
        EXPECT_EQ(s.SE, 1) << c.path;
        EXPECT_TRUE(status.error.starts_with(c.path.string() + ": " + c.refusal)) << status.error;
    }
    EXPECT_EQ(test::readText(readOnly), "[Option]\nBGM=0\n");
}

TEST(Settings, ByteOrderMarkAndEveryLineEndReadAsTheSameFileAndAreWrittenBackSo)
{
    const std::string mark = "\xEF\xBB\xBF";
    const auto file = [](const std::string& end) {
        return "[INIExist]" + end + "Dummy=True" + end + "[Option]" + end + "BGM=0" + end + "SE=0" + end + "FrameRate=60" + end;
    };
    for (const std::string& end : {std::string("\n"), std::string("\r\n"), std::string("\r")}) {
        for (const std::string& start : {std::string(), mark}) {
            const std::string before = start + file(end);
            TempDir dir;
            const Loaded l = load(dir, &before);
            const std::string what = (start.empty() ? "" : "mark, ") + std::to_string(end.size()) + "-byte line ends";
            EXPECT_EQ(l.settings.BGM, 0) << what;
            EXPECT_EQ(l.settings.SE, 0) << what;
            EXPECT_EQ(l.settings.FrameRate, 60) << what;
            EXPECT_EQ(l.fileAfter, before) << what;

            clsINI ini;
            ini.InitINIAt(dir / "zembo.ini");
            SaveSettings(ini, Settings{1, 0, 0});
            std::string expected = before;
            expected.replace(expected.find("BGM=0"), 5, "BGM=1");
            EXPECT_EQ(test::readText(dir / "zembo.ini"), expected) << what;

            // A key the file lacks is added in the file's own line ends.
            ASSERT_TRUE(ini.file().write("Option", "Volume", "3").ok()) << what;
            expected.replace(expected.find("FrameRate=60") + 12 + end.size(), 0, "Volume=3" + end);
            EXPECT_EQ(test::readText(dir / "zembo.ini"), expected) << what;
        }
    }
}

// Listing a section's keys, as the classic call does without a key name: in the file's order,
// each name once however often and however spelt, from every part of the section.
TEST(Settings, KeysOfASectionAreListedOnceInTheFilesOrder)
{
    const std::string keys = "[Keys]\nJUMP = Z\nrope=\n; note=1\n\n  left =a\njump=X\n[Other]\na=1\n[keys]\nsave=S\nLEFT=b\n";
    const std::vector<std::string> all{"JUMP", "rope", "left", "save"};
    const struct {
        const char* name;
        std::string text;
        std::string section;
        std::vector<std::string> listed;
    } cases[] = {
        {"line feeds", keys, "keys", all},
        {"carriage returns and line feeds", replaceAll(keys, "\n", "\r\n"), "Keys", all},
        {"carriage returns", "\xEF\xBB\xBF" + replaceAll(keys, "\n", "\r"), "KEYS", all},
        {"no such section", keys, "Window", {}},
        {"a section named in a value", "[Option]\nNote=[Keys]\n", "Keys", {}},
    };
    for (const auto& c : cases) {
        TempDir dir;
        test::writeText(dir / "zembo.ini", c.text);
        EXPECT_EQ(ProfileFile(dir / "zembo.ini").keys(c.section), c.listed) << c.name;
    }
    TempDir dir;
    EXPECT_TRUE(ProfileFile(dir / "missing.ini").keys("Keys").empty());
}

TEST(Settings, FilesThatAreNoSettingsAreNeitherWaitedForNorRewritten)
{
    const std::string head = "[INIExist]\nDummy=True\n[Option]\nBGM=0\nSE=0\n";
    for (const test::Hostile kind : {test::Hostile::Pipe, test::Hostile::Device, test::Hostile::HugeSparse}) {
        TempDir dir;
        const auto path = dir / "zembo.ini";
        test::makeHostile(path, kind, head);
        const auto result = test::withinDeadline([&] {
            clsINI ini;
            ini.InitINIAt(path);
            Settings s;
            const FileStatus status = LoadSettings(ini, s);
            SaveSettings(ini, s);
            return std::to_string(s.BGM) + std::to_string(s.SE) + " " + status.error;
        });
        ASSERT_TRUE(result) << describe(kind) << ": the settings were waited for";
        const std::string why = kind == test::Hostile::HugeSparse ? "larger than 1048576 bytes" : "not a regular file";
        EXPECT_EQ(*result, "11 " + path.string() + ": cannot be read (" + why + ")") << describe(kind);
        if (kind == test::Hostile::HugeSparse) {
            EXPECT_EQ(std::filesystem::file_size(path), static_cast<std::uintmax_t>(test::HugeSparseSize));
            std::ifstream in(path, std::ios::binary);
            std::string start(head.size(), ' ');
            in.read(start.data(), static_cast<std::streamsize>(start.size()));
            EXPECT_EQ(start, head);
        } else {
            EXPECT_FALSE(std::filesystem::is_regular_file(path)) << describe(kind) << " was replaced";
        }
    }
}
