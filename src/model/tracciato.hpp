#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include "model/zeroed_block.hpp"

namespace scenario {

// Kind of a plan coordinate; the values are the tags of the line plan file.
enum class tipo_valore : std::uint8_t { vuoto = 0, intero = 2, doppio = 5 };

// The plan of the line: two coordinates per metre, metres 0 to E, each coordinate
// empty, a 16-bit integer or a double. The coordinates are kept in file order (all
// first coordinates, then all second ones), each in a slot of ten bytes that holds its
// tagged value as the line plan file does: a 16-bit little-endian tag, then the value
// in little-endian bytes (eight for a double, two for an integer, then padding). A run
// of doubles is thus already the file's bytes and goes to the file as it stands.
class tracciato_linea {
  public:
    static constexpr std::size_t slot_bytes = 10;

    tracciato_linea() = default;
    // Creates metres 0 to ultimo_metro, every coordinate empty.
    explicit tracciato_linea(std::int64_t ultimo_metro);
    tracciato_linea(const tracciato_linea& o);
    tracciato_linea& operator=(const tracciato_linea& o);
    // A moved-from plan is empty (esiste() is false).
    tracciato_linea(tracciato_linea&& o) noexcept
        : metres_(std::exchange(o.metres_, 0)),
          bytes_(std::exchange(o.bytes_, 0)),
          slots_(std::move(o.slots_)),
          kinds_(std::move(o.kinds_)),
          doubles_in_block_(std::move(o.doubles_in_block_)) {}
    tracciato_linea& operator=(tracciato_linea&& o) noexcept {
        metres_ = std::exchange(o.metres_, 0);
        bytes_ = std::exchange(o.bytes_, 0);
        slots_ = std::move(o.slots_);
        kinds_ = std::move(o.kinds_);
        doubles_in_block_ = std::move(o.doubles_in_block_);
        return *this;
    }

    bool esiste() const { return bytes_ != 0; }
    // E: the last metre index (the plan has E + 1 points).
    std::int64_t ultimo_metro() const { return static_cast<std::int64_t>(metres_) - 1; }
    std::size_t punti() const { return metres_; }

    tipo_valore kind(std::int64_t metro, int coordinata) const {
        return static_cast<tipo_valore>(kinds_[index(metro, coordinata)]);
    }
    // The value as a number; an empty coordinate reads as 0.
    double value(std::int64_t metro, int coordinata) const {
        return value_of(slot(metro, coordinata));
    }
    // Inline: the line reader sets about two million coordinates per route.
    void set_integer(std::int64_t metro, int coordinata, std::int16_t v) {
        char* s = retag(index(metro, coordinata), tipo_valore::intero);
        store(s + 2, v);
    }
    void set_double(std::int64_t metro, int coordinata, double v) {
        char* s = retag(index(metro, coordinata), tipo_valore::doppio);
        store(s + 2, v);
    }

    // Sets metres primo to ultimo (inside the plan) of both coordinates to doubles, in
    // order, each metre's pair coming from next(): the line reader draws about a million
    // metres this way. One pass writes the slots; the kinds are brought up to date after.
    template <typename F>
    void set_doubles(std::int64_t primo, std::int64_t ultimo, F&& next) {
        if (ultimo < primo) {
            return;
        }
        char* a = slot(primo, 0);
        char* b = slot(primo, 1);
        constexpr auto tag = static_cast<std::uint16_t>(tipo_valore::doppio);
        for (std::int64_t m = primo; m <= ultimo; ++m, a += slot_bytes, b += slot_bytes) {
            const auto [x, y] = next();
            store(a, tag);
            store(a + 2, x);
            store(b, tag);
            store(b + 2, y);
        }
        const auto count = static_cast<std::size_t>(ultimo - primo + 1);
        mark_doubles(index(primo, 0), count);
        mark_doubles(index(primo, 1), count);
    }

    // Read-only views of every coordinate in storage order (index = coordinata x
    // punti() + metro), as kind bytes and as numbers.
    class kind_view {
      public:
        explicit kind_view(const tracciato_linea& t) : t_(t) {}
        std::uint8_t operator[](std::size_t i) const { return t_.kinds_[i]; }
        std::size_t size() const { return t_.valori(); }

      private:
        const tracciato_linea& t_;
    };
    class value_view {
      public:
        explicit value_view(const tracciato_linea& t) : t_(t) {}
        double operator[](std::size_t i) const { return value_of(t_.slot_at(i)); }
        std::size_t size() const { return t_.valori(); }

      private:
        const tracciato_linea& t_;
    };
    kind_view kinds() const { return kind_view(*this); }
    value_view values() const { return value_view(*this); }

    // For the encoder: the number of coordinates (2 x points), their slots in file
    // order, and whether a block of slots_per_block slots holds doubles only.
    static constexpr std::size_t slots_per_block = 4096;
    std::size_t valori() const { return 2 * metres_; }
    std::string_view slots() const { return {slots_.data(), bytes_}; }
    bool block_all_doubles(std::size_t block) const {
        const std::size_t first = block * slots_per_block;
        const std::size_t size = std::min(slots_per_block, valori() - first);
        return doubles_in_block_[block] == size;
    }

    bool operator==(const tracciato_linea& o) const;

  private:
    std::size_t index(std::int64_t metro, int coordinata) const {
        return static_cast<std::size_t>(coordinata) * metres_ + static_cast<std::size_t>(metro);
    }
    // Writes the tag of slot i, keeping the count of doubles of its block.
    char* retag(std::size_t i, tipo_valore kind) {
        // The old kind comes from kinds_, not from the slot: reading a slot before it is
        // first written would fault its page in twice (once to read, once to write).
        const bool was_double = kinds_[i] == static_cast<std::uint8_t>(tipo_valore::doppio);
        const bool is_double = kind == tipo_valore::doppio;
        if (was_double != is_double) {
            std::uint32_t& count = doubles_in_block_[i / slots_per_block];
            count = is_double ? count + 1 : count - 1;
        }
        kinds_[i] = static_cast<std::uint8_t>(kind);
        char* s = slots_.data() + slot_bytes * i;
        store(s, static_cast<std::uint16_t>(kind));
        return s;
    }
    // Records slots first to first + count - 1 as doubles in kinds_ and in the counts.
    void mark_doubles(std::size_t first, std::size_t count);
    static double value_of(const char* s) {
        switch (static_cast<tipo_valore>(load<std::uint16_t>(s))) {
            case tipo_valore::doppio:
                return load<double>(s + 2);
            case tipo_valore::intero:
                return load<std::int16_t>(s + 2);
            default:
                return 0.0;
        }
    }
    const char* slot_at(std::size_t i) const { return slots_.data() + slot_bytes * i; }
    const char* slot(std::int64_t metro, int coordinata) const {
        return slots_.data() + slot_bytes * index(metro, coordinata);
    }
    char* slot(std::int64_t metro, int coordinata) {
        return slots_.data() + slot_bytes * index(metro, coordinata);
    }

    template <typename T>
    static T load(const char* p) {
        unsigned char bytes[sizeof(T)];
        std::memcpy(bytes, p, sizeof bytes);
        if constexpr (std::endian::native != std::endian::little) {
            for (std::size_t i = 0; i < sizeof bytes / 2; ++i) {
                std::swap(bytes[i], bytes[sizeof bytes - 1 - i]);
            }
        }
        T v;
        std::memcpy(&v, bytes, sizeof v);
        return v;
    }
    template <typename T>
    static void store(char* p, T v) {
        unsigned char bytes[sizeof(T)];
        std::memcpy(bytes, &v, sizeof bytes);
        if constexpr (std::endian::native != std::endian::little) {
            for (std::size_t i = 0; i < sizeof bytes / 2; ++i) {
                std::swap(bytes[i], bytes[sizeof bytes - 1 - i]);
            }
        }
        std::memcpy(p, bytes, sizeof bytes);
    }

    std::size_t metres_ = 0;
    std::size_t bytes_ = 0;
    zeroed_block slots_;               // every slot starts empty: tag 0, zero padding
    std::vector<std::uint8_t> kinds_;  // the slots' tags again, one byte each
    std::vector<std::uint32_t> doubles_in_block_;
};

}  // namespace scenario
