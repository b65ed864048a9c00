#pragma once

#include <ostream>

#include "cli/json_writer.hpp"
#include "model/cella.hpp"
#include "model/tracciato.hpp"
#include "model/voce.hpp"

namespace scenario::cli {

// The name of a cell kind ("segnale", "stazione", ...), or "" for 0 and unknown kinds.
const char* nome_tipo(tipo tipo_cella);

// A grid cell holds something when it carries an element or a marker; the track
// profile (montagna, vel_limite, pendenza, aderenza) is in nearly every cell.
bool holds_something(const cella& c);

// Tables, one row per record, cell or point; field names as in the model.
void print_header_table(const tabella_voci& voci, std::ostream& out);
void print_grid_table(const griglia& celle, bool all, std::ostream& out);
void print_plan_table(const tracciato_linea& plan, bool all, std::ostream& out);

// The same rows as JSON arrays of objects.
void write_header_json(const tabella_voci& voci, json_writer& json);
void write_grid_json(const griglia& celle, bool all, json_writer& json);
void write_plan_json(const tracciato_linea& plan, bool all, json_writer& json);

}  // namespace scenario::cli
