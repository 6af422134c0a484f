#include "platform/win32/FormWindowClass.h"

namespace morix::platform::win32 {

namespace {

MessageTarget* TargetOf(HWND window) {
    return reinterpret_cast<MessageTarget*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT CALLBACK FormWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    MessageTarget* target = TargetOf(window);
    if (message == WM_NCDESTROY) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    if (target == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    return target->HandleMessage(window, message, wParam, lParam);
}

bool RegisterFormClass() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    // No CS_HREDRAW/CS_VREDRAW: the face is a picture drawn from the
    // top-left, so a resize only has to paint what it uncovered.
    wc.style = 0;
    wc.lpfnWndProc = FormWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = nullptr;  // each window paints its own background
    wc.lpszClassName = FormClassName;
    if (RegisterClassExW(&wc) != 0) return true;
    return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

HWND CreateFormWindow(const FormWindowParams& params, MessageTarget* target) {
    // Function-local static: registered once, on the first window.
    static const bool registered = RegisterFormClass();
    if (!registered) return nullptr;
    HMENU id = (params.style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(params.id)) : nullptr;
    return CreateWindowExW(params.exStyle, FormClassName, L"", params.style, params.left, params.top, params.width,
                           params.height, params.parent, id, GetModuleHandleW(nullptr), target);
}

void DetachTarget(HWND window) {
    if (window != nullptr) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
}

}  // namespace morix::platform::win32
