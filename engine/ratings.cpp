#include "engine/ratings.h"

#include "engine/checked.h"

namespace slabrating {

using namespace rules;

LevelRating workingStressRating(double ResistingMoment, double M_DL, double M_LL) {
    LevelRating r{};
    // The member capacity is reported from the double quotient; the capacity left for live
    // load is stored in single precision.
    r.MemberCapacity = (Real(ResistingMoment) / kLbPerKip).value();
    const Real left = Real(ResistingMoment) - M_DL;  // capacity left for live load (lb-ft)
    r.LiveLoadCapacity = toSingle(left / kLbPerKip);
    r.ratingFactor = (left / M_LL).value();
    r.RatingTons = (Real(kHs20Tons) * r.ratingFactor).value();
    return r;
}

LoadFactorRating loadFactorRating(float UltimateCapacity, float DeadLoadMoment,
                                  float LiveLoadMoment) {
    LoadFactorRating r{};
    // As in the working stress rating, the member capacity stays double and the capacity
    // left for live load is stored in single precision.
    r.MemberCapacity = (Real(UltimateCapacity) * kKipPerLb).value();
    r.factoredDeadLoad = (Real(kDeadLoadFactor) * DeadLoadMoment).value();
    r.LiveLoadCapacity = toSingle(Real(r.MemberCapacity) - r.factoredDeadLoad);
    r.factoredLiveLoad = (Real(kLiveLoadFactor) * LiveLoadMoment).value();
    r.RatingFactor = (Real(r.LiveLoadCapacity) / r.factoredLiveLoad).value();
    r.inventoryFactoredLiveLoad =
        (Real(kLiveLoadFactor) / kInventoryShare * LiveLoadMoment).value();
    r.operatingTons = (Real(kHs20Tons) * r.RatingFactor).value();
    r.inventoryRatingFactor = (Real(kInventoryShare) * r.RatingFactor).value();
    r.inventoryTons = (Real(kInventoryShare) * r.operatingTons).value();
    return r;
}

float stressScale(double liveShare, double RatingFactor, double workingStressTons,
                  float DeadLoadMoment, float LiveLoadMoment) {
    const Real divisor = Real(LiveLoadMoment) * workingStressTons / kHs20Tons + DeadLoadMoment;
    if (divisor == Real(0)) {
        return 1.0f;  // no working stress service moment to carry the stresses from
    }
    const Real live = Real(liveShare) * LiveLoadMoment;
    return toSingle((live * RatingFactor + DeadLoadMoment) / divisor);
}

LegalTruckRatings legalTruckRatings(double RatingFactor, LoadType loadType,
                                    const Moments& moments) {
    LegalTruckRatings series{};
    series.series = seriesOf(loadType);
    if (series.series == TruckSeries::State) {
        series.stateTruckMoment = moments.stateTruckMoment;
    } else {
        series.interstateTruckMoment = moments.interstateTruckMoment;
    }
    series.wheelKips = seriesWheelKips(series.series);
    // A truck is rated against the HS20 wheel with the series' heaviest wheel.
    const double factor = (Real(RatingFactor) * kHs20WheelKips / series.wheelKips).value();
    const auto trucks = seriesTrucks(series.series);
    for (std::size_t i = 0; i < series.trucks.size(); ++i) {
        const double gross = trucks[i]->grossTons;
        const double tons = (Real(gross) * factor).value();
        series.trucks[i] = {trucks[i]->type, gross, factor, tons, tons < gross};
        if (series.trucks[i].RatingFactor < series.trucks[series.controlling].RatingFactor) {
            series.controlling = i;
        }
    }
    return series;
}

}  // namespace slabrating
