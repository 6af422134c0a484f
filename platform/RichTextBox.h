// A rich-text box: shows and edits text with its formatting, loads RTF files
// and saves them.
#pragma once

#include "platform/Control.h"

#include <string>
#include <string_view>

namespace morix::platform {

// What every save of the box carries before the document's closing brace:
// a destination that RTF readers skip ("\*" before a word they do not know),
// so that a memo this program wrote is told from another program's file (an
// editor saving it again drops the mark).
inline constexpr std::string_view OwnRtfMark = "{\\*\\morixmemo}";
// The box's RTF with the mark put in; text that is no RTF document is left
// as it is.
std::string WithOwnRtfMark(std::string rtf);
// True when the file is RTF that this program's box saved.
bool HasOwnRtfMark(std::string_view bytes);

struct FontSpec {
    std::string face;     // "ＭＳ ゴシック"
    int points = 9;
    bool japaneseCharset = true;  // the Shift_JIS character set
};

class RichTextBox : public ControlBase {
public:
    // The font of text set or typed from now on.
    virtual void SetFont(const FontSpec& font) = 0;
    // Plain text; lines end in "\r\n".
    virtual void SetText(std::string_view text) = 0;
    virtual std::string Text() const = 0;
    // The same as SetText for a box of one font, but only the part of the
    // text that differs from what the last SetText or UpdateText gave is
    // rewritten: a box shown again every second with nearly the same lines
    // is not laid out and drawn whole each time.
    virtual void UpdateText(std::string_view text) { SetText(text); }
    virtual void SetReadOnly(bool readOnly) = 0;
    // Lines wrap at this width (pixels) instead of the box's own, so wider
    // text scrolls sideways.
    virtual void SetRightMargin(int pixels) = 0;
    // Loads an RTF file (a file of plain text, or of zero bytes, loads as its
    // text). Raises RuntimeError 76 (no folder), 53 (no file) or 75 (a file
    // that cannot be read); the box is then left as it was.
    virtual void LoadFile(std::string_view path) = 0;
    // The file last loaded ("" before any).
    virtual const std::string& FileName() const = 0;
    // True when the user changed the text since it was last loaded or set.
    virtual bool Modified() const = 0;
    // Saves the content as RTF, with OwnRtfMark: a new file beside the old
    // one, then renamed over it, so the old file stays whole when anything
    // fails. Raises RuntimeError 76 (no folder), 75 (cannot be written:
    // read-only, a folder of that name, locked), 61 (the disk is full) or 57
    // (another failure), each naming the path and the system's reason.
    virtual void SaveFile(std::string_view path) = 0;
};

}  // namespace morix::platform
