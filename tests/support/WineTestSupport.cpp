#include "WineTestSupport.h"

#include <algorithm>
#include <cstdio>

bool waitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        pumpMessages();
        if (condition()) return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) return false;
        // Wakes for any message or after a short while, to look again.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, 10)),
                                  QS_ALLINPUT);
    }
}

void pumpMessages() {
    // Bounded: a peer that floods this thread with input must not keep the
    // caller from looking at its deadline.
    MSG msg;
    for (int served = 0; served < 10000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++served) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

namespace {

void removeTree(const std::string& path) {
    WIN32_FIND_DATAA found;
    FindHandle search(FindFirstFileA((path + "\\*").c_str(), &found));
    if (search) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string child = path + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(child);
            } else {
                SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(search.get(), &found));
    }
    search.reset();
    RemoveDirectoryA(path.c_str());
}

}  // namespace

TempFolder::TempFolder(std::string_view nameSuffix) {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    static unsigned counter = 0;
    for (;;) {
        char name[64];
        std::snprintf(name, sizeof name, "wenlo-%lu-%u", GetCurrentProcessId(), ++counter);
        path_ = std::string(base) + name + std::string(nameSuffix);
        if (CreateDirectoryA(path_.c_str(), nullptr)) break;
    }
}

TempFolder::~TempFolder() { removeTree(path_); }

std::string readFile(const std::string& path) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return {};
    std::string content;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr) && got > 0) content.append(chunk, got);
    return content;
}

void writeFile(const std::string& path, std::string_view content) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    if (file) WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
}

bool fileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void startSockets() {
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    (void)started;
}

TestClient::TestClient(int port) {
    startSockets();
    socket_.reset(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<u_short>(port));
    connected_ = socket_ && connect(socket_.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
}

int TestClient::localPort() const {
    sockaddr_in address = {};
    int length = sizeof address;
    getsockname(socket_.get(), reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

bool TestClient::sendAll(std::string_view bytes) {
    while (!bytes.empty()) {
        const int sent = send(socket_.get(), bytes.data(), static_cast<int>(std::min<std::size_t>(bytes.size(), 1 << 20)), 0);
        if (sent <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

void TestClient::reset() {
    linger abortive = {1, 0};
    setsockopt(socket_.get(), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abortive), sizeof abortive);
    socket_.reset();
}

bool TestClient::waitForPeerClose(DWORD timeoutMs) {
    const DWORD timeout = timeoutMs;
    setsockopt(socket_.get(), SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
    char byte;
    const int got = recv(socket_.get(), &byte, 1, 0);
    return got == 0 || (got < 0 && WSAGetLastError() == WSAECONNRESET);
}

bool portIsFree(int port) { return static_cast<bool>(takePort(port)); }

SocketHandle takePort(int port) {
    startSockets();
    SocketHandle holder(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(port));
    if (bind(holder.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(holder.get(), 1) != 0)
        holder.reset();
    return holder;
}

bool holdFocus(HWND window, HWND focus) {
    ULONGLONG heldSince = 0;
    return waitUntil([&] {
        if (GetForegroundWindow() != window || GetFocus() != focus) {
            SetForegroundWindow(window);
            SetFocus(focus);
            heldSince = 0;
            return false;
        }
        if (!heldSince) heldSince = GetTickCount64();
        return GetTickCount64() - heldSince >= 300;
    });
}

KeyWindow::KeyWindow(Listener listener) : listener_(std::move(listener)) {
    static const ATOM registered = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = &KeyWindow::proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "WenloKeyWindow";
        return RegisterClassA(&wc);
    }();
    (void)registered;
    window_.reset(CreateWindowExA(0, "WenloKeyWindow", "keys", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 200, 100,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), this));
}

LRESULT CALLBACK KeyWindow::proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<KeyWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self && (message == WM_KEYDOWN || message == WM_KEYUP)) self->listener_(message, wParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

namespace {
constexpr char FocusClass[] = "WenloTestTarget";
LRESULT CALLBACK focusProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETFOCUS) {
        if (const HWND edit = GetWindow(window, GW_CHILD)) SetFocus(edit);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
}  // namespace

FocusedEdit::FocusedEdit() {
    static const ATOM registered = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = focusProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = FocusClass;
        return RegisterClassA(&wc);
    }();
    (void)registered;
    window_.reset(CreateWindowExA(0, FocusClass, "target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr));
    edit_ = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL,
                            0, 0, 280, 150, window_.get(), nullptr, GetModuleHandleA(nullptr), nullptr);
}

FocusedEdit::~FocusedEdit() = default;

bool FocusedEdit::takeFocus() { return holdFocus(window_.get(), edit_); }

std::string FocusedEdit::text() const { return windowText(edit_); }

void FocusedEdit::clear() { SetWindowTextA(edit_, ""); }

std::wstring toWide(std::string_view gbk) {
    if (gbk.empty()) return {};
    std::wstring wide(gbk.size(), L'\0');
    wide.resize(static_cast<std::size_t>(
        MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), wide.data(), static_cast<int>(wide.size()))));
    return wide;
}

std::string clipboardText(bool* available) {
    std::string text;
    bool ok = false;
    if (OpenClipboard(nullptr)) {
        if (const HANDLE data = GetClipboardData(CF_TEXT)) {
            if (const char* bytes = static_cast<const char*>(GlobalLock(data))) {
                text = bytes;
                ok = true;
                GlobalUnlock(data);
            }
        }
        CloseClipboard();
    }
    if (available) *available = ok;
    return text;
}
