#include "files/plan_file.hpp"

#include <algorithm>
#include <array>
#include <string>

#include "files/block_buffer.hpp"
#include "files/byte_reader.hpp"
#include "model/packing.hpp"

namespace scenario {

namespace {

constexpr auto tag_vuoto = static_cast<std::uint16_t>(tipo_valore::vuoto);
constexpr auto tag_intero = static_cast<std::uint16_t>(tipo_valore::intero);
constexpr auto tag_doppio = static_cast<std::uint16_t>(tipo_valore::doppio);
constexpr std::size_t slot_bytes = plan_value_bytes(tipo_valore::doppio);  // the largest
constexpr std::size_t empty_bytes = plan_value_bytes(tipo_valore::vuoto);

// The bytes of the first coordinates: where the second ones start in the file.
struct first_coordinates_size {
    std::uint64_t bytes = 0;

    void empties(std::int64_t primo, std::int64_t ultimo) {
        bytes += empty_bytes * static_cast<std::uint64_t>(ultimo - primo + 1);
    }
    void stored(std::int64_t, valore_piano x, valore_piano) {
        bytes += plan_value_bytes(x.tipo);
    }
    // Drawn points are all doubles: counted, not computed.
    void drawn_stretch(const tratto& s, std::int64_t fine, passo_disegno&) {
        bytes += slot_bytes * static_cast<std::uint64_t>(fine - s.primo + 1);
    }
};

char* put_value(char* p, const valore_piano& v) {
    switch (v.tipo) {
        case tipo_valore::intero:
            p = put_le(p, tag_intero);
            return put_le(p, static_cast<std::int16_t>(v.numero));  // stored from an int16
        case tipo_valore::doppio:
            p = put_le(p, tag_doppio);
            return put_le(p, v.numero);
        default:
            return put_le(p, tag_vuoto);
    }
}

// Writes both coordinates in one walk of the plan, which computes the drawn points as
// it goes: the first coordinates from the end of the header on, the second from where
// the first end, each through its own buffer, small enough that the bytes reach the
// sink while they are still in the processor's cache.
class plan_writer {
  public:
    plan_writer(byte_sink& out, std::uint64_t second_at)
        : x_(out, plan_write_bytes, plan_header_bytes), y_(out, plan_write_bytes, second_at) {}

    void empties(std::int64_t primo, std::int64_t ultimo) {
        const auto n = static_cast<std::size_t>(ultimo - primo + 1);
        empties(x_, n);
        empties(y_, n);
    }
    void stored(std::int64_t, valore_piano x, valore_piano y) {
        x_.commit(put_value(x_.room(slot_bytes), x));
        y_.commit(put_value(y_.room(slot_bytes), y));
    }
    void drawn_stretch(const tratto& s, std::int64_t fine, passo_disegno& p) {
        auto left = static_cast<std::size_t>(fine - s.primo + 1);
        while (left > 0) {
            const std::size_t n = std::min(left, plan_write_bytes / slot_bytes);
            char* a = x_.room(slot_bytes * n);
            char* b = y_.room(slot_bytes * n);
            p = s.k == 0.0 ? draw_straight(p, n, a, b) : draw_curved(p, s.k, n, a, b);
            x_.commit(a + slot_bytes * n);
            y_.commit(b + slot_bytes * n);
            left -= n;
        }
    }
    void finish() {
        x_.flush();
        y_.flush();
    }

  private:
    // The hot loops, n points each into a and b, on their own: with no call inside,
    // the points stay in registers (the processor's floating-point registers do not
    // survive a call), and k is tested once.
    static passo_disegno draw_straight(passo_disegno q, std::size_t n, char* a, char* b) {
        double x0 = q.x0, y0 = q.y0, x1 = q.x1, y1 = q.y1;
        for (std::size_t i = 0; i < n; ++i) {
            passo_disegno::retto(x0, y0, x1, y1);
            a = put_le(put_le(a, tag_doppio), x1);
            b = put_le(put_le(b, tag_doppio), y1);
        }
        return {x0, y0, x1, y1};
    }
    static passo_disegno draw_curved(passo_disegno q, double k, std::size_t n, char* a, char* b) {
        double x0 = q.x0, y0 = q.y0, x1 = q.x1, y1 = q.y1;
        for (std::size_t i = 0; i < n; ++i) {
            passo_disegno::in_curva(x0, y0, x1, y1, k);
            a = put_le(put_le(a, tag_doppio), x1);
            b = put_le(put_le(b, tag_doppio), y1);
        }
        return {x0, y0, x1, y1};
    }
    static void empties(block_buffer& out, std::size_t n) {
        while (n > 0) {
            const std::size_t part = std::min(n, plan_write_bytes / empty_bytes);
            char* p = out.room(empty_bytes * part);
            for (std::size_t i = 0; i < part; ++i) {
                p = put_le(p, tag_vuoto);
            }
            out.commit(p);
            n -= part;
        }
    }

    block_buffer x_;
    block_buffer y_;
};

}  // namespace

// About two million values on the largest route, nearly all computed while they are
// written.
void encode_plan(const tracciato_linea& tracciato, byte_sink& out) {
    const auto metres =
        fit<std::int32_t>(static_cast<std::int64_t>(tracciato.points()), "line plan length");
    char header[plan_header_bytes];
    put_array_header(header, plan_header_metre_pair_first ? std::array{metres, plan_coordinates}
                                                          : std::array{plan_coordinates, metres});
    out.write_at(0, std::string_view(header, plan_header_bytes));
    first_coordinates_size first;
    tracciato.visit(first);
    plan_writer w(out, plan_header_bytes + first.bytes);
    tracciato.visit(w);
    w.finish();
}

namespace {

// Reads the tagged values of the plan; stores them when `plan` is given, else only
// checks that they can be read.
void read_plan_values(byte_reader& in, std::int64_t metres, tracciato_linea* plan) {
    for (int coordinata = 0; coordinata < plan_coordinates; ++coordinata) {
        for (std::int64_t metro = 0; metro < metres; ++metro) {
            const std::uint64_t tag_at = in.offset();
            if (in.left() < plan_tag_bytes) {
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
            const auto kind = static_cast<tipo_valore>(tag);
            const bool integer = kind == tipo_valore::intero;
            if (in.left() < plan_value_bytes(kind) - plan_tag_bytes) {
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

tracciato_linea decode_plan(std::string_view bytes) {
    byte_reader in(bytes);
    expect_dimensions(in, plan_dimensions, "line plan file");
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
    if (coordinates != plan_coordinates) {
        throw decode_error(coordinates_at, "the coordinate count is " +
                                               std::to_string(coordinates) + ", not " +
                                               std::to_string(plan_coordinates));
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
