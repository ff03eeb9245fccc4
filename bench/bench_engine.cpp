// One complete rating, report text included, by each method.
#include <benchmark/benchmark.h>

#include "bench/bench_slabs.h"
#include "engine/rating_run.h"

namespace {

using slabrating::bench::strip;

void rate(benchmark::State& state, const slabrating::SlabFields& fields) {
    for (auto _ : state) {
        slabrating::RatingResult r = slabrating::RunRating(fields, "12/07/2026");
        benchmark::DoNotOptimize(r.report.data());
    }
}

void BM_LoadFactorRating(benchmark::State& state) {
    rate(state, strip("", "12"));
}
void BM_WorkingStressRating(benchmark::State& state) {
    rate(state, strip("10", "10"));
}
// The longest report: a working stress run that ends with a legal-truck table.
void BM_WorkingStressWithTrucks(benchmark::State& state) {
    rate(state, strip("10", "16"));
}

BENCHMARK(BM_LoadFactorRating);
BENCHMARK(BM_WorkingStressRating);
BENCHMARK(BM_WorkingStressWithTrucks);

}  // namespace
