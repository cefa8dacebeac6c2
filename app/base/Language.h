#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace poronpa {

/// The languages the game and the editor speak; their texts are written in Japanese and the
/// catalogue gives them in English.
enum class Language { Japanese, English };

/// "ja" or "en", as --lang and the settings file spell them.
std::string_view languageCode(Language language);
std::optional<Language> languageNamed(std::string_view code);

/// The language of the locale: the first of LC_ALL, LC_MESSAGES and LANG that is set decides,
/// English when it starts with "en", Japanese otherwise. `environment` reads a variable (getenv).
Language localeLanguage(const char* (*environment)(const char* name));
Language localeLanguage();

/// What --lang said ("--lang en" or "--lang=en"), taken out of the arguments so that the rest of
/// the program never sees it. A value other than ja or en, or none, leaves the one line that says
/// so in `error` (the program then ends with status 2).
struct LanguageArgument {
    std::optional<Language> language;
    std::string error;
};
LanguageArgument takeLanguageArgument(int& argc, char** argv, std::string_view program);

/// The language a program starts in: the command line's, else the one chosen in the settings
/// ("ja", "en"; anything else, or nothing, follows the locale), else the locale's.
Language startLanguage(std::optional<Language> argument, std::string_view setting);

} // namespace poronpa
