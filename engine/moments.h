#pragma once

namespace slabrating {

/// Dead load and live load moments of the one-foot strip.
struct Moments {
    double w;                     ///< dead load of the strip (lb per ft of span)
    double M_DL;                  ///< dead-load moment (lb-ft)
    double M_LL;                  ///< HS20 live load plus impact moment (lb-ft)
    double stateTruckMoment;      ///< state legal-truck series moment, 10 kip wheel (kip-ft)
    float interstateTruckMoment;  ///< Interstate series moment, 9 kip wheel (kip-ft); 0 when not
                                  ///< formed
};

/// The moments for span L (ft), slab thickness t (in) and overlay b (in). The Interstate
/// moment is formed only when `loadType` is not the state series.
Moments stripMoments(float span, float thickness, float overlay, int loadType);

/// The report values of the moments (kip-ft), rounded to single precision.
struct ReportMoments {
    float DeadLoadMoment;  ///< M_DL / 1000 (kip-ft)
    float LiveLoadMoment;  ///< M_LL / 1000 (kip-ft)
};
ReportMoments reportMoments(const Moments& m);

}  // namespace slabrating
