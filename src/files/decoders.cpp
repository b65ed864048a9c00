#include "files/decoders.hpp"

#include "files/byte_reader.hpp"
#include "files/encoders.hpp"

namespace scenario {

namespace {

// Reads one bound pair of an array header and checks its lower bound is 0.
std::int32_t read_bound_pair(byte_reader& in, const char* count_field, const char* bound_field) {
    const std::int32_t count = in.i32(count_field);
    const std::uint64_t bound_at = in.offset();
    const std::int32_t bound = in.i32(bound_field);
    if (bound != 0) {
        throw decode_error(bound_at,
                           std::string(bound_field) + " is " + std::to_string(bound) + ", not 0");
    }
    return count;
}

void expect_dimensions(byte_reader& in, std::uint16_t expected, const char* file) {
    const std::uint16_t dimensions = in.u16("the number of dimensions");
    if (dimensions != expected) {
        throw decode_error(0, std::string("the array header gives ") + std::to_string(dimensions) +
                                  " dimensions; a " + file + " has " + std::to_string(expected));
    }
}

// Reads the tagged values of the plan; stores them when `plan` is given, else only
// checks that they can be read.
void read_plan_values(byte_reader& in, std::int64_t metres, tracciato_linea* plan) {
    for (int coordinata = 0; coordinata < 2; ++coordinata) {
        for (std::int64_t metro = 0; metro < metres; ++metro) {
            const std::uint64_t tag_at = in.offset();
            if (in.left() < 2) {
                in.record("metre " + std::to_string(metro) + ", coordinate " +
                          std::to_string(coordinata));
            }
            const std::uint16_t tag = in.u16("the value tag");
            if (tag == static_cast<std::uint16_t>(tipo_valore::vuoto)) {
                continue;
            }
            if (tag != static_cast<std::uint16_t>(tipo_valore::intero) &&
                tag != static_cast<std::uint16_t>(tipo_valore::doppio)) {
                throw decode_error(tag_at, "unknown value tag " + std::to_string(tag) +
                                               " at metre " + std::to_string(metro) +
                                               ", coordinate " + std::to_string(coordinata) +
                                               " (0 empty, 2 integer, 5 double)");
            }
            const bool integer = tag == static_cast<std::uint16_t>(tipo_valore::intero);
            if (in.left() < (integer ? 2u : 8u)) {
                in.record("metre " + std::to_string(metro) + ", coordinate " +
                          std::to_string(coordinata));
            }
            if (integer) {
                const std::int16_t v = in.i16("the 16-bit value");
                if (plan != nullptr) {
                    plan->set_integer(metro, coordinata, v);
                }
            } else {
                const double v = in.f64("the 64-bit value");
                if (plan != nullptr) {
                    plan->set_double(metro, coordinata, v);
                }
            }
        }
    }
}

}  // namespace

tabella_voci decode_header(std::string_view bytes) {
    byte_reader in(bytes);
    tabella_voci voci{};
    for (int k = 0; k < numero_voci; ++k) {
        voce& v = voci[static_cast<std::size_t>(k)];
        in.record("entry " + std::to_string(k));
        v.tipo_stazione = in.u8("tipo_stazione");
        v.inizio_area = in.i32("inizio_area");
        v.fine_area = in.i32("fine_area");
        v.progressiva = in.i32("progressiva");
        v.opzione_a = in.u8("opzione_a");
        const std::uint16_t n = in.u16("the length of nome");
        v.nome = in.text(n, "nome");
        v.numero_a = in.i16("numero_a");
        v.numero_b = in.i16("numero_b");
        v.numero_c = in.i16("numero_c");
        v.numero_d = in.i16("numero_d");
        v.numero_e = in.i16("numero_e");
        v.opzione_b = in.u8("opzione_b");
        v.opzione_c = in.u8("opzione_c");
        v.opzione_d = in.u8("opzione_d");
        v.opzione_e = in.u8("opzione_e");
        v.orario = in.i32("orario");
    }
    in.expect_end("the 87 header records");
    return voci;
}

griglia decode_grid(std::string_view bytes) {
    byte_reader in(bytes);
    expect_dimensions(in, 1, "grid file");
    const std::uint64_t count_at = in.offset();
    const std::int32_t count = read_bound_pair(in, "the cell count", "the lower bound");
    if (count < 0) {
        throw decode_error(count_at, "the cell count is negative (" + std::to_string(count) + ")");
    }
    const std::uint64_t cell_bytes = grid_file_size(1) - grid_file_size(0);
    const std::uint64_t complete = in.left() / cell_bytes;
    if (complete < static_cast<std::uint64_t>(count)) {
        // Skip to the first cell the file cannot hold whole, to report its offset.
        in.skip(complete * cell_bytes, "the cells");
        in.record("cell " + std::to_string(complete) + " (of " + std::to_string(count) + ")");
        in.need(cell_bytes, "the cell record");
    }
    griglia celle(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < celle.size(); ++i) {
        cella& c = celle[i];
        c.tipo_cella = in.u8("tipo_cella");
        c.valore1 = in.i16("valore1");
        c.valore2 = in.i16("valore2");
        c.valore3 = in.i16("valore3");
        c.valore4 = in.i16("valore4");
        c.tempo_segnale = in.u8("tempo_segnale");
        c.avvicinamento = in.u8("avvicinamento");
        c.montagna = in.u8("montagna");
        c.vel_limite = in.u8("vel_limite");
        c.pendenza = in.u8("pendenza");
        c.aderenza = in.u8("aderenza");
    }
    in.expect_end("the last cell");
    return celle;
}

tracciato_linea decode_plan(std::string_view bytes) {
    byte_reader in(bytes);
    expect_dimensions(in, 2, "line plan file");
    const std::uint64_t first_at = in.offset();
    const std::int32_t first =
        read_bound_pair(in, "the first element count", "the first lower bound");
    const std::uint64_t second_at = in.offset();
    const std::int32_t second =
        read_bound_pair(in, "the second element count", "the second lower bound");
    const std::int32_t metres = plan_header_metre_pair_first ? first : second;
    const std::int32_t coordinates = plan_header_metre_pair_first ? second : first;
    const std::uint64_t metres_at = plan_header_metre_pair_first ? first_at : second_at;
    const std::uint64_t coordinates_at = plan_header_metre_pair_first ? second_at : first_at;
    if (coordinates != 2) {
        throw decode_error(coordinates_at,
                           "the coordinate count is " + std::to_string(coordinates) + ", not 2");
    }
    if (metres < 1) {
        throw decode_error(metres_at, "the metre count is " + std::to_string(metres) +
                                          "; a plan has at least one point");
    }
    // A first pass checks every value without storing it, so that a count the file
    // cannot hold fails at its offset before any memory is taken for it.
    byte_reader check = in;
    read_plan_values(check, metres, nullptr);
    check.record("");
    check.expect_end("the last value");

    tracciato_linea plan(metres - 1);
    read_plan_values(in, metres, &plan);
    return plan;
}

}  // namespace scenario
