#include "cli/args.hpp"
#include "cli/command_table.hpp"
#include "cli/commands.hpp"
#include "cli/diagnostics_render.hpp"
#include "cli/exit_status.hpp"
#include "cli/scenario_names.hpp"
#include "compiler/compile.hpp"
#include "compiler/messages.hpp"
#include "files/atomic_file.hpp"
#include "files/file_error.hpp"
#include "files/stores.hpp"
#include "render/svg.hpp"

namespace scenario::cli {

int run_render(const parsed_args& parsed, std::ostream&, std::ostream& err) {
    const scenario_names names = derive_names(parsed.positionals[0], parsed.positionals[1],
                                              parsed.value("--scenario"), parsed.value("--train"));
    const std::string picture = *parsed.value("-o");
    const bool with_plan = !parsed.flag("--no-plan");
    const text_encoding encoding = input_encoding(parsed);

    run_state stato;
    stato.nome_scenario = names.scenario;
    stato.nome_treno = names.train;
    tool_store store;
    try {
        give_documents(store, names.scenario, names.train, parsed.positionals[0],
                       parsed.positionals[1], encoding);
    } catch (const file_error& e) {
        err << file_failure_line(e) << '\n';
        return exit_status::file;
    }
    const std::int32_t fatal = compile_scenario(stato, store, with_plan ? 1 : 0);
    const document_paths paths = [&](const std::string& name) { return store.path_of(name); };
    render_errors(stato, paths, err);

    render::render_options options;
    options.plan = with_plan;
    try {
        replace_file(picture, render::render_svg(stato, stato.diagnostics, options));
    } catch (const file_error& e) {
        err << "scenario: " << e.what() << '\n';
        return exit_status::file;
    }
    err << "scenario: drew \"" << picture << "\"\n";
    if (fatal != 0) {
        err << "scenario: fatal error " << fatal << ": " << error_message(fatal) << '\n';
        return exit_status::fatal;
    }
    return error_count(stato) == 0 ? exit_status::ok : exit_status::scenario_error;
}

}  // namespace scenario::cli
