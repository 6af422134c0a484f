// Implements platform::ListBox as a LISTBOX child window (ChildControl):
// LBS_NOTIFY, not sorted, LBS_NOINTEGRALHEIGHT (the height is the one the
// form gives), WS_VSCROLL, WS_EX_CLIENTEDGE. LB_ADDSTRING, LB_RESETCONTENT,
// LB_GETCOUNT, LB_GETTEXT(LEN), LB_GETCURSEL and LB_SETCURSEL; LBN_SELCHANGE,
// which the system sends for the user's picks only, is its Click.
#pragma once

#include "platform/ListBox.h"
#include "platform/win32/ChildControl.h"

#include <functional>

namespace morix::platform::win32 {

class Win32ListBox final : public ChildControlOf<ListBox> {
public:
    Win32ListBox(Win32Window& window, HWND parent, const ControlSpec& request, EventRunner run);
    ~Win32ListBox() override;

    void SetVisible(bool visible) override;
    void AddItem(std::string_view text) override;
    void Clear() override;
    int Count() const override;
    std::string Item(int index) const override;
    int ListIndex() const override;
    void SetListIndex(int index) override;
    void OnClick(std::function<void()> handler) override { onClick_ = std::move(handler); }

private:
    void OnCommand(WORD code) override;

    std::function<void()> onClick_;
};

}  // namespace morix::platform::win32
