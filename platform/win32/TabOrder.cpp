#include "platform/win32/TabOrder.h"

#include "platform/Layout.h"
#include "platform/win32/ChildControl.h"

#include <algorithm>
#include <vector>

namespace morix::platform::win32 {

namespace {

bool ShownAndEnabled(HWND control, HWND dialog) {
    if (!IsWindowVisible(control)) return false;
    for (HWND w = control; w != nullptr && w != dialog; w = GetParent(w))
        if (!IsWindowEnabled(w)) return false;
    return true;
}

bool IsChecked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

struct Stops {
    HWND dialog;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectStop(HWND control, LPARAM param) {
    auto& stops = *reinterpret_cast<Stops*>(param);
    ControlTarget* target = ControlTargetOf(control);
    if (target == nullptr || !ShownAndEnabled(control, stops.dialog)) return TRUE;
    if (target->IsOptionButton()) {
        // One stop for the option buttons of a container: the chosen one, or
        // the first that can take the keyboard when none is chosen.
        HWND parent = GetParent(control);
        HWND stop = nullptr;
        for (HWND b = GetWindow(parent, GW_CHILD); b != nullptr; b = GetWindow(b, GW_HWNDNEXT)) {
            ControlTarget* t = ControlTargetOf(b);
            if (t == nullptr || !t->IsOptionButton() || !ShownAndEnabled(b, stops.dialog)) continue;
            if (stop == nullptr || IsChecked(b)) stop = b;
            if (IsChecked(b)) break;
        }
        if (stop == control) stops.windows.push_back(control);
        return TRUE;
    }
    if (GetWindowLongPtrW(control, GWL_STYLE) & WS_TABSTOP) stops.windows.push_back(control);
    return TRUE;
}

}  // namespace

HWND NextTabStop(HWND dialog, HWND from, bool backwards) {
    Stops stops{dialog, {}};
    EnumChildWindows(dialog, CollectStop, reinterpret_cast<LPARAM>(&stops));
    if (stops.windows.empty()) return nullptr;
    std::vector<Rect> places;
    std::size_t current = stops.windows.size();
    for (std::size_t i = 0; i < stops.windows.size(); ++i) {
        RECT r{};
        GetWindowRect(stops.windows[i], &r);
        places.push_back({r.left, r.top, r.right, r.bottom});
        // The focus may be on a part of a control (the edit box of a time
        // picker).
        if (from != nullptr && (from == stops.windows[i] || IsChild(stops.windows[i], from))) current = i;
    }
    return stops.windows[NextInTabOrder(places, current, backwards)];
}

bool MoveFocusByTab(HWND dialog, const MSG& msg) {
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB) return false;
    if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
    HWND focus = GetFocus();
    if (focus != nullptr) {
        MSG copy = msg;
        const LRESULT code = SendMessageW(focus, WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&copy));
        if (code & (DLGC_WANTTAB | DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
    }
    HWND next = NextTabStop(dialog, focus, GetKeyState(VK_SHIFT) < 0);
    if (next == nullptr) return true;
    SetFocus(next);
    if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(next, EM_SETSEL, 0, -1);
    return true;
}

}  // namespace morix::platform::win32
