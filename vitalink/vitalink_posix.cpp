// libvitalink.so: the measurement library on Linux, with the exports of
// vitalink.dll, so that the native build loads and measures for real.
//
// Where each figure comes from:
// - Free resources: what the kernel limits in place of the 64 KB heaps.
//   "GDI" stands for kernel handles: the smaller of the free share of the
//   system's file table (/proc/sys/fs/file-nr against its maximum) and of the
//   caller's own descriptors (/proc/self/fd against RLIMIT_NOFILE). "USER"
//   stands for tasks: the threads of the whole system (/proc/loadavg) against
//   the smaller of kernel.threads-max and kernel.pid_max. System resources
//   are the smaller of the two. A /proc file that cannot be opened gives
//   VITALINK_SOURCE_NOT_LOADED, one that holds no figure
//   VITALINK_SOURCE_NO_PROCEDURE.
// - Processor load: the first line of /proc/stat (idle and iowait count as
//   idle). The library keeps the previous sample and the figure it gave, and
//   reports the busy share of the time passed since it; the first sample is
//   measured against the system's start. No call ever waits.
// - Memory: /proc/meminfo. The load is the share of MemTotal that is not
//   MemAvailable; the "page file" is memory plus swap; the virtual address
//   space is the process's (RLIMIT_AS, or the 47-bit user space) less its
//   VmSize from /proc/self/status.
// - Disks: statvfs. There is one drive letter, C:, the root file system; the
//   current drive is the file system of the current directory.

#include <sys/resource.h>
#include <sys/statvfs.h>
#include <dirent.h>
#include <time.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "vitalink/CpuLoadMeter.h"
#include "vitalink/vitalink.h"

namespace {

// Reads a small /proc file whole; false when it cannot be opened.
bool ReadProcFile(const char* path, char* buf, std::size_t size) {
    std::FILE* f = std::fopen(path, "re");
    if (f == nullptr) return false;
    std::size_t n = std::fread(buf, 1, size - 1, f);
    std::fclose(f);
    buf[n] = '\0';
    return true;
}

// The number after `key` in a "Key:   1234 kB" style file; false when absent.
bool FindNumber(const char* text, const char* key, unsigned long long& value) {
    const char* p = std::strstr(text, key);
    if (p == nullptr) return false;
    return std::sscanf(p + std::strlen(key), "%llu", &value) == 1;
}

std::int16_t FreePercent(unsigned long long used, unsigned long long limit) {
    if (limit == 0) return 100;
    if (used > limit) used = limit;
    // Limits of 2^63 would overflow the product; a quotient keeps the figure.
    unsigned long long free = limit - used;
    if (free > ~0ULL / 100) return static_cast<std::int16_t>(free / (limit / 100));
    return static_cast<std::int16_t>(free * 100 / limit);
}

int CountOwnDescriptors(unsigned long long& count) {
    DIR* d = opendir("/proc/self/fd");
    if (d == nullptr) return VITALINK_SOURCE_NOT_LOADED;
    count = 0;
    while (dirent* e = readdir(d))
        if (e->d_name[0] != '.') ++count;
    closedir(d);
    if (count > 0) --count;  // the directory's own descriptor
    return 0;
}

int ReadGdiFree(std::int16_t& out) {
    char buf[128];
    if (!ReadProcFile("/proc/sys/fs/file-nr", buf, sizeof buf)) return VITALINK_SOURCE_NOT_LOADED;
    unsigned long long allocated = 0, unused = 0, max = 0;
    if (std::sscanf(buf, "%llu %llu %llu", &allocated, &unused, &max) != 3)
        return VITALINK_SOURCE_NO_PROCEDURE;
    std::int16_t system = FreePercent(allocated - (unused < allocated ? unused : allocated), max);

    unsigned long long own = 0;
    if (int failure = CountOwnDescriptors(own)) return failure;
    std::int16_t caller = 100;
    rlimit lim{};
    if (getrlimit(RLIMIT_NOFILE, &lim) == 0 && lim.rlim_cur != RLIM_INFINITY)
        caller = FreePercent(own, lim.rlim_cur);
    out = system < caller ? system : caller;
    return 0;
}

int ReadUserFree(std::int16_t& out) {
    char buf[256];
    if (!ReadProcFile("/proc/loadavg", buf, sizeof buf)) return VITALINK_SOURCE_NOT_LOADED;
    double a, b, c;
    unsigned long long running = 0, tasks = 0;
    if (std::sscanf(buf, "%lf %lf %lf %llu/%llu", &a, &b, &c, &running, &tasks) != 5)
        return VITALINK_SOURCE_NO_PROCEDURE;
    unsigned long long threadsMax = 0, pidMax = 0;
    char num[64];
    if (!ReadProcFile("/proc/sys/kernel/threads-max", num, sizeof num)) return VITALINK_SOURCE_NOT_LOADED;
    if (std::sscanf(num, "%llu", &threadsMax) != 1) return VITALINK_SOURCE_NO_PROCEDURE;
    if (!ReadProcFile("/proc/sys/kernel/pid_max", num, sizeof num)) return VITALINK_SOURCE_NOT_LOADED;
    if (std::sscanf(num, "%llu", &pidMax) != 1) return VITALINK_SOURCE_NO_PROCEDURE;
    out = FreePercent(tasks, threadsMax < pidMax ? threadsMax : pidMax);
    return 0;
}

struct FreeResources {
    std::int16_t system, gdi, user;
};

int ReadFreeResources(FreeResources& r) {
    if (int failure = ReadGdiFree(r.gdi)) return failure;
    if (int failure = ReadUserFree(r.user)) return failure;
    r.system = r.gdi < r.user ? r.gdi : r.user;
    return 0;
}

// --- processor load --------------------------------------------------------

std::mutex cpuMutex;
vitalink::CpuLoadMeter cpuMeter;

// The kernel's times in clock ticks, all processors (idle and iowait idle).
bool TakeSample(vitalink::CpuTimes& s) {
    char buf[512];
    if (!ReadProcFile("/proc/stat", buf, sizeof buf)) return false;
    unsigned long long f[8] = {};
    if (std::sscanf(buf, "cpu %llu %llu %llu %llu %llu %llu %llu %llu", &f[0], &f[1], &f[2], &f[3],
                    &f[4], &f[5], &f[6], &f[7]) < 4)
        return false;
    s.idle = f[3] + f[4];
    s.total = 0;
    for (unsigned long long v : f) s.total += v;  // guest time is inside user already
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    s.ms = static_cast<unsigned long long>(ts.tv_sec) * 1000 + static_cast<unsigned long long>(ts.tv_nsec) / 1000000;
    return true;
}

// --- memory and disks ------------------------------------------------------

struct Memory {
    unsigned long long totalPhys = 0, availPhys = 0, totalPage = 0, availPage = 0;
    unsigned long long totalVirtual = 0, availVirtual = 0;
};

bool ReadMemory(Memory& m) {
    char buf[4096];
    if (!ReadProcFile("/proc/meminfo", buf, sizeof buf)) return false;
    unsigned long long total = 0, avail = 0, swapTotal = 0, swapFree = 0;
    if (!FindNumber(buf, "MemTotal:", total) || !FindNumber(buf, "MemAvailable:", avail)) return false;
    FindNumber(buf, "SwapTotal:", swapTotal);
    FindNumber(buf, "SwapFree:", swapFree);
    m.totalPhys = total * 1024;
    m.availPhys = avail * 1024;
    m.totalPage = (total + swapTotal) * 1024;
    m.availPage = (avail + swapFree) * 1024;

    m.totalVirtual = (1ULL << 47) - 4096;
    rlimit as{};
    if (getrlimit(RLIMIT_AS, &as) == 0 && as.rlim_cur != RLIM_INFINITY && as.rlim_cur < m.totalVirtual)
        m.totalVirtual = as.rlim_cur;
    char status[4096];
    unsigned long long vmSizeKb = 0;
    if (ReadProcFile("/proc/self/status", status, sizeof status)) FindNumber(status, "VmSize:", vmSizeKb);
    unsigned long long used = vmSizeKb * 1024;
    m.availVirtual = used < m.totalVirtual ? m.totalVirtual - used : 0;
    return true;
}

enum class DiskFigure { Size, Free };

double QueryDisk(std::int32_t drive, DiskFigure figure) {
    unsigned number = static_cast<unsigned>(drive) & 0xFFu;
    const char* path = nullptr;
    if (number == 0) path = ".";
    else if (number == 3) path = "/";
    else return -1.0;
    struct statvfs s{};
    if (statvfs(path, &s) != 0) return -1.0;
    unsigned long long blocks = figure == DiskFigure::Size ? s.f_blocks : s.f_bavail;
    return static_cast<double>(blocks) * static_cast<double>(s.f_frsize);
}

}  // namespace

extern "C" {

int16_t GetVitalink(int16_t* system, int16_t* gdi, int16_t* user) {
    FreeResources r;
    if (int failure = ReadFreeResources(r)) return static_cast<int16_t>(failure);
    *system = r.system;
    *gdi = r.gdi;
    *user = r.user;
    return r.user;
}

int16_t GetSysRes(void) {
    FreeResources r;
    if (int failure = ReadFreeResources(r)) return static_cast<int16_t>(failure);
    return r.system;
}

int16_t GetGdiRes(void) {
    std::int16_t gdi;
    if (int failure = ReadGdiFree(gdi)) return static_cast<int16_t>(failure);
    return gdi;
}

int16_t GetUserRes(void) {
    std::int16_t user;
    if (int failure = ReadUserFree(user)) return static_cast<int16_t>(failure);
    return user;
}

void GetCpuStart(void) {
    std::lock_guard<std::mutex> guard(cpuMutex);
    if (cpuMeter.Started()) return;
    vitalink::CpuTimes now;
    if (TakeSample(now)) cpuMeter.Start(now);
}

int16_t GetCpuUsage(void) {
    std::lock_guard<std::mutex> guard(cpuMutex);
    vitalink::CpuTimes now;
    if (!TakeSample(now)) return cpuMeter.Last();
    return cpuMeter.Read(now);
}

double DiskSizeEx(int32_t drive) { return QueryDisk(drive, DiskFigure::Size); }
double DiskFreeEx(int32_t drive) { return QueryDisk(drive, DiskFigure::Free); }

int16_t MemoryLoad(void) {
    Memory m;
    if (!ReadMemory(m) || m.totalPhys == 0) return 0;
    unsigned long long used = m.totalPhys - (m.availPhys < m.totalPhys ? m.availPhys : m.totalPhys);
    int load = static_cast<int>((used * 100 + m.totalPhys / 2) / m.totalPhys);
    return static_cast<int16_t>(100 - load);
}

uint64_t TotalPhys(void) {
    Memory m;
    return ReadMemory(m) ? m.totalPhys : 0;
}
uint64_t AvailPhys(void) {
    Memory m;
    return ReadMemory(m) ? m.availPhys : 0;
}
uint64_t TotalPageFile(void) {
    Memory m;
    return ReadMemory(m) ? m.totalPage : 0;
}
uint64_t AvailPageFile(void) {
    Memory m;
    return ReadMemory(m) ? m.availPage : 0;
}
uint64_t TotalVirtual(void) {
    Memory m;
    return ReadMemory(m) ? m.totalVirtual : 0;
}
uint64_t AvailVirtual(void) {
    Memory m;
    return ReadMemory(m) ? m.availVirtual : 0;
}

}  // extern "C"
