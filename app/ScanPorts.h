#pragma once
// What scan handling needs of the world, as small interfaces: the controls of
// the main window, and the desktop (clipboard and keyboard).  The program
// passes the Win32 ones; tests pass fakes.
#include <cstdint>

#include "Text.h"

class ScanControls {
public:
    virtual Text repeatCountText() = 0;        // 编辑框按键次数
    virtual bool enterChecked() = 0;           // 单选框E
    virtual bool tabChecked() = 0;             // 单选框T
    virtual void addHistory(const Text&) = 0;  // 列表框1
    virtual void setTimerPeriod(int32_t milliseconds) = 0;  // 时钟1
protected:
    ~ScanControls() = default;
};

class DesktopOutput {
public:
    virtual bool setClipboardText(const Text&) = 0;
    virtual void pressKeys(uint8_t vk1, uint8_t vk2 = 0, uint8_t vk3 = 0) = 0;
protected:
    ~DesktopOutput() = default;
};
