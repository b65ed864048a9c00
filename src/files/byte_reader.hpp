#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

#include "files/file_error.hpp"

namespace scenario {

// Where a decoder's bytes come from: a file read piece by piece (file_source,
// files/file_ops.hpp), or in the tests memory.
class byte_source {
  public:
    virtual ~byte_source() = default;
    virtual std::uint64_t size() const = 0;
    // Copies the n bytes at offset into `to`; offset + n is at most size(). A source
    // that cannot deliver them throws file_error.
    virtual void read_at(std::uint64_t offset, char* to, std::size_t n) = 0;
};

// Reads little-endian values from bytes `from` to `to` of a source, through a buffer
// of a fixed size: the memory it takes does not depend on the number of bytes. A
// value the bytes cannot hold throws decode_error at the offset where the value
// starts (counted from the start of the source), naming the field and the record
// being read ("valore2 of cell 57").
class byte_reader {
  public:
    static constexpr std::size_t default_buffer = std::size_t{64} << 10;
    // The buffer holds at least the widest value (a text may be longer: it is read
    // past the buffer).
    static constexpr std::size_t least_buffer = 8;

    byte_reader(byte_source& source, std::uint64_t from, std::uint64_t to,
                std::size_t buffer_bytes = default_buffer)
        : source_(&source),
          capacity_(std::max(buffer_bytes, least_buffer)),
          buffer_(std::make_unique_for_overwrite<char[]>(capacity_)),
          base_(from),
          end_(to) {}

    std::uint64_t offset() const { return base_ + at_; }
    std::uint64_t left() const { return end_ - offset(); }

    // Names the record the next reads belong to, for messages.
    void record(std::string name) { record_ = std::move(name); }

    // An integer of T's width and signedness.
    template <typename T>
    T integer(const char* field) {
        static_assert(std::is_integral_v<T> && sizeof(T) <= 8);
        return static_cast<T>(take(sizeof(T), field));
    }
    std::uint16_t u16(const char* field) { return integer<std::uint16_t>(field); }
    std::int16_t i16(const char* field) { return integer<std::int16_t>(field); }
    std::int32_t i32(const char* field) { return integer<std::int32_t>(field); }
    double f64(const char* field) { return std::bit_cast<double>(take(8, field)); }
    std::string text(std::size_t n, const char* field);
    // A text after its length, an integer of L's width ("the length of field").
    template <typename L>
    std::string counted_text(const char* field) {
        if (left() < sizeof(L)) {
            need(sizeof(L), ("the length of " + std::string(field)).c_str());
        }
        return text(integer<L>(field), field);
    }

    void skip(std::uint64_t n, const char* field);

    // Throws unless every byte has been read.
    void expect_end(const std::string& after) const {
        if (left() != 0) {
            throw decode_error(offset(), std::to_string(left()) + " bytes too many after " + after);
        }
    }

    // Throws unless n more bytes are there.
    void need(std::uint64_t n, const char* field) const {
        if (left() < n) {
            throw decode_error(offset(), "the file ends inside " + what(field) + " (" +
                                             std::to_string(n) + " bytes needed, " +
                                             std::to_string(left()) + " left)");
        }
    }

    // "field of record", or the field alone.
    std::string what(const char* field) const {
        return record_.empty() ? std::string(field) : std::string(field) + " of " + record_;
    }

  private:
    std::uint64_t take(std::size_t width, const char* field) {
        if (held_ - at_ < width) {
            fetch(width, field);
        }
        const char* p = buffer_.get() + at_;
        std::uint64_t v = 0;
        for (std::size_t i = 0; i < width; ++i) {
            v |= std::uint64_t{static_cast<unsigned char>(p[i])} << (8 * i);
        }
        at_ += width;
        return v;
    }
    // Makes n bytes (at most the buffer's size) readable from at_, or throws.
    void fetch(std::size_t n, const char* field);

    byte_source* source_;
    std::size_t capacity_;
    std::unique_ptr<char[]> buffer_;
    std::uint64_t base_;      // the offset of buffer_[0]
    std::uint64_t end_;       // the offset after the last byte to read
    std::size_t at_ = 0;      // the next byte, in buffer_
    std::size_t held_ = 0;    // bytes in buffer_
    std::string record_;
};

}  // namespace scenario
