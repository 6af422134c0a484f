// Making the program's windows and controls, and the modal pieces of user
// interface: the pop-up menu, the message box, the open-file dialog and the
// shell's delete to the recycle bin.
//
// The factories are named New... (CreateWindow, CreateDialog and LoadImage
// are macros of <windows.h>).
#pragma once

#include "platform/Control.h"
#include "platform/Controls.h"
#include "platform/DateTimeControl.h"
#include "platform/ListBox.h"
#include "platform/RichTextBox.h"
#include "platform/Window.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morix::platform {

struct MenuItem {
    int id = 0;                 // returned when chosen; 0 for separators and submenus
    std::string caption;        // "-" is a separator
    bool enabled = true;
    std::vector<MenuItem> children;  // non-empty: a submenu
};

enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { None, Stop, Question, Exclamation };
enum class MessageAnswer { Ok, Yes, No };

// Where a control goes: its name, its place in pixels inside the container,
// its caption (or text), and the container (a Frame or Picture control of
// the same window; nullptr: the window's client area).
struct ControlSpec {
    std::string name;
    Rect place;
    std::string caption;
    Control* container = nullptr;
};

class Ui {
public:
    virtual ~Ui() = default;

    // Made with its top-left corner at `origin` (screen pixels): on the
    // monitor it is to be shown on, which its controls take their scale and
    // font from.
    virtual std::unique_ptr<Window> NewWindow(WindowKind kind, Point origin = {}) = 0;
    virtual std::unique_ptr<Control> NewControl(Window& window, ControlKind kind, const ControlSpec& request) = 0;
    virtual std::unique_ptr<ListBox> NewListBox(Window& window, const ControlSpec& request) = 0;
    virtual std::unique_ptr<DateTimeControl> NewDateTime(Window& window, DateTimeKind kind, const ControlSpec& request) = 0;
    virtual std::unique_ptr<RichTextBox> NewRichTextBox(Window& window, const ControlSpec& request) = 0;
    // A clip display; `container` as for the controls.
    virtual std::unique_ptr<Animation> NewAnimation(Window& window, Control* container = nullptr) = 0;
    virtual std::unique_ptr<Shaper> NewShaper(Window& window) = 0;
    virtual std::unique_ptr<Timer> NewTimer(Window& window) = 0;
    virtual std::unique_ptr<SoundDevice> NewSoundDevice() = 0;

    // Pops the menu up at the pointer and blocks until it closes (events such
    // as timer ticks go on meanwhile). Returns the chosen item's id, or 0.
    virtual int TrackPopupMenu(Window& owner, const std::vector<MenuItem>& items) = 0;

    // A modal message box, in front of every window. With an owner, the
    // owner takes no input while the box waits.
    MessageAnswer ShowMessageBox(std::string_view text, std::string_view title, MessageButtons buttons,
                                 MessageIcon icon, Window* owner = nullptr);
    // Some message box waits for its answer. Events go on through its modal
    // loop; the clock's tick waits, so that it neither stacks a message on
    // one that is up nor meets again the error one reports.
    bool MessageBoxOpen() const { return messageBoxesOpen_ > 0; }

    // The open-file dialog: `filter` as "description|pattern" pairs joined by
    // "|" ("テキストファイル (*.rtf)|*.rtf"), starting in `initialFolder`. The
    // chosen file's full path, or nothing when the user cancelled.
    virtual std::optional<std::string> ShowOpenFileDialog(Window* owner, std::string_view filter,
                                                          std::string_view initialFolder) = 0;

    // Deletes the file to the recycle bin through the shell, which asks its
    // own confirmation and shows its own messages. The result is not
    // reported.
    virtual void DeleteToRecycleBin(Window* owner, std::string_view path) = 0;

protected:
    // The system's message box itself, shown by ShowMessageBox.
    virtual MessageAnswer RunMessageBox(std::string_view text, std::string_view title, MessageButtons buttons,
                                        MessageIcon icon, Window* owner) = 0;

private:
    int messageBoxesOpen_ = 0;
};

}  // namespace morix::platform
