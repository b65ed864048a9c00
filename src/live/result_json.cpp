#include "live/result_json.hpp"

#include <string_view>

#include "model/cella.hpp"
#include "model/voce.hpp"
#include "render/marks.hpp"
#include "report/counts.hpp"

namespace scenario::live {

const char* kind_name(element_kind kind) {
    constexpr const char* names[element_kinds] = {
        "station",  "signal",   "board",    "speed_board", "slowdown",  "tunnel",
        "speed",    "gradient", "adhesion", "curve",       "code_point"};
    return names[static_cast<std::size_t>(kind)];
}

namespace {

// The one field of its cells a profile step shows.
const char* step_field(element_kind kind) {
    switch (kind) {
        case element_kind::speed:
            return "vel_limite";
        case element_kind::gradient:
            return "pendenza";
        case element_kind::adhesion:
            return "aderenza";
        default:
            return nullptr;
    }
}

template <typename Record, typename Fields>
void write_values(const Record& r, const Fields& fields, const char* only, json_writer& json) {
    json.key("values");
    json.begin_object();
    for_each_field(fields, [&](const auto& field) {
        if constexpr (!std::decay_t<decltype(field)>::is_text) {
            if (only == nullptr || std::string_view(field.name) == only) {
                json.member(field.name, static_cast<std::int64_t>(field.stored(r)));
            }
        }
    });
    json.end_object();
}

// What the page's tooltip says of an element: the picture's own words, but for a
// station and a profile step, and a tunnel, whose type is said as its row wrote it.
std::string detail_of(const run_state& state, const element& e) {
    const std::string to = std::to_string(e.end.value_or(e.position));
    switch (e.kind) {
        case element_kind::station:
            return state.voci[static_cast<std::size_t>(e.entry)].nome + " at " +
                   std::to_string(e.position) + " m";
        case element_kind::tunnel: {
            const int stored = state.celle[static_cast<std::size_t>(e.cell)].montagna;
            return "tunnel " + std::to_string(e.position) + "-" + to + " m, type " +
                   std::to_string(e.row >= 0 ? e.value : stored) + " (stored as montagna " +
                   std::to_string(stored) + ")";
        }
        case element_kind::speed:
            return "speed limit (km/h) " + std::to_string(e.value) + " from " +
                   std::to_string(e.position) + " to " + to + " m";
        case element_kind::gradient:
            return "gradient " + std::to_string(e.value) + " from " + std::to_string(e.position) +
                   " to " + to + " m";
        case element_kind::adhesion:
            return "adhesion " + std::to_string(e.value) + " from " + std::to_string(e.position) +
                   " to " + to + " m";
        default:
            return render::mark_detail(state, e);
    }
}

}  // namespace

void write_element_record(const compiled_scenario& drawn, std::size_t id, json_writer& json) {
    const run_state& state = drawn.state;
    const element& e = drawn.elements().all()[id];
    json.begin_object();
    json.member("id", static_cast<std::int64_t>(id));
    json.member("kind", kind_name(e.kind));
    const bool named = e.kind == element_kind::station || e.kind == element_kind::board;
    const bool has_entry = e.entry >= 0 && e.entry < numero_voci;
    if (named && has_entry && !state.voci[static_cast<std::size_t>(e.entry)].nome.empty()) {
        json.member_document("name", state.voci[static_cast<std::size_t>(e.entry)].nome);
    } else {
        json.member_null("name");
    }
    json.member("position", static_cast<std::int64_t>(e.position));
    if (e.end) {
        json.member("end", static_cast<std::int64_t>(*e.end));
    } else {
        json.member_null("end");
    }
    const bool has_cell = e.cell >= 0 && static_cast<std::size_t>(e.cell) < state.celle.size();
    if (has_cell) {
        json.member("cell", e.cell);
    } else {
        json.member_null("cell");
    }
    if (e.kind == element_kind::station && has_entry) {
        json.member("entry", e.entry);
        write_values(state.voci[static_cast<std::size_t>(e.entry)], voce_fields, nullptr, json);
    } else if (has_cell) {
        json.member_null("entry");
        write_values(state.celle[static_cast<std::size_t>(e.cell)], cella_fields,
                     step_field(e.kind), json);
    } else {
        json.member_null("entry");
        json.member_null("values");
    }
    json.member_document("detail", detail_of(state, e));
    const std::vector<source_row>& rows = state.trace.rows;
    if (e.row >= 0 && static_cast<std::size_t>(e.row) < rows.size()) {
        const source_row& row = rows[static_cast<std::size_t>(e.row)];
        json.member("document",
                    row.document == source_document::line ? drawn.line_path : drawn.train_path);
        json.member("line", row.line);
    } else {
        json.member_null("document");
        json.member_null("line");
    }
    json.end_object();
}

void write_status(const compiled_scenario& compiled, json_writer& json) {
    json.begin_object();
    json.key("counts");
    json.begin_object();
    for (const named_count& n : counts_of(compiled.state)) {
        json.member(n.key, n.value);
    }
    json.end_object();
    json.key("files");
    json.begin_array();
    for (const planned_file& f : compiled.files) {
        json.begin_object();
        json.member("name", f.name);
        json.member("size", static_cast<std::int64_t>(f.size));
        json.end_object();
    }
    json.end_array();
    json.end_object();
}

}  // namespace scenario::live
