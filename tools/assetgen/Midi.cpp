#include "tools/assetgen/Midi.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace assetgen {

namespace {

struct Event {
    long tick;
    int order;  // at one tick: note-offs before note-ons
    Bytes data;
};

void VarLen(ByteWriter& w, std::uint32_t v) {
    std::uint8_t buf[5];
    int n = 0;
    buf[n++] = v & 0x7F;
    while (v >>= 7) buf[n++] = std::uint8_t(0x80 | (v & 0x7F));
    while (n--) w.U8(buf[n]);
}

long Ticks(double beats) { return std::lround(beats * kTicksPerBeat); }

long EndTick(const Song& song) {
    long last = 0;
    for (auto& n : song.notes) last = std::max(last, Ticks(n.beat + n.length));
    return last + Ticks(song.ringOut);
}

}  // namespace

Bytes EncodeMidi(const Song& song) {
    std::vector<Event> events;
    const std::uint32_t usPerBeat = std::uint32_t(std::lround(60000000.0 / song.beatsPerMinute));
    events.push_back({0, 0, {0xFF, 0x03, std::uint8_t(song.title.size())}});
    events.back().data.insert(events.back().data.end(), song.title.begin(), song.title.end());
    events.push_back({0, 0, {0xFF, 0x51, 0x03, std::uint8_t(usPerBeat >> 16), std::uint8_t(usPerBeat >> 8),
                             std::uint8_t(usPerBeat)}});
    events.push_back({0, 0, {0xFF, 0x58, 0x04, 4, 2, 24, 8}});  // 4/4
    for (auto [channel, program] : song.programs) {
        events.push_back({0, 1, {std::uint8_t(0xC0 | channel), std::uint8_t(program)}});
        events.push_back({0, 1, {std::uint8_t(0xB0 | channel), 7, 110}});  // channel volume
    }

    // A key struck again before its last stroke ended is released first, so
    // that every note-on has its own note-off.
    std::vector<Note> notes = song.notes;
    std::sort(notes.begin(), notes.end(), [](const Note& a, const Note& b) { return a.beat < b.beat; });
    for (std::size_t i = 0; i < notes.size(); ++i) {
        const Note& n = notes[i];
        if (n.key < 0 || n.key > 127 || n.velocity < 1 || n.velocity > 127 || n.length <= 0)
            throw std::invalid_argument("note");
        long on = Ticks(n.beat), off = Ticks(n.beat + n.length);
        for (std::size_t j = i + 1; j < notes.size(); ++j)
            if (notes[j].key == n.key && notes[j].channel == n.channel) {
                off = std::min(off, Ticks(notes[j].beat));
                break;
            }
        if (off <= on) off = on + 1;
        events.push_back({on, 3, {std::uint8_t(0x90 | n.channel), std::uint8_t(n.key), std::uint8_t(n.velocity)}});
        events.push_back({off, 2, {std::uint8_t(0x80 | n.channel), std::uint8_t(n.key), 64}});
    }
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    events.push_back({EndTick(song), 9, {0xFF, 0x2F, 0x00}});

    ByteWriter track;
    long now = 0;
    for (auto& e : events) {
        VarLen(track, std::uint32_t(e.tick - now));
        now = e.tick;
        track.Append(e.data);
    }

    ByteWriter w;
    w.Tag("MThd");
    w.U32BE(6);
    w.U16BE(0);  // format 0
    w.U16BE(1);  // one track
    w.U16BE(kTicksPerBeat);
    w.Tag("MTrk");
    w.U32BE(std::uint32_t(track.Size()));
    w.Append(track.out);
    return w.out;
}

double SongSeconds(const Song& song) {
    return double(EndTick(song)) / kTicksPerBeat * 60.0 / song.beatsPerMinute;
}

}  // namespace assetgen
