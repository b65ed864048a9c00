// make_scenario LENGTH OUTDIR: writes the line and train documents of a generated
// scenario with a route of LENGTH metres into OUTDIR and prints their names.
#include <charconv>
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

#include "generator/scenario_documents.hpp"
#include "generator/scenario_layout.hpp"
#include "model/file_names.hpp"
#include "files/atomic_file.hpp"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_scenario LENGTH OUTDIR\n");
        return 2;
    }
    const std::string_view text(argv[1]);
    std::int32_t length = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), length);
    if (error != std::errc{} || end != text.data() + text.size()) {
        std::fprintf(stderr, "make_scenario: LENGTH must be a whole number of metres\n");
        return 2;
    }
    try {
        using namespace scenario;
        const bench::scenario_layout layout = bench::make_layout(length);
        const std::string folder = argv[2];
        const std::string line_name = nome_documento_linea(layout.scenario_name);
        const std::string train_name =
            nome_documento_treno(layout.scenario_name, layout.train_name);
        replace_file(folder + "/" + line_name, bench::line_document(layout));
        replace_file(folder + "/" + train_name, bench::train_document(layout));
        std::printf("%s\n%s\n", line_name.c_str(), train_name.c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_scenario: %s\n", e.what());
        return 1;
    }
    return 0;
}
