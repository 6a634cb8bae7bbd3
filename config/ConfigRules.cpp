#include "ConfigRules.h"

namespace {
bool isGbkLead(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }
}  // namespace

Text runDirectoryOf(std::string_view path) {
    std::size_t lastBackslash = std::string_view::npos;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const auto byte = static_cast<unsigned char>(path[i]);
        if (byte == '\\')
            lastBackslash = i;
        else if (isGbkLead(byte) && i + 1 < path.size())
            ++i;  // the trail byte may be 0x5C: skip it with its lead
    }
    if (lastBackslash == std::string_view::npos) return Text(path);
    return Text(path.substr(0, lastBackslash));
}

std::string_view skipLeadingBlanks(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) >= 1 &&
           static_cast<unsigned char>(text[i]) <= 32)
        ++i;
    return text.substr(i);
}
