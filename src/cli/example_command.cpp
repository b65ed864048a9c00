#include "cli/args.hpp"
#include "cli/commands.hpp"
#include "cli/example_documents.hpp"
#include "cli/exit_status.hpp"
#include "files/file_error.hpp"

namespace scenario::cli {

int run_example(const parsed_args& parsed, std::ostream&, std::ostream& err) {
    const std::string folder = parsed.value("-o").value_or(".");
#ifdef _WIN32
    constexpr char separator = '\\';
#else
    constexpr char separator = '/';
#endif
    try {
        const std::vector<std::string> written = write_example_documents(folder, separator);
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
