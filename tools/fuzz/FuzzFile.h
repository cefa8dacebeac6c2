#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

/// The fuzzers hand their input to the loaders as a real file, because that is how the loaders
/// meet it in the game.
class FuzzFile {
public:
    FuzzFile(const char* name, const std::uint8_t* data, std::size_t size)
    {
        static const std::filesystem::path dir = [] {
            std::string pattern = (std::filesystem::temp_directory_path() / "poronpa-fuzz-XXXXXX").string();
            return std::filesystem::path(::mkdtemp(pattern.data()));
        }();
        path_ = dir / name;
        std::FILE* f = std::fopen(path_.c_str(), "wb");
        if (size > 0)
            std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    ~FuzzFile() { std::filesystem::remove(path_); }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};
