#include "cli/args.hpp"
#include "cli/commands.hpp"
#include "cli/diagnostics_render.hpp"
#include "cli/exit_status.hpp"
#include "cli/messages.hpp"
#include "render/svg.hpp"
#include "cli/scenario_names.hpp"
#include "cli/usage.hpp"
#include "compiler/compile.hpp"
#include "files/atomic_file.hpp"
#include "files/file_error.hpp"
#include "files/stores.hpp"

namespace scenario::cli {

namespace {

command_syntax render_syntax() {
    command_syntax syntax;
    syntax.positionals = {"LINE", "TRAIN"};
    syntax.options = {{"-o", true}, {"--scenario", true}, {"--train", true}, {"--no-plan", false}};
    return syntax;
}

// The picture shows each recorded error with the same sentence the tool prints.
std::vector<render::error_message> picture_messages(const run_state& stato) {
    std::vector<render::error_message> messages;
    for (const diagnostic& d : recorded_errors(stato)) {
        render::error_message m;
        if (d.ha_posizione) {
            m.position = d.posizione;
        }
        m.text = "error " + std::to_string(d.numero) + ": " + error_message(d.numero, d.dettaglio);
        messages.push_back(std::move(m));
    }
    return messages;
}

}  // namespace

int run_render(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    parsed_args parsed;
    scenario_names names;
    try {
        parsed = parse_args(render_syntax(), args);
        if (parsed.help) {
            out << command_help("render");
            return exit_status::ok;
        }
        if (!parsed.value("-o")) {
            throw usage_error("the picture needs a file name: -o FILE.svg");
        }
        names = derive_names(parsed.positionals[0], parsed.positionals[1],
                             parsed.value("--scenario"), parsed.value("--train"));
    } catch (const usage_error& e) {
        return report_usage_error("render", e.what(), err);
    }
    const std::string picture = *parsed.value("-o");
    const bool with_plan = !parsed.flag("--no-plan");

    run_state stato;
    stato.nome_scenario = names.scenario;
    stato.nome_treno = names.train;
    tool_store store;
    try {
        give_documents(store, names.scenario, names.train, parsed.positionals[0],
                       parsed.positionals[1]);
    } catch (const file_error& e) {
        err << "scenario: " << e.what() << '\n';
        return exit_status::file;
    }
    const std::int32_t fatal = compila(stato, store, with_plan ? 1 : 0);
    const document_paths paths = [&](const std::string& name) { return store.path_of(name); };
    render_errors(stato, paths, err);

    render::render_options options;
    options.plan = with_plan;
    options.errors = picture_messages(stato);
    try {
        replace_file(picture, render::render_svg(stato, options));
    } catch (const file_error& e) {
        err << "scenario: " << e.what() << '\n';
        return exit_status::file;
    }
    err << "scenario: drew \"" << picture << "\"\n";
    if (fatal != 0) {
        err << "scenario: fatal error " << fatal << ": " << error_message(fatal, "") << '\n';
        return exit_status::fatal;
    }
    return recorded_errors(stato).empty() ? exit_status::ok : exit_status::scenario_error;
}

}  // namespace scenario::cli
