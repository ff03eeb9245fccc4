#pragma once

#include <array>

namespace slabrating {

/// HS20 gross weight (tons).
inline constexpr double kHs20Tons = 36.0;

/// One level (inventory or operating) of the working stress rating.
struct LevelRating {
    double MemberCapacity;   ///< kip-ft
    float LiveLoadCapacity;  ///< kip-ft
    double ratingFactor;     ///< HS20 rating factor
    double RatingTons;       ///< HS20 rating (tons)
};

/// Working stress rating of one level from its resisting moment M (lb-ft) and the
/// dead-load and HS20 live load plus impact moments M_DL, M_LL (lb-ft).
LevelRating workingStressRating(double ResistingMoment, double M_DL, double M_LL);

/// Load factor rating from the factored capacity (lb-ft) and the report moments (kip-ft).
struct LoadFactorRating {
    double MemberCapacity;   ///< kip-ft, both columns
    float LiveLoadCapacity;  ///< kip-ft, both columns
    double RatingFactor;     ///< operating rating factor
    double inventoryTons;    ///< HS20 inventory rating (tons): 0.6 of the operating one
    double operatingTons;    ///< HS20 operating rating (tons)
};
LoadFactorRating loadFactorRating(float UltimateCapacity, float DeadLoadMoment,
                                  float LiveLoadMoment);

/// Scale that carries a level's working stress stresses to the load factor rating load:
/// (liveShare x LL x RF + DL) / (LL x T / 36 + DL), with liveShare 1 at the operating level
/// and 0.6 at the inventory level, T that level's working stress HS20 tonnage. A zero
/// divisor leaves the stresses unscaled (1).
float stressScale(double liveShare, double RatingFactor, double workingStressTons,
                  float DeadLoadMoment, float LiveLoadMoment);

/// Operating ratings (tons) of the legal trucks 3, 3S2 and 3-2 of the selected series.
std::array<double, 3> legalTruckRatings(double RatingFactor, int loadType);

}  // namespace slabrating
