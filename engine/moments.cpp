#include "engine/moments.h"

#include "engine/checked.h"
#include "engine/fields.h"

namespace slabrating {

Moments stripMoments(float span, float thickness, float overlay, int loadType) {
    Moments m{};
    // Concrete at 150 lb/ft3 and overlay at 144 lb/ft3 over a 12 in strip, summed in
    // extended precision and held in double.
    const long double w = 12.5L * thickness + 12.0L * overlay;
    m.w = Real(static_cast<double>(w)).value();
    const Real L = span;
    // 0.1 = 0.8 continuity x 1/8.
    m.M_DL = (L * L * (Real(0.1) * m.w)).value();
    // 520 = 16000 lb wheel / 32 x 1.3 impact x 0.8 continuity.
    m.M_LL = ((L + 2) * 520).value();
    m.stateTruckMoment = (Real(10) * m.M_LL / 16000).value();
    if (loadType != StateTrucks) {
        m.interstateTruckMoment = toSingle(Real(9) * m.M_LL / 16000);
    }
    return m;
}

ReportMoments reportMoments(const Moments& m) {
    return {toSingle(Real(m.M_DL) / 1000), toSingle(Real(m.M_LL) / 1000)};
}

}  // namespace slabrating
