// Compiles the tunes' scores (text) to Standard MIDI Files for the game to play.
//   poronpa-tunec <score> <output.mid>
#include "Score.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: poronpa-tunec <score> <output.mid>\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "poronpa-tunec: cannot read " << argv[1] << "\n";
        return 1;
    }
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    try {
        const auto [bytes, seconds] = poronpa::tunes::compileScore(poronpa::tunes::parseScore(text, argv[1]));
        std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::cerr << "poronpa-tunec: cannot write " << argv[2] << "\n";
            return 1;
        }
        std::printf("%s: %.1f s\n", argv[2], seconds);
    } catch (const std::exception& error) {
        std::cerr << error.what() << "\n";
        return 1;
    }
    return 0;
}
