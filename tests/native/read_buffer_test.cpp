#include <gtest/gtest.h>

#include <cstring>

#include "net/ReadBuffer.h"

namespace {

TEST(ReadBuffer, GrowsKeepingWhatWasReadBefore) {
    ReadBuffer buffer;
    std::memcpy(buffer.reserve(0, 10), "0123456789", 10);
    char* more = buffer.reserve(10, 3 << 20);  // the read after it, at its end
    std::memcpy(more, "abc", 3);
    EXPECT_EQ(std::string(buffer.data(), 13), "0123456789abc");
    EXPECT_GE(buffer.capacity(), (3u << 20) + 10);
}

TEST(ReadBuffer, KeepsALargeBufferWhileReadsAreLargeAndReleasesItAfter) {
    ReadBuffer buffer;
    buffer.reserve(0, 4 << 20);
    const char* kept = buffer.data();
    buffer.settle(3 << 20);  // a stream still going
    EXPECT_EQ(buffer.data(), kept);
    EXPECT_EQ(buffer.reserve(0, 64 << 10), kept);  // no allocation per read
    buffer.settle(100);  // the stream is over
    EXPECT_EQ(buffer.capacity(), 0u);
    buffer.reserve(0, 64 << 10);
    buffer.settle(100);  // a small buffer stays
    EXPECT_EQ(buffer.capacity(), 64u << 10);
}

}  // namespace
