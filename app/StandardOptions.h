#pragma once

#include <string_view>

namespace poronpa {

/// The version of the programs, as the build names it.
std::string_view programVersion();

/// Answers --help (with `usage`) and --version the way every program of the game does, on
/// standard output. True when either was asked for: the program then ends at once with status 0.
bool answerHelpOrVersion(int argc, char** argv, std::string_view program, std::string_view usage);

/// Writes `usage` on standard error, for arguments a program cannot take; returns the status 2 it
/// then ends with.
int refuseArguments(std::string_view usage);

} // namespace poronpa
