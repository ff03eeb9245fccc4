#pragma once
// The structured result of a rating run: every quantity that the report shows or that the
// ratings are formed from, per one-foot strip of slab, in the precision the run holds it
// (float: single precision, double: double precision). The report is written from it.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "engine/fields.h"
#include "engine/load_type.h"
#include "engine/posting.h"
#include "engine/rules.h"

namespace slabrating {

/// The rating method, chosen by the modular ratio.
enum class RatingMethod {
    LoadFactor,     ///< modular ratio blank, not numeric, zero or negative
    WorkingStress,  ///< modular ratio greater than 0
};

/// Everything the program says of a rating method; the views print these words.
struct MethodInfo {
    RatingMethod id;
    std::string_view name;           ///< "load factor": the JSON result's and the sheet's words
    std::string_view summaryCode;    ///< "LF": the CSV summary's method column
    std::string_view inventoryCode;  ///< "LFR": the inventory's B.LR.04
    int legacyCode;                  ///< items 63 and 65 of the legacy inventory
};

/// The methods, in the order of `RatingMethod`.
inline constexpr std::array<MethodInfo, 2> kRatingMethods{{
    {.id = RatingMethod::LoadFactor,
     .name = "load factor",
     .summaryCode = "LF",
     .inventoryCode = "LFR",
     .legacyCode = rules::kLoadFactorMethodCode},
    {.id = RatingMethod::WorkingStress,
     .name = "working stress",
     .summaryCode = "WS",
     .inventoryCode = "ASR",
     .legacyCode = rules::kAllowableStressMethodCode},
}};

/// The description of a method.
constexpr const MethodInfo& methodInfo(RatingMethod method) {
    return kRatingMethods[static_cast<std::size_t>(method)];
}

// Load factor section capacity (load factor runs only).

/// Inputs of the load factor capacity of the one-foot strip.
struct LoadFactorInput {
    float span;       ///< effective span S (ft)
    float thickness;  ///< slab thickness h (in)
    float areaTop;    ///< top steel area As,top (sq in per ft)
    float distTop;    ///< bottom face to top steel, effective depth d,top (in)
    float areaBot;    ///< bottom steel area As,bot (sq in per ft)
    float distBot;    ///< bottom face to bottom steel d' (in)
    float fc;         ///< concrete strength f'c as entered (psi)
    float fy;         ///< steel yield stress Fy after the cap at 60000 (psi)
};

/// Inventory allowable stresses derived from f'c and Fy; they stand for the entered
/// allowables of a working stress run in the section analysis.
struct AllowableStresses {
    float InvConcStress;   ///< 0.4 f'c (psi)
    float InvSteelStress;  ///< 0.5 Fy, at most 24000 (psi)
};

/// The old minimum-thickness rule: h / 12 >= (S + 10) / 30 ft, at least 0.542 ft.
struct ThicknessCheck {
    float MinThickness;  ///< minimum slab thickness (ft)
    float thicknessFt;   ///< slab thickness h / 12 (ft)
    bool warning;        ///< thinner than the minimum: the report carries the warning line
};

/// The face whose steel is in tension: the top over the girders (negative moment), the
/// bottom between them (positive moment).
enum class TensionFace { Top, Bottom };

/// The factored moment capacity and its intermediate values.
struct UltimateCapacityResult {
    float Beta1;             ///< depth factor of the equivalent rectangular stress block
    float aTop;              ///< block depth, top steel in tension (in)
    float aBot;              ///< block depth, bottom steel in tension (in)
    float leverTop;          ///< a (d - a/2), top steel in tension (sq in)
    float leverBot;          ///< a (h - a/2 - d'), bottom steel in tension (sq in)
    float UltimateCapacity;  ///< factored moment capacity phi Mn (lb-ft per ft of width)
    bool aTopLimited;        ///< the top block depth is 0.75 of the balanced one
    bool aBotLimited;        ///< the bottom block depth is 0.75 of the balanced one
    TensionFace governs;     ///< the face of the smaller lever term (the top on a tie)
};

// Working stress section analysis (both methods).

/// Operating allowable stresses chosen from the inventory ones (exact table values).
struct OperatingAllowables {
    double OperConcStress;   ///< operating allowable concrete stress (psi)
    double OperSteelStress;  ///< operating allowable steel stress (psi)
    double fc;               ///< f'c the concrete band is chosen by, 2.5 Fc,inv (psi)
    std::size_t concBand;    ///< the row of `rules::kOperConcStresses` chosen
    std::size_t steelBand;   ///< the row of `rules::kOperSteelStresses` chosen
};

/// Inputs of the cracked transformed section analysis of the one-foot strip.
struct WorkingStressInput {
    float n;                 ///< modular ratio: as entered (working stress) or derived from f'c
    float InvConcStress;     ///< inventory allowable concrete stress (psi)
    float InvSteelStress;    ///< inventory allowable steel stress (psi)
    double OperConcStress;   ///< operating allowable concrete stress (psi)
    double OperSteelStress;  ///< operating allowable steel stress (psi)
    float areaTop;           ///< tension (top) steel area As,top (sq in per ft)
    float d;                 ///< compression face to tension steel, effective depth (in)
    float areaBot;           ///< compression (bottom) steel area As,bot (sq in per ft)
    float dPrime;            ///< compression face to compression steel d' (in)
};

/// Quantities of one analysis of the cracked section; all dimensionless.
struct SectionQuantities {
    double A;       ///< tension steel term n rho = n As,top / (12 d)
    double B;       ///< compression steel term m rho' = m As,bot / (12 d)
    double BPrime;  ///< B d' / d
    double P;       ///< A + B
    double Q;       ///< A + B'
    double k;       ///< neutral axis depth over d
    double c;       ///< (kd - d') / kd
    double zr;      ///< depth of the resultant compression force over kd
    double j;       ///< lever arm over d
    double e;       ///< k - d'/d, with d'/d rounded to single precision
    double u;       ///< 1 - k
    double r;       ///< extreme fibre concrete stress over tension steel stress
};

/// The material whose allowable stress limits a pass's resisting moment.
enum class Governing { Steel, Concrete };

/// Results of the inventory pass, stresses as stored for the report.
struct InventoryPass {
    SectionQuantities section;  ///< the last section analysed in the pass
    double CompSteelFactor;     ///< m, compression steel transformed factor of that section
    int AdjustCount;            ///< compression steel adjustments made in the pass
    double ResistingMoment;     ///< resisting moment (lb-ft per ft of width)
    float ConcreteStress;       ///< extreme fibre concrete stress (psi)
    float SteelStress;          ///< tension steel stress (psi)
    float CompSteelStress;      ///< compression steel stress (psi)
    Governing governs;          ///< steel at its allowable, or concrete at its allowable
    /// The compression steel stress was checked against the allowable steel stress in the
    /// pass's last section. False when the pass has no compression steel (its stress is 0)
    /// or kept its factor after the adjustments a concrete-governed pass allows: the stress
    /// is then the one last computed, with an earlier section.
    bool compSteelChecked;
};

/// Results of the operating pass, which starts again from m = 2n - 1.
struct OperatingPass {
    SectionQuantities section;  ///< the last section analysed (the inventory one when reused)
    /// The pass started from the inventory pass's section and kept it: neither pass
    /// adjusted the compression steel, so both share one section.
    bool sharesInventorySection;
    double CompSteelFactor;  ///< m of that section
    int AdjustCount;         ///< compression steel adjustments made in the pass
    double ResistingMoment;  ///< resisting moment (lb-ft per ft of width)
    double ConcreteStress;   ///< extreme fibre concrete stress (psi)
    float SteelStress;       ///< tension steel stress (psi)
    double CompSteelStress;  ///< compression steel stress (psi)
    Governing governs;       ///< steel at its allowable, or concrete at its allowable
    /// The compression steel stress was checked against the allowable steel stress in the
    /// pass's last section. False when the pass has no compression steel (its stress is 0)
    /// or kept its factor after the adjustments a concrete-governed pass allows: the stress
    /// is then the one last computed, with an earlier section.
    bool compSteelChecked;
};

// Moments (both methods).

/// Dead load and live load moments of the one-foot strip.
struct Moments {
    double w;                 ///< dead load of the strip (lb per ft of span)
    double M_DL;              ///< dead-load moment (lb-ft)
    double M_LL;              ///< HS20 live load plus impact moment (lb-ft)
    double stateTruckMoment;  ///< `TruckMoment` of the state series, 10 kip wheel (kip-ft)
    /// `TruckMoment` of the Interstate series, 9 kip wheel (kip-ft); formed only when the
    /// load type is not the state series.
    std::optional<float> interstateTruckMoment;
};

/// The moments of the report and of the load factor rating, in kip-ft.
struct ReportMoments {
    float DeadLoadMoment;  ///< M_DL / 1000 (kip-ft)
    float LiveLoadMoment;  ///< M_LL / 1000 (kip-ft)
};

// Ratings.

/// One level (inventory or operating) of the working stress rating.
struct LevelRating {
    double MemberCapacity;   ///< resisting moment in kip-ft
    float LiveLoadCapacity;  ///< capacity left for live load plus impact (kip-ft)
    double ratingFactor;     ///< HS20 rating factor
    double RatingTons;       ///< HS20 rating (tons)
};

/// The load factor rating, from the factored capacity and the kip-ft moments.
struct LoadFactorRating {
    double MemberCapacity;  ///< `UltimateCapacity` in kip-ft, both levels
    float
        LiveLoadCapacity;  ///< capacity left for 1.3 x live load plus impact (kip-ft), both levels
    double RatingFactor;   ///< HS20 operating rating factor
    double factoredDeadLoad;  ///< 1.3 x `DeadLoadMoment`, the capacity's dead-load share (kip-ft)
    /// 1.3 x `LiveLoadMoment`, the operating live-load demand on the capacity left (kip-ft).
    double factoredLiveLoad;
    /// 1.3 / 0.6 x `LiveLoadMoment`: the inventory live-load demand that gives the inventory
    /// rating factor, 0.6 of the operating one (kip-ft).
    double inventoryFactoredLiveLoad;
    /// HS20 inventory rating factor: 0.6 of the operating one, as the inventory tons are.
    /// The report does not print it; the inventory reports to the bridge inventory need it.
    double inventoryRatingFactor;
    double inventoryTons;  ///< HS20 inventory rating (tons): 0.6 of the operating one
    double operatingTons;  ///< HS20 operating rating (tons)
};

/// Scales that carry each pass's stresses to the load factor rating load.
struct StressScales {
    float StressScaleInv;   ///< inventory level, at 0.6 of the operating live load
    float StressScaleOper;  ///< operating level
};

/// The inventory column of the HS20 table as the report shows it.
struct Hs20Inventory {
    float ConcreteStress;    ///< actual concrete stress (psi)
    float SteelStress;       ///< actual tension steel stress (psi)
    float CompSteelStress;   ///< actual compression steel stress (psi)
    double MemberCapacity;   ///< kip-ft
    float LiveLoadCapacity;  ///< capacity left for live load plus impact (kip-ft)
    double RatingFactor;     ///< HS20 inventory rating factor

    double RatingTons;  ///< HS20 inventory rating (tons)
};

/// The operating column of the HS20 table as the report shows it.
struct Hs20Operating {
    double ConcreteStress;   ///< actual concrete stress (psi)
    float SteelStress;       ///< actual tension steel stress (psi)
    double CompSteelStress;  ///< actual compression steel stress (psi)
    double MemberCapacity;   ///< kip-ft
    float LiveLoadCapacity;  ///< capacity left for live load plus impact (kip-ft)
    double RatingFactor;     ///< `RatingFactor` of the run's method, the legal trucks' basis
    double RatingTons;       ///< HS20 operating rating (tons)
};

/// The HS20 table: working stress values, or in a load factor run the load factor
/// capacities and ratings with the stresses scaled to the load factor rating load.
struct Hs20Rating {
    Hs20Inventory inventory;
    Hs20Operating operating;
};

/// One legal truck, rated at the operating level.
struct LegalTruck {
    std::string_view type;  ///< "3", "3S2" or "3-2", the vehicle table's name
    double grossTons;       ///< gross weight (tons)
    double RatingFactor;    ///< `RatingFactor` x 16 / the series' wheel load (kips)
    double RatingTons;      ///< operating rating (tons)
    bool belowGrossWeight;  ///< the rating in tons is below the gross weight
};

/// The legal-truck table.
struct LegalTruckRatings {
    TruckSeries series;  ///< the series of the run's load type (engine/load_type.h)
    /// The series' `TruckMoment` the table prints (kip-ft), in the precision it is held in:
    /// the state series' in double, the Interstate series' in single; the other is absent.
    std::optional<double> stateTruckMoment;
    std::optional<float> interstateTruckMoment;
    double wheelKips;                                 ///< the series' heaviest wheel load (kips)
    std::array<LegalTruck, kTrucksPerSeries> trucks;  ///< the series' trucks, in report order
    /// Index in `trucks` of the controlling truck: the lowest rating relative to its gross
    /// weight, which is the truck's rating factor; the first in report order on a tie.
    std::size_t controlling;
};

/// The working stress analysis of the midspan section, between the girders: the section
/// turned over, with the bottom steel in tension and the top steel in compression, at the
/// same allowables, modular ratio and moments as the section over the girders that the
/// report rates.
struct MidspanSection {
    WorkingStressInput sectionInput;  ///< tension steel As,bot at d = h - d', compression As,top
    InventoryPass inventoryPass;
    OperatingPass operatingPass;
    LevelRating inventory;  ///< HS20 rating of the midspan section, inventory
    LevelRating operating;  ///< HS20 rating of the midspan section, operating
};

/// One face's steel held against the load factor method's limits.
struct FaceSteelCheck {
    double steelRatio;     ///< rho = As / (12 d), with d that face's effective depth
    double balancedRatio;  ///< rho_b = 0.85 Beta1 f'c / Fy x 87000 / (87000 + Fy)
    double balancedShare;  ///< rho / rho_b
    double phiMn;          ///< factored moment capacity of this face alone (kip-ft)
};

/// The checks of a complete load factor run's section beside its rating: the steel ratio
/// of each face against the balanced one, and its capacity against the cracking moment.
struct LoadFactorChecks {
    FaceSteelCheck top;       ///< the top steel in tension at d,top
    FaceSteelCheck bottom;    ///< the bottom steel in tension at h - d'
    double modulusOfRupture;  ///< fr = 7.5 sqrt(f'c) (psi)
    double crackingMoment;    ///< Mcr = fr 12 h^2 / 6 of the gross strip (kip-ft)
    double minimumCapacity;   ///< 1.2 Mcr, the least capacity of a face (kip-ft)
};

/// The modular ratio that a complete working stress run's allowable concrete stress
/// implies, to hold the entered one against.
struct ModularRatioCheck {
    double fc;        ///< f'c = `Concfc` / 0.40, the strength the allowable implies (psi)
    double EsOverEc;  ///< 29,000,000 / (57,000 sqrt(f'c))
    double n;         ///< Es / Ec to the nearest whole number, at least 6
};

/// One level of the governing rating: the lower of the strip's sections at that level.
struct GoverningLevel {
    /// The section that governs: over the girders (the top steel in tension, the section the
    /// report rates) or midspan (the bottom steel in tension). In a load factor run, the face
    /// whose lever term gave `UltimateCapacity`, the same at both levels.
    TensionFace section;
    double RatingFactor;  ///< HS20 rating factor of that section at this level
    double RatingTons;    ///< HS20 rating of that section at this level (tons)
};

/// The rating of the strip: at each level the section that rates lowest. In a working stress
/// run the lower of the section over the girders (the report's) and the midspan section
/// (the report's section when the midspan one is not analysed, and on a tie); in a load
/// factor run the report's rating, whose capacity is already the smaller of the two faces.
struct GoverningRating {
    GoverningLevel inventory;
    GoverningLevel operating;
    /// The legal trucks rated from the governing operating rating factor; absent when the
    /// governing HS20 operating rating is 36 tons or more.
    std::optional<LegalTruckRatings> legalTrucks;
    /// The bridge is to be reviewed for posting or closing: a governing legal truck rates
    /// below its gross weight, or the governing operating rating factor is below 0 (the dead
    /// load alone exceeds the capacity).
    bool reviewForPosting;
};

/// Whether a rating may be signed.
enum class RatingStatus {
    Rated,     ///< the run completed and no finding says its inputs cannot be a slab
    Withheld,  ///< the run completed, but a finding of severity error says the inputs cannot
               ///< describe a slab: the rating is not to be signed
    Stopped,   ///< the run stopped (a numeric test, a range check or an arithmetic fault)
};

/// Everything a rating run found, as far as it got: a stopped run holds the quantities it
/// reached, and every later one is absent.
struct Rating {
    std::string date;                    ///< the run's date as the report header prints it
    std::optional<SlabInput> input;      ///< absent when a numeric field failed its test
    std::optional<RatingMethod> method;  ///< absent when a range check failed

    // Load factor runs only.
    std::optional<LoadFactorInput> loadFactorInput;  ///< f'c as entered, Fy capped
    std::optional<AllowableStresses> inventoryAllowables;
    std::optional<ThicknessCheck> thicknessCheck;
    std::optional<float> derivedModularRatio;  ///< n from f'c, in place of `ModRatio`
    std::optional<UltimateCapacityResult> ultimateCapacity;

    // Both methods.
    std::optional<OperatingAllowables> operatingAllowables;
    std::optional<WorkingStressInput> sectionInput;  ///< inputs of the working stress analysis
    std::optional<InventoryPass> inventoryPass;
    std::optional<Moments> moments;
    std::optional<LevelRating> workingStressInventory;  ///< working stress rating, inventory
    std::optional<OperatingPass> operatingPass;
    std::optional<LevelRating> workingStressOperating;  ///< working stress rating, operating
    std::optional<ReportMoments> reportMoments;

    // Load factor runs only.
    std::optional<LoadFactorRating> loadFactorRating;
    std::optional<StressScales> stressScales;

    // The tables of the report.
    std::optional<Hs20Rating> hs20;
    /// Absent when the HS20 operating rating is 36 tons or more (and when the run stopped
    /// before it).
    std::optional<LegalTruckRatings> legalTrucks;

    // Working stress runs that completed, beside the report.
    /// Absent when the run is not a complete working stress run, or when its turned-over
    /// section cannot be analysed (`midspanNotAnalysed`).
    std::optional<MidspanSection> midspan;
    /// A complete working stress run whose midspan section has no sound analysis: the
    /// compression steel not between the compression face and the tension steel, or an
    /// arithmetic fault in the analysis.
    bool midspanNotAnalysed = false;

    // Complete runs, beside the report.
    /// The rating of the strip, from the section that governs at each level.
    std::optional<GoverningRating> governing;
    /// The checks beside a complete load factor run's rating; absent when their arithmetic
    /// is undefined for these inputs (they never stop a run).
    std::optional<LoadFactorChecks> loadFactorChecks;
    /// The modular ratio check of a complete working stress run whose `Concfc` is above 0.
    std::optional<ModularRatioCheck> modularRatioCheck;
    /// Whether the rating may be signed; set once the review findings are known.
    RatingStatus status = RatingStatus::Stopped;

    // The decisions the rating is for.
    std::optional<LegalLoadRatings> legalLoads;  ///< every legal vehicle at both levels
    std::optional<PostingDecision> posting;      ///< under the run's posting policy
    std::optional<InventoryItems> inventory;     ///< the member's load rating items
};

/// The section as the JSON result names it: "over the girders" or "midspan".
std::string_view sectionName(TensionFace section);
/// The status as the JSON result and the summary name it: "rated", "withheld", "stopped".
std::string_view statusName(RatingStatus status);

/// The HS20 operating rating (tons) exactly as the report's HS20 table prints it, without
/// the blanks that right-align it: "55.32".
std::string hs20OperatingTonsText(const Hs20Rating& hs20);

}  // namespace slabrating
