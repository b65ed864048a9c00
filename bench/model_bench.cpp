// The line plan as the line reader builds it: allocation of metres 0 to E, then every
// point set one coordinate at a time.
#include <benchmark/benchmark.h>

#include "model/tracciato.hpp"

namespace scenario::bench {
namespace {

void BM_BuildPlan(benchmark::State& state) {
    const std::int64_t last = state.range(0) + 7000;
    for (auto _ : state) {
        tracciato_linea plan(last);
        plan.set_integer(0, 0, 0);
        plan.set_integer(0, 1, 0);
        plan.set_integer(1, 0, 0);
        plan.set_integer(1, 1, 1);
        for (std::int64_t m = 2; m <= last - 2; ++m) {
            const double dx = plan.value(m - 1, 0) - plan.value(m - 2, 0);
            const double dy = plan.value(m - 1, 1) - plan.value(m - 2, 1);
            plan.set_double(m, 0, plan.value(m - 1, 0) + dx + 0.0001 * dy);
            plan.set_double(m, 1, plan.value(m - 1, 1) + dy - 0.0001 * dx);
        }
        benchmark::DoNotOptimize(plan.tratti().data());
    }
    state.SetItemsProcessed(2 * (last + 1) * state.iterations());
}
BENCHMARK(BM_BuildPlan)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario::bench

namespace scenario::bench {
namespace {

// The same plan with the last two points kept in registers from one point to the next.
void BM_BuildPlanRegisters(benchmark::State& state) {
    const std::int64_t last = state.range(0) + 7000;
    for (auto _ : state) {
        tracciato_linea plan(last);
        plan.set_integer(0, 0, 0);
        plan.set_integer(0, 1, 0);
        plan.set_integer(1, 0, 0);
        plan.set_integer(1, 1, 1);
        double x0 = 0, y0 = 0, x1 = 0, y1 = 1;
        for (std::int64_t m = 2; m <= last - 2; ++m) {
            const double dx = x1 - x0;
            const double dy = y1 - y0;
            const double x = x1 + dx + 0.0001 * dy;
            const double y = y1 + dy - 0.0001 * dx;
            plan.set_double(m, 0, x);
            plan.set_double(m, 1, y);
            x0 = x1, y0 = y1, x1 = x, y1 = y;
        }
        benchmark::DoNotOptimize(plan.tratti().data());
    }
    state.SetItemsProcessed(2 * (last + 1) * state.iterations());
}
BENCHMARK(BM_BuildPlanRegisters)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario::bench
