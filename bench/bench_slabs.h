#pragma once
// The slabs the benchmarks rate: the strip of the worked examples by either method.

#include "engine/fields.h"

namespace slabrating::bench {

/// A one-foot strip, 8 in slab with 0.62 sq in of steel at 6.5 and 1.5 in; a modular ratio
/// selects working stress (f'c 1200, Fy 20000), none load factor (f'c 4000, Fy 60000).
inline SlabFields strip(const char* modRatio, const char* span) {
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
            .LoadType = LoadType::Interstate};
}

}  // namespace slabrating::bench
