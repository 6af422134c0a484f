#include "tools/assetgen/Chimes.h"

namespace assetgen {

namespace {

// General MIDI programs, 0-based.
constexpr int kCelesta = 8;
constexpr int kMusicBox = 10;
constexpr int kTubularBells = 14;
constexpr int kVibraphone = 11;

Song Westminster() {
    Song s;
    s.title = "Morix Westminster";
    s.beatsPerMinute = 100;
    s.programs = {{0, kTubularBells}, {1, kCelesta}};
    // E major: G#4 F#4 E4 B3 and its answer, then the hour bell.
    const int gs = 68, fs = 66, e = 64, b = 59;
    const int changes[2][4] = {{e, gs, fs, b}, {e, fs, gs, e}};
    double beat = 0;
    for (auto& change : changes) {
        for (int i = 0; i < 4; ++i) {
            const bool last = i == 3;
            s.notes.push_back({beat, last ? 2.0 : 1.6, change[i], last ? 96 : 88, 0});
            s.notes.push_back({beat, 0.9, change[i] + 12, 38, 1});
            beat += last ? 2 : 1;
        }
    }
    beat += 0.5;
    s.notes.push_back({beat, 3, 52, 104, 0});  // E3, the hour
    s.notes.push_back({beat, 2, 64, 34, 1});
    s.ringOut = 2.5;
    return s;
}

Song Kirari() {
    Song s;
    s.title = "Morix Kirari";
    s.beatsPerMinute = 132;
    s.programs = {{0, kMusicBox}, {1, kVibraphone}};
    // Climbing C major figure, a turn at the top, and a settling close.
    const int melody[] = {72, 76, 79, 84, 83, 79, 81, 76, 77, 74, 72};
    const double lengths[] = {0.5, 0.5, 0.5, 1.0, 0.5, 0.5, 1.0, 0.5, 0.5, 0.5, 2.0};
    double beat = 0;
    for (std::size_t i = 0; i < std::size(melody); ++i) {
        s.notes.push_back({beat, lengths[i] * 1.5, melody[i], i + 1 == std::size(melody) ? 92 : 80, 0});
        beat += lengths[i];
    }
    // soft chords under it
    const double chordBeats[] = {0, 2, 4, 6};
    const int chords[][3] = {{48, 55, 64}, {53, 60, 69}, {55, 62, 71}, {48, 55, 64}};
    for (int i = 0; i < 4; ++i)
        for (int k : chords[i]) s.notes.push_back({chordBeats[i], i == 3 ? 3.0 : 2.0, k, 40, 1});
    s.ringOut = 2;
    return s;
}

}  // namespace

std::vector<Chime> BuildChimes() { return {{"lt37xga.mid", Westminster()}, {"kirari.mid", Kirari()}}; }

}  // namespace assetgen
