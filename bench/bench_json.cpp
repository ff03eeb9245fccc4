// One rating with its JSON result, as `slabrating-cli --format json` writes it.
#include <benchmark/benchmark.h>

#include "bench/bench_slabs.h"
#include "engine/rating_run.h"
#include "export/json_result.h"

namespace {

using slabrating::bench::strip;

void rateWithJson(benchmark::State& state, const slabrating::SlabFields& fields) {
    for (auto _ : state) {
        const slabrating::RatingResult result = slabrating::RunRating(fields, "12/07/2026");
        const slabrating::RatedSlab slab{
            "slab.qri", fields, slabrating::slabOutcome(result.outcome), result.message, &result};
        std::string text = slabrating::slabJsonText(slab);
        benchmark::DoNotOptimize(text.data());
    }
}

void BM_LoadFactorRatingWithJson(benchmark::State& state) {
    rateWithJson(state, strip("", "12"));
}
// The largest result: a working stress run that ends with a legal-truck table.
void BM_WorkingStressWithTrucksWithJson(benchmark::State& state) {
    rateWithJson(state, strip("10", "16"));
}

BENCHMARK(BM_LoadFactorRatingWithJson);
BENCHMARK(BM_WorkingStressWithTrucksWithJson);

}  // namespace
