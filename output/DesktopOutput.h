#pragma once
// Keystrokes into whatever window has the keyboard focus, and the clipboard.
#include <cstdint>

#include "../app/ScanPorts.h"
#include "../app/Text.h"

// Presses vk1 (always), then vk2 and vk3 where nonzero, then releases them
// in the same order: the first key pressed is the first released.
void pressKeys(uint8_t vk1, uint8_t vk2 = 0, uint8_t vk3 = 0);

// Replaces the clipboard with text as CF_TEXT only, in a block of exactly
// size + 1 bytes.  False when the clipboard could not be opened (another
// program holds it; the old content stays) or the block not allocated.
bool setClipboardText(const Text& text);

// The two as the scan path sees them.
class Win32DesktopOutput final : public DesktopOutput {
public:
    bool setClipboardText(const Text& text) override { return ::setClipboardText(text); }
    void pressKeys(uint8_t vk1, uint8_t vk2, uint8_t vk3) override { ::pressKeys(vk1, vk2, vk3); }
};
