#include "decompile/plan_analysis.hpp"

#include <bit>

#include "compiler/plan_drawing.hpp"

namespace scenario {

namespace {

bool same_bits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// The curvatures tried after the one of the run going on: straight first, then the
// classes from the gentlest, right before left.
constexpr int tried = 1 + 2 * curve_classes;

}  // namespace

double class_curvature(int curve_class) {
    return curvature(static_cast<char>('0' + curve_class));
}

void plan_analyser::start(std::int64_t metres) {
    result_ = plan_analysis{};
    result_.last_metre = metres - 1;
    drawn_ = passo_disegno{};
    k_ = 0.0;
    run_first_ = 2;
    next_ = 0;
}

void plan_analyser::step_with(double k) {
    if (k != k_) {
        close_run();
        k_ = k;
        run_first_ = next_;
    }
}

void plan_analyser::close_run() {
    if (k_ != 0.0 && next_ > run_first_) {
        result_.curves.push_back({run_first_, next_ - 1, k_});
    }
}

void plan_analyser::point(std::int64_t metro, const valore_piano& x, const valore_piano& y) {
    next_ = metro;
    if (metro < 2) {
        // The two points every plan starts from (whatever they hold: a plan that does
        // not start at (0, 0), (0, 1) cannot be drawn, and the check says so).
        drawn_.x0 = drawn_.x1;
        drawn_.y0 = drawn_.y1;
        drawn_.x1 = x.numero;
        drawn_.y1 = y.numero;
        result_.start[static_cast<std::size_t>(2 * metro)] = x;
        result_.start[static_cast<std::size_t>(2 * metro + 1)] = y;
        next_ = metro + 1;
        return;
    }
    const bool drawn = x.tipo == tipo_valore::doppio && y.tipo == tipo_valore::doppio;
    if (drawn) {
        double candidates[tried + 1];
        int n = 0;
        candidates[n++] = k_;
        candidates[n++] = 0.0;
        for (int c = 1; c <= curve_classes; ++c) {
            candidates[n++] = class_curvature(c);
            candidates[n++] = -class_curvature(c);
        }
        for (int i = 0; i < n; ++i) {
            if (i > 0 && candidates[i] == k_) {
                continue;
            }
            passo_disegno p = drawn_;
            p.avanza(candidates[i]);
            if (same_bits(p.x1, x.numero) && same_bits(p.y1, y.numero)) {
                step_with(candidates[i]);
                result_.last_drawn = metro;
                drawn_ = p;
                next_ = metro + 1;
                return;
            }
        }
    } else if (x.tipo == tipo_valore::vuoto && y.tipo == tipo_valore::vuoto &&
               metro >= result_.last_metre - 1) {
        // The last two metres stay empty when no curve reaches them.
        step_with(0.0);
        next_ = metro + 1;
        return;
    }
    // No step draws this point: it goes on as the run did, from the drawn points.
    if (!result_.first_unmatched) {
        result_.first_unmatched = metro;
    }
    ++result_.unmatched;
    drawn_.avanza(k_);
    next_ = metro + 1;
}

plan_analysis plan_analyser::finish() {
    close_run();
    k_ = 0.0;
    return std::move(result_);
}

namespace {

struct analysing_visitor {
    plan_analyser& a;
    void empties(std::int64_t first, std::int64_t last) {
        for (std::int64_t m = first; m <= last; ++m) {
            a.point(m, valore_piano{}, valore_piano{});
        }
    }
    void stored(std::int64_t m, valore_piano x, valore_piano y) { a.point(m, x, y); }
    void drawn(std::int64_t m, double x, double y) {
        a.point(m, {tipo_valore::doppio, x}, {tipo_valore::doppio, y});
    }
};

}  // namespace

namespace {

// The runs of a plan whose metres from 2 on are its stretches, one after the other, and
// whose first two points are those every plan starts from; nothing when it is not so.
std::optional<plan_analysis> from_stretches(const tracciato_linea& plan) {
    const std::vector<tratto>& stretches = plan.stretches();
    const std::int64_t e = plan.last_metre();
    if (stretches.empty() || stretches.front().primo != 2 || e < 3) {
        return std::nullopt;
    }
    const valore_piano start[4] = {plan.at(0, 0), plan.at(0, 1), plan.at(1, 0), plan.at(1, 1)};
    const double expected[4] = {0.0, 0.0, 0.0, 1.0};
    for (int i = 0; i < 4; ++i) {
        if (start[i].tipo != tipo_valore::intero || start[i].numero != expected[i]) {
            return std::nullopt;
        }
    }
    plan_analysis a;
    a.last_metre = e;
    a.start = {start[0], start[1], start[2], start[3]};
    std::int64_t next = 2;
    for (const tratto& s : stretches) {
        if (s.primo != next) {
            return std::nullopt;
        }
        if (s.k != 0.0) {
            if (!a.curves.empty() && a.curves.back().k == s.k && a.curves.back().last == s.primo - 1) {
                a.curves.back().last = s.ultimo;
            } else {
                a.curves.push_back({s.primo, s.ultimo, s.k});
            }
        }
        next = s.ultimo + 1;
    }
    a.last_drawn = next - 1;
    // What follows the stretches must be empty: the last two metres at most.
    if (a.last_drawn < e - 2) {
        return std::nullopt;
    }
    for (std::int64_t m = a.last_drawn + 1; m <= e; ++m) {
        if (plan.kind(m, 0) != tipo_valore::vuoto || plan.kind(m, 1) != tipo_valore::vuoto) {
            return std::nullopt;
        }
    }
    return a;
}

}  // namespace

plan_analysis analyse_plan(const tracciato_linea& plan) {
    plan_analyser a;
    if (!plan.exists()) {
        return plan_analysis{};
    }
    if (std::optional<plan_analysis> quick = from_stretches(plan)) {
        return *quick;
    }
    a.start(static_cast<std::int64_t>(plan.points()));
    analysing_visitor v{a};
    plan.visit(v);
    return a.finish();
}

}  // namespace scenario
