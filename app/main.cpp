// The entry point: start in order, run the message loop, release at the end.
#include <winsock2.h>
#include <windows.h>

#include "../config/ConfigFile.h"
#include "../ui/HelpWindow.h"
#include "../ui/MainWindow.h"
#include "AppState.h"

namespace {

// Windows Sockets for the whole process, for the address list; each listener
// makes its own call besides.
class ProcessSockets {
public:
    ProcessSockets() {
        WSADATA data;
        WSAStartup(MAKEWORD(1, 0), &data);  // the result is not examined
    }
    ~ProcessSockets() { WSACleanup(); }
    ProcessSockets(const ProcessSockets&) = delete;
    ProcessSockets& operator=(const ProcessSockets&) = delete;
};

int runMessageLoop(MainWindow* mainWindow) {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (mainWindow && mainWindow->preTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {  // the command line is ignored
    ProcessSockets sockets;
    ConfigFile config(executableDirectory());
    SetCurrentDirectoryA((config.runDirectory() + "\\").c_str());  // "C:" alone would not name the root
    AppState state;
    const WindowHandle helpOwner = createHiddenOwnerWindow();
    const auto mainWindow = MainWindow::create(state, config, helpOwner.get());
    if (!mainWindow) return 1;
    return runMessageLoop(mainWindow.get());
}
