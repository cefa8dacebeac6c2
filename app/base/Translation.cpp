#include "app/base/Translation.h"

namespace poronpa {

namespace {
TranslateFunction installed = nullptr;
} // namespace

void installTranslation(TranslateFunction function) { installed = function; }

std::string translate(const char* context, const char* source)
{
    return installed ? installed(context, source) : std::string(source);
}

std::string withArguments(std::string_view text, std::initializer_list<std::string> arguments)
{
    // In one pass, so that an argument holding "%2" is never taken for a place of its own.
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t number = i + 1 < text.size() && text[i] == '%' ? static_cast<std::size_t>(text[i + 1] - '0') : 0;
        if (number >= 1 && number <= arguments.size()) {
            result += arguments.begin()[number - 1];
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

} // namespace poronpa
