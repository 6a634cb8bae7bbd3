#include "DesktopOutput.h"

#include <cstring>

#include "../app/WinHandles.h"

namespace {

void keyEvent(uint8_t vk, DWORD flags) { keybd_event(vk, 0, flags, 0); }

// Holds the clipboard open for one operation; always closed on the way out.
class OpenClipboardSession {
public:
    OpenClipboardSession() : open_(OpenClipboard(nullptr) != FALSE) {}
    OpenClipboardSession(const OpenClipboardSession&) = delete;
    OpenClipboardSession& operator=(const OpenClipboardSession&) = delete;
    ~OpenClipboardSession() {
        if (open_) CloseClipboard();
    }
    explicit operator bool() const { return open_; }

private:
    bool open_;
};

}  // namespace

void pressKeys(uint8_t vk1, uint8_t vk2, uint8_t vk3) {
    keyEvent(vk1, 0);
    if (vk2) keyEvent(vk2, 0);
    if (vk3) keyEvent(vk3, 0);
    keyEvent(vk1, KEYEVENTF_KEYUP);
    if (vk2) keyEvent(vk2, KEYEVENTF_KEYUP);
    if (vk3) keyEvent(vk3, KEYEVENTF_KEYUP);
}

bool setClipboardText(const Text& text) {
    OpenClipboardSession clipboard;
    if (!clipboard) return false;
    EmptyClipboard();
    GlobalMemory block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, text.size() + 1));
    if (!block) return false;  // the clipboard stays empty
    if (void* bytes = GlobalLock(block.get())) {
        std::memcpy(bytes, text.c_str(), text.size() + 1);
        GlobalUnlock(block.get());
    }
    // Once handed over, the block is the system's, whatever the call answers.
    SetClipboardData(CF_TEXT, block.release());
    return true;
}
