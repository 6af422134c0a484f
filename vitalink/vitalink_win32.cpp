// vitalink.dll: the measurement library on the NT family of Windows (7 and
// later, x86_64 and i686) and under Wine.
//
// Where each figure comes from:
// - Free resources (GetVitalink, GetSysRes, GetGdiRes, GetUserRes): the GDI
//   and USER objects in use by all processes of the caller's session, from
//   user32's GetGuiResources with the GR_GLOBAL pseudo handle, against the
//   65,536 handles that a session can hold of each kind. System resources are
//   the smaller of the two percentages, as they were when both heaps were
//   64 KB. user32 is opened for each query and released again; when it cannot
//   be loaded, or lacks GetGuiResources, the export returns
//   VITALINK_SOURCE_NOT_LOADED / VITALINK_SOURCE_NO_PROCEDURE and the caller
//   raises "Can't load USER.EXE!" / "Can't get address of
//   GetFreeSystemResources!". Where the session count is refused the caller's
//   own objects are counted; where the system keeps no count at all (Wine
//   answers ERROR_CALL_NOT_IMPLEMENTED) nothing counts as used, and the
//   resources read as wholly free.
// - Processor load (GetCpuStart, GetCpuUsage): the idle, kernel and user
//   times of all processors from GetSystemTimes. The library keeps the
//   previous sample (and the figure it gave) and reports the busy share of the
//   time passed since it; the first sample is measured against the system's
//   start. No call ever waits.
// - Memory (MemoryLoad, TotalPhys ... AvailVirtual): one GlobalMemoryStatusEx
//   per call.
// - Disks (DiskSizeEx, DiskFreeEx): GetDiskFreeSpaceExW on "X:\", or on no
//   path for the current drive, with the system's "insert a disk" box
//   suppressed so that an empty drive only answers -1.
//
// Only kernel32 is imported; nothing of the caller's is touched and nothing is
// allocated across the boundary.

#include <windows.h>

#include <cstdint>

#include "vitalink/CpuLoadMeter.h"
#include "vitalink/vitalink.h"

namespace {

// A session holds at most this many GDI objects, and as many USER objects.
constexpr DWORD kSessionObjectLimit = 65536;
constexpr DWORD kGdiObjects = 0;   // GR_GDIOBJECTS
constexpr DWORD kUserObjects = 1;  // GR_USEROBJECTS
const HANDLE kWholeSession = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-2));  // GR_GLOBAL

using GetGuiResourcesProc = DWORD(WINAPI*)(HANDLE, DWORD);

std::int16_t FreePercent(DWORD used, DWORD limit) {
    if (used > limit) used = limit;
    return static_cast<std::int16_t>(static_cast<ULONGLONG>(limit - used) * 100 / limit);
}

DWORD CountObjects(GetGuiResourcesProc count, DWORD kind) {
    SetLastError(ERROR_SUCCESS);
    DWORD used = count(kWholeSession, kind);
    if (used != 0 || GetLastError() == ERROR_SUCCESS) return used;
    if (GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) return 0;
    // The session-wide count is refused: the caller's own objects are at
    // least in use.
    return count(GetCurrentProcess(), kind);
}

struct FreeResources {
    std::int16_t system, gdi, user;
};

// Returns 0 and the three percentages, or one of the VITALINK_SOURCE_*
// results when the counting procedure cannot be reached.
int ReadFreeResources(FreeResources& out) {
    HMODULE user32 = LoadLibraryW(L"user32.dll");
    if (user32 == nullptr) return VITALINK_SOURCE_NOT_LOADED;
    auto count = reinterpret_cast<GetGuiResourcesProc>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetGuiResources")));
    if (count == nullptr) {
        FreeLibrary(user32);
        return VITALINK_SOURCE_NO_PROCEDURE;
    }
    out.gdi = FreePercent(CountObjects(count, kGdiObjects), kSessionObjectLimit);
    out.user = FreePercent(CountObjects(count, kUserObjects), kSessionObjectLimit);
    out.system = out.gdi < out.user ? out.gdi : out.user;
    FreeLibrary(user32);
    return 0;
}

// --- processor load --------------------------------------------------------

SRWLOCK cpuLock = SRWLOCK_INIT;
vitalink::CpuLoadMeter cpuMeter;

ULONGLONG FromFileTime(const FILETIME& t) {
    return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

// The system's times in 100 ns units, all processors; kernel time includes idle.
bool TakeSample(vitalink::CpuTimes& s) {
    FILETIME idle, kernel, user;
    if (!GetSystemTimes(&idle, &kernel, &user)) return false;
    s.idle = FromFileTime(idle);
    s.total = FromFileTime(kernel) + FromFileTime(user);
    s.ms = GetTickCount64();
    return true;
}

class CpuLockGuard {
public:
    CpuLockGuard() { AcquireSRWLockExclusive(&cpuLock); }
    ~CpuLockGuard() { ReleaseSRWLockExclusive(&cpuLock); }
    CpuLockGuard(const CpuLockGuard&) = delete;
    CpuLockGuard& operator=(const CpuLockGuard&) = delete;
};

// --- memory and disks ------------------------------------------------------

bool ReadMemory(MEMORYSTATUSEX& m) {
    m = MEMORYSTATUSEX{};
    m.dwLength = sizeof m;
    return GlobalMemoryStatusEx(&m) != FALSE;
}

enum class DiskFigure { Size, Free };

double QueryDisk(std::int32_t drive, DiskFigure figure) {
    unsigned number = static_cast<unsigned>(drive) & 0xFFu;
    wchar_t root[] = {static_cast<wchar_t>(L'@' + number), L':', L'\\', 0};
    ULARGE_INTEGER availableToCaller{}, total{}, totalFree{};
    DWORD oldMode = 0;
    BOOL modeSet = SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &oldMode);
    BOOL ok = GetDiskFreeSpaceExW(number == 0 ? nullptr : root, &availableToCaller, &total, &totalFree);
    if (modeSet) SetThreadErrorMode(oldMode, nullptr);
    if (!ok) return -1.0;
    return static_cast<double>(figure == DiskFigure::Size ? total.QuadPart : availableToCaller.QuadPart);
}

}  // namespace

extern "C" {

int16_t VITALINK_CALL GetVitalink(int16_t* system, int16_t* gdi, int16_t* user) {
    FreeResources r;
    if (int failure = ReadFreeResources(r)) return static_cast<int16_t>(failure);
    *system = r.system;
    *gdi = r.gdi;
    *user = r.user;
    return r.user;
}

int16_t VITALINK_CALL GetSysRes(void) {
    FreeResources r;
    if (int failure = ReadFreeResources(r)) return static_cast<int16_t>(failure);
    return r.system;
}

int16_t VITALINK_CALL GetGdiRes(void) {
    FreeResources r;
    if (int failure = ReadFreeResources(r)) return static_cast<int16_t>(failure);
    return r.gdi;
}

int16_t VITALINK_CALL GetUserRes(void) {
    FreeResources r;
    if (int failure = ReadFreeResources(r)) return static_cast<int16_t>(failure);
    return r.user;
}

void VITALINK_CALL GetCpuStart(void) {
    CpuLockGuard guard;
    if (cpuMeter.Started()) return;
    vitalink::CpuTimes now;
    if (TakeSample(now)) cpuMeter.Start(now);
}

int16_t VITALINK_CALL GetCpuUsage(void) {
    CpuLockGuard guard;
    vitalink::CpuTimes now;
    if (!TakeSample(now)) return cpuMeter.Last();
    return cpuMeter.Read(now);
}

double VITALINK_CALL DiskSizeEx(int32_t drive) { return QueryDisk(drive, DiskFigure::Size); }
double VITALINK_CALL DiskFreeEx(int32_t drive) { return QueryDisk(drive, DiskFigure::Free); }

int16_t VITALINK_CALL MemoryLoad(void) {
    MEMORYSTATUSEX m;
    if (!ReadMemory(m)) return 0;
    return static_cast<int16_t>(100 - static_cast<int>(m.dwMemoryLoad));
}

uint64_t VITALINK_CALL TotalPhys(void) {
    MEMORYSTATUSEX m;
    return ReadMemory(m) ? m.ullTotalPhys : 0;
}
uint64_t VITALINK_CALL AvailPhys(void) {
    MEMORYSTATUSEX m;
    return ReadMemory(m) ? m.ullAvailPhys : 0;
}
uint64_t VITALINK_CALL TotalPageFile(void) {
    MEMORYSTATUSEX m;
    return ReadMemory(m) ? m.ullTotalPageFile : 0;
}
uint64_t VITALINK_CALL AvailPageFile(void) {
    MEMORYSTATUSEX m;
    return ReadMemory(m) ? m.ullAvailPageFile : 0;
}
uint64_t VITALINK_CALL TotalVirtual(void) {
    MEMORYSTATUSEX m;
    return ReadMemory(m) ? m.ullTotalVirtual : 0;
}
uint64_t VITALINK_CALL AvailVirtual(void) {
    MEMORYSTATUSEX m;
    return ReadMemory(m) ? m.ullAvailVirtual : 0;
}

}  // extern "C"
