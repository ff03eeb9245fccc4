#include "engine/moments.h"

#include "engine/checked.h"

namespace slabrating {

namespace {

// Dead load of the 12 in strip per inch of thickness: concrete at 150 lb/ft3 (150 / 12) and
// the bituminous overlay at 144 lb/ft3 (144 / 12), in lb per ft of span.
constexpr long double kSlabWeightPerInch = 12.5L;
constexpr long double kOverlayWeightPerInch = 12.0L;

// Dead-load moment coefficient: 0.8 for continuity times 1/8 for a simple span.
constexpr double kDeadLoadCoefficient = 0.1;

// HS20 live load plus impact moment per ft of width, (L + 2) / 32 x P with the 16000 lb
// wheel, 30 % impact and 0.8 for continuity: (L + 2) x 16000 / 32 x 1.3 x 0.8 = (L + 2) x 520.
constexpr int kSpanAddend = 2;  // ft
constexpr int kLiveLoadConstant = 520;

constexpr double kHs20WheelLb = kHs20WheelKips * 1000;
constexpr int kLbPerKip = 1000;

}  // namespace

Moments stripMoments(float span, float thickness, float overlay, int loadType) {
    Moments m{};
    // Summed in extended precision and held in double.
    const long double w = kSlabWeightPerInch * thickness + kOverlayWeightPerInch * overlay;
    m.w = Real(static_cast<double>(w)).value();
    const Real L = span;
    m.M_DL = (L * L * (Real(kDeadLoadCoefficient) * m.w)).value();
    m.M_LL = ((L + kSpanAddend) * kLiveLoadConstant).value();
    // The moment of a series is linear in its wheel load. The state series' moment is
    // reported from the double quotient; the Interstate one is stored in single precision.
    m.stateTruckMoment = (Real(kStateWheelKips) * m.M_LL / kHs20WheelLb).value();
    if (loadType != StateTrucks) {
        m.interstateTruckMoment = toSingle(Real(kInterstateWheelKips) * m.M_LL / kHs20WheelLb);
    }
    return m;
}

// The working stress ratings use M_DL and M_LL in lb-ft as held in double; the report and the
// load factor rating use these kip-ft values stored in single precision.
ReportMoments reportMoments(const Moments& m) {
    return {toSingle(Real(m.M_DL) / kLbPerKip), toSingle(Real(m.M_LL) / kLbPerKip)};
}

}  // namespace slabrating
