// One complete rating, report text included, by each method.
#include <benchmark/benchmark.h>

#include "engine/rating_run.h"

namespace {

slabrating::SlabFields strip(const char* modRatio, const char* span) {
    slabrating::SlabFields f;
    f.StructNo = "B-12-AC";
    f.Rater = "JD";
    f.Hwy = "50";
    f.Comments = "SH 50 OVER CREEK";
    f.Bitum = "2";
    f.EffSpan = span;
    f.SlabThick = "8";
    f.StAreaTop = "0.62";
    f.StDistTop = "6.5";
    f.STAreaBot = "0.62";
    f.StDistBot = "1.5";
    f.Concfc = *modRatio ? "1200" : "4000";
    f.SteelFy = *modRatio ? "20000" : "60000";
    f.ModRatio = modRatio;
    f.LoadType = slabrating::Interstate;
    return f;
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
