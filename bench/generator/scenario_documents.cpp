#include "generator/scenario_documents.hpp"

#include <charconv>
#include <cstdint>
#include <string_view>

namespace scenario::bench {

namespace {

// Appends lines to a document; numbers are written right-aligned in a field width.
class document_builder {
  public:
    document_builder& text(std::string_view s) {
        out_.append(s);
        return *this;
    }
    document_builder& number(std::int64_t v, int width = 0) {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, v).ptr;
        const auto n = static_cast<int>(end - digits);
        if (width > n) {
            out_.append(static_cast<std::size_t>(width - n), ' ');
        }
        out_.append(digits, end);
        return *this;
    }
    // A comma, then the number right-aligned in the width.
    document_builder& field(std::int64_t v, int width) {
        out_ += ',';
        return number(v, width);
    }
    document_builder& end_line() {
        out_.append("\r\n");
        return *this;
    }
    document_builder& line(std::string_view s) { return text(s).end_line(); }
    std::string take() { return std::move(out_); }

  private:
    std::string out_;
};

std::int32_t zone_bound(const scenario_layout& l, int percent) {
    return static_cast<std::int32_t>(std::int64_t{l.route_length} * percent / 100 / 50 * 50);
}

void general_line(document_builder& d, std::string_view name,
                  std::initializer_list<std::int64_t> values) {
    d.text(name);
    for (const std::int64_t v : values) {
        d.text(",    ").number(v);
    }
    d.end_line();
}

}  // namespace

std::string line_document(const scenario_layout& l) {
    document_builder d;
    d.line("[generale]");
    general_line(d, "lunghezza percorso", {l.route_length});
    general_line(d, "progressiva chilometrica uno", {zone_bound(l, 20), zone_bound(l, 40), 1});
    general_line(d, "progressiva chilometrica due", {zone_bound(l, 40) - 50, zone_bound(l, 70), 1});
    general_line(d, "progressiva chilometrica tre", {zone_bound(l, 70) - 50, zone_bound(l, 95), 1});
    general_line(d, "sfondo uno", {70000});
    general_line(d, "sfondo due", {50000});
    general_line(d, "sfondo tre", {1});
    general_line(d, "ripetizione segnali 4 codici", {0, zone_bound(l, 96)});
    d.line("[curve]");
    for (const curve_entry& c : l.curves) {
        d.text("curva").text(std::string_view(&c.side, 1)).number(c.class_digit);
        d.text(",  ").number(c.start).text(",  ").number(c.length).end_line();
    }
    d.line("[pendenze]");
    for (const gradient_entry& g : l.gradients) {
        d.text("pendenza,  ").number(g.position).text(",   ").number(g.gradient).end_line();
    }
    d.line("[montagne]");
    for (const tunnel_entry& t : l.tunnels) {
        d.text("montagna,   ").number(t.start).text(",  ").number(t.end);
        d.text(",  ").number(t.type).end_line();
    }
    d.line("[cartelli]");
    for (const speed_board_entry& b : l.speed_boards) {
        d.text("indicatori_vmax,  ").number(b.position);
        for (const std::int32_t v : b.left) {
            d.text(",  ").number(v);
        }
        if (b.has_right) {
            for (const std::int32_t v : b.right) {
                d.text(",  ").number(v);
            }
        } else {
            d.text(",  ,  ,  ,  0");
        }
        d.end_line();
    }
    d.line("[indicazioni]");
    for (const sign_entry& s : l.signs) {
        d.text("cartello_indicatore,  ").number(s.position).text(",   ").line(s.text);
    }
    d.line("[fine]");
    return d.take();
}

std::string train_document(const scenario_layout& l) {
    document_builder d;
    d.line("[generale]");
    d.line("numero vetture,    12");
    d.line("percentuale massa frenata,    125");
    d.line("sabbia,    300");
    d.line("orologio,    6              0             0 ");
    d.line("[aderenze]");
    bool first = true;
    for (const profile_entry& a : l.adhesion) {
        d.text("aderenza,   ").number(a.position).field(a.value, first ? 7 : 6).end_line();
        first = false;
    }
    d.line("[vel_limite]");
    for (const profile_entry& v : l.speeds) {
        d.text("velocita").field(v.position, 8).field(v.value, 6).end_line();
    }
    d.line("[stazioni]");
    constexpr int widths[10] = {3, 2, 2, 3, 1, 1, 3, 1, 1, 5};
    for (const station_entry& s : l.stations) {
        d.text("stazione").field(s.position, 8).field(s.kind, 3).field(s.length, 5);
        for (int i = 0; i < 10; ++i) {
            d.field(s.fields[i], widths[i]);
        }
        d.field(s.hours, 4).field(s.minutes, 2).field(s.seconds, 2);
        d.text(", ").line(s.name);
    }
    d.line("[rallentamenti]");
    for (const slowdown_entry& r : l.slowdowns) {
        d.text("rallentamento").field(r.start, 8).field(r.speed, 6).field(r.length, 5);
        d.field(r.whole_train, 2).field(r.prewarning, 3).field(r.value, 3).end_line();
    }
    d.line("[segnali]");
    constexpr int signal_widths[9] = {4, 2, 2, 3, 2, 5, 3, 1, 1};
    for (const signal_entry& s : l.signals) {
        d.text("segnale").field(s.position, 8);
        for (int i = 0; i < 9; ++i) {
            d.field(s.values[i], signal_widths[i]);
        }
        d.text(", ").number(s.values[9]).end_line();
    }
    d.line("[codici]");
    d.line("[fine]");
    return d.take();
}

}  // namespace scenario::bench
