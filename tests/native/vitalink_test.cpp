// libvitalink.so through the program's real binding and the native dynamic
// loader: figures, their relations, and the errors of a missing library or
// entry point.

#include <gtest/gtest.h>

#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "base/RuntimeError.h"
#include "info/Vitalink.h"
#include "platform/posix/PosixDynamicLibraries.h"
#include "tests/fake/TempFolder.h"
#include "vitalink/vitalink.h"

namespace {

using morix::RuntimeError;
using morix::Vitalink;
using morix::platform::DynamicLibraries;
using morix::platform::LoadedLibrary;
using morix::platform::PosixDynamicLibraries;
namespace fs = std::filesystem;

const std::string kBuiltDir = MORIX_VITALINK_DIR;

const char* const kExports[] = {"GetVitalink", "GetSysRes",     "GetGdiRes",     "GetUserRes",
                                "GetCpuStart", "GetCpuUsage",   "DiskSizeEx",    "DiskFreeEx",
                                "MemoryLoad",  "TotalPhys",     "AvailPhys",     "TotalPageFile",
                                "AvailPageFile", "TotalVirtual", "AvailVirtual"};

// The twelve exports the binding does not cover, looked up the same way.
class Exports {
public:
    Exports() : libraries_(kBuiltDir), library_(libraries_.Load(morix::VitalinkFileName)) {
        if (library_ == nullptr) throw std::runtime_error("libvitalink.so did not load from " + kBuiltDir);
    }
    template <typename Proc>
    Proc Get(const char* name) const {
        void* p = library_->Symbol(name);
        if (p == nullptr) throw std::runtime_error(std::string("no export ") + name);
        return reinterpret_cast<Proc>(p);
    }
    int16_t Percent(const char* name) const { return Get<PercentProc>(name)(); }
    uint64_t Bytes(const char* name) const { return Get<ByteCountProc>(name)(); }
    double Disk(const char* name, int32_t drive) const { return Get<DiskProc>(name)(drive); }
    const LoadedLibrary& Library() const { return *library_; }

private:
    PosixDynamicLibraries libraries_;
    std::unique_ptr<LoadedLibrary> library_;
};

int OpenDescriptorCount() {
    int n = 0;
    for (const auto& e : fs::directory_iterator("/proc/self/fd")) {
        (void)e;
        ++n;
    }
    return n - 1;  // the iterator's own
}

// Lowers this process's descriptor limit and fills part of it, so that the
// handle share ("GDI") is well below the task share ("USER"); restores both.
class DescriptorPressure {
public:
    explicit DescriptorPressure(int headroom) {
        getrlimit(RLIMIT_NOFILE, &saved_);
        rlimit lower = saved_;
        lower.rlim_cur = static_cast<rlim_t>(OpenDescriptorCount() + headroom);
        if (setrlimit(RLIMIT_NOFILE, &lower) != 0) throw std::runtime_error("setrlimit failed");
    }
    ~DescriptorPressure() {
        Release();
        setrlimit(RLIMIT_NOFILE, &saved_);
    }
    void Open(int count) {
        for (int i = 0; i < count; ++i) {
            int fd = open("/dev/null", O_RDONLY | O_CLOEXEC);
            if (fd < 0) throw std::runtime_error("open failed");
            fds_.push_back(fd);
        }
    }
    void Release() {
        for (int fd : fds_) close(fd);
        fds_.clear();
    }

private:
    rlimit saved_{};
    std::vector<int> fds_;
};

// --- loading ----------------------------------------------------------------

TEST(VitalinkLibrary, ExportsAllFifteenFunctionsByTheirPlainNames) {
    Exports exports;
    for (const char* name : kExports) EXPECT_NE(exports.Library().Symbol(name), nullptr) << name;
    // The library's own helpers stay inside it.
    EXPECT_EQ(exports.Library().Symbol("ReadFreeResources"), nullptr);
}

TEST(VitalinkLibrary, TheWindowsFileNameMapsOntoTheSharedObject) {
    EXPECT_EQ(PosixDynamicLibraries::NativeFileName("vitalink.dll"), "libvitalink.so");
    EXPECT_EQ(PosixDynamicLibraries::NativeFileName("Vitalink.DLL"), "libVitalink.so");
    EXPECT_EQ(PosixDynamicLibraries::NativeFileName("libm.so.6"), "libm.so.6");
    EXPECT_EQ(PosixDynamicLibraries::NativeFileName(".dll"), ".dll");
}

// --- free resources ---------------------------------------------------------

TEST(VitalinkResources, GetVitalinkStoresSystemGdiUserInThatOrderAndReturnsUser) {
    Exports exports;
    PosixDynamicLibraries libraries(kBuiltDir);
    Vitalink vitalink(libraries);
    // Descriptors near their limit pull the handle share far below the task
    // share, so the three places hold different figures.
    DescriptorPressure pressure(100);
    pressure.Open(60);
    int16_t gdiAlone = exports.Percent("GetGdiRes");
    int16_t userAlone = exports.Percent("GetUserRes");
    ASSERT_LT(gdiAlone + 5, userAlone) << "the pressure did not separate the figures";

    int16_t system = -7, gdi = -7, user = -7;
    int16_t result = vitalink.GetVitalink(system, gdi, user);
    EXPECT_NEAR(gdi, gdiAlone, 2);
    EXPECT_NEAR(user, userAlone, 2);
    for (int16_t v : {system, gdi, user}) {
        EXPECT_GE(v, 0);
        EXPECT_LE(v, 100);
    }
    EXPECT_EQ(system, gdi);  // the smaller of the two
    EXPECT_EQ(result, user);
    EXPECT_NEAR(exports.Percent("GetSysRes"), system, 2);
}

TEST(VitalinkResources, HandleShareFallsAsDescriptorsAreOpened) {
    Exports exports;
    DescriptorPressure pressure(200);
    int16_t before = exports.Percent("GetGdiRes");
    pressure.Open(100);
    int16_t during = exports.Percent("GetGdiRes");
    pressure.Release();
    int16_t after = exports.Percent("GetGdiRes");
    EXPECT_LE(during + 40, before);  // half the headroom taken
    EXPECT_NEAR(after, before, 2);
    EXPECT_LE(exports.Percent("GetSysRes"), after);
}

// --- memory -----------------------------------------------------------------

TEST(VitalinkMemory, MemoryLoadIsTheShareThatIsFree) {
    Exports exports;
    uint64_t total = exports.Bytes("TotalPhys");
    uint64_t avail = exports.Bytes("AvailPhys");
    int16_t freeShare = exports.Percent("MemoryLoad");
    ASSERT_GT(total, 0u);
    ASSERT_LE(avail, total);
    int usedShare = static_cast<int>((total - avail) * 100 / total);
    EXPECT_GE(freeShare, 0);
    EXPECT_LE(freeShare, 100);
    // Free, not used: the two add up to 100 (memory moves between the calls).
    EXPECT_NEAR(freeShare + usedShare, 100, 2);
}

TEST(VitalinkMemory, ByteCountsAreWholeAndConsistent) {
    Exports exports;
    uint64_t total = exports.Bytes("TotalPhys");
    // Whole byte counts, not their low 16 bits.
    EXPECT_EQ(total, static_cast<uint64_t>(sysconf(_SC_PHYS_PAGES)) * static_cast<uint64_t>(sysconf(_SC_PAGESIZE)));
    EXPECT_GE(exports.Bytes("TotalPageFile"), total);
    EXPECT_LE(exports.Bytes("AvailPageFile"), exports.Bytes("TotalPageFile"));
    EXPECT_GE(exports.Bytes("AvailPageFile"), exports.Bytes("AvailPhys") / 2);
    EXPECT_LT(exports.Bytes("AvailVirtual"), exports.Bytes("TotalVirtual"));
}

TEST(VitalinkMemory, ReservedAddressSpaceIsNoLongerAvailable) {
    Exports exports;
    constexpr uint64_t kReserve = 1ULL << 32;
    uint64_t before = exports.Bytes("AvailVirtual");
    void* p = mmap(nullptr, kReserve, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    ASSERT_NE(p, MAP_FAILED);
    uint64_t during = exports.Bytes("AvailVirtual");
    munmap(p, kReserve);
    EXPECT_LE(during + kReserve - (64u << 20), before);
    EXPECT_GE(during + kReserve + (64u << 20), before);
}

// --- disks ------------------------------------------------------------------

class CurrentDirectory {
public:
    CurrentDirectory() : saved_(fs::current_path()) {}
    ~CurrentDirectory() { fs::current_path(saved_); }

private:
    fs::path saved_;
};

double FileSystemBytes(const char* path, bool free) {
    struct statvfs s{};
    if (statvfs(path, &s) != 0) return -1;
    return static_cast<double>(free ? s.f_bavail : s.f_blocks) * static_cast<double>(s.f_frsize);
}

TEST(VitalinkDisks, DriveCIsTheRootFileSystem) {
    Exports exports;
    EXPECT_EQ(exports.Disk("DiskSizeEx", 3), FileSystemBytes("/", false));
    double free = exports.Disk("DiskFreeEx", 3);
    EXPECT_GT(free, 0);
    EXPECT_LE(free, exports.Disk("DiskSizeEx", 3));
    // Only the low byte of the drive number counts.
    EXPECT_EQ(exports.Disk("DiskSizeEx", 0x7F00 + 3), exports.Disk("DiskSizeEx", 3));
}

TEST(VitalinkDisks, ADriveNumberWithNoDriveGivesMinusOne) {
    Exports exports;
    for (int32_t drive : {1, 2, 4, 26, 27, 255}) {
        EXPECT_EQ(exports.Disk("DiskSizeEx", drive), -1.0) << drive;
        EXPECT_EQ(exports.Disk("DiskFreeEx", drive), -1.0) << drive;
    }
}

TEST(VitalinkDisks, DriveZeroMeasuresTheCurrentDirectorysFileSystem) {
    Exports exports;
    CurrentDirectory restore;
    fs::current_path("/");
    EXPECT_EQ(exports.Disk("DiskSizeEx", 0), exports.Disk("DiskSizeEx", 3));

    // A second file system of another size, where there is one.
    for (const char* other : {"/dev/shm", "/dev", "/run"}) {
        double size = FileSystemBytes(other, false);
        if (size <= 0 || size == FileSystemBytes("/", false)) continue;
        fs::current_path(other);
        EXPECT_EQ(exports.Disk("DiskSizeEx", 0), size) << other;
        EXPECT_NE(exports.Disk("DiskSizeEx", 0), exports.Disk("DiskSizeEx", 3)) << other;
        return;
    }
    GTEST_SKIP() << "no second file system of another size to change to";
}

// --- processor load -----------------------------------------------------------

// The load since system start, from the same counters.
int LoadSinceStart() {
    std::FILE* f = std::fopen("/proc/stat", "r");
    unsigned long long v[8] = {};
    int n = std::fscanf(f, "cpu %llu %llu %llu %llu %llu %llu %llu %llu", &v[0], &v[1], &v[2], &v[3], &v[4],
                        &v[5], &v[6], &v[7]);
    std::fclose(f);
    if (n < 4) return -1;
    unsigned long long total = 0;
    for (auto x : v) total += x;
    return static_cast<int>(((total - v[3] - v[4]) * 100 + total / 2) / total);
}

// A copy of the library under another path is a fresh instance, with no
// sample taken yet.
class FreshLibrary {
public:
    FreshLibrary() {
        fs::copy_file(fs::path(kBuiltDir) / "libvitalink.so", folder_.Path() / "libvitalink.so");
    }
    const std::string Folder() const { return folder_.ProgramPath(); }

private:
    morix::test::TempFolder folder_;
};

TEST(VitalinkCpu, TheFirstReadingIsTheLoadSinceSystemStart) {
    FreshLibrary fresh;
    PosixDynamicLibraries libraries(fresh.Folder());
    Vitalink vitalink(libraries);
    vitalink.GetCpuStart();
    int16_t first = vitalink.GetCpuUsage();
    EXPECT_NEAR(first, LoadSinceStart(), 1);
}

TEST(VitalinkCpu, AReadingRightAfterAnotherRepeatsItsFigure) {
    PosixDynamicLibraries libraries(kBuiltDir);
    Vitalink vitalink(libraries);
    vitalink.GetCpuStart();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    int16_t a = vitalink.GetCpuUsage();
    vitalink.GetCpuStart();
    int16_t b = vitalink.GetCpuUsage();
    EXPECT_GE(a, 0);
    EXPECT_LE(a, 100);
    EXPECT_EQ(a, b);
}

// The load over about a second with `threads` threads spinning meanwhile.
int16_t LoadWhileSpinning(Vitalink& vitalink, unsigned threads) {
    std::atomic<bool> stop{false};
    std::vector<std::thread> spinners;
    for (unsigned i = 0; i < threads; ++i)
        spinners.emplace_back([&stop] {
            volatile unsigned long long x = 0;
            while (!stop.load(std::memory_order_relaxed)) x = x + 1;
        });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    vitalink.GetCpuStart();
    vitalink.GetCpuUsage();  // the interval starts here
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    vitalink.GetCpuStart();
    int16_t load = vitalink.GetCpuUsage();
    stop = true;
    for (auto& t : spinners) t.join();
    return load;
}

TEST(VitalinkCpu, BusyThreadsShowAsAHigherLoadThanAnIdleInterval) {
    PosixDynamicLibraries libraries(kBuiltDir);
    Vitalink vitalink(libraries);
    unsigned spinners = std::max(2u, std::thread::hardware_concurrency());
    // The load is the whole machine's, which other programs share: try a few
    // rounds, and give up only when even the idle interval was saturated.
    std::string seen;
    bool saturated = true;
    for (int round = 0; round < 5; ++round) {
        int16_t idle = LoadWhileSpinning(vitalink, 0);
        int16_t busy = LoadWhileSpinning(vitalink, spinners);
        ASSERT_GE(idle, 0);
        ASSERT_LE(busy, 100);
        if (busy >= idle + 10) return;
        seen += " idle " + std::to_string(idle) + " / busy " + std::to_string(busy) + ";";
        if (idle < 95) saturated = false;
    }
    if (saturated) GTEST_SKIP() << "the machine was saturated throughout:" << seen;
    FAIL() << "busy intervals did not read higher:" << seen;
}

// --- the binding's errors ---------------------------------------------------

// Loads the real library but withholds one entry point, and counts loads.
class WithholdingLibraries final : public DynamicLibraries {
public:
    explicit WithholdingLibraries(std::string withheld = {}) : real_(kBuiltDir), withheld_(std::move(withheld)) {}
    std::unique_ptr<LoadedLibrary> Load(std::string_view fileName) override {
        ++loads;
        requested.emplace_back(fileName);
        auto lib = real_.Load(fileName);
        if (!lib) return nullptr;
        return std::make_unique<Withholding>(std::move(lib), withheld_);
    }
    int loads = 0;
    std::vector<std::string> requested;

private:
    class Withholding final : public LoadedLibrary {
    public:
        Withholding(std::unique_ptr<LoadedLibrary> real, std::string withheld)
            : real_(std::move(real)), withheld_(std::move(withheld)) {}
        void* Symbol(std::string_view name) const override {
            return name == withheld_ ? nullptr : real_->Symbol(name);
        }

    private:
        std::unique_ptr<LoadedLibrary> real_;
        std::string withheld_;
    };
    PosixDynamicLibraries real_;
    std::string withheld_;
};

TEST(VitalinkBinding, LoadsTheLibraryByNameAtTheFirstCallOnly) {
    WithholdingLibraries libraries;
    Vitalink vitalink(libraries);
    EXPECT_EQ(libraries.loads, 0);
    vitalink.GetCpuStart();
    int16_t s, g, u;
    vitalink.GetVitalink(s, g, u);
    vitalink.GetCpuUsage();
    vitalink.GetCpuUsage();
    EXPECT_EQ(libraries.loads, 1);
    ASSERT_EQ(libraries.requested.size(), 1u);
    EXPECT_EQ(libraries.requested[0], "vitalink.dll");
}

template <typename Call>
void ExpectError(Call call, int number, const std::string& subject) {
    try {
        call();
        ADD_FAILURE() << "no error raised";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), number);
        EXPECT_NE(e.Description().find(subject), std::string::npos) << e.Description();
    }
}

TEST(VitalinkBinding, AMissingLibraryIsError53InEveryCallUntilItAppears) {
    morix::test::TempFolder empty;
    PosixDynamicLibraries libraries(empty.ProgramPath());
    Vitalink vitalink(libraries);  // no error yet: nothing is loaded
    int16_t s = 11, g = 22, u = 33;
    ExpectError([&] { vitalink.GetVitalink(s, g, u); }, 53, "vitalink.dll");
    ExpectError([&] { vitalink.GetCpuStart(); }, 53, "vitalink.dll");
    ExpectError([&] { vitalink.GetCpuUsage(); }, 53, "vitalink.dll");
    EXPECT_EQ(s, 11);
    EXPECT_EQ(g, 22);
    EXPECT_EQ(u, 33);

    fs::copy_file(fs::path(kBuiltDir) / "libvitalink.so", empty.Path() / "libvitalink.so");
    int16_t usage = vitalink.GetCpuUsage();
    EXPECT_GE(usage, 0);
    EXPECT_LE(usage, 100);
}

TEST(VitalinkBinding, AMissingEntryPointIsError453NamingIt) {
    for (const char* name : {"GetVitalink", "GetCpuStart", "GetCpuUsage"}) {
        SCOPED_TRACE(name);
        WithholdingLibraries libraries(name);
        Vitalink vitalink(libraries);
        int16_t s = 0, g = 0, u = 0;
        std::map<std::string, std::function<void()>> calls = {
            {"GetVitalink", [&] { vitalink.GetVitalink(s, g, u); }},
            {"GetCpuStart", [&] { vitalink.GetCpuStart(); }},
            {"GetCpuUsage", [&] { vitalink.GetCpuUsage(); }},
        };
        ExpectError(calls[name], 453, name);
        ExpectError(calls[name], 453, name);  // and again at the next call
        // Each function is bound on its own: the others still work.
        for (auto& [other, call] : calls) {
            if (other != name) {
                EXPECT_NO_THROW(call()) << other;
            }
        }
    }
}

// A library whose resource source cannot be opened answers with a marker;
// the binding raises the library's message in the caller.
class StubLibraries final : public DynamicLibraries {
public:
    explicit StubLibraries(GetVitalinkProc proc) : proc_(proc) {}
    std::unique_ptr<LoadedLibrary> Load(std::string_view) override {
        return std::make_unique<Stub>(proc_);
    }

private:
    class Stub final : public LoadedLibrary {
    public:
        explicit Stub(GetVitalinkProc proc) : proc_(proc) {}
        void* Symbol(std::string_view name) const override {
            return name == "GetVitalink" ? reinterpret_cast<void*>(proc_) : nullptr;
        }

    private:
        GetVitalinkProc proc_;
    };
    GetVitalinkProc proc_;
};

int16_t VITALINK_CALL NoUserModule(int16_t*, int16_t*, int16_t*) { return VITALINK_SOURCE_NOT_LOADED; }
int16_t VITALINK_CALL NoCountingProcedure(int16_t*, int16_t*, int16_t*) { return VITALINK_SOURCE_NO_PROCEDURE; }

TEST(VitalinkBinding, ASourceTheLibraryCannotOpenRaisesItsMessage) {
    struct Case {
        GetVitalinkProc proc;
        int number;
        const char* text;
    };
    for (const Case& c : {Case{NoUserModule, 48, "Can't load USER.EXE!"},
                          Case{NoCountingProcedure, 453, "Can't get address of GetFreeSystemResources!"}}) {
        StubLibraries libraries(c.proc);
        Vitalink vitalink(libraries);
        int16_t s = 5, g = 6, u = 7;
        try {
            vitalink.GetVitalink(s, g, u);
            ADD_FAILURE() << "no error raised for " << c.text;
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.Number(), c.number);
            EXPECT_EQ(e.Description(), c.text);
        }
        EXPECT_EQ(s, 5);
        EXPECT_EQ(g, 6);
        EXPECT_EQ(u, 7);
    }
}

}  // namespace
