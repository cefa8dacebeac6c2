#pragma once

#include <filesystem>
#include <string>

namespace poronpa {

/// A fresh folder of its own under the system's temporary folder, removed with everything in it
/// when it goes, unless it was asked to stay.
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

private:
    std::filesystem::path path_;
    bool kept_ = false;
};

} // namespace poronpa
