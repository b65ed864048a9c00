// The scenario generator itself: layout and both documents.
#include <benchmark/benchmark.h>

#include "generator/scenario_documents.hpp"
#include "generator/scenario_layout.hpp"

namespace scenario::bench {
namespace {

void BM_GenerateDocuments(benchmark::State& state) {
    std::size_t bytes = 0;
    for (auto _ : state) {
        const scenario_layout layout = make_layout(static_cast<std::int32_t>(state.range(0)));
        bytes = line_document(layout).size() + train_document(layout).size();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
}
BENCHMARK(BM_GenerateDocuments)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario::bench
