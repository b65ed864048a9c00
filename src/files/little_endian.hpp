#pragma once

#include <bit>
#include <cstdint>
#include <string>

#include "files/byte_sink.hpp"

namespace scenario {

// Collects little-endian values and hands them to a sink in large pieces.
class le_writer {
  public:
    explicit le_writer(byte_sink& sink) : sink_(sink) { buffer_.reserve(chunk); }
    ~le_writer() = default;
    le_writer(const le_writer&) = delete;
    le_writer& operator=(const le_writer&) = delete;

    void u8(std::uint8_t v) { put(v, 1); }
    void i16(std::int16_t v) { put(static_cast<std::uint16_t>(v), 2); }
    void u16(std::uint16_t v) { put(v, 2); }
    void i32(std::int32_t v) { put(static_cast<std::uint32_t>(v), 4); }
    void f64(double v) { put(std::bit_cast<std::uint64_t>(v), 8); }
    void bytes(const std::string& s) {
        buffer_.append(s);
        spill();
    }
    // Hands everything collected so far to the sink; call once at the end.
    void flush() {
        if (!buffer_.empty()) {
            sink_.write(buffer_);
            buffer_.clear();
        }
    }

  private:
    static constexpr std::size_t chunk = std::size_t{1} << 20;

    void put(std::uint64_t v, int width) {
        for (int i = 0; i < width; ++i) {
            buffer_.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
        }
        spill();
    }
    void spill() {
        if (buffer_.size() >= chunk) {
            flush();
        }
    }

    byte_sink& sink_;
    std::string buffer_;
};

}  // namespace scenario
