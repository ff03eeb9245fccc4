#pragma once
// Review findings: what a checking engineer would flag in a run before signing its rating.
// They stand beside the rating and never change the report, the outcome or a file.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "engine/fields.h"
#include "engine/rating.h"

namespace slabrating {

/// The codes of the findings, stable for whoever reads them, in the order a run lists them.
namespace findingcode {
inline constexpr std::string_view kSlabNotPositive = "slab-not-positive";
inline constexpr std::string_view kOverlayNegative = "overlay-negative";
inline constexpr std::string_view kTopSteelOutside = "top-steel-outside";
inline constexpr std::string_view kBottomSteelOutside = "bottom-steel-outside";
inline constexpr std::string_view kLayersCrossed = "layers-crossed";
inline constexpr std::string_view kTopSteelNearFace = "top-steel-near-face";
inline constexpr std::string_view kBottomSteelNearFace = "bottom-steel-near-face";
inline constexpr std::string_view kOverlayThick = "overlay-thick";
inline constexpr std::string_view kStrengthsLookLikeAllowables = "strengths-look-like-allowables";
inline constexpr std::string_view kAllowablesLookLikeStrengths = "allowables-look-like-strengths";
inline constexpr std::string_view kModularRatioNegative = "modular-ratio-negative";
inline constexpr std::string_view kModularRatioUnlikeConcrete = "modular-ratio-unlike-concrete";
inline constexpr std::string_view kFyCapped = "fy-capped";
inline constexpr std::string_view kThicknessBelowMinimum = "thickness-below-minimum";
inline constexpr std::string_view kTopSteelAboveBalanced = "top-steel-above-balanced";
inline constexpr std::string_view kBottomSteelAboveBalanced = "bottom-steel-above-balanced";
inline constexpr std::string_view kTopSteelBelowMinimum = "top-steel-below-minimum";
inline constexpr std::string_view kBottomSteelBelowMinimum = "bottom-steel-below-minimum";
inline constexpr std::string_view kNoLoadType = "no-load-type";
inline constexpr std::string_view kDeadLoadExceedsCapacity = "dead-load-exceeds-capacity";
inline constexpr std::string_view kBelowLegalWeight = "below-legal-weight";
inline constexpr std::string_view kOperatingBelowInventory = "operating-below-inventory";
inline constexpr std::string_view kMidspanSectionLower = "midspan-section-lower";
inline constexpr std::string_view kMidspanNotAnalysed = "midspan-not-analysed";
inline constexpr std::string_view kLegalLoadBelowOne = "legal-load-below-one";
inline constexpr std::string_view kOperatingBelowTenth = "operating-below-tenth";
inline constexpr std::string_view kRatingRecordedAsZero = "rating-recorded-as-zero";
}  // namespace findingcode

/// Every code, in the order a run lists its findings.
inline constexpr std::array<std::string_view, 27> kFindingCodes{
    findingcode::kSlabNotPositive,
    findingcode::kOverlayNegative,
    findingcode::kTopSteelOutside,
    findingcode::kBottomSteelOutside,
    findingcode::kLayersCrossed,
    findingcode::kTopSteelNearFace,
    findingcode::kBottomSteelNearFace,
    findingcode::kOverlayThick,
    findingcode::kStrengthsLookLikeAllowables,
    findingcode::kAllowablesLookLikeStrengths,
    findingcode::kModularRatioNegative,
    findingcode::kModularRatioUnlikeConcrete,
    findingcode::kFyCapped,
    findingcode::kThicknessBelowMinimum,
    findingcode::kTopSteelAboveBalanced,
    findingcode::kBottomSteelAboveBalanced,
    findingcode::kTopSteelBelowMinimum,
    findingcode::kBottomSteelBelowMinimum,
    findingcode::kNoLoadType,
    findingcode::kDeadLoadExceedsCapacity,
    findingcode::kBelowLegalWeight,
    findingcode::kOperatingBelowInventory,
    findingcode::kMidspanSectionLower,
    findingcode::kMidspanNotAnalysed,
    findingcode::kLegalLoadBelowOne,
    findingcode::kOperatingBelowTenth,
    findingcode::kRatingRecordedAsZero,
};

/// How much a finding weighs.
enum class Severity {
    Error,    ///< the inputs cannot describe a slab: the rating is withheld
    Warning,  ///< the rating may be wrong for this slab
    Note,     ///< worth knowing; the rating stands
};

/// "error", "warning" or "note".
std::string_view severityName(Severity severity);

/// One value a finding is about, named with its unit as the JSON result names it.
struct FindingValue {
    std::string_view name;  ///< "SlabThick_in", "ratingTons"
    double value;           ///< the run's value (a float converts exactly)
    bool single;            ///< held in single precision by the run
};

/// One review finding.
struct Finding {
    std::string_view code;  ///< stable code: "slab-not-positive", "below-legal-weight", ...
    Severity severity;
    std::string message;  ///< one plain sentence naming the field or the number
    /// The article the rule comes from ("Standard Specifications 8.17.1.1"); empty for a
    /// rule of the program's own.
    std::string_view article;
    std::vector<FindingValue> values;  ///< the values it is about
};

/// The findings of a run, in the order of their codes' list: those that the fields and
/// the values the run reached support (a stopped run gets fewer).
std::vector<Finding> reviewFindings(const SlabFields& fields, const Rating& rating);

}  // namespace slabrating
