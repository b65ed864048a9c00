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

// The bytes of the first coordinates (where the second ones start in the file), and of
// the second.
struct coordinates_size {
    std::uint64_t bytes = 0;
    int coordinate = 0;

    void empties(std::int64_t primo, std::int64_t ultimo) {
        bytes += empty_bytes * static_cast<std::uint64_t>(ultimo - primo + 1);
    }
    void stored(std::int64_t, valore_piano x, valore_piano y) {
        bytes += plan_value_bytes(coordinate == 0 ? x.tipo : y.tipo);
    }
    // Drawn points are all doubles: counted, not computed.
    void drawn_stretch(const tratto& s, std::int64_t last, passo_disegno&) {
        bytes += slot_bytes * static_cast<std::uint64_t>(last - s.primo + 1);
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
    void drawn_stretch(const tratto& s, std::int64_t last, passo_disegno& p) {
        auto left = static_cast<std::size_t>(last - s.primo + 1);
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
std::uint64_t encoded_plan_size(const tracciato_linea& tracciato) {
    coordinates_size first;
    tracciato.visit(first);
    coordinates_size second{0, 1};
    tracciato.visit(second);
    return plan_header_bytes + first.bytes + second.bytes;
}

void encode_plan(const tracciato_linea& tracciato, byte_sink& out) {
    const auto metres =
        fit<std::int32_t>(static_cast<std::int64_t>(tracciato.points()), "line plan length");
    char header[plan_header_bytes];
    put_array_header(header, plan_header_metre_pair_first ? std::array{metres, plan_coordinates}
                                                          : std::array{plan_coordinates, metres});
    out.write_at(0, std::string_view(header, plan_header_bytes));
    coordinates_size first;
    tracciato.visit(first);
    plan_writer w(out, plan_header_bytes + first.bytes);
    tracciato.visit(w);
    w.finish();
}

namespace {

// Reads the tag of the value of one coordinate (0 or 1) of a metre and checks it.
tipo_valore read_tag(byte_reader& in, std::int64_t metre, int coordinate) {
    const std::uint64_t tag_at = in.offset();
    if (in.left() < plan_tag_bytes) {
        in.record("metre " + std::to_string(metre) + ", coordinate " + std::to_string(coordinate));
    }
    const std::uint16_t tag = in.u16("the value tag");
    if (tag != static_cast<std::uint16_t>(tipo_valore::vuoto) &&
        tag != static_cast<std::uint16_t>(tipo_valore::intero) &&
        tag != static_cast<std::uint16_t>(tipo_valore::doppio)) {
        throw decode_error(tag_at, "unknown value tag " + std::to_string(tag) + " at metre " +
                                       std::to_string(metre) + ", coordinate " +
                                       std::to_string(coordinate) +
                                       " (0 empty, 2 integer, 5 double)");
    }
    const auto kind = static_cast<tipo_valore>(tag);
    if (in.left() < plan_value_bytes(kind) - plan_tag_bytes) {
        in.record("metre " + std::to_string(metre) + ", coordinate " + std::to_string(coordinate));
    }
    return kind;
}

// Reads one tagged value.
valore_piano read_value(byte_reader& in, std::int64_t metre, int coordinate) {
    switch (read_tag(in, metre, coordinate)) {
        case tipo_valore::intero:
            return {tipo_valore::intero, static_cast<double>(in.i16("the 16-bit value"))};
        case tipo_valore::doppio:
            return {tipo_valore::doppio, in.f64("the 64-bit value")};
        default:
            return {};
    }
}

// Checks one tagged value and passes over it.
void skip_value(byte_reader& in, std::int64_t metre, int coordinate) {
    const tipo_valore kind = read_tag(in, metre, coordinate);
    if (kind != tipo_valore::vuoto) {
        in.skip(plan_value_bytes(kind) - plan_tag_bytes,
                kind == tipo_valore::intero ? "the 16-bit value" : "the 64-bit value");
    }
}

}  // namespace

void stream_plan(byte_source& bytes, plan_visitor& visitor) {
    byte_reader in(bytes, 0, bytes.size(), plan_header_bytes);
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
    // The values have different sizes: a first pass checks every first coordinate and
    // passes over it to find where the second ones start. Every value it passes over
    // takes a byte at least, so the count is then known to fit the file.
    const std::uint64_t values_at = in.offset();
    byte_reader scan(bytes, values_at, bytes.size());
    for (std::int64_t metre = 0; metre < metres; ++metre) {
        skip_value(scan, metre, 0);
    }
    const std::uint64_t seconds_at = scan.offset();
    visitor.start(metres);
    // Then both coordinates of each metre, from two readers in step.
    byte_reader x(bytes, values_at, seconds_at);
    byte_reader y(bytes, seconds_at, bytes.size());
    for (std::int64_t metre = 0; metre < metres; ++metre) {
        const valore_piano vx = read_value(x, metre, 0);
        const valore_piano vy = read_value(y, metre, 1);
        visitor.point(metre, vx, vy);
    }
    y.record("");
    y.expect_end("the last value");
}

}  // namespace scenario
