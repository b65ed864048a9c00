#include "cli/args.hpp"
#include "cli/commands.hpp"
#include "cli/example_documents.hpp"
#include "cli/exit_status.hpp"
#include "files/file_error.hpp"
#include "files/file_ops.hpp"
#include "files/folders.hpp"

namespace scenario::cli {

int run_example(const parsed_args& parsed, std::ostream&, std::ostream& err) {
    const std::string folder = parsed.value("-o").value_or(".");
    // The author may have edited the documents of an earlier run: without --force none
    // is replaced, and every one that is in the way is named before anything is written.
    if (!parsed.flag("--force")) {
        bool in_the_way = false;
        for (const std::string& name : example_document_names()) {
            const std::string path = parsed.value("-o") ? path_in(folder, name) : name;
            if (path_exists(path)) {
                err << "scenario: \"" << path << "\" already exists\n";
                in_the_way = true;
            }
        }
        if (in_the_way) {
            err << "scenario: nothing written; --force replaces the documents that exist\n";
            return exit_status::file;
        }
    }
    try {
        make_folders(folder);
        const std::vector<std::string> written = write_example_documents(folder);
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
