#include "settings/ProfileFile.h"

#include "app/base/SafeFile.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <functional>
#include <string_view>
#include <vector>

namespace poronpa {

namespace {

std::string trim(const std::string& s)
{
    const auto isBlank = [](unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    std::size_t begin = 0;
    std::size_t end = s.size();
    while (begin < end && isBlank(static_cast<unsigned char>(s[begin])))
        ++begin;
    while (end > begin && isBlank(static_cast<unsigned char>(s[end - 1])))
        --end;
    return s.substr(begin, end - begin);
}

bool sameName(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

/// The section name of a "[name]" line, or false.
bool sectionName(const std::string& line, std::string& name)
{
    const std::string t = trim(line);
    if (t.empty() || t.front() != '[')
        return false;
    const std::size_t close = t.find(']');
    name = trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
    return true;
}

/// The key and value of a "key=value" line, or false.
bool keyValue(const std::string& line, std::string& key, std::string& value)
{
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos)
        return false;
    key = trim(line.substr(0, eq));
    value = trim(line.substr(eq + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return true;
}

/// The file as lines, each with the line end it had, so that a write changes only its own line.
/// A byte-order mark before the first line is kept apart: it belongs to no name.
struct ProfileText {
    struct Line {
        std::string text;
        std::string end; ///< "\n", "\r\n", "\r", or empty for a last line without one
    };
    std::string byteOrderMark;
    std::vector<Line> lines;

    static ProfileText parse(const std::vector<std::uint8_t>& bytes)
    {
        static const std::string Mark = "\xEF\xBB\xBF";
        ProfileText profile;
        std::string_view rest(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        if (rest.starts_with(Mark)) {
            profile.byteOrderMark = Mark;
            rest.remove_prefix(Mark.size());
        }
        while (!rest.empty()) {
            const std::size_t stop = rest.find_first_of("\r\n");
            Line line{std::string(rest.substr(0, stop)), {}};
            if (stop != std::string_view::npos) {
                const std::size_t endLength = rest.compare(stop, 2, "\r\n") == 0 ? 2 : 1;
                line.end = std::string(rest.substr(stop, endLength));
                rest.remove_prefix(stop + endLength);
            } else {
                rest = {};
            }
            profile.lines.push_back(std::move(line));
        }
        return profile;
    }

    /// The line end new lines get: the file's first one, or a plain newline.
    std::string newLine() const
    {
        for (const Line& line : lines)
            if (!line.end.empty())
                return line.end;
        return "\n";
    }

    std::string text() const
    {
        const std::string fresh = newLine();
        std::string all = byteOrderMark;
        for (const Line& line : lines)
            all += line.text + (line.end.empty() ? fresh : line.end);
        return all;
    }
};

/// Sets a key's value in place, or adds it at the end of its section, or adds the section at the
/// end of the file.
void set(ProfileText& profile, const ProfileFile::Value& value)
{
    auto& lines = profile.lines;
    const std::string newLine = profile.newLine();
    const ProfileText::Line entry{value.key + "=" + value.value, newLine};

    bool inSection = false;
    std::ptrdiff_t sectionLast = -1; // last non-blank line of the wanted section
    bool written = false;
    for (std::size_t i = 0; i < lines.size() && !written; ++i) {
        std::string name;
        if (sectionName(lines[i].text, name)) {
            if (inSection)
                break;
            inSection = sameName(name, value.section);
            if (inSection)
                sectionLast = static_cast<std::ptrdiff_t>(i);
            continue;
        }
        if (!inSection)
            continue;
        std::string k, v;
        if (keyValue(lines[i].text, k, v) && sameName(k, value.key)) {
            lines[i].text = entry.text;
            written = true;
        } else if (!trim(lines[i].text).empty()) {
            sectionLast = static_cast<std::ptrdiff_t>(i);
        }
    }
    if (!written) {
        if (sectionLast >= 0) {
            lines.insert(lines.begin() + sectionLast + 1, entry);
        } else {
            lines.push_back({"[" + value.section + "]", newLine});
            lines.push_back(entry);
        }
    }
}

} // namespace

FileStatus ProfileFile::readable() const
{
    std::vector<std::uint8_t> bytes;
    return readWholeFile(path_, bytes, nullptr, MostBytes);
}

void ProfileFile::visit(const std::string& section,
                        const std::function<bool(const std::string&, std::string&)>& entry) const
{
    std::vector<std::uint8_t> bytes;
    if (!readWholeFile(path_, bytes, nullptr, MostBytes).ok())
        return;
    bool inSection = false;
    for (const auto& [line, end] : ProfileText::parse(bytes).lines) {
        std::string name;
        if (sectionName(line, name)) {
            inSection = sameName(name, section);
            continue;
        }
        std::string k, v;
        if (inSection && keyValue(line, k, v) && !entry(k, v))
            return;
    }
}

std::string ProfileFile::read(const std::string& section, const std::string& key, const std::string& fallback,
                              std::size_t maxLength) const
{
    std::string value = fallback;
    visit(section, [&](const std::string& k, std::string& v) {
        if (!sameName(k, key))
            return true;
        // The value stops at the first NUL, as a C string would, and fits the caller's buffer.
        value = v.substr(0, v.find('\0'));
        if (maxLength > 0 && value.size() > maxLength - 1)
            value.resize(maxLength - 1);
        return false;
    });
    return value;
}

std::vector<std::string> ProfileFile::keys(const std::string& section) const
{
    std::vector<std::string> names;
    visit(section, [&names](const std::string& k, std::string&) {
        const bool comment = k.empty() || k.front() == ';';
        if (!comment && std::none_of(names.begin(), names.end(), [&k](const std::string& known) { return sameName(known, k); }))
            names.push_back(k);
        return true;
    });
    return names;
}

FileStatus ProfileFile::write(const std::string& section, const std::string& key, const std::string& value)
{
    return write({{section, key, value}});
}

FileStatus ProfileFile::write(const std::vector<Value>& values)
{
    const auto change = [&](std::vector<std::uint8_t>& bytes, bool) {
        ProfileText profile = ProfileText::parse(bytes);
        for (const Value& value : values)
            set(profile, value);
        const std::string text = profile.text();
        bytes.assign(text.begin(), text.end());
    };
    // A settings file too large to be ours is left alone rather than rewritten, and so is one
    // that would grow too large to be read back whole.
    return updateFile(path_, MostBytes, LongerFile::Refuse, change);
}

double leadingNumber(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    if (i + 1 < text.size() && text[i] == '&') {
        const char kind = static_cast<char>(std::toupper(static_cast<unsigned char>(text[i + 1])));
        const int base = kind == 'H' ? 16 : kind == 'O' ? 8 : 0;
        if (base != 0) {
            double v = 0;
            for (i += 2; i < text.size(); ++i) {
                const int c = std::tolower(static_cast<unsigned char>(text[i]));
                const int digit = std::isdigit(c) ? c - '0' : (c >= 'a' && c <= 'f') ? c - 'a' + 10 : 99;
                if (digit >= base)
                    break;
                v = v * base + digit;
            }
            return v;
        }
    }
    // Take the longest prefix that forms a decimal number.
    std::size_t j = i;
    if (j < text.size() && (text[j] == '+' || text[j] == '-'))
        ++j;
    const std::size_t digitsStart = j;
    while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j])))
        ++j;
    if (j < text.size() && text[j] == '.') {
        ++j;
        while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j])))
            ++j;
    }
    if (j == digitsStart || (j == digitsStart + 1 && text[digitsStart] == '.'))
        return 0;
    if (j < text.size() && (text[j] == 'e' || text[j] == 'E' || text[j] == 'd' || text[j] == 'D')) {
        std::size_t k = j + 1;
        if (k < text.size() && (text[k] == '+' || text[k] == '-'))
            ++k;
        if (k < text.size() && std::isdigit(static_cast<unsigned char>(text[k]))) {
            while (k < text.size() && std::isdigit(static_cast<unsigned char>(text[k])))
                ++k;
            j = k;
        }
    }
    std::string number = text.substr(i, j - i);
    std::replace(number.begin(), number.end(), 'd', 'e');
    std::replace(number.begin(), number.end(), 'D', 'e');
    const double v = std::strtod(number.c_str(), nullptr);
    return std::isfinite(v) ? v : (v > 0 ? 1e308 : -1e308);
}

long long roundToRange(double v, long long low, long long high)
{
    if (std::isnan(v))
        return 0;
    if (v <= static_cast<double>(low))
        return low;
    if (v >= static_cast<double>(high))
        return high;
    return static_cast<long long>(std::nearbyint(v)); // the default rounding mode: halves to even
}

} // namespace poronpa
