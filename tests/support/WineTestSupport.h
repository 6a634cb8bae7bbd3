#pragma once
// What the Windows tests share: waiting with a deadline while the thread's
// messages are served, temporary folders, loopback clients, and windows of
// the test's own that hold the keyboard focus.
#include <winsock2.h>
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/WinHandles.h"
#include "app/WindowClass.h"

// Serves this thread's messages until condition holds or the deadline passes.
bool waitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 10000);

// Serves what is queued now (at most some thousands), without waiting.
void pumpMessages();

// A fresh folder under the temporary directory, removed with its content.
class TempFolder {
public:
    explicit TempFolder(std::string_view nameSuffix = "");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }
    std::string file(std::string_view name) const { return path_ + "\\" + std::string(name); }

private:
    std::string path_;
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, std::string_view content);
bool fileExists(const std::string& path);

// Windows Sockets for the test process.
void startSockets();

// A blocking TCP client on 127.0.0.1.
class TestClient {
public:
    explicit TestClient(int port);
    bool connected() const { return connected_; }
    int localPort() const;
    bool sendAll(std::string_view bytes);
    void close() { socket_.reset(); }
    void reset();  // abortive close: the peer sees a reset
    SOCKET get() const { return socket_.get(); }
    // Blocks until the peer closes (true) or an error or time-out (false).
    bool waitForPeerClose(DWORD timeoutMs = 10000);

private:
    SocketHandle socket_;
    bool connected_ = false;
};

// True when a listening socket could be bound to the port right now.
bool portIsFree(int port);

// A listening socket on the port, as another program holding it would have.
SocketHandle takePort(int port);

// Brings a top-level window to the front with focus on `focus` (itself or a
// child) and waits until the focus has held: without a window manager the
// foreground can still move after the call.
bool holdFocus(HWND window, HWND focus);

// A top-level window of the test's own that takes the focus and tells each
// key event it receives (WM_KEYDOWN or WM_KEYUP, and the virtual key).
class KeyWindow {
public:
    using Listener = std::function<void(UINT message, WPARAM key)>;
    explicit KeyWindow(Listener listener);
    KeyWindow(const KeyWindow&) = delete;
    KeyWindow& operator=(const KeyWindow&) = delete;
    bool takeFocus() { return holdFocus(window_.get(), window_.get()); }

private:
    static LRESULT CALLBACK proc(HWND, UINT, WPARAM, LPARAM);
    Listener listener_;
    WindowHandle window_;
};

// A top-level window of the test's own with a multi-line edit control that
// has the keyboard focus; Enter and Tab land in it as "\r\n" and "\t".
class FocusedEdit {
public:
    FocusedEdit();
    ~FocusedEdit();
    FocusedEdit(const FocusedEdit&) = delete;
    FocusedEdit& operator=(const FocusedEdit&) = delete;
    // Brings the window to the front and waits until the focus has held.
    bool takeFocus();
    std::string text() const;
    void clear();
    HWND edit() const { return edit_; }

private:
    WindowHandle window_;
    HWND edit_ = nullptr;
};

std::wstring toWide(std::string_view gbk);
std::string clipboardText(bool* available = nullptr);
