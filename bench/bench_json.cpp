// One rating with its JSON result, as `slabrating-cli --format json` writes it.
#include <benchmark/benchmark.h>

#include "engine/rating_run.h"
#include "export/json_result.h"

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
