#include "cli/dump_views.hpp"

#include <string>

#include "cli/text_table.hpp"
#include "text/windows1252.hpp"

namespace scenario::cli {

namespace {

std::string num(std::int64_t v) {
    return std::to_string(v);
}

const char* nome_valore(tipo_valore t) {
    switch (t) {
        case tipo_valore::vuoto:
            return "vuoto";
        case tipo_valore::intero:
            return "intero";
        case tipo_valore::doppio:
            return "doppio";
    }
    return "";
}

bool point_set(const tracciato_linea& plan, std::int64_t m) {
    return plan.kind(m, 0) != tipo_valore::vuoto || plan.kind(m, 1) != tipo_valore::vuoto;
}

std::string coordinate_text(const tracciato_linea& plan, std::int64_t m, int c) {
    switch (plan.kind(m, c)) {
        case tipo_valore::vuoto:
            return "-";
        case tipo_valore::intero:
            return num(static_cast<std::int64_t>(plan.value(m, c)));
        case tipo_valore::doppio:
            return format_double(plan.value(m, c));
    }
    return "";
}

// The columns of a header record after its index: the numbers in the order of the
// file, then the text, the one column of varying width, at the end of the line.
// add(column name, right-aligned, text) is called once per column.
template <typename Add>
void header_row(const voce& v, Add&& add) {
    for_each_field(voce_fields, [&](auto field) {
        if constexpr (!field.is_text) {
            add(field.name, true, num(v.*field.member));
        }
    });
    for_each_field(voce_fields, [&](auto field) {
        if constexpr (field.is_text) {
            add(field.name, false, windows1252_to_utf8(v.*field.member));  // document text
        }
    });
}

// The columns of a cell after its index: the fields in the order of the file, the
// name of the element's kind after its number.
template <typename Add>
void grid_row(const cella& c, Add&& add) {
    for_each_field(cella_fields, [&](auto field) {
        add(field.name, true, num(field.stored(c)));
        if constexpr (is_member<decltype(field), &cella::tipo_cella>()) {
            const char* tipo = nome_tipo(c.tipo_cella);
            add("tipo", false, *tipo != 0 ? tipo : "-");
        }
    });
}

// A record's fields as members of the current object, in list order.
template <typename Fields, typename Record>
void write_fields_json(const Fields& fields, const Record& r, json_writer& json) {
    for_each_field(fields, [&](auto field) {
        if constexpr (field.is_text) {
            json.member_document(field.name, r.*field.member);
        } else {
            json.member(field.name, static_cast<std::int64_t>(field.stored(r)));
        }
    });
}

void coordinate_json(const tracciato_linea& plan, std::int64_t m, int c, json_writer& json) {
    switch (plan.kind(m, c)) {
        case tipo_valore::vuoto:
            json.null();
            return;
        case tipo_valore::intero:
            json.integer(static_cast<std::int64_t>(plan.value(m, c)));
            return;
        case tipo_valore::doppio:
            json.number(plan.value(m, c));
            return;
    }
}

}  // namespace

const char* nome_tipo(tipo tipo_cella) {
    switch (tipo_cella) {
        case tipo::segnale:
            return "segnale";
        case tipo::fine_rallentamento:
            return "fine_rallentamento";
        case tipo::inizio_rallentamento:
            return "inizio_rallentamento";
        case tipo::avviso_rallentamento:
            return "avviso_rallentamento";
        case tipo::preavviso_rallentamento:
            return "preavviso_rallentamento";
        case tipo::indicatore_vmax:
            return "indicatore_vmax";
        case tipo::stazione:
            return "stazione";
        case tipo::segno_montagna:
            return "segno_montagna";
        case tipo::cambio_codice:
            return "cambio_codice";
        case tipo::codice_zero:
            return "codice_zero";
        case tipo::cartello:
            return "cartello";
        default:
            return "";
    }
}

bool holds_something(const cella& c) {
    return c.tipo_cella != tipo::vuota || c.valore1 != 0 || c.valore2 != 0 || c.valore3 != 0 ||
           c.valore4 != 0 || c.tempo_segnale != 0 || c.avvicinamento != 0;
}

void print_header_table(const tabella_voci& voci, std::ostream& out) {
    std::vector<text_table::column> columns{{"voce"}};
    header_row(voce{}, [&](const char* name, bool right, const std::string&) {
        columns.push_back({name, right});
    });
    text_table table(std::move(columns));
    for (std::size_t k = 0; k < voci.size(); ++k) {
        std::vector<std::string> row{num(static_cast<std::int64_t>(k))};
        header_row(voci[k],
                   [&](const char*, bool, std::string text) { row.push_back(std::move(text)); });
        table.add(std::move(row));
    }
    table.print(out);
}

void print_grid_table(const griglia& celle, bool all, std::ostream& out) {
    std::vector<text_table::column> columns{{"cella"}};
    grid_row(cella{}, [&](const char* name, bool right, const std::string&) {
        columns.push_back({name, right});
    });
    text_table table(std::move(columns));
    for (std::size_t i = 0; i < celle.size(); ++i) {
        if (!all && !holds_something(celle[i])) {
            continue;
        }
        std::vector<std::string> row{num(static_cast<std::int64_t>(i))};
        grid_row(celle[i],
                 [&](const char*, bool, std::string text) { row.push_back(std::move(text)); });
        table.add(std::move(row));
    }
    table.print(out);
}

void print_plan_table(const tracciato_linea& plan, bool all, std::ostream& out) {
    text_table table({{"metro"}, {"tipo_x", false}, {"x"}, {"tipo_y", false}, {"y"}});
    for (std::int64_t m = 0; m <= plan.last_metre(); ++m) {
        if (!all && !point_set(plan, m)) {
            continue;
        }
        table.add({num(m), nome_valore(plan.kind(m, 0)), coordinate_text(plan, m, 0),
                   nome_valore(plan.kind(m, 1)), coordinate_text(plan, m, 1)});
    }
    table.print(out);
}

void write_header_json(const tabella_voci& voci, json_writer& json) {
    json.begin_array();
    for (std::size_t k = 0; k < voci.size(); ++k) {
        json.begin_object();
        json.member("voce", static_cast<std::int64_t>(k));
        write_fields_json(voce_fields, voci[k], json);
        json.end_object();
    }
    json.end_array();
}

void write_grid_json(const griglia& celle, bool all, json_writer& json) {
    json.begin_array();
    for (std::size_t i = 0; i < celle.size(); ++i) {
        if (!all && !holds_something(celle[i])) {
            continue;
        }
        json.begin_object();
        json.member("cella", static_cast<std::int64_t>(i));
        write_fields_json(cella_fields, celle[i], json);
        json.end_object();
    }
    json.end_array();
}

void write_plan_json(const tracciato_linea& plan, bool all, json_writer& json) {
    json.begin_array();
    for (std::int64_t m = 0; m <= plan.last_metre(); ++m) {
        if (!all && !point_set(plan, m)) {
            continue;
        }
        json.begin_object();
        json.member("metro", m);
        json.key("x");
        coordinate_json(plan, m, 0, json);
        json.key("y");
        coordinate_json(plan, m, 1, json);
        json.end_object();
    }
    json.end_array();
}

}  // namespace scenario::cli
