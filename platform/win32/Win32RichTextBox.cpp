#include "platform/win32/Win32RichTextBox.h"

#include "base/RuntimeError.h"
#include "base/Utf8.h"
#include "platform/FileErrors.h"
#include "platform/HeldFile.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Win32Files.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <memory>
#include <stdexcept>

namespace morix::platform::win32 {

namespace {

// The text as the control holds it: each "\r\n" one paragraph break "\r".
// None for a text with a lone "\r" or "\n", which the control may count
// otherwise.
std::optional<std::wstring> AsParagraphs(const std::wstring& text) {
    std::wstring paragraphs;
    paragraphs.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\n') return std::nullopt;
        if (text[i] == L'\r') {
            if (i + 1 == text.size() || text[i + 1] != L'\n') return std::nullopt;
            ++i;  // the pair is one break
        }
        paragraphs += text[i] == L'\n' ? L'\r' : text[i];
    }
    return paragraphs;
}

// ERROR_DISK_QUOTA_EXCEEDED, which not every SDK's headers name.
constexpr DWORD DiskQuotaExceeded = 1295;

struct RichEditLibrary {
    UniqueModule module;
    const wchar_t* className = nullptr;
};

RichEditLibrary LoadRichEdit() {
    RichEditLibrary library;
    library.module.Reset(LoadLibraryW(L"Msftedit.dll"));
    if (library.module) {
        library.className = L"RICHEDIT50W";
        return library;
    }
    library.module.Reset(LoadLibraryW(L"Riched20.dll"));
    if (library.module) library.className = L"RichEdit20W";
    return library;
}

// Bytes streamed into the control.
struct InSource {
    const char* data;
    std::size_t size;
    std::size_t done = 0;
};

// A file this short is laid out again in a fraction of a millisecond,
// less than raising the scroll bars first takes.
constexpr std::size_t ShortFileBytes = 4096;

DWORD CALLBACK ReadIn(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
    auto* source = reinterpret_cast<InSource*>(cookie);
    const std::size_t n = std::min<std::size_t>(source->size - source->done, static_cast<std::size_t>(wanted));
    std::memcpy(buffer, source->data + source->done, n);
    source->done += n;
    *given = static_cast<LONG>(n);
    return 0;
}

// UTF-16 text streamed into the control, whose reading splits a CR from the
// LF after it into two line breaks when one of its reads ends between them:
// a read never ends there.
DWORD CALLBACK ReadInText(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
    auto* source = reinterpret_cast<InSource*>(cookie);
    const auto* text = reinterpret_cast<const wchar_t*>(source->data);
    const std::size_t done = source->done / sizeof(wchar_t), size = source->size / sizeof(wchar_t);
    std::size_t n = std::min(size - done, static_cast<std::size_t>(wanted) / sizeof(wchar_t));
    if (n > 1 && done + n < size && text[done + n - 1] == L'\r' && text[done + n] == L'\n') --n;
    std::memcpy(buffer, text + done, n * sizeof(wchar_t));
    source->done += n * sizeof(wchar_t);
    *given = static_cast<LONG>(n * sizeof(wchar_t));
    return 0;
}

// Where the piece of a text that begins at `from` ends: after the first line
// break at least `length` characters on, a CR and its LF kept together.
std::size_t PieceEnd(const std::wstring& text, std::size_t from, std::size_t length) {
    for (std::size_t at = from + length - 1; at < text.size(); ++at) {
        if (text[at] == L'\n') return at + 1;
        if (text[at] == L'\r') return at + 1 < text.size() && text[at + 1] == L'\n' ? at + 2 : at + 1;
    }
    return text.size();
}

DWORD CALLBACK WriteOut(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* taken) {
    reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buffer),
                                                   static_cast<std::size_t>(count));
    *taken = count;
    return 0;
}

bool StartsWith(const std::string& bytes, std::string_view magic) {
    return bytes.size() >= magic.size() && bytes.compare(0, magic.size(), magic) == 0;
}

// The plain text of a file that is no RTF: marked UTF-8 or UTF-16, unmarked
// UTF-8, else the Japanese ANSI code page the memos were written in.
std::wstring PlainText(const std::string& bytes) {
    auto decode = [](UINT codePage, const char* data, std::size_t size) {
        std::wstring out;
        if (size == 0) return out;
        const int n = MultiByteToWideChar(codePage, 0, data, static_cast<int>(size), nullptr, 0);
        out.resize(static_cast<std::size_t>(n > 0 ? n : 0));
        if (n > 0) MultiByteToWideChar(codePage, 0, data, static_cast<int>(size), out.data(), n);
        return out;
    };
    if (StartsWith(bytes, "\xEF\xBB\xBF")) return decode(CP_UTF8, bytes.data() + 3, bytes.size() - 3);
    if (StartsWith(bytes, "\xFF\xFE")) {
        std::wstring out((bytes.size() - 2) / 2, L'\0');
        std::memcpy(out.data(), bytes.data() + 2, out.size() * sizeof(wchar_t));
        return out;
    }
    if (StartsWith(bytes, "\xFE\xFF")) {
        std::wstring out((bytes.size() - 2) / 2, L'\0');
        for (std::size_t i = 0; i < out.size(); ++i)
            out[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[2 + 2 * i]) << 8 |
                                          static_cast<unsigned char>(bytes[3 + 2 * i]));
        return out;
    }
    // Unmarked UTF-8 (as editors save it today) is told from the code page
    // by its sequences, which Japanese text in code page 932 practically
    // never forms.
    if (IsUtf8Text(bytes)) return decode(CP_UTF8, bytes.data(), bytes.size());
    return decode(932, bytes.data(), bytes.size());
}

// The system's text for an error code, without its line break.
struct LocalFreeDeleter {
    void operator()(wchar_t* p) const { LocalFree(p); }
};

std::string SystemReason(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    const std::unique_ptr<wchar_t, LocalFreeDeleter> owned(text);
    std::wstring reason = n > 0 && text != nullptr ? std::wstring(text, n) : std::wstring();
    while (!reason.empty() && (reason.back() == L'\r' || reason.back() == L'\n' || reason.back() == L' '))
        reason.pop_back();
    if (reason.empty()) reason = L"error " + std::to_wstring(error);
    return Narrow(reason);
}

[[noreturn]] void RaiseSaveError(std::string_view path, DWORD error) {
    Raise(SaveErrorNumber(error), std::string(path) + ": " + SystemReason(error));
}

// Writes `bytes` to `path` so that every reader sees the old file or the new
// one whole; raises the save errors.
void ReplaceFile(std::string_view path, const std::string& bytes) {
    const std::wstring target = Widen(path);
    // Replacing a read-only file or a folder would go through on some file
    // systems (a rename ignores the file's own read-only mark): refused here
    // as the system refuses it on Windows.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0)
        RaiseSaveError(path, ERROR_ACCESS_DENIED);

    const std::wstring temporary = target + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    DWORD error = WriteFlushedFile(temporary, bytes);
    if (error == ERROR_SUCCESS) {
        // A memo held for a moment by another program is renamed over once
        // it lets go; the new text waits beside it meanwhile.
        Win32Clock clock;
        RetryWhileHeld(clock, [&] {
            if (MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
                error = ERROR_SUCCESS;
                return ReplaceResult::Done;
            }
            error = GetLastError();
            return IsHeldFileError(error) ? ReplaceResult::Held : ReplaceResult::Failed;
        });
    }
    if (error == ERROR_SUCCESS) return;
    DeleteFileW(temporary.c_str());
    RaiseSaveError(path, error);
}

}  // namespace

int SaveErrorNumber(DWORD systemError) {
    switch (systemError) {
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME: return err::PathNotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
    case ERROR_USER_MAPPED_FILE:
    case ERROR_FILE_READ_ONLY: return err::PathFileAccess;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case DiskQuotaExceeded: return err::DiskFull;
    default: return err::DeviceIo;
    }
}

const wchar_t* Win32RichTextBox::ClassName() {
    // Loaded once and kept for the life of the process: every box is a
    // window of its class.
    static const RichEditLibrary library = LoadRichEdit();
    if (library.className == nullptr) throw std::runtime_error("neither Msftedit.dll nor Riched20.dll loads");
    return library.className;
}

Win32RichTextBox::Win32RichTextBox(Win32Window& window, HWND parent, const ControlSpec& request, EventRunner run)
    : ChildControlOf(window, parent, request, run) {
    child_.Create(ClassName(),
                  ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL | WS_HSCROLL |
                      WS_TABSTOP | WS_GROUP,
                  WS_EX_CLIENTEDGE);
    // No limit but memory, instead of the 32767 characters of typing.
    SendMessageW(Hwnd(), EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
    // The horizontal scroll bar would stop the wrapping: lines wrap at the
    // box's own width until a right margin is set.
    SendMessageW(Hwnd(), EM_SETTARGETDEVICE, 0, 0);
    // The caption asked for is its first text.
    SetText(request.caption);
}

Win32RichTextBox::~Win32RichTextBox() {
    // The control holds the target DC: it goes after the control.
    child_.Destroy();
}

void Win32RichTextBox::SetFont(const FontSpec& font) {
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_FACE | CFM_SIZE | CFM_CHARSET;
    format.yHeight = font.points * 20;  // twips
    format.bCharSet = font.japaneseCharset ? SHIFTJIS_CHARSET : DEFAULT_CHARSET;
    const std::wstring face = Widen(font.face);
    wcsncpy(format.szFaceName, face.c_str(), LF_FACESIZE - 1);
    SendMessageW(Hwnd(), EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    SendMessageW(Hwnd(), EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
}

void Win32RichTextBox::StreamInRtf(const std::string& rtf) {
    InSource source{rtf.data(), rtf.size()};
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    stream.pfnCallback = &ReadIn;
    SendMessageW(Hwnd(), EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
}

void Win32RichTextBox::StreamInText(std::wstring_view text, UINT selection) {
    InSource source{reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t)};
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    stream.pfnCallback = &ReadInText;
    SendMessageW(Hwnd(), EM_STREAMIN, SF_TEXT | SF_UNICODE | selection, reinterpret_cast<LPARAM>(&stream));
}

void Win32RichTextBox::StreamInLines(const std::wstring& text) {
    // Wine's control takes a long text well over twice as fast in pieces of
    // a few thousand characters, each added at the end, as in one stream
    // (bench/large-memo.sh). A piece ends with a line: a long line still
    // goes in whole, as splitting it makes the control lay it out again for
    // every piece.
    constexpr std::size_t PieceLength = 4096;
    std::size_t end = PieceEnd(text, 0, PieceLength);
    StreamInText(std::wstring_view(text).substr(0, end), 0);  // replaces everything, as one stream does
    while (end < text.size()) {
        const std::size_t from = end;
        end = PieceEnd(text, from, PieceLength);
        SendMessageW(Hwnd(), EM_SETSEL, -1, -1);
        StreamInText(std::wstring_view(text).substr(from, end - from), SFF_SELECTION);
    }
    SendMessageW(Hwnd(), EM_SETSEL, 0, 0);
}

void Win32RichTextBox::SetText(std::string_view text) {
    // Streamed as text: a text that begins like RTF stays text.
    const std::wstring wide = Widen(text);
    StreamInText(wide, 0);
    SendMessageW(Hwnd(), EM_SETMODIFY, FALSE, 0);
    shown_ = AsParagraphs(wide);
}

void Win32RichTextBox::UpdateText(std::string_view text) {
    std::optional<std::wstring> next = AsParagraphs(Widen(text));
    if (!next || !shown_ || Modified()) {
        SetText(text);
        return;
    }
    const std::wstring& now = *shown_;
    const std::size_t shorter = std::min(now.size(), next->size());
    std::size_t head = 0;
    while (head < shorter && now[head] == (*next)[head]) ++head;
    if (head == now.size() && head == next->size()) return;
    std::size_t tail = 0;
    while (tail < shorter - head && now[now.size() - 1 - tail] == (*next)[next->size() - 1 - tail]) ++tail;
    // A character of two UTF-16 units is replaced whole.
    if (head > 0 && IS_HIGH_SURROGATE(now[head - 1])) --head;
    if (tail > 0 && IS_LOW_SURROGATE(now[now.size() - tail])) --tail;
    const std::wstring middle = next->substr(head, next->size() - tail - head);
    SendMessageW(Hwnd(), EM_SETSEL, head, now.size() - tail);
    SendMessageW(Hwnd(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(middle.c_str()));
    // The caret back at the start, where a whole new text leaves it.
    SendMessageW(Hwnd(), EM_SETSEL, 0, 0);
    SendMessageW(Hwnd(), EM_SETMODIFY, FALSE, 0);
    shown_ = std::move(next);
}

bool Win32RichTextBox::Modified() const { return SendMessageW(Hwnd(), EM_GETMODIFY, 0, 0) != 0; }

std::string Win32RichTextBox::Text() const {
    GETTEXTLENGTHEX length{};
    length.flags = GTL_USECRLF | GTL_PRECISE | GTL_NUMCHARS;
    length.codepage = 1200;  // UTF-16
    const LRESULT n = SendMessageW(Hwnd(), EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
    if (n <= 0) return {};
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
    GETTEXTEX get{};
    get.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    get.flags = GT_USECRLF;
    get.codepage = 1200;
    const LRESULT got =
        SendMessageW(Hwnd(), EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return Narrow(text);
}

void Win32RichTextBox::SetReadOnly(bool readOnly) { SendMessageW(Hwnd(), EM_SETREADONLY, readOnly, 0); }

bool Win32RichTextBox::TakesTyping() const {
    return (SendMessageW(Hwnd(), EM_GETOPTIONS, 0, 0) & ECO_READONLY) == 0;
}

void Win32RichTextBox::SetRightMargin(int pixels) {
    if (pixels <= 0) {
        SendMessageW(Hwnd(), EM_SETTARGETDEVICE, 0, 0);
        return;
    }
    // The control keeps the DC and measures with it from now on.
    if (!targetDevice_) targetDevice_.Reset(CreateCompatibleDC(nullptr));
    int dotsPerInch = targetDevice_ ? GetDeviceCaps(targetDevice_.Get(), LOGPIXELSX) : 0;
    if (dotsPerInch <= 0) dotsPerInch = 96;
    const int twips = MulDiv(pixels, 1440, dotsPerInch);
    SendMessageW(Hwnd(), EM_SETTARGETDEVICE, reinterpret_cast<WPARAM>(targetDevice_.Get()), twips);
}

void Win32RichTextBox::RaiseScrollBars() {
    // A line of at least 12 pixels, a character of at least 2.
    RECT client{};
    GetClientRect(Hwnd(), &client);
    std::wstring text;
    for (LONG line = 0; line <= client.bottom / 12; ++line) text += L"x\r\n";
    text.append(static_cast<std::size_t>(client.right / 2 + 1), L'x');
    StreamInText(text, 0);
}

void Win32RichTextBox::LoadFile(std::string_view path) {
    Win32Files files;
    RequireExistingFile(files, path);
    const std::optional<std::string> bytes = files.ReadAll(path);
    if (!bytes) Raise(err::PathFileAccess, path);
    SendMessageW(Hwnd(), EM_SETUNDOLIMIT, 0, 0);
    const LRESULT events = SendMessageW(Hwnd(), EM_SETEVENTMASK, 0, 0);
    SendMessageW(Hwnd(), WM_SETREDRAW, FALSE, 0);
    // Wine's control lays the whole text out again each time one of its
    // scroll bars appears: a long memo, which needs both, was laid out three
    // times (bench/forms.sh: 100 kB of RTF 45-65 ms, 16-24 with the bars
    // standing). A text that needs fewer bars loses them after the loading,
    // as before.
    if (bytes->size() > ShortFileBytes) RaiseScrollBars();
    if (StartsWith(*bytes, "{\\rtf")) {
        StreamInRtf(*bytes);
    } else {
        StreamInLines(PlainText(*bytes));
    }
    SendMessageW(Hwnd(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(Hwnd(), nullptr, TRUE);
    SendMessageW(Hwnd(), EM_SETEVENTMASK, 0, events);
    SendMessageW(Hwnd(), EM_SETUNDOLIMIT, 100, 0);
    SendMessageW(Hwnd(), EM_SETMODIFY, FALSE, 0);
    fileName_ = std::string(path);
    shown_.reset();
}

std::string Win32RichTextBox::StreamOutRtf() const {
    std::string rtf;
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&rtf);
    stream.pfnCallback = &WriteOut;
    SendMessageW(Hwnd(), EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    // Some versions end the stream with the string's NUL.
    while (!rtf.empty() && rtf.back() == '\0') rtf.pop_back();
    return rtf;
}

void Win32RichTextBox::SaveFile(std::string_view path) { ReplaceFile(path, WithOwnRtfMark(StreamOutRtf())); }

}  // namespace morix::platform::win32
