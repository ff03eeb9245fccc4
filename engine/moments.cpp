#include "engine/moments.h"

#include "engine/checked.h"

namespace slabrating {

using namespace rules;

Moments stripMoments(float span, float thickness, float overlay, LoadType loadType) {
    Moments m{};
    // Summed in extended precision and held in double.
    const long double w = kSlabWeightPerInch * thickness + kOverlayWeightPerInch * overlay;
    m.w = Real(static_cast<double>(w)).value();
    const Real L = span;
    m.M_DL = (L * L * (Real(kDeadLoadCoefficient) * m.w)).value();
    m.M_LL = ((L + kSlabSpanAddend) * kLiveLoadConstant).value();
    // The moment of a series is linear in its wheel load. The state series' moment is
    // reported from the double quotient; the Interstate one is stored in single precision.
    m.stateTruckMoment =
        (Real(seriesWheelKips(TruckSeries::State)) * m.M_LL / kHs20WheelLb).value();
    if (seriesOf(loadType) != TruckSeries::State) {
        m.interstateTruckMoment =
            toSingle(Real(seriesWheelKips(TruckSeries::Interstate)) * m.M_LL / kHs20WheelLb);
    }
    return m;
}

// The working stress ratings use M_DL and M_LL in lb-ft as held in double; the report and the
// load factor rating use these kip-ft values stored in single precision.
ReportMoments reportMoments(const Moments& m) {
    return {toSingle(Real(m.M_DL) / kLbPerKip), toSingle(Real(m.M_LL) / kLbPerKip)};
}

}  // namespace slabrating
