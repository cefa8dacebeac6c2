#include "app/base/SafeFile.h"
#include "app/base/StandardOptions.h"
#include "app/sim/Simulator.h"

#include <iostream>

namespace {

constexpr std::string_view Usage = R"(Usage: poronpa-sim [OPTION]...

Runs the game's engine without a window from a key script and prints where the hero ended:
  end frame=N area=AX,AY pos=X,Y state=S items=0101000000 deaths=D ending=yes|no

  --map FILE       map file, any world (default: the world the game reads; with --replay,
                   the world the replay names, beside it or among the recent worlds)
  --save FILE      save file for the S and L keys and --continue
                   (default: savedata.dat in a fresh temporary folder)
  --continue       start as the title's continue does, from the latest save
  --area AX,AY     start a new game in this area (each 0 to 4; default 2,4)
  --pos X,Y        ... at this hero position (each 32 to 1536; default 160,1498)
  --items LIST     comma-separated item numbers 0 to 9 held at the start
  --switch 0|1     the world switch at the start (default 1)
  --framerate N    the FrameRate setting (default 0)
  --input FILE     key script, - for standard input; without it no key is held
  --frames N       stop after N frames (default: when the script ends)
  --trace          print a CSV header, then one line per frame
  --replay FILE    play a replay the game recorded (or a key script, as a new game): it
                   brings its start, saves, frame rate and keys; standard error says whether
                   the end line matches the one the game saw
  --check          with --replay: exit 3 when the end lines differ
  --help, --version

Key script: one line per run of frames, COUNT KEYS, where KEYS is - (nothing held) or key names
joined by +: left right up down space enter s l q 0 1 2 3 4 5 6 7 8 9. Blank lines and text
after # are ignored. Example:  printf '30 right\n20 right+space\n' | poronpa-sim --input -

Exit status 0, or 2 with one line on standard error for bad arguments, unreadable files or a
damaged replay; 3 with --check when a replay's end line is not the recorded one.
)";

} // namespace

int main(int argc, char** argv)
{
    if (poronpa::answerHelpOrVersion(argc, argv, "poronpa-sim", Usage))
        return 0;
    std::ios::sync_with_stdio(false);
    poronpa::ignoreFileSizeSignal();
    return poronpa::sim::runSimulator(std::vector<std::string>(argv + 1, argv + argc), std::cin, std::cout, std::cerr);
}
