#include "cli/dump_views.hpp"

#include <limits>

#include "model/clock.hpp"

namespace scenario::cli {

namespace {

// Decimal digits of v, with its sign.
std::size_t digits(std::int64_t v) {
    std::size_t n = v < 0 ? 2 : 1;
    for (std::uint64_t u = v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
         u >= 10; u /= 10) {
        ++n;
    }
    return n;
}

// The widest value of an integer field.
template <typename Field>
std::size_t field_width() {
    using limits = std::numeric_limits<typename Field::integer>;
    return std::max(digits(limits::min()), digits(limits::max()));
}

constexpr std::size_t double_width = 22;      // "-1234567.8901234567" and the like
constexpr std::size_t clock_width = 8;        // hh:mm:ss
constexpr std::size_t kind_name_width = 23;   // "preavviso_rallentamento"
constexpr std::size_t value_kind_width = 6;   // "intero", "doppio", "vuoto"

const char* value_kind_name(tipo_valore t) {
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

shown_value coordinate(const valore_piano& v) {
    switch (v.tipo) {
        case tipo_valore::intero:
            return static_cast<std::int64_t>(v.numero);
        case tipo_valore::doppio:
            return v.numero;
        default:
            return std::monostate{};
    }
}

// Speed limits are stored in steps of 5 km/h, gradients plus 100.
constexpr std::int64_t speed_step_kmh = 5;
constexpr std::int64_t gradient_offset = 100;

}  // namespace

std::string kind_name(tipo tipo_cella) {
    switch (tipo_cella) {
        case tipo::vuota:
            return "vuota";
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
    }
    return "unknown kind " + std::to_string(static_cast<int>(tipo_cella));
}

bool holds_something(const cella& c) {
    return c.tipo_cella != tipo::vuota || c.valore1 != 0 || c.valore2 != 0 || c.valore3 != 0 ||
           c.valore4 != 0 || c.tempo_segnale != 0 || c.avvicinamento != 0;
}

bool point_set(const valore_piano& x, const valore_piano& y) {
    return x.tipo != tipo_valore::vuoto || y.tipo != tipo_valore::vuoto;
}

std::vector<dump_column> header_columns() {
    std::vector<dump_column> columns{{"voce", true, digits(numero_voci - 1)}};
    for_each_field(voce_fields, [&](auto field) {
        if constexpr (field.is_text) {
            columns.push_back({field.name, false, 0, true, true});
        } else {
            columns.push_back({field.name, true, field_width<decltype(field)>()});
        }
        if constexpr (is_member<decltype(field), &voce::orario>()) {
            columns.push_back({"clock", true, clock_width});
        }
    });
    return columns;
}

void header_row(int k, const voce& v, row_sink& row) {
    row.value(std::int64_t{k});
    for_each_field(voce_fields, [&](auto field) {
        if constexpr (field.is_text) {
            row.value(windows1252_bytes{v.*field.member});
        } else {
            row.value(std::int64_t{field.stored(v)});
        }
        if constexpr (is_member<decltype(field), &voce::orario>()) {
            if (k == voce_treno) {
                row.value(clock_text(v.numero_c, v.numero_d, v.numero_e));
            } else if (k >= 1 && k <= voce_primo_cartello && v.orario != 0) {
                row.value(clock_text(v.orario));
            } else {
                row.value(std::monostate{});
            }
        }
    });
    row.end_row();
}

std::vector<dump_column> grid_columns(std::int64_t cells) {
    const std::int64_t last = std::max<std::int64_t>(cells - 1, 0);
    std::vector<dump_column> columns{
        {"cella", true, digits(last)},
        {"from_m", true, digits(std::int64_t{metres_per_cell} * last)}};
    for_each_field(cella_fields, [&](auto field) {
        columns.push_back({field.name, true, field_width<decltype(field)>()});
        if constexpr (is_member<decltype(field), &cella::tipo_cella>()) {
            columns.push_back({"tipo", false, kind_name_width});
        } else if constexpr (is_member<decltype(field), &cella::vel_limite>()) {
            columns.push_back({"speed_kmh", true, digits(speed_step_kmh * 255)});
        } else if constexpr (is_member<decltype(field), &cella::pendenza>()) {
            columns.push_back({"gradient", true, digits(-gradient_offset)});
        }
    });
    return columns;
}

void grid_row(std::int64_t i, const cella& c, row_sink& row) {
    row.value(i);
    row.value(std::int64_t{metres_per_cell} * i);
    for_each_field(cella_fields, [&](auto field) {
        const std::int64_t stored = field.stored(c);
        row.value(stored);
        if constexpr (is_member<decltype(field), &cella::tipo_cella>()) {
            const std::string name = kind_name(c.tipo_cella);
            row.value(std::string_view(name));
        } else if constexpr (is_member<decltype(field), &cella::vel_limite>()) {
            row.value(speed_step_kmh * stored);
        } else if constexpr (is_member<decltype(field), &cella::pendenza>()) {
            row.value(stored - gradient_offset);
        }
    });
    row.end_row();
}

std::vector<dump_column> plan_columns(std::int64_t points) {
    std::vector<dump_column> columns{{"metro", true, digits(std::max<std::int64_t>(points - 1, 0))}};
    for (const char* c : {"x", "y"}) {
        columns.push_back({std::string("tipo_") + c, false, value_kind_width});
        columns.push_back({std::string("tag_") + c, true, 1, false});
        columns.push_back({c, true, double_width});
    }
    return columns;
}

void plan_row(std::int64_t metre, const valore_piano& x, const valore_piano& y, row_sink& row) {
    row.value(metre);
    for (const valore_piano* v : {&x, &y}) {
        row.value(std::string_view(value_kind_name(v->tipo)));
        row.value(static_cast<std::int64_t>(v->tipo));
        row.value(coordinate(*v));
    }
    row.end_row();
}

}  // namespace scenario::cli
