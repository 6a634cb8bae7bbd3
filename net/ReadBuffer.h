#pragma once
// The listener's receive buffer: grown without zero-filling, kept while
// reads are large (a stream that drains fast must not pay for an allocation
// per read), and given back once the reads are small again.
#include <cstddef>
#include <memory>

class ReadBuffer {
public:
    // Room for `more` bytes at offset, keeping the first `offset` bytes.
    char* reserve(std::size_t offset, std::size_t more);
    const char* data() const { return bytes_.get(); }
    std::size_t capacity() const { return capacity_; }
    // After a read of `size` bytes: a large buffer that the read hardly used
    // is released.
    void settle(std::size_t lastRead);

    static constexpr std::size_t KeptSize = 1024 * 1024;

private:
    std::unique_ptr<char[]> bytes_;
    std::size_t capacity_ = 0;
};
