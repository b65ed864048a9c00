#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <type_traits>

#include "files/byte_sink.hpp"

namespace scenario {

// Stores v at p as little-endian bytes, whatever the host's byte order.
template <typename T>
inline char* put_le(char* p, T v) {
    static_assert(std::is_trivially_copyable_v<T>);
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(p, &v, sizeof v);
    } else {
        unsigned char bytes[sizeof v];
        std::memcpy(bytes, &v, sizeof v);
        for (std::size_t i = 0; i < sizeof v; ++i) {
            p[i] = static_cast<char>(bytes[sizeof v - 1 - i]);
        }
    }
    return p + sizeof v;
}

// A fixed buffer of encoded bytes handed to a sink in large sequential pieces. The
// encoder asks for room for a run of values, writes them through a plain pointer
// and commits the pointer; a full buffer goes to the sink in one write.
class block_buffer {
  public:
    static constexpr std::size_t capacity = std::size_t{1} << 20;

    explicit block_buffer(byte_sink& sink, std::size_t size = capacity)
        : sink_(sink), size_(size), data_(std::make_unique_for_overwrite<char[]>(size)) {}
    // A buffer whose bytes go to the sink by position, the first at offset `at`.
    block_buffer(byte_sink& sink, std::size_t size, std::uint64_t at) : block_buffer(sink, size) {
        at_ = at;
        positioned_ = true;
    }
    block_buffer(const block_buffer&) = delete;
    block_buffer& operator=(const block_buffer&) = delete;

    // A pointer with at least n bytes of room after it (n at most the buffer's size).
    char* room(std::size_t n) {
        if (size_ - used_ < n) {
            flush();
        }
        return data_.get() + used_;
    }
    // Marks the bytes up to end as written; end lies within the last room() asked for.
    void commit(const char* end) { used_ = static_cast<std::size_t>(end - data_.get()); }
    // Hands everything written so far to the sink; call once at the end.
    void flush() {
        if (used_ > 0) {
            const std::string_view bytes(data_.get(), used_);
            if (positioned_) {
                sink_.write_at(at_, bytes);
                at_ += used_;
            } else {
                sink_.write(bytes);
            }
            used_ = 0;
        }
    }

  private:
    byte_sink& sink_;
    std::size_t size_;
    std::unique_ptr<char[]> data_;
    std::size_t used_ = 0;
    bool positioned_ = false;
    std::uint64_t at_ = 0;  // where the next flush goes, when positioned
};

}  // namespace scenario
