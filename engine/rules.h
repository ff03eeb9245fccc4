#pragma once
// The rating rules' numbers, each named once with its unit and its reason. The engine rates
// with them; every view that states one (the calculation sheet's formulas and its basis)
// prints these constants, never a copy of its own.

#include <array>
#include <cstddef>
#include <string_view>

namespace slabrating::rules {

// The one-foot design strip.

/// Width of the design strip (in): every area is per foot of slab width.
inline constexpr int kStripWidthIn = 12;
/// Inches in a foot: lb-in to lb-ft, and the slab thickness in feet.
inline constexpr int kInchesPerFoot = 12;
/// Pounds in a kip: the working stress rating divides lb-ft by it.
inline constexpr int kLbPerKip = 1000;
/// Kips in a pound: the load factor rating multiplies lb-ft by it.
inline constexpr double kKipPerLb = 0.001;

// Validation. The limits are single-precision constants, so the boundary values pass.

/// Smallest steel area (sq in per ft) and steel distance (in) the run accepts.
inline constexpr float kMinSteelValue = 0.1f;
/// Shortest and longest effective span the slab formula covers (ft).
inline constexpr float kMinSpan = 2.0f;
inline constexpr float kMaxSpan = 24.0f;

// Load factor section capacity.

/// Fy above which a load factor run rates with this yield stress (psi).
inline constexpr float kMaxFy = 60000.0f;
/// Inventory allowable concrete stress as a share of f'c.
inline constexpr double kInvConcShare = 0.4;
/// Inventory allowable steel stress as a share of Fy, and its cap (psi).
inline constexpr double kInvSteelShare = 0.5;
inline constexpr double kMaxInvSteelStress = 24000.0;

/// The old minimum slab thickness rule: t >= (S + kThicknessSpanAddend) / kThicknessSpanDivisor
/// ft, never less than kMinThicknessFloor ft (6.5 in).
inline constexpr double kMinThicknessFloor = 0.542;  // ft
inline constexpr int kThicknessSpanAddend = 10;      // ft
inline constexpr int kThicknessSpanDivisor = 30;

/// n = Es / Ec with Es = 29e6 psi and Ec = 57000 sqrt(f'c): 29e6 / 57000 = 509; 0.5 rounds
/// the quotient to the nearest whole number, and n is never taken below 6.
inline constexpr double kSteelModulusPsi = 29e6;
inline constexpr int kConcreteModulusFactor = 57000;  // Ec = 57000 sqrt(f'c) psi
inline constexpr int kModularRatioConstant = 509;
inline constexpr double kRoundingHalf = 0.5;
inline constexpr float kMinModularRatio = 6.0f;

/// Beta1 = 0.85 up to f'c = 4000 psi, 0.05 less per 1000 psi above, within 0.65 ... 0.85.
inline constexpr double kBeta1AtBase = 0.85;
inline constexpr int kBeta1BaseStrength = 4000;  // psi
inline constexpr double kBeta1PerPsi = 0.00005;  // per psi
inline constexpr float kMinBeta1 = 0.65f;
inline constexpr float kMaxBeta1 = 0.85f;

/// The equivalent rectangular stress block's 0.85 f'c, and the strength reduction factor.
inline constexpr double kBlockStressShare = 0.85;
inline constexpr double kFlexurePhi = 0.9;
/// 10.2 = 0.85 x 12 in of strip (in): the block depth a = As Fy / (10.2 f'c).
inline constexpr double kBlockForcePerFcIn = 10.2;
/// Concrete strain at crushing; 87000 psi = Es x 0.003 sets the balanced block depth
/// Beta1 x 87000 d / (87000 + Fy).
inline constexpr double kCrushingStrain = 0.003;
inline constexpr int kBalancedStrainStress = 87000;  // psi
/// Share of the balanced steel the tension steel is limited to, and 0.75 x 87000.
inline constexpr double kBalancedSteelShare = 0.75;
inline constexpr int kThreeQuartersBalanced = 65250;
/// 0.765 = 0.9 x 0.85: phi Mn = 0.9 x 0.85 f'c x 12 a (d - a/2) lb-in = 0.765 f'c a (d - a/2)
/// lb-ft.
inline constexpr double kCapacityFactor = 0.765;

// Working stress section analysis.

/// A working stress run's inventory concrete stress is taken as 0.4 f'c: f'c = 2.5 Fc.
inline constexpr double kFcPerInventoryStress = 2.5;

/// The rating manual's operating allowable concrete stress (psi) by f'c = 2.5 Fc (psi):
/// kOperConcStresses[i] up to and including kOperConcLimits[i], the last one above them all.
inline constexpr std::array<double, 3> kOperConcLimits{3000, 3999.9, 4999.9};
inline constexpr std::array<double, 4> kOperConcStresses{1300, 1900, 2400, 3000};
/// The operating allowable steel stress (psi) by the inventory steel stress (psi):
/// kOperSteelStresses[i] below kOperSteelLimits[i], the last one at or above them all.
inline constexpr std::array<float, 2> kOperSteelLimits{20000.0f, 24000.0f};
inline constexpr std::array<double, 3> kOperSteelStresses{25000, 28000, 36000};

/// Depth of the compression triangle's resultant over kd: 1/6 as the rating manual rounds it.
inline constexpr double kOneSixth = 0.1667;
/// The compression steel's transformed factor starts at 2n - 1 (creep doubles n, less the
/// concrete the bars displace).
inline constexpr int kCompSteelFactorOfN = 2;

/// Compression steel adjustments at which a pass stops adjusting when the steel governs and
/// the factor does not settle.
inline constexpr int kMaxAdjustments = 1000;
/// Compression steel adjustments after which a concrete-governed pass keeps its factor.
inline constexpr int kConcreteGovernedAdjustments = 2;

// Moments.

/// Unit weights (lb per cu ft): concrete, and the bituminous overlay.
inline constexpr int kConcreteUnitWeight = 150;
inline constexpr int kOverlayUnitWeight = 144;
/// Dead load of the 12 in strip per inch of thickness (lb per ft of span): 150 / 12 and
/// 144 / 12; summed in extended precision.
inline constexpr long double kSlabWeightPerInch = 12.5L;
inline constexpr long double kOverlayWeightPerInch = 12.0L;
/// Continuity factor on the simple-span moments of the slab, and the simple-span dead-load
/// coefficient 1/8; their product is the dead-load moment coefficient 0.1.
inline constexpr double kContinuityFactor = 0.8;
inline constexpr int kSimpleSpanDivisor = 8;
inline constexpr double kDeadLoadCoefficient = 0.1;
/// The slab formula for main reinforcement perpendicular to traffic: (S + 2) / 32 x P per ft
/// of width, with the fixed impact allowance of 30 %.
inline constexpr int kSlabSpanAddend = 2;  // ft
inline constexpr int kSlabFormulaDivisor = 32;
inline constexpr int kImpactPercent = 30;
/// (L + 2) x 520 lb-ft: 16000 / 32 x 1.3 x 0.8 = 520, impact and continuity included.
inline constexpr int kLiveLoadConstant = 520;

// Trucks and ratings.

/// HS20 truck gross weight (tons); an HS20 operating rating of this or more omits the
/// legal-truck table.
inline constexpr double kHs20Tons = 36.0;
/// HS20 wheel load (kips and lb), the load the slab moments are formed for.
inline constexpr double kHs20WheelKips = 16.0;
inline constexpr double kHs20WheelLb = kHs20WheelKips * kLbPerKip;
// The legal trucks, their gross weights and wheel loads: the vehicle table, engine/load_type.h.

/// Dead-load and operating live-load factors of the load factor rating (A1, A2).
inline constexpr double kDeadLoadFactor = 1.3;
inline constexpr double kLiveLoadFactor = 1.3;
/// The load factor inventory rating is this share of the operating one; the textbook
/// inventory live-load factor 2.17 would give 1.3 / 2.17 = 0.599.
inline constexpr double kInventoryShare = 0.6;
inline constexpr double kTextbookInventoryLiveLoadFactor = 2.17;
inline constexpr double kTextbookInventoryShare =
    kLiveLoadFactor / kTextbookInventoryLiveLoadFactor;
/// Live load share of the operating level in the stress scale of a load factor run.
inline constexpr double kOperatingShare = 1.0;

/// A rating factor of at least this carries the truck it rates.
inline constexpr double kFullRatingFactor = 1.0;

// Legal loads, posting and the inventory's load rating items.

/// Kips in a ton (2000 lb): axle weights in kips, vehicle weights and postings in tons.
inline constexpr double kKipsPerTon = 2.0;

/// Default closure threshold of a posting (tons): below it a sign is no longer useful and
/// the bridge is closed. An agency's choice for the load factor and allowable stress
/// methods (the 3 ton rule of the manual belongs to its LRFR chapter).
inline constexpr double kDefaultClosureTons = 3.0;
/// Largest closure threshold a posting policy may set (tons): the heaviest legal vehicle.
inline constexpr double kMaxClosureTons = 43.0;

/// The inventory's rating factors (B.LR.05 to 07, B.EP.02): two decimals, at most 99.99.
inline constexpr int kInventoryFactorDecimals = 2;
inline constexpr double kMaxInventoryFactor = 99.99;
/// MS18, the metric HS20 (metric tons): items 64 and 66 record RF x 32.4 to a tenth of a
/// metric ton in three digits, the decimal point implied (1995 Recording and Coding Guide).
inline constexpr double kMs18MetricTons = 32.4;
inline constexpr int kMetricTonsCodeMax = 999;
/// Items 63 and 65: the rating method code, in metric tons (1995 Recording and Coding Guide).
inline constexpr int kLoadFactorMethodCode = 1;
inline constexpr int kAllowableStressMethodCode = 2;
/// Item 70: the percent below the legal loads, to a tenth, binned by 10 %: 5 at or above,
/// 4 for 0.1 to 9.9 % below, down to 0 for more than 39.9 % below.
inline constexpr int kPostingCodeAtLegal = 5;
inline constexpr double kPostingCodeBandPercent = 10.0;
/// The federal intake validator's safety rule: an operating rating factor below this while
/// the bridge is not closed is a safety error.
inline constexpr double kClosedBelowOperatingFactor = 0.1;

// Review findings.

/// Lowest strengths assumed for unknown old concrete and steel (psi): a load factor run
/// given less most likely holds allowable stresses typed with the modular ratio left blank.
inline constexpr float kLowestAssumedFc = 2500.0f;
inline constexpr float kLowestAssumedFy = 33000.0f;
/// Highest inventory allowable stresses (psi): a working stress run given more most likely
/// holds strengths.
inline constexpr float kHighestInventoryFc = 2000.0f;
inline constexpr float kHighestInventoryFs = 30000.0f;

/// The cracking moment of the gross section: the modulus of rupture fr = 7.5 sqrt(f'c) psi
/// (normal weight concrete) over the section modulus b h^2 / 6 of the strip.
inline constexpr double kModulusOfRuptureFactor = 7.5;
inline constexpr int kSectionModulusDivisor = 6;
/// Each face's steel develops at least this many cracking moments, so that the face does
/// not fail as it cracks.
inline constexpr double kMinimumSteelCrackingShare = 1.2;
/// Nearest distance from a face of the slab to the centre of its bars (in): less leaves no
/// room for the cover and the bar itself. The program's threshold.
inline constexpr float kMinFaceToBarCentreIn = 1.0f;
/// Thickest overlay (in), and the largest share of the slab thickness, that the program
/// takes without a doubt: more is most likely another slab or a mistyped field.
inline constexpr float kMaxOverlayIn = 4.0f;
inline constexpr double kMaxOverlayShareOfSlab = 0.5;
/// A working stress modular ratio further than this from Es / Ec of the concrete its
/// allowable stress implies is doubted.
inline constexpr double kModularRatioTolerance = 2.0;
/// The rating manual's operating allowable concrete stress in flexure, as a share of f'c;
/// the program's table (kOperConcStresses) is lower in every band but the second.
inline constexpr double kManualOperConcShare = 0.6;

// The articles the rules come from, as the findings and the sheet's basis cite them.
// "Standard Specifications": the AASHTO Standard Specifications for Highway Bridges, 17th
// edition (2002), Division I. "Manual": the AASHTO Manual for Bridge Evaluation, Section 6,
// Part B (allowable stress and load factor rating).
inline constexpr std::string_view kSpecificationsTitle =
    "AASHTO Standard Specifications for Highway Bridges, 17th edition";
inline constexpr std::string_view kManualTitle =
    "AASHTO Manual for Bridge Evaluation, Section 6, Part B";
inline constexpr std::string_view kArtSlabMoment = "Standard Specifications 3.24.3.1";
inline constexpr std::string_view kArtImpact = "Standard Specifications 3.8.2.1";
inline constexpr std::string_view kArtYieldLimit = "Standard Specifications 8.3.3";
inline constexpr std::string_view kArtModuli = "Standard Specifications 8.7";
inline constexpr std::string_view kArtMinimumDepth = "Standard Specifications 8.9.2";
inline constexpr std::string_view kArtOldMinimumDepth = "1.5.40(B) of the older editions";
inline constexpr std::string_view kArtAllowableStresses = "Standard Specifications 8.15.2.1.1";
inline constexpr std::string_view kArtModularRatio = "Standard Specifications 8.15.3.4";
inline constexpr std::string_view kArtFlexureStrength = "Standard Specifications 8.16.3.2";
inline constexpr std::string_view kArtBalancedSteel = "Standard Specifications 8.16.3.1.1";
inline constexpr std::string_view kArtMinimumSteel = "Standard Specifications 8.17.1.1";
inline constexpr std::string_view kArtCover = "Standard Specifications 8.22.1";
inline constexpr std::string_view kArtRatingEquation = "Manual 6B.4.1";
inline constexpr std::string_view kArtAllowableStressRating = "Manual 6B.4.2";
inline constexpr std::string_view kArtLoadFactorRating = "Manual 6B.4.3";
inline constexpr std::string_view kArtManualAllowables = "Manual 6B.5.2";

}  // namespace slabrating::rules
