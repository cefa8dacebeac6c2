// Compiles the tunes' scores (text) to Standard MIDI Files for the game to play.
//   poronpa-tunec [--parts NAME,NAME...] <score> <output.mid>
//   poronpa-tunec --list-parts <score>
// --parts keeps only the parts named sounding (in time as in the whole tune), to hear or
// measure them alone; --list-parts prints the score's parts, the lead first.
#include "Score.h"
#include "app/base/StandardOptions.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <set>
#include <sstream>
#include <vector>

namespace {

constexpr std::string_view Usage =
    "Usage: poronpa-tunec [--parts NAME,NAME...] <score> <output.mid>\n"
    "       poronpa-tunec --list-parts <score>\n"
    "Compiles a tune's text score to a Standard MIDI File. --parts keeps only the parts named\n"
    "sounding, in time as in the whole tune; --list-parts prints the score's parts, the lead first.\n";

int usage()
{
    return poronpa::refuseArguments(Usage);
}

} // namespace

int main(int argc, char** argv)
{
    if (poronpa::answerHelpOrVersion(argc, argv, "poronpa-tunec", Usage))
        return 0;
    std::vector<std::string> args(argv + 1, argv + argc);
    std::set<std::string> sounding;
    bool listParts = false;
    if (!args.empty() && args[0] == "--list-parts") {
        listParts = true;
        args.erase(args.begin());
    } else if (args.size() > 1 && args[0] == "--parts") {
        std::istringstream names(args[1]);
        for (std::string name; std::getline(names, name, ',');)
            sounding.insert(name);
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.size() != (listParts ? 1u : 2u))
        return usage();

    std::ifstream in(args[0], std::ios::binary);
    if (!in) {
        std::cerr << "poronpa-tunec: cannot read " << args[0] << "\n";
        return 1;
    }
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    try {
        const poronpa::tunes::Score score = poronpa::tunes::parseScore(text, args[0]);
        if (listParts) {
            for (const poronpa::tunes::Part& part : score.parts)
                std::printf("%s\n", part.name.c_str());
            return 0;
        }
        for (const std::string& name : sounding) {
            bool known = false;
            for (const poronpa::tunes::Part& part : score.parts)
                known = known || part.name == name;
            if (!known) {
                std::cerr << "poronpa-tunec: the score has no part \"" << name << "\"\n";
                return 1;
            }
        }
        const auto [bytes, seconds] = poronpa::tunes::compileScore(score, sounding);
        std::ofstream out(args[1], std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::cerr << "poronpa-tunec: cannot write " << args[1] << "\n";
            return 1;
        }
        std::printf("%s: %.1f s\n", args[1].c_str(), seconds);
    } catch (const std::exception& error) {
        std::cerr << error.what() << "\n";
        return 1;
    }
    return 0;
}
