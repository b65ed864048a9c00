#include "live/result_json.hpp"

#include <optional>
#include <string_view>

#include "files/byte_sink.hpp"
#include "files/scenario_files.hpp"
#include "model/cella.hpp"
#include "model/voce.hpp"
#include "render/marks.hpp"
#include "render/svg.hpp"

namespace scenario::live {

namespace {

constexpr std::int32_t metres_per_cell = 50;

// Counts the bytes an encoder writes, keeping none of them.
class size_sink : public byte_sink {
  public:
    void write(std::string_view bytes) override { size_ += bytes.size(); }
    void write_at(std::uint64_t offset, std::string_view bytes) override {
        size_ = std::max<std::uint64_t>(size_, offset + bytes.size());
    }
    std::uint64_t size() const { return size_; }

  private:
    std::uint64_t size_ = 0;
};

// One element of the picture: what it is, where, and the record behind it.
struct element {
    const char* kind;
    std::string name;  // Windows-1252 text; empty for none
    std::int32_t position = 0;
    std::optional<std::int32_t> end;
    int cell = -1;   // the grid cell holding it, -1 for none
    int entry = -1;  // the header record holding it (a station), -1 for none
    std::string detail;
    // A profile step shows one field of its cells: only that one is given.
    const char* field = nullptr;
    // The document row of an element that has no cell (a curve); -1 for none.
    std::int32_t row = -1;
};

template <typename Record, typename Fields>
void write_values(const Record& r, const Fields& fields, json_writer& json) {
    json.key("values");
    json.begin_object();
    for_each_field(fields, [&](const auto& field) {
        if constexpr (!std::decay_t<decltype(field)>::is_text) {
            json.member(field.name, static_cast<std::int64_t>(field.stored(r)));
        }
    });
    json.end_object();
}

// The document row that wrote an element, if the readers traced one.
const source_row* row_of(const run_state& stato, const element& e) {
    const reading_trace& t = stato.trace;
    std::int32_t row = e.row;
    if (row < 0 && e.cell >= 0 && static_cast<std::size_t>(e.cell) < t.cells.size()) {
        row = t.cells[static_cast<std::size_t>(e.cell)].row;
    }
    if (row < 0 || static_cast<std::size_t>(row) >= t.rows.size()) {
        return nullptr;
    }
    return &t.rows[static_cast<std::size_t>(row)];
}

void write_element(const run_state& stato, std::size_t id, const element& e,
                   const document_pair& documents, json_writer& json) {
    json.begin_object();
    json.member("id", static_cast<std::int64_t>(id));
    json.member("kind", e.kind);
    if (e.name.empty()) {
        json.member_null("name");
    } else {
        json.member_document("name", e.name);
    }
    json.member("position", static_cast<std::int64_t>(e.position));
    if (e.end) {
        json.member("end", static_cast<std::int64_t>(*e.end));
    } else {
        json.member_null("end");
    }
    const bool has_cell = e.cell >= 0 && static_cast<std::size_t>(e.cell) < stato.celle.size();
    if (has_cell) {
        json.member("cell", e.cell);
    } else {
        json.member_null("cell");
    }
    if (e.entry >= 0 && e.entry < numero_voci) {
        json.member("entry", e.entry);
        write_values(stato.voci[static_cast<std::size_t>(e.entry)], voce_fields, json);
    } else if (has_cell && e.field != nullptr) {
        json.member_null("entry");
        json.key("values");
        json.begin_object();
        for_each_field(cella_fields, [&](const auto& field) {
            if (std::string_view(field.name) == e.field) {
                json.member(field.name, static_cast<std::int64_t>(
                                            field.stored(stato.celle[static_cast<std::size_t>(e.cell)])));
            }
        });
        json.end_object();
    } else if (has_cell) {
        json.member_null("entry");
        write_values(stato.celle[static_cast<std::size_t>(e.cell)], cella_fields, json);
    } else {
        json.member_null("entry");
        json.member_null("values");
    }
    json.member_document("detail", e.detail);
    const source_row* row = row_of(stato, e);
    if (row != nullptr) {
        json.member("document", row->document == source_document::line ? documents.line
                                                                       : documents.train);
        json.member("line", row->line);
    } else {
        json.member_null("document");
        json.member_null("line");
    }
    json.end_object();
}

// The elements in the order of the picture's numbers (render::element_ids).
std::vector<element> elements_of(const run_state& stato, const render::route_marks& marks) {
    std::vector<element> out;
    // A station's cell is the one of kind stazione holding its header entry (valore1).
    std::vector<int> station_cell(numero_voci, -1);
    for (std::size_t c = 0; c < stato.celle.size(); ++c) {
        const cella& k = stato.celle[c];
        if (k.tipo_cella == tipo::stazione && k.valore1 >= 0 && k.valore1 < numero_voci) {
            station_cell[static_cast<std::size_t>(k.valore1)] = static_cast<int>(c);
        }
    }
    for (const render::station_mark& s : marks.stations) {
        out.push_back({"station", s.name, s.position, std::nullopt,
                       station_cell[static_cast<std::size_t>(s.entry)], s.entry,
                       s.name + " at " + std::to_string(s.position) + " m"});
    }
    const auto points = [&](const std::vector<render::point_mark>& list, const char* kind) {
        for (const render::point_mark& m : list) {
            out.push_back({kind, {}, m.position, std::nullopt, m.cell, -1, m.detail});
        }
    };
    points(marks.signals, "signal");
    points(marks.boards, "board");
    points(marks.speed_boards, "speed_board");
    const auto spans = [&](const std::vector<render::span_mark>& list, const char* kind) {
        for (const render::span_mark& s : list) {
            out.push_back({kind, {}, s.start, s.end, s.cell, -1, s.detail});
        }
    };
    spans(marks.slowdowns, "slowdown");
    spans(marks.tunnels, "tunnel");
    const auto steps = [&](const std::vector<render::profile_step>& list, const char* kind,
                           const char* what, const char* field) {
        for (const render::profile_step& s : list) {
            out.push_back({kind, {}, s.start, s.end, s.start / metres_per_cell, -1,
                           std::string(what) + " " + std::to_string(s.value) + " from " +
                               std::to_string(s.start) + " to " + std::to_string(s.end) + " m",
                           field});
        }
    };
    steps(marks.speed, "speed", "speed limit (km/h)", "vel_limite");
    steps(marks.gradient, "gradient", "gradient", "pendenza");
    steps(marks.adhesion, "adhesion", "adhesion", "aderenza");
    for (std::size_t i = 0; i < marks.curves.size() && i < stato.trace.curves.size(); ++i) {
        const render::span_mark& c = marks.curves[i];
        out.push_back({"curve", {}, c.start, c.end, -1, -1, c.detail, nullptr,
                       stato.trace.curves[i].row});
    }
    points(marks.code_points, "code_point");
    return out;
}

}  // namespace

void write_drawing(const run_state& drawn, std::uint64_t generation, bool stale,
                   std::span<const diagnostic> diagnostics, bool plan,
                   const document_pair& documents, json_writer& json) {
    render::render_options options;
    options.plan = plan;
    options.annotated = true;
    json.key("drawing");
    json.begin_object();
    json.member("generation", static_cast<std::int64_t>(generation));
    json.key("stale");
    json.boolean(stale);
    render::route_marks marks;
    std::string svg;
    {
        // The layout holds the plan's every metre: it goes before the picture is quoted.
        render::picture_layout picture = render::lay_out_picture(drawn, diagnostics, options);
        svg = render::draw_picture(picture);
        marks = std::move(picture.marks);
    }
    json.member("svg", svg);
    svg = std::string();
    json.key("elements");
    json.begin_array();
    const std::vector<element> list = elements_of(drawn, marks);
    for (std::size_t i = 0; i < list.size(); ++i) {
        write_element(drawn, i, list[i], documents, json);
    }
    json.end_array();
    json.end_object();
}

void write_status(const run_state& stato, bool writes, json_writer& json) {
    const element_counts& n = stato.trace.counts;
    json.key("status");
    json.begin_object();
    json.key("counts");
    json.begin_object();
    json.member("cells", static_cast<std::int64_t>(stato.celle.size()));
    json.member("stations", n.stations);
    json.member("signals", n.signals);
    json.member("slowdowns", n.slowdowns);
    json.member("tunnels", n.tunnels);
    json.member("indicator_boards", n.indicator_boards);
    json.member("speed_boards", n.speed_boards);
    json.member("code_entries", n.code_entries);
    json.member("curves", n.curves);
    json.member("gradient_rows", n.gradient_rows);
    json.member("speed_rows", n.speed_rows);
    json.member("adhesion_rows", n.adhesion_rows);
    json.end_object();
    json.key("files");
    json.begin_array();
    if (writes) {
        for (const output_file& f : output_files(stato)) {
            size_sink sink;
            encode_output(stato, f.format, sink);
            json.begin_object();
            json.member("name", f.name);
            json.member("size", static_cast<std::int64_t>(sink.size()));
            json.end_object();
        }
    }
    json.end_array();
    json.end_object();
}

}  // namespace scenario::live
