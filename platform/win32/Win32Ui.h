// Implements platform::Ui: makes the Win32 windows and controls
// (Win32Window, Win32Control, Win32ListBox, Win32DateTime, Win32RichTextBox,
// Win32Animation, Win32Shaper, Win32Timer, Win32SoundDevice), each calling
// the program's handlers through the event guard with this Ui and the
// Process; registers the common controls they need (InitCommonControlsEx:
// standard, animation, tooltips, date and time); pops up menus
// (CreatePopupMenu tree, SetForegroundWindow, TrackPopupMenu with
// TPM_RETURNCMD | TPM_RIGHTBUTTON at the cursor, WM_NULL after, the window
// that was in front given the front back); shows message boxes (MessageBoxW
// with MB_TOPMOST | MB_SETFOREGROUND, owned by the window given, which then
// takes no input while the box waits); the open-file dialog
// (GetOpenFileNameW: the "description|pattern" filter as a double-NUL list,
// the initial folder, OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST |
// OFN_HIDEREADONLY | OFN_NOCHANGEDIR); and deletes to the recycle bin
// (SHFileOperationW FO_DELETE with FOF_ALLOWUNDO, the shell asking and
// reporting by itself).
#pragma once

#include "platform/Process.h"
#include "platform/Ui.h"

namespace morix::platform::win32 {

class Win32Ui final : public Ui {
public:
    explicit Win32Ui(Process& process);

    std::unique_ptr<Window> NewWindow(WindowKind kind, Point origin = {}) override;
    std::unique_ptr<Control> NewControl(Window& window, ControlKind kind, const ControlSpec& request) override;
    std::unique_ptr<ListBox> NewListBox(Window& window, const ControlSpec& request) override;
    std::unique_ptr<DateTimeControl> NewDateTime(Window& window, DateTimeKind kind, const ControlSpec& request) override;
    std::unique_ptr<RichTextBox> NewRichTextBox(Window& window, const ControlSpec& request) override;
    std::unique_ptr<Animation> NewAnimation(Window& window, Control* container = nullptr) override;
    std::unique_ptr<Shaper> NewShaper(Window& window) override;
    std::unique_ptr<Timer> NewTimer(Window& window) override;
    std::unique_ptr<SoundDevice> NewSoundDevice() override;

    int TrackPopupMenu(Window& owner, const std::vector<MenuItem>& items) override;
    std::optional<std::string> ShowOpenFileDialog(Window* owner, std::string_view filter,
                                                  std::string_view initialFolder) override;
    void DeleteToRecycleBin(Window* owner, std::string_view path) override;

protected:
    MessageAnswer RunMessageBox(std::string_view text, std::string_view title, MessageButtons buttons,
                                MessageIcon icon, Window* owner) override;

private:
    Process& process_;
};

}  // namespace morix::platform::win32
