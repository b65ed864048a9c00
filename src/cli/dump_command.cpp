#include <variant>

#include "cli/args.hpp"
#include "cli/commands.hpp"
#include "cli/dump_views.hpp"
#include "cli/exit_status.hpp"
#include "cli/json_writer.hpp"
#include "cli/scenario_names.hpp"
#include "files/file_error.hpp"
#include "files/file_ops.hpp"
#include "files/grid_file.hpp"
#include "files/header_file.hpp"
#include "files/plan_file.hpp"

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
    const std::string name = file_name_of(path);
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

void start_json(json_writer& json, const std::string& kind, const std::string& path) {
    json.begin_object();
    json.member("kind", kind);
    json.member("file", path);
}

}  // namespace

int run_dump(const parsed_args& parsed, std::ostream& out, std::ostream& err) {
    const std::string kind = file_kind(parsed.positionals[0], parsed.value("--kind"));
    const std::string& path = parsed.positionals[0];
    const bool json = parsed.flag("--json");
    const bool all = parsed.flag("--all");

    std::string bytes;
    try {
        bytes = read_whole_file(path);
    } catch (const file_error& e) {
        err << "scenario: " << e.what() << '\n';
        if (json) {
            json_writer w(out);
            start_json(w, kind, path);
            w.member("failure", e.what());
            w.end_object();
            out << '\n';
        }
        return exit_status::file;
    }

    std::variant<tabella_voci, griglia, tracciato_linea> decoded;
    try {
        if (kind == "header") {
            decoded = decode_header(bytes);
        } else if (kind == "grid") {
            decoded = decode_grid(bytes);
        } else {
            decoded = decode_plan(bytes);
        }
    } catch (const decode_error& e) {
        err << path << ": cannot decode the " << kind_title(kind) << " at byte offset "
            << e.offset() << ": " << e.what() << '\n';
        if (json) {
            json_writer w(out);
            start_json(w, kind, path);
            w.member("bytes", static_cast<std::int64_t>(bytes.size()));
            w.key("error");
            w.begin_object();
            w.member("offset", static_cast<std::int64_t>(e.offset()));
            w.member("message", e.what());
            w.end_object();
            w.end_object();
            out << '\n';
        }
        return exit_status::scenario_error;
    }

    if (json) {
        json_writer w(out);
        start_json(w, kind, path);
        w.member("bytes", static_cast<std::int64_t>(bytes.size()));
        if (const auto* voci = std::get_if<tabella_voci>(&decoded)) {
            w.key("voci");
            write_header_json(*voci, w);
        } else if (const auto* celle = std::get_if<griglia>(&decoded)) {
            w.member("cells", static_cast<std::int64_t>(celle->size()));
            w.key("celle");
            write_grid_json(*celle, all, w);
        } else {
            const auto& plan = std::get<tracciato_linea>(decoded);
            w.member("points", static_cast<std::int64_t>(plan.points()));
            w.key("tracciato");
            write_plan_json(plan, all, w);
        }
        w.end_object();
        out << '\n';
        return exit_status::ok;
    }

    out << "# " << kind_title(kind) << " \"" << path << "\", " << bytes.size() << " bytes: ";
    if (const auto* voci = std::get_if<tabella_voci>(&decoded)) {
        out << voci->size() << " records\n";
        print_header_table(*voci, out);
    } else if (const auto* celle = std::get_if<griglia>(&decoded)) {
        out << celle->size() << " cells (0 to " << static_cast<std::int64_t>(celle->size()) - 1
            << ")" << (all ? "" : ", those without element or marker left out") << '\n';
        print_grid_table(*celle, all, out);
    } else {
        const auto& plan = std::get<tracciato_linea>(decoded);
        out << plan.points() << " points (metres 0 to " << plan.last_metre() << ")"
            << (all ? "" : ", empty points left out") << '\n';
        print_plan_table(plan, all, out);
    }
    return exit_status::ok;
}

}  // namespace scenario::cli
