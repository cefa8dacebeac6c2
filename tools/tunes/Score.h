#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace poronpa::tunes {

/// One instrument of a score: a MIDI channel with its sound and playing style.
struct Part {
    std::string name;
    int channel = 1;
    /// General MIDI program, numbered from 1 as the instrument tables list them; 0 sends none.
    int program = 1;
    int volume = 100;
    int pan = 64;
    int reverb = 40;
    int chorus = 0;
    /// Fraction of each note's written length that sounds (legato near 1, staccato lower).
    double gate = 0.9;
    int velocity = 90;
    /// Chord symbols are voiced in the octave starting at this key, so neighbouring chords
    /// move by small steps.
    int chordFloor = 55;
};

struct SourceLine {
    int number = 0;
    std::string text;
};

/// A named passage: the notes of each part, written as lines of tokens.
struct Section {
    std::string name;
    double tempo = 0.0;
    /// Above 0: the section slows beat by beat from the tempo it starts at to this one.
    double slowingTo = 0.0;
    std::map<std::string, std::vector<SourceLine>> lines;
};

/// A tune as written: the parts, the sections and the order in which the sections are played.
struct Score {
    std::string fileName;
    double tempo = 120.0;
    int beatsPerBar = 4;
    int beatUnit = 4;
    int ticksPerQuarter = 480;
    std::vector<Part> parts;
    std::map<std::string, Section> sections;
    std::vector<std::string> form;
    /// Silence added after the last section, in beats, for a tune that rings out once.
    double tailBeats = 0.0;
};

/// Reads the score text; mistakes are reported with their file and line.
Score parseScore(const std::string& text, const std::string& fileName);

/// Compiles a score to a Standard MIDI File; the second value is the tune's length in seconds.
/// With `sounding` not empty, only the parts named there play, in time as in the whole tune
/// (to hear or measure parts on their own).
std::pair<std::vector<std::uint8_t>, double> compileScore(const Score& score, const std::set<std::string>& sounding = {});

} // namespace poronpa::tunes
