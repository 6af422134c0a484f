// The settings file against the system's own profile functions: one sequence
// of reads and writes on two copies of one file, one copy through
// SettingsFile, the other through GetPrivateProfileIntA,
// GetPrivateProfileStringA (256-byte buffer) and WritePrivateProfileStringA.
// Every read must agree, except where ours differs on purpose; each such
// difference is named below with both sides' exact results.
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Files.h"
#include "settings/SettingsCache.h"
#include "settings/SettingsFile.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <functional>
#include <iterator>

namespace morix {
namespace {

using platform::win32::Win32CodePage;
using platform::win32::Win32Files;

std::string TempDir() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    std::string dir = std::string(base) + "morix-diff-" + std::to_string(GetCurrentProcessId()) + "-" +
                      std::to_string(GetTickCount());
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The system's side, with ANSI (CP932) names and values.
struct Profile {
    Profile() = default;
    explicit Profile(std::string p) : path(std::move(p)) {}
    std::string path;
    Win32CodePage cp;
    int ReadInt(std::string_view key, int def) const {
        return static_cast<int>(GetPrivateProfileIntA(cp.ToAnsi("Morix").c_str(), cp.ToAnsi(key).c_str(), def, path.c_str()));
    }
    std::string ReadString(std::string_view key, std::string_view def) const {
        char buffer[256];
        GetPrivateProfileStringA(cp.ToAnsi("Morix").c_str(), cp.ToAnsi(key).c_str(), cp.ToAnsi(def).c_str(), buffer,
                                 sizeof buffer, path.c_str());
        return cp.FromAnsi(buffer);
    }
    // Raw bytes of the string result, for cases where the conversion would hide a split character.
    std::string ReadAnsi(std::string_view key) const {
        char buffer[256];
        DWORD n = GetPrivateProfileStringA("Morix", cp.ToAnsi(key).c_str(), "", buffer, sizeof buffer, path.c_str());
        return std::string(buffer, n);
    }
    void Write(std::string_view key, std::string_view value) const {
        WritePrivateProfileStringA("Morix", cp.ToAnsi(key).c_str(), cp.ToAnsi(value).c_str(), path.c_str());
    }
};

class ProfileDifferential : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(GetACP(), 932u) << "run with LANG=ja_JP.UTF-8 so that the ANSI code page is 932";
        dir = TempDir();
        oursPath = dir + "\\ours.ini";
        theirsPath = dir + "\\theirs.ini";
        theirs.path = theirsPath;
    }
    void Start(const std::string& utf8Contents) {
        WriteBytes(oursPath, cp.ToAnsi(utf8Contents));
        WriteBytes(theirsPath, cp.ToAnsi(utf8Contents));
    }
    std::string A(std::string_view s) { return cp.ToAnsi(s); }

    std::string dir, oursPath, theirsPath;
    Win32CodePage cp;
    Win32Files files;
    SettingsFile ours{files, cp, ""};
    Profile theirs;
    SettingsFile Ours() { return SettingsFile{files, cp, oursPath}; }
};

std::string Repeat(std::string_view s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

const char* const Initial =
    "; 設定ファイル\r\n"
    "[Other]\r\n"
    "自動表示=9\r\n"
    "\r\n"
    "[Morix]\r\n"
    "起動時のLeft=1200\r\n"
    "起動時のTop=-300\r\n"
    "現在のForm1のLeft=\r\n"
    "現在のForm1のTop=   \r\n"
    "アクティブウィンドウのタイトル=  無題 - メモ帳  \r\n"
    "アクティブウィンドウのhDC=12abc\r\n"
    "アクティブウィンドウのLeft=abc\r\n"
    "アクティブウィンドウのRight=+7\r\n"
    "アクティブウィンドウのBottom=1 000\r\n"
    "アクティブウィンドウのTop=-\r\n"
    "終了時の日付=20261207\r\n"
    "Aviディレクトリ名=\r\n"
    "  cpuの表示  =  0  \r\n"
    "CPUの表示=1\r\n"
    "チャイムの鳴らし方=007\r\n"
    "\r\n"
    "[Last]\r\n"
    "x=1\r\n";

TEST_F(ProfileDifferential, ReadsAgreeOnEveryForm) {
    std::string memo300(300, 'm');
    Start(std::string(Initial) + "[Morix]\r\nメモの表示=1\r\n");
    {
        // Long values: appended to the first section so both see them.
        SettingsFile o = Ours();
        o.WriteValue(keys::MemoText, memo300);
        theirs.Write("メモの内容", memo300);
    }
    SettingsFile o = Ours();
    struct IntCase { std::string_view key; int def; };
    for (IntCase c : std::initializer_list<IntCase>{
             {keys::HomeLeft, 5}, {keys::HomeTop, 5}, {"現在のForm1のLeft", 5}, {"現在のForm1のTop", 5},
             {"アクティブウィンドウのhDC", 5}, {"アクティブウィンドウのLeft", 5}, {"アクティブウィンドウのRight", 5},
             {"アクティブウィンドウのBottom", 5}, {"アクティブウィンドウのTop", 5}, {"終了時の日付", 1},
             {"CPUの表示", 5}, {"チャイムの鳴らし方", 5}, {"自動表示", 1}, {"メモの表示", 0}, {"無いキー", -42},
             {"アクティブウィンドウのタイトル", 3}}) {
        EXPECT_EQ(o.ReadInt(c.key, c.def), theirs.ReadInt(c.key, c.def)) << "ReadInt " << c.key;
    }
    for (std::string_view key : {"アクティブウィンドウのタイトル", "Aviディレクトリ名", "現在のForm1のTop", "無いキー",
                                 "CPUの表示", "メモの内容", "起動時のTop"}) {
        EXPECT_EQ(o.ReadString(key, "既定"), theirs.ReadString(key, "既定")) << "ReadString " << key;
    }
    EXPECT_EQ(o.ReadString(keys::MemoText).size(), 255u);
}

TEST_F(ProfileDifferential, WritesAgreeAndEachSideReadsTheOthersFile) {
    Start(Initial);
    SettingsFile o = Ours();
    auto both = [&](std::string_view key, std::string_view value) {
        o.WriteValue(key, value);
        theirs.Write(key, value);
    };
    both("起動時のLeft", "-45");            // replace
    both("吹き出しのディレクトリ名", "角丸");   // add to the section
    both("アクティブウィンドウのタイトル", "");  // empty
    both("CPUの表示", "1");                 // the first of two spellings
    both("メモの内容", "予定：１０時 会議");
    both("Aviディレクトリ名", "ソ表ー");       // trail bytes "\" and "["
    both("終了時の日付", "20261208");
    both("終了時の日付", "20261208");      // same text again

    Profile oursThroughSystem{oursPath};
    SettingsFile theirsThroughOurs{files, cp, theirsPath};
    for (std::string_view key : {"起動時のLeft", "吹き出しのディレクトリ名", "アクティブウィンドウのタイトル", "CPUの表示",
                                 "メモの内容", "Aviディレクトリ名", "終了時の日付", "自動表示", "チャイムの鳴らし方"}) {
        std::string expected = theirs.ReadString(key, "既定");
        EXPECT_EQ(o.ReadString(key, "既定"), expected) << key;
        EXPECT_EQ(oursThroughSystem.ReadString(key, "既定"), expected) << key;
        EXPECT_EQ(theirsThroughOurs.ReadString(key, "既定"), expected) << key;
        EXPECT_EQ(o.ReadInt(key, 77), theirs.ReadInt(key, 77)) << key;
    }
    // Other sections stay readable by the system in our file.
    char buffer[256];
    GetPrivateProfileStringA(A("Other").c_str(), A("自動表示").c_str(), "", buffer, sizeof buffer, oursPath.c_str());
    EXPECT_STREQ(buffer, "9");
    GetPrivateProfileStringA("Last", "x", "", buffer, sizeof buffer, oursPath.c_str());
    EXPECT_STREQ(buffer, "1");
    // Ours keeps the comment and the blank lines byte for byte.
    EXPECT_EQ(ReadBytes(oursPath).substr(0, A("; 設定ファイル\r\n[Other]\r\n自動表示=9\r\n\r\n[Morix]\r\n").size()),
              A("; 設定ファイル\r\n[Other]\r\n自動表示=9\r\n\r\n[Morix]\r\n"));
}

TEST_F(ProfileDifferential, MissingFileIsCreatedAlike) {
    DeleteFileA(oursPath.c_str());
    DeleteFileA(theirsPath.c_str());
    SettingsFile o = Ours();
    EXPECT_EQ(o.ReadInt("終了時の日付", 1), theirs.ReadInt("終了時の日付", 1));
    EXPECT_EQ(o.ReadString("Aviディレクトリ名", "Tidewalk"), theirs.ReadString("Aviディレクトリ名", "Tidewalk"));
    o.WriteValue("終了時の日付", "20261208");
    theirs.Write("終了時の日付", "20261208");
    EXPECT_EQ(ReadBytes(oursPath), ReadBytes(theirsPath));
    EXPECT_EQ(o.ReadInt("終了時の日付", 1), 20261208);
}

// A line of a key's name without "=": no value to read (the default), and
// the line a write puts the value on.
TEST_F(ProfileDifferential, KeyLinesWithoutEqualsSign) {
    Start("[Morix]\r\nメモの内容\r\n自動削除\r\nAviディレクトリ名\r\n");
    SettingsFile o = Ours();
    EXPECT_EQ(o.ReadString("メモの内容", "既定"), theirs.ReadString("メモの内容", "既定"));
    EXPECT_EQ(o.ReadString("メモの内容", "既定"), "既定");
    EXPECT_EQ(o.ReadInt("自動削除", 7), theirs.ReadInt("自動削除", 7));
    o.WriteValue("自動削除", "0");
    theirs.Write("自動削除", "0");
    o.WriteValue("Aviディレクトリ名", "");
    theirs.Write("Aviディレクトリ名", "");
    EXPECT_EQ(ReadBytes(oursPath), ReadBytes(theirsPath));
    EXPECT_EQ(o.ReadString("Aviディレクトリ名", "Tidewalk"), theirs.ReadString("Aviディレクトリ名", "Tidewalk"));
}

// ---- where ours differs on purpose ----

TEST_F(ProfileDifferential, CutAtCharacterBoundary) {
    // 130 double-byte characters, 260 bytes: a plain 255-byte cut would end in
    // half of the 128th. Ours stops before it; Wine's conversion does the
    // same, but reports 255 bytes with a NUL as the 255th.
    std::string value = Repeat("あ", 130);
    Start("[Morix]\r\nメモの内容=" + value + "\r\n");
    SettingsFile o = Ours();
    EXPECT_EQ(o.ReadString(keys::MemoText), Repeat("あ", 127));
    EXPECT_EQ(theirs.ReadString("メモの内容", ""), Repeat("あ", 127));
    std::string theirsRaw = theirs.ReadAnsi("メモの内容");
    EXPECT_EQ(theirsRaw, A(Repeat("あ", 127)) + std::string(1, '\0'));
}

TEST_F(ProfileDifferential, DifferenceQuotedValuesKeepTheirQuotes) {
    // The system strips one pair of matching quotes; ours returns what was
    // written, so a memo line that begins and ends with a quote survives.
    Start("[Morix]\r\nメモの内容=\"会議\"\r\n吹き出しのディレクトリ名='Ellip01'\r\n");
    SettingsFile o = Ours();
    EXPECT_EQ(o.ReadString(keys::MemoText), "\"会議\"");
    EXPECT_EQ(theirs.ReadString("メモの内容", ""), "会議");
    EXPECT_EQ(o.ReadString(keys::FrameName), "'Ellip01'");
    EXPECT_EQ(theirs.ReadString("吹き出しのディレクトリ名", ""), "Ellip01");
}

TEST_F(ProfileDifferential, DifferenceNumbersBeyond32BitsDoNotWrap) {
    // The system wraps 4294967301 to 5, which a 16-bit reader would take as
    // valid; ours stays at the 32-bit limit, so the reader reports overflow.
    Start("[Morix]\r\n起動時のLeft=4294967301\r\n");
    SettingsFile o = Ours();
    EXPECT_EQ(o.ReadInt(keys::HomeLeft, 0), 2147483647);
    EXPECT_EQ(theirs.ReadInt("起動時のLeft", 0), 5);
}

TEST_F(ProfileDifferential, FilesWithByteOrderMarkAreReadAlike) {
    for (std::string bom : {std::string("\xEF\xBB\xBF"), std::string()}) {
        std::string contents = bom + "[Morix]\r\nチャイムの鳴らし方=2\r\nAviディレクトリ名=夜の海\r\n";
        WriteBytes(oursPath, contents);
        WriteBytes(theirsPath, contents);
        SettingsFile o = Ours();
        EXPECT_EQ(o.ReadInt(keys::ChimeMode), 2);
        EXPECT_EQ(o.ReadString(keys::DesignName), "夜の海");
        if (!bom.empty()) {
            EXPECT_EQ(theirs.ReadInt("チャイムの鳴らし方", 1), 2);
            EXPECT_EQ(theirs.ReadString("Aviディレクトリ名", ""), "夜の海");
        } else {
            // Difference: without a byte-order mark the system reads UTF-8
            // bytes as CP932 and finds no Japanese key; ours recognises UTF-8.
            EXPECT_EQ(theirs.ReadInt("チャイムの鳴らし方", 1), 1);
        }
    }
    std::u16string text = u"[Morix]\r\nチャイムの鳴らし方=2\r\n";
    std::string utf16 = "\xFF\xFE";
    for (char16_t c : text) utf16 += std::string{static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    WriteBytes(oursPath, utf16);
    WriteBytes(theirsPath, utf16);
    SettingsFile o = Ours();
    EXPECT_EQ(o.ReadInt(keys::ChimeMode), 2);
    EXPECT_EQ(theirs.ReadInt("チャイムの鳴らし方", 1), 2);
    o.WriteValue(keys::ChimeMode, "0");
    theirs.Write("チャイムの鳴らし方", "0");
    EXPECT_EQ(ReadBytes(oursPath).substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(Profile{oursPath}.ReadInt("チャイムの鳴らし方", 1), 0);
    EXPECT_EQ(o.ReadInt(keys::ChimeMode), 0);
}

TEST_F(ProfileDifferential, PrefixedIntegerForms) {
    Start("[Morix]\r\na=0x1F\r\nb=0X1F\r\nc=0b101\r\nd=0o17\r\ne=-0x10\r\nf=0x\r\ng=0xZ\r\nh=00x5\r\ni=+-3\r\nj= - 4\r\n");
    SettingsFile o = Ours();
    for (std::string_view key : {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"})
        EXPECT_EQ(o.ReadInt(key, 99), theirs.ReadInt(key, 99)) << key;
}

// Reads through the copy that the folder's change notification keeps right:
// a write by the system's profile function, as another program would make
// it, is seen within the clock's one-second tick.
TEST_F(ProfileDifferential, CopiedReadsSeeAnOutsideWriteWithinATick) {
    Start(Initial);
    platform::win32::Win32Clock clock;
    SettingsCache cache{clock};
    SettingsFile copied{files, cp, oursPath, &cache};
    ASSERT_EQ(copied.ReadInt(keys::ChimeMode), 7);
    Profile(oursPath).Write("チャイムの鳴らし方", "2");
    const DWORD start = GetTickCount();
    while (copied.ReadInt(keys::ChimeMode) != 2 && GetTickCount() - start < 1000) Sleep(10);
    EXPECT_EQ(copied.ReadInt(keys::ChimeMode), 2);
}

}  // namespace
}  // namespace morix
