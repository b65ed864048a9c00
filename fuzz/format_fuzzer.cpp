// Lays out arbitrary line and train documents and compiles both the documents and their
// layouts in memory: the compile's result, the stored error and every file it produces
// must be the same, and laying out a layout must change nothing. Input layout as for
// compile_fuzzer: one byte whose lowest bit is the plan switch, then the line document,
// a NUL byte, and the train document.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/compile.hpp"
#include "files/file_error.hpp"
#include "files/scenario_files.hpp"
#include "files/stores.hpp"
#include "format/format.hpp"
#include "model/file_names.hpp"

namespace {

// The compile's result, its stored error and the bytes of each file it produces.
std::vector<std::string> compiled(std::int32_t j, const std::string& line,
                                  const std::string& train) {
    scenario::run_state stato;
    stato.nome_scenario = "Fuzz";
    stato.nome_treno = "1";
    scenario::memory_store store;
    store.put(scenario::nome_documento_linea(stato.nome_scenario), line);
    store.put(scenario::nome_documento_treno(stato.nome_scenario, stato.nome_treno), train);
    std::vector<std::string> out;
    out.push_back(std::to_string(scenario::compile_scenario(stato, store, j)) + " " +
                  std::to_string(stato.codice_errore) + " " +
                  std::to_string(stato.posizione_errore));
    if (out.front().starts_with("0 ")) {
        try {
            for (const scenario::output_file& file : scenario::output_files(stato)) {
                scenario::string_sink sink;
                scenario::encode_output(stato, file.format, sink);
                out.push_back(sink.bytes());
            }
        } catch (const scenario::file_error& e) {
            out.emplace_back(e.what());
        }
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    const std::int32_t j = data[0] & 1;
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const auto split = rest.find('\0');
    const std::string line(rest.substr(0, split));
    const std::string train(split == std::string_view::npos ? std::string_view{}
                                                            : rest.substr(split + 1));
    const std::string line_out = scenario::format_document(line, scenario::source_document::line);
    const std::string train_out =
        scenario::format_document(train, scenario::source_document::train);
    if (scenario::format_document(line_out, scenario::source_document::line) != line_out ||
        scenario::format_document(train_out, scenario::source_document::train) != train_out) {
        __builtin_trap();
    }
    if ((line_out != line || train_out != train) &&
        compiled(j, line, train) != compiled(j, line_out, train_out)) {
        __builtin_trap();
    }
    return 0;
}
