#pragma once
// Internal to the engine: the vehicle ratings. Other layers read its results in
// engine/rating.h.

#include "engine/rating.h"

namespace slabrating {

/// Working stress rating of one level from its resisting moment (lb-ft) and the
/// dead-load and HS20 live load plus impact moments M_DL, M_LL (lb-ft).
LevelRating workingStressRating(double ResistingMoment, double M_DL, double M_LL);

/// Load factor rating from the factored capacity (lb-ft) and the report moments (kip-ft).
LoadFactorRating loadFactorRating(float UltimateCapacity, float DeadLoadMoment,
                                  float LiveLoadMoment);

/// Scale that carries a level's working stress stresses to the load factor rating load:
/// (liveShare x LL x RF + DL) / (LL x T / 36 + DL), with the level's live load share as
/// liveShare and T that level's working stress HS20 tonnage.
/// A zero divisor leaves the stresses unscaled (1).
float stressScale(double liveShare, double RatingFactor, double workingStressTons,
                  float DeadLoadMoment, float LiveLoadMoment);

/// Operating ratings of the legal trucks 3, 3S2 and 3-2 of the series the load type selects,
/// with the series' moment from `moments`.
LegalTruckRatings legalTruckRatings(double RatingFactor, LoadType loadType, const Moments& moments);

/// The governing rating of a complete run (`hs20`, `moments` and, in a load factor run,
/// `ultimateCapacity` present): at each level the lower of the section over the girders and
/// the midspan section, and the legal trucks from the governing operating rating factor.
GoverningRating governingRating(const Rating& rating);

}  // namespace slabrating
