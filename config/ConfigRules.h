#pragma once
// The settings file's fixed facts and its path rules, free of the platform.
#include <string_view>

#include "../app/Text.h"

inline constexpr std::string_view ConfigFileName = "WLconfig.ini";

// Written once when no file of that name exists; 50 bytes, no final line end.
inline constexpr std::string_view DefaultConfigContent =
    "[data]\r\nPortA=1223\r\nPortB=1224\r\nButton=0\r\nNumber=1";

// The directory part of a full path: everything before the last backslash,
// found character by character in GBK so that a 0x5C trail byte of a
// double-byte character is never taken for it.  "C:\x.exe" gives "C:".
Text runDirectoryOf(std::string_view path);

// The text without its leading bytes 1 to 32 (control characters and space).
std::string_view skipLeadingBlanks(std::string_view text);
