#include "cli/args.hpp"
#include "cli/commands.hpp"
#include "cli/example_documents.hpp"
#include "cli/exit_status.hpp"
#include "cli/usage.hpp"
#include "files/file_error.hpp"

namespace scenario::cli {

int run_example(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    command_syntax syntax;
    syntax.options = {{"-o", true}};
    parsed_args parsed;
    try {
        parsed = parse_args(syntax, args);
    } catch (const usage_error& e) {
        return report_usage_error("example", e.what(), err);
    }
    if (parsed.help) {
        out << command_help("example");
        return exit_status::ok;
    }
    const std::string folder = parsed.value("-o").value_or(".");
#ifdef _WIN32
    constexpr char separator = '\\';
#else
    constexpr char separator = '/';
#endif
    try {
        const std::vector<std::string> written = scrivi_documenti_esempio(folder, separator);
        err << "scenario: wrote ";
        for (std::size_t i = 0; i < written.size(); ++i) {
            err << (i == 0 ? "\"" : ", \"") << written[i] << '"';
        }
        err << " into \"" << folder << "\"\n";
    } catch (const file_error& e) {
        err << "scenario: " << e.what() << '\n';
        return exit_status::file;
    }
    return exit_status::ok;
}

}  // namespace scenario::cli
