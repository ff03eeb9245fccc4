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
constexpr std::array<std::string_view, 3> kTruckTons{"legalTrucks/trucks/0/ratingTons",
                                                     "legalTrucks/trucks/1/ratingTons",
                                                     "legalTrucks/trucks/2/ratingTons"};
constexpr std::array<std::string_view, 3> kTruckGross{"legalTrucks/trucks/0/grossTons",
                                                      "legalTrucks/trucks/1/grossTons",
                                                      "legalTrucks/trucks/2/grossTons"};

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

void ratingFindings(const Rating& r, Findings& f) {
    if (r.hs20 && r.hs20->operating.RatingFactor < 0) {
        const double rf = r.hs20->operating.RatingFactor;
        f.add(findingcode::kDeadLoadExceedsCapacity, Severity::Warning,
              say("The HS20 operating rating factor is ", Factor{rf},
                  ": the dead load alone exceeds the capacity; review the bridge for closing."),
              {exact("hs20/operating/ratingFactor", rf)});
    }
    if (r.legalTrucks) {
        for (std::size_t i = 0; i < r.legalTrucks->trucks.size(); ++i) {
            const LegalTruck& truck = r.legalTrucks->trucks[i];
            if (truck.belowGrossWeight) {
                f.add(findingcode::kBelowLegalWeight, Severity::Warning,
                      say("Legal truck ", truck.type, " rates ", Tons{truck.RatingTons},
                          " tons, below its gross weight of ", Shortest{truck.grossTons},
                          " tons: review for posting."),
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
    if (!isListed(fields.LoadType)) {
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
