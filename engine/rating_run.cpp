#include "engine/rating_run.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "engine/checked.h"
#include "engine/field_table.h"
#include "engine/format.h"
#include "engine/load_factor.h"
#include "engine/moments.h"
#include "engine/numeric.h"
#include "engine/ratings.h"
#include "engine/report_layout.h"
#include "engine/review_checks.h"
#include "engine/working_stress.h"

namespace slabrating {

namespace {

using namespace rules;

constexpr std::string_view kReenterData = "  Please reenter data.";

// Room for the longest report (about 1.8 KB), written without growing the text.
constexpr std::size_t kReportCapacity = 2048;

// The range checks; the message names the last that fails.
std::optional<std::string_view> rangeFailure(const SlabInput& in) {
    std::optional<std::string_view> text;
    for (const RangeCheck& check : kRangeChecks) {
        if (!check.holds(in.*fieldInfo(check.field).heldNumber)) {
            text = check.message;
        }
    }
    return text;
}

// A text beyond the single range overflows at its conversion.
float checkedSingle(float value) {
    if (std::isinf(value)) {
        throw ArithmeticFault{};
    }
    return value;
}

// The fields as the run holds them, or the message of the first number, in the table's
// order, that is not numeric.
std::optional<std::string_view> readInput(const SlabFields& fields, SlabInput& in) {
    for (const FieldInfo& field : kFields) {
        if (field.notNumericMessage.empty()) {
            continue;
        }
        const std::optional<float> value = singleValue(fields.*field.text);
        if (!value) {
            return field.notNumericMessage;
        }
        in.*field.heldNumber = checkedSingle(*value);
    }
    // A modular ratio that is not numeric counts as 0, without a message.
    if (const std::optional<float> n = singleValue(fields.ModRatio)) {
        in.ModRatio = checkedSingle(*n);
    }
    for (const FieldInfo& field : kFields) {
        if (field.kind == FieldKind::Text) {
            in.*field.heldText = fixedLength(fields.*field.text, field.columns.width);
        }
    }
    in.LoadType = fields.LoadType;
    return std::nullopt;
}

// The modular ratio and the inventory allowable stresses (psi) the section is analysed with.
struct SectionAllowables {
    float n;
    float InvConcStress;
    float InvSteelStress;
};

// A load factor run derives the section's allowables and modular ratio from f'c and Fy, and
// reaches the ultimate capacity.
SectionAllowables rateLoadFactorSection(const SlabInput& in, Rating& r) {
    const LoadFactorInput& lf = r.loadFactorInput.emplace(
        LoadFactorInput{in.EffSpan, in.SlabThick, in.StAreaTop, in.StDistTop, in.STAreaBot,
                        in.StDistBot, in.Concfc, in.SteelFy > kMaxFy ? kMaxFy : in.SteelFy});
    const AllowableStresses& allowables =
        r.inventoryAllowables.emplace(inventoryAllowables(lf.fc, lf.fy));
    r.thicknessCheck = minimumThicknessCheck(lf.span, lf.thickness);
    const float n = r.derivedModularRatio.emplace(derivedModularRatio(lf.fc));
    r.ultimateCapacity = ultimateCapacity(lf);
    return {n, allowables.InvConcStress, allowables.InvSteelStress};
}

// The section's working stress passes at both levels, the strip's moments and the working
// stress ratings they give.
void rateWorkingStress(const SlabInput& in, const SectionAllowables& section, Rating& r) {
    const OperatingAllowables& oper = r.operatingAllowables.emplace(
        operatingAllowables(section.InvConcStress, section.InvSteelStress));
    WorkingStressAnalysis analysis(r.sectionInput.emplace(WorkingStressInput{
        section.n, section.InvConcStress, section.InvSteelStress, oper.OperConcStress,
        oper.OperSteelStress, in.StAreaTop, in.StDistTop, in.STAreaBot, in.StDistBot}));
    const InventoryPass& inv = r.inventoryPass.emplace(analysis.inventoryPass());
    const Moments& moments =
        r.moments.emplace(stripMoments(in.EffSpan, in.SlabThick, in.Bitum, in.LoadType));
    r.workingStressInventory.emplace(
        workingStressRating(inv.ResistingMoment, moments.M_DL, moments.M_LL));
    const OperatingPass& op = r.operatingPass.emplace(analysis.operatingPass());
    r.workingStressOperating.emplace(
        workingStressRating(op.ResistingMoment, moments.M_DL, moments.M_LL));
    r.reportMoments.emplace(reportMoments(moments));
}

// The HS20 table of a working stress run: the passes' stresses and the working stress ratings.
Hs20Rating workingStressTable(const Rating& r) {
    const InventoryPass& inv = *r.inventoryPass;
    const OperatingPass& op = *r.operatingPass;
    const LevelRating& wsInv = *r.workingStressInventory;
    const LevelRating& wsOp = *r.workingStressOperating;
    return {{inv.ConcreteStress, inv.SteelStress, inv.CompSteelStress, wsInv.MemberCapacity,
             wsInv.LiveLoadCapacity, wsInv.ratingFactor, wsInv.RatingTons},
            {op.ConcreteStress, op.SteelStress, op.CompSteelStress, wsOp.MemberCapacity,
             wsOp.LiveLoadCapacity, wsOp.ratingFactor, wsOp.RatingTons}};
}

// The HS20 table of a load factor run: the load factor ratings, beside the passes' stresses
// scaled to them.
Hs20Rating loadFactorTable(Rating& r) {
    const InventoryPass& inv = *r.inventoryPass;
    const OperatingPass& op = *r.operatingPass;
    const ReportMoments& kipFt = *r.reportMoments;
    const LoadFactorRating& lf = r.loadFactorRating.emplace(loadFactorRating(
        r.ultimateCapacity->UltimateCapacity, kipFt.DeadLoadMoment, kipFt.LiveLoadMoment));
    StressScales scales{};
    scales.StressScaleOper =
        stressScale(kOperatingShare, lf.RatingFactor, r.workingStressOperating->RatingTons,
                    kipFt.DeadLoadMoment, kipFt.LiveLoadMoment);
    scales.StressScaleInv =
        stressScale(kInventoryShare, lf.RatingFactor, r.workingStressInventory->RatingTons,
                    kipFt.DeadLoadMoment, kipFt.LiveLoadMoment);
    r.stressScales = scales;
    // The scaled stresses keep the precision of the pass values they scale.
    return {{toSingle(Real(inv.ConcreteStress) * scales.StressScaleInv),
             toSingle(Real(inv.SteelStress) * scales.StressScaleInv),
             toSingle(Real(inv.CompSteelStress) * scales.StressScaleInv), lf.MemberCapacity,
             lf.LiveLoadCapacity, lf.inventoryRatingFactor, lf.inventoryTons},
            {(Real(op.ConcreteStress) * scales.StressScaleOper).value(),
             toSingle(Real(op.SteelStress) * scales.StressScaleOper),
             (Real(op.CompSteelStress) * scales.StressScaleOper).value(), lf.MemberCapacity,
             lf.LiveLoadCapacity, lf.RatingFactor, lf.operatingTons}};
}

// The rating: each quantity enters `r` as soon as it is formed, so that a run stopped by
// an arithmetic fault keeps what it reached.
void rate(const SlabInput& in, Rating& r) {
    const bool loadFactor = !(in.ModRatio > 0.0f);
    r.method = loadFactor ? RatingMethod::LoadFactor : RatingMethod::WorkingStress;
    // A working stress run analyses the section with the entered allowables and modular
    // ratio.
    const SectionAllowables section = loadFactor
                                          ? rateLoadFactorSection(in, r)
                                          : SectionAllowables{in.ModRatio, in.Concfc, in.SteelFy};
    rateWorkingStress(in, section, r);
    const Hs20Operating& operating =
        r.hs20.emplace(loadFactor ? loadFactorTable(r) : workingStressTable(r)).operating;
    if (operating.RatingTons >= kHs20Tons) {
        return;
    }
    r.legalTrucks = legalTruckRatings(operating.RatingFactor, in.LoadType, *r.moments);
}

// The midspan section of a complete working stress run: the same analysis with the section
// turned over, the bottom steel in tension at d = h - d' and the top steel in compression at
// h - d,top, beside the report. A section without its compression steel between the
// compression face and the tension steel, or whose arithmetic faults, is not analysed.
void rateMidspan(const SlabInput& in, Rating& r) {
    try {
        WorkingStressInput turned = *r.sectionInput;
        turned.areaTop = in.STAreaBot;
        turned.d = toSingle(Real(in.SlabThick) - in.StDistBot);
        turned.areaBot = in.StAreaTop;
        turned.dPrime = toSingle(Real(in.SlabThick) - in.StDistTop);
        if (!(turned.dPrime > 0.0f && turned.d > turned.dPrime)) {
            r.midspanNotAnalysed = true;
            return;
        }
        WorkingStressAnalysis analysis(turned);
        const Moments& moments = *r.moments;
        MidspanSection m{};
        m.sectionInput = turned;
        m.inventoryPass = analysis.inventoryPass();
        m.inventory =
            workingStressRating(m.inventoryPass.ResistingMoment, moments.M_DL, moments.M_LL);
        m.operatingPass = analysis.operatingPass();
        m.operating =
            workingStressRating(m.operatingPass.ResistingMoment, moments.M_DL, moments.M_LL);
        r.midspan = m;
    } catch (const ArithmeticFault&) {
        r.midspanNotAnalysed = true;
    }
}

// The legal loads, the posting decision and the inventory items of a complete run, from
// its governing rating. Formed from finite ratings with plain arithmetic: nothing here can stop the
// run.
void decide(const RunSettings& settings, Rating& r) {
    const GoverningRating& g = *r.governing;
    const PostingBasis basis{g.inventory.RatingFactor, g.operating.RatingFactor,
                             seriesOf(r.input->LoadType), *r.method};
    const LegalLoadRatings& loads = r.legalLoads.emplace(legalLoadRatings(basis));
    const PostingDecision& decision = r.posting.emplace(postingDecision(loads, settings.policy));
    r.inventory = inventoryItems(basis, loads, decision, settings.ratingDate);
}

// A complete run is rated unless a finding says its inputs cannot describe a slab.
RatingStatus ratingStatus(RunOutcome outcome, const std::vector<Finding>& findings) {
    if (outcome != RunOutcome::Complete) {
        return RatingStatus::Stopped;
    }
    const bool error = std::any_of(findings.begin(), findings.end(),
                                   [](const Finding& f) { return f.severity == Severity::Error; });
    return error ? RatingStatus::Withheld : RatingStatus::Rated;
}

}  // namespace

RatingResult RunRating(const SlabFields& fields, std::string_view date) {
    return RunRating(fields, date, RunSettings{});
}

RatingResult RunRating(const SlabFields& fields, std::string_view date,
                       const RunSettings& settings) {
    RatingResult result;
    Rating& rating = result.rating;
    rating.date = date;
    try {
        SlabInput in;
        if (const auto notNumeric = readInput(fields, in)) {
            result.outcome = RunOutcome::NotNumeric;
            result.message = *notNumeric;
        } else {
            const SlabInput& held = rating.input.emplace(std::move(in));
            if (const auto failure = rangeFailure(held)) {
                result.outcome = RunOutcome::RangeFailure;
                result.message = std::string(*failure) + std::string(kReenterData);
            } else {
                rate(held, rating);
                if (rating.method == RatingMethod::WorkingStress) {
                    rateMidspan(held, rating);
                }
                rating.governing = governingRating(rating);
                if (rating.ultimateCapacity) {
                    rating.loadFactorChecks =
                        loadFactorChecks(*rating.loadFactorInput, *rating.ultimateCapacity);
                } else {
                    rating.modularRatioCheck = modularRatioCheck(held.Concfc);
                }
            }
        }
    } catch (const ArithmeticFault&) {
        result.outcome = RunOutcome::ArithmeticFault;
        result.message = kArithmeticFaultMessage;
    }
    if (result.outcome == RunOutcome::Complete && rating.governing) {
        decide(settings, rating);
    }
    result.ErrorFlag = result.outcome == RunOutcome::NotNumeric ? 1 : 0;
    result.report.reserve(kReportCapacity);
    writeReport(rating, result.report);
    result.findings = reviewFindings(fields, rating);
    rating.status = ratingStatus(result.outcome, result.findings);
    // A rating that cannot be signed decides no posting and fills no inventory item.
    if (rating.status == RatingStatus::Withheld) {
        rating.posting.reset();
        rating.inventory.reset();
    }
    return result;
}

std::string savedReportBytes(std::string_view report) {
    std::string bytes;
    bytes.reserve(report.size() + 2);
    bytes += report;
    bytes += "\r\n";
    return bytes;
}

}  // namespace slabrating
