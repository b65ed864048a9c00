// scenario_manual OUTDIR: writes the manual pages and the bash completion of the tool,
// made from its command table, into OUTDIR (man1/, man5/, completion/scenario), with
// pages.txt naming the pages in the order they are read (the tool's first). The build
// runs it; the pages are installed from there.
#include <iostream>
#include <string>

#include "cli/manual.hpp"
#include "cli/version.hpp"
#include "files/atomic_file.hpp"
#include "files/file_error.hpp"
#include "files/folders.hpp"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: scenario_manual OUTDIR\n";
        return 2;
    }
    const std::string folder = argv[1];
    try {
        std::string order;
        for (const scenario::cli::manual_page& page : scenario::cli::manual_pages(
                 std::string("scenario ") + scenario::cli::tool_version())) {
            const std::string section = std::to_string(page.section);
            const std::string path = "man" + section + "/" + page.name + "." + section;
            scenario::make_folders(folder + "/man" + section);
            scenario::replace_file(folder + "/" + path, page.text);
            order += path + "\n";
        }
        scenario::make_folders(folder + "/completion");
        scenario::replace_file(folder + "/completion/scenario", scenario::cli::bash_completion());
        scenario::replace_file(folder + "/pages.txt", order);
    } catch (const scenario::file_error& e) {
        std::cerr << "scenario_manual: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
