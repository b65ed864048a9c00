#include "compiler/line_reader.hpp"

#include <array>
#include <vector>

#include "compiler/keyword_checks.hpp"
#include "compiler/line_body.hpp"
#include "compiler/messages.hpp"
#include "compiler/plan_drawing.hpp"
#include "compiler/profiles.hpp"
#include "compiler/progressive_ordina.hpp"
#include "model/reader_failure.hpp"

namespace scenario {

namespace {

constexpr std::int32_t longest_route = 1000000;
constexpr int general_remarks = 10;

outcome read_route_length(reading& r) {
    const std::int32_t length = r.chainage();
    r.state.voci[voce_percorso].fine_area = length;
    r.trace_row(voce_percorso);
    if (length > longest_route) {
        return r.end_with(1, std::nullopt, r.fields.last());
    }
    const std::int64_t last_metre = std::int64_t{length} + 7000;
    const std::int64_t n = ultima_cella(length);
    // A negative length can leave too few cells for the profiles (or no plan at all).
    if (n < 2) {
        throw reader_failure("route length " + std::to_string(length) + " leaves no track grid");
    }
    r.state.celle.assign(static_cast<std::size_t>(n) + 1, cella{});
    r.state.trace.cells.assign(static_cast<std::size_t>(n) + 1, cell_origin{});
    // A profile's fills are disjoint runs of cells: never more than the cells. Room for
    // them is asked for once and touched only as fills are traced.
    for (std::vector<traced_fill>* fills :
         {&r.state.trace.profiles.gradient, &r.state.trace.profiles.speed,
          &r.state.trace.profiles.adhesion}) {
        fills->reserve(static_cast<std::size_t>(n) + 1);
    }
    if (r.state.con_tracciato != 0) {
        r.state.tracciato = tracciato_linea(last_metre);
    }
    return outcome::go_on;
}

outcome read_zone(reading& r, int entry) {
    voce& zone = r.state.voci[static_cast<std::size_t>(entry)];
    zone_source source;
    zone.inizio_area = r.number<std::int32_t>();
    source.start_place = r.place_of(r.fields.last());
    zone.fine_area = r.number<std::int32_t>();
    source.end_place = r.place_of(r.fields.last());
    zone.progressiva = r.number<std::int32_t>();
    source.start = zone.inizio_area;
    source.end = zone.fine_area;
    source.flag = zone.progressiva;
    source.row = r.trace_row(entry);
    std::optional<zone_source>& kept = r.zones[static_cast<std::size_t>(entry - voce_zona_tre)];
    if (kept && kept->row >= 0) {
        r.state.trace.rows[static_cast<std::size_t>(kept->row)].entry = -1;  // replaced
    }
    kept = std::move(source);
    return outcome::go_on;
}
outcome read_zone_three(reading& r) {
    return read_zone(r, voce_zona_tre);
}
outcome read_zone_two(reading& r) {
    return read_zone(r, voce_zona_due);
}
outcome read_zone_one(reading& r) {
    return read_zone(r, voce_zona_uno);
}

// Note the order of entry 85: "tre" goes to fine_area, "due" to progressiva.
outcome read_scenery(reading& r, std::int32_t voce::*field) {
    r.state.voci[voce_scenario].*field = r.number<std::int32_t>();
    r.trace_row(voce_scenario);
    return outcome::go_on;
}
outcome read_scenery_one(reading& r) {
    return read_scenery(r, &voce::inizio_area);
}
outcome read_scenery_two(reading& r) {
    return read_scenery(r, &voce::progressiva);
}
outcome read_scenery_three(reading& r) {
    return read_scenery(r, &voce::fine_area);
}

outcome read_repetition(reading& r) {
    voce& train = r.state.voci[voce_treno];
    train.inizio_area = r.number<std::int32_t>();
    const field_place start_place = r.fields.last();
    train.fine_area = r.number<std::int32_t>();
    const field_place end_place = r.fields.last();
    r.trace_row(voce_treno);
    if (train.inizio_area % 50 != 0) {
        return r.end_with(3, std::nullopt, start_place);
    }
    if (train.fine_area % 50 != 0) {
        return r.end_with(4, std::nullopt, end_place);
    }
    if (contains_exact(r.keyword, "4")) {
        train.progressiva = 4;
    } else if (contains_exact(r.keyword, "9")) {
        train.progressiva = 9;
    } else {
        return r.end_with(5, std::nullopt, r.keyword_place);
    }
    if (train.fine_area == 0) {
        train.progressiva = 0;
    }
    return outcome::go_on;
}

// The general part's readers, in the order of its keywords.
constexpr reader_binding readers[] = {
    {"lunghezza percorso", read_route_length},
    {"progressiva chilometrica tre", read_zone_three},
    {"progressiva chilometrica due", read_zone_two},
    {"progressiva chilometrica uno", read_zone_one},
    {"sfondo uno", read_scenery_one},
    {"sfondo due", read_scenery_two},
    {"sfondo tre", read_scenery_three},
    {"ripetizione segnali 4 codici", read_repetition},
};

// The ordering moves the zones whole (or clears them): each zone row fills the entry
// that now holds its values, or none.
void trace_ordered_zones(reading& r) {
    std::array<bool, 3> taken{};
    for (const std::optional<zone_source>& z : r.zones) {
        if (!z || z->row < 0) {
            continue;
        }
        std::int32_t entry = -1;
        for (const int i : {voce_zona_tre, voce_zona_due, voce_zona_uno}) {
            const voce& v = r.state.voci[static_cast<std::size_t>(i)];
            const std::int64_t end = std::int64_t{z->end} + (z->flag == 1 ? 100 : 0);
            bool& used = taken[static_cast<std::size_t>(i - voce_zona_tre)];
            if (!used && v.inizio_area == z->start && v.fine_area == end &&
                v.progressiva == z->flag && (end != 0 || z->start != 0)) {
                entry = i;
                used = true;
                break;
            }
        }
        r.state.trace.rows[static_cast<std::size_t>(z->row)].entry = entry;
    }
}

// Finds "[generale]". False after error 102.
bool find_general(reading& r) {
    while (true) {
        r.row_start = r.fields.at_line_start();
        r.read_keyword();
        if (r.fields.at_end()) {
            // Also when this last field is "[generale]" itself.
            r.end_with(102, std::nullopt, r.keyword_place);
            return false;
        }
        if (contains(r.keyword, "[generale]")) {
            warn_before_general(r);
            return true;
        }
        if (r.row_start) {
            check_before_general(r);
        }
    }
}

// The general part, up to the first section header. False after a recorded error.
bool read_general_part(reading& r) {
    r.part = section::general;
    while (!r.fields.at_end()) {
        r.row_start = r.fields.at_line_start();
        r.fields.forget_double_comma();
        r.read_keyword();
        if (r.fields.at_end()) {
            break;
        }
        // Up to ten remarks in a row; the end of the document is not tested between them.
        for (int i = 0; i < general_remarks && contains_exact(r.keyword, "-"); ++i) {
            check_remark(r, general_keywords());
            const bool starts = r.fields.at_line_start();
            r.read_keyword();
            r.row_start = starts || r.row_start;
        }
        if (r.act_on_keyword(general_keywords()) == outcome::end_reading) {
            return false;
        }
        if (section_header(r.keyword)) {
            r.header_line = r.keyword_place.line;
            finish_general_part(r, true);
            return true;
        }
    }
    finish_general_part(r, false);
    return true;
}

}  // namespace

std::span<const keyword_entry> general_keywords() {
    static const std::vector<keyword_entry> table = bind_readers(document_part::general, readers);
    return table;
}

bool read_line_document(reading& r) {
    if (!r.store.exists(r.line_name)) {
        record_error(r.state, 101, std::nullopt, error_place{r.line_name, 0, 0, 0, {}},
                     error_message(101, say(phrase::detail_document, {r.line_name})));
        r.mark_stop();
        return false;
    }
    r.document = r.line_name;
    r.open(r.line_name, r.whole_document(r.line_name, "line"), source_document::line);
    if (!find_general(r) || !read_general_part(r)) {
        return false;
    }

    progressive_ordina(r.state.voci);
    trace_ordered_zones(r);
    r.tunnels.clear();
    r.board_entry = voce_primo_cartello;
    r.gradient.cursor = 0;
    r.drawing_cursor = 2;
    r.part = section::body;
    if (r.state.con_tracciato != 0) {
        start_plan(r.state.tracciato);
    }
    if (r.read_entries(body_keywords()) == outcome::end_reading) {
        return false;
    }

    r.close_and_delete();
    r.entry_place.reset();
    finish_profile(r, profile_kind::gradient);
    finish_plan(r);
    return true;
}

}  // namespace scenario
