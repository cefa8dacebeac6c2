#pragma once

#include <string>

namespace poronpa {

/// The full path of a data file beside the program: its directory, a "/" unless the directory
/// already ends with one (the root), and the file name. The file is neither opened nor tested.
std::string besideProgram(const std::string& fileName);

} // namespace poronpa
