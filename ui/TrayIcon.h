#pragma once
// The main window's one entry in the notification area.  It exists exactly
// while an icon handle is held; the handle is released after the shell has
// been told, and a fresh one is built every time the entry is set.
#include <optional>
#include <string_view>

#include "../app/WinHandles.h"

inline constexpr UINT TrayIconId = 100;
inline constexpr UINT TrayCallbackMessage = WM_APP + 0x64;

class TrayIcon {
public:
    explicit TrayIcon(HWND owner) : owner_(owner) {}
    ~TrayIcon() { remove(); }
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Adds or replaces the entry with an icon built from an ICO file's bytes;
    // with no usable image the entry is deleted.
    void set(std::optional<std::string_view> image, std::optional<std::string_view> tip);
    void remove() { set(std::nullopt, std::nullopt); }
    bool present() const { return static_cast<bool>(icon_); }

private:
    HWND owner_;
    IconHandle icon_;
};

// The tray picture: the same ICO file as the window icon, kept as data.
std::string_view trayIconImage();
