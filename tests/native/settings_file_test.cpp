// The settings file over real files in a temporary program folder.
#include "base/RuntimeError.h"
#include "platform/posix/PosixCodePage.h"
#include "platform/posix/PosixFiles.h"
#include "settings/SettingsCache.h"
#include "settings/SettingsFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include "tests/fake/FakeSystem.h"
#include "tests/fake/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace morix {
namespace {

class SettingsTest : public ::testing::Test {
protected:
    std::string A(std::string_view utf8) const { return cp.ToAnsi(utf8); }
    void Ini(std::string_view bytes) { dir.Write("Morix.ini", bytes); }
    std::string IniBytes() const { return dir.Read("Morix.ini"); }
    // A file of section Morix holding the given (UTF-8) lines, in CP932.
    void MorixLines(std::string_view utf8Lines) { Ini(A("[Morix]\r\n" + std::string(utf8Lines))); }

    test::TempFolder dir;
    platform::PosixCodePage cp;
    test::FakeFiles files;
    SettingsFile settings{files, cp, dir.ProgramPath() + "\\Morix.ini"};
};

// ---- reading integers ----

TEST_F(SettingsTest, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(settings.ReadInt(keys::ExitDate), 1);
    Ini(A("[Other]\r\nチャイムの鳴らし方=2\r\n"));
    EXPECT_EQ(settings.ReadInt(keys::ChimeMode), 1);
    MorixLines("自動表示=2\r\n");
    EXPECT_EQ(settings.ReadInt(keys::ChimeMode), 1);
    EXPECT_EQ(settings.ReadInt(keys::AutoShowMemo), 2);
    EXPECT_EQ(files.writes, 0);
}

TEST_F(SettingsTest, IntegerForms) {
    MorixLines(
        "a=\r\n"        // empty: default
        "b=   \r\n"     // only spaces: default
        "c=-120\r\n"
        "d=  42  \r\n"
        "e=12abc\r\n"   // stops at the first other character
        "f=abc\r\n"     // no digit first: 0
        "g=+7\r\n"
        "h=0x10\r\n"    // prefixed forms, as the system's reader takes them
        "i=1 000\r\n"
        "j=-\r\n"
        "k=007\r\n");
    EXPECT_EQ(settings.ReadInt("a", 99), 99);
    EXPECT_EQ(settings.ReadInt("b", 99), 99);
    EXPECT_EQ(settings.ReadInt("c", 99), -120);
    EXPECT_EQ(settings.ReadInt("d", 99), 42);
    EXPECT_EQ(settings.ReadInt("e", 99), 12);
    EXPECT_EQ(settings.ReadInt("f", 99), 0);
    EXPECT_EQ(settings.ReadInt("g", 99), 7);
    EXPECT_EQ(settings.ReadInt("h", 99), 16);
    EXPECT_EQ(settings.ReadInt("i", 99), 1);
    EXPECT_EQ(settings.ReadInt("j", 99), 0);
    EXPECT_EQ(settings.ReadInt("k", 99), 7);
}

TEST_F(SettingsTest, ValuesBeyond16BitsOverflowTheir16BitReader) {
    MorixLines("起動時のLeft=32768\r\n起動時のTop=-32769\r\n現在のForm1のLeft=-32768\r\n");
    try {
        ToInt16(settings.ReadInt(keys::HomeLeft, 0));
        FAIL() << "no overflow";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), err::Overflow);
        EXPECT_EQ(e.Description(), "オーバーフローしました。");
    }
    EXPECT_THROW(ToInt16(settings.ReadInt(keys::HomeTop, 0)), RuntimeError);
    EXPECT_EQ(ToInt16(settings.ReadInt(keys::CurrentLeft)), -32768);
}

TEST_F(SettingsTest, ValuesBeyond32BitsStayAtTheLimitInsteadOfWrapping) {
    // 4294967301 would wrap to 5 and pass any 16-bit check unnoticed.
    MorixLines("a=4294967301\r\nb=-4294967301\r\nc=99999999999999999999999\r\n");
    EXPECT_EQ(settings.ReadInt("a", 0), 2147483647);
    EXPECT_EQ(settings.ReadInt("b", 0), -2147483647 - 1);
    EXPECT_EQ(settings.ReadInt("c", 0), 2147483647);
    EXPECT_THROW(ToInt16(settings.ReadInt("a", 0)), RuntimeError);
}

// ---- reading text ----

TEST_F(SettingsTest, TextMissingEmptyAndTrimmed) {
    MorixLines("Aviディレクトリ名=\r\nチャイムファイル名=   bell 2.mid \t\r\n");
    EXPECT_EQ(settings.ReadString(keys::DesignName), "");  // empty is not the default
    EXPECT_EQ(settings.ReadString(keys::ChimeFile), "bell 2.mid");
    EXPECT_EQ(settings.ReadString(keys::FrameName), "Ellip01");
}

TEST_F(SettingsTest, DoubleByteNamesAndValuesRoundTrip) {
    // "ソ" and "表" have "\" as their trail byte, "ー" has "[".
    const std::string name = "ソ表ーデザイン［夜］";
    settings.WriteValue(keys::DesignName, name);
    EXPECT_EQ(settings.ReadString(keys::DesignName), name);
    EXPECT_EQ(IniBytes(), A("[Morix]\r\nAviディレクトリ名=" + name + "\r\n"));
}

TEST_F(SettingsTest, LongTextIsWrittenWholeAndReadCutTo255Bytes) {
    std::string memo(300, 'x');
    settings.WriteValue(keys::MemoText, memo);
    EXPECT_NE(IniBytes().find(memo), std::string::npos);
    EXPECT_EQ(settings.ReadString(keys::MemoText), std::string(255, 'x'));
}

TEST_F(SettingsTest, CutNeverSplitsADoubleByteCharacter) {
    // 1 + 127 double-byte characters fill 255 bytes exactly; 130 alone would
    // be cut inside the 128th, so the read stops at 254.
    std::string memo = "a";
    for (int i = 0; i < 130; ++i) memo += "あ";
    settings.WriteValue(keys::MemoText, memo);
    std::string read = settings.ReadString(keys::MemoText);
    std::string expected = "a";
    for (int i = 0; i < 127; ++i) expected += "あ";
    EXPECT_EQ(read, expected);
    EXPECT_EQ(A(read).size(), 255u);

    std::string even;
    for (int i = 0; i < 130; ++i) even += "あ";
    settings.WriteValue(keys::MemoText, even);
    EXPECT_EQ(A(settings.ReadString(keys::MemoText)).size(), 254u);
}

TEST_F(SettingsTest, TruncatedDoubleByteCharacterAtTheEndIsDropped) {
    Ini("[Morix]\r\n" + A("メモの内容") + "=" + A("メモ") + "\x82\r\n");
    EXPECT_EQ(settings.ReadString(keys::MemoText), "メモ");
}

// ---- finding sections and keys ----

TEST_F(SettingsTest, NamesMatchIgnoringAsciiCaseAndSurroundingSpaces) {
    Ini(A("  [ morix ]  \r\n  cpuの表示  =  0\r\n") + A("アクティブウィンドウのhdc") + "=448\r\n");
    EXPECT_EQ(settings.ReadInt(keys::ShowCpu), 0);
    EXPECT_EQ(settings.ReadInt(keys::ActiveHandle), 448);
}

TEST_F(SettingsTest, TrailBytesAreNotCaseFolded) {
    // "ア" is 83 41; 83 61 is another katakana, not a lower-case "ア".
    ASSERT_EQ(A("ア"), "\x83\x41");
    Ini("[Morix]\r\n\x83\x61=1\r\n");
    EXPECT_EQ(settings.ReadInt("ア", 5), 5);
    Ini("[Morix]\r\n\x83\x41=1\r\n");
    EXPECT_EQ(settings.ReadInt("ア", 5), 1);
}

TEST_F(SettingsTest, BracketAsTrailByteDoesNotCloseASectionName) {
    // "ゾ" is 83 5D: its trail byte is "]". "[ゾ" has no closing bracket, so it
    // is no section header and the section goes on.
    ASSERT_EQ(A("ゾ"), "\x83]");
    MorixLines("[ゾ\r\nメモの表示=1\r\n");
    EXPECT_EQ(settings.ReadInt(keys::ShowMemo), 1);
    MorixLines("[ゾ]\r\nメモの表示=1\r\n");
    EXPECT_EQ(settings.ReadInt(keys::ShowMemo), 0);
}

TEST_F(SettingsTest, FirstSectionAndFirstKeyCount) {
    MorixLines("自動表示=2\r\n自動表示=0\r\n[Other]\r\n自動削除=0\r\n[Morix]\r\n自動削除=0\r\n自動表示=0\r\n");
    EXPECT_EQ(settings.ReadInt(keys::AutoShowMemo), 2);
    // As with the profile functions, a repeated section is not searched.
    EXPECT_EQ(settings.ReadInt(keys::AutoDeleteMemos), 1);
}

TEST_F(SettingsTest, CommentsAndLinesWithoutEqualsSign) {
    MorixLines(";自動表示=0\r\n自動削除\r\nメモの内容\r\n");
    EXPECT_EQ(settings.ReadInt(keys::AutoShowMemo), 1);
    EXPECT_EQ(settings.ReadInt(keys::AutoDeleteMemos), 1);  // no value: the default
    // As the system reads it: a name with no "=" holds no value, so the default.
    EXPECT_EQ(settings.ReadString(keys::MemoText), "メモをお書きください...");
    // A write puts the value on that line, as the system's writer does.
    settings.WriteValue(keys::MemoText, "");
    EXPECT_EQ(settings.ReadString(keys::MemoText), "");
    EXPECT_EQ(IniBytes(), A("[Morix]\r\n;自動表示=0\r\n自動削除\r\nメモの内容=\r\n"));
}

TEST_F(SettingsTest, LfLineEndsAreRead) {
    Ini(A("[Morix]\n自動表示=2\n自動削除=0"));
    EXPECT_EQ(settings.ReadInt(keys::AutoShowMemo), 2);
    EXPECT_EQ(settings.ReadInt(keys::AutoDeleteMemos), 0);
}

// ---- writing ----

TEST_F(SettingsTest, FirstWriteCreatesFileAndSection) {
    settings.WriteValue(keys::ExitDate, "20261208");
    EXPECT_EQ(IniBytes(), A("[Morix]\r\n終了時の日付=20261208\r\n"));
    EXPECT_EQ(settings.ReadInt(keys::ExitDate), 20261208);
}

TEST_F(SettingsTest, WriteKeepsEveryOtherByte) {
    const std::string before = A(
        "; 設定\n"
        "[Other]\r\n"
        "  key = value  \r\n"
        "\r\n"
        "[MORIX]\r\n"
        "  自動表示 = 2 ; not a comment\r\n"
        "Foo=Bar\r\n"
        "\r\n"
        "[Last]\n"
        "x=1");
    Ini(before);
    settings.WriteValue(keys::AutoShowMemo, "0");
    settings.WriteValue(keys::MemoText, "新しい");
    EXPECT_EQ(IniBytes(), A(
        "; 設定\n"
        "[Other]\r\n"
        "  key = value  \r\n"
        "\r\n"
        "[MORIX]\r\n"
        "  自動表示=0\r\n"
        "Foo=Bar\r\n"
        "メモの内容=新しい\r\n"
        "\r\n"
        "[Last]\n"
        "x=1"));
}

TEST_F(SettingsTest, NewKeyAfterUnterminatedLastLine) {
    Ini(A("[Morix]\r\n自動表示=2"));
    settings.WriteValue(keys::AutoDeleteMemos, "0");
    EXPECT_EQ(IniBytes(), A("[Morix]\r\n自動表示=2\r\n自動削除=0\r\n"));
    Ini("[Other]\r\nx=1");
    settings.WriteValue(keys::AutoDeleteMemos, "1");
    EXPECT_EQ(IniBytes(), A("[Other]\r\nx=1\r\n[Morix]\r\n自動削除=1\r\n"));
}

TEST_F(SettingsTest, EmptyWriteLeavesTheKeyWithAnEmptyValue) {
    settings.WriteValue(keys::FollowSizeRule, "2");
    settings.WriteValue(keys::FollowSizeRule, "");
    EXPECT_EQ(IniBytes(), A("[Morix]\r\n移動を許可するウインドウサイズ=\r\n"));
    EXPECT_EQ(settings.ReadInt(keys::FollowSizeRule), 1);
    settings.WriteValue(keys::ChimeFile, "");
    EXPECT_EQ(settings.ReadString(keys::ChimeFile), "");
}

TEST_F(SettingsTest, NegativePositionKeepsItsSign) {
    settings.WriteValue(keys::HomeLeft, "-300");
    EXPECT_EQ(settings.ReadInt(keys::HomeLeft, 0), -300);
}

TEST_F(SettingsTest, SameTextIsNotWrittenAgain) {
    settings.WriteValue(keys::CurrentLeft, "1200");
    ASSERT_EQ(files.writes, 1);
    struct stat before{};
    ::stat(dir.File("Morix.ini").c_str(), &before);
    for (int i = 0; i < 60; ++i) settings.WriteValue(keys::CurrentLeft, "1200");
    EXPECT_EQ(files.writes, 1);
    struct stat after{};
    ::stat(dir.File("Morix.ini").c_str(), &after);
    EXPECT_EQ(before.st_ino, after.st_ino);
    settings.WriteValue(keys::CurrentLeft, "1215");
    EXPECT_EQ(files.writes, 2);
    // An empty value over an empty value is the same text too.
    settings.WriteValue(keys::ActiveTitle, "");
    settings.WriteValue(keys::ActiveTitle, "");
    EXPECT_EQ(files.writes, 3);
}

TEST_F(SettingsTest, LineBreaksInAValueCannotAddKeys) {
    settings.WriteValue(keys::MemoText, "a\r\n[Morix]\r\n自動削除=0");
    EXPECT_EQ(settings.ReadInt(keys::AutoDeleteMemos), 1);
    EXPECT_EQ(settings.ReadString(keys::MemoText), "a  [Morix]  自動削除=0");
}

TEST_F(SettingsTest, FailedWriteIsSilentAndTheNextReadSeesTheFile) {
    SettingsFile nowhere{files, cp, dir.ProgramPath() + "\\missing folder\\Morix.ini"};
    EXPECT_NO_THROW(nowhere.WriteValue(keys::ExitDate, "20261208"));
    EXPECT_EQ(nowhere.ReadInt(keys::ExitDate), 1);
    // A settings path that is a folder: nothing readable, nothing replaced.
    std::filesystem::create_directory(dir.Path() / "Folder.ini");
    SettingsFile folder{files, cp, dir.ProgramPath() + "\\Folder.ini"};
    EXPECT_NO_THROW(folder.WriteValue(keys::ExitDate, "20261208"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "Folder.ini"));
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "Folder.ini.new"));
}

TEST_F(SettingsTest, CharactersOutsideCp932BecomeQuestionMarks) {
    settings.WriteValue(keys::MemoText, "猫🐱é");
    EXPECT_EQ(settings.ReadString(keys::MemoText), "猫??");
}

// ---- encodings ----

TEST_F(SettingsTest, Cp932FileStaysCp932) {
    MorixLines("メモの内容=古い\r\n");
    settings.WriteValue(keys::MemoText, "新しい");
    EXPECT_EQ(IniBytes(), A("[Morix]\r\nメモの内容=新しい\r\n"));
}

TEST_F(SettingsTest, Utf8FilesAreReadAndWrittenBackAsUtf8) {
    for (std::string bom : {std::string(), std::string("\xEF\xBB\xBF")}) {
        Ini(bom + "[Morix]\r\nAviディレクトリ名=夜の海\r\n");
        EXPECT_EQ(settings.ReadString(keys::DesignName), "夜の海");
        settings.WriteValue(keys::FrameName, "角丸");
        EXPECT_EQ(IniBytes(), bom + "[Morix]\r\nAviディレクトリ名=夜の海\r\n吹き出しのディレクトリ名=角丸\r\n");
        // UTF-8 can hold what CP932 cannot.
        settings.WriteValue(keys::MemoText, "猫🐱");
        EXPECT_EQ(settings.ReadString(keys::MemoText), "猫🐱");
    }
}

std::string Utf16Le(std::u16string_view s) {
    std::string out = "\xFF\xFE";
    for (char16_t c : s) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    return out;
}

TEST_F(SettingsTest, Utf16FileIsReadAndWrittenBackAsUtf16) {
    Ini(Utf16Le(u"[Morix]\r\nチャイムの鳴らし方=2\r\n; \xD83D\xDE00 and a lone \xD800 surrogate\r\n"));
    EXPECT_EQ(settings.ReadInt(keys::ChimeMode), 2);
    settings.WriteValue(keys::ChimeMode, "0");
    EXPECT_EQ(IniBytes(), Utf16Le(u"[Morix]\r\nチャイムの鳴らし方=0\r\n; \xD83D\xDE00 and a lone \xD800 surrogate\r\n"));
}

TEST_F(SettingsTest, TextLimitInUtf8FileCountsAnsiBytes) {
    std::string memo;
    for (int i = 0; i < 200; ++i) memo += "あ";
    Ini("\xEF\xBB\xBF[Morix]\r\nメモの内容=" + memo + "\r\n");
    EXPECT_EQ(A(settings.ReadString(keys::MemoText)).size(), 254u);
}

// ---- damaged files ----

TEST_F(SettingsTest, GarbageNulsAndHugeFilesNeverCrashOrLoseTheFile) {
    std::string garbage;
    unsigned seed = 12345;
    for (int i = 0; i < 65536; ++i) {
        seed = seed * 1103515245 + 12345;
        garbage += static_cast<char>(seed >> 16);
    }
    garbage += std::string("\0\0[Morix]\r\n", 11);
    Ini(garbage);
    EXPECT_NO_THROW(settings.ReadString(keys::MemoText));
    settings.WriteValue(keys::ExitDate, "20261208");
    EXPECT_EQ(settings.ReadInt(keys::ExitDate), 20261208);
    EXPECT_EQ(IniBytes().substr(0, garbage.size()), garbage);

    std::string huge = A("[Morix]\r\n") + std::string(100000, 'v') + "\r\n";
    for (int i = 0; huge.size() < 10'000'000; ++i) huge += "k" + std::to_string(i) + "=1\r\n";
    Ini(huge);
    settings.WriteValue(keys::ChimeMode, "2");
    EXPECT_EQ(settings.ReadInt(keys::ChimeMode), 2);
    EXPECT_EQ(IniBytes().substr(0, huge.size()), huge);
}

TEST_F(SettingsTest, HugeValueLineIsCut) {
    Ini(A("[Morix]\r\nメモの内容=") + std::string(100000, 'm') + "\r\n");
    EXPECT_EQ(settings.ReadString(keys::MemoText).size(), 255u);
}

}  // namespace
}  // namespace morix

namespace morix {
namespace {

// The copy of the file's bytes: unchanged files are not read again, a
// change from outside is seen by the next read, our writes update the copy.
TEST(SettingsCache, ReadsOnlyWhatChanged) {
    test::TempFolder dir;
    platform::PosixCodePage cp;
    test::FakeFiles files;
    test::FakeClock clock;
    SettingsCache cache{clock};
    SettingsFile settings{files, cp, dir.ProgramPath() + "\\Morix.ini", &cache};
    SettingsFile outside{files, cp, dir.ProgramPath() + "\\Morix.ini"};
    settings.WriteValue(keys::ChimeMode, "2");
    const int reads = files.reads;
    for (int i = 0; i < 5; ++i) EXPECT_EQ(settings.ReadInt(keys::ChimeMode), 2);
    EXPECT_EQ(files.reads, reads) << "our own write is the copy";
    outside.WriteValue(keys::ChimeMode, "0");
    EXPECT_EQ(settings.ReadInt(keys::ChimeMode), 0);
    EXPECT_EQ(files.reads, reads + 2) << "outside's write read the file once, ours once";
    // Edited in place, same size: the write time tells.
    std::string bytes = dir.Read("Morix.ini");
    bytes.replace(bytes.find("=0"), 2, "=1");
    struct stat st{};
    ::stat(dir.File("Morix.ini").c_str(), &st);
    dir.Write("Morix.ini", bytes);
    timespec times[2] = {st.st_atim, {st.st_mtim.tv_sec + 1, st.st_mtim.tv_nsec}};
    ::utimensat(AT_FDCWD, dir.File("Morix.ini").c_str(), times, 0);
    EXPECT_EQ(settings.ReadInt(keys::ChimeMode), 1);
    std::filesystem::remove(dir.File("Morix.ini"));
    EXPECT_EQ(settings.ReadInt(keys::ChimeMode), 1) << "gone: the default";
}

}  // namespace
}  // namespace morix

namespace morix {
namespace {

// The copy of a file in a folder whose watch never fires (some network
// shares), or one whose watch does.
struct QuietFolder {
    explicit QuietFolder(bool silent = true) { files.silentWatch = silent; }
    void EditOutside(std::string_view utf8) { dir.Write("Morix.ini", cp.ToAnsi(utf8)); }
    test::TempFolder dir;
    platform::PosixCodePage cp;
    test::FakeFiles files;
    test::FakeClock clock;
    SettingsCache cache{clock};
    SettingsFile settings{files, cp, dir.ProgramPath() + "\\Morix.ini", &cache};
};

// Unreported, an outside edit (a value changed, a key added) is seen once
// the stamp check is due, three seconds after the last, and not a stamp is
// taken before.
TEST(SettingsCache, AWatchThatNeverFiresIsBoundedByTheStampCheck) {
    struct Row {
        std::uint64_t afterMs;
        bool seen;
    };
    for (const Row row : {Row{0, false}, Row{1000, false}, Row{2999, false}, Row{3000, true}, Row{7000, true}}) {
        QuietFolder f;
        f.settings.WriteValue(keys::ChimeMode, "2");
        f.EditOutside("[Morix]\r\nチャイムの鳴らし方=10\r\nメモの表示=1\r\n");
        const int stamps = f.files.stamps;
        f.clock.tickCountMs += row.afterMs;
        const std::string after = std::to_string(row.afterMs) + " ms after";
        EXPECT_EQ(f.settings.ReadInt(keys::ChimeMode), row.seen ? 10 : 2) << after;
        EXPECT_EQ(f.settings.ReadInt(keys::ShowMemo), row.seen ? 1 : 0) << after;
        EXPECT_EQ(f.files.stamps, stamps + (row.seen ? 1 : 0)) << after;
    }
}

// Our write right after an outside edit, before the check was due, keeps
// what the edit put there.
TEST(SettingsCache, OurWriteAfterAnOutsideEditKeepsItsKeys) {
    for (const bool silent : {true, false}) {
        QuietFolder f(silent);
        f.settings.WriteValue(keys::ChimeMode, "2");
        f.EditOutside("[Morix]\r\nチャイムの鳴らし方=0\r\n外のキー=残る\r\n");
        f.settings.WriteValue(keys::DesignName, "Lantern");
        EXPECT_EQ(f.dir.Read("Morix.ini"), f.cp.ToAnsi("[Morix]\r\nチャイムの鳴らし方=0\r\n外のキー=残る\r\nAviディレクトリ名=Lantern\r\n"))
            << (silent ? "a watch that never fires" : "a watch that fires");
    }
}

// A drive's root is watched with its separator: "E:" alone is the drive's
// current folder.
TEST(SettingsCache, TheWatchIsOnTheFolderThatHoldsTheFile) {
    const std::pair<const char*, const char*> rows[] = {{"E:\\Morix.ini", "E:\\"}, {"C:\\Morix\\Morix.ini", "C:\\Morix"}};
    for (const auto& [file, folder] : rows) {
        QuietFolder f;
        f.cache.Read(f.files, file);
        EXPECT_EQ(f.files.watched, std::vector<std::string>{folder}) << file;
    }
}

}  // namespace
}  // namespace morix
