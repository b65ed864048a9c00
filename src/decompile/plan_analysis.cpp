#include "decompile/plan_analysis.hpp"

#include <array>
#include <bit>
#include <cstring>
#include <vector>

#include "compiler/plan_drawing.hpp"
#include "files/plan_file.hpp"

namespace scenario {

namespace {

bool same_bits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// The curvatures tried after the one of the run going on: straight first, then the
// classes from the gentlest, right before left.
constexpr int tried = 1 + 2 * curve_classes;

const std::array<double, tried>& tried_curvatures() {
    static const std::array<double, tried> ks = [] {
        std::array<double, tried> a{};
        a[0] = 0.0;
        for (int c = 1; c <= curve_classes; ++c) {
            a[static_cast<std::size_t>(2 * c - 1)] = class_curvature(c);
            a[static_cast<std::size_t>(2 * c)] = -class_curvature(c);
        }
        return a;
    }();
    return ks;
}

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
        // Most metres go on as the one before: that step first.
        passo_disegno p = drawn_;
        p.avanza(k_);
        if (same_bits(p.x1, x.numero) && same_bits(p.y1, y.numero)) {
            drawn_ = p;
            result_.last_drawn = metro;
            next_ = metro + 1;
            return;
        }
        for (const double k : tried_curvatures()) {
            if (k == k_) {
                continue;
            }
            p = drawn_;
            p.avanza(k);
            if (same_bits(p.x1, x.numero) && same_bits(p.y1, y.numero)) {
                step_with(k);
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

// Reads a range of a source front to back through a buffer of its own.
class cursor {
  public:
    static constexpr std::size_t buffer_bytes = std::size_t{256} << 10;

    cursor(byte_source& source, std::uint64_t from, std::uint64_t to)
        : source_(source), next_(from), end_(to), buffer_(buffer_bytes) {}

    std::uint64_t offset() const { return next_ - (held_ - at_); }

    // The next n bytes (at most 10), or nullptr when the range has fewer left.
    const char* take(std::size_t n) {
        if (held_ - at_ < n) {
            const std::size_t kept = held_ - at_;
            std::memmove(buffer_.data(), buffer_.data() + at_, kept);
            const std::uint64_t left = end_ - next_;
            const std::size_t more = static_cast<std::size_t>(
                std::min<std::uint64_t>(left, buffer_.size() - kept));
            if (more > 0) {
                source_.read_at(next_, buffer_.data() + kept, more);
            }
            next_ += more;
            held_ = kept + more;
            at_ = 0;
            if (held_ < n) {
                return nullptr;
            }
        }
        const char* p = buffer_.data() + at_;
        at_ += n;
        return p;
    }

    // One tagged value; false for an unknown tag or a value cut short.
    bool value(valore_piano& v) {
        const char* p = take(plan_tag_bytes);
        if (p == nullptr) {
            return false;
        }
        const auto tag = static_cast<std::uint16_t>(static_cast<unsigned char>(p[0]) |
                                                    (static_cast<unsigned char>(p[1]) << 8));
        switch (tag) {
            case static_cast<std::uint16_t>(tipo_valore::vuoto):
                v = {};
                return true;
            case static_cast<std::uint16_t>(tipo_valore::intero): {
                p = take(2);
                if (p == nullptr) {
                    return false;
                }
                const auto i = static_cast<std::int16_t>(static_cast<unsigned char>(p[0]) |
                                                         (static_cast<unsigned char>(p[1]) << 8));
                v = {tipo_valore::intero, static_cast<double>(i)};
                return true;
            }
            case static_cast<std::uint16_t>(tipo_valore::doppio): {
                p = take(8);
                if (p == nullptr) {
                    return false;
                }
                std::uint64_t bits = 0;
                if constexpr (std::endian::native == std::endian::little) {
                    std::memcpy(&bits, p, sizeof bits);
                } else {
                    for (std::size_t i = 0; i < 8; ++i) {
                        bits |= std::uint64_t{static_cast<unsigned char>(p[i])} << (8 * i);
                    }
                }
                v = {tipo_valore::doppio, std::bit_cast<double>(bits)};
                return true;
            }
            default:
                return false;
        }
    }

  private:
    byte_source& source_;
    std::uint64_t next_;  // the next offset to read into the buffer
    std::uint64_t end_;
    std::vector<char> buffer_;
    std::size_t at_ = 0;
    std::size_t held_ = 0;
};

std::int32_t i32_at(const char* b) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        v |= std::uint32_t{static_cast<unsigned char>(b[i])} << (8 * i);
    }
    return static_cast<std::int32_t>(v);
}

}  // namespace

bool analyse_plan_file(byte_source& source, plan_analyser& a) {
    const std::uint64_t size = source.size();
    if (size < plan_header_bytes || (size - plan_header_bytes) % 2 != 0) {
        return false;
    }
    char header[plan_header_bytes];
    source.read_at(0, header, plan_header_bytes);
    const std::int32_t metres = i32_at(header + 2);
    if ((static_cast<unsigned char>(header[0]) | (static_cast<unsigned char>(header[1]) << 8)) !=
            plan_dimensions ||
        metres < 1 || i32_at(header + 6) != 0 || i32_at(header + 10) != plan_coordinates ||
        i32_at(header + 14) != 0) {
        return false;
    }
    // The compiler gives both coordinates of a point the same tag: the second ones start
    // halfway. Whether they do shows at the end.
    const std::uint64_t second = plan_header_bytes + (size - plan_header_bytes) / 2;
    cursor x(source, plan_header_bytes, second);
    cursor y(source, second, size);
    a.start(metres);
    for (std::int32_t m = 0; m < metres; ++m) {
        valore_piano vx;
        valore_piano vy;
        if (!x.value(vx) || !y.value(vy)) {
            return false;
        }
        a.point(m, vx, vy);
    }
    return x.offset() == second && y.offset() == size;
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
