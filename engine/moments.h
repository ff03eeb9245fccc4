#pragma once
// Internal to the engine: the dead load and live load moments. Other layers read its
// results in engine/rating.h.

#include "engine/rating.h"

namespace slabrating {

/// The moments for span L (ft), slab thickness t (in) and overlay b (in). The Interstate
/// moment is formed only when `loadType` is not the state series.
Moments stripMoments(float span, float thickness, float overlay, LoadType loadType);

/// The report values of the moments (kip-ft), rounded to single precision.
ReportMoments reportMoments(const Moments& m);

}  // namespace slabrating
