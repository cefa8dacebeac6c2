#pragma once

#include "app/base/ProgramDirectory.h"
#include "tests/support/TempDir.h"
#include "world/MapGrid.h"

#include <cstdlib>
#include <optional>
#include <string>

namespace poronpa::test {

/// Sets an environment variable (or unsets it, given nothing) for the object's life.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, std::optional<std::string> value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
    }
    ~ScopedEnvironment() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

/// An installation under a temporary prefix: the programs' folder and the data folder with a
/// shipped world of tile 7 everywhere. The program counts as running from it while the object
/// lives.
struct Installation {
    static constexpr unsigned char ShippedTile = 7;

    TempDir prefix;
    std::filesystem::path programs = prefix / "games";
    std::filesystem::path data = prefix / "share/games/poronpa";

    Installation()
    {
        std::filesystem::create_directories(programs);
        std::filesystem::create_directories(data);
        writeBytes(data / "mapdata.dat", std::vector<unsigned char>(MapGrid::FileBytes, ShippedTile));
        setProgramDirectory(programs);
    }
    ~Installation() { setProgramDirectory({}); }
    Installation(const Installation&) = delete;
    Installation& operator=(const Installation&) = delete;
};

} // namespace poronpa::test
