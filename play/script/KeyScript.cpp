#include "play/script/KeyScript.h"

#include "play/KeyCodes.h"

#include <array>
#include <charconv>
#include <limits>
#include <sstream>
#include <utility>

namespace poronpa::sim {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::vector<std::string_view> words(std::string_view line)
{
    std::vector<std::string_view> result;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && isBlank(line[i]))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && !isBlank(line[i]))
            ++i;
        if (i > start)
            result.push_back(line.substr(start, i - start));
    }
    return result;
}

/// Reads one `COUNT KEYS` line (comment already removed); returns an error text or "".
std::string parseRun(const std::vector<std::string_view>& parts, KeyRun& run)
{
    if (parts.size() != 2)
        return parts.size() < 2 ? "expected COUNT KEYS" : "unexpected text after the keys";

    const std::string_view count = parts[0];
    const auto [end, ec] = std::from_chars(count.data(), count.data() + count.size(), run.frames);
    if (ec != std::errc() || end != count.data() + count.size() || run.frames < 1)
        return "bad count \"" + std::string(count) + "\" (a whole number of frames from 1)";

    const std::string_view keys = parts[1];
    if (keys == "-")
        return "";
    std::size_t start = 0;
    for (;;) {
        const std::size_t plus = keys.find('+', start);
        const std::string_view name = keys.substr(start, plus == std::string_view::npos ? std::string_view::npos : plus - start);
        const int code = keys::codeOf(name);
        if (code < 0)
            return "unknown key \"" + std::string(name) + "\"";
        run.keys.set(static_cast<std::size_t>(code));
        if (plus == std::string_view::npos)
            return "";
        start = plus + 1;
    }
}

std::string tooLong() { return "longer than " + std::to_string(KeyScriptReader::MostLineChars) + " characters before any comment"; }

} // namespace

KeyLine parseKeyLine(std::string_view line, KeyRun& run, std::string& problem)
{
    if (const std::size_t hash = line.find('#'); hash != std::string_view::npos)
        line = line.substr(0, hash);
    if (line.size() > KeyScriptReader::MostLineChars) {
        problem = tooLong();
        return KeyLine::Bad;
    }
    const auto parts = words(line);
    if (parts.empty())
        return KeyLine::Nothing;
    run = KeyRun{};
    problem = parseRun(parts, run);
    return problem.empty() ? KeyLine::Run : KeyLine::Bad;
}

std::string keysText(const KeySet& keys)
{
    std::string text;
    for (const auto& [name, code] : poronpa::keys::Names) {
        if (!keys.test(static_cast<std::size_t>(code)))
            continue;
        if (!text.empty())
            text += '+';
        text += name;
    }
    return text.empty() ? "-" : text;
}

KeySet namedKeys()
{
    KeySet keys;
    for (const auto& [name, code] : poronpa::keys::Names)
        keys.set(static_cast<std::size_t>(code));
    return keys;
}

std::int64_t KeyScript::totalFrames() const
{
    std::int64_t total = 0;
    for (const KeyRun& run : runs)
        total += run.frames;
    return total;
}

bool KeyScriptReader::next(KeyRun& run)
{
    if (!error_.empty())
        return false;
    std::streambuf& in = *in_.rdbuf();
    for (;;) {
        if (in.sgetc() == std::char_traits<char>::eof())
            return false;
        ++lineNumber_;
        // Only the text before a comment is kept, and only as much of it as a line can need.
        const auto fail = [&](const std::string& problem) {
            error_ = "line " + std::to_string(lineNumber_) + ": " + problem;
            return false;
        };
        std::string line;
        bool comment = false;
        for (int c; (c = in.sbumpc()) != std::char_traits<char>::eof() && c != '\n';) {
            if (c == '#')
                comment = true;
            else if (!comment && line.size() == MostLineChars) // (an endless device ends here too)
                return fail(tooLong());
            else if (!comment)
                line.push_back(static_cast<char>(c));
        }
        // Editors on some systems start a text file with a byte-order mark; it is no part of the script.
        if (lineNumber_ == 1 && line.starts_with(ByteOrderMark))
            line.erase(0, ByteOrderMark.size());
        std::string problem;
        const KeyLine kind = parseKeyLine(line, run, problem);
        if (kind == KeyLine::Nothing)
            continue;
        if (kind == KeyLine::Bad)
            return fail(problem);
        if (run.frames > std::numeric_limits<std::int64_t>::max() - totalFrames_)
            return fail("the counts add up to more than " + std::to_string(std::numeric_limits<std::int64_t>::max()) + " frames");
        totalFrames_ += run.frames;
        return true;
    }
}

bool parseKeyScript(std::string_view text, KeyScript& script, std::string& error)
{
    script.runs.clear();
    std::istringstream in{std::string(text)};
    KeyScriptReader reader(in);
    for (KeyRun run; reader.next(run);)
        script.runs.push_back(run);
    error = reader.error();
    return error.empty();
}

bool KeyFeed::next(KeySet& keys)
{
    while (!ended_ && usedOfRun_ == run_.frames) {
        ended_ = !script_.next(run_);
        usedOfRun_ = 0;
    }
    if (ended_) {
        keys.reset();
        return false;
    }
    ++usedOfRun_;
    keys = run_.keys;
    return true;
}

} // namespace poronpa::sim
