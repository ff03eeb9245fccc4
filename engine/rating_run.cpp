#include "engine/rating_run.h"

#include <array>
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
#include "engine/working_stress.h"

namespace slabrating {

namespace {

// The range checks; the message names the last condition that fails.
std::optional<std::string_view> rangeFailure(const SlabInput& in) {
    std::optional<std::string_view> text;
    if (!(in.StDistTop >= 0.1f)) {
        text = " Error: Slab thickness less than .1";
    }
    if (!(in.StAreaTop >= 0.1f)) {
        text = " Error: Area of steel less than .1";
    }
    if (!(in.StDistBot >= 0.1f)) {
        text = " Error: Extreme fiber to bottom reinforcement distance less than .1";
    }
    if (!(in.STAreaBot >= 0.1f)) {
        text = " Error: Area of bottom reinforcement less than .1";
    }
    if (!(in.EffSpan >= 2.0f)) {
        text = " Error: Span length less than 2.";
    }
    if (!(in.EffSpan <= 24.0f)) {
        text = " Error: Span length greater than 24.";
    }
    return text;
}

class Run {
public:
    Run(const SlabFields& fields, std::string_view date, RatingResult& result)
        : m_fields(fields), m_date(date), m_result(result), m_report(result.report) {}

    void execute();

private:
    bool readNumericFields();
    void loadFactorPart();
    void analyseAndRate();

    const SlabFields& m_fields;
    std::string_view m_date;
    RatingResult& m_result;
    ReportWriter m_report;
    SlabInput m_in{};
    bool m_loadFactor = false;
    float m_enteredFc = 0;         // f'c as entered (psi)
    float m_InvConcStress = 0;     // psi
    float m_InvSteelStress = 0;    // psi
    float m_UltimateCapacity = 0;  // lb-ft
};

// A text beyond the single range overflows at its conversion.
float checkedSingle(float value) {
    if (std::isinf(value)) {
        throw ArithmeticFault{};
    }
    return value;
}

bool Run::readNumericFields() {
    for (const FieldInfo& field : kFields) {
        if (field.notNumericMessage.empty()) {
            continue;
        }
        const auto value = singleValue(m_fields.*field.text);
        if (!value) {
            m_result.ErrorFlag = 1;
            m_result.outcome = RunOutcome::NotNumeric;
            m_result.message = field.notNumericMessage;
            return false;
        }
        m_in.*field.heldNumber = checkedSingle(*value);
    }
    // A modular ratio that is not numeric counts as 0, without a message.
    if (const auto n = singleValue(m_fields.ModRatio)) {
        m_in.ModRatio = checkedSingle(*n);
    }
    for (const FieldInfo& field : kFields) {
        if (field.kind == FieldKind::Text) {
            m_in.*field.heldText = fixedLength(m_fields.*field.text, field.columns.width);
        }
    }
    m_in.LoadType = m_fields.LoadType;
    return true;
}

void Run::execute() {
    if (!readNumericFields()) {
        return;
    }
    m_report.header(m_date, {m_in.StructNo, m_in.Rater, m_in.Hwy, m_in.BatchID, m_in.Comments});

    if (const auto failure = rangeFailure(m_in)) {
        m_result.outcome = RunOutcome::RangeFailure;
        m_result.message = std::string(*failure) + "  Please reenter data.";
        return;
    }

    m_loadFactor = !(m_in.ModRatio > 0.0f);
    if (m_loadFactor) {
        loadFactorPart();
    } else {
        m_InvConcStress = m_in.Concfc;
        m_InvSteelStress = m_in.SteelFy;
    }
    analyseAndRate();
}

void Run::loadFactorPart() {
    if (m_in.SteelFy > 60000.0f) {
        m_in.SteelFy = 60000.0f;
    }
    m_enteredFc = m_in.Concfc;
    const AllowableStresses allowables = inventoryAllowables(m_in.Concfc, m_in.SteelFy);
    m_InvConcStress = allowables.InvConcStress;
    m_InvSteelStress = allowables.InvSteelStress;
    m_report.loadFactorBanner();
    if (violatesMinimumThickness(m_in.EffSpan, m_in.SlabThick)) {
        m_report.thicknessWarning();
    }
    m_in.ModRatio = derivedModularRatio(m_enteredFc);
    m_report.loadFactorEcho({m_in.Bitum, m_in.EffSpan, m_in.SlabThick, m_in.StAreaTop,
                             m_in.StDistTop, m_in.STAreaBot, m_in.StDistBot, m_enteredFc,
                             m_enteredFc, m_in.SteelFy, m_in.SteelFy, m_in.ModRatio});
    m_UltimateCapacity =
        ultimateCapacity({m_in.EffSpan, m_in.SlabThick, m_in.StAreaTop, m_in.StDistTop,
                          m_in.STAreaBot, m_in.StDistBot, m_enteredFc, m_in.SteelFy})
            .UltimateCapacity;
}

void Run::analyseAndRate() {
    const OperatingAllowables oper = operatingAllowables(m_InvConcStress, m_InvSteelStress);
    if (!m_loadFactor) {
        m_report.workingStressBannerAndEcho({m_in.Bitum, m_in.EffSpan, m_in.SlabThick,
                                             m_in.StAreaTop, m_in.StDistTop, m_in.STAreaBot,
                                             m_in.StDistBot, m_in.Concfc, oper.OperConcStress,
                                             m_in.SteelFy, oper.OperSteelStress, m_in.ModRatio});
    }

    WorkingStressAnalysis analysis({m_in.ModRatio, m_InvConcStress, m_InvSteelStress,
                                    oper.OperConcStress, oper.OperSteelStress, m_in.StAreaTop,
                                    m_in.StDistTop, m_in.STAreaBot, m_in.StDistBot});
    const InventoryPass inv = analysis.inventoryPass();
    const Moments moments =
        stripMoments(m_in.EffSpan, m_in.SlabThick, m_in.Bitum, m_fields.LoadType);
    const LevelRating wsInv = workingStressRating(inv.ResistingMoment, moments.M_DL, moments.M_LL);
    const OperatingPass op = analysis.operatingPass();
    const LevelRating wsOp = workingStressRating(op.ResistingMoment, moments.M_DL, moments.M_LL);
    const ReportMoments kipFt = reportMoments(moments);
    m_report.momentLines(kipFt.DeadLoadMoment, kipFt.LiveLoadMoment);

    Hs20Table table{{inv.ConcreteStress, op.ConcreteStress},
                    {inv.SteelStress, op.SteelStress},
                    {inv.CompSteelStress, op.CompSteelStress},
                    {wsInv.MemberCapacity, wsOp.MemberCapacity},
                    {wsInv.LiveLoadCapacity, wsOp.LiveLoadCapacity},
                    {wsInv.RatingTons, wsOp.RatingTons}};
    double RatingFactor = wsOp.ratingFactor;
    double operatingTons = wsOp.RatingTons;
    if (m_loadFactor) {
        const LoadFactorRating lf =
            loadFactorRating(m_UltimateCapacity, kipFt.DeadLoadMoment, kipFt.LiveLoadMoment);
        const float scaleOper = stressScale(1.0, lf.RatingFactor, wsOp.RatingTons,
                                            kipFt.DeadLoadMoment, kipFt.LiveLoadMoment);
        const float scaleInv = stressScale(0.6, lf.RatingFactor, wsInv.RatingTons,
                                           kipFt.DeadLoadMoment, kipFt.LiveLoadMoment);
        table.ConcreteStress = {toSingle(Real(inv.ConcreteStress) * scaleInv),
                                (Real(op.ConcreteStress) * scaleOper).value()};
        table.SteelStress = {toSingle(Real(inv.SteelStress) * scaleInv),
                             toSingle(Real(op.SteelStress) * scaleOper)};
        table.CompSteelStress = {toSingle(Real(inv.CompSteelStress) * scaleInv),
                                 (Real(op.CompSteelStress) * scaleOper).value()};
        table.MemberCapacity = {lf.MemberCapacity, lf.MemberCapacity};
        table.LiveLoadCapacity = {lf.LiveLoadCapacity, lf.LiveLoadCapacity};
        table.RatingTons = {lf.inventoryTons, lf.operatingTons};
        RatingFactor = lf.RatingFactor;
        operatingTons = lf.operatingTons;
    }
    m_report.hs20Table(table);

    if (operatingTons >= kHs20Tons) {
        return;
    }
    const bool state = m_fields.LoadType == StateTrucks;
    const ReportValue truckMoment =
        state ? ReportValue(moments.stateTruckMoment) : ReportValue(moments.interstateTruckMoment);
    m_report.truckTable(state, truckMoment, legalTruckRatings(RatingFactor, m_fields.LoadType));
}

}  // namespace

RatingResult RunRating(const SlabFields& fields, std::string_view date) {
    RatingResult result;
    result.report.reserve(2048);
    try {
        Run(fields, date, result).execute();
    } catch (const ArithmeticFault&) {
        result.outcome = RunOutcome::ArithmeticFault;
        result.message = kArithmeticFaultMessage;
    }
    return result;
}

}  // namespace slabrating
