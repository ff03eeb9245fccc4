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

namespace {

// The level of the section over the girders, replaced by the midspan level when that rates
// lower; a tie keeps the section the report rates.
GoverningLevel lowerLevel(GoverningLevel overGirders, const LevelRating* midspan) {
    if (midspan != nullptr && midspan->ratingFactor < overGirders.RatingFactor) {
        return {TensionFace::Bottom, midspan->ratingFactor, midspan->RatingTons};
    }
    return overGirders;
}

}  // namespace

GoverningRating governingRating(const Rating& rating) {
    const Hs20Rating& t = *rating.hs20;
    GoverningRating g{};
    if (rating.method == RatingMethod::LoadFactor) {
        // The capacity is already the smaller of the two faces: the report's rating governs.
        const TensionFace face = rating.ultimateCapacity->governs;
        g.inventory = {face, t.inventory.RatingFactor, t.inventory.RatingTons};
        g.operating = {face, t.operating.RatingFactor, t.operating.RatingTons};
    } else {
        const MidspanSection* m = rating.midspan ? &*rating.midspan : nullptr;
        g.inventory =
            lowerLevel({TensionFace::Top, t.inventory.RatingFactor, t.inventory.RatingTons},
                       m != nullptr ? &m->inventory : nullptr);
        g.operating =
            lowerLevel({TensionFace::Top, t.operating.RatingFactor, t.operating.RatingTons},
                       m != nullptr ? &m->operating : nullptr);
    }
    bool belowWeight = false;
    if (g.operating.RatingTons < kHs20Tons) {
        const LegalTruckRatings& legal = g.legalTrucks.emplace(
            legalTruckRatings(g.operating.RatingFactor, rating.input->LoadType, *rating.moments));
        for (const LegalTruck& truck : legal.trucks) {
            belowWeight = belowWeight || truck.belowGrossWeight;
        }
    }
    g.reviewForPosting = belowWeight || g.operating.RatingFactor < 0;
    return g;
}

std::string_view sectionName(TensionFace section) {
    return section == TensionFace::Top ? "over the girders" : "midspan";
}

std::string_view statusName(RatingStatus status) {
    switch (status) {
        case RatingStatus::Rated:
            return "rated";
        case RatingStatus::Withheld:
            return "withheld";
        case RatingStatus::Stopped:
            return "stopped";
    }
    return "stopped";
}

}  // namespace slabrating
