// Under Wine (or Windows): how long the clock's window stands still around
// the full hour, when the tick starts the chime. Finds the clock (class
// "MorixForm", titled "Morix"), then for `seconds` sends it WM_NULL with
// SendMessageTimeoutW every `interval` ms and times each round trip: a
// round trip is how long the clock's thread kept its messages waiting, the
// same wait every other window of the program sees.
//
// Each ping is placed on the local time of this process (run it under the
// same faked clock as the program) relative to the first full hour after the
// start: "hour" is from 2 s before that hour's change to 5 s after it (the
// tick that rings the chime and plays the new hour's clip), "minute" the
// same around the minute's change before it (the clips change, no chime),
// "quiet" every other ping; "hour-tick" and "minute-tick" are the second
// after each change, which holds the tick that reads second 0.
//   bench_hour_tick_wine <seconds> [interval-ms, 5] [samples file]
//   bench_hour_tick_wine --mci <sound file>
// With a samples file, every ping is written there as
// "<ms from the hour's change> <round trip ms>". Exit code 1 when no clock
// came up within 30 s, or the clock went away.
// With --mci, no clock is needed: the sound file is opened with MCI's "open"
// five times in this process (each closed again) and each open is timed; the
// first one loads the driver, as the clock's first chime does. Before them,
// the first count of MIDI output devices is timed (it loads the system's
// MIDI drivers; the clock counts them before it plays). Run it with the
// clock closed, whose device could otherwise hold the sequencer.
#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Ping {
    long long atMs;  // local time, ms since 1601
    double roundTripMs;
};

long long LocalNowMs() {
    SYSTEMTIME local;
    GetLocalTime(&local);
    FILETIME ft;
    SystemTimeToFileTime(&local, &ft);
    ULARGE_INTEGER u;
    u.LowPart = ft.dwLowDateTime;
    u.HighPart = ft.dwHighDateTime;
    return static_cast<long long>(u.QuadPart / 10000);
}

std::string Clock24(long long ms) {
    const long long inDay = ms % (24LL * 3600 * 1000);
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld.%03lld", inDay / 3600000, inDay / 60000 % 60,
                  inDay / 1000 % 60, inDay % 1000);
    return text;
}

double Percentile(std::vector<double> sorted, double p) {
    if (sorted.empty()) return 0;
    std::sort(sorted.begin(), sorted.end());
    const size_t at = static_cast<size_t>(p / 100.0 * static_cast<double>(sorted.size() - 1) + 0.5);
    return sorted[std::min(at, sorted.size() - 1)];
}

// One window of pings: how many, the longest and where, and percentiles.
void Report(const char* name, const std::vector<Ping>& pings, long long hourMs, long long from, long long to,
            bool inside) {
    std::vector<double> rts;
    const Ping* longest = nullptr;
    for (const Ping& p : pings) {
        const long long rel = p.atMs - hourMs;
        if ((rel >= from && rel < to) != inside) continue;
        rts.push_back(p.roundTripMs);
        if (!longest || p.roundTripMs > longest->roundTripMs) longest = &p;
    }
    if (!longest) {
        std::printf("%s: no pings\n", name);
        return;
    }
    std::printf("%s: pings=%zu longest_ms=%.1f at_ms=%+lld (%s) p50_ms=%.2f p99_ms=%.2f p999_ms=%.2f\n", name,
                rts.size(), longest->roundTripMs, longest->atMs - hourMs, Clock24(longest->atMs).c_str(),
                Percentile(rts, 50), Percentile(rts, 99), Percentile(rts, 99.9));
}

void TimeMciOpen(const wchar_t* file) {
    // The first count loads the system's MIDI and wave drivers.
    const auto countStart = Clock::now();
    const UINT midi = midiOutGetNumDevs();
    const double countMs = std::chrono::duration<double, std::milli>(Clock::now() - countStart).count();
    std::printf("midi_out_devices=%u wave_out_devices=%u first_count_ms=%.2f\n", midi, waveOutGetNumDevs(), countMs);
    for (int i = 1; i <= 5; ++i) {
        const std::wstring open = L"open \"" + std::wstring(file) + L"\" alias bench_hour_tick";
        const auto start = Clock::now();
        const MCIERROR error = mciSendStringW(open.c_str(), nullptr, 0, nullptr);
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        wchar_t type[64] = {};
        if (error == 0) mciSendStringW(L"capability bench_hour_tick device type", type, 64, nullptr);
        const auto closeStart = Clock::now();
        if (error == 0) mciSendStringW(L"close bench_hour_tick", nullptr, 0, nullptr);
        const double closeMs = std::chrono::duration<double, std::milli>(Clock::now() - closeStart).count();
        std::printf("mci_open %d: open_ms=%.2f close_ms=%.2f error=%lu type=%ls\n", i, ms, closeMs, error, type);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2 || (std::wstring(argv[1]) == L"--mci" && argc < 3)) {
        std::fprintf(stderr, "usage: bench_hour_tick_wine <seconds> [interval-ms] [samples file]\n"
                             "       bench_hour_tick_wine --mci <sound file>\n");
        return 2;
    }
    if (std::wstring(argv[1]) == L"--mci") {
        TimeMciOpen(argv[2]);
        return 0;
    }
    const double seconds = _wtof(argv[1]);
    const DWORD intervalMs = argc > 2 ? static_cast<DWORD>(_wtoi(argv[2])) : 5;
    const wchar_t* samplesPath = argc > 3 && argv[3][0] ? argv[3] : nullptr;
    // Sleep's granularity follows the system timer's.
    timeBeginPeriod(1);

    HWND clock = nullptr;
    for (int waited = 0; !(clock = FindWindowW(L"MorixForm", L"Morix")) && waited < 30000; waited += 50) Sleep(50);
    if (!clock) {
        std::fprintf(stderr, "no clock window within 30 s\n");
        return 1;
    }

    std::vector<Ping> pings;
    pings.reserve(static_cast<size_t>(seconds * 1000 / std::max<DWORD>(intervalMs, 1)) + 16);
    const long long startMs = LocalNowMs();
    const auto start = Clock::now();
    bool lost = false;
    while (std::chrono::duration<double>(Clock::now() - start).count() < seconds) {
        const long long at = LocalNowMs();
        const auto sent = Clock::now();
        DWORD_PTR result = 0;
        const LRESULT ok = SendMessageTimeoutW(clock, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result);
        const double rt = std::chrono::duration<double, std::milli>(Clock::now() - sent).count();
        if (!ok && !IsWindow(clock)) {
            lost = true;
            break;
        }
        pings.push_back({at, rt});
        Sleep(intervalMs);
    }
    timeEndPeriod(1);

    // The first full hour after the start.
    const long long hourMs = (startMs / 3600000 + 1) * 3600000;
    std::printf("clock=%p start=%s hour=%s pings=%zu interval_ms=%lu\n", static_cast<void*>(clock),
                Clock24(startMs).c_str(), Clock24(hourMs).c_str(), pings.size(), intervalMs);
    Report("hour", pings, hourMs, -2000, 5000, true);
    // The second after the change, whose tick reads second 0.
    Report("hour-tick", pings, hourMs, 0, 1000, true);
    Report("minute", pings, hourMs - 60000, -2000, 5000, true);
    Report("minute-tick", pings, hourMs - 60000, 0, 1000, true);
    // Neither of the two windows.
    std::vector<Ping> rest;
    for (const Ping& p : pings) {
        const long long rel = p.atMs - hourMs;
        if (!(rel >= -2000 && rel < 5000) && !(rel >= -62000 && rel < -55000)) rest.push_back(p);
    }
    Report("quiet", rest, hourMs, 0, 0, false);
    // The five longest, wherever they fell.
    std::vector<Ping> byLength = pings;
    std::sort(byLength.begin(), byLength.end(), [](const Ping& a, const Ping& b) { return a.roundTripMs > b.roundTripMs; });
    for (size_t i = 0; i < byLength.size() && i < 5; ++i)
        std::printf("longest %zu: %.1f ms at %+lld ms (%s)\n", i + 1, byLength[i].roundTripMs, byLength[i].atMs - hourMs,
                    Clock24(byLength[i].atMs).c_str());

    if (samplesPath) {
        if (FILE* f = _wfopen(samplesPath, L"w")) {
            for (const Ping& p : pings) std::fprintf(f, "%lld %.3f\n", p.atMs - hourMs, p.roundTripMs);
            std::fclose(f);
        }
    }
    if (lost) {
        std::fprintf(stderr, "the clock window went away\n");
        return 1;
    }
    return 0;
}
