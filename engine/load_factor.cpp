#include "engine/load_factor.h"

#include "engine/checked.h"

namespace slabrating {

AllowableStresses inventoryAllowables(float fc, float fy) {
    const Real halfFy = Real(0.5) * fy;
    const float steel = halfFy > Real(24000.0) ? 24000.0f : toSingle(halfFy);
    return {toSingle(Real(0.4) * fc), steel};
}

bool violatesMinimumThickness(float span, float thickness) {
    // The rule of the old slab provisions: t >= (S + 10) / 30 ft, with 0.542 ft as its floor.
    float minThickness = toSingle(0.542);
    const Real rule = (Real(span) + 10) / 30;
    if (rule > Real(0.542)) {
        minThickness = toSingle(rule);
    }
    const float t = toSingle(Real(thickness) / 12);
    return !(t >= minThickness);
}

float derivedModularRatio(float fc) {
    // n = Es / Ec with Ec = 57000 sqrt(f'c): 29e6 / 57000 = 509.
    const float v = toSingle(floor(Real(509) / sqrt(Real(fc)) + 0.5));
    return v > 6.0f ? v : 6.0f;
}

UltimateCapacityResult ultimateCapacity(const LoadFactorInput& in) {
    UltimateCapacityResult r{};

    const Real x = Real(0.85) - (Real(in.fc) - 4000) * 0.00005;
    r.Beta1 = 0.65f;
    if (x > Real(0.65f)) {
        r.Beta1 = toSingle(x);
    }
    if (r.Beta1 > 0.85f) {
        r.Beta1 = 0.85f;
    }

    // 10.2 = 0.85 x 12 in of strip; 65250 = 0.75 x 87000: three quarters of the
    // balanced block depth Beta1 x 87000 d / (87000 + Fy).
    r.aTop = toSingle(Real(in.areaTop) * in.fy / (Real(10.2) * in.fc));
    const Real aMaxTop = Real(r.Beta1) * 65250 * in.distTop / (Real(87000) + in.fy);
    if (Real(r.aTop) > aMaxTop) {
        r.aTop = toSingle(aMaxTop);
    }

    const float aMaxBot =
        toSingle(Real(r.Beta1) * 65250 * (Real(in.thickness) - in.distBot) / (Real(87000) + in.fy));
    const Real aBot = Real(in.areaBot) * in.fy / (Real(10.2) * in.fc);
    r.aBot = Real(aMaxBot) > aBot ? toSingle(aBot) : aMaxBot;

    r.leverTop = toSingle(Real(r.aTop) * (Real(in.distTop) - Real(r.aTop) / 2));
    r.leverBot = toSingle(Real(r.aBot) * (Real(in.thickness) - Real(r.aBot) / 2 - in.distBot));
    const float lever = r.leverBot < r.leverTop ? r.leverBot : r.leverTop;

    // 0.765 = 0.9 x 0.85: phi Mn = 0.9 x 0.85 f'c x 12 a (d - a/2) lb-in = 0.765 f'c a (d - a/2)
    // lb-ft.
    r.UltimateCapacity = toSingle(Real(lever) * (Real(in.fc) * 0.765));
    return r;
}

}  // namespace slabrating
