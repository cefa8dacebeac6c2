#pragma once

#include "app/base/SafeFile.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace poronpa {

/// Reads and writes values in a sectioned key=value text file, with the semantics of the
/// classic private-profile calls: section and key names compared without regard to case,
/// values trimmed of surrounding blanks (and of one pair of enclosing quotes), a written value
/// replacing the old one in place, every other line of the file kept as it was. Lines may end in
/// LF, CR LF or CR alone, and a UTF-8 byte-order mark may open the file; new lines take the
/// file's own line end.
class ProfileFile {
public:
    /// The longest file read as settings; a longer one is neither read nor rewritten.
    static constexpr std::size_t MostBytes = std::size_t{1} << 20;

    explicit ProfileFile(std::filesystem::path path = {}) : path_(std::move(path)) {}

    const std::filesystem::path& path() const { return path_; }

    /// Why the file cannot be read, when it exists but cannot (a missing file can).
    FileStatus readable() const;

    /// The value of key in section, at most maxLength - 1 characters; fallback when the file, the
    /// section or the key is missing.
    std::string read(const std::string& section, const std::string& key, const std::string& fallback = {},
                     std::size_t maxLength = 200) const;

    /// The names of the keys in section, in the file's order, each once as first spelt; none when
    /// the file or the section is missing. Comment lines (";") name no key.
    std::vector<std::string> keys(const std::string& section) const;

    /// Sets key in section, creating the file, the section or the key as needed. Says why when
    /// the file could not be written (read-only, not a regular file, or grown beyond MostBytes);
    /// nothing is lost then.
    FileStatus write(const std::string& section, const std::string& key, const std::string& value);

    struct Value {
        std::string section;
        std::string key;
        std::string value;
    };
    /// Sets several keys in one rewrite of the file: all of them, or none when it fails.
    FileStatus write(const std::vector<Value>& values);

private:
    /// Calls `entry` with the key and value of each key=value line of section in turn, until it
    /// returns false.
    void visit(const std::string& section, const std::function<bool(const std::string&, std::string&)>& entry) const;

    std::filesystem::path path_;
};

/// The numeric value of the number at the start of a text, as a loosely typed language reads it:
/// blanks before it ignored, an optional sign, digits with an optional fraction and exponent, or
/// &H / &O for hexadecimal and octal; 0 when no number starts the text.
double leadingNumber(const std::string& text);

/// v rounded to the nearest integer, halves to even, then held inside [low, high].
long long roundToRange(double v, long long low, long long high);

} // namespace poronpa
