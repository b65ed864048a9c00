#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace scenario {

// Kind of a plan coordinate; the values are the tags of the line plan file.
enum class tipo_valore : std::uint8_t { vuoto = 0, intero = 2, doppio = 5 };

// The plan of the line: two coordinates per metre, metres 0 to E, each coordinate
// empty, a 16-bit integer or a double. Stored compactly (one byte of kind, one
// double of value) in file order: all first coordinates, then all second ones.
class tracciato_linea {
  public:
    tracciato_linea() = default;
    // Creates metres 0 to ultimo_metro, every coordinate empty.
    explicit tracciato_linea(std::int64_t ultimo_metro);

    bool esiste() const { return !kinds_.empty(); }
    // E: the last metre index (the plan has E + 1 points).
    std::int64_t ultimo_metro() const { return metres_ - 1; }
    std::size_t punti() const { return metres_; }

    tipo_valore kind(std::int64_t metro, int coordinata) const {
        return static_cast<tipo_valore>(kinds_[slot(metro, coordinata)]);
    }
    // The value as a number; an empty coordinate reads as 0.
    double value(std::int64_t metro, int coordinata) const {
        return values_[slot(metro, coordinata)];
    }
    // Inline: the line reader sets about two million coordinates per route.
    void set_integer(std::int64_t metro, int coordinata, std::int16_t v) {
        const std::size_t i = slot(metro, coordinata);
        kinds_[i] = static_cast<std::uint8_t>(tipo_valore::intero);
        values_[i] = v;
    }
    void set_double(std::int64_t metro, int coordinata, double v) {
        const std::size_t i = slot(metro, coordinata);
        kinds_[i] = static_cast<std::uint8_t>(tipo_valore::doppio);
        values_[i] = v;
    }

    // Raw storage in file order, for the encoder.
    const std::vector<std::uint8_t>& kinds() const { return kinds_; }
    const std::vector<double>& values() const { return values_; }

    bool operator==(const tracciato_linea&) const = default;

  private:
    std::size_t slot(std::int64_t metro, int coordinata) const {
        return static_cast<std::size_t>(coordinata) * metres_ + static_cast<std::size_t>(metro);
    }

    std::size_t metres_ = 0;
    std::vector<std::uint8_t> kinds_;
    std::vector<double> values_;
};

}  // namespace scenario
