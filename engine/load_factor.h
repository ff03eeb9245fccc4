#pragma once

namespace slabrating {

/// Inputs of the load factor capacity of the one-foot strip.
struct LoadFactorInput {
    float span;       ///< effective span S (ft)
    float thickness;  ///< slab thickness h (in)
    float areaTop;    ///< top steel area As,top (sq in per ft)
    float distTop;    ///< bottom face to top steel, effective depth d,top (in)
    float areaBot;    ///< bottom steel area As,bot (sq in per ft)
    float distBot;    ///< bottom face to bottom steel d' (in)
    float fc;         ///< concrete strength f'c (psi)
    float fy;         ///< steel yield stress Fy after the 60000 cap (psi)
};

/// Inventory allowable stresses derived from f'c and Fy.
struct AllowableStresses {
    float InvConcStress;   ///< 0.4 f'c (psi)
    float InvSteelStress;  ///< 0.5 Fy, at most 24000 (psi)
};
AllowableStresses inventoryAllowables(float fc, float fy);

/// True when the slab is thinner than the old minimum thickness (S + 10) / 30 ft,
/// at least 0.542 ft; the report then carries the thickness warning.
bool violatesMinimumThickness(float span, float thickness);

/// Modular ratio from f'c: Int(509 / sqrt(f'c) + 0.5), at least 6.
float derivedModularRatio(float fc);

/// Intermediate values of the factored capacity, kept for checking.
struct UltimateCapacityResult {
    float Beta1;             ///< stress block depth factor
    float aTop;              ///< block depth, top steel in tension (in)
    float aBot;              ///< block depth, bottom steel in tension (in)
    float leverTop;          ///< a (d - a/2), top steel in tension (sq in)
    float leverBot;          ///< a (h - a/2 - d'), bottom steel in tension (sq in)
    float UltimateCapacity;  ///< factored moment capacity phi Mn (lb-ft per ft of width)
};
UltimateCapacityResult ultimateCapacity(const LoadFactorInput& in);

}  // namespace slabrating
