#include "WindowClass.h"

void registerWindowClass(const char* name, HBRUSH background) {
    WNDCLASSA wc = {};
    if (GetClassInfoA(GetModuleHandleA(nullptr), name, &wc)) return;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    RegisterClassA(&wc);
}

void attachWindow(HWND window, void* self, WNDPROC procedure) {
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
}
