// Standard MIDI files (format 0: one track) for the chimes, which the MCI
// sequencer plays.
#pragma once

#include <string>
#include <vector>

#include "face/picture/Bytes.h"

namespace assetgen {

using morix::picture::Bytes;
using morix::picture::ByteWriter;

struct Note {
    double beat;    // start, in beats from the beginning
    double length;  // in beats
    int key;        // MIDI key number, 60 = middle C
    int velocity;   // 1..127
    int channel = 0;
};

struct Song {
    std::string title;
    double beatsPerMinute = 60;
    // General MIDI program (0-based) per channel used: {channel, program}.
    std::vector<std::pair<int, int>> programs;
    std::vector<Note> notes;
    // Silence after the last note ends, in beats, so the bells ring out
    // before the track (and the MCI playback) ends.
    double ringOut = 2;
};

inline constexpr int kTicksPerBeat = 480;

Bytes EncodeMidi(const Song& song);

// Seconds from the start to the end of the track.
double SongSeconds(const Song& song);

}  // namespace assetgen
