#include "settings/Settings.h"
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

    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    SaveSettings(ini, Settings{1, 0, 0});
    EXPECT_NE(test::readText(path).find("SE=0"), std::string::npos);
}

TEST(Settings, UnwritableDirectoryIsNotAnError)
{
    clsINI ini;
    ini.InitINIAt("/proc/poronpa-no-such-dir/zembo.ini");
    Settings s;
    LoadSettings(ini, s);
    EXPECT_EQ(s.BGM, 1);
    EXPECT_EQ(s.SE, 1);
}
