// The compiler's parts on the generated documents: the field reader alone, the line
// part, the train part and the code placement pass.
#include <benchmark/benchmark.h>

#include "bench_inputs.hpp"
#include "compiler/code_placement.hpp"
#include "compiler/field_reader.hpp"
#include "compiler/line_reader.hpp"
#include "compiler/memorizza_dati.hpp"
#include "compiler/reading.hpp"
#include "compiler/train_reader.hpp"
#include "files/stores.hpp"
#include "model/file_names.hpp"

namespace scenario::bench {
namespace {

std::int32_t length_of(const benchmark::State& state) {
    return static_cast<std::int32_t>(state.range(0));
}

memory_store store_for(const generated_documents& d) {
    memory_store store;
    store.put(nome_documento_linea(d.layout.scenario_name), d.line);
    store.put(nome_documento_treno(d.layout.scenario_name, d.layout.train_name), d.train);
    return store;
}

run_state fresh_state(const generated_documents& d) {
    run_state stato;
    stato.nome_scenario = d.layout.scenario_name;
    stato.nome_treno = d.layout.train_name;
    stato.con_tracciato = 1;
    return stato;
}

// Every field of the line document read as a text field: the cursor's own speed.
void BM_FieldReaderText(benchmark::State& state) {
    const std::string& text = documents_for(length_of(state)).line;
    std::size_t fields = 0;
    for (auto _ : state) {
        field_reader reader(text);
        fields = 0;
        while (!reader.at_end()) {
            benchmark::DoNotOptimize(reader.text("field"));
            ++fields;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(text.size()) * state.iterations());
    state.counters["fields"] = static_cast<double>(fields);
}
BENCHMARK(BM_FieldReaderText)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// The gradient rows of the line document as the reader takes them: a keyword field,
// then two 32-bit numbers.
void BM_FieldReaderNumbers(benchmark::State& state) {
    const std::string& line = documents_for(length_of(state)).line;
    const std::size_t first = line.find("pendenza");
    const std::string rows = line.substr(first, line.find("[montagne]") - first);
    for (auto _ : state) {
        field_reader reader(rows);
        std::int64_t sum = 0;
        while (!reader.at_end()) {
            reader.text("keyword");
            sum += reader.number<std::int32_t>("chainage");
            sum += reader.number<std::int32_t>("gradient");
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(rows.size()) * state.iterations());
}
BENCHMARK(BM_FieldReaderNumbers)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// The line part: grid and plan created, profile, tunnels, boards, the whole plan drawn.
void BM_LineReader(benchmark::State& state) {
    const generated_documents& d = documents_for(length_of(state));
    for (auto _ : state) {
        memory_store store = store_for(d);
        run_state stato = fresh_state(d);
        reading r(stato, store);
        benchmark::DoNotOptimize(read_line_document(r));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(d.line.size()) * state.iterations());
}
BENCHMARK(BM_LineReader)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The train part alone, each time after an untimed line part.
void BM_TrainReader(benchmark::State& state) {
    const generated_documents& d = documents_for(length_of(state));
    for (auto _ : state) {
        state.PauseTiming();
        memory_store store = store_for(d);
        run_state stato = fresh_state(d);
        reading r(stato, store);
        read_line_document(r);
        state.ResumeTiming();
        read_train_document(r);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(d.train.size()) * state.iterations());
}
BENCHMARK(BM_TrainReader)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The code placement pass over the grid both documents leave.
void BM_CodePlacement(benchmark::State& state) {
    const generated_documents& d = documents_for(length_of(state));
    memory_store store = store_for(d);
    run_state read = fresh_state(d);
    read.con_tracciato = 0;  // the pass looks at the grid only
    memorizza_dati(read, store);
    for (auto _ : state) {
        state.PauseTiming();
        run_state stato = fresh_state(d);
        stato.celle = read.celle;
        state.ResumeTiming();
        place_code_points(stato);
        benchmark::DoNotOptimize(stato.celle.data());
    }
    state.counters["cells"] = static_cast<double>(read.celle.size());
}
BENCHMARK(BM_CodePlacement)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace scenario::bench
