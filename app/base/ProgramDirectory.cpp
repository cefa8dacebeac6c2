#include "app/base/ProgramDirectory.h"

#include <optional>
#include <system_error>

namespace poronpa {

namespace {
std::optional<std::filesystem::path>& overridden()
{
    static std::optional<std::filesystem::path> directory;
    return directory;
}
} // namespace

std::filesystem::path programDirectory()
{
    if (overridden())
        return *overridden();
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return std::filesystem::current_path();
    return executable.parent_path();
}

void setProgramDirectory(const std::filesystem::path& directory)
{
    if (directory.empty())
        overridden().reset();
    else
        overridden() = directory;
}

} // namespace poronpa
