#pragma once

#include <cstdint>
#include <string>

#include "model/near.hpp"
#include "model/run_state.hpp"

namespace scenario::testing {

// Computes plan points the way the line reader draws them: points 0 and 1 as
// integers (0, 0) and (0, 1), every later point from the direction of the two
// before it, turned by k for a curve.
class plan_drawer {
  public:
    explicit plan_drawer(tracciato_linea& t) : t_(t) {
        t_.set_integer(0, 0, 0);
        t_.set_integer(0, 1, 0);
        t_.set_integer(1, 0, 0);
        t_.set_integer(1, 1, 1);
    }
    void straight_to(std::int64_t metre) {
        while (c_ <= metre) {
            step(0);
        }
    }
    void curve(std::int64_t start, std::int64_t length, double k) {
        straight_to(start);
        while (c_ <= start + length) {
            step(k);
        }
    }

  private:
    void step(double k) {
        const double dx = t_.value(c_ - 1, 0) - t_.value(c_ - 2, 0);
        const double dy = t_.value(c_ - 1, 1) - t_.value(c_ - 2, 1);
        t_.set_double(c_, 0, t_.value(c_ - 1, 0) + dx + k * dy);
        t_.set_double(c_, 1, t_.value(c_ - 1, 1) + dy - k * dx);
        ++c_;
    }

    tracciato_linea& t_;
    std::int64_t c_ = 2;
};

inline run_state empty_route(std::int32_t length, bool with_plan) {
    run_state s;
    s.voci[voce_percorso].fine_area = length;
    s.celle.assign(static_cast<std::size_t>(ultima_cella(length)) + 1, cella{});
    if (with_plan) {
        s.con_tracciato = 1;
        s.tracciato = tracciato_linea(length + 7000);
    }
    return s;
}

// The cell a point element at position p lies in.
inline cella& point_cell(run_state& s, std::int32_t p) {
    return s.celle.at(static_cast<std::size_t>(near(p / 50.0 + 1)));
}

inline void put_signal(run_state& s, std::int32_t p) {
    point_cell(s, p).tipo_cella = segnale;
}

inline void put_slowdown(run_state& s, std::int32_t x, std::int32_t l, std::int16_t v) {
    point_cell(s, x).tipo_cella = inizio_rallentamento;
    point_cell(s, x).valore1 = v;
    point_cell(s, x + l).tipo_cella = fine_rallentamento;
    point_cell(s, x + l).valore1 = v;
}

inline void put_tunnel(run_state& s, std::int32_t inizio, std::int32_t fine, std::uint8_t type) {
    for (auto c = near(inizio / 50.0); c <= near(fine / 50.0 - 1); ++c) {
        s.celle.at(static_cast<std::size_t>(c)).montagna = type;
    }
}

inline void put_station(run_state& s, int entry, std::int32_t p, const std::string& name) {
    s.voci.at(static_cast<std::size_t>(entry)).progressiva = p;
    s.voci.at(static_cast<std::size_t>(entry)).nome = name;
}

// Sets one profile byte for cells from..to (inclusive).
template <typename Setter>
void fill_cells(run_state& s, std::size_t from, std::size_t to, Setter set) {
    for (std::size_t c = from; c <= to && c < s.celle.size(); ++c) {
        set(s.celle[c]);
    }
}

}  // namespace scenario::testing
