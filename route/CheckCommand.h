#pragma once

namespace poronpa::route {

/// The words of `mapdesign --check` for its --help.
extern const char* const CheckUsage;

/// True when the command line asks for a check (`--check` first): the editor then runs
/// checkCommand instead of opening a window, so it runs without a display.
bool asksForCheck(int argc, char** argv);

/// `--check WORLD [--budget SECONDS] [--json] [--plan FILE] [--fresh]`: checks the world,
/// prints the report on standard output, keeps a route found as a replay among the world's
/// files and returns 0 when the ending was reached, 1 when it was not, 2 for a world file that is
/// no whole world or a command line it cannot take.
int checkCommand(int argc, char** argv);

} // namespace poronpa::route
