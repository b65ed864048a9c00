#include "decompile/tunnel_rows.hpp"

#include <algorithm>
#include <array>
#include <cstdint>

namespace scenario {

namespace {

using i64 = std::int64_t;

// What a cell tells of a tunnel marker: none was put there (an empty cell), one is
// there, or a later element covers the cell and it cannot tell.
enum class mark : std::uint8_t { none, marker, unknown };

mark mark_of(const cella& c) {
    switch (c.tipo_cella) {
        case tipo::vuota:
            return mark::none;
        case tipo::segno_montagna:
            return mark::marker;
        default:
            return mark::unknown;
    }
}

constexpr i64 marker_every = 4;
constexpr i64 type_three_gap = 150;  // a tunnel this close after the one before takes type 3
constexpr std::int32_t type_three = 3;
constexpr std::int32_t with_markers = 10;  // added to a type: the tunnel marks its cells

// A tunnel over cells first to last, counting its cells from `phase` (its first cell,
// or one before the grid when the tunnel starts before it).
struct segment {
    i64 phase;
    i64 first;
    i64 last;
    bool markers;
    std::uint8_t type;
};

i64 mod4(i64 v) {
    return ((v % marker_every) + marker_every) % marker_every;
}

// Whether the cell is a marker cell of a tunnel counted from a phase of residue r:
// the fourth, eighth, ... cell.
bool expected(i64 c, i64 r) {
    return mod4(c - r + 1) == 0;
}

// The tunnels of one run of cells a to b of one type.
class run_cover {
  public:
    run_cover(const std::vector<mark>& marks, i64 a, i64 b) : marks_(marks), a_(a), b_(b) {
        const auto len = static_cast<std::size_t>(b - a + 2);
        for (auto& v : next_bad_) {
            v.assign(len, b + 1);
        }
        next_marker_.assign(len, b + 1);
        for (i64 c = b; c >= a; --c) {
            const std::size_t i = index(c);
            for (i64 r = 0; r < marker_every; ++r) {
                auto& v = next_bad_[static_cast<std::size_t>(r)];
                v[i] = bad_on(c, r) ? c : v[i + 1];
            }
            next_marker_[i] = marks_[static_cast<std::size_t>(c)] == mark::marker ? c : next_marker_[i + 1];
        }
    }

    // As few tunnels as explain every marker cell of the run; false when none do.
    bool cover(std::vector<segment>& out) const {
        std::vector<std::pair<i64, i64>> layers;  // the first cells tunnels may start on
        i64 lo = a_;
        i64 hi = a_;
        while (true) {
            layers.push_back({lo, hi});
            i64 far = -1;
            for (i64 j = lo; j <= hi; ++j) {
                far = std::max(far, reach(j).first);
            }
            if (far >= b_) {
                break;
            }
            if (far + 1 <= hi) {
                return false;
            }
            lo = hi + 1;
            hi = far + 1;
        }
        std::vector<segment> found;
        i64 end = b_;
        for (auto layer = layers.rbegin(); layer != layers.rend(); ++layer) {
            bool placed = false;
            for (i64 j = layer->first; j <= layer->second && j <= end; ++j) {
                if (reach(j).first >= end) {
                    found.push_back(make(j, end));
                    end = j - 1;
                    placed = true;
                    break;
                }
            }
            if (!placed) {
                return false;
            }
        }
        out.insert(out.end(), found.rbegin(), found.rend());
        return true;
    }

    // One tunnel over the whole run; the markers it cannot explain are returned.
    segment whole(std::vector<i64>& unexplained) const {
        const i64 phase = best_phase(a_);
        std::vector<i64> on_left;
        bool on_possible = true;
        std::vector<i64> markers;
        for (i64 c = a_; c <= b_; ++c) {
            const mark m = marks_[static_cast<std::size_t>(c)];
            if (m == mark::marker) {
                markers.push_back(c);
                if (!expected(c, phase)) {
                    on_left.push_back(c);
                }
            } else if (m == mark::none && expected(c, phase)) {
                on_possible = false;
            }
        }
        if (on_possible && on_left.size() < markers.size()) {
            unexplained.insert(unexplained.end(), on_left.begin(), on_left.end());
            return {phase, a_, b_, true, 0};
        }
        unexplained.insert(unexplained.end(), markers.begin(), markers.end());
        return {a_, a_, b_, false, 0};
    }

  private:
    std::size_t index(i64 c) const { return static_cast<std::size_t>(c - a_); }

    bool bad_on(i64 c, i64 r) const {
        const mark m = marks_[static_cast<std::size_t>(c)];
        return expected(c, r) ? m == mark::none : m == mark::marker;
    }

    // A tunnel starting on cell j may only start before the grid when j is cell 0.
    i64 best_phase(i64 j) const {
        if (j != 0) {
            return j;
        }
        i64 best = 0;
        for (i64 phase = 0; phase > -marker_every; --phase) {
            if (next_bad_[static_cast<std::size_t>(mod4(phase))][index(j)] >
                next_bad_[static_cast<std::size_t>(mod4(best))][index(j)]) {
                best = phase;
            }
        }
        return best;
    }

    // The last cell a tunnel starting on cell j can reach, and whether with markers.
    std::pair<i64, bool> reach(i64 j) const {
        const i64 phase = best_phase(j);
        const i64 on = next_bad_[static_cast<std::size_t>(mod4(phase))][index(j)] - 1;
        const i64 off = next_marker_[index(j)] - 1;
        return {std::max(on, off), on > off};
    }

    segment make(i64 j, i64 end) const {
        // Without markers when no marker cell asks for them.
        if (next_marker_[index(j)] - 1 >= end) {
            return {j, j, end, false, 0};
        }
        return {best_phase(j), j, end, true, 0};
    }

    const std::vector<mark>& marks_;
    i64 a_;
    i64 b_;
    std::array<std::vector<i64>, marker_every> next_bad_;
    std::vector<i64> next_marker_;
};

// Writes the rows of the tunnels in order, with a row that draws nothing before a
// tunnel that would otherwise take type 3.
class tunnel_writer {
  public:
    explicit tunnel_writer(std::vector<tunnel_row>& rows) : rows_(rows) {}

    void write(const segment& s) {
        const i64 start = 50 * s.phase;
        const i64 end = 50 * (s.last + 1);
        bool close = previous_end_ && start - *previous_end_ <= type_three_gap;
        if (close && s.type != type_three) {
            // Ends 200 m before the tunnel and covers no cell.
            push(start, start - 200, 0);
            close = false;
        }
        std::int32_t type = 0;
        if (close) {
            type = s.markers ? with_markers + 1 : 1;  // becomes 3 whatever it says
        } else if (s.markers) {
            // Above 10: markers; the type keeps its low 8 bits (256 stands for 0).
            type = s.type == 0 ? 256 + with_markers : s.type + with_markers;
        } else {
            // At most 10: no markers (a type above 10 written as its 8 bits less 256).
            type = s.type <= with_markers ? s.type : s.type - 256;
        }
        push(start, end, type);
    }

  private:
    void push(i64 start, i64 end, std::int32_t type) {
        rows_.push_back({static_cast<std::int32_t>(start), static_cast<std::int32_t>(end), type});
        previous_end_ = end;
    }

    std::vector<tunnel_row>& rows_;
    std::optional<i64> previous_end_;
};

}  // namespace

std::vector<tunnel_row> tunnel_rows(const griglia& celle) {
    std::vector<tunnel_row> rows;
    const i64 n = static_cast<i64>(celle.size());
    std::vector<mark> marks(celle.size());
    for (std::size_t i = 0; i < celle.size(); ++i) {
        marks[i] = mark_of(celle[i]);
    }
    std::vector<segment> tunnels;
    std::vector<i64> unexplained;
    for (i64 a = 0; a < n;) {
        const std::uint8_t type = celle[static_cast<std::size_t>(a)].montagna;
        i64 b = a;
        while (b + 1 < n && celle[static_cast<std::size_t>(b + 1)].montagna == type) {
            ++b;
        }
        if (type == 0) {
            for (i64 c = a; c <= b; ++c) {
                if (marks[static_cast<std::size_t>(c)] == mark::marker) {
                    unexplained.push_back(c);
                }
            }
        } else {
            const run_cover run(marks, a, b);
            const std::size_t before = tunnels.size();
            if (!run.cover(tunnels)) {
                tunnels.resize(before);
                tunnels.push_back(run.whole(unexplained));
            }
            for (std::size_t i = before; i < tunnels.size(); ++i) {
                tunnels[i].type = type;
            }
        }
        a = b + 1;
    }
    std::sort(unexplained.begin(), unexplained.end());
    tunnel_writer writer(rows);
    for (const i64 c : unexplained) {
        writer.write({c - 3, c - 3, c, true, 0});
    }
    for (const segment& s : tunnels) {
        writer.write(s);
    }
    return rows;
}

}  // namespace scenario
