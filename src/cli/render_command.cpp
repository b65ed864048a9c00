#include "cli/args.hpp"
#include "cli/command_table.hpp"
#include "cli/commands.hpp"
#include "cli/diagnostics_render.hpp"
#include "cli/exit_status.hpp"
#include "cli/scenario_names.hpp"
#include "compiled/compiled_scenario.hpp"
#include "compiler/messages.hpp"
#include "files/atomic_file.hpp"
#include "files/file_error.hpp"
#include "render/svg.hpp"

namespace scenario::cli {

int run_render(const parsed_args& parsed, std::ostream&, std::ostream& err) {
    const compile_request request = request_of(parsed);
    const std::string picture = *parsed.value("-o");
    const warning_options warnings = warning_options_of(parsed);

    const compiled_scenario compiled = compile(request);
    if (compiled.unread) {
        err << read_failure_line(*compiled.unread) << '\n';
        return exit_status::file;
    }
    const document_paths paths = [&](const std::string& name) { return compiled.path_of(name); };
    const std::vector<diagnostic> shown = shown_diagnostics(compiled.state, warnings);
    render_errors(shown, compiled.state, paths, err);

    // The picture marks every error of the compile, as the live page does; never a
    // warning, also one shown as an error.
    render::render_options options;
    options.plan = request.plan;
    try {
        replace_file(picture, render::render_svg(compiled, compiled.state.diagnostics, options));
    } catch (const file_error& e) {
        err << "scenario: " << e.what() << '\n';
        return exit_status::file;
    }
    err << "scenario: drew \"" << picture << "\"\n";
    if (compiled.fatal != 0) {
        err << "scenario: fatal error " << compiled.fatal << ": " << error_message(compiled.fatal)
            << '\n';
        return exit_status::fatal;
    }
    return error_count(shown) == 0 ? exit_status::ok : exit_status::scenario_error;
}

}  // namespace scenario::cli
