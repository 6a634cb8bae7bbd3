// Starts the program, sends it a few scans as a phone would, and saves
// pictures of the main window and of the help panel as BMP files into the
// folder given on the command line (scripts/screenshots turns them into PNG).
#include <cstdio>
#include <vector>

#include "tests/e2e/ProgramDriver.h"

namespace {

void settle(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE);
    DWORD_PTR ignored;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
}

bool saveScreenRect(const RECT& rect, const std::string& path) {
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    std::vector<char> pixels(static_cast<std::size_t>(width) * height * 4);
    GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&header), sizeof header);
    bytes.append(pixels.data(), pixels.size());
    writeFile(path, bytes);
    return fileExists(path);
}

bool saveWindow(HWND window, const std::string& path) {
    settle(window);
    RECT rect;
    GetWindowRect(window, &rect);
    return saveScreenRect(rect, path);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: screenshots OUTPUT_FOLDER\n");
        return 2;
    }
    const std::string out = argv[1];
    startSockets();
    Program program;
    if (!program.started()) return 1;
    FocusedEdit target;  // the scans land here, not in the program
    target.takeFocus();
    for (const char* code : {"6901234567892", "9787111544937", "条码-A0042"}) {
        const std::size_t before = program.history().size();
        // Resent until listed: the second of two scans within 300 ms is dropped.
        waitUntil([&] {
            sendScan(1223, code);
            return waitUntil([&] { return program.history().size() > before; }, 500);
        }, 20000);
    }
    SetForegroundWindow(program.mainWindow());
    waitUntil([&] { return GetForegroundWindow() == program.mainWindow(); }, 5000);
    bool ok = saveWindow(program.mainWindow(), out + "\\main-window.bmp");

    const HWND helpLabel = program.control(176, 131);
    PostMessageW(helpLabel, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    HWND help = nullptr;
    waitUntil([&] { return (help = program.findWindow("WenloHelp")) != nullptr; });
    ok = help && saveWindow(help, out + "\\help-window.bmp") && ok;
    if (help) PostMessageW(help, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    return ok ? 0 : 1;
}
