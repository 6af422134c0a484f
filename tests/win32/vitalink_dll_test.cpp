// vitalink.dll as Windows (or Wine) loads it: LoadLibrary and GetProcAddress
// by name, its export and import tables read from the file, its figures
// against the system's own, and the program's binding over
// Win32DynamicLibraries.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "info/Vitalink.h"
#include "platform/win32/Win32DynamicLibraries.h"
#include "vitalink/vitalink.h"

namespace {

using morix::Vitalink;
using morix::platform::win32::Win32DynamicLibraries;

const std::set<std::string> kExports = {"GetVitalink", "GetSysRes",     "GetGdiRes",     "GetUserRes",
                                        "GetCpuStart", "GetCpuUsage",   "DiskSizeEx",    "DiskFreeEx",
                                        "MemoryLoad",  "TotalPhys",     "AvailPhys",     "TotalPageFile",
                                        "AvailPageFile", "TotalVirtual", "AvailVirtual"};

std::wstring ModulePath(HMODULE module) {
    wchar_t buf[MAX_PATH * 4];
    DWORD n = GetModuleFileNameW(module, buf, static_cast<DWORD>(std::size(buf)));
    return std::wstring(buf, n);
}

// vitalink.dll beside the test program, loaded by its plain name.
class VitalinkDll : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryW(L"vitalink.dll");
        ASSERT_NE(module_, nullptr) << "vitalink.dll not found beside the test program";
    }
    void TearDown() override {
        if (module_) FreeLibrary(module_);
    }
    template <typename Proc>
    Proc Get(const char* name) const {
        FARPROC p = GetProcAddress(module_, name);
        if (p == nullptr) throw std::runtime_error(std::string("no export ") + name);
        return reinterpret_cast<Proc>(reinterpret_cast<void*>(p));
    }
    int16_t Percent(const char* name) const { return Get<PercentProc>(name)(); }
    uint64_t Bytes(const char* name) const { return Get<ByteCountProc>(name)(); }
    double Disk(const char* name, int32_t drive) const { return Get<DiskProc>(name)(drive); }

    HMODULE module_ = nullptr;
};

// --- the file ---------------------------------------------------------------

// The parts of a PE file the checks need, read from the bytes on disk.
class PeFile {
public:
    explicit PeFile(const std::wstring& path) {
        std::ifstream in(std::filesystem::path(path), std::ios::binary);
        bytes_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (bytes_.size() < sizeof(IMAGE_DOS_HEADER)) throw std::runtime_error("short file");
        auto dos = At<IMAGE_DOS_HEADER>(0);
        if (dos->e_magic != IMAGE_DOS_SIGNATURE) throw std::runtime_error("no MZ header");
        ntOffset_ = static_cast<std::size_t>(dos->e_lfanew);
        auto nt = At<IMAGE_NT_HEADERS32>(ntOffset_);
        if (nt->Signature != IMAGE_NT_SIGNATURE) throw std::runtime_error("no PE header");
        machine_ = nt->FileHeader.Machine;
        sections_ = ntOffset_ + offsetof(IMAGE_NT_HEADERS32, OptionalHeader) + nt->FileHeader.SizeOfOptionalHeader;
        sectionCount_ = nt->FileHeader.NumberOfSections;
        const IMAGE_DATA_DIRECTORY* dirs;
        if (nt->OptionalHeader.Magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC)
            dirs = At<IMAGE_NT_HEADERS64>(ntOffset_)->OptionalHeader.DataDirectory;
        else
            dirs = nt->OptionalHeader.DataDirectory;
        exports_ = dirs[IMAGE_DIRECTORY_ENTRY_EXPORT];
        imports_ = dirs[IMAGE_DIRECTORY_ENTRY_IMPORT];
    }

    WORD Machine() const { return machine_; }

    std::string ExportedModuleName() const {
        if (exports_.VirtualAddress == 0) return {};
        return String(At<IMAGE_EXPORT_DIRECTORY>(Offset(exports_.VirtualAddress))->Name);
    }

    std::vector<std::string> ExportNames() const {
        std::vector<std::string> names;
        if (exports_.VirtualAddress == 0) return names;
        auto dir = At<IMAGE_EXPORT_DIRECTORY>(Offset(exports_.VirtualAddress));
        std::size_t table = Offset(dir->AddressOfNames);
        for (DWORD i = 0; i < dir->NumberOfNames; ++i) names.push_back(String(*At<DWORD>(table + 4 * i)));
        return names;
    }

    DWORD UnnamedExportCount() const {
        auto dir = At<IMAGE_EXPORT_DIRECTORY>(Offset(exports_.VirtualAddress));
        return dir->NumberOfFunctions - dir->NumberOfNames;
    }

    std::vector<std::string> ImportedModules() const {
        std::vector<std::string> names;
        if (imports_.VirtualAddress == 0) return names;
        for (std::size_t at = Offset(imports_.VirtualAddress);; at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
            auto d = At<IMAGE_IMPORT_DESCRIPTOR>(at);
            if (d->Name == 0) break;
            names.push_back(String(d->Name));
        }
        return names;
    }

private:
    template <typename T>
    const T* At(std::size_t offset) const {
        if (offset + sizeof(T) > bytes_.size()) throw std::runtime_error("offset outside the file");
        return reinterpret_cast<const T*>(bytes_.data() + offset);
    }
    std::size_t Offset(DWORD rva) const {
        for (WORD i = 0; i < sectionCount_; ++i) {
            auto s = At<IMAGE_SECTION_HEADER>(sections_ + i * sizeof(IMAGE_SECTION_HEADER));
            DWORD size = std::max(s->Misc.VirtualSize, s->SizeOfRawData);
            if (rva >= s->VirtualAddress && rva < s->VirtualAddress + size)
                return rva - s->VirtualAddress + s->PointerToRawData;
        }
        throw std::runtime_error("address outside every section");
    }
    std::string String(DWORD rva) const {
        std::size_t at = Offset(rva);
        std::size_t end = at;
        while (end < bytes_.size() && bytes_[end] != '\0') ++end;
        return std::string(bytes_.begin() + static_cast<std::ptrdiff_t>(at), bytes_.begin() + static_cast<std::ptrdiff_t>(end));
    }

    std::vector<char> bytes_;
    std::size_t ntOffset_ = 0, sections_ = 0;
    WORD sectionCount_ = 0, machine_ = 0;
    IMAGE_DATA_DIRECTORY exports_{}, imports_{};
};

TEST_F(VitalinkDll, ExportsExactlyTheFifteenFunctionsUndecorated) {
    PeFile pe(ModulePath(module_));
    std::vector<std::string> names = pe.ExportNames();
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), kExports);
    EXPECT_EQ(names.size(), kExports.size());
    for (const std::string& n : names) {
        EXPECT_EQ(n.find('@'), std::string::npos) << n;  // no stdcall decoration
        EXPECT_NE(n.front(), '_') << n;
    }
    EXPECT_EQ(pe.UnnamedExportCount(), 0u);
    EXPECT_STRCASEEQ(pe.ExportedModuleName().c_str(), "vitalink.dll");
    for (const std::string& n : kExports) EXPECT_NE(GetProcAddress(module_, n.c_str()), nullptr) << n;
}

TEST_F(VitalinkDll, NeedsNothingButKernel32AndTheSystemCRuntime) {
    PeFile pe(ModulePath(module_));
    std::vector<std::string> modules = pe.ImportedModules();
    EXPECT_FALSE(modules.empty());
    for (std::string m : modules) {
        std::transform(m.begin(), m.end(), m.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        bool system = m == "kernel32.dll" || m == "msvcrt.dll" || m.rfind("api-ms-win-crt-", 0) == 0;
        EXPECT_TRUE(system) << m << " would have to be shipped or is linked needlessly";
    }
}

#if defined(__i386__) && defined(__GNUC__)
// Calls GetVitalink as a caller of either convention would (three pushes, a
// call) and reports how many argument bytes are still on the stack after it
// returns: none for the standard convention, whose callee removes them.
long ArgumentBytesLeftBy(GetVitalinkProc proc, int16_t* a, int16_t* b, int16_t* c) {
    struct Frame {
        void* proc;
        void* a;
        void* b;
        void* c;
    } frame{reinterpret_cast<void*>(proc), a, b, c};
    long left;
    asm volatile(
        "movl %%esp, %%edi\n\t"
        "pushl 12(%%esi)\n\t"
        "pushl 8(%%esi)\n\t"
        "pushl 4(%%esi)\n\t"
        "call *(%%esi)\n\t"
        "movl %%edi, %%eax\n\t"
        "subl %%esp, %%eax\n\t"
        "movl %%edi, %%esp\n\t"
        : "=a"(left)
        : "S"(&frame)
        : "edi", "ecx", "edx", "memory", "cc");
    return left;
}
#endif

TEST_F(VitalinkDll, UsesTheStandardCallingConvention) {
    PeFile pe(ModulePath(module_));
    PeFile self(ModulePath(nullptr));
    EXPECT_EQ(pe.Machine(), self.Machine());
#if defined(__i386__) && defined(__GNUC__)
    ASSERT_EQ(pe.Machine(), IMAGE_FILE_MACHINE_I386);
    int16_t s = -7, g = -7, u = -7;
    EXPECT_EQ(ArgumentBytesLeftBy(Get<GetVitalinkProc>("GetVitalink"), &s, &g, &u), 0);
    EXPECT_NE(s, -7);
#else
    // x86_64 Windows has the one convention, which every caller uses.
    ASSERT_EQ(pe.Machine(), IMAGE_FILE_MACHINE_AMD64);
    int16_t s = -7, g = -7, u = -7;
    int16_t result = Get<GetVitalinkProc>("GetVitalink")(&s, &g, &u);
    EXPECT_EQ(result, u);
    EXPECT_NE(s, -7);
    double size = Get<DiskProc>("DiskSizeEx")(3);  // a floating-point result
    EXPECT_TRUE(size == -1.0 || size > 0);
#endif
}

// --- free resources ---------------------------------------------------------

// False where GetGuiResources keeps no count (Wine says it is not implemented).
bool SystemCountsGuiObjects() {
    SetLastError(ERROR_SUCCESS);
    DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    return n != 0 || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED;
}

TEST_F(VitalinkDll, ResourcesAreWholePercentagesStoredSystemGdiUser) {
    int16_t s = -7, g = -7, u = -7;
    int16_t result = Get<GetVitalinkProc>("GetVitalink")(&s, &g, &u);
    for (int16_t v : {s, g, u, result}) {
        EXPECT_GE(v, 0);
        EXPECT_LE(v, 100);
    }
    EXPECT_EQ(result, u);
    EXPECT_EQ(s, std::min(g, u));
    EXPECT_NEAR(Percent("GetSysRes"), s, 1);
    EXPECT_NEAR(Percent("GetGdiRes"), g, 1);
    EXPECT_NEAR(Percent("GetUserRes"), u, 1);
}

TEST_F(VitalinkDll, GdiShareFallsAsObjectsAreCreated) {
    if (!SystemCountsGuiObjects()) GTEST_SKIP() << "this system keeps no count of GUI objects";
    int16_t before = Percent("GetGdiRes");
    std::vector<HBRUSH> brushes;
    for (int i = 0; i < 3000; ++i) brushes.push_back(CreateSolidBrush(RGB(i & 255, i >> 8, 7)));
    int16_t during = Percent("GetGdiRes");
    int16_t s = -7, g = -7, u = -7;
    Get<GetVitalinkProc>("GetVitalink")(&s, &g, &u);
    for (HBRUSH b : brushes) DeleteObject(b);
    EXPECT_LE(during + 3, before);  // 3000 of 65,536 objects: over 4 percent
    EXPECT_LE(s, g);
    EXPECT_NEAR(g, during, 1);
}

TEST_F(VitalinkDll, WhereTheSystemKeepsNoCountNothingReadsAsUsed) {
    if (SystemCountsGuiObjects()) GTEST_SKIP() << "this system counts its GUI objects";
    int16_t s = -7, g = -7, u = -7;
    EXPECT_EQ(Get<GetVitalinkProc>("GetVitalink")(&s, &g, &u), 100);
    EXPECT_EQ(s, 100);
    EXPECT_EQ(g, 100);
}

// --- memory -----------------------------------------------------------------

MEMORYSTATUSEX SystemMemory() {
    MEMORYSTATUSEX m{};
    m.dwLength = sizeof m;
    GlobalMemoryStatusEx(&m);
    return m;
}

TEST_F(VitalinkDll, MemoryLoadIsOneHundredLessTheSystemsLoad) {
    int16_t freeShare = Percent("MemoryLoad");
    MEMORYSTATUSEX m = SystemMemory();
    EXPECT_GE(freeShare, 0);
    EXPECT_LE(freeShare, 100);
    EXPECT_NEAR(freeShare, 100 - static_cast<int>(m.dwMemoryLoad), 2);
}

TEST_F(VitalinkDll, ByteCountsAreTheSystemsWholeFigures) {
    MEMORYSTATUSEX m = SystemMemory();
    EXPECT_EQ(Bytes("TotalPhys"), m.ullTotalPhys);
    EXPECT_EQ(Bytes("TotalPageFile"), m.ullTotalPageFile);
    EXPECT_EQ(Bytes("TotalVirtual"), m.ullTotalVirtual);
    EXPECT_LE(Bytes("AvailPhys"), Bytes("TotalPhys"));
    EXPECT_LE(Bytes("AvailPageFile"), Bytes("TotalPageFile"));

    // The caller's own address space, as the system counts it (Wine does not
    // count reservations; Windows does).
    // A 32-bit process's 2 GB hold no free gigabyte in one piece.
    constexpr SIZE_T kReserve = sizeof(void*) == 4 ? SIZE_T(256) << 20 : SIZE_T(1) << 30;
    void* p = VirtualAlloc(nullptr, kReserve, MEM_RESERVE, PAGE_NOACCESS);
    ASSERT_NE(p, nullptr);
    uint64_t library = Bytes("AvailVirtual");
    uint64_t system = SystemMemory().ullAvailVirtual;
    VirtualFree(p, 0, MEM_RELEASE);
    EXPECT_LE(library, system + (16u << 20));
    EXPECT_GE(library + (16u << 20), system);
}

// --- disks ------------------------------------------------------------------

TEST_F(VitalinkDll, ADriveNumberWithNoDriveGivesMinusOne) {
    DWORD present = GetLogicalDrives();
    int tried = 0;
    for (int32_t number = 1; number <= 26; ++number) {
        if (present & (1u << (number - 1))) continue;
        EXPECT_EQ(Disk("DiskSizeEx", number), -1.0) << number;
        EXPECT_EQ(Disk("DiskFreeEx", number), -1.0) << number;
        ++tried;
    }
    EXPECT_GT(tried, 0);
    EXPECT_EQ(Disk("DiskSizeEx", 27), -1.0);  // past Z:
    EXPECT_EQ(Disk("DiskFreeEx", 255), -1.0);
}

TEST_F(VitalinkDll, DriveNumbersNameTheLettersAndZeroTheCurrentDrive) {
    wchar_t cwd[MAX_PATH];
    ASSERT_GT(GetCurrentDirectoryW(MAX_PATH, cwd), 2u);
    ASSERT_EQ(cwd[1], L':');
    int32_t current = (cwd[0] | 0x20) - L'a' + 1;
    wchar_t root[] = {cwd[0], L':', L'\\', 0};
    ULARGE_INTEGER avail{}, total{}, free{};
    ASSERT_TRUE(GetDiskFreeSpaceExW(root, &avail, &total, &free));
    EXPECT_EQ(Disk("DiskSizeEx", current), static_cast<double>(total.QuadPart));
    EXPECT_EQ(Disk("DiskSizeEx", 0), Disk("DiskSizeEx", current));
    EXPECT_EQ(Disk("DiskSizeEx", 0x100 + current), Disk("DiskSizeEx", current));  // low byte only
    double freeNow = Disk("DiskFreeEx", 0);
    EXPECT_GT(freeNow, 0);
    EXPECT_LE(freeNow, Disk("DiskSizeEx", 0));
}

// --- the binding over Win32DynamicLibraries ----------------------------------

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
    vitalink.GetCpuUsage();
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    vitalink.GetCpuStart();
    int16_t load = vitalink.GetCpuUsage();
    stop = true;
    for (auto& t : spinners) t.join();
    return load;
}

TEST(VitalinkWin32Binding, BusyThreadsShowAsAHigherLoadThanAnIdleInterval) {
    Win32DynamicLibraries libraries;
    Vitalink vitalink(libraries);
    unsigned spinners = std::max(2u, std::thread::hardware_concurrency());
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

// A scratch folder under %TEMP%, removed with its files.
class ScratchFolder {
public:
    ScratchFolder() {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        for (unsigned i = GetTickCount();; ++i) {
            path_ = std::wstring(temp) + L"vitalink-" + std::to_wstring(i);
            if (CreateDirectoryW(path_.c_str(), nullptr)) break;
        }
    }
    ~ScratchFolder() {
        for (const std::wstring& f : files_) DeleteFileW(f.c_str());
        RemoveDirectoryW(path_.c_str());
    }
    std::wstring Copy(const std::wstring& from, const std::wstring& name) {
        std::wstring to = path_ + L"\\" + name;
        if (!CopyFileW(from.c_str(), to.c_str(), FALSE)) throw std::runtime_error("copy failed");
        files_.push_back(to);
        return to;
    }
    std::string Utf8() const {
        int n = WideCharToMultiByte(CP_UTF8, 0, path_.c_str(), -1, nullptr, 0, nullptr, nullptr);
        std::string s(static_cast<std::size_t>(n), '\0');
        WideCharToMultiByte(CP_UTF8, 0, path_.c_str(), -1, s.data(), n, nullptr, nullptr);
        s.resize(static_cast<std::size_t>(n - 1));
        return s;
    }
    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_;
    std::vector<std::wstring> files_;
};

std::wstring FileHolding(void* address) {
    HMODULE m = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       static_cast<LPCWSTR>(address), &m);
    return m ? ModulePath(m) : std::wstring();
}

TEST(VitalinkWin32Libraries, LookInTheProgramFolderFirst) {
    ScratchFolder folder;
    HMODULE self = LoadLibraryW(L"vitalink.dll");
    ASSERT_NE(self, nullptr);
    std::wstring copy = folder.Copy(ModulePath(self), L"vitalink_probe.dll");
    FreeLibrary(self);
    {
        Win32DynamicLibraries libraries(folder.Utf8());
        auto lib = libraries.Load("vitalink_probe.dll");
        ASSERT_NE(lib, nullptr);
        void* proc = lib->Symbol("GetCpuUsage");
        ASSERT_NE(proc, nullptr);
        EXPECT_EQ(lstrcmpiW(FileHolding(proc).c_str(), copy.c_str()), 0);
        EXPECT_EQ(lib->Symbol("GetFreeSystemResources"), nullptr);
    }
    // Elsewhere that name is on no search path.
    ScratchFolder empty;
    Win32DynamicLibraries elsewhere(empty.Utf8());
    EXPECT_EQ(elsewhere.Load("vitalink_probe.dll"), nullptr);
}

TEST(VitalinkWin32Libraries, FallBackToTheSystemSearchPath) {
    ScratchFolder empty;
    Win32DynamicLibraries libraries(empty.Utf8());
    auto kernel = libraries.Load("kernel32.dll");
    ASSERT_NE(kernel, nullptr);
    EXPECT_NE(kernel->Symbol("GetSystemTimes"), nullptr);
    EXPECT_EQ(libraries.Load("no-such-library-anywhere.dll"), nullptr);
}

}  // namespace
