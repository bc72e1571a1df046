// Owning raw bytes, such as a file read whole, without the C++ containers
// the product leaves out (see text.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>

class ByteBuffer {
public:
    ByteBuffer() = default;
    ByteBuffer(const ByteBuffer&) = delete;
    ByteBuffer& operator=(const ByteBuffer&) = delete;
    ~ByteBuffer() { std::free(data_); }

    // Room for `count` bytes, the old content dropped; null when memory is
    // short. Call SetSize afterwards with how many were filled.
    std::uint8_t* Allocate(std::size_t count) {
        std::free(data_);
        size_ = 0;
        data_ = static_cast<std::uint8_t*>(std::malloc(count ? count : 1));
        return data_;
    }
    void SetSize(std::size_t size) { size_ = size; }

    const std::uint8_t* Data() const { return data_; }
    std::size_t Size() const { return size_; }

private:
    std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
};
