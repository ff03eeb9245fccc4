#pragma once
// Internal to the engine: the checks beside a complete rating that the review findings hold
// the inputs against. Other layers read their results in engine/rating.h.

#include <optional>

#include "engine/rating.h"

namespace slabrating {

/// The steel ratios and face capacities of a load factor run that reached the capacity;
/// none when their arithmetic is undefined (a thickness or depth of 0, f'c or Fy not
/// above 0).
std::optional<LoadFactorChecks> loadFactorChecks(const LoadFactorInput& input,
                                                 const UltimateCapacityResult& capacity);

/// The modular ratio that a working stress run's inventory allowable concrete stress Fc
/// (psi) implies; none when Fc is not above 0.
std::optional<ModularRatioCheck> modularRatioCheck(float InvConcStress);

}  // namespace slabrating
