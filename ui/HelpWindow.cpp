#include "HelpWindow.h"

#include <utility>
#include <vector>

#include "../app/Text.h"
#include "../app/WindowClass.h"
#include "UiRules.h"

namespace {

constexpr char HelpClass[] = "WenloHelp";
constexpr char OwnerClass[] = "WenloHiddenOwner";
constexpr int HelpWidth = 250;
constexpr int HelpHeight = 200;
constexpr COLORREF HelpBackground = RGB(236, 236, 236);
constexpr COLORREF HelpTextColour = RGB(255, 0, 0);
constexpr UINT DestroyRequest = WM_APP + 1;  // closeHelp's posted request

class HelpWindow {
public:
    bool open(HWND owner);

private:
    static LRESULT CALLBACK windowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT handle(UINT, WPARAM, LPARAM);
    void disableOtherWindows();
    void closeHelp();
    void teardown();

    HWND window_ = nullptr;
    BrushHandle background_{CreateSolidBrush(HelpBackground)};
    std::vector<std::pair<HWND, bool>> disabled_;  // window, enabled before
    bool destroyRequested_ = false;
};

bool HelpWindow::open(HWND owner) {
    registerWindowClass(HelpClass);
    const int left = (GetSystemMetrics(SM_CXSCREEN) - HelpWidth) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - HelpHeight) / 2;
    window_ = CreateWindowExA(0, HelpClass, "", WS_POPUP, left, top, HelpWidth, HelpHeight, owner,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!window_) return false;
    attachWindow(window_, this, &HelpWindow::windowProc);
    const HWND text = CreateWindowExA(
        0, "EDIT", Text(HelpText).c_str(),
        WS_CHILD | WS_VISIBLE | WS_DISABLED | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, 1, 0,
        248, 198, window_, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!text) {
        DestroyWindow(window_);
        return false;
    }
    SendMessageA(text, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    ShowWindow(window_, SW_SHOW);
    SetFocus(window_);
    disableOtherWindows();

    const HWND self = window_;
    while (IsWindow(self)) {
        MSG msg;
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));  // for the outer loop
            teardown();
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return true;
}

BOOL CALLBACK rememberTopLevel(HWND window, LPARAM list) {
    auto* windows = reinterpret_cast<std::vector<HWND>*>(list);
    if (!GetParent(window) && !GetWindow(window, GW_OWNER)) windows->push_back(window);
    return TRUE;
}

void HelpWindow::disableOtherWindows() {
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), rememberTopLevel, reinterpret_cast<LPARAM>(&windows));
    char className[32];
    for (HWND window : windows) {
        // The hidden owner is never shown and takes part in nothing.
        if (window == window_ || (GetClassNameA(window, className, sizeof className) &&
                                  Text(className) == OwnerClass))
            continue;
        disabled_.emplace_back(window, IsWindowEnabled(window) != FALSE);
        EnableWindow(window, FALSE);
    }
}

// The press only marks the window and posts the request: the destruction
// happens when the modal loop delivers it, never inside the press handler.
void HelpWindow::closeHelp() {
    destroyRequested_ = true;
    PostMessageA(window_, DestroyRequest, 0, 0);
}

void HelpWindow::teardown() {
    // Enabled again before the panel goes, so that activation returns to them.
    for (const auto& [window, enabled] : disabled_)
        if (IsWindow(window)) EnableWindow(window, enabled);
    disabled_.clear();
    if (IsWindow(window_)) DestroyWindow(window_);
}

LRESULT HelpWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN: closeHelp(); return 0;
    case DestroyRequest:
        if (destroyRequested_) {
            destroyRequested_ = false;
            teardown();
        }
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE && noModifierDown()) SendMessageA(window_, WM_CLOSE, 0, 0);
        return 0;
    case WM_CLOSE: teardown(); return 0;
    case WM_ERASEBKGND: {
        RECT area;
        GetClientRect(window_, &area);
        FillRect(reinterpret_cast<HDC>(wParam), &area, background_.get());
        return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT: {
        const auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, HelpTextColour);
        SetBkColor(dc, HelpBackground);
        return reinterpret_cast<LRESULT>(background_.get());
    }
    case WM_NCDESTROY:
        detachWindow(window_);
        window_ = nullptr;
        break;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

LRESULT CALLBACK HelpWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = windowOwner<HelpWindow>(window);
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

BOOL CALLBACK findOpenHelp(HWND window, LPARAM found) {
    char className[32];
    if (GetClassNameA(window, className, sizeof className) && Text(className) == HelpClass &&
        IsWindowVisible(window) && IsWindowEnabled(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

WindowHandle createHiddenOwnerWindow() {
    registerWindowClass(OwnerClass);
    return WindowHandle(CreateWindowExA(WS_EX_TOOLWINDOW, OwnerClass, "", 0, 0, 0, 0, 0, nullptr,
                                        nullptr, GetModuleHandleA(nullptr), nullptr));
}

bool openHelpWindow(HWND owner) {
    HelpWindow help;
    return help.open(owner);
}

bool activateOpenHelpWindow() {
    HWND help = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findOpenHelp, reinterpret_cast<LPARAM>(&help));
    if (help) SetActiveWindow(help);
    return help != nullptr;
}
