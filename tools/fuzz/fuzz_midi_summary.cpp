#include "audio/MidiSummary.h"
#include "tools/fuzz/FuzzFile.h"

#include <cmath>

using namespace poronpa;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A tune file beside the program may hold anything: what is read of it is either nothing or
    // a summary the music can time its loop by.
    FuzzFile file("km2.mid", data, size);
    const auto summary = summarizeMidiFile(file.path());
    if (!summary)
        return 0;
    require(std::isfinite(summary->lengthMs) && summary->lengthMs >= 0);
    require(summary->format >= 0 && summary->format <= 2 && summary->trackCount > 0);
    for (const int notes : summary->notesPerChannel)
        require(notes >= 0);
    return 0;
}
