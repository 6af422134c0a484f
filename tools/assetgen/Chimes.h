// The chimes of the Sound folder, as songs for the MIDI writer.
#pragma once

#include <string>
#include <vector>

#include "tools/assetgen/Midi.h"

namespace assetgen {

struct Chime {
    std::string fileName;
    Song song;
};

// "lt37xga.mid" (the default): two changes of the Westminster quarters on
// tubular bells over a soft celesta, and a low hour bell.
// "kirari.mid": a music-box figure that climbs and settles.
std::vector<Chime> BuildChimes();

}  // namespace assetgen
