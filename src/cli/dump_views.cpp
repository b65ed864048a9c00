#include "cli/dump_views.hpp"

#include <string>

#include "cli/text_table.hpp"

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

const char* nome_tipo(std::uint8_t tipo_cella) {
    switch (tipo_cella) {
        case segnale:
            return "segnale";
        case fine_rallentamento:
            return "fine_rallentamento";
        case inizio_rallentamento:
            return "inizio_rallentamento";
        case avviso_rallentamento:
            return "avviso_rallentamento";
        case preavviso_rallentamento:
            return "preavviso_rallentamento";
        case indicatore_vmax:
            return "indicatore_vmax";
        case stazione:
            return "stazione";
        case segno_montagna:
            return "segno_montagna";
        case cambio_codice:
            return "cambio_codice";
        case codice_zero:
            return "codice_zero";
        case cartello:
            return "cartello";
        default:
            return "";
    }
}

bool holds_something(const cella& c) {
    return c.tipo_cella != 0 || c.valore1 != 0 || c.valore2 != 0 || c.valore3 != 0 ||
           c.valore4 != 0 || c.tempo_segnale != 0 || c.avvicinamento != 0;
}

void print_header_table(const tabella_voci& voci, std::ostream& out) {
    text_table table({{"voce"},
                      {"tipo_stazione"},
                      {"inizio_area"},
                      {"fine_area"},
                      {"progressiva"},
                      {"opzione_a"},
                      {"numero_a"},
                      {"numero_b"},
                      {"numero_c"},
                      {"numero_d"},
                      {"numero_e"},
                      {"opzione_b"},
                      {"opzione_c"},
                      {"opzione_d"},
                      {"opzione_e"},
                      {"orario"},
                      {"nome", false}});
    for (std::size_t k = 0; k < voci.size(); ++k) {
        const voce& v = voci[k];
        table.add({num(static_cast<std::int64_t>(k)), num(v.tipo_stazione), num(v.inizio_area),
                   num(v.fine_area), num(v.progressiva), num(v.opzione_a), num(v.numero_a),
                   num(v.numero_b), num(v.numero_c), num(v.numero_d), num(v.numero_e),
                   num(v.opzione_b), num(v.opzione_c), num(v.opzione_d), num(v.opzione_e),
                   num(v.orario), v.nome});
    }
    table.print(out);
}

void print_grid_table(const griglia& celle, bool all, std::ostream& out) {
    text_table table({{"cella"},
                      {"tipo_cella"},
                      {"tipo", false},
                      {"valore1"},
                      {"valore2"},
                      {"valore3"},
                      {"valore4"},
                      {"tempo_segnale"},
                      {"avvicinamento"},
                      {"montagna"},
                      {"vel_limite"},
                      {"pendenza"},
                      {"aderenza"}});
    for (std::size_t i = 0; i < celle.size(); ++i) {
        const cella& c = celle[i];
        if (!all && !holds_something(c)) {
            continue;
        }
        const char* tipo = nome_tipo(c.tipo_cella);
        table.add({num(static_cast<std::int64_t>(i)), num(c.tipo_cella), *tipo != 0 ? tipo : "-",
                   num(c.valore1), num(c.valore2), num(c.valore3), num(c.valore4),
                   num(c.tempo_segnale), num(c.avvicinamento), num(c.montagna), num(c.vel_limite),
                   num(c.pendenza), num(c.aderenza)});
    }
    table.print(out);
}

void print_plan_table(const tracciato_linea& plan, bool all, std::ostream& out) {
    text_table table({{"metro"}, {"tipo_x", false}, {"x"}, {"tipo_y", false}, {"y"}});
    for (std::int64_t m = 0; m <= plan.ultimo_metro(); ++m) {
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
        const voce& v = voci[k];
        json.begin_object();
        json.member("voce", static_cast<std::int64_t>(k));
        json.member("tipo_stazione", v.tipo_stazione);
        json.member("inizio_area", v.inizio_area);
        json.member("fine_area", v.fine_area);
        json.member("progressiva", v.progressiva);
        json.member("opzione_a", v.opzione_a);
        json.member("nome", v.nome);
        json.member("numero_a", v.numero_a);
        json.member("numero_b", v.numero_b);
        json.member("numero_c", v.numero_c);
        json.member("numero_d", v.numero_d);
        json.member("numero_e", v.numero_e);
        json.member("opzione_b", v.opzione_b);
        json.member("opzione_c", v.opzione_c);
        json.member("opzione_d", v.opzione_d);
        json.member("opzione_e", v.opzione_e);
        json.member("orario", v.orario);
        json.end_object();
    }
    json.end_array();
}

void write_grid_json(const griglia& celle, bool all, json_writer& json) {
    json.begin_array();
    for (std::size_t i = 0; i < celle.size(); ++i) {
        const cella& c = celle[i];
        if (!all && !holds_something(c)) {
            continue;
        }
        json.begin_object();
        json.member("cella", static_cast<std::int64_t>(i));
        json.member("tipo_cella", c.tipo_cella);
        json.member("valore1", c.valore1);
        json.member("valore2", c.valore2);
        json.member("valore3", c.valore3);
        json.member("valore4", c.valore4);
        json.member("tempo_segnale", c.tempo_segnale);
        json.member("avvicinamento", c.avvicinamento);
        json.member("montagna", c.montagna);
        json.member("vel_limite", c.vel_limite);
        json.member("pendenza", c.pendenza);
        json.member("aderenza", c.aderenza);
        json.end_object();
    }
    json.end_array();
}

void write_plan_json(const tracciato_linea& plan, bool all, json_writer& json) {
    json.begin_array();
    for (std::int64_t m = 0; m <= plan.ultimo_metro(); ++m) {
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
