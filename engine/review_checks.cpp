#include "engine/review_checks.h"

#include <algorithm>
#include <cmath>

namespace slabrating {

using namespace rules;

namespace {

// These values stand beside the rating and never stop it: plain double arithmetic, and a
// value that is not finite leaves the check out.
bool finite(double value) {
    return std::isfinite(value);
}

FaceSteelCheck faceCheck(double area, double depth, double fc, double fy, double beta1,
                         double lever) {
    FaceSteelCheck c{};
    c.steelRatio = area / (kStripWidthIn * depth);
    c.balancedRatio =
        kBlockStressShare * beta1 * fc / fy * kBalancedStrainStress / (kBalancedStrainStress + fy);
    c.balancedShare = c.steelRatio / c.balancedRatio;
    // The face's own lever term, its block depth already limited as the rating limits it.
    c.phiMn = lever * fc * kCapacityFactor * kKipPerLb;
    return c;
}

bool finite(const FaceSteelCheck& c) {
    return finite(c.steelRatio) && finite(c.balancedRatio) && finite(c.balancedShare) &&
           finite(c.phiMn);
}

}  // namespace

std::optional<LoadFactorChecks> loadFactorChecks(const LoadFactorInput& in,
                                                 const UltimateCapacityResult& capacity) {
    const double h = in.thickness;
    const double fc = in.fc;
    const double fy = in.fy;
    if (!(h > 0 && fc > 0 && fy > 0)) {
        return std::nullopt;
    }
    LoadFactorChecks c{};
    c.top = faceCheck(in.areaTop, in.distTop, fc, fy, capacity.Beta1, capacity.leverTop);
    c.bottom = faceCheck(in.areaBot, h - static_cast<double>(in.distBot), fc, fy, capacity.Beta1,
                         capacity.leverBot);
    c.modulusOfRupture = kModulusOfRuptureFactor * std::sqrt(fc);
    // fr b h^2 / 6 lb-in with b the 12 in strip, in kip-ft.
    c.crackingMoment = c.modulusOfRupture * kStripWidthIn * h * h / kSectionModulusDivisor /
                       kInchesPerFoot * kKipPerLb;
    c.minimumCapacity = kMinimumSteelCrackingShare * c.crackingMoment;
    if (!(finite(c.top) && finite(c.bottom) && finite(c.minimumCapacity))) {
        return std::nullopt;
    }
    return c;
}

std::optional<ModularRatioCheck> modularRatioCheck(float InvConcStress) {
    if (!(InvConcStress > 0.0f)) {
        return std::nullopt;
    }
    ModularRatioCheck c{};
    c.fc = kFcPerInventoryStress * InvConcStress;
    c.EsOverEc = kSteelModulusPsi / (kConcreteModulusFactor * std::sqrt(c.fc));
    c.n = std::max(static_cast<double>(kMinModularRatio), std::floor(c.EsOverEc + kRoundingHalf));
    if (!finite(c.EsOverEc)) {
        return std::nullopt;
    }
    return c;
}

}  // namespace slabrating
