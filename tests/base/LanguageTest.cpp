#include "app/base/Language.h"
#include "app/base/Translation.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using namespace poronpa;

namespace {

std::map<std::string, std::string> environment;

const char* fromEnvironment(const char* name)
{
    const auto found = environment.find(name);
    return found == environment.end() ? nullptr : found->second.c_str();
}

} // namespace

// The first of LC_ALL, LC_MESSAGES and LANG that is set decides; an empty one is not set.
TEST(Language, LocaleDecidesByTheFirstVariableSet)
{
    const struct {
        std::map<std::string, std::string> variables;
        Language language;
    } cases[] = {
        {{}, Language::Japanese},
        {{{"LANG", "en_GB.UTF-8"}}, Language::English},
        {{{"LANG", "ja_JP.UTF-8"}}, Language::Japanese},
        {{{"LANG", "C.UTF-8"}}, Language::Japanese},
        {{{"LANG", "de_DE.UTF-8"}}, Language::Japanese},
        {{{"LC_MESSAGES", "en_US.UTF-8"}, {"LANG", "ja_JP.UTF-8"}}, Language::English},
        {{{"LC_ALL", "ja_JP.UTF-8"}, {"LC_MESSAGES", "en_US.UTF-8"}, {"LANG", "en_US.UTF-8"}}, Language::Japanese},
        {{{"LC_ALL", ""}, {"LC_MESSAGES", ""}, {"LANG", "en"}}, Language::English},
    };
    for (const auto& c : cases) {
        environment = c.variables;
        EXPECT_EQ(localeLanguage(fromEnvironment), c.language)
            << (c.variables.empty() ? "none" : c.variables.begin()->first + "=" + c.variables.begin()->second);
    }
    environment.clear();
}

// --lang is taken out wherever it stands, in both spellings; everything else stays in its order.
TEST(Language, LanguageArgumentIsTakenOutOfTheArguments)
{
    const struct {
        std::vector<std::string> arguments;
        std::optional<Language> language;
        bool refused;
        std::vector<std::string> left;
    } cases[] = {
        {{"poronpa"}, std::nullopt, false, {"poronpa"}},
        {{"poronpa", "--lang", "en", "world.ppw"}, Language::English, false, {"poronpa", "world.ppw"}},
        {{"poronpa", "--replay", "x", "--lang=ja"}, Language::Japanese, false, {"poronpa", "--replay", "x"}},
        {{"poronpa", "--lang", "fr", "world.ppw"}, std::nullopt, true, {"poronpa", "world.ppw"}},
        {{"poronpa", "--lang=EN"}, std::nullopt, true, {"poronpa"}},
        {{"poronpa", "--lang"}, std::nullopt, true, {"poronpa"}},
        {{"poronpa", "--language", "en"}, std::nullopt, false, {"poronpa", "--language", "en"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> texts = c.arguments;
        std::vector<char*> argv;
        for (std::string& text : texts)
            argv.push_back(text.data());
        argv.push_back(nullptr);
        int argc = static_cast<int>(texts.size());
        const LanguageArgument taken = takeLanguageArgument(argc, argv.data(), "poronpa");
        const std::string seen = c.arguments.size() > 1 ? c.arguments[1] : "none";
        EXPECT_EQ(taken.language, c.language) << seen;
        EXPECT_EQ(!taken.error.empty(), c.refused) << seen;
        if (c.refused)
            EXPECT_EQ(taken.error.find('\n'), std::string::npos) << seen;
        EXPECT_EQ(std::vector<std::string>(argv.begin(), argv.begin() + argc), c.left) << seen;
        EXPECT_EQ(argv[static_cast<std::size_t>(argc)], nullptr) << seen;
    }
}

TEST(Language, CommandLineThenSettingThenLocale)
{
    EXPECT_EQ(startLanguage(Language::Japanese, "en"), Language::Japanese);
    EXPECT_EQ(startLanguage(Language::English, "ja"), Language::English);
    EXPECT_EQ(startLanguage(std::nullopt, "ja"), Language::Japanese);
    EXPECT_EQ(startLanguage(std::nullopt, "en"), Language::English);
    for (const char* unchosen : {"", "fr", "EN"})
        EXPECT_EQ(startLanguage(std::nullopt, unchosen), localeLanguage()) << unchosen;
}

// A translation may put the values in another order; a value that holds "%2" stays as it is.
TEST(Translation, ArgumentsGoWhereTheTextPutsThem)
{
    EXPECT_EQ(withArguments("%1\nを手に入れた!", {"青のカギ"}), "青のカギ\nを手に入れた!");
    EXPECT_EQ(withArguments("Column %2, row %1", {"7", "12"}), "Column 12, row 7");
    EXPECT_EQ(withArguments("%1 and %2", {"%2", "b"}), "%2 and b");
    EXPECT_EQ(withArguments("100% %3", {"a"}), "100% %3");
    EXPECT_EQ(withArguments("end %", {"a"}), "end %");
}

TEST(Translation, TextsStayAsWrittenUntilAShellTranslates)
{
    EXPECT_EQ(translate("Items", "青のカギ"), "青のカギ");
    installTranslation([](const char* context, const char* source) { return std::string(context) + ":" + source; });
    EXPECT_EQ(translate("Items", std::string("青のカギ")), "Items:青のカギ");
    installTranslation(nullptr);
    EXPECT_EQ(translate("Items", "青のカギ"), "青のカギ");
}
