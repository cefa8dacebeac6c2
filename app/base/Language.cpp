#include "app/base/Language.h"

#include <cstdlib>

namespace poronpa {

std::string_view languageCode(Language language) { return language == Language::English ? "en" : "ja"; }

std::optional<Language> languageNamed(std::string_view code)
{
    if (code == "ja")
        return Language::Japanese;
    if (code == "en")
        return Language::English;
    return std::nullopt;
}

Language localeLanguage(const char* (*environment)(const char* name))
{
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = environment(name);
        if (value && *value)
            return std::string_view(value).starts_with("en") ? Language::English : Language::Japanese;
    }
    return Language::Japanese;
}

Language localeLanguage()
{
    return localeLanguage([](const char* name) -> const char* { return std::getenv(name); });
}

LanguageArgument takeLanguageArgument(int& argc, char** argv, std::string_view program)
{
    constexpr std::string_view Option = "--lang";
    LanguageArgument result;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument(argv[i]);
        std::optional<std::string_view> value;
        if (argument == Option)
            value = i + 1 < argc ? std::string_view(argv[++i]) : std::string_view();
        else if (argument.starts_with(Option) && argument[Option.size()] == '=')
            value = argument.substr(Option.size() + 1);
        if (!value) {
            argv[kept++] = argv[i];
            continue;
        }
        result.language = languageNamed(*value);
        if (result.language || !result.error.empty())
            continue;
        result.error = std::string(program) + (value->empty() ? ": --lang needs ja or en"
                                                              : ": --lang takes ja or en, not \"" + std::string(*value) + "\"");
    }
    argc = kept;
    argv[argc] = nullptr;
    return result;
}

Language startLanguage(std::optional<Language> argument, std::string_view setting)
{
    if (argument)
        return *argument;
    if (const auto chosen = languageNamed(setting))
        return *chosen;
    return localeLanguage();
}

} // namespace poronpa
