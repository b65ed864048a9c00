// The whole compile: in memory (documents held in a memory store, nothing written) and
// to files (documents read from a folder and left there, binary files replaced).
#include <benchmark/benchmark.h>

#include "bench_inputs.hpp"
#include "compiler/compile.hpp"
#include "files/stores.hpp"
#include "documents/built_in_documents.hpp"
#include "model/file_names.hpp"
#include "files/atomic_file.hpp"
#include "files/scenario_files.hpp"

namespace scenario::bench {
namespace {

struct scenario_documents {
    std::string scenario_name;
    std::string train_name;
    std::string line;
    std::string train;
    std::int32_t route_length;
};

scenario_documents built_in() {
    return {"Vessana_Pralbo", "5 bis", document_bytes(line_document_lines()),
            document_bytes(train_document_lines()), 63500};
}

scenario_documents generated(std::int32_t length) {
    const generated_documents& d = documents_for(length);
    return {d.layout.scenario_name, d.layout.train_name, d.line, d.train, length};
}

scenario_documents documents_of(const benchmark::State& state) {
    return state.range(0) == 0 ? built_in() : generated(static_cast<std::int32_t>(state.range(0)));
}

void compile_in_memory(benchmark::State& state) {
    const scenario_documents docs = documents_of(state);
    for (auto _ : state) {
        memory_store store;
        store.put(nome_documento_linea(docs.scenario_name), docs.line);
        store.put(nome_documento_treno(docs.scenario_name, docs.train_name), docs.train);
        run_state stato;
        stato.nome_scenario = docs.scenario_name;
        stato.nome_treno = docs.train_name;
        benchmark::DoNotOptimize(compile_scenario(stato, store, 1));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(docs.line.size() + docs.train.size()) *
                            state.iterations());
}

void compile_to_files(benchmark::State& state) {
    const scenario_documents docs = documents_of(state);
    const std::string folder = bench_folder();
    replace_file(folder + "/" + nome_documento_linea(docs.scenario_name), docs.line);
    replace_file(folder + "/" + nome_documento_treno(docs.scenario_name, docs.train_name),
                 docs.train);
    std::uint64_t written = 0;
    for (auto _ : state) {
        folder_store store(folder, /*deletes=*/false);
        run_state stato;
        stato.nome_scenario = docs.scenario_name;
        stato.nome_treno = docs.train_name;
        benchmark::DoNotOptimize(compile_scenario(stato, store, 1));
        write_scenario_files(stato, folder);
        written = stato.tracciato.exists() ? stato.tracciato.points() : 0;
    }
    state.counters["plan_points"] = static_cast<double>(written);
}

// Argument 0 is the built-in scenario; the others are generated route lengths.
void BM_CompileInMemory(benchmark::State& state) {
    compile_in_memory(state);
}
BENCHMARK(BM_CompileInMemory)
    ->Arg(0)
    ->Arg(100000)
    ->Arg(300000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond);

void BM_CompileToFiles(benchmark::State& state) {
    compile_to_files(state);
}
BENCHMARK(BM_CompileToFiles)
    ->Arg(0)
    ->Arg(100000)
    ->Arg(300000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario::bench
