// One complete rating, report text included, by each method.
#include <benchmark/benchmark.h>

#include "engine/rating_run.h"

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
