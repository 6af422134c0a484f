// The processor load between two readings of the system's idle and busy
// times, the same on every system the library is built for. The meter keeps
// the previous sample (the library's one piece of state): the first reading
// is measured against system start, and a reading sooner than 200 ms after
// the last repeats the last figure, since the counters move in clock ticks.
#pragma once

#include <cstdint>

namespace vitalink {

struct CpuTimes {
    unsigned long long idle = 0;   // all processors, in the system's unit
    unsigned long long total = 0;  // idle included
    unsigned long long ms = 0;     // monotonic milliseconds, when taken
};

class CpuLoadMeter {
public:
    static constexpr unsigned long long ShortestIntervalMs = 200;

    bool Started() const { return started_; }
    std::int16_t Last() const { return last_; }

    void Start(const CpuTimes& now) {
        std::int16_t sinceStart;
        if (LoadBetween(CpuTimes{}, now, sinceStart)) last_ = sinceStart;
        previous_ = now;
        started_ = true;
    }

    // The whole percentage busy since the previous reading.
    std::int16_t Read(const CpuTimes& now) {
        if (!started_) {
            Start(now);
            return last_;
        }
        if (now.ms - previous_.ms < ShortestIntervalMs) return last_;
        std::int16_t load;
        if (LoadBetween(previous_, now, load)) last_ = load;
        previous_ = now;
        return last_;
    }

private:
    // The busy share between two samples, rounded; false when no time passed.
    static bool LoadBetween(const CpuTimes& from, const CpuTimes& to, std::int16_t& load) {
        if (to.total <= from.total) return false;
        unsigned long long total = to.total - from.total;
        unsigned long long idle = to.idle > from.idle ? to.idle - from.idle : 0;
        if (idle > total) idle = total;
        load = static_cast<std::int16_t>(((total - idle) * 100 + total / 2) / total);
        return true;
    }

    bool started_ = false;
    CpuTimes previous_;
    std::int16_t last_ = 0;
};

}  // namespace vitalink
