#include "engine/findings.h"

#include <algorithm>
#include <array>
#include <initializer_list>

#include "engine/field_table.h"
#include "engine/format.h"

namespace slabrating {

using namespace rules;

namespace {

constexpr int kTonsDecimals = 2;    // tons as the report prints them
constexpr int kFactorDecimals = 3;  // a rating factor

// The values a finding is about, named by their place in the JSON result below /rating.
constexpr std::array<std::string_view, 3> kTruckTons{"legalTrucks/trucks/0/RatingTons_tons",
                                                     "legalTrucks/trucks/1/RatingTons_tons",
                                                     "legalTrucks/trucks/2/RatingTons_tons"};
constexpr std::array<std::string_view, 3> kTruckGross{"legalTrucks/trucks/0/grossTons_tons",
                                                      "legalTrucks/trucks/1/grossTons_tons",
                                                      "legalTrucks/trucks/2/grossTons_tons"};

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
             std::initializer_list<FindingValue> values) {
        m_out.push_back({code, severity, std::move(message), values});
    }

private:
    std::vector<Finding>& m_out;
};

void inputFindings(const SlabInput& in, Findings& f) {
    const FieldValue h{Field::SlabThick, in.SlabThick};
    if (!(in.SlabThick > 0.0f)) {
        f.add(findingcode::kSlabNotPositive, Severity::Warning,
              say(h,
                  " is not greater than 0: the dead load and the depths of the section are "
                  "not those of a slab."),
              {single("input/SlabThick_in", in.SlabThick)});
    }
    if (in.Bitum < 0.0f) {
        f.add(findingcode::kOverlayNegative, Severity::Warning,
              say(FieldValue{Field::Bitum, in.Bitum},
                  " is below 0: a negative overlay lowers the dead load and raises the rating."),
              {single("input/Bitum_in", in.Bitum)});
    }
    if (in.StDistTop >= in.SlabThick) {
        f.add(findingcode::kTopSteelOutside, Severity::Warning,
              say(FieldValue{Field::StDistTop, in.StDistTop}, " is not less than the ", h,
                  ": the top steel lies outside the slab."),
              {single("input/StDistTop_in", in.StDistTop),
               single("input/SlabThick_in", in.SlabThick)});
    }
    if (in.StDistBot >= in.SlabThick) {
        f.add(findingcode::kBottomSteelOutside, Severity::Warning,
              say(FieldValue{Field::StDistBot, in.StDistBot}, " is not less than the ", h,
                  ": the bottom steel lies outside the slab."),
              {single("input/StDistBot_in", in.StDistBot),
               single("input/SlabThick_in", in.SlabThick)});
    }
    if (in.StDistTop <= in.StDistBot) {
        f.add(findingcode::kLayersCrossed, Severity::Warning,
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

void methodFindings(const SlabInput& in, RatingMethod method, Findings& f) {
    strengthFindings(in, method, f);
    if (method == RatingMethod::LoadFactor && in.SteelFy > kMaxFy) {
        const std::string_view psi = fieldInfo(Field::SteelFy).unit;
        f.add(findingcode::kFyCapped, Severity::Note,
              say(FieldValue{Field::SteelFy, in.SteelFy}, " is above ", Shortest{kMaxFy}, " ", psi,
                  ": the load factor method rates with ", Shortest{kMaxFy}, " ", psi, "."),
              {single("input/SteelFy_psi", in.SteelFy)});
    }
}

// The inventory validator's safety rules, where this member's values let the program judge
// them, and a negative rating the inventory cannot hold.
void inventoryFindings(const Rating& r, Findings& f) {
    if (!r.inventory || !r.posting || !r.hs20) {
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
    const double op = r.hs20->operating.RatingFactor;
    if (op < kClosedBelowOperatingFactor) {
        f.add(findingcode::kOperatingBelowTenth, Severity::Warning,
              say("The operating rating factor is ", Factor{op}, ", below ",
                  Shortest{kClosedBelowOperatingFactor},
                  ": the bridge must be closed (the inventory's safety rule for B.LR.06)."),
              {exact("hs20/operating/RatingFactor", op)});
    }
    if (r.inventory->negativeRecordedAsZero) {
        f.add(findingcode::kRatingRecordedAsZero, Severity::Note,
              "A negative rating factor is recorded as 0.00 in the inventory items, which "
              "hold no negative rating.",
              {});
    }
}

void ratingFindings(const Rating& r, Findings& f) {
    if (r.hs20 && r.hs20->operating.RatingFactor < 0) {
        const double rf = r.hs20->operating.RatingFactor;
        f.add(findingcode::kDeadLoadExceedsCapacity, Severity::Warning,
              say("The HS20 operating rating factor is ", Factor{rf},
                  ": the dead load alone exceeds the capacity: close."),
              {exact("hs20/operating/RatingFactor", rf)});
    }
    if (r.legalTrucks) {
        for (std::size_t i = 0; i < r.legalTrucks->trucks.size(); ++i) {
            const LegalTruck& truck = r.legalTrucks->trucks[i];
            if (truck.belowGrossWeight) {
                f.add(findingcode::kBelowLegalWeight, Severity::Warning,
                      say("Legal truck ", truck.type, " rates ", Tons{truck.RatingTons},
                          " tons, below its gross weight of ", Shortest{truck.grossTons},
                          " tons: ", PostingWords{r.posting ? &*r.posting : nullptr, i}, "."),
                      {exact(kTruckTons[i], truck.RatingTons),
                       exact(kTruckGross[i], truck.grossTons)});
            }
        }
    }
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
                      "report's rating may be too high."),
                  {exact("midspan/inventory/RatingTons_tons", m.inventory.RatingTons),
                   exact("midspan/operating/RatingTons_tons", m.operating.RatingTons),
                   exact("hs20/inventory/RatingTons_tons", rated.inventory.RatingTons),
                   exact("hs20/operating/RatingTons_tons", rated.operating.RatingTons)});
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
    inventoryFindings(r, f);
}

}  // namespace

std::string_view severityName(Severity severity) {
    return severity == Severity::Warning ? "warning" : "note";
}

std::vector<Finding> reviewFindings(const SlabFields& fields, const Rating& rating) {
    std::vector<Finding> out;
    Findings f(out);
    if (!rating.input) {
        return out;
    }
    const SlabInput& in = *rating.input;
    inputFindings(in, f);
    if (rating.method) {
        methodFindings(in, *rating.method, f);
    }
    if (fields.LoadType != StateTrucks && fields.LoadType != Interstate) {
        f.add(findingcode::kNoLoadType, Severity::Note,
              "No load type was chosen, so the legal trucks are those of the Interstate series.",
              {});
    }
    ratingFindings(rating, f);
    return out;
}

bool needsPostingReview(const std::vector<Finding>& findings) {
    return std::any_of(findings.begin(), findings.end(), [](const Finding& f) {
        return f.code == findingcode::kBelowLegalWeight ||
               f.code == findingcode::kDeadLoadExceedsCapacity;
    });
}

}  // namespace slabrating
