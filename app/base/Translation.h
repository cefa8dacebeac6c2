#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

/// Marks a text the player sees for the catalogue, under the context it is looked up in; it stands
/// for the text itself, so tables keep their texts where they are. The catalogue's tool reads it
/// as the toolkit's QT_TRANSLATE_NOOP (translations/CMakeLists.txt).
#define PORONPA_TR(context, text) text

namespace poronpa {

/// How the shell turns a marked text into the player's language.
using TranslateFunction = std::string (*)(const char* context, const char* source);

/// Set once by a shell before its first window; until then, and in every program without a window
/// (the simulator, the tools), texts stay as written.
void installTranslation(TranslateFunction function);

/// `source` in the player's language, looked up under `context` as it was marked.
std::string translate(const char* context, const char* source);
inline std::string translate(const char* context, const std::string& source)
{
    return translate(context, source.c_str());
}

/// `text` with each of "%1".."%9" replaced by that argument, so that a translation may put the
/// arguments where its language wants them.
std::string withArguments(std::string_view text, std::initializer_list<std::string> arguments);

} // namespace poronpa
