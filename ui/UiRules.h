#pragma once
// The user interface's fixed texts and rules, free of the platform.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

inline constexpr std::string_view MainWindowTitle = "Wenlo扫描枪-第三方PC端";
inline constexpr std::string_view CloseQuestion = "你确定要退出？";
inline constexpr std::string_view CloseQuestionTitle = "提示";
inline constexpr std::string_view CopySucceeded = "复制成功！";

// The help panel's text: 13 lines joined by CR LF, starting with a line break.
inline constexpr std::string_view HelpText =
    "\r\n"
    "  设置设明\r\n"
    "\r\n"
    "  打开运行目录的WLconfig.ini\r\n"
    "\r\n"
    "  PortA=1223       端口A\r\n"
    "\r\n"
    "  PortB=1224       端口B\r\n"
    "\r\n"
    "  Button=0         模拟按键，0为Enter键\r\n"
    "                             1为Tab键\r\n"
    "\r\n"
    "  Number=1         按键次数";

// What the user did on the notification-area entry.
enum class TrayAction { LeftUp = 1, LeftDoubleClick = 2, RightUp = 3 };

// The mouse message that the shell put in the callback's lParam; none for
// messages that raise no event.
std::optional<TrayAction> trayActionOf(uint32_t mouseMessage);

// The one image of an ICO file, as its directory entry and header describe it.
struct IconImageView {
    const unsigned char* bytes;
    std::size_t size;
    int32_t width;   // of the BITMAPINFOHEADER
    int32_t height;  // half the header's height: colour image and mask share it
    uint16_t bitsPerPixel;
};

// The first image of an ICO file, or none when the file is malformed.
std::optional<IconImageView> firstIconImage(const unsigned char* file, std::size_t size);

// The close question's answer: MessageBoxA's result maps to OK (0) unless it
// is one of Cancel, Abort, Retry, Ignore, Yes or No; a failed box (0) counts
// as OK.  True when the window may close.
bool closeAllowed(int messageBoxResult);
