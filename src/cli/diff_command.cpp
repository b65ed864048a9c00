#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/args.hpp"
#include "cli/commands.hpp"
#include "cli/exit_status.hpp"
#include "cli/scenario_names.hpp"
#include "compiled/compiled_scenario.hpp"
#include "compiler/messages.hpp"
#include "decompile/compiled_files_reader.hpp"
#include "decompile/scenario_diff.hpp"
#include "files/file_error.hpp"
#include "model/file_names.hpp"
#include "report/json_writer.hpp"

namespace scenario::cli {

namespace {

bool is_folder(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::is_directory(std::filesystem::path(path), ignored);
}

// A side that cannot be compared: the sentence says why.
class side_failure : public failure {
  public:
    explicit side_failure(const std::string& why) : failure(why) {}
};

// One side of the comparison with what it was made from: its documents compiled in
// memory, or its files decoded (both kept: the side reads its plan from them).
struct loaded_side {
    std::string label;  // the paths, for messages
    std::optional<compiled_scenario> compiled;
    std::optional<read_files> files;
    diff_side side;
};

void load_documents(loaded_side& s, const std::string& line, const std::string& train,
                    std::ostream& err) {
    s.label = line + " " + train;
    const scenario_names names = derive_names(line, train, std::nullopt, std::nullopt);
    compile_request request;
    request.scenario = names.scenario;
    request.train = names.train;
    request.line = document_source{line, std::nullopt};
    request.train_document = document_source{train, std::nullopt};
    s.compiled.emplace(compile(request));
    const compiled_scenario& c = *s.compiled;
    if (c.unread) {
        throw side_failure(c.unread->sentence);
    }
    if (c.fatal != 0) {
        throw side_failure(line + ", " + train + ": the documents end in fatal error " +
                           std::to_string(c.fatal) + " (" + error_message(c.fatal) +
                           "): they give no files to compare");
    }
    if (!c.writes()) {
        throw side_failure(line + ", " + train +
                           ": the header file cannot hold a text of the documents: they give no "
                           "files to compare");
    }
    if (c.state.codice_errore != 0) {
        err << "scenario: " << line << ", " << train << ": the documents record error "
            << c.state.codice_errore << "; compared as compiled\n";
    }
    s.side.voci = c.state.voci;
    s.side.celle = c.state.celle;
    if (c.state.con_tracciato != 0 && c.state.tracciato.exists()) {
        s.side.plan = analyse_plan(c.state.tracciato);
        s.side.plan_points = &c.state.tracciato;
    }
}

// The line document of a folder and the train document of its scenario, when the
// folder holds exactly one of each.
std::optional<std::pair<std::string, std::string>> documents_in(const std::string& folder) {
    namespace fs = std::filesystem;
    std::vector<std::string> lines;
    std::vector<std::string> trains;
    std::error_code error;
    for (const fs::directory_entry& e : fs::directory_iterator(fs::path(folder), error)) {
        std::error_code ignored;
        if (e.is_regular_file(ignored)) {
            const std::string name = e.path().filename().string();
            (scenario_of_line_document(name) ? lines : trains).push_back(name);
        }
    }
    if (lines.size() != 1) {
        return std::nullopt;
    }
    const std::string scenario = *scenario_of_line_document(lines.front());
    std::erase_if(trains, [&](const std::string& name) {
        return !train_of_train_document(name, scenario).has_value();
    });
    if (trains.size() != 1) {
        return std::nullopt;
    }
    const auto in = [&](const std::string& name) { return (fs::path(folder) / name).string(); };
    return std::pair{in(lines.front()), in(trains.front())};
}

void load_folder(loaded_side& s, const std::string& folder, std::ostream& err) {
    s.label = folder;
    try {
        s.files.emplace(read_compiled_files(locate_compiled_files({folder})));
    } catch (const paths_error& e) {
        // A folder of documents (a checkout of a scenario's sources) is compiled.
        if (const auto documents = documents_in(folder)) {
            load_documents(s, documents->first, documents->second, err);
            return;
        }
        throw side_failure(e.what());
    } catch (const file_error& e) {
        throw side_failure(e.what());
    }
    compiled_files& f = s.files->files;
    s.side.voci = f.voci;
    s.side.celle = f.celle;
    s.side.plan = f.plan;
    s.side.plan_file = f.plan_bytes;
}

}  // namespace

int run_diff(const parsed_args& parsed, std::ostream& out, std::ostream& err) {
    const std::vector<std::string>& p = parsed.positionals;
    if (p.size() > 4) {
        throw usage_error("unexpected argument \"" + p[4] + "\"");
    }
    // Which arguments make which side: told apart by which paths are folders.
    struct side_paths {
        std::vector<std::string> paths;
    };
    side_paths before;
    side_paths after;
    if (p.size() == 4) {
        before.paths = {p[0], p[1]};
        after.paths = {p[2], p[3]};
    } else if (p.size() == 3) {
        if (is_folder(p[0])) {
            before.paths = {p[0]};
            after.paths = {p[1], p[2]};
        } else if (is_folder(p[2])) {
            before.paths = {p[0], p[1]};
            after.paths = {p[2]};
        } else {
            throw usage_error(
                "three paths: one of the sides must be a folder of compiled files (DIR LINE "
                "TRAIN or LINE TRAIN DIR)");
        }
    } else {
        for (const std::string& path : p) {
            if (!is_folder(path)) {
                throw usage_error("\"" + path +
                                  "\" is not a folder: give two folders, or LINE TRAIN for a "
                                  "side of documents");
            }
        }
        before.paths = {p[0]};
        after.paths = {p[1]};
    }

    loaded_side sides[2];
    try {
        for (int i = 0; i < 2; ++i) {
            const std::vector<std::string>& paths = (i == 0 ? before : after).paths;
            if (paths.size() == 1) {
                load_folder(sides[i], paths[0], err);
            } else {
                load_documents(sides[i], paths[0], paths[1], err);
            }
            work_out_rows(sides[i].side);
        }
    } catch (const side_failure& e) {
        err << "scenario: " << e.what() << '\n';
        return exit_status::file;
    }

    std::vector<scenario_change> changes;
    try {
        changes = changes_between(sides[0].side, sides[1].side);
    } catch (const file_error& e) {
        // A plan file that failed while it was read again.
        err << "scenario: " << e.what() << '\n';
        return exit_status::file;
    }
    if (parsed.flag("--json")) {
        json_writer json(out);
        json.begin_object();
        json.key("same");
        json.boolean(changes.empty());
        json.member("old", sides[0].label);
        json.member("new", sides[1].label);
        json.key("changes");
        json.begin_array();
        for (const scenario_change& c : changes) {
            json.begin_object();
            if (c.position) {
                json.member("position", *c.position);
            } else {
                json.member_null("position");
            }
            json.member("element", c.element);
            json.member("change", c.text);
            json.end_object();
        }
        json.end_array();
        json.end_object();
        out << '\n';
    } else {
        for (const scenario_change& c : changes) {
            out << c.text << '\n';
        }
    }
    return changes.empty() ? exit_status::ok : exit_status::scenario_error;
}

}  // namespace scenario::cli
