// The formatter on the generated documents: already laid out (every row is checked and
// kept, the usual case in an editor), and made messy (every data row is written again).
#include <benchmark/benchmark.h>

#include "bench_inputs.hpp"
#include "format/format.hpp"

namespace scenario::bench {
namespace {

// Blanks after every comma and a tab at every row's end: no row is laid out any more.
std::string messy(const std::string& text) {
    std::string out;
    out.reserve(text.size() * 3 / 2);
    for (const char c : text) {
        if (c == '\r') {
            out += '\t';
        }
        out += c;
        if (c == ',') {
            out += "\t ";
        }
    }
    return out;
}

void format_bench(benchmark::State& state, const std::string& text, source_document kind) {
    for (auto _ : state) {
        std::string laid_out = format_document(text, kind);
        benchmark::DoNotOptimize(laid_out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(text.size()) * state.iterations());
}

void BM_FormatLineDocument(benchmark::State& state) {
    const auto& d = documents_for(static_cast<std::int32_t>(state.range(0)));
    format_bench(state, d.line, source_document::line);
}
BENCHMARK(BM_FormatLineDocument)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_FormatMessyLineDocument(benchmark::State& state) {
    const auto& d = documents_for(static_cast<std::int32_t>(state.range(0)));
    format_bench(state, messy(d.line), source_document::line);
}
BENCHMARK(BM_FormatMessyLineDocument)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_FormatTrainDocument(benchmark::State& state) {
    const auto& d = documents_for(static_cast<std::int32_t>(state.range(0)));
    format_bench(state, d.train, source_document::train);
}
BENCHMARK(BM_FormatTrainDocument)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario::bench
