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

// The floor of the plan's own work: its drawn points computed, none stored. Each point
// comes from the two before it, in a fixed order of operations (the doubles must be the
// same on every build), so the points form one chain of dependent steps that no
// encoder can shorten; BM_EncodePlan at this figure encodes at that floor.
struct recurrence_only {
    std::uint64_t metres = 0;
    double sum = 0.0;  // of the last point, kept so that no step can be left out
    void empties(std::int64_t, std::int64_t) {}
    void stored(std::int64_t, valore_piano, valore_piano) {}
    void drawn_stretch(const tratto& s, std::int64_t fine, passo_disegno& p) {
        double x0 = p.x0, y0 = p.y0, x1 = p.x1, y1 = p.y1;
        if (s.k == 0.0) {
            for (std::int64_t m = s.primo; m <= fine; ++m) {
                passo_disegno::retto(x0, y0, x1, y1);
            }
        } else {
            for (std::int64_t m = s.primo; m <= fine; ++m) {
                passo_disegno::in_curva(x0, y0, x1, y1, s.k);
            }
        }
        p = {x0, y0, x1, y1};
        sum = x1 + y1;
        metres += static_cast<std::uint64_t>(fine - s.primo + 1);
    }
};

void BM_PlanRecurrence(benchmark::State& state) {
    const run_state& model = model_for(static_cast<std::int32_t>(state.range(0)));
    std::uint64_t metres = 0;
    for (auto _ : state) {
        recurrence_only walk;
        model.tracciato.visit(walk);
        benchmark::DoNotOptimize(walk);
        metres = walk.metres;
    }
    state.counters["drawn_metres"] = static_cast<double>(metres);
}
BENCHMARK(BM_PlanRecurrence)->Arg(1000000)->Unit(benchmark::kMillisecond);

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
