#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace poronpa {

/// A fresh folder of its own under the system's temporary folder, removed with everything in it
/// when it goes, unless it was asked to stay. While it lives it holds an advisory lock on itself,
/// which ends with the process however that ends: a folder nobody holds was left by a program
/// that was killed. The lock is not the one writers take turns by in a folder (SafeFile.h), so
/// files are written inside as anywhere else.
class TemporaryFolder {
public:
    /// Creates poronpa-<purpose>-XXXXXX; ok() says whether that worked.
    explicit TemporaryFolder(const std::string& purpose);
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    bool ok() const { return !path_.empty(); }
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

    /// Leaves the folder and what it holds behind, for someone to look at.
    void keep() { kept_ = true; }

    /// Removes the folders of these purposes that programs of this user killed before they could
    /// remove them; the folders of programs still running stay.
    static void removeLeftovers(const std::vector<std::string>& purposes);

private:
    std::filesystem::path path_;
    int lock_ = -1;
    bool kept_ = false;
};

} // namespace poronpa
