#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "model/reading_trace.hpp"
#include "model/run_state.hpp"

namespace scenario {

// The kinds of element a compiled scenario shows, in the order they are numbered.
enum class element_kind : std::uint8_t {
    station,
    signal,
    board,        // an indicator board ("cartello_indicatore")
    speed_board,  // a maximum-speed board ("indicatori_vmax")
    slowdown,
    tunnel,
    speed,     // a step of the speed limit profile
    gradient,  // a step of the gradient profile
    adhesion,  // a step of the adhesion profile
    curve,
    code_point,
};
constexpr std::size_t element_kinds = 11;

// One element. A point element lies where its cell puts it (50 m before the cell's
// start); a stretch or a profile step runs from position to end (excluded).
struct element {
    element_kind kind = element_kind::station;
    std::int32_t position = 0;
    std::optional<std::int32_t> end;
    std::int32_t cell = -1;   // the grid cell holding it, or where it begins; -1 for none
    std::int32_t entry = -1;  // the header entry holding it (a station), -1 for none
    std::int32_t row = -1;    // the trace row that made it, -1 for none
    // Its value: a profile step's (km/h, per mille, adhesion as stored), a slowdown's
    // speed, a tunnel's type as its row wrote it (the stored type when it has no row).
    std::int32_t value = 0;
    bool automatic = false;  // a code point the code placement pass placed
};

// Every element of a compiled scenario, numbered once in one order (stations, signals,
// boards, speed boards, slowdowns, tunnels, the steps of the speed, gradient and
// adhesion profiles, curves, code points; each kind in route order, curves in document
// order), and what joins them to the rows of the documents: row to cells, row to header
// entry, cell to row, row to elements, document line to row. The drawing numbers its
// elements by it; hover and the live page's element list read it.
class element_index {
  public:
    element_index() = default;
    explicit element_index(const run_state& state);

    std::span<const element> all() const { return elements_; }
    // The number of the first element of a kind, and its elements.
    std::size_t first(element_kind kind) const { return first_[static_cast<std::size_t>(kind)]; }
    std::span<const element> of(element_kind kind) const;

    // The trace row a document line was read into.
    std::optional<std::int32_t> row_at(source_document document, int line) const;
    // The header entry a row filled, -1 for none.
    std::int32_t entry_of(std::int32_t row) const;
    // The cells a row wrote, in grid order.
    std::span<const std::int32_t> cells_of(std::int32_t row) const;
    // The elements a row made (numbers into all()), in their order.
    std::span<const std::int32_t> elements_of(std::int32_t row) const;

  private:
    std::vector<element> elements_;
    std::array<std::size_t, element_kinds + 1> first_{};
    // Rows by document line (the first row of a line first).
    struct line_row {
        source_document document;
        int line;
        std::int32_t row;
        auto operator<=>(const line_row&) const = default;
    };
    std::vector<line_row> lines_;
    std::vector<std::int32_t> entries_;
    // Per row, its cells and its elements, each list in one array (see group()).
    std::vector<std::int32_t> cell_starts_, cells_;
    std::vector<std::int32_t> element_starts_, element_numbers_;
};

}  // namespace scenario
