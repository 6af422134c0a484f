// A fresh program folder with a design, a simulated desktop and a fresh
// program for every test.
#pragma once

#include "clock/Form1.h"
#include "clock/Module1.h"
#include "face/AssetPaths.h"
#include "settings/SettingsFile.h"
#include "tests/fake/FakeSystem.h"
#include "tests/fake/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

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

inline std::string TinyAvi() { return std::string("RIFF\x04\0\0\0AVI ", 12); }

class ClockTest : public ::testing::Test {
protected:
    ClockTest() { InstallDesign("Tidewalk"); }

    void InstallDesign(const std::string& name, int missingClip = -1) {
        auto folder = dir.Path() / "Design" / name;
        std::filesystem::create_directories(folder);
        Put(folder / "Back.bmp", TinyBmp(66, 22));
        Put(folder / "TP.bmp", TinyBmp(66, 22));
        for (int n = 0; n < 60; ++n)
            if (n != missingClip) Put(folder / ClipName(n), TinyAvi());
        std::filesystem::create_directories(dir.Path() / "Tickdata");
    }
    static void Put(const std::filesystem::path& p, const std::string& bytes) {
        std::ofstream(p, std::ios::binary) << bytes;
    }

    // Runs an entry or event; true when it ended the process.
    bool Ends(const std::function<void()>& f) {
        try {
            f();
        } catch (const ProcessEnded&) {
            return true;
        }
        return false;
    }
    bool Start() { return Ends([&] { program.Main(); }); }
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
    FakeShaper& shaper() { return *sys.ui.shapers.back(); }
    std::vector<std::string> Log() { return sys.TakeLog(); }

    TempFolder dir;
    FakeSystem sys{dir.ProgramPath()};
    Module1 program{sys.platform};
};

}  // namespace morix::test
