#include "engine/findings.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>

#include "engine/field_table.h"
#include "engine/format.h"

namespace slabrating {

using namespace rules;

namespace {

constexpr int kTonsDecimals = 2;    // tons as the report prints them
constexpr int kFactorDecimals = 3;  // a rating factor
constexpr int kFeetDigits = 4;      // a thickness in feet: 6.5 in is 0.5417 ft
constexpr int kRatioDigits = 3;     // a steel ratio: 0.0385

// The values a finding is about, named by their place in the JSON result below /rating.
constexpr std::array<std::string_view, 3> kTruckTons{"governing/legalTrucks/trucks/0/ratingTons",
                                                     "governing/legalTrucks/trucks/1/ratingTons",
                                                     "governing/legalTrucks/trucks/2/ratingTons"};
constexpr std::array<std::string_view, 3> kTruckGross{"governing/legalTrucks/trucks/0/grossTons",
                                                      "governing/legalTrucks/trucks/1/grossTons",
                                                      "governing/legalTrucks/trucks/2/grossTons"};

constexpr std::array<std::string_view, kLegalVehicleCount> kPostingFactor{
    "posting/vehicles/0/ratingFactor", "posting/vehicles/1/ratingFactor",
    "posting/vehicles/2/ratingFactor", "posting/vehicles/3/ratingFactor",
    "posting/vehicles/4/ratingFactor"};

FindingValue single(std::string_view name, float value) {
    return {name, value, true};
}
FindingValue exact(std::string_view name, double value) {
    return {name, value, false};
}

// Parts of a sentence: a field named with its value, a value held in single precision, tons
// and rating factors as the report prints them, an exact value (a gross weight, a limit).
struct FieldValue {
    Field field;
    float value;
};
struct Shortest {
    double value;
};
struct Tons {
    double value;
};
struct Factor {
    double value;
};
struct Decimals {
    double value;
    int decimals;
};
struct Significant {
    double value;
    int digits;
};

// What the posting decision says of vehicle `index`: "post at 8 tons" or "close".
struct PostingWords {
    const PostingDecision* decision;
    std::size_t index;
};

void append(std::string& text, std::string_view words) {
    text += words;
}
void append(std::string& text, Shortest v) {
    text += shortestText(v.value);
}
void append(std::string& text, Tons v) {
    appendMask(text, v.value, kDoubleDigits, kTonsDecimals);
}
void append(std::string& text, Factor v) {
    appendMask(text, v.value, kDoubleDigits, kFactorDecimals);
}
void append(std::string& text, Decimals v) {
    appendMask(text, v.value, kDoubleDigits, v.decimals);
}
void append(std::string& text, Significant v) {
    appendSignificant(text, v.value, v.digits);
}
void append(std::string& text, PostingWords w) {
    if (w.decision == nullptr) {
        text += "no posting decision";
        return;
    }
    const PostingDecision& d = *w.decision;
    const VehiclePosting& p = d.vehicles[w.index];
    if (p.action == VehicleAction::Close || d.action == StructureAction::Close) {
        text += "close";
        return;
    }
    if (p.action == VehicleAction::None) {
        text += "no posting needed under the posting policy";
        return;
    }
    const bool oneValue = d.sign == SignType::R12_1 && w.index < kFirstEmergencyVehicle;
    text += "post at ";
    appendMask(text, oneValue ? d.signValueTons : p.valueTons, kDoubleDigits,
               d.policy.rounding == SignRounding::DownToWholeTon ? 0 : kTonsDecimals);
    text += " tons";
}
// "Steel Fy of 20000 psi": the field's label, its value as the run holds it, its unit.
void append(std::string& text, FieldValue v) {
    const FieldInfo& info = fieldInfo(v.field);
    text += info.label;
    text += " of ";
    text += shortestText(v.value);
    if (!info.unit.empty()) {
        text += ' ';
        text += info.unit;
    }
}

// One sentence from its parts, written once into a text of its own.
template <class... Parts>
std::string say(const Parts&... parts) {
    std::string text;
    text.reserve(256);
    (append(text, parts), ...);
    return text;
}

// The findings of a run, as they are found.
class Findings {
public:
    explicit Findings(std::vector<Finding>& out) : m_out(out) {}

    void add(std::string_view code, Severity severity, std::string message,
             std::initializer_list<FindingValue> values, std::string_view article = {}) {
        m_out.push_back({code, severity, std::move(message), article, values});
    }

    /// True when a finding so far says the inputs cannot describe a slab.
    bool anyError() const {
        return std::any_of(m_out.begin(), m_out.end(),
                           [](const Finding& f) { return f.severity == Severity::Error; });
    }

private:
    std::vector<Finding>& m_out;
};

void inputFindings(const SlabInput& in, Findings& f) {
    const FieldValue h{Field::SlabThick, in.SlabThick};
    if (!(in.SlabThick > 0.0f)) {
        f.add(findingcode::kSlabNotPositive, Severity::Error,
              say(h,
                  " is not greater than 0: the dead load and the depths of the section are "
                  "not those of a slab."),
              {single("input/SlabThick_in", in.SlabThick)});
    }
    if (in.Bitum < 0.0f) {
        f.add(findingcode::kOverlayNegative, Severity::Error,
              say(FieldValue{Field::Bitum, in.Bitum},
                  " is below 0: a negative overlay lowers the dead load and raises the rating."),
              {single("input/Bitum_in", in.Bitum)});
    }
    if (in.StDistTop >= in.SlabThick) {
        f.add(findingcode::kTopSteelOutside, Severity::Error,
              say(FieldValue{Field::StDistTop, in.StDistTop}, " is not less than the ", h,
                  ": the top steel lies outside the slab."),
              {single("input/StDistTop_in", in.StDistTop),
               single("input/SlabThick_in", in.SlabThick)});
    }
    if (in.StDistBot >= in.SlabThick) {
        f.add(findingcode::kBottomSteelOutside, Severity::Error,
              say(FieldValue{Field::StDistBot, in.StDistBot}, " is not less than the ", h,
                  ": the bottom steel lies outside the slab."),
              {single("input/StDistBot_in", in.StDistBot),
               single("input/SlabThick_in", in.SlabThick)});
    }
    if (in.StDistTop <= in.StDistBot) {
        f.add(findingcode::kLayersCrossed, Severity::Error,
              say(FieldValue{Field::StDistTop, in.StDistTop}, " is not above the ",
                  FieldValue{Field::StDistBot, in.StDistBot},
                  ": the top and the bottom steel are crossed."),
              {single("input/StDistTop_in", in.StDistTop),
               single("input/StDistBot_in", in.StDistBot)});
    }
}

// The strengths (load factor) or allowables (working stress) beyond their limits, in one
// sentence: "Concrete Fc of 1200 psi is below 2500 psi and Steel Fy of ... is below ...".
void strengthFindings(const SlabInput& in, RatingMethod method, Findings& f) {
    const bool lf = method == RatingMethod::LoadFactor;
    const bool conc = lf ? in.Concfc < kLowestAssumedFc : in.Concfc > kHighestInventoryFc;
    const bool steel = lf ? in.SteelFy < kLowestAssumedFy : in.SteelFy > kHighestInventoryFs;
    if (!conc && !steel) {
        return;
    }
    const std::string_view psi = fieldInfo(Field::Concfc).unit;
    const std::string_view beyond = lf ? " is below " : " is above ";
    std::string text;
    text.reserve(256);
    if (conc) {
        append(text, FieldValue{Field::Concfc, in.Concfc});
        append(text, beyond);
        append(text, Shortest{lf ? kLowestAssumedFc : kHighestInventoryFc});
        append(text, " ");
        append(text, psi);
    }
    if (steel) {
        append(text, conc ? " and " : "");
        append(text, FieldValue{Field::SteelFy, in.SteelFy});
        append(text, beyond);
        append(text, Shortest{lf ? kLowestAssumedFy : kHighestInventoryFs});
        append(text, " ");
        append(text, psi);
    }
    const bool both = conc && steel;
    if (lf) {
        append(text, both ? ", the lowest strengths assumed for unknown old concrete and steel: "
                            "they look like allowable stresses typed with the "
                          : ", the lowest strength assumed for unknown old material: it looks "
                            "like an allowable stress typed with the ");
        append(text, fieldInfo(Field::ModRatio).label);
        append(text, " left blank, which selects the load factor method.");
    } else {
        append(text, both ? ", above any inventory allowable stress: they look like strengths, "
                            "which the working stress method chosen by the "
                          : ", above any inventory allowable stress: it looks like a strength, "
                            "which the working stress method chosen by the ");
        append(text, FieldValue{Field::ModRatio, in.ModRatio});
        append(text, both ? " takes as allowable stresses." : " takes as an allowable stress.");
    }
    f.add(
        lf ? findingcode::kStrengthsLookLikeAllowables : findingcode::kAllowablesLookLikeStrengths,
        Severity::Warning, std::move(text),
        {single("input/Concfc_psi", in.Concfc), single("input/SteelFy_psi", in.SteelFy)});
}

// The bars' distances from their faces, and the overlay's thickness.
void layoutFindings(const SlabInput& in, Findings& f) {
    const FieldValue h{Field::SlabThick, in.SlabThick};
    const FieldValue top{Field::StDistTop, in.StDistTop};
    const FieldValue bot{Field::StDistBot, in.StDistBot};
    const std::string_view inch = fieldInfo(Field::SlabThick).unit;
    const double topCover = static_cast<double>(in.SlabThick) - in.StDistTop;
    if (in.StDistTop < in.SlabThick && topCover < kMinFaceToBarCentreIn) {
        f.add(findingcode::kTopSteelNearFace, Severity::Warning,
              say("The top bars' centre lies ", Decimals{topCover, kTonsDecimals}, " ", inch,
                  " below the top face (the ", h, " less the ", top, "), less than ",
                  Shortest{kMinFaceToBarCentreIn}, " ", inch,
                  ": too little for a bar and the concrete cover of ", kArtCover,
                  "; check the distance."),
              {single("input/SlabThick_in", in.SlabThick),
               single("input/StDistTop_in", in.StDistTop)},
              kArtCover);
    }
    if (in.StDistBot > 0.0f && in.StDistBot < kMinFaceToBarCentreIn) {
        f.add(findingcode::kBottomSteelNearFace, Severity::Warning,
              say("The ", bot, " puts the bottom bars' centre less than ",
                  Shortest{kMinFaceToBarCentreIn}, " ", inch,
                  " above the bottom face: too little for a bar and the concrete cover of ",
                  kArtCover, "; check the distance."),
              {single("input/StDistBot_in", in.StDistBot)}, kArtCover);
    }
    const bool thick = in.Bitum > kMaxOverlayIn;
    const bool half = in.SlabThick > 0.0f && in.Bitum > kMaxOverlayShareOfSlab * in.SlabThick;
    if (thick || half) {
        f.add(findingcode::kOverlayThick, Severity::Warning,
              say(FieldValue{Field::Bitum, in.Bitum}, " is thicker than ",
                  thick && half ? say(Shortest{kMaxOverlayIn}, " ", inch, " and than half the ", h)
                  : thick       ? say(Shortest{kMaxOverlayIn}, " ", inch)
                                : say("half the ", h),
                  ": most likely another slab or a mistyped field; the overlay enters the "
                  "rating as dead load only."),
              {single("input/Bitum_in", in.Bitum), single("input/SlabThick_in", in.SlabThick)});
    }
}

// The inventory validator's safety rules, where this member's values let the program judge
// them, and a negative rating the inventory cannot hold.
void inventoryFindings(const Rating& r, Findings& f) {
    // A rating that cannot be signed goes into no inventory.
    if (!r.inventory || !r.posting || !r.governing || f.anyError()) {
        return;
    }
    const PostingDecision& d = *r.posting;
    std::optional<std::size_t> lowest;
    for (std::size_t i = 0; i < kLegalVehicleCount; ++i) {
        const bool counted = i < kFirstEmergencyVehicle || d.policy.postEmergencyVehicles;
        if (counted && (!lowest || d.vehicles[i].ratingFactor < d.vehicles[*lowest].ratingFactor)) {
            lowest = i;
        }
    }
    const VehiclePosting& low = d.vehicles[*lowest];
    if (low.ratingFactor < kFullRatingFactor) {
        f.add(findingcode::kLegalLoadBelowOne, Severity::Warning,
              say("The controlling legal-load rating factor is ", Factor{low.ratingFactor}, " (",
                  r.legalLoads->vehicles[*lowest].name,
                  "), below 1: the member must be posted or the bridge closed (the inventory's "
                  "safety rule for B.LR.07)."),
              {exact(kPostingFactor[*lowest], low.ratingFactor)});
    }
    const double op = r.governing->operating.RatingFactor;
    if (op < kClosedBelowOperatingFactor) {
        f.add(findingcode::kOperatingBelowTenth, Severity::Warning,
              say("The operating rating factor is ", Factor{op}, ", below ",
                  Shortest{kClosedBelowOperatingFactor},
                  ": the bridge must be closed (the inventory's safety rule for B.LR.06)."),
              {exact("governing/operating/ratingFactor", op)});
    }
    if (r.inventory->negativeRecordedAsZero) {
        f.add(findingcode::kRatingRecordedAsZero, Severity::Note,
              "A negative rating factor is recorded as 0.00 in the inventory items, which "
              "hold no negative rating.",
              {});
    }
}

// The modular ratio: a negative one read as blank, a working stress one far from Es / Ec.
void modularRatioFindings(const SlabInput& in, const Rating& r, Findings& f) {
    const FieldValue n{Field::ModRatio, in.ModRatio};
    if (in.ModRatio < 0.0f) {
        f.add(findingcode::kModularRatioNegative, Severity::Note,
              say("The ", n,
                  " is below 0 and is read as blank: the load factor method was chosen, with n "
                  "from f'c."),
              {single("input/ModRatio", in.ModRatio)});
    }
    if (r.modularRatioCheck &&
        std::abs(in.ModRatio - r.modularRatioCheck->n) > kModularRatioTolerance) {
        const ModularRatioCheck& c = *r.modularRatioCheck;
        f.add(
            findingcode::kModularRatioUnlikeConcrete, Severity::Warning,
            say("The ", n, " is more than ", Shortest{kModularRatioTolerance},
                " from n = ", Shortest{c.n}, ", Es / Ec = ", Decimals{c.EsOverEc, kTonsDecimals},
                " to the nearest whole number and at least ", Shortest{kMinModularRatio}, " (",
                kArtModularRatio, "), with Es = ", Shortest{kSteelModulusPsi},
                " psi and Ec = ", Shortest{kConcreteModulusFactor}, " sqrt(f'c) psi (", kArtModuli,
                ") for f'c = ", Shortest{c.fc}, " psi, the ", FieldValue{Field::Concfc, in.Concfc},
                " taken as ", Shortest{kInvConcShare}, " f'c (", kArtAllowableStresses, ")."),
            {single("input/ModRatio", in.ModRatio), exact("modularRatioCheck/n", c.n),
             exact("modularRatioCheck/esOverEc", c.EsOverEc),
             exact("modularRatioCheck/fc_psi", c.fc)},
            kArtModularRatio);
    }
}

// The yield stress cap and the minimum thickness of a load factor run.
void loadFactorInputFindings(const SlabInput& in, const Rating& r, Findings& f) {
    const std::string_view psi = fieldInfo(Field::SteelFy).unit;
    if (r.method == RatingMethod::LoadFactor && in.SteelFy > kMaxFy) {
        f.add(findingcode::kFyCapped, Severity::Note,
              say(FieldValue{Field::SteelFy, in.SteelFy}, " is above ", Shortest{kMaxFy}, " ", psi,
                  ": the load factor method rates with ", Shortest{kMaxFy}, " ", psi,
                  ", the most that ", kArtYieldLimit, " lets a design take."),
              {single("input/SteelFy_psi", in.SteelFy)}, kArtYieldLimit);
    }
    if (r.thicknessCheck && r.thicknessCheck->warning) {
        const ThicknessCheck& t = *r.thicknessCheck;
        f.add(findingcode::kThicknessBelowMinimum, Severity::Warning,
              say(FieldValue{Field::SlabThick, in.SlabThick}, ", ",
                  Significant{t.thicknessFt, kFeetDigits}, " ft, is below the minimum depth of ",
                  Significant{t.MinThickness, kFeetDigits}, " ft, (S + ",
                  Shortest{kThicknessSpanAddend}, ") / ", Shortest{kThicknessSpanDivisor},
                  " and at least ", Shortest{kMinThicknessFloor}, " ft, that ", kArtMinimumDepth,
                  " (", kArtOldMinimumDepth,
                  ") gives slabs with main reinforcement perpendicular to traffic; the report "
                  "prints its warning."),
              {single("thicknessCheck/thicknessFt", t.thicknessFt),
               single("thicknessCheck/minThickness_ft", t.MinThickness)},
              kArtMinimumDepth);
    }
}

// Each face of a load factor run against the balanced steel and the cracking moment.
void sectionFindings(const SlabInput& in, const Rating& r, Findings& f) {
    if (!r.loadFactorChecks) {
        return;
    }
    const LoadFactorChecks& c = *r.loadFactorChecks;
    struct Face {
        const FaceSteelCheck& check;
        std::string_view name, shareValue, phiMnValue, balancedCode, minimumCode;
        FieldValue area;
        std::string depth;
    };
    const Face faces[] = {
        {c.top, "top", "loadFactorChecks/top/balancedShare", "loadFactorChecks/top/phiMn_kipft",
         findingcode::kTopSteelAboveBalanced, findingcode::kTopSteelBelowMinimum,
         FieldValue{Field::StAreaTop, in.StAreaTop}, say("d = ", Shortest{in.StDistTop}, " in")},
        {c.bottom, "bottom", "loadFactorChecks/bottom/balancedShare",
         "loadFactorChecks/bottom/phiMn_kipft", findingcode::kBottomSteelAboveBalanced,
         findingcode::kBottomSteelBelowMinimum, FieldValue{Field::STAreaBot, in.STAreaBot},
         say("d = h - d' = ", Shortest{static_cast<double>(in.SlabThick) - in.StDistBot}, " in")},
    };
    // The two codes of each kind stand together, top first.
    for (const Face& face : faces) {
        if (face.check.balancedShare > kBalancedSteelShare) {
            f.add(face.balancedCode, Severity::Warning,
                  say("The ", face.name, " steel, ", face.area, " at ", face.depth,
                      ", has a steel ratio of ", Significant{face.check.steelRatio, kRatioDigits},
                      ", ", Decimals{face.check.balancedShare, kTonsDecimals},
                      " times the balanced ratio ",
                      Significant{face.check.balancedRatio, kRatioDigits}, ", above the ",
                      Shortest{kBalancedSteelShare}, " of it that ", kArtBalancedSteel,
                      " allows: the capacity takes ", Shortest{kBalancedSteelShare},
                      " of the balanced steel, but such a face fails in the concrete without "
                      "warning."),
                  {exact(face.shareValue, face.check.balancedShare)}, kArtBalancedSteel);
        }
    }
    for (const Face& face : faces) {
        if (face.check.phiMn < c.minimumCapacity) {
            f.add(
                face.minimumCode, Severity::Warning,
                say("The ", face.name, " face's capacity phiMn of ",
                    Decimals{face.check.phiMn, kTonsDecimals}, " kip-ft is below ",
                    Shortest{kMinimumSteelCrackingShare},
                    " Mcr = ", Decimals{c.minimumCapacity, kTonsDecimals},
                    " kip-ft, Mcr from the modulus of rupture ", Shortest{kModulusOfRuptureFactor},
                    " sqrt(f'c) = ", Decimals{c.modulusOfRupture, kTonsDecimals}, " psi (",
                    kArtAllowableStresses, ") over the gross strip: less steel than ",
                    kArtMinimumSteel, " asks for, so the face may fail as it cracks."),
                {exact(face.phiMnValue, face.check.phiMn),
                 exact("loadFactorChecks/minimumCapacity_kipft", c.minimumCapacity)},
                kArtMinimumSteel);
        }
    }
}

// A governing operating rating factor below zero: the dead load alone exceeds the capacity.
void deadLoadFindings(const Rating& r, Findings& f) {
    if (r.governing && r.governing->operating.RatingFactor < 0) {
        const double rf = r.governing->operating.RatingFactor;
        f.add(findingcode::kDeadLoadExceedsCapacity, Severity::Warning,
              say("The governing HS20 operating rating factor is ", Factor{rf},
                  ": the dead load alone exceeds the capacity: close."),
              {exact("governing/operating/ratingFactor", rf)});
    }
}

// Each governing legal truck that rates below its gross weight.
void legalTruckFindings(const Rating& r, Findings& f) {
    if (!r.governing || !r.governing->legalTrucks) {
        return;
    }
    const LegalTruckRatings& legal = *r.governing->legalTrucks;
    for (std::size_t i = 0; i < legal.trucks.size(); ++i) {
        const LegalTruck& truck = legal.trucks[i];
        if (truck.belowGrossWeight) {
            f.add(findingcode::kBelowLegalWeight, Severity::Warning,
                  say("Legal truck ", truck.type, " rates ", Tons{truck.RatingTons},
                      " tons, below its gross weight of ", Shortest{truck.grossTons},
                      " tons: ", PostingWords{r.posting ? &*r.posting : nullptr, i}, "."),
                  {exact(kTruckTons[i], truck.RatingTons), exact(kTruckGross[i], truck.grossTons)});
        }
    }
}

// A working stress rating whose operating level rates below its inventory level.
void operatingBelowInventoryFindings(const Rating& r, Findings& f) {
    if (!r.governing || r.method != RatingMethod::WorkingStress ||
        !(r.governing->operating.RatingTons < r.governing->inventory.RatingTons)) {
        return;
    }
    const GoverningRating& g = *r.governing;
    const SlabInput& in = *r.input;
    const OperatingAllowables& oper = *r.operatingAllowables;
    f.add(findingcode::kOperatingBelowInventory, Severity::Warning,
          say("The governing operating rating of ", Tons{g.operating.RatingTons},
              " tons is below the inventory rating of ", Tons{g.inventory.RatingTons},
              " tons: the operating allowables, ", Shortest{oper.OperConcStress}, " and ",
              Shortest{oper.OperSteelStress}, " psi, should exceed the inventory ones, the ",
              FieldValue{Field::Concfc, in.Concfc}, " and the ",
              FieldValue{Field::SteelFy, in.SteelFy},
              "; strengths typed as allowable stresses give this."),
          {exact("governing/operating/ratingTons", g.operating.RatingTons),
           exact("governing/inventory/ratingTons", g.inventory.RatingTons)});
}

// The midspan section of a working stress run: rating lower than the section over the
// girders, or not analysed at all.
void midspanFindings(const Rating& r, Findings& f) {
    if (r.midspan && r.hs20) {
        const MidspanSection& m = *r.midspan;
        const Hs20Rating& rated = *r.hs20;
        if (m.inventory.RatingTons < rated.inventory.RatingTons ||
            m.operating.RatingTons < rated.operating.RatingTons) {
            f.add(findingcode::kMidspanSectionLower, Severity::Warning,
                  say("The midspan section, with the bottom steel in tension, rates ",
                      Tons{m.inventory.RatingTons}, " tons at inventory and ",
                      Tons{m.operating.RatingTons}, " tons at operating, against ",
                      Tons{rated.inventory.RatingTons}, " and ", Tons{rated.operating.RatingTons},
                      " tons for the section over the girders that the report rates: the "
                      "midspan section governs where it rates lower, and the report's rating is "
                      "too high there."),
                  {exact("midspan/inventory/ratingTons", m.inventory.RatingTons),
                   exact("midspan/operating/ratingTons", m.operating.RatingTons),
                   exact("hs20/inventory/ratingTons", rated.inventory.RatingTons),
                   exact("hs20/operating/ratingTons", rated.operating.RatingTons)});
        }
    }
    if (r.midspanNotAnalysed && r.input) {
        const SlabInput& in = *r.input;
        f.add(
            findingcode::kMidspanNotAnalysed, Severity::Note,
            "The midspan section, with the bottom steel in tension, cannot be analysed with "
            "these steel distances (its compression steel is not between the top face and its "
            "tension steel): only the section over the girders is rated.",
            {single("input/SlabThick_in", in.SlabThick), single("input/StDistTop_in", in.StDistTop),
             single("input/StDistBot_in", in.StDistBot)});
    }
}

// The findings of the governing rating: the section that rates lowest.
void ratingFindings(const Rating& r, Findings& f) {
    deadLoadFindings(r, f);
    legalTruckFindings(r, f);
    operatingBelowInventoryFindings(r, f);
    midspanFindings(r, f);
    inventoryFindings(r, f);
}

}  // namespace

std::string_view severityName(Severity severity) {
    switch (severity) {
        case Severity::Error:
            return "error";
        case Severity::Warning:
            return "warning";
        case Severity::Note:
            return "note";
    }
    return "note";
}

std::vector<Finding> reviewFindings(const SlabFields& fields, const Rating& rating) {
    std::vector<Finding> out;
    Findings f(out);
    if (!rating.input) {
        return out;
    }
    const SlabInput& in = *rating.input;
    inputFindings(in, f);
    layoutFindings(in, f);
    if (rating.method) {
        strengthFindings(in, *rating.method, f);
    }
    modularRatioFindings(in, rating, f);
    loadFactorInputFindings(in, rating, f);
    sectionFindings(in, rating, f);
    if (!isListed(fields.LoadType)) {
        f.add(findingcode::kNoLoadType, Severity::Note,
              "No load type was chosen, so the legal trucks are those of the Interstate series.",
              {});
    }
    ratingFindings(rating, f);
    return out;
}

}  // namespace slabrating
