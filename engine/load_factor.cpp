#include "engine/load_factor.h"

#include "engine/checked.h"

namespace slabrating {

namespace {

// Inventory allowables: 0.4 f'c for the concrete, 0.5 Fy but at most 24000 psi for the steel.
constexpr double kInvConcShare = 0.4;
constexpr double kInvSteelShare = 0.5;
constexpr double kMaxInvSteelStress = 24000.0;  // psi

// The old slab provisions: t >= (S + 10) / 30 ft, never less than 0.542 ft (6.5 in).
constexpr double kMinThicknessFloor = 0.542;  // ft
constexpr int kSpanAddend = 10;               // ft
constexpr int kSpanDivisor = 30;
constexpr int kInchesPerFoot = 12;

// n = Es / Ec with Es = 29e6 psi and Ec = 57000 sqrt(f'c): 29e6 / 57000 = 509; 0.5 rounds
// the quotient to the nearest whole number, and n is never taken below 6.
constexpr int kModularRatioConstant = 509;
constexpr double kRoundingHalf = 0.5;
constexpr float kMinModularRatio = 6.0f;

// Beta1 = 0.85 up to f'c = 4000 psi, 0.05 less per 1000 psi above, at least 0.65.
constexpr double kBeta1AtBase = 0.85;
constexpr int kBeta1BaseStrength = 4000;  // psi
constexpr double kBeta1PerPsi = 0.00005;  // per psi
constexpr float kMinBeta1 = 0.65f;
constexpr float kMaxBeta1 = 0.85f;

// 10.2 = 0.85 x 12 in of strip; 65250 = 0.75 x 87000: three quarters of the balanced
// block depth Beta1 x 87000 d / (87000 + Fy), with 87000 psi = Es x 0.003 strain.
constexpr double kBlockForcePerFcIn = 10.2;  // in
constexpr int kThreeQuartersBalanced = 65250;
constexpr int kBalancedStrainStress = 87000;  // psi

// 0.765 = 0.9 x 0.85: phi Mn = 0.9 x 0.85 f'c x 12 a (d - a/2) lb-in = 0.765 f'c a (d - a/2)
// lb-ft.
constexpr double kCapacityFactor = 0.765;

}  // namespace

AllowableStresses inventoryAllowables(float fc, float fy) {
    const Real halfFy = Real(kInvSteelShare) * fy;
    const float steel = halfFy > Real(kMaxInvSteelStress) ? static_cast<float>(kMaxInvSteelStress)
                                                          : toSingle(halfFy);
    return {toSingle(Real(kInvConcShare) * fc), steel};
}

ThicknessCheck minimumThicknessCheck(float span, float thickness) {
    ThicknessCheck check{};
    check.MinThickness = toSingle(kMinThicknessFloor);
    const Real rule = (Real(span) + kSpanAddend) / kSpanDivisor;
    if (rule > Real(kMinThicknessFloor)) {
        check.MinThickness = toSingle(rule);
    }
    check.thicknessFt = toSingle(Real(thickness) / kInchesPerFoot);
    check.warning = !(check.thicknessFt >= check.MinThickness);
    return check;
}

float derivedModularRatio(float fc) {
    const float v = toSingle(floor(Real(kModularRatioConstant) / sqrt(Real(fc)) + kRoundingHalf));
    return v > kMinModularRatio ? v : kMinModularRatio;
}

UltimateCapacityResult ultimateCapacity(const LoadFactorInput& in) {
    UltimateCapacityResult r{};

    const Real x = Real(kBeta1AtBase) - (Real(in.fc) - kBeta1BaseStrength) * kBeta1PerPsi;
    r.Beta1 = kMinBeta1;
    if (x > Real(kMinBeta1)) {
        r.Beta1 = toSingle(x);
    }
    if (r.Beta1 > kMaxBeta1) {
        r.Beta1 = kMaxBeta1;
    }

    // Each face's largest block depth a,max and its unlimited block depth stay double for
    // the comparison; the depth the capacity uses is stored in single precision.
    const Real fy = in.fy;
    r.aTop = toSingle(Real(in.areaTop) * fy / (Real(kBlockForcePerFcIn) * in.fc));
    const Real aMaxTop =
        Real(r.Beta1) * kThreeQuartersBalanced * in.distTop / (Real(kBalancedStrainStress) + fy);
    if (Real(r.aTop) > aMaxTop) {
        r.aTop = toSingle(aMaxTop);
    }

    const float aMaxBot =
        toSingle(Real(r.Beta1) * kThreeQuartersBalanced * (Real(in.thickness) - in.distBot) /
                 (Real(kBalancedStrainStress) + fy));
    const Real aBot = Real(in.areaBot) * fy / (Real(kBlockForcePerFcIn) * in.fc);
    r.aBot = Real(aMaxBot) > aBot ? toSingle(aBot) : aMaxBot;

    r.leverTop = toSingle(Real(r.aTop) * (Real(in.distTop) - Real(r.aTop) / 2));
    r.leverBot = toSingle(Real(r.aBot) * (Real(in.thickness) - Real(r.aBot) / 2 - in.distBot));
    const float lever = r.leverBot < r.leverTop ? r.leverBot : r.leverTop;

    r.UltimateCapacity = toSingle(Real(lever) * (Real(in.fc) * kCapacityFactor));
    return r;
}

}  // namespace slabrating
