#include <string>
#include <vector>

#include "cli/args.hpp"
#include "cli/commands.hpp"
#include "cli/exit_status.hpp"
#include "decompile/compiled_files_reader.hpp"
#include "decompile/decompile.hpp"
#include "files/atomic_file.hpp"
#include "files/file_error.hpp"
#include "files/file_ops.hpp"
#include "files/folders.hpp"
#include "report/json_writer.hpp"
#include "text/windows1252.hpp"

namespace scenario::cli {

namespace {

// A name the documents can be named by: not empty, no folder in it.
bool usable_name(const std::string& name) {
    return !name.empty() && name.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
}

std::string path_in(const std::string& folder, const std::string& name, bool given) {
    if (!given) {
        return name;
    }
    const char last = folder.empty() ? '\0' : folder.back();
    return last == '/' || last == path_separator ? folder + name : folder + path_separator + name;
}

std::string input_path(const compiled_file_paths& paths, file_format f) {
    switch (f) {
        case file_format::header:
            return paths.header;
        case file_format::grid:
            return paths.grid;
        case file_format::plan:
            return paths.plan.value_or(std::string());
    }
    return {};
}

void json_value(json_writer& json, const file_value& v) {
    if (const auto* i = std::get_if<std::int64_t>(&v)) {
        json.integer(*i);
    } else if (const auto* d = std::get_if<double>(&v)) {
        json.number(*d);
    } else if (const auto* s = std::get_if<std::string>(&v)) {
        json.document_string(*s);
    } else {
        json.null();
    }
}

// What the command found and did, for its JSON and its text.
struct decompile_report {
    std::optional<compiled_file_paths> paths;
    std::optional<decompiled_scenario> result;
    std::vector<std::string> written;
    std::vector<std::string> names;  // of the documents written
    std::string folder;
    std::optional<std::string> failure;
};

void write_json(const decompile_report& r, std::ostream& out) {
    json_writer json(out);
    json.begin_object();
    json.key("files");
    json.begin_object();
    if (r.paths) {
        json.member("header", r.paths->header);
        json.member("grid", r.paths->grid);
        if (r.paths->plan) {
            json.member("plan", *r.paths->plan);
        } else {
            json.member_null("plan");
        }
    }
    json.end_object();
    if (r.result) {
        json.member_document("scenario", r.result->authored.scenario);
        json.member_document("train", r.result->authored.train);
    }
    json.key("documents");
    json.begin_array();
    for (const std::string& w : r.written) {
        json.string(w);
    }
    json.end_array();
    json.key("exact");
    json.boolean(r.result && r.result->exact());
    if (r.result && r.result->first_unmatched_metre) {
        json.member("first_unmatched_metre", *r.result->first_unmatched_metre);
        json.member("unmatched_metres", r.result->unmatched_metres);
    } else {
        json.member_null("first_unmatched_metre");
    }
    json.key("differences");
    json.begin_array();
    if (r.result && r.paths) {
        for (const file_difference& d : r.result->differences) {
            json.begin_object();
            json.member("file", input_path(*r.paths, d.file));
            json.member("offset", static_cast<std::int64_t>(d.offset));
            json.member("what", d.what);
            json.key("stored");
            json_value(json, d.stored);
            json.key("documents");
            json_value(json, d.given);
            json.end_object();
        }
    }
    json.end_array();
    json.key("document_errors");
    json.begin_array();
    if (r.result) {
        for (const diagnostic& d : r.result->document_errors) {
            json.begin_object();
            json.member("number", d.number);
            json.member("message", windows1252_to_utf8(d.message));
            json.end_object();
        }
    }
    json.end_array();
    if (r.failure) {
        json.member("failure", *r.failure);
    }
    json.end_object();
    out << '\n';
}

void write_text(const decompile_report& r, std::ostream& err) {
    const decompiled_scenario& d = *r.result;
    for (const file_difference& f : d.differences) {
        err << input_path(*r.paths, f.file) << ": offset " << f.offset << ": " << f.what
            << ": stored " << value_text(f.stored) << ", the documents give "
            << value_text(f.given) << '\n';
    }
    if (d.first_unmatched_metre) {
        err << *r.paths->plan << ": no curve row draws metre " << *d.first_unmatched_metre
            << " from the two before it (" << d.unmatched_metres
            << (d.unmatched_metres == 1 ? " metre" : " metres") << " in all)\n";
    }
    for (const diagnostic& e : d.document_errors) {
        err << "scenario: the decompiled documents record error " << e.number << ": "
            << windows1252_to_utf8(e.message) << '\n';
    }
    err << "scenario: wrote ";
    for (std::size_t i = 0; i < r.names.size(); ++i) {
        err << (i == 0 ? "\"" : " and \"") << r.names[i] << '"';
    }
    err << " into \"" << r.folder << '"';
    const std::size_t files = r.paths->plan ? 3 : 2;
    if (d.exact()) {
        err << ": they compile to the " << files << " files read, byte for byte\n";
    } else {
        const std::size_t n = d.differences.size();
        err << ", the closest documents";
        if (n > 0) {
            err << ": " << n << (n == 1 ? " value" : " values")
                << " of the files read cannot be reproduced";
        }
        err << '\n';
    }
}

}  // namespace

int run_decompile(const parsed_args& parsed, std::ostream& out, std::ostream& err) {
    const bool json = parsed.flag("--json");
    const std::optional<std::string> folder_option = parsed.value("-o");
    const std::string folder = folder_option.value_or(".");
    decompile_report report;
    const auto fail = [&](const std::string& sentence, int status) {
        err << sentence << '\n';
        report.failure = sentence;
        if (json) {
            write_json(report, out);
        }
        return status;
    };

    compiled_file_paths paths;
    try {
        paths = locate_compiled_files(parsed.positionals);
    } catch (const paths_error& e) {
        throw usage_error(e.what());
    } catch (const file_error& e) {
        return fail(std::string("scenario: ") + e.what(), exit_status::file);
    }
    report.paths = paths;

    std::optional<read_files> read;
    try {
        read.emplace(read_compiled_files(paths));
    } catch (const undecodable_file& e) {
        return fail(e.what(), exit_status::scenario_error);
    } catch (const file_error& e) {
        return fail(std::string("scenario: ") + e.what(), exit_status::file);
    }
    report.paths = read->paths;

    try {
        report.result.emplace(decompile(read->files));
    } catch (const file_error& e) {
        // The plan file changed or failed while it was read again.
        return fail(std::string("scenario: ") + e.what(), exit_status::file);
    }
    const decompiled_scenario& d = *report.result;
    const std::string& scenario_name = d.authored.scenario;
    const std::string& train_name = d.authored.train;
    if (!usable_name(scenario_name) || !usable_name(train_name)) {
        return fail("scenario: " + paths.header +
                        ": the scenario and train names it holds (\"" +
                        windows1252_to_utf8(scenario_name) + "\", \"" +
                        windows1252_to_utf8(train_name) +
                        "\") cannot name the documents; nothing written",
                    exit_status::file);
    }

    const std::string line_path = path_in(folder, d.documents.line_name, folder_option.has_value());
    const std::string train_path =
        path_in(folder, d.documents.train_name, folder_option.has_value());
    if (!parsed.flag("--force")) {
        bool in_the_way = false;
        for (const std::string& p : {line_path, train_path}) {
            if (path_exists(p)) {
                err << "scenario: \"" << p << "\" already exists\n";
                in_the_way = true;
            }
        }
        if (in_the_way) {
            return fail("scenario: nothing written; --force replaces the documents that exist",
                        exit_status::file);
        }
    }
    try {
        make_folders(folder);
        atomic_file line(line_path);
        line.write(d.documents.line);
        atomic_file train(train_path);
        train.write(d.documents.train);
        commit_all({&line, &train});
    } catch (const file_error& e) {
        return fail(std::string("scenario: ") + e.what(), exit_status::file);
    }
    report.written = {line_path, train_path};
    report.names = {d.documents.line_name, d.documents.train_name};
    report.folder = folder;

    if (json) {
        write_json(report, out);
    } else {
        write_text(report, err);
    }
    return d.exact() ? exit_status::ok : exit_status::not_reproduced;
}

}  // namespace scenario::cli
