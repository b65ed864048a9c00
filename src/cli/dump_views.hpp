#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "model/cella.hpp"
#include "model/tracciato.hpp"
#include "model/voce.hpp"

namespace scenario::cli {

// What `scenario dump` shows of each record, cell and point: one column per field of
// the model, named as in the model, in the order of the file, and beside a stored
// value the value as the author wrote it, in a column of its own:
//   grid:   from_m after cella (where the cell begins: cell i covers 50 i to 50 i + 50 m),
//           tipo after tipo_cella (the kind's name), speed_kmh after vel_limite (steps of
//           5 km/h), gradient after pendenza (stored + 100);
//   header: clock after orario (orario as hh:mm:ss in the entries of stations and
//           boards, 1 to 80, where it is not 0; in entry 86 the train's clock,
//           numero_c:numero_d:numero_e);
//   plan:   tipo_x and tipo_y, the name of each value's tag, and in JSON its number too
//           (tag_x, tag_y).
// The text and the JSON show the same columns from the same lists.

// A value as the dump shows it: none ("-" in the table, null in JSON), an integer, a
// double, the tool's own text, or text from the documents (Windows-1252, shown through
// windows1252_to_utf8 like all document text).
struct windows1252_bytes {
    std::string_view bytes;
};
using shown_value =
    std::variant<std::monostate, std::int64_t, double, std::string_view, windows1252_bytes>;

struct dump_column {
    std::string name;
    bool right = true;           // numbers to the right, texts to the left
    std::size_t width = 0;       // the widest value expected
    bool in_table = true;        // false: in JSON only
    bool last_in_table = false;  // at the end of the table's line (a text of any length)
};

// Where the values of a row go, column by column, in the order of the column list.
class row_sink {
  public:
    virtual void value(const shown_value& v) = 0;
    virtual void end_row() = 0;

  protected:
    ~row_sink() = default;
};

std::vector<dump_column> header_columns();
void header_row(int k, const voce& v, row_sink& row);

// `cells` and `points` size the columns of the cell and metre numbers.
std::vector<dump_column> grid_columns(std::int64_t cells);
void grid_row(std::int64_t i, const cella& c, row_sink& row);

std::vector<dump_column> plan_columns(std::int64_t points);
void plan_row(std::int64_t metre, const valore_piano& x, const valore_piano& y, row_sink& row);

// The name of a cell kind: the model's ("vuota", "segnale", ...), or "unknown kind N".
std::string kind_name(tipo tipo_cella);

// A grid cell holds something when it carries an element or a marker; the track
// profile (montagna, vel_limite, pendenza, aderenza) is in nearly every cell.
bool holds_something(const cella& c);
// A plan point is set when either coordinate is not empty.
bool point_set(const valore_piano& x, const valore_piano& y);

}  // namespace scenario::cli
