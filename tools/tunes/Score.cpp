#include "Score.h"

#include "MidiWriter.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <sstream>
#include <stdexcept>

namespace poronpa::tunes {

namespace {

[[noreturn]] void fail(const std::string& file, int line, const std::string& message)
{
    throw std::runtime_error(file + ":" + std::to_string(line) + ": " + message);
}

std::vector<std::string> words(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string word; in >> word;)
        out.push_back(word);
    return out;
}

/// A comment starts with "#" at the start of a word; inside a word "#" is a sharp.
std::string stripComment(const std::string& line)
{
    for (std::size_t i = 0; i < line.size(); ++i)
        if (line[i] == '#' && (i == 0 || std::isspace(static_cast<unsigned char>(line[i - 1]))))
            return line.substr(0, i);
    return line;
}

const std::map<std::string, int>& drumKeys()
{
    static const std::map<std::string, int> keys{
        {"k", 36}, {"k2", 35}, {"sn", 37}, {"s", 38}, {"cl", 39}, {"h", 42}, {"ph", 44},
        {"o", 46}, {"t4", 43}, {"t3", 45}, {"t2", 47}, {"t1", 50}, {"cr", 49}, {"rd", 51},
        {"rb", 53}, {"tb", 54}, {"sp", 55}, {"cb", 56}, {"ca", 69}, {"ma", 70}, {"cv", 75},
        {"wb", 76}, {"wl", 77}, {"tm", 80}, {"tri", 81},
    };
    return keys;
}

const std::map<std::string, std::vector<int>>& chordShapes()
{
    static const std::map<std::string, std::vector<int>> shapes{
        {"", {0, 4, 7}},          {"m", {0, 3, 7}},          {"7", {0, 4, 7, 10}},
        {"maj7", {0, 4, 7, 11}},  {"m7", {0, 3, 7, 10}},     {"6", {0, 4, 7, 9}},
        {"m6", {0, 3, 7, 9}},     {"sus4", {0, 5, 7}},       {"sus2", {0, 2, 7}},
        {"7sus4", {0, 5, 7, 10}}, {"dim", {0, 3, 6}},        {"aug", {0, 4, 8}},
        {"add9", {0, 2, 4, 7}},   {"9", {0, 2, 4, 7, 10}},   {"maj9", {0, 2, 4, 7, 11}},
        {"m9", {0, 2, 3, 7, 10}}, {"madd9", {0, 2, 3, 7}},   {"m7b5", {0, 3, 6, 10}},
    };
    return shapes;
}

int pitchClass(char letter)
{
    static const int classes[] = {9, 11, 0, 2, 4, 5, 7}; // a b c d e f g
    return classes[letter - 'a'];
}

/// Reads a note name such as "c4", "f#5" or "bb3" (c4 is middle C, key 60); -1 if it is none.
int parsePitch(const std::string& text)
{
    if (text.empty() || text[0] < 'a' || text[0] > 'g')
        return -1;
    int key = pitchClass(text[0]);
    std::size_t i = 1;
    for (; i < text.size() && (text[i] == '#' || text[i] == 'b'); ++i)
        key += text[i] == '#' ? 1 : -1;
    if (i >= text.size() || !std::isdigit(static_cast<unsigned char>(text[i])))
        return -1;
    int octave = 0;
    for (; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i])))
            return -1;
        octave = octave * 10 + (text[i] - '0');
    }
    return key + 12 * (octave + 1);
}

/// Expands "( tokens )xN" groups, nested or not, into N copies of the tokens.
std::vector<std::string> expandRepeats(const std::vector<std::string>& tokens, std::size_t& i, bool nested,
                                       const std::string& file, int line)
{
    std::vector<std::string> out;
    while (i < tokens.size()) {
        const std::string token = tokens[i++];
        if (token == "(") {
            const std::vector<std::string> inner = expandRepeats(tokens, i, true, file, line);
            if (i >= tokens.size() || tokens[i][0] != ')')
                fail(file, line, "a repeat group is not closed");
            const std::string closing = tokens[i++];
            int count = 1;
            if (closing.size() > 2 && closing[1] == 'x')
                count = std::stoi(closing.substr(2));
            else if (closing != ")")
                fail(file, line, "a repeat group closes with \")xN\"");
            for (int n = 0; n < count; ++n)
                out.insert(out.end(), inner.begin(), inner.end());
        } else if (token[0] == ')') {
            if (!nested)
                fail(file, line, "\")\" without \"(\"");
            --i;
            return out;
        } else {
            out.push_back(token);
        }
    }
    return out;
}

/// Splits a line into tokens; a bracketed chord or a chord symbol with its duration stays one token.
std::vector<std::string> tokenize(const std::string& text, const std::string& file, int line)
{
    std::vector<std::string> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        if (std::isspace(static_cast<unsigned char>(text[i]))) {
            ++i;
            continue;
        }
        std::size_t end = i;
        if (text[i] == '[' || text[i] == '<') {
            const char close = text[i] == '[' ? ']' : '>';
            end = text.find(close, i);
            if (end == std::string::npos)
                fail(file, line, std::string("missing ") + close);
        } else if (text[i] == '(') {
            tokens.push_back("(");
            ++i;
            continue;
        } else if (text[i] == ')') {
            // The closing bracket carries its repeat count: ")x4".
            ++end;
        }
        while (end < text.size() && !std::isspace(static_cast<unsigned char>(text[end])) && text[end] != '('
               && text[end] != ')')
            ++end;
        tokens.push_back(text.substr(i, end - i));
        i = end;
    }
    std::size_t position = 0;
    return expandRepeats(tokens, position, false, file, line);
}

struct LinePlayer {
    const Score& score;
    const Part& part;
    MidiWriter& midi;
    std::uint32_t sectionStart;
    int lineNumber = 0;
    std::uint32_t position = 0; // from the start of the section
    std::uint32_t lastLength;
    int velocity;

    std::uint32_t barLength() const
    {
        return static_cast<std::uint32_t>(score.beatsPerBar * score.ticksPerQuarter * 4 / score.beatUnit);
    }

    std::uint32_t parseLength(const std::string& text)
    {
        std::uint32_t total = 0;
        std::istringstream in(text);
        for (std::string piece; std::getline(in, piece, '+');) {
            std::size_t used = 0;
            int denominator = 0;
            try {
                denominator = std::stoi(piece, &used);
            } catch (const std::exception&) {
                fail(score.fileName, lineNumber, "bad duration \"" + text + "\"");
            }
            if (denominator <= 0 || (4 * score.ticksPerQuarter) % denominator != 0)
                fail(score.fileName, lineNumber, "bad duration \"" + text + "\"");
            std::uint32_t length = static_cast<std::uint32_t>(4 * score.ticksPerQuarter / denominator);
            const std::string rest = piece.substr(used);
            if (rest == ".")
                length = length * 3 / 2;
            else if (rest == "t")
                length = length * 2 / 3;
            else if (!rest.empty())
                fail(score.fileName, lineNumber, "bad duration \"" + text + "\"");
            total += length;
        }
        return total;
    }

    /// Loudness by place in the bar: downbeats lean in, off-beats fall back a little.
    int metricVelocity(int base) const
    {
        const std::uint32_t inBar = position % barLength();
        if (inBar == 0)
            return base + 6;
        if (inBar % static_cast<std::uint32_t>(score.ticksPerQuarter) == 0)
            return base;
        return base - 6;
    }

    std::vector<int> keysOf(const std::string& head)
    {
        std::vector<int> keys;
        if (head == "r")
            return keys;
        if (head.front() == '[') {
            for (const std::string& word : words(head.substr(1, head.size() - 2))) {
                const auto more = keysOf(word);
                keys.insert(keys.end(), more.begin(), more.end());
            }
            return keys;
        }
        if (head.front() == '<')
            return chordKeys(head.substr(1, head.size() - 2));
        if (part.channel == 10) {
            const auto found = drumKeys().find(head);
            if (found != drumKeys().end())
                return {found->second};
        }
        const int key = parsePitch(head);
        if (key < 0)
            fail(score.fileName, lineNumber, "\"" + head + "\" is neither a note nor a drum of this part");
        return {key};
    }

    std::vector<int> chordKeys(const std::string& symbol)
    {
        if (symbol.empty() || symbol[0] < 'A' || symbol[0] > 'G')
            fail(score.fileName, lineNumber, "bad chord <" + symbol + ">");
        int root = pitchClass(static_cast<char>(symbol[0] - 'A' + 'a'));
        std::size_t i = 1;
        if (i < symbol.size() && (symbol[i] == '#' || symbol[i] == 'b'))
            root += symbol[i++] == '#' ? 1 : -1;
        const auto shape = chordShapes().find(symbol.substr(i));
        if (shape == chordShapes().end())
            fail(score.fileName, lineNumber, "unknown chord quality in <" + symbol + ">");
        std::vector<int> keys;
        for (int interval : shape->second) {
            const int pc = ((root + interval) % 12 + 12) % 12;
            keys.push_back(part.chordFloor + ((pc - part.chordFloor) % 12 + 12) % 12);
        }
        std::sort(keys.begin(), keys.end());
        return keys;
    }

    void play(const std::string& token)
    {
        if (token == "|") {
            if (position % barLength() != 0)
                fail(score.fileName, lineNumber, "bar line in the middle of a bar (part " + part.name + ")");
            return;
        }
        if (token.size() > 1 && token[0] == 'v' && std::isdigit(static_cast<unsigned char>(token[1]))) {
            velocity = std::stoi(token.substr(1));
            return;
        }
        std::string head = token;
        int accent = 0;
        while (!head.empty() && (head.back() == '!' || head.back() == '?')) {
            accent += head.back() == '!' ? 14 : -22;
            head.pop_back();
        }
        const auto slash = head.rfind('/');
        const auto closing = head.find_last_of("]>");
        if (slash != std::string::npos && (closing == std::string::npos || slash > closing)) {
            lastLength = parseLength(head.substr(slash + 1));
            head = head.substr(0, slash);
        }
        if (head.empty())
            fail(score.fileName, lineNumber, "a duration without a note");
        const bool drums = part.channel == 10;
        const auto sounding = static_cast<std::uint32_t>(
            std::max(1.0, std::round(lastLength * (drums ? 0.5 : part.gate))));
        for (int key : keysOf(head))
            midi.note(sectionStart + position, sounding, part.channel, key, metricVelocity(velocity) + accent);
        position += lastLength;
    }
};

} // namespace

Score parseScore(const std::string& text, const std::string& fileName)
{
    Score score;
    score.fileName = fileName;
    std::istringstream in(text);
    Section* section = nullptr;
    int number = 0;
    for (std::string raw; std::getline(in, raw);) {
        ++number;
        const std::string line = stripComment(raw);
        const std::vector<std::string> w = words(line);
        if (w.empty())
            continue;
        const auto colon = w[0].find(':');
        if (colon != std::string::npos && colon + 1 == w[0].size()) {
            if (!section)
                fail(fileName, number, "notes outside a section");
            const std::string partName = w[0].substr(0, colon);
            const bool known = std::any_of(score.parts.begin(), score.parts.end(),
                                           [&](const Part& p) { return p.name == partName; });
            if (!known)
                fail(fileName, number, "unknown part \"" + partName + "\"");
            section->lines[partName].push_back({number, line.substr(line.find(':') + 1)});
        } else if (w[0] == "tempo" && w.size() == 2) {
            score.tempo = std::stod(w[1]);
        } else if (w[0] == "meter" && w.size() == 2) {
            const auto slash = w[1].find('/');
            score.beatsPerBar = std::stoi(w[1].substr(0, slash));
            score.beatUnit = std::stoi(w[1].substr(slash + 1));
        } else if (w[0] == "tail" && w.size() == 2) {
            score.tailBeats = std::stod(w[1]);
        } else if (w[0] == "part" && w.size() >= 2) {
            Part part;
            part.name = w[1];
            for (std::size_t i = 2; i < w.size(); ++i) {
                const auto equals = w[i].find('=');
                if (equals == std::string::npos)
                    fail(fileName, number, "part settings are key=value");
                const std::string key = w[i].substr(0, equals);
                const std::string value = w[i].substr(equals + 1);
                if (key == "ch") part.channel = std::stoi(value);
                else if (key == "prog") part.program = std::stoi(value);
                else if (key == "vol") part.volume = std::stoi(value);
                else if (key == "pan") part.pan = std::stoi(value);
                else if (key == "rev") part.reverb = std::stoi(value);
                else if (key == "cho") part.chorus = std::stoi(value);
                else if (key == "gate") part.gate = std::stod(value);
                else if (key == "vel") part.velocity = std::stoi(value);
                else if (key == "floor") {
                    part.chordFloor = parsePitch(value);
                    if (part.chordFloor < 0)
                        fail(fileName, number, "floor is a note such as g3");
                } else
                    fail(fileName, number, "unknown part setting \"" + key + "\"");
            }
            score.parts.push_back(part);
        } else if (w[0] == "section" && w.size() >= 2) {
            section = &score.sections[w[1]];
            section->name = w[1];
            for (std::size_t i = 2; i < w.size(); ++i) {
                if (w[i].starts_with("tempo="))
                    section->tempo = std::stod(w[i].substr(6));
                else if (w[i].starts_with("rit="))
                    section->slowingTo = std::stod(w[i].substr(4));
                else
                    fail(fileName, number, "a section takes tempo= and rit= only");
            }
        } else if (w[0] == "form") {
            score.form.insert(score.form.end(), w.begin() + 1, w.end());
        } else {
            fail(fileName, number, "cannot read \"" + w[0] + "\"");
        }
    }
    for (const std::string& name : score.form)
        if (!score.sections.contains(name))
            fail(fileName, number, "the form names an unknown section \"" + name + "\"");
    if (score.form.empty())
        fail(fileName, number, "no form line");
    return score;
}

std::pair<std::vector<std::uint8_t>, double> compileScore(const Score& score, const std::set<std::string>& sounding)
{
    MidiWriter midi(score.ticksPerQuarter);
    midi.beginTrack("tempo");
    midi.timeSignature(0, score.beatsPerBar, score.beatUnit);
    midi.tempo(0, score.tempo);

    // Section lengths come from the notes; every part must fill its sections exactly.
    std::map<std::string, std::uint32_t> sectionLength;
    std::vector<std::uint32_t> starts;
    std::uint32_t cursor = 0;
    double seconds = 0.0;
    double tempo = score.tempo;
    for (const std::string& name : score.form) {
        const Section& section = score.sections.at(name);
        if (section.tempo > 0.0 && section.tempo != tempo) {
            tempo = section.tempo;
            midi.tempo(cursor, tempo);
        }
        starts.push_back(cursor);
        const std::uint32_t sectionStart = cursor;
        if (!sectionLength.contains(name)) {
            MidiWriter scratch(score.ticksPerQuarter);
            scratch.beginTrack("measure");
            std::uint32_t longest = 0;
            for (const auto& [partName, lines] : section.lines) {
                const Part& part = *std::find_if(score.parts.begin(), score.parts.end(),
                                                 [&](const Part& p) { return p.name == partName; });
                LinePlayer player{score, part, scratch, 0, 0, 0, 480, part.velocity};
                for (const SourceLine& line : lines) {
                    player.lineNumber = line.number;
                    for (const std::string& token : tokenize(line.text, score.fileName, line.number))
                        player.play(token);
                }
                if (longest != 0 && player.position != longest)
                    fail(score.fileName, lines.front().number,
                         "part " + partName + " of section " + name + " is not as long as the others");
                longest = std::max(longest, player.position);
            }
            sectionLength[name] = longest;
        }
        cursor += sectionLength[name];
        if (section.slowingTo <= 0.0) {
            seconds += sectionLength[name] / static_cast<double>(score.ticksPerQuarter) * 60.0 / tempo;
            continue;
        }
        // A ritardando: every beat a little slower, the last at the tempo asked for.
        const auto beat = static_cast<std::uint32_t>(score.ticksPerQuarter * 4 / score.beatUnit);
        const std::uint32_t beats = std::max<std::uint32_t>(1, sectionLength[name] / beat);
        const double from = tempo;
        for (std::uint32_t k = 0; k < beats; ++k) {
            tempo = beats == 1 ? section.slowingTo : from + (section.slowingTo - from) * k / (beats - 1);
            midi.tempo(sectionStart + k * beat, tempo);
            const std::uint32_t length = k + 1 == beats ? sectionLength[name] - k * beat : beat;
            seconds += length / static_cast<double>(score.ticksPerQuarter) * 60.0 / tempo;
        }
    }
    const auto tail = static_cast<std::uint32_t>(std::lround(score.tailBeats * score.ticksPerQuarter));
    seconds += tail / static_cast<double>(score.ticksPerQuarter) * 60.0 / tempo;
    const std::uint32_t end = cursor + tail;

    for (const Part& part : score.parts) {
        if (!sounding.empty() && !sounding.contains(part.name))
            continue;
        midi.beginTrack(part.name);
        if (part.program > 0)
            midi.programChange(0, part.channel, part.program - 1);
        midi.controlChange(0, part.channel, 7, part.volume);
        midi.controlChange(0, part.channel, 10, part.pan);
        midi.controlChange(0, part.channel, 91, part.reverb);
        midi.controlChange(0, part.channel, 93, part.chorus);
        for (std::size_t n = 0; n < score.form.size(); ++n) {
            const Section& section = score.sections.at(score.form[n]);
            const auto lines = section.lines.find(part.name);
            if (lines == section.lines.end())
                continue;
            LinePlayer player{score, part, midi, starts[n], 0, 0, 480, part.velocity};
            for (const SourceLine& line : lines->second) {
                player.lineNumber = line.number;
                for (const std::string& token : tokenize(line.text, score.fileName, line.number))
                    player.play(token);
            }
        }
    }
    return {midi.bytes(end), seconds};
}

} // namespace poronpa::tunes
