#include "app/TemporaryFolder.h"

#include <cstdlib>
#include <system_error>

namespace poronpa {

TemporaryFolder::TemporaryFolder(const std::string& purpose)
{
    std::error_code error;
    std::string pattern = (std::filesystem::temp_directory_path(error) / ("poronpa-" + purpose + "-XXXXXX")).string();
    if (!error && ::mkdtemp(pattern.data()) != nullptr)
        path_ = pattern;
}

TemporaryFolder::~TemporaryFolder()
{
    if (path_.empty() || kept_)
        return;
    // Whatever was made read-only inside must not keep the folder from going.
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

} // namespace poronpa
