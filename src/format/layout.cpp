#include "format/layout.hpp"

#include <algorithm>

namespace scenario {

namespace {

// A number after `blanks` blanks; a number right-aligned in `width`; a text after
// `blanks` blanks.
constexpr field_layout lead(std::uint8_t blanks) {
    return {field_kind::number, field_align::leading, blanks};
}
constexpr field_layout right(std::uint8_t width) {
    return {field_kind::number, field_align::right, width};
}
constexpr field_layout text(std::uint8_t blanks) {
    return {field_kind::text, field_align::leading, blanks};
}

// Line document: every value a fixed number of blanks after its comma, the number
// depending on the section.
constexpr field_layout general_1[] = {lead(4)};
constexpr field_layout general_2[] = {lead(4), lead(4)};
constexpr field_layout general_3[] = {lead(4), lead(4), lead(4)};
constexpr field_layout curve[] = {lead(2), lead(2)};
constexpr field_layout gradient[] = {lead(2), lead(3)};
constexpr field_layout tunnel[] = {lead(3), lead(2), lead(2)};
constexpr field_layout speed_board[] = {lead(2), lead(2), lead(2), lead(2), lead(2),
                                        lead(2), lead(2), lead(2), lead(2)};
constexpr field_layout board[] = {lead(2), text(3)};

// clang-format off
constexpr row_layout line_rows[] = {
    {"lunghezza percorso", general_1, {}},
    {"progressiva chilometrica uno", general_3, {}},
    {"progressiva chilometrica due", general_3, {}},
    {"progressiva chilometrica tre", general_3, {}},
    {"sfondo uno", general_1, {}},
    {"sfondo due", general_1, {}},
    {"sfondo tre", general_1, {}},
    {"ripetizione segnali 4 codici", general_2, {}},
    {"ripetizione segnali 9 codici", general_2, {}},
    {"curva", curve, {}},
    {"curvas1", curve, {}}, {"curvas2", curve, {}}, {"curvas3", curve, {}},
    {"curvas4", curve, {}}, {"curvas5", curve, {}}, {"curvas6", curve, {}},
    {"curvad1", curve, {}}, {"curvad2", curve, {}}, {"curvad3", curve, {}},
    {"curvad4", curve, {}}, {"curvad5", curve, {}}, {"curvad6", curve, {}},
    {"pendenza", gradient, {}},
    {"montagna", tunnel, {}},
    {"indicatori_vmax", speed_board, {}},
    {"cartello_indicatore", board, {}},
};
// clang-format on

// Train document: the general values a fixed number of blanks after their comma, the
// tables in right-aligned columns. The adhesion rows are written both ways.
constexpr field_layout train_1[] = {lead(4)};
constexpr field_layout clock[] = {lead(4), lead(2), lead(2)};
constexpr field_layout adhesion[] = {lead(3), lead(4)};
constexpr field_layout adhesion_aligned[] = {lead(3), right(6)};
constexpr field_layout speed[] = {right(8), right(6)};
constexpr field_layout station[] = {right(8), right(3), right(5), right(3), right(2), right(2),
                                    right(3), right(1), right(1), right(3), right(1), right(1),
                                    right(5), right(4), right(2), right(2), text(1)};
constexpr field_layout slowdown[] = {right(8), right(6), right(5), right(2), right(3), right(3)};
constexpr field_layout signal[] = {right(8), right(4), right(2), right(2), right(3), right(2),
                                   right(5), right(3), right(1), right(1), lead(1)};
constexpr field_layout code[] = {right(8), right(2)};

constexpr row_layout train_rows[] = {
    {"numero vetture", train_1, {}},
    {"percentuale massa frenata", train_1, {}},
    {"sabbia", train_1, {}},
    {"orologio", clock, {}},
    {"aderenza", adhesion, adhesion_aligned},
    {"velocita", speed, {}},
    {"velocit\xe0", speed, {}},
    {"stazione", station, {}},
    {"rallentamento", slowdown, {}},
    {"segnale", signal, {}},
    {"abbattimento", code, {}},
};

}  // namespace

std::span<const row_layout> row_layouts(source_document kind) {
    if (kind == source_document::line) {
        return line_rows;
    }
    return train_rows;
}

const row_layout* find_row_layout(source_document kind, std::string_view keyword) {
    const std::span<const row_layout> rows = row_layouts(kind);
    const auto it = std::find_if(rows.begin(), rows.end(),
                                 [&](const row_layout& r) { return r.keyword == keyword; });
    return it == rows.end() ? nullptr : &*it;
}

}  // namespace scenario
