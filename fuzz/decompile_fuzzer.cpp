// Compiles arbitrary line and train documents in memory; when the compile stores no
// error, decompiles the files it would write and compiles the documents of the
// decompile: they must give back every file byte for byte, and the decompile must
// say so. Input layout as for compile_fuzzer: one byte whose lowest bit is the plan
// switch, then the line document, a NUL byte, and the train document.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "compiled/compiled_scenario.hpp"
#include "decompile/decompile.hpp"
#include "files/scenario_files.hpp"

namespace {

scenario::compiled_scenario compiled(bool plan, std::string line, std::string train) {
    scenario::compile_request request;
    request.scenario = "Fuzz";
    request.train = "1";
    request.line = scenario::document_source{"Fuzz_linea.txt", std::move(line)};
    request.train_document = scenario::document_source{"Fuzz_1-.txt", std::move(train)};
    request.plan = plan;
    return scenario::compile(request);
}

std::vector<std::string> encoded(const scenario::run_state& state) {
    std::vector<std::string> out;
    for (const scenario::output_file& f : scenario::output_files(state)) {
        scenario::string_sink sink;
        scenario::encode_output(state, f.format, sink);
        out.push_back(sink.bytes());
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    const bool plan = (data[0] & 1) != 0;
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const auto split = rest.find('\0');
    const std::string line(rest.substr(0, split));
    const std::string train(split == std::string_view::npos ? std::string_view{}
                                                            : rest.substr(split + 1));
    const scenario::compiled_scenario first = compiled(plan, line, train);
    if (!first.writes() || first.state.codice_errore != 0) {
        return 0;
    }
    std::string plan_bytes;
    const scenario::decompiled_scenario d =
        scenario::decompile(scenario::files_of(first.state, plan_bytes));
    if (!d.exact() || !d.document_errors.empty()) {
        __builtin_trap();
    }
    const scenario::compiled_scenario again = compiled(plan, d.documents.line, d.documents.train);
    if (again.state.codice_errore != 0 || encoded(again.state) != encoded(first.state)) {
        __builtin_trap();
    }
    return 0;
}
