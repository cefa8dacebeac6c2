#include "settings/ProfileFile.h"

#include "app/SafeFile.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <vector>

namespace poronpa {

namespace {

struct Line {
    std::string text;
};

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

std::vector<std::string> splitLines(const std::vector<std::uint8_t>& bytes)
{
    std::vector<std::string> lines;
    std::string current;
    for (std::uint8_t b : bytes) {
        if (b == '\n') {
            lines.push_back(current);
            current.clear();
        } else {
            current.push_back(static_cast<char>(b));
        }
    }
    if (!current.empty())
        lines.push_back(current);
    return lines;
}

} // namespace

std::string ProfileFile::read(const std::string& section, const std::string& key, const std::string& fallback,
                              std::size_t maxLength) const
{
    std::vector<std::uint8_t> bytes;
    if (!readWholeFile(path_, bytes).ok())
        return fallback;
    bool inSection = false;
    for (const std::string& line : splitLines(bytes)) {
        std::string name;
        if (sectionName(line, name)) {
            inSection = sameName(name, section);
            continue;
        }
        std::string k, v;
        if (inSection && keyValue(line, k, v) && sameName(k, key)) {
            // The value stops at the first NUL, as a C string would, and fits the caller's buffer.
            v = v.substr(0, v.find('\0'));
            if (maxLength > 0 && v.size() > maxLength - 1)
                v.resize(maxLength - 1);
            return v;
        }
    }
    return fallback;
}

bool ProfileFile::write(const std::string& section, const std::string& key, const std::string& value) const
{
    std::vector<std::uint8_t> bytes;
    bool exists = false;
    if (!readWholeFile(path_, bytes, &exists).ok())
        return false;
    std::vector<std::string> lines = splitLines(bytes);
    // Follow the file's own line ends.
    const bool crlf = !lines.empty() && !lines.front().empty() && lines.front().back() == '\r';
    const std::string newLine = key + "=" + value + (crlf ? "\r" : "");

    bool inSection = false;
    std::ptrdiff_t sectionLast = -1; // last non-blank line of the wanted section
    bool written = false;
    for (std::size_t i = 0; i < lines.size() && !written; ++i) {
        std::string name;
        if (sectionName(lines[i], name)) {
            if (inSection)
                break;
            inSection = sameName(name, section);
            if (inSection)
                sectionLast = static_cast<std::ptrdiff_t>(i);
            continue;
        }
        if (!inSection)
            continue;
        std::string k, v;
        if (keyValue(lines[i], k, v) && sameName(k, key)) {
            lines[i] = newLine;
            written = true;
        } else if (!trim(lines[i]).empty()) {
            sectionLast = static_cast<std::ptrdiff_t>(i);
        }
    }
    if (!written) {
        if (sectionLast >= 0) {
            lines.insert(lines.begin() + sectionLast + 1, newLine);
        } else {
            lines.push_back("[" + section + "]" + (crlf ? "\r" : ""));
            lines.push_back(newLine);
        }
    }

    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return writeFileAtomically(path_, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size())).ok();
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
