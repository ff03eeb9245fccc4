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

FindingValue single(std::string_view name, float value) {
    return {name, value, true};
}
FindingValue exact(std::string_view name, double value) {
    return {name, value, false};
}

std::string label(Field field) {
    return std::string(fieldInfo(field).label);
}

// "Steel Fy of 20000 psi": a field's label and its value as the run holds it, with its unit.
std::string fieldValue(Field field, float value) {
    std::string text = label(field) + " of " + shortestText(value);
    if (!fieldInfo(field).unit.empty()) {
        text += ' ';
        text += fieldInfo(field).unit;
    }
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
    const std::string h = fieldValue(Field::SlabThick, in.SlabThick);
    if (!(in.SlabThick > 0.0f)) {
        f.add(findingcode::kSlabNotPositive, Severity::Warning,
              h + " is not greater than 0: the dead load and the depths of the section are not "
                  "those of a slab.",
              {single("input/SlabThick_in", in.SlabThick)});
    }
    if (in.Bitum < 0.0f) {
        f.add(findingcode::kOverlayNegative, Severity::Warning,
              fieldValue(Field::Bitum, in.Bitum) +
                  " is below 0: a negative overlay lowers the dead load and raises the rating.",
              {single("input/Bitum_in", in.Bitum)});
    }
    const std::string slab = "the " + label(Field::SlabThick) + " of " +
                             shortestText(in.SlabThick) + " " +
                             std::string(fieldInfo(Field::SlabThick).unit);
    if (in.StDistTop >= in.SlabThick) {
        f.add(findingcode::kTopSteelOutside, Severity::Warning,
              fieldValue(Field::StDistTop, in.StDistTop) + " is not less than " + slab +
                  ": the top steel lies outside the slab.",
              {single("input/StDistTop_in", in.StDistTop),
               single("input/SlabThick_in", in.SlabThick)});
    }
    if (in.StDistBot >= in.SlabThick) {
        f.add(findingcode::kBottomSteelOutside, Severity::Warning,
              fieldValue(Field::StDistBot, in.StDistBot) + " is not less than " + slab +
                  ": the bottom steel lies outside the slab.",
              {single("input/StDistBot_in", in.StDistBot),
               single("input/SlabThick_in", in.SlabThick)});
    }
    if (in.StDistTop <= in.StDistBot) {
        f.add(findingcode::kLayersCrossed, Severity::Warning,
              fieldValue(Field::StDistTop, in.StDistTop) + " is not above the " +
                  fieldValue(Field::StDistBot, in.StDistBot) +
                  ": the top and the bottom steel are crossed.",
              {single("input/StDistTop_in", in.StDistTop),
               single("input/StDistBot_in", in.StDistBot)});
    }
}

// "Concrete Fc of 1200 psi is below 2500 psi and Steel Fy of ...": the parts that hold.
std::string joined(const std::vector<std::string>& parts) {
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        text += i == 0 ? "" : " and ";
        text += parts[i];
    }
    return text;
}

void methodFindings(const SlabInput& in, RatingMethod method, Findings& f) {
    const std::string psi(fieldInfo(Field::Concfc).unit);
    std::vector<std::string> parts;
    if (method == RatingMethod::LoadFactor) {
        if (in.Concfc < kLowestAssumedFc) {
            parts.push_back(fieldValue(Field::Concfc, in.Concfc) + " is below " +
                            shortestText(kLowestAssumedFc) + " " + psi);
        }
        if (in.SteelFy < kLowestAssumedFy) {
            parts.push_back(fieldValue(Field::SteelFy, in.SteelFy) + " is below " +
                            shortestText(kLowestAssumedFy) + " " + psi);
        }
        if (!parts.empty()) {
            const bool both = parts.size() > 1;
            f.add(findingcode::kStrengthsLookLikeAllowables, Severity::Warning,
                  joined(parts) +
                      (both ? ", the lowest strengths assumed for unknown old concrete and steel: "
                              "they look like allowable stresses typed with the "
                            : ", the lowest strength assumed for unknown old material: it looks "
                              "like an allowable stress typed with the ") +
                      label(Field::ModRatio) + " left blank, which selects the load factor method.",
                  {single("input/Concfc_psi", in.Concfc), single("input/SteelFy_psi", in.SteelFy)});
        }
        if (in.SteelFy > kMaxFy) {
            f.add(findingcode::kFyCapped, Severity::Note,
                  fieldValue(Field::SteelFy, in.SteelFy) + " is above " + shortestText(kMaxFy) +
                      " " + psi + ": the load factor method rates with " + shortestText(kMaxFy) +
                      " " + psi + ".",
                  {single("input/SteelFy_psi", in.SteelFy)});
        }
        return;
    }
    if (in.Concfc > kHighestInventoryFc) {
        parts.push_back(fieldValue(Field::Concfc, in.Concfc) + " is above " +
                        shortestText(kHighestInventoryFc) + " " + psi);
    }
    if (in.SteelFy > kHighestInventoryFs) {
        parts.push_back(fieldValue(Field::SteelFy, in.SteelFy) + " is above " +
                        shortestText(kHighestInventoryFs) + " " + psi);
    }
    if (!parts.empty()) {
        const bool both = parts.size() > 1;
        f.add(findingcode::kAllowablesLookLikeStrengths, Severity::Warning,
              joined(parts) + ", above any inventory allowable stress: " +
                  (both ? "they look like strengths, which the"
                        : "it looks like a strength, which the") +
                  " working stress method chosen by the " +
                  fieldValue(Field::ModRatio, in.ModRatio) +
                  (both ? " takes as allowable stresses." : " takes as an allowable stress."),
              {single("input/Concfc_psi", in.Concfc), single("input/SteelFy_psi", in.SteelFy)});
    }
}

void ratingFindings(const Rating& r, Findings& f) {
    if (r.hs20 && r.hs20->operating.RatingFactor < 0) {
        const double rf = r.hs20->operating.RatingFactor;
        f.add(findingcode::kDeadLoadExceedsCapacity, Severity::Warning,
              "The HS20 operating rating factor is " + formatMask(rf, kFactorDecimals) +
                  ": the dead load alone exceeds the capacity; review the bridge for closing.",
              {exact("hs20/operating/RatingFactor", rf)});
    }
    if (r.legalTrucks) {
        for (std::size_t i = 0; i < r.legalTrucks->trucks.size(); ++i) {
            const LegalTruck& truck = r.legalTrucks->trucks[i];
            if (truck.belowGrossWeight) {
                f.add(findingcode::kBelowLegalWeight, Severity::Warning,
                      "Legal truck " + std::string(truck.type) + " rates " +
                          formatMask(truck.RatingTons, kTonsDecimals) +
                          " tons, below its gross weight of " + shortestText(truck.grossTons) +
                          " tons: review for posting.",
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
                  "The midspan section, with the bottom steel in tension, rates " +
                      formatMask(m.inventory.RatingTons, kTonsDecimals) +
                      " tons at inventory and " +
                      formatMask(m.operating.RatingTons, kTonsDecimals) +
                      " tons at operating, against " +
                      formatMask(rated.inventory.RatingTons, kTonsDecimals) + " and " +
                      formatMask(rated.operating.RatingTons, kTonsDecimals) +
                      " tons for the section over the girders that the report rates: the "
                      "report's rating may be too high.",
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
