#include "ProgramDriver.h"

#include <psapi.h>

namespace {

std::string programPath() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory(path);
    directory.resize(directory.rfind('\\'));
    return directory + "\\" PROGRAM_EXE;
}

struct Search {
    DWORD processId;
    const char* className;
    HWND found = nullptr;
};

BOOL CALLBACK findByClass(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (owner == search->processId && IsWindowVisible(window) && std::string(className) == search->className) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

Program::Program(std::optional<std::string> settings) {
    const std::string exe = folder_.file(PROGRAM_EXE);
    if (!CopyFileA(programPath().c_str(), exe.c_str(), FALSE)) return;
    if (settings) writeFile(folder_.file("WLconfig.ini"), *settings);
    start(exe, folder_.path());
}

std::unique_ptr<Program> Program::startIn(const std::string& folder) {
    std::unique_ptr<Program> program(new Program(StartsNothing{}));
    program->start(folder + "\\" PROGRAM_EXE, folder);
    return program;
}

void Program::start(const std::string& exe, const std::string& folder) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + exe + "\"";
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &process_))
        return;
    waitUntil([&] {
        mainWindow_ = findWindow("WenloMainWindow");
        return mainWindow_ != nullptr;
    }, 30000);
}

Program::~Program() {
    if (process_.hProcess) {
        if (running()) {
            TerminateProcess(process_.hProcess, 1);
            WaitForSingleObject(process_.hProcess, 20000);
        }
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
}

HWND Program::findWindow(const char* className) const {
    Search search{process_.dwProcessId, className};
    EnumWindows(findByClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND Program::control(int x, int y) const {
    for (HWND child = GetWindow(mainWindow_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect;
        GetWindowRect(child, &rect);
        POINT corner = {rect.left, rect.top};
        ScreenToClient(mainWindow_, &corner);
        if (corner.x == x && corner.y == y) return child;
    }
    return nullptr;
}

std::vector<std::wstring> Program::history() const {
    const HWND list = control(11, 154);
    std::vector<std::wstring> items;
    const auto count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::wstring item(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
        item.resize(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item.data()))));
        items.push_back(item);
    }
    return items;
}

bool Program::waitForExit(DWORD timeoutMs) {
    return waitUntil([&] { return !running(); }, timeoutMs);
}

ProcessStats Program::stats() const {
    ProcessStats stats;
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process_.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory))
        // Wine leaves PrivateUsage at 0; the commit charge is its nearest figure.
        stats.privateBytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
    GetProcessHandleCount(process_.hProcess, &stats.handles);
    return stats;
}

bool Program::scanUntilListed(std::string_view bytes) {
    const std::size_t before = history().size();
    return waitUntil([&] {
        sendScan(1223, bytes);
        return waitUntil([&] { return history().size() > before; }, 1000);
    }, 30000);
}

bool Program::running() const {
    return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

std::wstring windowTextOf(HWND window) {
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length);
    std::wstring text(length + 1, L'\0');
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                        5000, &length);
    text.resize(length);
    return text;
}

bool isChecked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

bool sendScan(int port, std::string_view bytes) {
    TestClient phone(port);
    return phone.connected() && phone.sendAll(bytes);
}
