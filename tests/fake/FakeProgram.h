// A fresh program folder with a design, a simulated desktop, and a fresh
// program over it: what the native tests and the benchmarks start from. It
// needs the program's libraries (app/Program) besides the fake's.
#pragma once

#include "app/Program.h"
#include "clock/Form1.h"
#include "clock/Module1.h"
#include "face/AssetPaths.h"
#include "settings/SettingsFile.h"
#include "tests/fake/FakeRtf.h"
#include "tests/fake/FakeSystem.h"
#include "tests/fake/TempFolder.h"

#include <filesystem>
#include <fstream>
#include <functional>

namespace morix::test {

// A BMP header is all the fake needs of a picture.
inline std::string TinyBmp(int width, int height) {
    std::string b(54, '\0');
    auto put32 = [&](std::size_t at, int v) {
        for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    b[0] = 'B', b[1] = 'M';
    put32(2, 54);
    put32(10, 54);
    put32(14, 40);
    put32(18, width);
    put32(22, height);
    b[26] = 1, b[28] = 24;
    return b;
}

// A GIF header of the size, likewise.
inline std::string TinyGif(int width, int height) {
    std::string g = "GIF89a";
    g += static_cast<char>(width & 0xFF), g += static_cast<char>(width >> 8);
    g += static_cast<char>(height & 0xFF), g += static_cast<char>(height >> 8);
    return g + std::string(4, '\0');
}

inline std::string TinyAvi() { return std::string("RIFF\x04\0\0\0AVI ", 12); }

// Runs an entry or event; true when it ended the process.
inline bool EndsTheProcess(const std::function<void()>& f) {
    try {
        f();
    } catch (const ProcessEnded&) {
        return true;
    }
    return false;
}

class FakeProgram {
public:
    FakeProgram() {
        InstallDesign("Tidewalk");
        InstallFrame("Ellip01");
        std::filesystem::create_directories(dir.Path() / "Tickdata");
        Put(dir.Path() / "Sample.rtf", TextToRtf(SampleText));
    }
    static constexpr const char* SampleText = "備忘録の見本です。";

    // The sample memo seen and ticked away: a start shows no memo window by
    // itself.
    void SampleDone() { Set("起動時のSample.rtf", "1"); }
    virtual ~FakeProgram() = default;

    void InstallDesign(const std::string& name, int missingClip = -1) {
        auto folder = dir.Path() / "Design" / name;
        std::filesystem::create_directories(folder);
        Put(folder / "Back.bmp", TinyBmp(66, 22));
        Put(folder / "TP.bmp", TinyBmp(66, 22));
        for (int n = 0; n < 60; ++n)
            if (n != missingClip) Put(folder / ClipName(n), TinyAvi());
    }
    void InstallFrame(const std::string& name) {
        auto folder = dir.Path() / "Frame" / name;
        std::filesystem::create_directories(folder);
        for (auto picture : {"MsgLU.gif", "MsgLD.gif", "MsgRU.gif", "MsgRD.gif"}) Put(folder / picture, TinyGif(280, 140));
    }
    static void Put(const std::filesystem::path& p, const std::string& bytes) {
        std::ofstream(p, std::ios::binary) << bytes;
    }

    // Runs an entry or event; true when it ended the process.
    bool Ends(const std::function<void()>& f) { return EndsTheProcess(f); }
    bool Start() { return Ends([&] { app.Main(); }); }
    bool Tick() { return Ends([&] { sys.Tick(); }); }
    // A dialog's reload of the clock window.
    bool Reload() {
        program.Reloading = true;
        return Ends([&] {
            program.UnloadForm1();
            program.LoadForm1();
        });
    }

    SettingsFile Settings() { return SettingsFile(sys.files, sys.codePage, dir.ProgramPath() + "\\Morix.ini"); }
    void Set(std::string_view key, std::string_view value) { Settings().WriteValue(key, value); }
    std::string Get(std::string_view key) { return Settings().ReadString(key, "<missing>"); }
    std::string IniBytes() { return dir.Read("Morix.ini"); }
    bool IniExists() { return std::filesystem::exists(dir.Path() / "Morix.ini"); }

    Form1& form() { return *program.form1(); }
    FakeWindow& window() { return sys.ClockWindow(); }
    // The clock window's shaping control.
    FakeShaper& shaper() {
        for (FakeShaper* s : sys.ui.shapers)
            if (&s->window == &window()) return *s;
        throw std::logic_error("the clock window has no shaping control");
    }
    std::vector<std::string> Log() { return sys.TakeLog(); }

    TempFolder dir;
    FakeSystem sys{dir.ProgramPath()};
    Program app{sys.platform};
    Module1& program = app.module();
};

}  // namespace morix::test
