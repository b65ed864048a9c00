#include "decompile/reconstruct.hpp"

#include <algorithm>
#include <functional>
#include <limits>
#include <queue>

#include "compiler/code_placement.hpp"
#include "compiler/progressive_ordina.hpp"
#include "decompile/tunnel_rows.hpp"
#include "model/near.hpp"
#include "model/packing.hpp"
#include "model/run_state.hpp"

namespace scenario {

namespace {

using i64 = std::int64_t;

constexpr std::int16_t automatic_code = 180;
constexpr int first_station_entry = 1;

// The chainage a point element is written at to land in a cell (near(p / 50 + 1)), and
// the one a profile row or a code entry is written at (near(p / 50)).
std::int32_t point_at(i64 cell) {
    return static_cast<std::int32_t>(metres_per_cell * (cell - 1));
}
std::int32_t cell_start(i64 cell) {
    return static_cast<std::int32_t>(metres_per_cell * cell);
}

bool in(const griglia& g, i64 i) {
    return i >= 0 && i < static_cast<i64>(g.size());
}

// What a station's reference cell keeps of the element it was written over: the
// fields a station leaves alone.
struct residue {
    std::int16_t v2 = 0;
    std::int16_t v3 = 0;
    std::int16_t v4 = 0;
    std::uint8_t tempo = 0;
    bool empty() const { return v2 == 0 && v3 == 0 && v4 == 0 && tempo == 0; }
};
residue residue_of(const cella& c) {
    return {c.valore2, c.valore3, c.valore4, c.tempo_segnale};
}

// ---------------------------------------------------------------------------------
// General part and the values of the train.

struct zone_values {
    i64 start = 0;
    i64 end = 0;
    i64 flag = 0;
    bool operator==(const zone_values&) const = default;
    bool empty() const { return start == 0 && end == 0 && flag == 0; }
};

zone_values zone_of(const voce& v) {
    return {v.inizio_area, v.fine_area, v.progressiva};
}

bool fits32(i64 v) {
    return v >= std::numeric_limits<std::int32_t>::min() &&
           v <= std::numeric_limits<std::int32_t>::max();
}

// The zone rows whose ordering (progressive_ordina) gives the three stored zones: each
// stored zone as a row writes it (a flag of 1 adds 100 m to the end), in the entries
// that put it back in its place.
void zone_rows(const tabella_voci& voci, authored_scenario& a) {
    const std::array<zone_values, 3> stored = {zone_of(voci[voce_zona_tre]),
                                               zone_of(voci[voce_zona_due]),
                                               zone_of(voci[voce_zona_uno])};
    if (std::all_of(stored.begin(), stored.end(), [](const zone_values& z) { return z.empty(); })) {
        return;
    }
    std::array<zone_values, 3> written = stored;
    for (zone_values& z : written) {
        if (z.flag == 1 && fits32(z.end - 100)) {
            z.end -= 100;
        }
    }
    // Of the orders that give the stored zones back, the one that fills "uno" first,
    // then "due" (as an author numbers them); the stored order first among equals.
    std::array<int, 3> order = {0, 1, 2};
    std::array<int, 3> chosen = order;
    int best = -1;
    do {
        tabella_voci t{};
        int preference = 0;
        for (int e = 0; e < 3; ++e) {
            voce& v = t[static_cast<std::size_t>(voce_zona_tre + e)];
            const zone_values& z = written[static_cast<std::size_t>(order[static_cast<std::size_t>(e)])];
            v.inizio_area = static_cast<std::int32_t>(z.start);
            v.fine_area = static_cast<std::int32_t>(z.end);
            v.progressiva = static_cast<std::int32_t>(z.flag);
            preference += z.empty() ? 0 : 1 << e;
        }
        progressive_ordina(t);
        if (zone_of(t[voce_zona_tre]) == stored[0] && zone_of(t[voce_zona_due]) == stored[1] &&
            zone_of(t[voce_zona_uno]) == stored[2] && preference > best) {
            chosen = order;
            best = preference;
        }
    } while (std::next_permutation(order.begin(), order.end()));
    // Written "uno", "due", "tre", as the built-in document writes them.
    for (int e = 2; e >= 0; --e) {
        const zone_values& z = written[static_cast<std::size_t>(chosen[static_cast<std::size_t>(e)])];
        if (!z.empty()) {
            a.zones.push_back({voce_zona_tre + e, static_cast<std::int32_t>(z.start),
                               static_cast<std::int32_t>(z.end),
                               static_cast<std::int32_t>(z.flag)});
        }
    }
}

void general_values(const tabella_voci& voci, authored_scenario& a) {
    a.scenario = voci[voce_scenario].nome;
    a.train = voci[voce_treno].nome;
    a.route_length = voci[voce_percorso].fine_area;
    const voce& s = voci[voce_scenario];
    a.scenery = {s.inizio_area, s.progressiva, s.fine_area};
    const voce& t = voci[voce_treno];
    if (t.inizio_area != 0 || t.fine_area != 0 || t.progressiva != 0) {
        a.repetition = repetition_row{t.inizio_area, t.fine_area, t.progressiva == 9 ? 9 : 4};
    }
    a.braked_mass = voci[voce_percorso].inizio_area;
    a.cars = voci[voce_percorso].progressiva;
    a.sand = t.numero_a;
    a.clock = {t.numero_c, t.numero_d, t.numero_e};
    zone_rows(voci, a);
}

// ---------------------------------------------------------------------------------
// Profiles.

// The rows that fill one profile field of the grid as stored. A row at chainage 50 i
// fills the cells from the profile's cursor up to i - 1 with the value before it; the
// end of the document fills on to cell N - 3. Cells after N - 3 that hold something
// were reached by rows that each write one cell at the cursor: rows at the last
// chainage the range lets through, 50 (N - 2).
template <typename Value>
std::vector<profile_row> profile_rows(const griglia& celle, std::uint8_t cella::*field,
                                      Value value_of) {
    std::vector<profile_row> rows;
    const i64 n = static_cast<i64>(celle.size()) - 1;
    if (n < 0) {
        return rows;
    }
    const auto at = [&](i64 i) { return celle[static_cast<std::size_t>(i)].*field; };
    rows.push_back({0, value_of(at(0))});
    if (n < 3) {
        return rows;
    }
    i64 last = n - 3;
    for (i64 i = n; i > n - 3; --i) {
        if (at(i) != 0) {
            last = i;
            break;
        }
    }
    for (i64 i = 1; i <= n - 3; ++i) {
        if (at(i) != at(i - 1)) {
            rows.push_back({cell_start(i), value_of(at(i))});
        }
    }
    if (last >= n - 2) {
        const std::int32_t chainage = cell_start(n - 2);
        rows.push_back({chainage, value_of(at(n - 2))});
        for (i64 j = n - 2; j < last; ++j) {
            rows.push_back({chainage, value_of(at(j + 1))});
        }
    }
    return rows;
}

void profiles(const griglia& celle, authored_scenario& a) {
    a.gradients = profile_rows(celle, &cella::pendenza,
                               [](std::uint8_t b) { return std::int32_t{b} - 100; });
    a.speed = profile_rows(celle, &cella::vel_limite,
                           [](std::uint8_t b) { return 5 * std::int32_t{b}; });
    a.adhesion = profile_rows(celle, &cella::aderenza, [](std::uint8_t b) { return std::int32_t{b}; });
}

// ---------------------------------------------------------------------------------
// Curves.

int class_of(double k) {
    for (int c = 1; c <= curve_classes; ++c) {
        if (class_curvature(c) == std::abs(k)) {
            return c;
        }
    }
    return 1;
}

// A curve row per run of the plan: start one metre before the run (the last straight
// point), length to its last metre. A run that begins right after another one, where a
// row may not start (beyond the grid), is drawn by a row starting where the row before
// started: the cursor stands after the earlier run, and the row draws on from there.
void curve_rows(const plan_analysis& plan, i64 last_cell_index, authored_scenario& a) {
    const i64 latest_start = metres_per_cell * last_cell_index - 100;
    i64 previous_last = -2;
    for (const curve_run& run : plan.curves) {
        i64 start = run.first - 1;
        if (start > latest_start && !a.curves.empty() && previous_last == run.first - 1) {
            start = a.curves.back().start;
        }
        a.curves.push_back({static_cast<std::int32_t>(start),
                            static_cast<std::int32_t>(run.last - start), run.k < 0,
                            class_of(run.k)});
        previous_last = run.last;
    }
}

// ---------------------------------------------------------------------------------
// The elements of the grid and the header table.

class reconstruction {
  public:
    reconstruction(const tabella_voci& voci, const griglia& celle, authored_scenario& a,
                   const reconstruct_options& options)
        : voci_(voci), celle_(celle), a_(a), options_(options),
          n_(static_cast<i64>(celle.size()) - 1), claimed_(celle.size(), false) {}

    // The station cells that may hide a signal or something else.
    const std::vector<i64>& ambiguous() const { return ambiguous_; }

    void run() {
        stations();
        slowdowns();
        hidden_elements();
        boards();
        speed_boards();
        codes();
        signals();
        order_train_rows();
    }

  private:
    const cella& cell(i64 i) const { return celle_[static_cast<std::size_t>(i)]; }
    bool holds(i64 i, tipo t) const { return in(celle_, i) && cell(i).tipo_cella == t; }
    // A station cell no hidden element has been put under yet.
    bool free_station_cell(i64 i) const {
        return holds(i, tipo::stazione) && !claimed_[static_cast<std::size_t>(i)];
    }

    // ----- stations: header entries 1 to K, each with some number set.
    static bool station_like(const voce& v) {
        return v.tipo_stazione != 0 || v.inizio_area != 0 || v.fine_area != 0 ||
               v.progressiva != 0 || v.opzione_a != 0 || v.numero_a != 0 || v.numero_b != 0 ||
               v.numero_c != 0 || v.numero_d != 0 || v.numero_e != 0 || v.opzione_b != 0 ||
               v.opzione_c != 0 || v.opzione_d != 0 || v.opzione_e != 0 || v.orario != 0;
    }

    void stations() {
        for (int k = first_station_entry; k < voce_primo_cartello; ++k) {
            const voce& v = voci_[static_cast<std::size_t>(k)];
            if (!station_like(v)) {
                break;
            }
            a_.stations.push_back(station_of(v, k));
            const i64 r = reference_cell(v);
            if (in(celle_, r) && std::find(reference_cells_.begin(), reference_cells_.end(), r) ==
                                     reference_cells_.end()) {
                reference_cells_.push_back(r);
                first_station_at_.push_back(a_.stations.size() - 1);
            }
        }
    }

    // The cell a station writes (none for kinds 25 and above).
    static i64 reference_cell(const voce& v) {
        if (v.tipo_stazione >= 25) {
            return -1;
        }
        return near(v.fine_area / 50.0 - 1);
    }

    static station_row station_of(const voce& v, int k) {
        const i64 p = v.progressiva;
        const int kind = v.tipo_stazione;
        i64 length = 0;
        i64 option_d = v.opzione_d;
        if (kind >= 5 && kind <= 8) {
            length = p - v.inizio_area;
        } else {
            length = 2 * (p - v.inizio_area);
            // The area ends 50 m later for a nonzero sixth field; the first station
            // keeps 0 in its entry whatever was read.
            const bool later = v.fine_area == p + length / 2 + 50;
            if (later && option_d == 0) {
                option_d = 1;
            } else if (!later && k == first_station_entry) {
                option_d = 0;
            }
        }
        const i64 hours = v.orario / 3600;
        const i64 minutes = (v.orario % 3600) / 60;
        const i64 seconds = v.orario % 60;
        station_row row;
        const i64 values[16] = {p,
                                kind,
                                length,
                                v.opzione_a,
                                v.opzione_e,
                                option_d,
                                v.numero_a,
                                v.numero_b,
                                v.opzione_b,
                                v.numero_c,
                                v.numero_d,
                                v.numero_e,
                                v.opzione_c,
                                hours,
                                minutes,
                                seconds};
        for (std::size_t i = 0; i < 16; ++i) {
            row.values[i] = fits32(values[i]) ? static_cast<std::int32_t>(values[i]) : 0;
        }
        row.name = v.nome;
        return row;
    }

    // ----- slowdowns: each start cell with the end cell that has its values, the
    // warning board 24 cells before it and the four pre-warning cells before that.

    // The values a slowdown writes into its start and end cells.
    struct slowdown_values {
        std::int16_t v = 0;    // speed
        std::int16_t d_v = 0;  // valore2
        std::int16_t f_tt = 0;
    };

    void slowdowns() {
        std::vector<i64> ends;
        for (i64 i = 0; i <= n_; ++i) {
            if (holds(i, tipo::fine_rallentamento)) {
                ends.push_back(i);
            }
        }
        std::vector<bool> used(ends.size(), false);
        // The nearest unused end after `s` with these values, else the nearest before it
        // (when `before` allows); none: start and end were the same cell.
        const auto end_for = [&](i64 s, const slowdown_values& v, bool before_too) {
            std::optional<std::size_t> after;
            std::optional<std::size_t> before;
            for (std::size_t i = 0; i < ends.size(); ++i) {
                const cella& e = cell(ends[i]);
                if (used[i] || e.valore1 != v.v || e.valore2 != v.d_v || e.valore3 != v.f_tt) {
                    continue;
                }
                if (ends[i] > s && (!after || ends[i] < ends[*after])) {
                    after = i;
                }
                if (before_too && ends[i] < s && (!before || ends[i] > ends[*before])) {
                    before = i;
                }
            }
            const std::optional<std::size_t> found = after ? after : before;
            if (!found) {
                return s;
            }
            used[*found] = true;
            return ends[*found];
        };
        for (i64 s = 0; s <= n_; ++s) {
            if (holds(s, tipo::inizio_rallentamento)) {
                const slowdown_values v{cell(s).valore1, cell(s).valore2, cell(s).valore3};
                add_slowdown(s, end_for(s, v, true), v);
            }
        }
        // A warning board or an end whose start a station took: the start is that
        // station's cell, which kept the slowdown's d_v and f_tt.
        const auto kept = [&](i64 s, const slowdown_values& v, bool f_tt_known) {
            if (!free_station_cell(s)) {
                return false;
            }
            const residue r = residue_of(cell(s));
            return r.v2 == v.d_v && (!f_tt_known || r.v3 == v.f_tt) && r.v4 == 0 && r.tempo == 0;
        };
        for (i64 w = 0; w <= n_; ++w) {
            if (holds(w, tipo::avviso_rallentamento) && !board_used(w)) {
                const i64 s = w + 24;
                slowdown_values v{cell(w).valore1, cell(w).valore2, 0};
                if (kept(s, v, false)) {
                    v.f_tt = residue_of(cell(s)).v3;
                    add_slowdown(s, end_for(s, v, true), v);
                }
            }
        }
        for (std::size_t i = 0; i < ends.size(); ++i) {
            if (used[i]) {
                continue;
            }
            const i64 e = ends[i];
            const slowdown_values v{cell(e).valore1, cell(e).valore2, cell(e).valore3};
            // The nearest such start, before the end or after it (a slowdown of no
            // length or less), without a warning board or with one a station took too.
            for (i64 d = 1; d <= n_; ++d) {
                const i64 s = e - d <= 0 ? e + d : (kept(e - d, v, true) ? e - d : e + d);
                if (s <= n_ && kept(s, v, true) && (s < 32 || holds(s - 24, tipo::stazione))) {
                    used[i] = true;
                    add_slowdown(s, e, v);
                    break;
                }
            }
        }
    }

    bool board_used(i64 w) const {
        return std::find(boards_used_.begin(), boards_used_.end(), w) != boards_used_.end();
    }

    void add_slowdown(i64 s, i64 e, const slowdown_values& v) {
        const i64 w = s - 24;
        // From cell 32 on, the start lies beyond 1500 m: there is a warning board. Cell
        // 31 has one only when written 10 m past 1500.
        const bool board = s >= 32 || (s == 31 && holds(w, tipo::avviso_rallentamento));
        // Four pre-warning cells counting 1 to 4 back from h (a station may have taken
        // some), none another slowdown's.
        const auto prewarning_at = [&](i64 h) {
            bool seen = false;
            for (i64 i = 0; i < 4; ++i) {
                const i64 c = h - i;
                if (std::find(prewarnings_used_.begin(), prewarnings_used_.end(), c) !=
                    prewarnings_used_.end()) {
                    return false;
                }
                const bool mine = holds(c, tipo::preavviso_rallentamento) &&
                                  cell(c).valore1 == i + 1 &&
                                  cell(c).valore2 == (v.d_v != 0 ? i + 1 : 0);
                if (!mine && !holds(c, tipo::stazione)) {
                    return false;
                }
                seen = seen || mine;
            }
            return seen;
        };
        bool prewarning = false;
        bool half = false;
        if (board) {
            if (prewarning_at(s - 25)) {
                prewarning = true;
            } else if (s % 2 == 0 && s >= 32 && prewarning_at(s - 26)) {
                prewarning = true;
                half = true;
            }
        }
        i64 x = point_at(s);
        if (s == 31 && board) {
            x = 1510;
        } else if (half) {
            x -= 25;
        }
        const i64 l = metres_per_cell * (e - 1) - x;
        slowdown_row row;
        const i64 values[6] = {x, v.v, l, v.f_tt, prewarning ? 1 : 0, v.d_v};
        for (std::size_t i = 0; i < 6; ++i) {
            row.values[i] = static_cast<std::int32_t>(values[i]);
        }
        a_.slowdowns.push_back(row);
        // The station cells the slowdown writes before a station takes them.
        std::vector<i64> written = {s, e};
        if (board) {
            written.push_back(w);
            boards_used_.push_back(w);
            if (prewarning) {
                const i64 h = half ? s - 26 : s - 25;
                for (i64 i = 0; i < 4; ++i) {
                    written.push_back(h - i);
                    prewarnings_used_.push_back(h - i);
                }
            }
        }
        for (const i64 c : written) {
            if (free_station_cell(c)) {
                claim(c, train_row_kind::slowdown, a_.slowdowns.size() - 1);
            }
        }
    }

    // ----- what a station cell keeps of an element written before it: a signal's
    // time (a signal), other values (a speed board of the line document, which has
    // no other effect).
    // A signal's time only a signal leaves; the other values a speed board of the line
    // document leaves as well, with no other trace. A signal also leaves approach
    // markers 100 to 400 m before its cell, which later rows may have covered: one that
    // shows there (a value 10 q + b of the fourth value's parity, not a station's)
    // makes it a signal. Where the check of the documents shows that the choice was
    // wrong, the decompile takes the other one (options_.flipped).
    void hidden_elements() {
        for (const i64 r : reference_cells_) {
            if (claimed_[static_cast<std::size_t>(r)]) {
                continue;
            }
            const residue left = residue_of(cell(r));
            const bool flipped = std::find(options_.flipped.begin(), options_.flipped.end(), r) !=
                                 options_.flipped.end();
            const bool signal = left.tempo != 0 || looks_like_signal(r, left.v4);
            if (!left.empty() || signal) {
                ambiguous_.push_back(r);
            }
            if (signal != flipped) {
                hidden_signals_.push_back(r);
                claim(r, train_row_kind::signal, 0);
            } else if (!left.empty()) {
                hidden_speed_boards_.push_back(r);
                claimed_[static_cast<std::size_t>(r)] = true;
            }
        }
    }

    // A marker value in a signal's marker cell that no station there and no visible
    // signal (with its plain q) writes.
    bool looks_like_signal(i64 r, std::int16_t fourth) {
        if (explained_.empty()) {
            explain_markers();
        }
        for (int b = 1; b <= 4; ++b) {
            const i64 m = r - 2 * b;
            if (!in(celle_, m)) {
                continue;
            }
            const int held = cell(m).avvicinamento;
            const int twice = (held - b + 256) % 256;
            const auto& known = explained_[static_cast<std::size_t>(m)];
            if (held != 0 && std::find(known.begin(), known.end(), held) == known.end() &&
                twice % 2 == 0 && ((twice / 2) * 77 % 128 - fourth) % 2 == 0) {
                return true;
            }
        }
        return false;
    }

    void explain_markers() {
        explained_.assign(celle_.size(), {});
        for (std::size_t k = 0; k < a_.stations.size(); ++k) {
            const voce& v = voci_[k + first_station_entry];
            for (int i = 1; i <= 4; ++i) {
                const double m = v.fine_area / 50.0 - i - 1;
                if (m > 1 && in(celle_, near(m))) {
                    explained_[static_cast<std::size_t>(near(m))].push_back(80 + i);
                }
            }
        }
        for (i64 c = 0; c <= n_; ++c) {
            if (holds(c, tipo::segnale)) {
                const i64 q = ((cell(c).valore4 % 10) + 10) % 10;
                for (int b = 1; b <= 4; ++b) {
                    if (in(celle_, c - 2 * b)) {
                        explained_[static_cast<std::size_t>(c - 2 * b)].push_back(
                            wrap8(10 * q + b));
                    }
                }
            }
        }
    }

    void claim(i64 c, train_row_kind kind, std::size_t index) {
        claimed_[static_cast<std::size_t>(c)] = true;
        for (std::size_t k = 0; k < reference_cells_.size(); ++k) {
            if (reference_cells_[k] == c) {
                before_station_.push_back(
                    {kind, index, first_station_at_[k], c, kind != train_row_kind::signal});
            }
        }
    }

    // ----- indicator boards: entries 80 downwards, in that order; a board's cell holds
    // its entry. An entry with no cell was a board whose cell a station took.
    void boards() {
        int lowest = voce_primo_cartello + 1;
        const int stations = static_cast<int>(a_.stations.size());
        std::vector<i64> cell_of(voce_primo_cartello + 1, -1);
        for (i64 i = 0; i <= n_; ++i) {
            if (holds(i, tipo::cartello)) {
                const int e = cell(i).valore1;
                if (e > stations && e <= voce_primo_cartello && cell_of[static_cast<std::size_t>(e)] < 0) {
                    cell_of[static_cast<std::size_t>(e)] = i;
                    lowest = std::min(lowest, e);
                }
            }
        }
        for (int e = stations + 1; e <= voce_primo_cartello; ++e) {
            if (!voci_[static_cast<std::size_t>(e)].nome.empty()) {
                lowest = std::min(lowest, e);
            }
        }
        for (int e = voce_primo_cartello; e >= lowest; --e) {
            i64 c = cell_of[static_cast<std::size_t>(e)];
            if (c < 0) {
                c = hidden_board_cell();
            }
            a_.boards.push_back({point_at(c), voci_[static_cast<std::size_t>(e)].nome});
        }
    }

    // A station cell that kept nothing of what it was written over; else the first
    // empty cell (the check then says the board cannot be reproduced).
    i64 hidden_board_cell() {
        for (const i64 r : reference_cells_) {
            if (!claimed_[static_cast<std::size_t>(r)] && residue_of(cell(r)).empty()) {
                claimed_[static_cast<std::size_t>(r)] = true;
                return r;
            }
        }
        // A board text is sure, a signal that left nothing in its cell a guess.
        for (const i64 r : hidden_signals_) {
            if (residue_of(cell(r)).empty()) {
                hidden_signals_.erase(std::find(hidden_signals_.begin(), hidden_signals_.end(), r));
                std::erase_if(before_station_, [&](const before_station& b) {
                    return b.kind == train_row_kind::signal && b.cell == r;
                });
                return r;
            }
        }
        for (i64 i = 2; i < n_; ++i) {
            if (holds(i, tipo::vuota)) {
                return i;
            }
        }
        return 2;
    }

    // ----- speed boards: hundreds and above the first speed / 5, the two low digits
    // the second speed / 5; tens and units the stripe counts.
    void speed_boards() {
        std::vector<i64> at;
        for (i64 i = 0; i <= n_; ++i) {
            if (holds(i, tipo::indicatore_vmax)) {
                at.push_back(i);
            }
        }
        at.insert(at.end(), hidden_speed_boards_.begin(), hidden_speed_boards_.end());
        std::sort(at.begin(), at.end());
        for (const i64 i : at) {
            const cella& c = cell(i);
            speed_board_row row;
            row.position = point_at(i);
            const std::int16_t packed[3] = {c.tipo_cella == tipo::stazione ? std::int16_t{0}
                                                                            : c.valore1,
                                            c.valore2, c.valore3};
            bool right_empty = true;
            for (std::size_t k = 0; k < 3; ++k) {
                row.values[k] = packed[k] / 100 * 5;
                row.values[4 + k] = packed[k] % 100 * 5;
                right_empty = right_empty && row.values[4 + k] == 0;
            }
            row.values[3] = c.valore4 / 10;
            row.values[7] = c.valore4 % 10;
            row.right_empty = right_empty;
            a_.speed_boards.push_back(row);
        }
    }

    // ----- code entries: every code cell but those the code placement pass places.
    // The pass is run on the grid without the cells that may be its own (a code of
    // 180): what it places there is its own, the rest were written; until the two
    // agree.
    // The cells the code placement pass fills when the candidates not taken for entries
    // of the document are free.
    std::vector<i64> placed_by_pass(const std::vector<i64>& candidates,
                                    const std::vector<i64>& written) const {
        run_state trial;
        trial.celle = celle_;
        for (const i64 c : candidates) {
            if (!std::binary_search(written.begin(), written.end(), c)) {
                cella& freed = trial.celle[static_cast<std::size_t>(c)];
                freed.tipo_cella = tipo::vuota;
                freed.valore1 = 0;
            }
        }
        const griglia before = trial.celle;
        place_code_points(trial);
        std::vector<i64> placed;
        for (i64 i = 0; i <= n_; ++i) {
            if (before[static_cast<std::size_t>(i)].tipo_cella != tipo::cambio_codice &&
                trial.celle[static_cast<std::size_t>(i)].tipo_cella == tipo::cambio_codice) {
                placed.push_back(i);
            }
        }
        return placed;
    }

    // ----- code entries: every code cell but those the code placement pass places.
    // The candidates are the codes of 180, the pass's own value: the pass is run with
    // them free; one it does not fill again was written by the document, and where it
    // places a code the files do not hold, the candidate nearest before that cell was
    // (the pass, finding it taken, went on elsewhere). Until the pass fills exactly the
    // candidates not written.
    void codes() {
        std::vector<i64> candidates;
        for (i64 i = 0; i <= n_; ++i) {
            if (holds(i, tipo::cambio_codice) && cell(i).valore1 == automatic_code) {
                candidates.push_back(i);
            }
        }
        std::vector<bool> automatic(celle_.size(), false);
        std::vector<i64> written;  // candidates taken for entries of the document, sorted
        for (int round = 0; round < 64 && !candidates.empty(); ++round) {
            const std::vector<i64> placed = placed_by_pass(candidates, written);
            std::fill(automatic.begin(), automatic.end(), false);
            for (const i64 c : placed) {
                automatic[static_cast<std::size_t>(c)] = true;
            }
            std::vector<i64> stray;  // placed where the files hold no candidate
            std::set_difference(placed.begin(), placed.end(), candidates.begin(),
                                candidates.end(), std::back_inserter(stray));
            if (!stray.empty()) {
                const i64 x = stray.front();
                std::optional<i64> before;
                for (const i64 c : placed) {
                    if (c < x && std::binary_search(candidates.begin(), candidates.end(), c)) {
                        before = c;
                    }
                }
                if (!before) {
                    break;
                }
                written.insert(std::upper_bound(written.begin(), written.end(), *before), *before);
                continue;
            }
            std::vector<i64> rest;
            std::set_difference(candidates.begin(), candidates.end(), placed.begin(), placed.end(),
                                std::back_inserter(rest));
            if (rest == written) {
                break;
            }
            written = rest;
        }
        for (i64 i = 0; i <= n_; ++i) {
            if (holds(i, tipo::cambio_codice) && !automatic[static_cast<std::size_t>(i)]) {
                // A value of 0 or less is a removal: the 16 bits stored come from a
                // value above 0 that wraps to them.
                const std::int32_t v = cell(i).valore1;
                a_.codes.push_back({cell_start(i), v > 0 ? v : v + 65536});
            } else if (holds(i, tipo::codice_zero)) {
                a_.codes.push_back({cell_start(i), 0});
            }
        }
    }

    // ----- signals. Their rows are made once the order is known: the approach markers
    // a signal leaves in the cells (10 q + b, q = 3 sx + dx) depend on the rows written
    // after it.
    void signals() {
        for (i64 i = 0; i <= n_; ++i) {
            if (holds(i, tipo::segnale)) {
                signal_cell_.push_back(i);
            }
        }
        signal_cell_.insert(signal_cell_.end(), hidden_signals_.begin(), hidden_signals_.end());
        std::sort(signal_cell_.begin(), signal_cell_.end());
        for (before_station& b : before_station_) {
            if (b.kind == train_row_kind::signal && !b.resolved) {
                const auto it = std::find(signal_cell_.begin(), signal_cell_.end(), b.cell);
                b.index = static_cast<std::size_t>(it - signal_cell_.begin());
                b.resolved = true;
            }
        }
    }

    signal_row signal_of(i64 c, i64 q) const {
        const cella& cl = cell(c);
        const bool hidden = cl.tipo_cella == tipo::stazione;
        // q and the fourth value differ by ten times rapp in 16 bits.
        i64 rapp = 0;
        for (i64 j = 0; j < 10; ++j) {
            const i64 tens = cl.valore4 - q + 65536 * j;
            if (tens % 10 == 0) {
                rapp = tens / 10;
                break;
            }
        }
        const bool timed = cl.tempo_segnale != 0;
        const i64 sx = timed ? 2 : q / 3;
        const i64 dx = q - 3 * sx;
        const std::int16_t v1 = hidden ? std::int16_t{0} : cl.valore1;
        // A time of 1 to 100 is raised to 101: a stored one is written 256 higher.
        const i64 tempo = cl.tempo_segnale >= 1 && cl.tempo_segnale <= 100
                              ? cl.tempo_segnale + 256
                              : cl.tempo_segnale;
        signal_row row;
        const i64 values[11] = {point_at(c), sx, v1 / 10, cl.valore2 / 10, cl.valore3 / 10,
                                rapp, dx, v1 % 10, cl.valore2 % 10, cl.valore3 % 10,
                                sx == 2 ? tempo : 0};
        for (std::size_t i = 0; i < 11; ++i) {
            row.values[i] = static_cast<std::int32_t>(values[i]);
        }
        return row;
    }

    // ----- the order of the train document's element rows: stations in entry order,
    // then slowdowns, signals and code entries in chainage order; moved only where
    // the cells show that a row came after another one (an approach marker that a
    // later row wrote over an earlier one's, an element a station was written over).
    struct before_station {
        train_row_kind kind;
        std::size_t index;    // the row; for a signal, set once the signals are known
        std::size_t station;  // the first station written over its cell
        i64 cell;
        bool resolved;
    };

    // A row of the train document that writes approach markers, or must come before or
    // after another one.
    struct train_node {
        train_node(train_row_kind k, std::size_t i) : kind(k), index(i) {}
        train_row_kind kind;
        std::size_t index;
        std::array<i64, 4> cells{-1, -1, -1, -1};  // the marker cells, b = 1 to 4
        std::array<int, 4> values{};              // a station's marker values
        std::vector<std::size_t> before;          // nodes that must come before this one
        std::size_t waiting = 0;                  // nodes after it not yet placed
        bool placed = false;
        i64 q = 0;                                // a signal's 3 sx + dx
    };

    // The q of a signal whose fourth value is `fourth` that gives the marker values held
    // in its cells not yet claimed by a later row; nothing when none does.
    std::optional<i64> signal_q(const train_node& s, std::int16_t fourth,
                                const std::vector<bool>& claimed) const {
        std::optional<i64> residue;  // q modulo 128
        for (int b = 1; b <= 4; ++b) {
            const i64 c = s.cells[static_cast<std::size_t>(b - 1)];
            if (c < 0 || claimed[static_cast<std::size_t>(c)]) {
                continue;
            }
            const int twice = (cell(c).avvicinamento - b + 256) % 256;
            if (twice % 2 != 0) {
                return std::nullopt;  // 10 q + b is never that value
            }
            // 10 q = 2 (5 q) in 8 bits: 5 q = twice / 2 in 7 bits; 77 is 1 / 5 there.
            const i64 r = (twice / 2) * 77 % 128;
            if (residue && *residue != r) {
                return std::nullopt;
            }
            residue = r;
        }
        const i64 plain = ((fourth % 10) + 10) % 10;
        if (!residue) {
            return plain;
        }
        if ((*residue - fourth) % 2 != 0) {
            return std::nullopt;  // q keeps the fourth value's parity
        }
        if (*residue % 128 == plain % 128) {
            return plain;
        }
        for (i64 q = *residue; q < 640; q += 128) {
            if ((fourth - q) % 10 == 0) {
                return q;
            }
        }
        return *residue;
    }

    // Whether a row may be the latest of those not yet placed: in every marker cell no
    // later row has written, it leaves the value the cell holds.
    bool fits_last(train_node& n, const std::vector<bool>& claimed) const {
        if (n.kind == train_row_kind::signal) {
            const std::optional<i64> q =
                signal_q(n, cell(signal_cell_[n.index]).valore4, claimed);
            if (q) {
                n.q = *q;
            }
            return q.has_value();
        }
        for (std::size_t b = 0; b < 4; ++b) {
            const i64 c = n.cells[b];
            if (c >= 0 && !claimed[static_cast<std::size_t>(c)] &&
                cell(c).avvicinamento != n.values[b]) {
                return false;
            }
        }
        return true;
    }

    void order_train_rows() {
        const std::size_t stations = a_.stations.size();
        const std::size_t slowdowns = a_.slowdowns.size();
        const std::size_t signals = signal_cell_.size();
        const std::size_t codes = a_.codes.size();
        std::vector<train_node> nodes;
        for (std::size_t k = 0; k < stations; ++k) {
            train_node n{train_row_kind::station, k};
            const voce& v = voci_[k + first_station_entry];
            if (v.tipo_stazione < 25 && v.tipo_stazione != 5 && v.tipo_stazione != 6) {
                for (int i = 1; i <= 4; ++i) {
                    const double m = v.fine_area / 50.0 - i - 1;
                    if (m > 1 && in(celle_, near(m))) {
                        n.cells[static_cast<std::size_t>(i - 1)] = near(m);
                        n.values[static_cast<std::size_t>(i - 1)] = 80 + i;
                    }
                }
            }
            if (k > 0) {
                n.before.push_back(k - 1);
            }
            nodes.push_back(n);
        }
        for (std::size_t k = 0; k < slowdowns; ++k) {
            nodes.emplace_back(train_row_kind::slowdown, k);
        }
        for (std::size_t k = 0; k < signals; ++k) {
            train_node n{train_row_kind::signal, k};
            for (int b = 1; b <= 4; ++b) {
                const i64 m = signal_cell_[k] - 2 * b;
                if (in(celle_, m)) {
                    n.cells[static_cast<std::size_t>(b - 1)] = m;
                }
            }
            nodes.push_back(n);
        }
        for (std::size_t k = 0; k < codes; ++k) {
            nodes.emplace_back(train_row_kind::code, k);
        }
        const auto node_of = [&](train_row_kind k, std::size_t i) {
            switch (k) {
                case train_row_kind::slowdown:
                    return stations + i;
                case train_row_kind::signal:
                    return stations + slowdowns + i;
                case train_row_kind::code:
                    return stations + slowdowns + signals + i;
                default:
                    return i;
            }
        };
        for (const before_station& b : before_station_) {
            if (b.resolved) {
                nodes[b.station].before.push_back(node_of(b.kind, b.index));
            }
        }
        for (const train_node& n : nodes) {
            for (const std::size_t m : n.before) {
                ++nodes[m].waiting;
            }
        }
        // The rows writing each cell.
        std::vector<std::vector<std::size_t>> writers(celle_.size());
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            for (const i64 c : nodes[i].cells) {
                if (c >= 0) {
                    writers[static_cast<std::size_t>(c)].push_back(i);
                }
            }
        }

        // From the last row back: the latest row in the canonical order among those that
        // may be the latest now. A row placed leaves its cells claimed, which only
        // frees the rows before it: if any order gives the cells, this finds one.
        std::vector<bool> claimed(celle_.size(), false);
        std::priority_queue<std::size_t> ready;
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            if (nodes[i].waiting == 0 && fits_last(nodes[i], claimed)) {
                ready.push(i);
            }
        }
        std::vector<std::size_t> reversed;
        while (!ready.empty()) {
            const std::size_t i = ready.top();
            ready.pop();
            train_node& n = nodes[i];
            if (n.placed || n.waiting != 0 || !fits_last(n, claimed)) {
                continue;
            }
            n.placed = true;
            reversed.push_back(i);
            std::vector<std::size_t> touched;
            for (const i64 c : n.cells) {
                if (c >= 0 && !claimed[static_cast<std::size_t>(c)]) {
                    claimed[static_cast<std::size_t>(c)] = true;
                    const auto& w = writers[static_cast<std::size_t>(c)];
                    touched.insert(touched.end(), w.begin(), w.end());
                }
            }
            for (const std::size_t m : n.before) {
                --nodes[m].waiting;
                touched.push_back(m);
            }
            for (const std::size_t m : touched) {
                if (!nodes[m].placed && nodes[m].waiting == 0 && fits_last(nodes[m], claimed)) {
                    ready.push(m);
                }
            }
        }
        // Rows no order explains come first, in the canonical order (the check names the
        // cells they cannot give).
        std::vector<std::size_t> order;
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            if (!nodes[i].placed) {
                const train_node& n = nodes[i];
                if (n.kind == train_row_kind::signal) {
                    nodes[i].q = ((cell(signal_cell_[n.index]).valore4 % 10) + 10) % 10;
                }
                order.push_back(i);
            }
        }
        order.insert(order.end(), reversed.rbegin(), reversed.rend());

        for (std::size_t k = 0; k < signals; ++k) {
            a_.signals.push_back(signal_of(signal_cell_[k], nodes[stations + slowdowns + k].q));
        }
        for (const std::size_t i : order) {
            a_.train_order.push_back({nodes[i].kind, nodes[i].index});
        }
    }

    const tabella_voci& voci_;
    const griglia& celle_;
    authored_scenario& a_;
    const reconstruct_options& options_;
    i64 n_;
    std::vector<i64> ambiguous_;
    std::vector<std::vector<int>> explained_;  // per cell, the marker values known rows write
    std::vector<bool> claimed_;  // station cells an element is put under
    std::vector<i64> reference_cells_;     // the station cells, each once
    std::vector<std::size_t> first_station_at_;  // per reference cell, its first station
    std::vector<i64> hidden_signals_;
    std::vector<i64> boards_used_;  // warning board cells of the slowdowns found
    std::vector<i64> prewarnings_used_;  // and their pre-warning cells
    std::vector<i64> hidden_speed_boards_;
    std::vector<before_station> before_station_;
    std::vector<i64> signal_cell_;
};

}  // namespace

authored_scenario reconstruct(const tabella_voci& voci, const griglia& stored,
                              const std::optional<plan_analysis>& plan,
                              const reconstruct_options& options,
                              std::vector<std::int64_t>* ambiguous) {
    // Cell 1's first two values are the marker slots the compile fills last: whatever
    // element the documents put there left them 0 (else the compile ends in error 1250
    // or 1251).
    griglia celle = stored;
    if (celle.size() > 1) {
        celle[1].valore1 = 0;
        celle[1].valore2 = 0;
    }
    authored_scenario a;
    a.plan = plan.has_value();
    general_values(voci, a);
    profiles(celle, a);
    if (plan) {
        curve_rows(*plan, static_cast<i64>(celle.size()) - 1, a);
    }
    a.tunnels = tunnel_rows(celle);
    reconstruction r(voci, celle, a, options);
    r.run();
    if (ambiguous != nullptr) {
        *ambiguous = r.ambiguous();
    }
    return a;
}

}  // namespace scenario
