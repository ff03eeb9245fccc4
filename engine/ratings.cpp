#include "engine/ratings.h"

#include "engine/checked.h"
#include "engine/fields.h"

namespace slabrating {

LevelRating workingStressRating(double ResistingMoment, double M_DL, double M_LL) {
    LevelRating r{};
    r.MemberCapacity = (Real(ResistingMoment) / 1000).value();
    const Real left = Real(ResistingMoment) - M_DL;  // capacity left for live load (lb-ft)
    r.LiveLoadCapacity = toSingle(left / 1000);
    r.ratingFactor = (left / M_LL).value();
    r.RatingTons = (Real(kHs20Tons) * r.ratingFactor).value();
    return r;
}

LoadFactorRating loadFactorRating(float UltimateCapacity, float DeadLoadMoment,
                                  float LiveLoadMoment) {
    LoadFactorRating r{};
    // Dead-load and live-load factors of 1.3 on the factored capacity.
    r.MemberCapacity = (Real(UltimateCapacity) * 0.001).value();
    r.LiveLoadCapacity = toSingle(Real(r.MemberCapacity) - Real(1.3) * DeadLoadMoment);
    r.RatingFactor = (Real(r.LiveLoadCapacity) / (Real(1.3) * LiveLoadMoment)).value();
    r.operatingTons = (Real(kHs20Tons) * r.RatingFactor).value();
    // The inventory level is taken as 0.6 of the operating one.
    r.inventoryTons = (Real(0.6) * r.operatingTons).value();
    return r;
}

float stressScale(double liveShare, double RatingFactor, double workingStressTons,
                  float DeadLoadMoment, float LiveLoadMoment) {
    const Real divisor = Real(LiveLoadMoment) * workingStressTons / kHs20Tons + DeadLoadMoment;
    if (divisor == Real(0)) {
        return 1.0f;
    }
    const Real live = liveShare == 1.0 ? Real(LiveLoadMoment) : Real(liveShare) * LiveLoadMoment;
    return toSingle((live * RatingFactor + DeadLoadMoment) / divisor);
}

std::array<double, 3> legalTruckRatings(double RatingFactor, int loadType) {
    // The trucks are rated against the HS20 16 kip wheel with the series' heaviest wheel.
    const bool state = loadType == StateTrucks;
    const double wheel = state ? 10.0 : 9.0;
    const std::array<double, 3> gross =
        state ? std::array<double, 3>{27.0, 42.5, 42.5} : std::array<double, 3>{24.0, 38.0, 39.0};
    const Real factor = Real(RatingFactor) * 16 / wheel;
    std::array<double, 3> tons{};
    for (std::size_t i = 0; i < gross.size(); ++i) {
        tons[i] = (Real(gross[i]) * factor).value();
    }
    return tons;
}

}  // namespace slabrating
