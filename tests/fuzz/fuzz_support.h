#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace tipora::fuzz {

// A broken property is a crash to libFuzzer: it keeps the input and stops the run.
[[noreturn]] inline void fail(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, condition);
    std::abort();
}

// Reads the fuzz input as a stream of choices; past its end every choice is zero.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool empty() const { return pos_ >= size_; }
    std::uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    std::uint16_t word() { return static_cast<std::uint16_t>(byte() | (byte() << 8)); }
    std::uint32_t dword() { return static_cast<std::uint32_t>(word() | (word() << 16)); }
    // One of n choices (n > 0).
    std::size_t pick(std::size_t n) { return byte() % n; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

} // namespace tipora::fuzz

#define FUZZ_CHECK(condition)                                                                      \
    ((condition) ? static_cast<void>(0) : ::tipora::fuzz::fail(#condition, __FILE__, __LINE__))
