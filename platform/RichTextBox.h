// A rich-text box: shows and edits text with its formatting, loads RTF files
// and saves them.
#pragma once

#include "platform/Control.h"

namespace morix::platform {

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
    // Saves the content as RTF: a new file beside the old one, then renamed
    // over it, so the old file stays whole when anything fails. Raises
    // RuntimeError 76 (no folder), 75 (cannot be written: read-only, a folder
    // of that name, locked), 61 (the disk is full) or 57 (another failure),
    // each naming the path and the system's reason.
    virtual void SaveFile(std::string_view path) = 0;
};

}  // namespace morix::platform
