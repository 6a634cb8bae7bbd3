// The executable's directory: always a prefix of the path, ending right
// before a backslash that is not the trail byte of a double-byte character.
#include <cstdlib>
#include <string_view>

#include "config/ConfigRules.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view path(reinterpret_cast<const char*>(data), size);
    const Text directory = runDirectoryOf(path);
    if (path.substr(0, directory.size()) != directory) std::abort();
    if (directory.size() < path.size() && path[directory.size()] != '\\') std::abort();
    if (directory.size() == path.size() && path.find('\\') != std::string_view::npos) {
        // No backslash was taken: every one must be a trail byte.
        for (std::size_t i = 0; i < path.size(); ++i) {
            const auto byte = static_cast<unsigned char>(path[i]);
            if (byte == '\\') std::abort();
            if (byte >= 0x81 && byte <= 0xFE && i + 1 < path.size()) ++i;
        }
    }
    (void)skipLeadingBlanks(path);
    return 0;
}
