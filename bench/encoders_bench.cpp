// The three binary encoders, in memory (bytes counted, not kept) and into files.
#include <benchmark/benchmark.h>

#include "bench_inputs.hpp"
#include "files/grid_file.hpp"
#include "files/header_file.hpp"
#include "files/plan_file.hpp"
#include "files/scenario_files.hpp"

namespace scenario::bench {
namespace {

void report(benchmark::State& state, std::uint64_t bytes) {
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
    state.counters["file_bytes"] = static_cast<double>(bytes);
}

void BM_EncodePlan(benchmark::State& state) {
    const run_state& model = model_for(static_cast<std::int32_t>(state.range(0)));
    std::uint64_t bytes = 0;
    for (auto _ : state) {
        counting_sink sink;
        encode_plan(model.tracciato, sink);
        bytes = sink.count();
    }
    report(state, bytes);
}
// The encoder's own work, which includes computing every drawn point of the plan;
// BM_EncodePlanCopied adds the one copy any destination makes.
BENCHMARK(BM_EncodePlan)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_EncodePlanCopied(benchmark::State& state) {
    const run_state& model = model_for(static_cast<std::int32_t>(state.range(0)));
    copying_sink sink;
    for (auto _ : state) {
        sink.rewind();
        encode_plan(model.tracciato, sink);
    }
    report(state, sink.used());
}
BENCHMARK(BM_EncodePlanCopied)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_EncodeGrid(benchmark::State& state) {
    const run_state& model = model_for(static_cast<std::int32_t>(state.range(0)));
    std::uint64_t bytes = 0;
    for (auto _ : state) {
        counting_sink sink;
        encode_grid(model.celle, sink);
        bytes = sink.count();
    }
    report(state, bytes);
}
BENCHMARK(BM_EncodeGrid)->Arg(1000000)->Unit(benchmark::kMicrosecond);

void BM_EncodeHeader(benchmark::State& state) {
    const run_state& model = model_for(1000000);
    std::uint64_t bytes = 0;
    for (auto _ : state) {
        counting_sink sink;
        encode_header(model.voci, sink);
        bytes = sink.count();
    }
    report(state, bytes);
}
BENCHMARK(BM_EncodeHeader)->Unit(benchmark::kMicrosecond);

// The three files written into a folder, replacing the previous ones.
void BM_WriteScenarioFiles(benchmark::State& state) {
    const run_state& model = model_for(static_cast<std::int32_t>(state.range(0)));
    const std::uint64_t bytes =
        plan_file_size(model.tracciato.last_metre()) + grid_file_size(model.celle.size());
    for (auto _ : state) {
        write_scenario_files(model, bench_folder());
    }
    report(state, bytes);
}
BENCHMARK(BM_WriteScenarioFiles)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario::bench
