#include "engine/load_factor.h"

#include "engine/checked.h"

namespace slabrating {

using namespace rules;

AllowableStresses inventoryAllowables(float fc, float fy) {
    const Real halfFy = Real(kInvSteelShare) * fy;
    const float steel = halfFy > Real(kMaxInvSteelStress) ? static_cast<float>(kMaxInvSteelStress)
                                                          : toSingle(halfFy);
    return {toSingle(Real(kInvConcShare) * fc), steel};
}

ThicknessCheck minimumThicknessCheck(float span, float thickness) {
    ThicknessCheck check{};
    check.MinThickness = toSingle(kMinThicknessFloor);
    const Real rule = (Real(span) + kThicknessSpanAddend) / kThicknessSpanDivisor;
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
    r.aTopLimited = Real(r.aTop) > aMaxTop;
    if (r.aTopLimited) {
        r.aTop = toSingle(aMaxTop);
    }

    const float aMaxBot =
        toSingle(Real(r.Beta1) * kThreeQuartersBalanced * (Real(in.thickness) - in.distBot) /
                 (Real(kBalancedStrainStress) + fy));
    const Real aBot = Real(in.areaBot) * fy / (Real(kBlockForcePerFcIn) * in.fc);
    r.aBotLimited = !(Real(aMaxBot) > aBot);
    r.aBot = r.aBotLimited ? aMaxBot : toSingle(aBot);

    r.leverTop = toSingle(Real(r.aTop) * (Real(in.distTop) - Real(r.aTop) / 2));
    r.leverBot = toSingle(Real(r.aBot) * (Real(in.thickness) - Real(r.aBot) / 2 - in.distBot));
    r.governs = r.leverBot < r.leverTop ? TensionFace::Bottom : TensionFace::Top;
    const float lever = r.governs == TensionFace::Bottom ? r.leverBot : r.leverTop;

    r.UltimateCapacity = toSingle(Real(lever) * (Real(in.fc) * kCapacityFactor));
    return r;
}

}  // namespace slabrating
