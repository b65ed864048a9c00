#include <algorithm>

#include "model/packing.hpp"
#include "files/block_buffer.hpp"
#include "files/encoders.hpp"

namespace scenario {

std::uint64_t plan_file_size(std::uint64_t m) {
    return 18 + 2 * (8 + 10 * (m - 3) + 4);
}

namespace {

constexpr auto tag_vuoto = static_cast<std::uint16_t>(tipo_valore::vuoto);
constexpr auto tag_intero = static_cast<std::uint16_t>(tipo_valore::intero);
constexpr auto tag_doppio = static_cast<std::uint16_t>(tipo_valore::doppio);
constexpr std::size_t header_bytes = 18;
constexpr std::size_t slot_bytes = 10;  // a tagged double

std::uint64_t tagged_size(tipo_valore t) {
    switch (t) {
        case tipo_valore::intero:
            return 4;
        case tipo_valore::doppio:
            return slot_bytes;
        default:
            return 2;
    }
}

// The bytes of the first coordinates: where the second ones start in the file.
struct first_coordinates_size {
    std::uint64_t bytes = 0;

    void vuoti(std::int64_t primo, std::int64_t ultimo) {
        bytes += 2 * static_cast<std::uint64_t>(ultimo - primo + 1);
    }
    void memorizzato(std::int64_t, valore_piano x, valore_piano) { bytes += tagged_size(x.tipo); }
    // Drawn points are all doubles: counted, not computed.
    void disegnati(const tratto& s, std::int64_t fine, passo_disegno&) {
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
        : x_(out, plan_write_bytes, header_bytes), y_(out, plan_write_bytes, second_at) {}

    void vuoti(std::int64_t primo, std::int64_t ultimo) {
        const auto n = static_cast<std::size_t>(ultimo - primo + 1);
        empties(x_, n);
        empties(y_, n);
    }
    void memorizzato(std::int64_t, valore_piano x, valore_piano y) {
        x_.commit(put_value(x_.room(slot_bytes), x));
        y_.commit(put_value(y_.room(slot_bytes), y));
    }
    void disegnati(const tratto& s, std::int64_t fine, passo_disegno& p) {
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
            const std::size_t part = std::min(n, plan_write_bytes / 2);
            char* p = out.room(2 * part);
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
        fit<std::int32_t>(static_cast<std::int64_t>(tracciato.punti()), "line plan length");
    char header[header_bytes];
    char* p = put_le(header, std::uint16_t{2});  // two dimensions
    if (plan_header_metre_pair_first) {
        p = put_le(p, metres), p = put_le(p, std::int32_t{0});
        p = put_le(p, std::int32_t{2}), p = put_le(p, std::int32_t{0});
    } else {
        p = put_le(p, std::int32_t{2}), p = put_le(p, std::int32_t{0});
        p = put_le(p, metres), p = put_le(p, std::int32_t{0});
    }
    out.write_at(0, std::string_view(header, header_bytes));
    first_coordinates_size first;
    tracciato.visita(first);
    plan_writer w(out, header_bytes + first.bytes);
    tracciato.visita(w);
    w.finish();
}

}  // namespace scenario
