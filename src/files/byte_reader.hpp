#pragma once

#include <bit>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include "files/file_error.hpp"

namespace scenario {

// Reads little-endian values from a byte string. A value the bytes cannot hold throws
// decode_error at the offset where the value starts, naming the field and the record
// being read ("valore2 of cell 57").
class byte_reader {
  public:
    explicit byte_reader(std::string_view bytes) : bytes_(bytes) {}

    std::uint64_t offset() const { return at_; }
    std::uint64_t left() const { return bytes_.size() - at_; }

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
    std::string text(std::size_t n, const char* field) {
        need(n, field);
        std::string out(bytes_.substr(at_, n));
        at_ += n;
        return out;
    }
    // A text after its length, an integer of L's width ("the length of field").
    template <typename L>
    std::string counted_text(const char* field) {
        if (left() < sizeof(L)) {
            need(sizeof(L), ("the length of " + std::string(field)).c_str());
        }
        return text(integer<L>(field), field);
    }

    void skip(std::uint64_t n, const char* field) {
        need(n, field);
        at_ += static_cast<std::size_t>(n);
    }

    // Throws unless every byte has been read.
    void expect_end(const std::string& after) const {
        if (left() != 0) {
            throw decode_error(at_, std::to_string(left()) + " bytes too many after " + after);
        }
    }

    // Throws unless n more bytes are there.
    void need(std::uint64_t n, const char* field) const {
        if (left() < n) {
            throw decode_error(at_, "the file ends inside " + what(field) + " (" +
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
        need(width, field);
        std::uint64_t v = 0;
        for (std::size_t i = 0; i < width; ++i) {
            v |= std::uint64_t{static_cast<unsigned char>(bytes_[at_ + i])} << (8 * i);
        }
        at_ += width;
        return v;
    }

    std::string_view bytes_;
    std::size_t at_ = 0;
    std::string record_;
};

}  // namespace scenario
