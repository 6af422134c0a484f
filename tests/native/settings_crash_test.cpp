// A writer killed at any moment leaves a settings file that is whole: either
// the old or the new value of every key, never a mix or a torn line.
#include "platform/posix/PosixCodePage.h"
#include "platform/posix/PosixFiles.h"
#include "settings/SettingsFile.h"
#include "tests/fake/TempFolder.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>

namespace morix {
namespace {

constexpr int KeyCount = 5;
const std::string_view Names[KeyCount] = {"現在のForm1のLeft", "現在のForm1のTop", "アクティブウィンドウのLeft",
                                          "アクティブウィンドウのRight", "アクティブウィンドウのタイトル"};

TEST(SettingsCrashSafety, KilledWriterLeavesAWholeFile) {
    test::TempFolder dir;
    platform::PosixCodePage cp;
    platform::PosixFiles files;
    const std::string path = dir.ProgramPath() + "\\Morix.ini";
    // Every key starts at generation 0, among foreign lines that must survive.
    const std::string foreign = cp.ToAnsi("; 手で書いた行\r\n[Other]\r\nkeep=me\r\n");
    dir.Write("Morix.ini", foreign);
    {
        SettingsFile s{files, cp, path};
        for (auto name : Names) s.WriteValue(name, "0");
    }
    std::mt19937 random(20261208);
    int checked = 0;
    for (int round = 0; round < 150; ++round) {
        SettingsFile before{files, cp, path};
        std::vector<int> old;
        for (auto name : Names) old.push_back(before.ReadInt(name, -1));
        int start = *std::max_element(old.begin(), old.end());

        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Round robin: generation g goes to key g % KeyCount.
            SettingsFile s{files, cp, path};
            for (int g = start + 1;; ++g) s.WriteValue(Names[g % KeyCount], std::to_string(g));
        }
        usleep(std::uniform_int_distribution<int>(200, 8000)(random));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);

        std::string bytes = dir.Read("Morix.ini");
        ASSERT_EQ(bytes.substr(0, foreign.size()), foreign) << "round " << round;
        SettingsFile after{files, cp, path};
        std::vector<int> now;
        for (auto name : Names) now.push_back(after.ReadInt(name, -1));
        // A whole file holds, for each key, a generation of that key's turn,
        // no older than before, and all keys within one round of each other.
        int newest = *std::max_element(now.begin(), now.end());
        for (int k = 0; k < KeyCount; ++k) {
            ASSERT_GE(now[k], old[k]) << "round " << round << " key " << k;
            ASSERT_TRUE(now[k] == 0 || now[k] % KeyCount == k) << "round " << round << " key " << k;
            ASSERT_TRUE(now[k] > newest - KeyCount || (now[k] == 0 && newest < KeyCount)) << "round " << round;
        }
        // Exactly the foreign lines, the section line and one line per key.
        ASSERT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 3 + 1 + KeyCount) << bytes;
        ++checked;
    }
    EXPECT_EQ(checked, 150);
}

}  // namespace
}  // namespace morix
