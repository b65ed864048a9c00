// Decompile and diff of generated routes, in process: the plan file's analysis alone
// (the steps of every metre matched against the curve classes), the whole decompile of
// a compile's files held in memory (rows, documents, the compile that checks them, the
// comparison), and the changes between two routes that differ in one signal.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>

#include "bench_inputs.hpp"
#include "compiled/compiled_scenario.hpp"
#include "decompile/decompile.hpp"
#include "decompile/scenario_diff.hpp"
#include "files/scenario_files.hpp"

namespace scenario::bench {
namespace {

// A compile of a generated route's documents, kept.
const compiled_scenario& compiled_route(std::int32_t route_length, bool moved_signal = false) {
    static std::map<std::pair<std::int32_t, bool>, std::unique_ptr<compiled_scenario>> made;
    auto& slot = made[{route_length, moved_signal}];
    if (!slot) {
        const generated_documents& docs = documents_for(route_length);
        std::string train = docs.train;
        if (moved_signal) {
            // The first signal 50 m further back (its row's chainage is right-aligned in
            // eight characters after the comma).
            const std::size_t at = train.find("segnale,");
            const std::size_t comma = train.find(',', at + 8);
            const std::int32_t p = std::stoi(train.substr(at + 8, comma - at - 8));
            const std::string before = std::to_string(p - 50);
            train.replace(at + 8, comma - at - 8,
                          std::string(8 - before.size(), ' ') + before);
        }
        compile_request request;
        request.scenario = docs.layout.scenario_name;
        request.train = docs.layout.train_name;
        request.line = document_source{"line", docs.line};
        request.train_document = document_source{"train", train};
        slot = std::make_unique<compiled_scenario>(compile(request));
    }
    return *slot;
}

void BM_PlanFileAnalysis(benchmark::State& state) {
    const run_state& s = compiled_route(static_cast<std::int32_t>(state.range(0))).state;
    string_sink bytes;
    encode_output(s, file_format::plan, bytes);
    std::int64_t runs = 0;
    for (auto _ : state) {
        memory_bytes source(bytes.bytes());
        plan_analyser analyser;
        benchmark::DoNotOptimize(analyse_plan_file(source, analyser));
        runs = static_cast<std::int64_t>(analyser.finish().curves.size());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(bytes.bytes().size()));
    state.counters["curves"] = static_cast<double>(runs);
}
BENCHMARK(BM_PlanFileAnalysis)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_DecompileInMemory(benchmark::State& state) {
    const run_state& s = compiled_route(static_cast<std::int32_t>(state.range(0))).state;
    std::string plan_bytes;
    const compiled_files files = files_of(s, plan_bytes);
    bool exact = false;
    for (auto _ : state) {
        const decompiled_scenario d = decompile(files);
        exact = d.exact();
        benchmark::DoNotOptimize(d.documents.line.size());
    }
    if (!exact) {
        state.SkipWithError("the decompile is not exact");
    }
}
BENCHMARK(BM_DecompileInMemory)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Both routes compiled, their sides made (plans analysed, rows worked out) and compared.
void BM_DiffOneSignal(benchmark::State& state) {
    const auto length = static_cast<std::int32_t>(state.range(0));
    const compiled_scenario& a = compiled_route(length);
    const compiled_scenario& b = compiled_route(length, true);
    std::size_t changes = 0;
    for (auto _ : state) {
        diff_side sides[2];
        for (int i = 0; i < 2; ++i) {
            const run_state& s = (i == 0 ? a : b).state;
            sides[i].voci = s.voci;
            sides[i].celle = s.celle;
            sides[i].plan = analyse_plan(s.tracciato);
            sides[i].plan_points = &s.tracciato;
            work_out_rows(sides[i]);
        }
        changes = changes_between(sides[0], sides[1]).size();
    }
    state.counters["changes"] = static_cast<double>(changes);
}
BENCHMARK(BM_DiffOneSignal)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario::bench
