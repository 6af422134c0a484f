// Implements platform::RichTextBox over the system's rich-edit control
// (ChildControl): "RICHEDIT50W" of Msftedit.dll, or "RichEdit20W" of
// Riched20.dll where there is no Msftedit, ES_MULTILINE | ES_WANTRETURN with
// both scroll bars (WS_VSCROLL, WS_HSCROLL | ES_AUTOHSCROLL), lines wrapped at
// the box's width until SetRightMargin moves the wrap (EM_SETTARGETDEVICE
// with the width in twips of a screen DC the box keeps). The font goes
// through EM_SETCHARFORMAT (SCF_DEFAULT and SCF_ALL, SHIFTJIS_CHARSET when
// asked); the text in and out as UTF-16 (EM_STREAMIN SF_TEXT | SF_UNICODE,
// EM_GETTEXTEX with GT_USECRLF); SetReadOnly is EM_SETREADONLY. A click into
// a box that is not read-only activates its window, so the user can type.
//
// LoadFile raises the file errors of platform/FileErrors first, reads the
// bytes itself (so any path the program can name loads), and streams them
// in as RTF when they begin with "{\rtf", else as plain text (UTF-8 or UTF-16
// after a byte-order mark, code page 932 without one). SaveFile streams the
// content out as RTF (EM_STREAMOUT SF_RTF, without the NUL the control may
// end it with) and writes it atomically: a temporary file beside the target,
// flushed, then MoveFileExW(MOVEFILE_REPLACE_EXISTING), tried again while
// another program holds the memo for a moment; on any failure the
// old file stays whole, the temporary file is deleted, and RuntimeError
// names the path and the system's reason (FormatMessageW): 76 for a missing
// folder, 75 for access denied, sharing or lock violations, a read-only file
// or a folder of that name, 61 for a full disk, 57 for anything else.
#pragma once

#include "platform/RichTextBox.h"
#include "platform/win32/ChildControl.h"
#include "platform/win32/Win32Handles.h"

#include <optional>
#include <string>
#include <string_view>

namespace morix::platform::win32 {

class Win32RichTextBox final : public ChildControlOf<RichTextBox> {
public:
    Win32RichTextBox(Win32Window& window, HWND parent, const ControlSpec& request, EventRunner run);
    ~Win32RichTextBox() override;

    void SetFont(const FontSpec& font) override;
    void SetText(std::string_view text) override;
    void UpdateText(std::string_view text) override;
    std::string Text() const override;
    void SetReadOnly(bool readOnly) override;
    void SetRightMargin(int pixels) override;
    void LoadFile(std::string_view path) override;
    bool Modified() const override;
    const std::string& FileName() const override { return fileName_; }
    void SaveFile(std::string_view path) override;

    // The rich-edit window class the boxes are made of ("RICHEDIT50W" or
    // "RichEdit20W"); loads its library on the first call.
    static const wchar_t* ClassName();

private:
    bool TakesTyping() const override;
    void StreamInRtf(const std::string& rtf);
    // UTF-16 text in place of everything, or of the selection (SFF_SELECTION).
    void StreamInText(std::wstring_view text, UINT selection);
    // A text of any length in place of everything, the caret at its start.
    void StreamInLines(const std::wstring& text);
    // Fills the box with a text taller and wider than it, so that its
    // scroll bars stand before a file streams in.
    void RaiseScrollBars();
    std::string StreamOutRtf() const;

    std::string fileName_;
    UniqueMemoryDc targetDevice_;
    // The text the last SetText or UpdateText left, as the control counts
    // it (a paragraph break is one "\r"); none after a load, or for a text
    // whose line ends the control would count otherwise.
    std::optional<std::wstring> shown_;
};

// The run-time error number SaveFile raises for a system error code.
int SaveErrorNumber(DWORD systemError);

}  // namespace morix::platform::win32
