#include "decompile/decompile.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "compiled/compiled_scenario.hpp"
#include "decompile/reconstruct.hpp"
#include "files/grid_file.hpp"
#include "files/header_file.hpp"
#include "files/plan_file.hpp"
#include "text/windows1252.hpp"

namespace scenario {

namespace {

// ---------------------------------------------------------------------------------
// Header and grid: value by value.

file_value integer_value(std::int64_t v) {
    return v;
}

void compare_header(const tabella_voci& stored, const tabella_voci& given,
                    std::vector<file_difference>& out) {
    std::uint64_t record = 0;
    for (int k = 0; k < numero_voci; ++k) {
        const voce& s = stored[static_cast<std::size_t>(k)];
        const voce& g = given[static_cast<std::size_t>(k)];
        std::uint64_t at = record;
        for_each_field(voce_fields, [&](const auto& field) {
            using field_type = std::decay_t<decltype(field)>;
            const std::string what = "record " + std::to_string(k) + ", " + field.name;
            if constexpr (field_type::is_text) {
                if (s.*field_type::member != g.*field_type::member) {
                    out.push_back({file_format::header, at, what,
                                   file_value{s.*field_type::member},
                                   file_value{g.*field_type::member}});
                }
                at += sizeof(header_text_length) + (s.*field_type::member).size();
            } else {
                if (field.stored(s) != field.stored(g)) {
                    out.push_back({file_format::header, at, what, integer_value(field.stored(s)),
                                   integer_value(field.stored(g))});
                }
                at += field_type::width;
            }
        });
        record = at;
    }
}

void compare_grid(const griglia& stored, const griglia& given, std::vector<file_difference>& out) {
    if (stored.size() != given.size()) {
        out.push_back({file_format::grid, sizeof(std::uint16_t), "number of cells",
                       integer_value(static_cast<std::int64_t>(stored.size())),
                       integer_value(static_cast<std::int64_t>(given.size()))});
    }
    const std::size_t n = std::max(stored.size(), given.size());
    const cella none{};
    for (std::size_t i = 0; i < n; ++i) {
        const cella& s = i < stored.size() ? stored[i] : none;
        const cella& g = i < given.size() ? given[i] : none;
        if (i < stored.size() && i < given.size() && s == g) {
            continue;
        }
        std::uint64_t at = grid_header_bytes + cell_bytes * i;
        for_each_field(cella_fields, [&](const auto& field) {
            using field_type = std::decay_t<decltype(field)>;
            const std::string what = "cell " + std::to_string(i) + ", " + field.name;
            const auto sv = field.stored(s);
            const auto gv = field.stored(g);
            const file_value shown_s =
                i < stored.size() ? integer_value(sv) : file_value{std::monostate{}};
            const file_value shown_g =
                i < given.size() ? integer_value(gv) : file_value{std::monostate{}};
            if (i >= stored.size() || i >= given.size() || sv != gv) {
                out.push_back({file_format::grid, at, what, shown_s, shown_g});
            }
            at += field_type::width;
        });
    }
}

// ---------------------------------------------------------------------------------
// Plan: bytes first (the documents' plan is encoded straight into the comparison),
// point by point only when they differ.

class comparing_sink final : public byte_sink {
  public:
    explicit comparing_sink(byte_source& file) : file_(file) {}

    void write(std::string_view bytes) override { write_at(end_, bytes); }
    void write_at(std::uint64_t offset, std::string_view bytes) override {
        end_ = std::max<std::uint64_t>(end_, offset + bytes.size());
        if (!same_) {
            return;
        }
        if (offset + bytes.size() > file_.size()) {
            same_ = false;
            return;
        }
        buffer_.resize(bytes.size());
        file_.read_at(offset, buffer_.data(), bytes.size());
        same_ = std::memcmp(buffer_.data(), bytes.data(), bytes.size()) == 0;
    }
    bool same() const { return same_ && end_ == file_.size(); }

  private:
    byte_source& file_;
    std::vector<char> buffer_;
    std::uint64_t end_ = 0;
    bool same_ = true;
};

// The documents' plan, every coordinate, for the comparison point by point.
struct plan_points {
    std::vector<valore_piano> x;
    std::vector<valore_piano> y;

    void empties(std::int64_t first, std::int64_t last) {
        for (std::int64_t m = first; m <= last; ++m) {
            x.push_back({});
            y.push_back({});
        }
    }
    void stored(std::int64_t, valore_piano a, valore_piano b) {
        x.push_back(a);
        y.push_back(b);
    }
    void drawn(std::int64_t, double a, double b) {
        x.push_back({tipo_valore::doppio, a});
        y.push_back({tipo_valore::doppio, b});
    }
};

bool same_value(const valore_piano& a, const valore_piano& b) {
    if (a.tipo != b.tipo) {
        return false;
    }
    return a.tipo == tipo_valore::vuoto ||
           std::memcmp(&a.numero, &b.numero, sizeof(double)) == 0;
}

file_value shown(const valore_piano& v) {
    switch (v.tipo) {
        case tipo_valore::intero:
            return static_cast<std::int64_t>(v.numero);
        case tipo_valore::doppio:
            return v.numero;
        default:
            return std::monostate{};
    }
}

// Walks the file's points beside the documents' ones; each run of metres that differ
// in one coordinate becomes one difference (at the first metre's offset and values).
class plan_comparison final : public plan_visitor {
  public:
    plan_comparison(const plan_points& given, std::vector<file_difference>& out)
        : given_(given), out_(out) {}

    void start(std::int32_t metres) override {
        metres_ = metres;
        if (static_cast<std::size_t>(metres) != given_.x.size()) {
            out_.push_back({file_format::plan, sizeof(std::uint16_t), "number of metres",
                            std::int64_t{metres},
                            static_cast<std::int64_t>(given_.x.size())});
        }
    }

    void point(std::int64_t metro, valore_piano x, valore_piano y) override {
        const auto m = static_cast<std::size_t>(metro);
        const valore_piano none{};
        compare(0, metro, x, m < given_.x.size() ? given_.x[m] : none, m < given_.x.size());
        compare(1, metro, y, m < given_.y.size() ? given_.y[m] : none, m < given_.y.size());
        x_bytes_ += plan_value_bytes(x.tipo);
        y_bytes_ += plan_value_bytes(y.tipo);
    }

    void finish() {
        for (int c = 0; c < 2; ++c) {
            close(c);
        }
        // The second coordinates start after all the first ones.
        for (const std::size_t i : second_) {
            out_[i].offset += plan_header_bytes + x_bytes_;
        }
    }

  private:
    struct run {
        std::size_t difference;  // index into out_
        std::int64_t first;
        std::int64_t last;
    };

    void compare(int c, std::int64_t metro, const valore_piano& s, const valore_piano& g,
                 bool given_has) {
        std::optional<run>& open = runs_[static_cast<std::size_t>(c)];
        if (given_has && same_value(s, g)) {
            close(c);
            return;
        }
        if (open && open->last == metro - 1) {
            open->last = metro;
            return;
        }
        close(c);
        const std::uint64_t at = c == 0 ? plan_header_bytes + x_bytes_ : y_bytes_;
        out_.push_back({file_format::plan, at, std::string(), shown(s),
                        given_has ? shown(g) : file_value{std::monostate{}}});
        if (c == 1) {
            second_.push_back(out_.size() - 1);
        }
        open = run{out_.size() - 1, metro, metro};
    }

    void close(int c) {
        std::optional<run>& open = runs_[static_cast<std::size_t>(c)];
        if (!open) {
            return;
        }
        const char* coordinate = c == 0 ? "x" : "y";
        out_[open->difference].what =
            open->first == open->last
                ? "metre " + std::to_string(open->first) + ", " + coordinate
                : "metres " + std::to_string(open->first) + " to " + std::to_string(open->last) +
                      ", " + coordinate + " (values of the first)";
        open.reset();
    }

    const plan_points& given_;
    std::vector<file_difference>& out_;
    std::int32_t metres_ = 0;
    std::uint64_t x_bytes_ = 0;
    std::uint64_t y_bytes_ = 0;
    std::optional<run> runs_[2];
    std::vector<std::size_t> second_;
};

void compare_plan(byte_source& file, const run_state& given, std::vector<file_difference>& out) {
    if (!given.tracciato.exists()) {
        out.push_back({file_format::plan, 0, "the whole file",
                       std::string("a line plan"), std::string("no line plan")});
        return;
    }
    comparing_sink sink(file);
    encode_output(given, file_format::plan, sink);
    if (sink.same()) {
        return;
    }
    plan_points points;
    given.tracciato.visit(points);
    std::vector<file_difference> found;
    plan_comparison comparison(points, found);
    stream_plan(file, comparison);
    comparison.finish();
    std::stable_sort(found.begin(), found.end(),
                     [](const file_difference& a, const file_difference& b) {
                         return a.offset < b.offset;
                     });
    out.insert(out.end(), found.begin(), found.end());
}

}  // namespace

namespace {

// The documents of one set of rows, compiled in memory and compared with the files.
void check(const compiled_files& files, decompiled_scenario& result) {
    result.documents = write_documents(result.authored, files.file_names);
    compile_request request;
    request.scenario = result.authored.scenario;
    request.train = result.authored.train;
    request.line = document_source{result.documents.line_name, result.documents.line};
    request.train_document = document_source{result.documents.train_name, result.documents.train};
    request.plan = files.plan.has_value();
    const compiled_scenario compiled = compile(request);
    result.document_errors.clear();
    for (const diagnostic& d : compiled.state.diagnostics) {
        if (d.level == severity::error) {
            result.document_errors.push_back(d);
        }
    }
    result.differences.clear();
    compare_header(files.voci, compiled.state.voci, result.differences);
    compare_grid(files.celle, compiled.state.celle, result.differences);
    if (files.plan && files.plan_bytes != nullptr) {
        compare_plan(*files.plan_bytes, compiled.state, result.differences);
    }
}

// The station cells whose guess may be the cause of the approach markers that differ:
// those with a marker cell of a signal there among them.
std::vector<std::int64_t> to_flip(const std::vector<std::int64_t>& guessed,
                                  const std::vector<file_difference>& differences) {
    std::vector<std::int64_t> flip;
    for (const std::int64_t r : guessed) {
        for (const file_difference& d : differences) {
            if (d.file != file_format::grid || d.offset < grid_header_bytes) {
                continue;
            }
            const auto c = static_cast<std::int64_t>((d.offset - grid_header_bytes) / cell_bytes);
            if (d.what.ends_with("avvicinamento") && c < r && c >= r - 8 && (r - c) % 2 == 0) {
                flip.push_back(r);
                break;
            }
        }
    }
    return flip;
}

}  // namespace

decompiled_scenario decompile(const compiled_files& files) {
    decompiled_scenario result;
    std::vector<std::int64_t> guessed;
    result.authored = reconstruct(files.voci, files.celle, files.plan, {}, &guessed);
    if (files.plan) {
        result.first_unmatched_metre = files.plan->first_unmatched;
        result.unmatched_metres = files.plan->unmatched;
    }
    check(files, result);
    // A guess of what a station was written over that the markers contradict: the
    // other guess, kept when it gives more back.
    const std::vector<std::int64_t> flip = to_flip(guessed, result.differences);
    if (!flip.empty()) {
        decompiled_scenario other;
        other.authored = reconstruct(files.voci, files.celle, files.plan, {flip});
        other.first_unmatched_metre = result.first_unmatched_metre;
        other.unmatched_metres = result.unmatched_metres;
        check(files, other);
        if (other.differences.size() < result.differences.size()) {
            result = std::move(other);
        }
    }
    return result;
}

compiled_files files_of(const run_state& state, std::string& plan_bytes) {
    compiled_files files;
    files.voci = state.voci;
    files.celle = state.celle;
    if (state.con_tracciato != 0 && state.tracciato.exists()) {
        files.plan = analyse_plan(state.tracciato);
        string_sink sink;
        encode_output(state, file_format::plan, sink);
        plan_bytes = sink.bytes();
        files.owned_plan_bytes = std::make_unique<memory_bytes>(plan_bytes);
        files.plan_bytes = files.owned_plan_bytes.get();
    }
    return files;
}

std::string value_text(const file_value& v) {
    if (const auto* i = std::get_if<std::int64_t>(&v)) {
        return std::to_string(*i);
    }
    if (const auto* d = std::get_if<double>(&v)) {
        if (std::isnan(*d)) {
            return "nan";
        }
        if (std::isinf(*d)) {
            return *d > 0 ? "inf" : "-inf";
        }
        char buffer[64];
        const auto r = std::to_chars(buffer, buffer + sizeof buffer, *d);
        return std::string(buffer, r.ptr);
    }
    if (const auto* s = std::get_if<std::string>(&v)) {
        return "\"" + windows1252_to_utf8(*s) + "\"";
    }
    return "-";
}

const char* file_title(file_format f) {
    switch (f) {
        case file_format::header:
            return "header file";
        case file_format::grid:
            return "grid file";
        case file_format::plan:
            return "line plan file";
    }
    return "file";
}

}  // namespace scenario
