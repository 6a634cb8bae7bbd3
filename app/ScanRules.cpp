#include "ScanRules.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

bool isDoubleByteLead(unsigned char byte) { return byte >= 0x80; }

bool isCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the longest prefix of text (after white space) that atof would
// read as a decimal number; 0 when there is none.  Only decimal forms count.
std::size_t numberPrefix(std::string_view text, std::size_t start) {
    std::size_t i = start;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j])) ++j;
            i = j;
        }
    }
    return i - start;
}

// Truncation toward zero into 64 bits the way the x86 converts: a value that
// does not fit (or NaN) becomes the "integer indefinite" 0x8000000000000000.
int64_t truncateTo64(double value) {
    if (!(value > -9223372036854775808.0 && value < 9223372036854775808.0))
        return INT64_MIN;
    return static_cast<int64_t>(value);
}

}  // namespace

Text decodeArrival(const char* bytes, std::size_t size) {
    const void* zero = size ? std::memchr(bytes, 0, size) : nullptr;
    return Text(bytes, zero ? static_cast<const char*>(zero) - bytes : size);
}

TextArray splitFirstPiece(std::string_view text, std::string_view separator) {
    if (text.empty()) return {};
    const std::size_t length = separator.size();
    std::size_t pos = 0;
    while (length > 0 && text.size() - pos >= length) {
        if (text.compare(pos, length, separator) == 0) return {Text(text.substr(0, pos))};
        if (isDoubleByteLead(static_cast<unsigned char>(text[pos]))) {
            if (pos + 1 >= text.size()) break;  // a lead byte right before the end
            pos += 2;
        } else {
            pos += 1;
        }
    }
    return {Text(text)};
}

Text mapFullWidth(std::string_view text) {
    Text out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (!isDoubleByteLead(lead) || i + 1 >= text.size()) {
            out += text[i];
            continue;
        }
        const auto trail = static_cast<unsigned char>(text[i + 1]);
        if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE)
            out += static_cast<char>(trail - 0x80);
        else if (lead == 0xA1 && trail == 0xA1)
            out += ' ';
        else if (lead == 0xA1 && trail == 0xAB)
            out += '~';
        else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF))
            out += '*';
        else
            out.append(text.substr(i, 2));
        ++i;
    }
    return out;
}

int32_t repeatCount(std::string_view text) {
    const Text mapped = mapFullWidth(text);
    std::size_t start = 0;
    while (start < mapped.size() && isCSpace(mapped[start])) ++start;
    const std::size_t length = numberPrefix(mapped, start);
    if (length == 0) return 0;
    // strtod on the bare decimal prefix gives atof's value with correct rounding,
    // without the hexadecimal and "inf" forms that some C libraries add.
    const Text number = mapped.substr(start, length);
    const double value = std::strtod(number.c_str(), nullptr);
    const auto low = static_cast<uint32_t>(static_cast<uint64_t>(truncateTo64(value)));
    return static_cast<int32_t>(low);
}
