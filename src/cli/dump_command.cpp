#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "cli/args.hpp"
#include "cli/commands.hpp"
#include "cli/dump_views.hpp"
#include "cli/exit_status.hpp"
#include "report/json_writer.hpp"
#include "files/file_ops.hpp"
#include "cli/text_table.hpp"
#include "files/file_error.hpp"
#include "files/file_ops.hpp"
#include "files/grid_file.hpp"
#include "files/header_file.hpp"
#include "files/plan_file.hpp"
#include "text/windows1252.hpp"

namespace scenario::cli {

namespace {

bool ends_with(const std::string& s, std::string_view end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

// The kind of file to decode: from --kind, else from the file name.
std::string file_kind(const std::string& path, const std::optional<std::string>& option) {
    if (option) {
        if (*option != "header" && *option != "grid" && *option != "plan") {
            throw usage_error("unknown kind \"" + *option + "\" for --kind (header, grid or plan)");
        }
        return *option;
    }
    const std::string name(file_name_of(path));
    if (ends_with(name, "_linea.dat")) {
        return "plan";
    }
    if (ends_with(name, ".sim")) {
        return "header";
    }
    if (ends_with(name, ".dat")) {
        return "grid";
    }
    throw usage_error("cannot tell the kind of \"" + name +
                      "\" from its name (.sim, .dat or _linea.dat); give --kind header|grid|plan");
}

const char* kind_title(const std::string& kind) {
    return kind == "header" ? "header file" : kind == "grid" ? "grid file" : "line plan file";
}

// A write to the output that failed (a closed pipe, a full disk) ends the dump: the
// rest would fail too.
void check_output(const std::ostream& out) {
    if (!out) {
        throw file_error(std::string(), "the write failed", "cannot write the standard output");
    }
}

// The dump's output: the rows of one file as a table or as JSON, printed as they come.
class dump_printer : public row_sink {
  public:
    virtual ~dump_printer() = default;
    // Before the rows: what the file holds, in words for the table's title; the JSON
    // member giving the number of cells or points the file says it has (none for the
    // header) and the one holding the rows; the columns.
    virtual void start(const std::string& holds, const char* count_name, std::int64_t count,
                       const char* rows_name, std::vector<dump_column> columns) = 0;
    // After the rows: the file decoded, or the fault that stopped it.
    virtual void finish() = 0;
    virtual void fail(const decode_error& e) = 0;
};

class table_printer final : public dump_printer {
  public:
    table_printer(std::ostream& out, std::string title) : out_(out), title_(std::move(title)) {}

    void start(const std::string& holds, const char*, std::int64_t, const char*,
               std::vector<dump_column> columns) override {
        out_ << title_ << holds << '\n';
        std::vector<text_table::column> shown;
        for (dump_column& c : columns) {
            in_table_.push_back(c.in_table);
            if (c.in_table) {
                shown.push_back({std::move(c.name), c.right, c.width, c.last_in_table});
            }
        }
        texts_.resize(shown.size());
        table_.emplace(std::move(shown), out_);
        table_->print_head();
        check_output(out_);
    }
    void value(const shown_value& v) override {
        if (!in_table_[column_++]) {
            return;
        }
        std::string& text = texts_[shown_++];
        text.clear();
        if (const auto* i = std::get_if<std::int64_t>(&v)) {
            text += std::to_string(*i);
        } else if (const auto* d = std::get_if<double>(&v)) {
            append_double(text, *d);
        } else if (const auto* s = std::get_if<std::string_view>(&v)) {
            text += *s;
        } else if (const auto* t = std::get_if<windows1252_bytes>(&v)) {
            text += windows1252_to_utf8(t->bytes);
        } else {
            text += '-';
        }
    }
    void end_row() override {
        table_->print_row(texts_);
        column_ = shown_ = 0;
        check_output(out_);
    }
    void finish() override { check_output(out_.flush()); }
    void fail(const decode_error&) override { out_.flush(); }

  private:
    std::ostream& out_;
    std::string title_;
    std::optional<text_table> table_;
    std::vector<bool> in_table_;
    std::vector<std::string> texts_;
    std::size_t column_ = 0;
    std::size_t shown_ = 0;
};

class json_printer final : public dump_printer {
  public:
    json_printer(std::ostream& out, const std::string& kind, const std::string& path,
                 std::uint64_t bytes)
        : out_(out), json_(out) {
        json_.begin_object();
        json_.member("kind", kind);
        json_.member("file", path);
        json_.member("bytes", static_cast<std::int64_t>(bytes));
    }

    void start(const std::string&, const char* count_name, std::int64_t count,
               const char* rows_name, std::vector<dump_column> columns) override {
        if (count_name != nullptr) {
            json_.member(count_name, count);
        }
        json_.key(rows_name);
        json_.begin_array();
        in_rows_ = true;
        columns_ = std::move(columns);
    }
    void value(const shown_value& v) override {
        if (column_ == 0) {
            json_.begin_object();
        }
        json_.key(columns_[column_++].name);
        if (const auto* i = std::get_if<std::int64_t>(&v)) {
            json_.integer(*i);
        } else if (const auto* d = std::get_if<double>(&v)) {
            json_.number(*d);
        } else if (const auto* s = std::get_if<std::string_view>(&v)) {
            json_.string(*s);
        } else if (const auto* t = std::get_if<windows1252_bytes>(&v)) {
            json_.document_string(t->bytes);
        } else {
            json_.null();
        }
    }
    void end_row() override {
        json_.end_object();
        column_ = 0;
        check_output(out_);
    }
    void finish() override {
        close_rows();
        json_.end_object();
        check_output(out_ << '\n');
    }
    void fail(const decode_error& e) override {
        close_rows();
        json_.key("error");
        json_.begin_object();
        json_.member("offset", static_cast<std::int64_t>(e.offset()));
        json_.member("message", e.what());
        json_.end_object();
        json_.end_object();
        out_ << '\n';
    }

  private:
    void close_rows() {
        if (in_rows_) {
            json_.end_array();
            in_rows_ = false;
        }
    }

    std::ostream& out_;
    json_writer json_;
    std::vector<dump_column> columns_;
    std::size_t column_ = 0;
    bool in_rows_ = false;
};

// The decoders' visitors: each passes the rows to show on to the printer.
class header_rows final : public header_visitor {
  public:
    explicit header_rows(dump_printer& p) : printer_(p) {}
    void entry(int k, const voce& v) override { header_row(k, v, printer_); }

  private:
    dump_printer& printer_;
};

class grid_rows final : public grid_visitor {
  public:
    grid_rows(dump_printer& p, bool all) : printer_(p), all_(all) {}
    void start(std::int32_t cells) override {
        printer_.start(std::to_string(cells) + " cells (0 to " + std::to_string(cells - 1) + ")" +
                           (all_ ? "" : ", those without element or marker left out"),
                       "cells", cells, "celle", grid_columns(cells));
    }
    void cell(std::int32_t i, const cella& c) override {
        if (all_ || holds_something(c)) {
            grid_row(i, c, printer_);
        }
    }

  private:
    dump_printer& printer_;
    bool all_;
};

class plan_rows final : public plan_visitor {
  public:
    plan_rows(dump_printer& p, bool all) : printer_(p), all_(all) {}
    void start(std::int32_t metres) override {
        printer_.start(std::to_string(metres) + " points (metres 0 to " +
                           std::to_string(metres - 1) + ")" +
                           (all_ ? "" : ", empty points left out"),
                       "points", metres, "tracciato", plan_columns(metres));
    }
    void point(std::int64_t metre, valore_piano x, valore_piano y) override {
        if (all_ || point_set(x, y)) {
            plan_row(metre, x, y, printer_);
        }
    }

  private:
    dump_printer& printer_;
    bool all_;
};

}  // namespace

int run_dump(const parsed_args& parsed, std::ostream& out, std::ostream& err) {
    const std::string kind = file_kind(parsed.positionals[0], parsed.value("--kind"));
    const std::string& path = parsed.positionals[0];
    const bool json = parsed.flag("--json");
    const bool all = parsed.flag("--all");

    std::optional<file_source> source;
    try {
        source.emplace(path);
    } catch (const file_error& e) {
        err << "scenario: " << e.what() << '\n';
        if (json) {
            json_writer w(out);
            w.begin_object();
            w.member("kind", kind);
            w.member("file", path);
            w.member("failure", e.what());
            w.end_object();
            out << '\n';
        }
        return exit_status::file;
    }

    std::unique_ptr<dump_printer> printer;
    if (json) {
        printer = std::make_unique<json_printer>(out, kind, path, source->size());
    } else {
        printer = std::make_unique<table_printer>(
            out, "# " + std::string(kind_title(kind)) + " \"" + path + "\", " +
                     std::to_string(source->size()) + " bytes: ");
    }
    try {
        if (kind == "header") {
            header_rows rows(*printer);
            printer->start(std::to_string(numero_voci) + " records", nullptr, 0, "voci",
                           header_columns());
            stream_header(*source, rows);
        } else if (kind == "grid") {
            grid_rows rows(*printer, all);
            stream_grid(*source, rows);
        } else {
            plan_rows rows(*printer, all);
            stream_plan(*source, rows);
        }
        printer->finish();
    } catch (const decode_error& e) {
        try {
            printer->fail(e);
        } catch (const file_error&) {
            // The output failed too: the fault in the file is still reported below.
        }
        err << path << ": cannot decode the " << kind_title(kind) << " at byte offset "
            << e.offset() << ": " << e.what() << '\n';
        return exit_status::scenario_error;
    } catch (const file_error& e) {
        // The file failed while it was read, or the output could not be written.
        err << "scenario: " << e.what() << '\n';
        return exit_status::file;
    }
    return exit_status::ok;
}

}  // namespace scenario::cli
