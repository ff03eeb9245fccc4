// One rating with its calculation sheet, by each method: target at most 50 us (median).
#include <benchmark/benchmark.h>

#include "bench/bench_slabs.h"
#include "engine/rating_run.h"
#include "export/calc_sheet.h"

namespace {

using slabrating::bench::strip;

void rateWithSheet(benchmark::State& state, const slabrating::SlabFields& fields) {
    for (auto _ : state) {
        const slabrating::RatingResult r = slabrating::RunRating(fields, "12/07/2026");
        const slabrating::RatedSlab slab{.file = "slab.qri",
                                         .fields = fields,
                                         .outcome = slabrating::slabOutcome(r.outcome),
                                         .message = r.message,
                                         .result = &r};
        std::string page = slabrating::calcSheetHtml(slab);
        benchmark::DoNotOptimize(page.data());
    }
}

// The longest sheet: a load factor run that ends with a legal-truck table.
void BM_LoadFactorRatingWithSheet(benchmark::State& state) {
    rateWithSheet(state, strip("", "18"));
}
void BM_WorkingStressRatingWithSheet(benchmark::State& state) {
    rateWithSheet(state, strip("10", "16"));
}

BENCHMARK(BM_LoadFactorRatingWithSheet)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_WorkingStressRatingWithSheet)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace
