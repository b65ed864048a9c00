#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "model/cella.hpp"
#include "model/tracciato.hpp"
#include "model/voce.hpp"

namespace scenario {

// A binary scenario file that cannot be decoded: the byte offset of the first value
// that could not be read, and why.
class decode_error : public std::runtime_error {
  public:
    decode_error(std::uint64_t offset, const std::string& why)
        : std::runtime_error(why), offset_(offset) {}
    std::uint64_t offset() const { return offset_; }

  private:
    std::uint64_t offset_;
};

// The header file: exactly 87 records and nothing after them.
tabella_voci decode_header(std::string_view bytes);

// The grid file: a one-dimensional array header (lower bound 0), then 15 bytes a cell.
griglia decode_grid(std::string_view bytes);

// The line plan file: a two-dimensional array header (the metre index pair first, as
// the encoder writes it), then tagged values: 0 empty, 2 a 16-bit integer, 5 a double.
tracciato_linea decode_plan(std::string_view bytes);

}  // namespace scenario
