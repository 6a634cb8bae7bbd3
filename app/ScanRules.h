#pragma once
// The byte-level rules of a scan: decoding, splitting, and the repeat count.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "Text.h"

inline constexpr std::string_view ScanSplitter = "[ScannerGunSplitter]";

// The bytes up to, not including, the first zero byte.
Text decodeArrival(const char* bytes, std::size_t size);

// Splits on separator with a limit of one piece, stepping over double-byte
// characters so that the separator only matches at a character boundary.
TextArray splitFirstPiece(std::string_view text, std::string_view separator);

// Full-width GB2312 digits, letters and signs become their ASCII forms.
Text mapFullWidth(std::string_view text);

// The number of Enter/Tab presses that a repeat count text asks for:
// full-width mapping, atof-style parsing, truncation to 64 bits, low 32 bits.
int32_t repeatCount(std::string_view text);
