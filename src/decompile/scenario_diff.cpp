#include "decompile/scenario_diff.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <map>
#include <set>

#include "decompile/reconstruct.hpp"
#include "files/plan_file.hpp"
#include "grammar/grammar.hpp"
#include "text/windows1252.hpp"

namespace scenario {

namespace {

using i64 = std::int64_t;

std::string quoted(const std::string& document_text) {
    return "\"" + windows1252_to_utf8(document_text) + "\"";
}

std::string arrow(const std::string& a, const std::string& b) {
    return a + " -> " + b;
}

std::string clock_text(i64 h, i64 m, i64 s) {
    const auto two = [](i64 v) { return v >= 0 && v < 10 ? "0" + std::to_string(v) : std::to_string(v); };
    return two(h) + ":" + two(m) + ":" + two(s);
}

// The changes found so far, each with its element and place.
class change_list {
  public:
    void add(std::optional<i64> position, std::string element, std::string text) {
        changes_.push_back({position, std::move(element), std::move(text)});
    }
    std::vector<scenario_change> take() {
        // The values of the whole scenario first, then by position; one element's
        // changes keep their order.
        std::stable_sort(changes_.begin(), changes_.end(),
                         [](const scenario_change& a, const scenario_change& b) {
                             const i64 pa = a.position.value_or(std::numeric_limits<i64>::min());
                             const i64 pb = b.position.value_or(std::numeric_limits<i64>::min());
                             return pa < pb;
                         });
        return std::move(changes_);
    }
    bool empty() const { return changes_.empty(); }

  private:
    std::vector<scenario_change> changes_;
};

// ---------------------------------------------------------------------------------
// Values of the whole scenario.

void whole_scenario(const tabella_voci& a, const tabella_voci& b, change_list& out) {
    const auto name = [&](int entry, const char* what) {
        const std::string& x = a[static_cast<std::size_t>(entry)].nome;
        const std::string& y = b[static_cast<std::size_t>(entry)].nome;
        if (x != y) {
            out.add(std::nullopt, what, std::string(what) + ": " + arrow(quoted(x), quoted(y)));
        }
    };
    name(voce_scenario, "scenario name");
    name(voce_treno, "train name");
    const auto value = [&](const char* what, i64 x, i64 y, const char* unit, bool metres) {
        if (x != y) {
            const auto text = [&](i64 v) { return metres ? metres_text(v) : std::to_string(v); };
            out.add(std::nullopt, what,
                    std::string(what) + ": " + arrow(text(x), text(y)) + (*unit ? " " : "") + unit);
        }
    };
    const voce& pa = a[voce_percorso];
    const voce& pb = b[voce_percorso];
    value("route length", pa.fine_area, pb.fine_area, "m", true);
    value("braked mass", pa.inizio_area, pb.inizio_area, "%", false);
    value("number of cars", pa.progressiva, pb.progressiva, "", false);
    const voce& sa = a[voce_scenario];
    const voce& sb = b[voce_scenario];
    value("scenery one", sa.inizio_area, sb.inizio_area, "", false);
    value("scenery two", sa.progressiva, sb.progressiva, "", false);
    value("scenery three", sa.fine_area, sb.fine_area, "", false);
    const voce& ta = a[voce_treno];
    const voce& tb = b[voce_treno];
    value("sand", ta.numero_a, tb.numero_a, "", false);
    const std::string clock_a = clock_text(ta.numero_c, ta.numero_d, ta.numero_e);
    const std::string clock_b = clock_text(tb.numero_c, tb.numero_d, tb.numero_e);
    if (clock_a != clock_b) {
        out.add(std::nullopt, "clock", "clock: " + arrow(clock_a, clock_b));
    }
    const auto repetition = [](const voce& t) {
        return metres_text(t.inizio_area) + "-" + metres_text(t.fine_area) + " m, " +
               std::to_string(t.progressiva) + " codes";
    };
    if (repetition(ta) != repetition(tb)) {
        out.add(std::nullopt, "signal repetition",
                "signal repetition: " + arrow(repetition(ta), repetition(tb)));
    }
    for (int e = voce_zona_tre; e <= voce_zona_uno; ++e) {
        const auto zone = [&](const voce& z) {
            return metres_text(z.inizio_area) + "-" + metres_text(z.fine_area) + " m, flag " +
                   std::to_string(z.progressiva);
        };
        const std::string x = zone(a[static_cast<std::size_t>(e)]);
        const std::string y = zone(b[static_cast<std::size_t>(e)]);
        if (x != y) {
            out.add(std::nullopt, "kilometre zone",
                    "kilometre reference zone in entry " + std::to_string(e) + ": " +
                        arrow(x, y));
        }
    }
}

// ---------------------------------------------------------------------------------
// Profiles: each run of cells where the two differ by the same values.

void profile(const griglia& a, const griglia& b, std::uint8_t cella::*field, const char* what,
             i64 (*shown)(std::uint8_t), const char* unit, change_list& out) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n;) {
        const std::uint8_t x = a[i].*field;
        const std::uint8_t y = b[i].*field;
        if (x == y) {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j + 1 < n && a[j + 1].*field == x && b[j + 1].*field == y) {
            ++j;
        }
        // "from" where both profiles change after the run, as when a row's value changed.
        const bool whole_step = j + 1 >= n || (a[j + 1].*field != x && b[j + 1].*field != y);
        const i64 from = metres_per_cell * static_cast<i64>(i);
        const i64 to = metres_per_cell * static_cast<i64>(j + 1);
        const std::string where =
            whole_step ? "from " + metres_text(from) : metres_text(from) + "-" + metres_text(to);
        out.add(from, what,
                std::string(what) + " " + where + " m: " +
                    arrow(std::to_string(shown(x)), std::to_string(shown(y))) + (*unit ? " " : "") +
                    unit);
        i = j + 1;
    }
}

// ---------------------------------------------------------------------------------
// Elements matched by a key (their position, a span, a name).

template <typename Key, typename Item>
struct matched {
    std::vector<std::pair<const Item*, const Item*>> both;
    std::vector<const Item*> removed;
    std::vector<const Item*> added;
};

template <typename Item, typename KeyOf>
auto match(const std::vector<Item>& a, const std::vector<Item>& b, KeyOf key_of) {
    using Key = decltype(key_of(a.front()));
    matched<Key, Item> m;
    std::multimap<Key, const Item*> in_b;
    for (const Item& item : b) {
        in_b.insert({key_of(item), &item});
    }
    for (const Item& item : a) {
        const auto it = in_b.find(key_of(item));
        if (it == in_b.end()) {
            m.removed.push_back(&item);
        } else {
            m.both.push_back({&item, it->second});
            in_b.erase(it);
        }
    }
    for (const auto& [key, item] : in_b) {
        m.added.push_back(item);
    }
    return m;
}

// The fields of a row that differ, "name A -> B unit" each, joined by ", ".
std::string field_changes(std::span<const field_description> fields, std::size_t from,
                          const std::int32_t* a, const std::int32_t* b, std::size_t count,
                          std::string_view drop_prefix) {
    std::string out;
    for (std::size_t i = from; i < count && i < fields.size(); ++i) {
        if (a[i] == b[i]) {
            continue;
        }
        std::string_view name = fields[i].name;
        if (name.starts_with(drop_prefix)) {
            name.remove_prefix(drop_prefix.size());
        }
        const std::string_view unit = fields[i].unit;
        const bool shown_unit = !unit.empty() && unit != "unknown";
        out += (out.empty() ? "" : ", ") + std::string(name) + " " +
               arrow(std::to_string(a[i]), std::to_string(b[i])) +
               (shown_unit ? " " + std::string(unit) : "");
    }
    return out;
}

std::span<const field_description> fields_of(source_document document, std::string_view form) {
    const keyword_description* k = keyword_written_as(document, form);
    return k != nullptr ? k->fields : std::span<const field_description>{};
}

// Curves: the plan's runs, from the metre before each (where its row starts) to its
// last metre.
struct curve_seen {
    i64 start;
    i64 end;
    double k;
};

std::string curve_kind(double k) {
    int c = 1;
    for (int i = 1; i <= curve_classes; ++i) {
        if (class_curvature(i) == std::abs(k)) {
            c = i;
        }
    }
    return std::string(k < 0 ? "left" : "right") + ", class " + std::to_string(c);
}

void curves(const diff_side& a, const diff_side& b, change_list& out) {
    const auto seen = [](const diff_side& s) {
        std::vector<curve_seen> v;
        if (s.plan) {
            for (const curve_run& r : s.plan->curves) {
                v.push_back({r.first - 1, r.last, r.k});
            }
        }
        return v;
    };
    const std::vector<curve_seen> x = seen(a);
    const std::vector<curve_seen> y = seen(b);
    const auto span = [](const curve_seen& c) { return metres_text(c.start) + "-" + metres_text(c.end); };
    const auto m = match(x, y, [](const curve_seen& c) { return std::pair{c.start, c.end}; });
    for (const auto& [p, q] : m.both) {
        if (p->k == q->k) {
            continue;
        }
        std::string text = "curve " + span(*p) + " m: ";
        if ((p->k < 0) == (q->k < 0)) {
            text += arrow(curve_kind(p->k).substr(curve_kind(p->k).find("class")),
                          curve_kind(q->k).substr(curve_kind(q->k).find("class"))) +
                    (q->k < 0 ? " (left)" : " (right)");
        } else {
            text += arrow(curve_kind(p->k), curve_kind(q->k));
        }
        out.add(p->start, "curve", text);
    }
    // Curves that start where they did but end elsewhere.
    std::vector<curve_seen> removed;
    std::vector<curve_seen> added;
    for (const curve_seen* c : m.removed) {
        removed.push_back(*c);
    }
    for (const curve_seen* c : m.added) {
        added.push_back(*c);
    }
    const auto moved = match(removed, added, [](const curve_seen& c) { return c.start; });
    for (const auto& [p, q] : moved.both) {
        std::string text = "curve " + span(*p) + " m: end " + metres_text(p->end) + " -> " +
                           metres_text(q->end) + " m";
        if (p->k != q->k) {
            text += ", " + arrow(curve_kind(p->k), curve_kind(q->k));
        }
        out.add(p->start, "curve", text);
    }
    for (const curve_seen* c : moved.removed) {
        out.add(c->start, "curve", "curve " + span(*c) + " m: removed (" + curve_kind(c->k) + ")");
    }
    for (const curve_seen* c : moved.added) {
        out.add(c->start, "curve", "curve " + span(*c) + " m: added (" + curve_kind(c->k) + ")");
    }
}

// Tunnels: each run of cells of one tunnel type.
struct tunnel_seen {
    i64 first;
    i64 last;
    int type;
    bool markers;
};

std::vector<tunnel_seen> tunnels_of(const griglia& g) {
    std::vector<tunnel_seen> v;
    for (std::size_t i = 0; i < g.size();) {
        const std::uint8_t t = g[i].montagna;
        std::size_t j = i;
        bool markers = g[i].tipo_cella == tipo::segno_montagna;
        while (j + 1 < g.size() && g[j + 1].montagna == t) {
            ++j;
            markers = markers || g[j].tipo_cella == tipo::segno_montagna;
        }
        if (t != 0) {
            v.push_back({static_cast<i64>(i), static_cast<i64>(j), t, markers});
        }
        i = j + 1;
    }
    return v;
}

std::string tunnel_kind(const tunnel_seen& t) {
    return "type " + std::to_string(t.type) + (t.markers ? ", with markers" : ", no markers");
}

void tunnels(const griglia& a, const griglia& b, change_list& out) {
    const auto x = tunnels_of(a);
    const auto y = tunnels_of(b);
    const auto span = [](const tunnel_seen& t) {
        return metres_text(metres_per_cell * t.first) + "-" +
               metres_text(metres_per_cell * (t.last + 1));
    };
    const auto m = match(x, y, [](const tunnel_seen& t) { return std::pair{t.first, t.last}; });
    for (const auto& [p, q] : m.both) {
        if (p->type != q->type || p->markers != q->markers) {
            out.add(metres_per_cell * p->first, "tunnel",
                    "tunnel " + span(*p) + " m: " + arrow(tunnel_kind(*p), tunnel_kind(*q)));
        }
    }
    std::vector<tunnel_seen> removed;
    std::vector<tunnel_seen> added;
    for (const tunnel_seen* t : m.removed) {
        removed.push_back(*t);
    }
    for (const tunnel_seen* t : m.added) {
        added.push_back(*t);
    }
    const auto moved = match(removed, added, [](const tunnel_seen& t) { return t.first; });
    for (const auto& [p, q] : moved.both) {
        std::string text = "tunnel " + span(*p) + " m: end " +
                           metres_text(metres_per_cell * (p->last + 1)) + " -> " +
                           metres_text(metres_per_cell * (q->last + 1)) + " m";
        if (p->type != q->type || p->markers != q->markers) {
            text += ", " + arrow(tunnel_kind(*p), tunnel_kind(*q));
        }
        out.add(metres_per_cell * p->first, "tunnel", text);
    }
    for (const tunnel_seen* t : moved.removed) {
        out.add(metres_per_cell * t->first, "tunnel",
                "tunnel " + span(*t) + " m: removed (" + tunnel_kind(*t) + ")");
    }
    for (const tunnel_seen* t : moved.added) {
        out.add(metres_per_cell * t->first, "tunnel",
                "tunnel " + span(*t) + " m: added (" + tunnel_kind(*t) + ")");
    }
}

// Indicator boards: each board cell with its text.
struct board_seen {
    i64 position;
    std::string text;
};

std::vector<board_seen> boards_of(const diff_side& s) {
    std::vector<board_seen> v;
    for (std::size_t i = 0; i < s.celle.size(); ++i) {
        if (s.celle[i].tipo_cella == tipo::cartello) {
            const int e = s.celle[i].valore1;
            v.push_back({point_position(static_cast<i64>(i)),
                         e >= 0 && e < numero_voci ? s.voci[static_cast<std::size_t>(e)].nome
                                                   : std::string()});
        }
    }
    return v;
}

void boards(const diff_side& a, const diff_side& b, change_list& out) {
    const std::vector<board_seen> x = boards_of(a);
    const std::vector<board_seen> y = boards_of(b);
    const auto m = match(x, y, [](const board_seen& s) { return s.position; });
    const auto at = [](const board_seen& s) {
        return "indicator board at " + metres_text(s.position) + " m: ";
    };
    for (const auto& [p, q] : m.both) {
        if (p->text != q->text) {
            out.add(p->position, "indicator board", at(*p) + arrow(quoted(p->text), quoted(q->text)));
        }
    }
    for (const board_seen* s : m.removed) {
        out.add(s->position, "indicator board", at(*s) + "removed (" + quoted(s->text) + ")");
    }
    for (const board_seen* s : m.added) {
        out.add(s->position, "indicator board", at(*s) + "added (" + quoted(s->text) + ")");
    }
}

// Rows of one kind keyed by their first field (their position): each changed field, or
// added, removed.
template <typename Row>
void rows_by_position(const std::vector<Row>& a, const std::vector<Row>& b, const char* element,
                      const char* keyword, const char* prefix,
                      std::string (*summary)(const Row&), change_list& out) {
    const auto fields = fields_of(source_document::train, keyword);
    const auto m = match(a, b, [](const Row& r) { return r.values[0]; });
    const auto at = [&](const Row& r) {
        return std::string(element) + " at " + metres_text(r.values[0]) + " m: ";
    };
    for (const auto& [p, q] : m.both) {
        const std::string changed = field_changes(fields, 1, p->values.data(), q->values.data(),
                                                  p->values.size(), prefix);
        if (!changed.empty()) {
            out.add(p->values[0], element, at(*p) + changed);
        }
    }
    // A row removed and one added with all the same values but the position: moved
    // (to the nearest such).
    std::vector<const Row*> added = m.added;
    for (const Row* r : m.removed) {
        const Row* to = nullptr;
        for (const Row* a : added) {
            if (std::equal(r->values.begin() + 1, r->values.end(), a->values.begin() + 1) &&
                (to == nullptr || std::abs(i64{a->values[0]} - r->values[0]) <
                                      std::abs(i64{to->values[0]} - r->values[0]))) {
                to = a;
            }
        }
        if (to != nullptr) {
            out.add(r->values[0], element,
                    at(*r) + "moved to " + metres_text(to->values[0]) + " m");
            std::erase(added, to);
        } else {
            out.add(r->values[0], element, at(*r) + "removed" + summary(*r));
        }
    }
    for (const Row* r : added) {
        out.add(r->values[0], element, at(*r) + "added" + summary(*r));
    }
}

std::string no_summary(const signal_row&) {
    return {};
}
std::string slowdown_summary(const slowdown_row& r) {
    return " (" + std::to_string(r.values[1]) + " km/h over " + metres_text(r.values[2]) + " m)";
}

void codes(const diff_side& a, const diff_side& b, change_list& out) {
    const auto m = match(a.authored.codes, b.authored.codes,
                         [](const code_row& r) { return r.position; });
    const auto at = [](const code_row& r) {
        return "code entry at " + metres_text(r.position) + " m: ";
    };
    for (const auto& [p, q] : m.both) {
        if (p->value != q->value) {
            out.add(p->position, "code entry",
                    at(*p) + "value " + arrow(std::to_string(p->value), std::to_string(q->value)));
        }
    }
    for (const code_row* r : m.removed) {
        out.add(r->position, "code entry", at(*r) + "removed (value " + std::to_string(r->value) + ")");
    }
    for (const code_row* r : m.added) {
        out.add(r->position, "code entry", at(*r) + "added (value " + std::to_string(r->value) + ")");
    }
}

void speed_boards(const diff_side& a, const diff_side& b, change_list& out) {
    const auto fields = fields_of(source_document::line, "indicatori_vmax");
    const auto m = match(a.authored.speed_boards, b.authored.speed_boards,
                         [](const speed_board_row& r) { return r.position; });
    const auto at = [](const speed_board_row& r) {
        return "speed board at " + metres_text(r.position) + " m: ";
    };
    const auto speeds = [](const speed_board_row& r) {
        std::string s = std::to_string(r.values[0]) + "/" + std::to_string(r.values[1]) + "/" +
                        std::to_string(r.values[2]);
        if (!r.right_empty) {
            s += " and " + std::to_string(r.values[4]) + "/" + std::to_string(r.values[5]) + "/" +
                 std::to_string(r.values[6]);
        }
        return " (" + s + " km/h)";
    };
    for (const auto& [p, q] : m.both) {
        std::array<std::int32_t, 9> x{};
        std::array<std::int32_t, 9> y{};
        std::copy(p->values.begin(), p->values.end(), x.begin() + 1);
        std::copy(q->values.begin(), q->values.end(), y.begin() + 1);
        const std::string changed = field_changes(fields, 1, x.data(), y.data(), 9, "speed board ");
        if (!changed.empty()) {
            out.add(p->position, "speed board", at(*p) + changed);
        }
    }
    for (const speed_board_row* r : m.removed) {
        out.add(r->position, "speed board", at(*r) + "removed" + speeds(*r));
    }
    for (const speed_board_row* r : m.added) {
        out.add(r->position, "speed board", at(*r) + "added" + speeds(*r));
    }
}

// Stations: by name where each side has the name once, else by position.
void stations(const diff_side& a, const diff_side& b, change_list& out) {
    const auto fields = fields_of(source_document::train, "stazione");
    const auto unique_names = [](const std::vector<station_row>& v) {
        std::map<std::string, int> count;
        for (const station_row& s : v) {
            ++count[s.name];
        }
        return count;
    };
    const auto na = unique_names(a.authored.stations);
    const auto nb = unique_names(b.authored.stations);
    const auto key = [&](const station_row& s) {
        const auto x = na.find(s.name);
        const auto y = nb.find(s.name);
        const bool by_name = x != na.end() && y != nb.end() && x->second == 1 && y->second == 1;
        return by_name ? "n" + s.name : "p" + std::to_string(s.values[0]) + "/" + s.name;
    };
    const auto m = match(a.authored.stations, b.authored.stations, key);
    const auto at = [](const station_row& s) {
        return "station " + windows1252_to_utf8(s.name) + " (" + metres_text(s.values[0]) + " m): ";
    };
    for (const auto& [p, q] : m.both) {
        std::string changed;
        if (p->values[0] != q->values[0]) {
            changed = "position " + metres_text(p->values[0]) + " -> " + metres_text(q->values[0]) +
                      " m";
        }
        const std::string rest =
            field_changes(fields, 1, p->values.data(), q->values.data(), 13, "station ");
        if (!rest.empty()) {
            changed += (changed.empty() ? "" : ", ") + rest;
        }
        const std::string ta = clock_text(p->values[13], p->values[14], p->values[15]);
        const std::string tb = clock_text(q->values[13], q->values[14], q->values[15]);
        if (ta != tb) {
            changed += (changed.empty() ? "" : ", ") + std::string("time ") + arrow(ta, tb);
        }
        if (p->name != q->name) {
            changed += (changed.empty() ? "" : ", ") + std::string("name ") +
                       arrow(quoted(p->name), quoted(q->name));
        }
        if (!changed.empty()) {
            out.add(q->values[0], "station", at(*q) + changed);
        }
    }
    for (const station_row* s : m.removed) {
        out.add(s->values[0], "station", at(*s) + "removed");
    }
    for (const station_row* s : m.added) {
        out.add(s->values[0], "station", at(*s) + "added");
    }
}

// ---------------------------------------------------------------------------------
// The plan.

// What one metre of a plan is, as far as the steps tell: not in the plan, empty, or
// drawn with a curvature.
struct metre_state {
    int what;  // 0 absent, 1 empty, 2 drawn
    double k;
    bool operator==(const metre_state& o) const {
        return what == o.what && (what != 2 || k == o.k);
    }
};

metre_state state_at(const plan_analysis& p, i64 m) {
    if (m > p.last_metre) {
        return {0, 0.0};
    }
    if (m > p.last_drawn) {
        return {1, 0.0};
    }
    const auto it = std::upper_bound(p.curves.begin(), p.curves.end(), m,
                                     [](i64 v, const curve_run& r) { return v < r.first; });
    if (it != p.curves.begin() && std::prev(it)->last >= m) {
        return {2, std::prev(it)->k};
    }
    return {2, 0.0};
}

// Every point of a side's plan, in metre order.
void for_each_point(const diff_side& s,
                    const std::function<void(i64, const valore_piano&, const valore_piano&)>& f) {
    if (s.plan_points != nullptr) {
        struct visitor {
            const std::function<void(i64, const valore_piano&, const valore_piano&)>& f;
            void empties(i64 first, i64 last) {
                for (i64 m = first; m <= last; ++m) {
                    f(m, {}, {});
                }
            }
            void stored(i64 m, valore_piano x, valore_piano y) { f(m, x, y); }
            void drawn(i64 m, double x, double y) {
                f(m, {tipo_valore::doppio, x}, {tipo_valore::doppio, y});
            }
        } v{f};
        s.plan_points->visit(v);
    } else if (s.plan_file != nullptr) {
        struct visitor final : plan_visitor {
            const std::function<void(i64, const valore_piano&, const valore_piano&)>& f;
            explicit visitor(const std::function<void(i64, const valore_piano&,
                                                      const valore_piano&)>& g)
                : f(g) {}
            void start(std::int32_t) override {}
            void point(i64 m, valore_piano x, valore_piano y) override { f(m, x, y); }
        } v{f};
        stream_plan(*s.plan_file, v);
    }
}

bool same_point(const valore_piano& a, const valore_piano& b) {
    return a.tipo == b.tipo &&
           (a.tipo == tipo_valore::vuoto || std::memcmp(&a.numero, &b.numero, sizeof(double)) == 0);
}

// The first metre where the two plans differ, if any.
std::optional<i64> first_plan_difference(const diff_side& a, const diff_side& b) {
    const plan_analysis& x = *a.plan;
    const plan_analysis& y = *b.plan;
    if (x.unmatched == 0 && y.unmatched == 0) {
        // Plans the curve rows draw are the same up to the first step that differs.
        for (int i = 0; i < 4; ++i) {
            if (!same_point(x.start[static_cast<std::size_t>(i)], y.start[static_cast<std::size_t>(i)])) {
                return i / 2;
            }
        }
        std::vector<i64> edges = {2};
        for (const plan_analysis* p : {&x, &y}) {
            for (const curve_run& r : p->curves) {
                edges.push_back(r.first);
                edges.push_back(r.last + 1);
            }
            edges.push_back(p->last_drawn + 1);
            edges.push_back(p->last_metre + 1);
        }
        std::sort(edges.begin(), edges.end());
        const i64 end = std::max(x.last_metre, y.last_metre);
        for (const i64 m : edges) {
            if (m >= 2 && m <= end && !(state_at(x, m) == state_at(y, m))) {
                return m;
            }
        }
        return std::nullopt;
    }
    // A plan no rows draw: point by point.
    std::vector<valore_piano> xs;
    std::vector<valore_piano> ys;
    for_each_point(a, [&](i64, const valore_piano& p, const valore_piano& q) {
        xs.push_back(p);
        ys.push_back(q);
    });
    std::optional<i64> first;
    i64 count = 0;
    for_each_point(b, [&](i64 m, const valore_piano& p, const valore_piano& q) {
        ++count;
        const auto i = static_cast<std::size_t>(m);
        if (!first && (i >= xs.size() || !same_point(xs[i], p) || !same_point(ys[i], q))) {
            first = m;
        }
    });
    if (!first && static_cast<std::size_t>(count) != xs.size()) {
        first = std::min<i64>(count, static_cast<i64>(xs.size()));
    }
    return first;
}

void plan(const diff_side& a, const diff_side& b, change_list& out) {
    if (!a.plan && !b.plan) {
        return;
    }
    if (!a.plan || !b.plan) {
        out.add(std::nullopt, "plan", std::string("plan: ") + (a.plan ? "removed" : "added"));
        return;
    }
    if (const std::optional<i64> m = first_plan_difference(a, b)) {
        out.add(*m, "plan", "plan: first difference at " + metres_text(*m) + " m");
    }
}

// Whatever no element above says: the first values of the files that differ.
void raw_differences(const diff_side& a, const diff_side& b, change_list& out) {
    int shown = 0;
    for (int k = 0; k < numero_voci && shown < 10; ++k) {
        if (!(a.voci[static_cast<std::size_t>(k)] == b.voci[static_cast<std::size_t>(k)])) {
            out.add(std::nullopt, "header record", "header record " + std::to_string(k) + ": differs");
            ++shown;
        }
    }
    const std::size_t n = std::min(a.celle.size(), b.celle.size());
    for (std::size_t i = 0; i < n && shown < 20; ++i) {
        if (!(a.celle[i] == b.celle[i])) {
            out.add(metres_per_cell * static_cast<i64>(i), "cell",
                    "cell " + std::to_string(i) + " (" +
                        metres_text(metres_per_cell * static_cast<i64>(i)) + " m): differs");
            ++shown;
        }
    }
    if (a.celle.size() != b.celle.size()) {
        out.add(std::nullopt, "grid",
                "grid: " + arrow(std::to_string(a.celle.size()), std::to_string(b.celle.size())) +
                    " cells");
    }
}

}  // namespace

void work_out_rows(diff_side& side) {
    side.authored = reconstruct(side.voci, side.celle, side.plan);
}

bool same_scenario(const diff_side& a, const diff_side& b) {
    if (!(a.voci == b.voci) || a.celle != b.celle || a.plan.has_value() != b.plan.has_value()) {
        return false;
    }
    return !a.plan || !first_plan_difference(a, b);
}

std::vector<scenario_change> changes_between(const diff_side& before, const diff_side& after) {
    change_list out;
    whole_scenario(before.voci, after.voci, out);
    profile(before.celle, after.celle, &cella::vel_limite, "speed limit",
            [](std::uint8_t v) { return i64{5} * v; }, "km/h", out);
    profile(before.celle, after.celle, &cella::pendenza, "gradient",
            [](std::uint8_t v) { return i64{v} - 100; }, "", out);
    profile(before.celle, after.celle, &cella::aderenza, "adhesion",
            [](std::uint8_t v) { return i64{v}; }, "", out);
    curves(before, after, out);
    plan(before, after, out);
    tunnels(before.celle, after.celle, out);
    speed_boards(before, after, out);
    boards(before, after, out);
    stations(before, after, out);
    rows_by_position(before.authored.slowdowns, after.authored.slowdowns, "slowdown",
                     "rallentamento", "slowdown ", slowdown_summary, out);
    rows_by_position(before.authored.signals, after.authored.signals, "signal", "segnale",
                     "signal ", no_summary, out);
    codes(before, after, out);
    if (out.empty() && !same_scenario(before, after)) {
        raw_differences(before, after, out);
    }
    return out.take();
}

std::string metres_text(std::int64_t m) {
    const bool negative = m < 0;
    std::string digits = std::to_string(negative ? -m : m);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            out += ',';
        }
        out += digits[i];
    }
    return negative ? "-" + out : out;
}

}  // namespace scenario
