// The repeat count rules: any text, never undefined behaviour, and the
// full-width mapping changes nothing for text that is already mapped.
#include <cstdlib>
#include <string_view>

#include "app/ScanRules.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const int32_t count = repeatCount(text);
    const Text mapped = mapFullWidth(text);
    if (mapped.size() > text.size()) std::abort();
    if (repeatCount(mapped) != count) std::abort();
    return 0;
}
