#pragma once
// Starts the real program from a fresh folder and drives it from outside, as
// a user and a phone would: its windows are found by process, read with the
// wide messages, and sent input as posted messages.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/WineTestSupport.h"

struct ProcessStats {
    SIZE_T privateBytes = 0;
    DWORD handles = 0;
};

class Program {
public:
    // settings: the content of a WLconfig.ini put beside the program first.
    explicit Program(std::optional<std::string> settings = std::nullopt);
    // Starts the program that already stands in folder (Windows path).
    static std::unique_ptr<Program> startIn(const std::string& folder);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool started() const { return mainWindow_ != nullptr; }
    HWND mainWindow() const { return mainWindow_; }
    const TempFolder& folder() const { return folder_; }
    // The child control whose top-left corner is at (x, y) of the client area.
    HWND control(int x, int y) const;
    std::vector<std::wstring> history() const;
    // A visible top-level window of the program's with this class, or null.
    HWND findWindow(const char* className) const;
    bool waitForExit(DWORD timeoutMs = 20000);
    bool running() const;
    ProcessStats stats() const;
    // Sends bytes to the scan port until the history grows by one entry
    // (a scan inside the suppression window is dropped, so it is resent).
    bool scanUntilListed(std::string_view bytes);

private:
    struct StartsNothing {};
    explicit Program(StartsNothing) {}
    void start(const std::string& exe, const std::string& folder);

    TempFolder folder_;
    PROCESS_INFORMATION process_ = {};
    HWND mainWindow_ = nullptr;
};

std::wstring windowTextOf(HWND window);
bool isChecked(HWND button);

// Sends a scan as a phone does: connect, send, close.
bool sendScan(int port, std::string_view bytes);
