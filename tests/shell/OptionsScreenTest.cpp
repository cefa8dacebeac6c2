#include "tests/shell/ShellTestSupport.h"

#include "app/qt/StartUp.h"
#include "screens/qt/LanguageOption.h"
#include "screens/qt/MouseLabel.h"
#include "screens/qt/OptionsScreen.h"
#include "screens/qt/RunOptions.h"
#include "screens/qt/TitleScreen.h"
#include "screens/qt/Translations.h"

#include <QTest>

#include <set>

#include <gtest/gtest.h>

using namespace poronpa;
using namespace poronpa::test;

namespace {

const QColor Dim(192, 192, 0);

std::string settingsWith(const std::string& bgm, const std::string& se)
{
    return "[INIExist]\nDummy=True\n[Option]\nBGM=" + bgm + "\nSE=" + se + "\n";
}

void click(GameWindow& gw, int option)
{
    QTest::mouseClick(&gw.session().options().lblOption(option), Qt::LeftButton);
}

void openOptions(GameWindow& gw)
{
    QTest::mouseClick(&gw.session().title().lblTitle(2), Qt::LeftButton);
}

} // namespace

// The value not chosen in each row is dim; a setting other than 0 and 1 counts as on, never
// dimming a heading or "戻 る".
TEST(OptionsScreen, DimsTheValueNotChosen)
{
    const struct {
        const char* bgm;
        const char* se;
        std::set<int> dimmed;
    } cases[] = {
        {"1", "0", {2, 4}},
        {"0", "1", {1, 5}},
        {"2", "5", {2, 5}},
        {"-300", "32767", {2, 5}},
    };
    for (const auto& c : cases) {
        const std::string settings = settingsWith(c.bgm, c.se);
        OpenWindow w(&settings);
        openOptions(*w.window);
        for (int k = 0; k < 7; ++k) {
            EXPECT_TRUE(w.window->session().options().lblOption(k).isVisible());
            EXPECT_EQ(sameColour(w.window->session().options().lblOption(k).colour(), Dim), c.dimmed.count(k) == 1)
                << "BGM=" << c.bgm << " SE=" << c.se << " label " << k;
        }
    }
}

TEST(OptionsScreen, BackWithMusicUnchangedLeavesTheTitleTunePlaying)
{
    OpenWindow w;
    GameWindow& gw = *w.window;
    const std::size_t before = w.audio.commands.size();
    openOptions(gw);
    click(gw, 2);
    click(gw, 1);
    click(gw, 6);
    EXPECT_EQ(w.audio.commands.size(), before);
    EXPECT_TRUE(gw.session().title().lblTitle(0).isVisible());
    EXPECT_FALSE(gw.session().options().lblOption(6).isVisible());
}

TEST(OptionsScreen, MusicSwitchedOffAndOnAgainRestartsTheTitleTuneOnce)
{
    OpenWindow w;
    GameWindow& gw = *w.window;
    openOptions(gw);
    const std::size_t sent = w.audio.commands.size();
    click(gw, 2);
    EXPECT_EQ(w.audio.commands.size(), sent) << "the tune goes on until 戻 る";
    click(gw, 6);
    EXPECT_EQ(w.audio.commands.back(), "close");
    EXPECT_EQ(gw.settings().BGM, 0);

    openOptions(gw);
    click(gw, 1);
    click(gw, 6);
    EXPECT_EQ(w.audio.opensOf("km2.mid"), 2);
    EXPECT_EQ(w.audio.commands.back(), "play");
    EXPECT_EQ(gw.settings().BGM, 1);
}

// Effects follow the new setting before the click of "戻 る" sounds.
TEST(OptionsScreen, BackClickIsHeardOnlyWithEffectsNowOn)
{
    const struct {
        const char* se;
        int choice;
        int clicksHeard;
    } cases[] = {
        {"1", 5, 1}, // title click only
        {"0", 4, 1}, // the return's click only
    };
    for (const auto& c : cases) {
        const std::string settings = settingsWith("1", c.se);
        OpenWindow w(&settings);
        openOptions(*w.window);
        click(*w.window, c.choice);
        click(*w.window, 6);
        EXPECT_EQ(w.audio.wavesOf("click5.wav"), c.clicksHeard) << "SE=" << c.se;
    }
}

// The language's row puts the whole game into the language chosen at once (the title's menu and
// the options' own captions with it), keeps the choice in the settings file when the window
// ends, and a window opened with that file starts in it; the language not chosen is dim.
TEST(OptionsScreen, LanguageRowSwitchesTheGameAndIsKept)
{
    const auto menu = [](GameWindow& gw) {
        QStringList captions;
        for (int i = 0; i < 3; ++i)
            captions << gw.session().title().lblTitle(i).text();
        return captions << gw.session().options().lblOption(6).text();
    };
    const auto settle = [] { QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange); };
    const QStringList japanese = {QStringLiteral("はじめから"), QStringLiteral("つづきから"), QStringLiteral("設 定"),
                                  QStringLiteral("戻 る")};
    const QStringList english = {QStringLiteral("New Game"), QStringLiteral("Continue"), QStringLiteral("Settings"),
                                 QStringLiteral("Back")};
    installLanguage(Language::Japanese);
    std::string kept;
    {
        OpenWindow w;
        GameWindow& gw = *w.window;
        EXPECT_EQ(menu(gw), japanese);
        LanguageOption& row = gw.session().options().languageOption();
        EXPECT_TRUE(sameColour(row.label(2).colour(), Dim));
        openOptions(gw);
        QTest::mouseClick(&row.label(2), Qt::LeftButton);
        settle();
        EXPECT_EQ(installedLanguage(), Language::English);
        EXPECT_EQ(menu(gw), english);
        EXPECT_TRUE(sameColour(row.label(1).colour(), Dim));
        // Sized to the new text, not cut to the old one's width.
        const MouseLabel& newGame = gw.session().title().lblTitle(0);
        EXPECT_GE(newGame.width(), newGame.fontMetrics().horizontalAdvance(newGame.text()));
        gw.close();
        kept = w.settingsFile();
    }
    EXPECT_NE(kept.find("Language=en"), std::string::npos) << kept;
    installLanguage(Language::Japanese);
    settle();

    // The window reads the file as the game's start does (app/qt/StartUp.h).
    OpenWindow again(&kept);
    installPlayerLanguage(std::nullopt);
    settle();
    EXPECT_EQ(menu(*again.window), english);
    QTest::mouseClick(&again.window->session().options().languageOption().label(1), Qt::LeftButton);
    settle();
    EXPECT_EQ(menu(*again.window), japanese);
    installLanguage(Language::Japanese);
}

// The run timer's and the ghost's rows: off in a file that never named them, the value not chosen
// dim; a click switches the setting at once, and the window keeps it in zembo.ini. The world's
// best times are listed beside them.
TEST(OptionsScreen, TimerAndGhostRowsSwitchTheirSettingsAndAreKept)
{
    std::string kept;
    {
        OpenWindow w;
        GameWindow& gw = *w.window;
        RunOptions& rows = gw.session().options().runOptions();
        EXPECT_TRUE(sameColour(rows.label(1).colour(), Dim)) << "the timer's ON";
        EXPECT_TRUE(sameColour(rows.label(4).colour(), Dim)) << "the ghost's ON";
        openOptions(gw);
        for (int k = 0; k < 6; ++k)
            EXPECT_TRUE(rows.label(k).isVisible()) << k;
        EXPECT_TRUE(rows.bestTimes().isVisible());
        EXPECT_TRUE(rows.bestTimes().text().contains(QStringLiteral("まだ記録がありません"))) << rows.bestTimes().text().toStdString();
        QTest::mouseClick(&rows.label(1), Qt::LeftButton);
        EXPECT_TRUE(sameColour(rows.label(2).colour(), Dim));
        EXPECT_FALSE(sameColour(rows.label(1).colour(), Dim));
        QTest::mouseClick(&rows.label(4), Qt::LeftButton);
        QTest::mouseClick(&rows.label(5), Qt::LeftButton);
        click(gw, 6);
        EXPECT_FALSE(rows.label(1).isVisible());
        gw.close();
        kept = w.settingsFile();
    }
    EXPECT_NE(kept.find("RunTimer=1"), std::string::npos) << kept;
    // Switched on and off again before it was ever kept: the file does not name it.
    EXPECT_EQ(kept.find("Ghost="), std::string::npos) << kept;

    OpenWindow again(&kept);
    RunOptions& rows = again.window->session().options().runOptions();
    EXPECT_TRUE(sameColour(rows.label(2).colour(), Dim)) << "the timer's OFF";
    EXPECT_TRUE(sameColour(rows.label(4).colour(), Dim)) << "the ghost's ON";
}
