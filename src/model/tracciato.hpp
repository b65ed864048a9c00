#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "model/passo_disegno.hpp"

namespace scenario {

// Kind of a plan coordinate; the values are the tags of the line plan file.
enum class tipo_valore : std::uint8_t { vuoto = 0, intero = 2, doppio = 5 };

// One coordinate of a plan point: its kind and its value as a number (an integer
// holds a 16-bit value exactly; an empty coordinate reads as 0).
struct valore_piano {
    tipo_valore tipo = tipo_valore::vuoto;
    double numero = 0.0;
};

// Metres primo to ultimo drawn with curvature k, each point from the two before it
// (see passo_disegno); both coordinates of each point are doubles.
struct tratto {
    std::int64_t primo = 0;
    std::int64_t ultimo = 0;
    double k = 0.0;
};

// The plan of the line: two coordinates per metre, metres 0 to E, each coordinate
// empty, a 16-bit integer or a double.
//
// A drawn stretch is kept as its recipe (first and last metre, curvature), not as its
// points: the longest route has two million coordinates, almost all drawn, and
// holding them would take 20 MB that the file writer then copies again. The points
// are computed when read, in metre order, by visit(); a stretch starts from the
// values its two metres before have at that time, which are those they had when it
// was drawn: a write to a metre a stretch covers or starts from first turns every
// stretch into stored values. Coordinates set one by one are stored in pages of
// page_metres metres, made on first write (an untouched page is all empty).
class tracciato_linea {
  public:
    static constexpr std::size_t page_metres = 4096;

    tracciato_linea() = default;
    // Creates metres 0 to last_metre, every coordinate empty.
    explicit tracciato_linea(std::int64_t last_metre);
    tracciato_linea(const tracciato_linea& o);
    tracciato_linea& operator=(const tracciato_linea& o);
    // A moved-from plan is empty (exists() is false).
    tracciato_linea(tracciato_linea&& o) noexcept;
    tracciato_linea& operator=(tracciato_linea&& o) noexcept;

    bool exists() const { return metres_ != 0; }
    // E: the last metre index (the plan has E + 1 points).
    std::int64_t last_metre() const { return static_cast<std::int64_t>(metres_) - 1; }
    std::size_t points() const { return metres_; }
    std::size_t values() const { return 2 * metres_; }

    // One coordinate. A point inside a stretch is computed from the start of the
    // stretches it follows on from; to read many points use visit().
    valore_piano at(std::int64_t metro, int coordinata) const;
    tipo_valore kind(std::int64_t metro, int coordinata) const {
        return at(metro, coordinata).tipo;
    }
    double value(std::int64_t metro, int coordinata) const { return at(metro, coordinata).numero; }

    // A metre or coordinate outside the plan is a failure (reader_failure).
    void set_integer(std::int64_t metro, int coordinata, std::int16_t v) {
        store(metro, coordinata, {tipo_valore::intero, static_cast<double>(v)});
    }
    void set_double(std::int64_t metro, int coordinata, double v) {
        store(metro, coordinata, {tipo_valore::doppio, v});
    }
    // Draws metres primo to ultimo (2 <= primo <= ultimo <= E, else a failure) with
    // curvature k from the two points before primo, as passo_disegno does point by point.
    void draw(std::int64_t primo, std::int64_t ultimo, double k);

    // The drawn stretches, in metre order, none sharing a metre.
    const std::vector<tratto>& stretches() const { return stretches_; }

    // Visits every metre in order, once, calling on the visitor
    //   v.empties(primo, ultimo)               metres with both coordinates empty, in runs
    //                                          (not necessarily maximal);
    //   v.stored(metro, x, y)                  a metre set coordinate by coordinate
    //                                          (valore_piano x, y; either may be empty);
    //   v.drawn(metro, x, y)                   a drawn metre (double x, y);
    // or, in place of drawn, where the visitor has it,
    //   v.drawn_stretch(s, fine, p)            metres s.primo to fine of stretch s: the
    //                                          visitor computes them in order with
    //                                          p.avanza(s.k) (p: a passo_disegno
    //                                          holding the two points before), in its
    //                                          own loop, and leaves p on the last two
    //                                          (one that only counts the metres need
    //                                          not compute them).
    template <typename V>
    void visit(V& v) const {
        walk(0, last_metre(), 0, v);
    }

    bool operator==(const tracciato_linea& o) const;

  private:
    struct page {
        std::array<std::array<tipo_valore, page_metres>, 2> tipo{};
        std::array<std::array<double, page_metres>, 2> numero{};
    };

    void store(std::int64_t metro, int coordinata, valore_piano v);
    // Whether writing metres a to b would change a stretch or the points it starts from.
    bool touches_stretches(std::int64_t a, std::int64_t b) const;
    // Stores every drawn point as a set value and forgets the stretches.
    void materialise();
    page& page_of(std::int64_t metro);
    valore_piano stored_value(std::int64_t metro, int coordinata) const {
        const auto& p = pages_[static_cast<std::size_t>(metro) / page_metres];
        if (!p) {
            return {};
        }
        const std::size_t i = static_cast<std::size_t>(metro) % page_metres;
        return {p->tipo[coordinata][i], p->numero[coordinata][i]};
    }

    // Visits metres da to a; stretches from index i on; da is 0 or the first metre of
    // a stretch whose two metres before it are not drawn.
    template <typename V>
    void walk(std::int64_t da, std::int64_t a, std::size_t i, V& v) const {
        std::int64_t m = da;
        passo_disegno p;
        std::int64_t portato = -1;  // the metre p.x1/p.y1 hold, after a stretch
        for (; i < stretches_.size() && stretches_[i].primo <= a; ++i) {
            const tratto& s = stretches_[i];
            walk_stored(m, s.primo - 1, v);
            p = start_of(s, p, portato);
            const std::int64_t fine = std::min(s.ultimo, a);
            if constexpr (requires { v.drawn_stretch(s, fine, p); }) {
                v.drawn_stretch(s, fine, p);
            } else {
                for (std::int64_t q = s.primo; q <= fine; ++q) {
                    p.avanza(s.k);
                    v.drawn(q, p.x1, p.y1);
                }
            }
            portato = fine;
            m = fine + 1;
        }
        walk_stored(m, a, v);
    }
    // The two points before stretch s: from the stretch before it where it ends there
    // (p holds its last two points, the later at metre portato), else stored.
    passo_disegno start_of(const tratto& s, const passo_disegno& p, std::int64_t portato) const;
    template <typename V>
    void walk_stored(std::int64_t da, std::int64_t a, V& v) const {
        while (da <= a) {
            const std::size_t n = static_cast<std::size_t>(da) / page_metres;
            const std::int64_t fine =
                std::min<std::int64_t>(a, static_cast<std::int64_t>((n + 1) * page_metres) - 1);
            if (!pages_[n]) {
                v.empties(da, fine);
            } else {
                const page& p = *pages_[n];
                for (std::int64_t m = da; m <= fine; ++m) {
                    const std::size_t i = static_cast<std::size_t>(m) % page_metres;
                    v.stored(m, valore_piano{p.tipo[0][i], p.numero[0][i]},
                                  valore_piano{p.tipo[1][i], p.numero[1][i]});
                }
            }
            da = fine + 1;
        }
    }

    std::size_t metres_ = 0;
    std::vector<std::unique_ptr<page>> pages_;
    std::vector<tratto> stretches_;
};

}  // namespace scenario
