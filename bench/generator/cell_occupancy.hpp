#pragma once

#include <cstdint>
#include <vector>

namespace scenario::bench {

// The generator's picture of the grid: cells that hold an element, cells kept free
// for the code points the placement pass will add around a slowdown, and cells where
// a signal would be looked at by that pass and so must not be put.
class cell_occupancy {
  public:
    explicit cell_occupancy(std::int64_t last_cell)
        : state_(static_cast<std::size_t>(last_cell) + 1, 0) {}

    std::int64_t last_cell() const { return static_cast<std::int64_t>(state_.size()) - 1; }
    bool inside(std::int64_t c) const { return c >= 0 && c <= last_cell(); }

    // A cell any element may take.
    bool usable(std::int64_t c) const { return inside(c) && (state_[at(c)] & (taken | kept)) == 0; }
    // A cell a signal may take.
    bool usable_by_signal(std::int64_t c) const {
        return usable(c) && (state_[at(c)] & no_signal) == 0;
    }

    void take(std::int64_t c) { mark(c, c, taken); }
    void keep_free(std::int64_t first, std::int64_t last) { mark(first, last, kept); }
    void forbid_signals(std::int64_t first, std::int64_t last) { mark(first, last, no_signal); }

  private:
    static constexpr std::uint8_t taken = 1;
    static constexpr std::uint8_t kept = 2;
    static constexpr std::uint8_t no_signal = 4;

    static std::size_t at(std::int64_t c) { return static_cast<std::size_t>(c); }
    void mark(std::int64_t first, std::int64_t last, std::uint8_t flag) {
        for (std::int64_t c = first; c <= last; ++c) {
            if (inside(c)) {
                state_[at(c)] |= flag;
            }
        }
    }

    std::vector<std::uint8_t> state_;
};

}  // namespace scenario::bench
