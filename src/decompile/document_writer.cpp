#include "decompile/document_writer.hpp"

#include <array>
#include <string_view>

#include "grammar/grammar.hpp"
#include "model/file_names.hpp"

namespace scenario {

namespace {

// Rows in the layout the description gives each keyword's fields.
class document_text {
  public:
    explicit document_text(source_document kind) : kind_(kind) {}

    void line(std::string_view text) {
        text_ += text;
        text_ += "\r\n";
    }

    // A row of a keyword form with its fields, as written (numbers in decimal).
    void row(std::string_view form, const std::vector<std::string>& fields) {
        const keyword_description* k = keyword_written_as(kind_, form);
        text_ += form;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            field_layout layout;
            if (k != nullptr && i < k->fields.size()) {
                layout = k->fields[i].layout;
            }
            std::size_t blanks = layout.width;
            if (layout.align == field_align::right) {
                blanks = fields[i].size() < layout.width ? layout.width - fields[i].size() : 0;
            }
            text_ += ',';
            text_.append(blanks, ' ');
            text_ += fields[i];
        }
        text_ += "\r\n";
    }

    template <std::size_t N>
    void row(std::string_view form, const std::array<std::int32_t, N>& values) {
        std::vector<std::string> fields;
        for (const std::int32_t v : values) {
            fields.push_back(std::to_string(v));
        }
        row(form, fields);
    }

    std::string take() { return std::move(text_); }

  private:
    source_document kind_;
    std::string text_;
};

std::string number(std::int64_t v) {
    return std::to_string(v);
}

std::string remark(const std::vector<std::string>& from_files) {
    std::string text = "- decompiled by \"scenario decompile\"";
    for (std::size_t i = 0; i < from_files.size(); ++i) {
        text += (i == 0 ? " from " : ", ") + from_files[i];
    }
    return text;
}

std::string line_document(const authored_scenario& a, const std::string& from) {
    document_text d(source_document::line);
    d.line(from);
    d.line("[generale]");
    d.row("lunghezza percorso", std::vector<std::string>{number(a.route_length)});
    for (const zone_row& z : a.zones) {
        const char* form = z.entry == 81   ? "progressiva chilometrica tre"
                           : z.entry == 82 ? "progressiva chilometrica due"
                                           : "progressiva chilometrica uno";
        d.row(form, std::array<std::int32_t, 3>{z.start, z.end, z.flag});
    }
    d.row("sfondo uno", std::vector<std::string>{number(a.scenery[0])});
    d.row("sfondo due", std::vector<std::string>{number(a.scenery[1])});
    d.row("sfondo tre", std::vector<std::string>{number(a.scenery[2])});
    if (a.repetition) {
        d.row(a.repetition->codes == 9 ? "ripetizione segnali 9 codici"
                                       : "ripetizione segnali 4 codici",
              std::array<std::int32_t, 2>{a.repetition->start, a.repetition->end});
    }
    d.line("[curve]");
    for (const curve_row& c : a.curves) {
        const std::string form =
            std::string("curva") + (c.left ? "s" : "d") + static_cast<char>('0' + c.curve_class);
        d.row(form, std::array<std::int32_t, 2>{c.start, c.length});
    }
    d.line("[pendenze]");
    for (const profile_row& r : a.gradients) {
        d.row("pendenza", std::array<std::int32_t, 2>{r.chainage, r.value});
    }
    d.line("[montagne]");
    for (const tunnel_row& t : a.tunnels) {
        d.row("montagna", std::array<std::int32_t, 3>{t.start, t.end, t.type});
    }
    d.line("[cartelli]");
    for (const speed_board_row& b : a.speed_boards) {
        std::vector<std::string> fields{number(b.position)};
        for (std::size_t i = 0; i < 8; ++i) {
            const bool empty = b.right_empty && i >= 4 && i < 7;
            fields.push_back(empty ? std::string() : number(b.values[i]));
        }
        d.row("indicatori_vmax", fields);
    }
    d.line("[indicazioni]");
    for (const board_row& b : a.boards) {
        d.row("cartello_indicatore", std::vector<std::string>{number(b.position), b.text});
    }
    d.line("[fine]");
    return d.take();
}

std::string train_document(const authored_scenario& a, const std::string& from) {
    document_text d(source_document::train);
    d.line(from);
    d.line("[generale]");
    d.row("numero vetture", std::vector<std::string>{number(a.cars)});
    d.row("percentuale massa frenata", std::vector<std::string>{number(a.braked_mass)});
    d.row("sabbia", std::vector<std::string>{number(a.sand)});
    d.row("orologio", std::vector<std::string>{number(a.clock[0]), number(a.clock[1]),
                                               number(a.clock[2])});
    d.line("[aderenze]");
    for (const profile_row& r : a.adhesion) {
        d.row("aderenza", std::array<std::int32_t, 2>{r.chainage, r.value});
    }
    d.line("[vel_limite]");
    for (const profile_row& r : a.speed) {
        d.row("velocita", std::array<std::int32_t, 2>{r.chainage, r.value});
    }
    // The element sections in the built-in order; a row that must come before one of
    // an earlier section opens its own section again.
    constexpr std::array<const char*, 4> headers = {"[stazioni]", "[rallentamenti]", "[segnali]",
                                                    "[codici]"};
    int section = -1;
    const auto open = [&](int s) {
        if (s > section) {
            for (int i = section + 1; i <= s; ++i) {
                d.line(headers[static_cast<std::size_t>(i)]);
            }
        } else if (s < section) {
            d.line(headers[static_cast<std::size_t>(s)]);
        }
        section = s;
    };
    for (const train_row_ref& ref : a.train_order) {
        open(static_cast<int>(ref.kind));
        switch (ref.kind) {
            case train_row_kind::station: {
                const station_row& s = a.stations[ref.index];
                std::vector<std::string> fields;
                for (const std::int32_t v : s.values) {
                    fields.push_back(number(v));
                }
                fields.push_back(s.name);
                d.row("stazione", fields);
                break;
            }
            case train_row_kind::slowdown:
                d.row("rallentamento", a.slowdowns[ref.index].values);
                break;
            case train_row_kind::signal:
                d.row("segnale", a.signals[ref.index].values);
                break;
            case train_row_kind::code: {
                const code_row& c = a.codes[ref.index];
                d.row("abbattimento", std::array<std::int32_t, 2>{c.position, c.value});
                break;
            }
        }
    }
    if (section < static_cast<int>(headers.size()) - 1) {
        open(static_cast<int>(headers.size()) - 1);
    }
    d.line("[fine]");
    return d.take();
}

}  // namespace

scenario_documents write_documents(const authored_scenario& a,
                                   const std::vector<std::string>& from_files) {
    const std::string from = remark(from_files);
    scenario_documents out;
    out.line_name = nome_documento_linea(a.scenario);
    out.train_name = nome_documento_treno(a.scenario, a.train);
    out.line = line_document(a, from);
    out.train = train_document(a, from);
    return out;
}

}  // namespace scenario
