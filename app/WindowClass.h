#pragma once
// The two steps every window of the program's own takes: its class is
// registered once, and once created the window is tied to the object that
// handles it (GWLP_USERDATA), with that object's procedure.
#include <windows.h>

#include "Text.h"

// Registers a class with DefWindowProcA as its procedure; a second call for
// the same name does nothing.
void registerWindowClass(const char* name, HBRUSH background = nullptr);

// Ties a created window to self and gives it procedure; from then on the
// procedure finds self with windowOwner<T>(window).
void attachWindow(HWND window, void* self, WNDPROC procedure);

template <typename T>
T* windowOwner(HWND window) {
    return reinterpret_cast<T*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// Unties a window that is being destroyed from its object.
inline void detachWindow(HWND window) { SetWindowLongPtrA(window, GWLP_USERDATA, 0); }

// A window's text: a label's caption, an edit box's content.
Text windowText(HWND window);

// True when neither Ctrl, Shift nor Alt is down: Esc closes only then.
bool noModifierDown();
