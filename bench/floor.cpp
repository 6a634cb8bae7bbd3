// The floor: the least Win32 code that does the scanner's job.  One window,
// one listener with WSAAsyncSelect, recv of up to 64 KiB per notification,
// then clipboard, Ctrl+V and Enter with keybd_event; nothing else.  Its
// window title counts the accepted connections (the program likewise writes
// a label at every accept).
//   floor.exe [PORT] [--drain]   --drain: read and discard only
#include <winsock2.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr UINT AcceptMessage = WM_APP + 1;
constexpr UINT ClientMessage = WM_APP + 2;
char buffer[64 * 1024];
SOCKET listener = INVALID_SOCKET;
bool drainOnly = false;
long accepted = 0;

void type(const char* bytes, int size) {
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size + 1)) {
            char* text = static_cast<char*>(GlobalLock(block));
            std::memcpy(text, bytes, size);
            text[size] = 0;
            GlobalUnlock(block);
            SetClipboardData(CF_TEXT, block);
        }
        CloseClipboard();
    }
    keybd_event(VK_CONTROL, 0, 0, 0);
    keybd_event('V', 0, 0, 0);
    keybd_event(VK_CONTROL, 0, KEYEVENTF_KEYUP, 0);
    keybd_event('V', 0, KEYEVENTF_KEYUP, 0);
    keybd_event(VK_RETURN, 0, 0, 0);
    keybd_event(VK_RETURN, 0, KEYEVENTF_KEYUP, 0);
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case AcceptMessage: {
        const SOCKET client = accept(listener, nullptr, nullptr);
        if (client != INVALID_SOCKET) {
            WSAAsyncSelect(client, window, ClientMessage, FD_READ | FD_CLOSE);
            SetWindowTextA(window, std::to_string(++accepted).c_str());
        }
        return 0;
    }
    case ClientMessage: {
        const auto socket = static_cast<SOCKET>(wParam);
        if (WSAGETSELECTEVENT(lParam) == FD_CLOSE) {
            closesocket(socket);
            return 0;
        }
        const int got = recv(socket, buffer, sizeof buffer, 0);
        if (got > 0 && !drainOnly) type(buffer, got);
        return 0;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    const int port = std::atoi(commandLine) > 0 ? std::atoi(commandLine) : 1223;
    drainOnly = std::strstr(commandLine, "--drain") != nullptr;
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.lpszClassName = "FloorWindow";
    RegisterClassA(&wc);
    const HWND window = CreateWindowA("FloorWindow", "0", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200,
                                      nullptr, nullptr, instance, nullptr);
    listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(port));
    bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listener, SOMAXCONN);
    WSAAsyncSelect(listener, window, AcceptMessage, FD_ACCEPT);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
