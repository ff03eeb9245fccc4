#pragma once
// Internal to the engine: the load factor section capacity. Other layers read its results
// in engine/rating.h.

#include "engine/rating.h"

namespace slabrating {

/// Inventory allowable stresses derived from f'c and Fy (psi).
AllowableStresses inventoryAllowables(float fc, float fy);

/// The old minimum-thickness rule for span S (ft) and slab thickness h (in).
ThicknessCheck minimumThicknessCheck(float span, float thickness);

/// Modular ratio from f'c (psi): Int(509 / sqrt(f'c) + 0.5), at least 6.
float derivedModularRatio(float fc);

/// The factored moment capacity of the strip and its intermediate values.
UltimateCapacityResult ultimateCapacity(const LoadFactorInput& in);

}  // namespace slabrating
