#pragma once

#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>
#include <system_error>
#include <type_traits>

namespace poronpa {

/// The version of the programs, as the build names it.
std::string_view programVersion();

/// Answers --help (with `usage`) and --version the way every program of the game does, on
/// standard output. True when either was asked for: the program then ends at once with status 0.
bool answerHelpOrVersion(int argc, char** argv, std::string_view program, std::string_view usage);

/// Writes `usage` on standard error, for arguments a program cannot take; returns the status 2 it
/// then ends with.
int refuseArguments(std::string_view usage);

/// True when an argument after the program's name looks like an option ("-x", "--name"). A
/// program that takes none refuses it, so that a mistyped option is not taken for a file name.
bool anyOption(int argc, char** argv);

/// The whole of an argument as a number of the type asked for, or nothing when any of it is not
/// one ("10x", "", "1e6" for a whole number, "-1" for an unsigned one, "nan", one out of the
/// type's range): a mistyped value is refused rather than half read.
template <typename Number> std::optional<Number> numberArgument(std::string_view text)
{
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    if constexpr (std::is_floating_point_v<Number>)
        if (!std::isfinite(value))
            return std::nullopt;
    return value;
}

} // namespace poronpa
