#pragma once

#include "app/base/TemporaryFolder.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <span>
#include <string>
#include <unistd.h>
#include <vector>

/// The fuzzers hand their input to the loaders as a real file, because that is how the loaders
/// meet it in the game.
class FuzzFile {
public:
    FuzzFile(const char* name, const std::uint8_t* data, std::size_t size) : path_(directory() / name)
    {
        std::FILE* f = std::fopen(path_.c_str(), "wb");
        if (f == nullptr || (size > 0 && std::fwrite(data, 1, size, f) != size) || std::fclose(f) != 0)
            std::abort(); // the harness itself failed, not the loader
    }
    ~FuzzFile()
    {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    /// One directory per fuzzing process, removed when the process ends.
    static const std::filesystem::path& directory()
    {
        static const poronpa::TemporaryFolder folder("fuzz");
        if (!folder.ok())
            std::abort();
        return folder.path();
    }

    std::filesystem::path path_;
};

/// Stops the run as a finding when a property of the loader does not hold.
inline void require(bool holds)
{
    if (!holds)
        std::abort();
}
