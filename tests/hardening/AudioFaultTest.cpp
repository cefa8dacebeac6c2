// No sound device, a missing effect or tune, a missing soundfont: the game plays on silently and
// says what is missing in one line, once.
#include "app/base/ProgramDirectory.h"
#include "audio/sdl/SdlAudioSystem.h"
#include "tests/hardening/FaultSupport.h"
#include "tests/support/HostileFiles.h"

#include <gtest/gtest.h>

#include <sched.h>

using namespace poronpa;
using namespace poronpa::test;

namespace {

constexpr const char* SoundFontFolder = "/usr/share/sounds/sf2";
constexpr int CannotHideSoundFont = 77;

struct Case {
    const char* what;
    const char* driver;
    const char* missingFile; // left out of the program's directory, or put there as `hostile`
    bool hideSoundFont;
    const char* said;        // what the one line names
    std::optional<Hostile> hostile = std::nullopt;
};

/// Plays every effect and every tune three times over, in a process of its own so that each case
/// starts the sound system afresh; standard error goes to `errors`. Nothing when it does not end
/// within the deadline.
std::optional<int> playEverything(const Case& c, const std::filesystem::path& programDir, const std::filesystem::path& errors)
{
    const auto result = withinDeadline([&] {
        const int fd = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(fd, 2);
        if (c.hideSoundFont) {
            // A private view of the file system, in which an empty folder covers the soundfonts.
            if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                ::mount("tmpfs", SoundFontFolder, "tmpfs", 0, nullptr) != 0)
                return std::to_string(CannotHideSoundFont);
        }
        ::setenv("SDL_AUDIODRIVER", c.driver, 1);
        setProgramDirectory(programDir);
        {
            const auto audio = createAudioSystem();
            LoadAudioLists(audio->music(), audio->sound());
            audio->sound().SoundOn = true;
            audio->music().InitBGM();
            for (int round = 0; round < 3; ++round) {
                for (int effect = 1; effect <= 15; ++effect)
                    audio->sound().PlayAsync(effect);
                for (int tune = 1; tune <= 4; ++tune) {
                    audio->music().BGMPlay(tune, round == 2);
                    audio->music().CalledByTimer();
                }
            }
            audio->music().BGMStop();
        }
        return std::string("0");
    });
    return result ? std::optional<int>(std::stoi(*result)) : std::nullopt;
}

} // namespace

TEST(AudioFaults, TheGamePlaysSilentlyAndSaysWhatIsMissingOnce)
{
    const Case cases[] = {
        {"no sound device", "no-such-driver", nullptr, false, "no sound device"},
        {"a missing effect", "dummy", "jump2.wav", false, "jump2.wav"},
        {"a missing tune", "dummy", "sky02.mid", false, "sky02.mid"},
        {"no soundfont", "dummy", nullptr, true, "soundfont"},
        {"a pipe for a tune", "dummy", "km3.mid", false, "km3.mid: cannot be read (not a regular file)", Hostile::Pipe},
        {"a device for a tune", "dummy", "org5.mid", false, "org5.mid: cannot be read (not a regular file)", Hostile::Device},
        {"a huge tune", "dummy", "km2.mid", false, "km2.mid: cannot be read (larger than", Hostile::HugeSparse},
    };
    for (const Case& c : cases) {
        TempDir dir;
        for (const auto& entry : std::filesystem::directory_iterator(PORONPA_RUNTIME_DIR)) {
            const auto name = entry.path().filename().string();
            if ((name.ends_with(".wav") || name.ends_with(".mid")) && (!c.missingFile || name != c.missingFile))
                std::filesystem::copy_file(entry.path(), dir / name);
        }
        if (c.hostile)
            makeHostile(dir / c.missingFile, *c.hostile, "MThd");
        const std::optional<int> status = playEverything(c, dir.path(), dir / "stderr.txt");
        ASSERT_TRUE(status) << c.what << ": the sound system did not finish";
        if (*status == CannotHideSoundFont) {
            std::cout << "skipped \"" << c.what << "\": the soundfont cannot be hidden here\n";
            continue;
        }
        EXPECT_EQ(*status, 0) << c.what;
        ProgramRun run;
        run.err = readText(dir / "stderr.txt");
        const auto lines = run.errLines();
        ASSERT_EQ(lines.size(), 1u) << c.what << ":\n" << run.err;
        EXPECT_NE(lines[0].find(c.said), std::string::npos) << c.what << ": " << lines[0];
    }
}
