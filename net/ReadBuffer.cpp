#include "ReadBuffer.h"

#include <algorithm>
#include <cstring>

char* ReadBuffer::reserve(std::size_t offset, std::size_t more) {
    const std::size_t needed = offset + more;
    if (needed > capacity_) {
        const std::size_t grown = std::max(needed, capacity_ + capacity_ / 2);
        std::unique_ptr<char[]> larger(new char[grown]);  // uninitialised: recv fills it
        if (offset) std::memcpy(larger.get(), bytes_.get(), offset);
        bytes_ = std::move(larger);
        capacity_ = grown;
    }
    return bytes_.get() + offset;
}

void ReadBuffer::settle(std::size_t lastRead) {
    if (capacity_ > KeptSize && lastRead < KeptSize / 4) {
        bytes_.reset();
        capacity_ = 0;
    }
}
