#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace poronpa::sim {

/// Runs the play engine headless as the command line says: reads the map and the key script,
/// plays the frames, writes the trace and the closing summary to `out`. Returns the exit status:
/// 0, or 2 after a one-line message on `err` for bad arguments or unreadable files.
int runSimulator(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

} // namespace poronpa::sim
