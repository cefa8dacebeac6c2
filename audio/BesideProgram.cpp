#include "audio/BesideProgram.h"

#include "app/ProgramDirectory.h"

namespace poronpa {

std::string besideProgram(const std::string& fileName)
{
    std::string path = programDirectory().string();
    if (path.empty() || path.back() != '/')
        path += '/';
    return path + fileName;
}

} // namespace poronpa
