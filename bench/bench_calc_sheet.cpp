// One rating with its calculation sheet, by each method: target at most 50 us (median).
#include <benchmark/benchmark.h>

#include "engine/rating_run.h"
#include "export/calc_sheet.h"

namespace {

slabrating::SlabFields strip(const char* modRatio, const char* span) {
    const bool workingStress = *modRatio != '\0';
    return {.StructNo = "B-12-AC",
            .Rater = "JD",
            .Hwy = "50",
            .BatchID = "",
            .Comments = "SH 50 OVER CREEK",
            .Bitum = "2",
            .EffSpan = span,
            .SlabThick = "8",
            .StAreaTop = "0.62",
            .StDistTop = "6.5",
            .STAreaBot = "0.62",
            .StDistBot = "1.5",
            .Concfc = workingStress ? "1200" : "4000",
            .SteelFy = workingStress ? "20000" : "60000",
            .ModRatio = modRatio,
            .LoadType = slabrating::Interstate};
}

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
