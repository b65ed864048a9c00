// The line plan: drawing records stretches; their points are computed when the plan is
// walked. Storing every point one by one is the decoder's way.
#include <benchmark/benchmark.h>

#include "bench_inputs.hpp"
#include "model/tracciato.hpp"

namespace scenario::bench {
namespace {

void BM_DrawPlan(benchmark::State& state) {
    const std::int64_t last = state.range(0) + 7000;
    for (auto _ : state) {
        tracciato_linea plan(last);
        draw_plan(plan);
        benchmark::DoNotOptimize(plan.stretches().data());
    }
    state.SetItemsProcessed(2 * (last + 1) * state.iterations());
}
BENCHMARK(BM_DrawPlan)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// Sums the points: the walk computes every drawn one.
struct summing_visitor {
    double sum = 0;
    void empties(std::int64_t, std::int64_t) {}
    void stored(std::int64_t, valore_piano x, valore_piano y) { sum += x.numero + y.numero; }
    void drawn(std::int64_t, double x, double y) { sum += x + y; }
};

void BM_WalkPlan(benchmark::State& state) {
    tracciato_linea plan(state.range(0) + 7000);
    draw_plan(plan);
    for (auto _ : state) {
        summing_visitor v;
        plan.visit(v);
        benchmark::DoNotOptimize(v.sum);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(plan.values()) * state.iterations());
}
BENCHMARK(BM_WalkPlan)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_StorePlanPointByPoint(benchmark::State& state) {
    const std::int64_t last = state.range(0) + 7000;
    for (auto _ : state) {
        tracciato_linea plan(last);
        plan.set_integer(0, 0, 0);
        plan.set_integer(1, 1, 1);
        for (std::int64_t m = 2; m <= last - 2; ++m) {
            plan.set_double(m, 0, static_cast<double>(m));
            plan.set_double(m, 1, -static_cast<double>(m));
        }
        benchmark::DoNotOptimize(plan.stretches().data());
    }
    state.SetItemsProcessed(2 * (last + 1) * state.iterations());
}
BENCHMARK(BM_StorePlanPointByPoint)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario::bench
