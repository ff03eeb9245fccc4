#include "engine/report_layout.h"

#include <array>

#include "engine/format.h"
#include "engine/rating_run.h"
#include "engine/version.h"

namespace slabrating {

namespace {

// Decimals of the report's masks: "#0.000", "0.00" (and "#0.00" to "####0.00"), "#####0".
constexpr int kThreeDecimals = 3;
constexpr int kOneDecimal = 1;  // the HS20 gross weight, "36.0"
constexpr int kTwoDecimals = 2;
constexpr int kWhole = 0;
// The HS20 and legal-truck ratings are written with the "##0.00" mask.
constexpr int kTonsDecimals = kTwoDecimals;

// Widths the values are right-aligned in.
constexpr std::size_t kEchoWidth = 6;
constexpr std::size_t kTableWidth = 8;
constexpr std::size_t kTruckWidth = 6;

constexpr std::string_view kOper = "          Oper. =             ";

// Columns (from 1) where the truck types start; the gross weights' columns are the series'.
constexpr std::array<std::size_t, kTrucksPerSeries> kTruckTypeColumns{33, 42, 53};

// A report value with the precision it is held in, which decides how many significant
// digits it is written with before the mask rounds it.
struct ReportValue {
    ReportValue(float v) : value(v), single(true) {}
    ReportValue(double v) : value(v), single(false) {}
    double value;
    bool single;
};

// Values of the seven input echo lines.
struct EchoValues {
    ReportValue concInv, concOper;    // line 5: f'c (load factor) or Fc inventory/operating (psi)
    ReportValue steelInv, steelOper;  // line 6: capped Fy (load factor) or Fs (psi)
    float modularRatio;               // line 7: the modular ratio in use
};

// Appends the lines of the report to a text.
class ReportWriter {
public:
    explicit ReportWriter(std::string& text) : m_text(text) {}

    void header(const Rating& rating);
    void loadFactorBanner();
    void thicknessWarning();
    void loadFactorEcho(const SlabInput& in, const EchoValues& v);
    void workingStressBannerAndEcho(const SlabInput& in, const EchoValues& v);
    void momentLines(const ReportMoments& m);
    void hs20Table(const Hs20Rating& t);
    void truckTable(const LegalTruckRatings& trucks);

private:
    void text(std::string_view s) { m_text += s; }
    void value(ReportValue v, int decimals, std::size_t width = 0) {
        appendMask(m_text, v.value, v.single ? kSingleDigits : kDoubleDigits, decimals, width);
    }
    void endLine() { m_text += "\r\n"; }
    // Characters of the line being written so far.
    std::size_t lineLength() const {
        const std::size_t end = m_text.rfind('\n');
        return end == std::string::npos ? m_text.size() : m_text.size() - end - 1;
    }
    void line(std::string_view s = {}) {
        text(s);
        endLine();
    }
    void echoLines(const SlabInput& in, const EchoValues& v, bool loadFactor);
    void row(std::string_view label, ReportValue inventory, ReportValue operating,
             int decimals = kTwoDecimals);

    std::string& m_text;
};

void ReportWriter::header(const Rating& rating) {
    const SlabInput& in = *rating.input;
    text("Slab Rating Version ");
    text(std::to_string(kMajorVersion));
    text("     Date: ");
    line(rating.date);
    line();
    text(" Structure NO. ");
    text(in.StructNo);
    text("     Rater: ");
    text(in.Rater);
    text("     State HWY NO. = ");
    line(in.Hwy);
    text("     Batch ID= ");
    text(in.BatchID);
    text("  Description: ");
    line(in.Comments);
}

void ReportWriter::loadFactorBanner() {
    line();
    line(kLoadFactorBannerLine);
}

void ReportWriter::thicknessWarning() {
    line();
    line(kThicknessWarningLine);
}

void ReportWriter::loadFactorEcho(const SlabInput& in, const EchoValues& v) {
    line();
    line(" INPUT DATA");
    line();
    echoLines(in, v, true);
}

void ReportWriter::workingStressBannerAndEcho(const SlabInput& in, const EchoValues& v) {
    line();
    line(kWorkingStressBannerLine);
    line();
    echoLines(in, v, false);
}

// Echo lines: a 33-character label, the first value right-aligned in 6, and for most
// lines a 30-character second label and a left-aligned second value.
void ReportWriter::echoLines(const SlabInput& in, const EchoValues& v, bool loadFactor) {
    const auto echo = [this](std::string_view label, ReportValue first, int firstDecimals,
                             std::string_view secondLabel = {},
                             ReportValue second = ReportValue(0.0), int secondDecimals = -1) {
        text(label);
        value(first, firstDecimals, kEchoWidth);
        if (secondDecimals >= 0) {
            text(secondLabel);
            value(second, secondDecimals);
        }
        endLine();
    };
    echo("       Bituminous Overlay(in)=   ", in.Bitum, kThreeDecimals);
    echo("       Eff. Span(ft)=            ", in.EffSpan, kThreeDecimals,
         "          Slab Thickness(in)= ", in.SlabThick, kThreeDecimals);
    echo("       Top Reinf. (sq.in)=       ", in.StAreaTop, kTwoDecimals,
         "          Eff. Depth(in) =    ", in.StDistTop, kThreeDecimals);
    echo("       Bottom Area(sq.in)=       ", in.STAreaBot, kTwoDecimals,
         "          Bottom Dist.(in)=   ", in.StDistBot, kTwoDecimals);
    echo(loadFactor ? "       Conc. Strength(PSI) Inv = " : "       Conc. Stress(PSI) Inv =   ",
         v.concInv, kWhole, kOper, v.concOper, kWhole);
    echo(loadFactor ? "       Steel Yield (PSI)   Inv = " : "       Steel Stress (PSI)  Inv = ",
         v.steelInv, kWhole, kOper, v.steelOper, kWhole);
    echo("       Modular Ratio =           ", v.modularRatio, kWhole);
}

void ReportWriter::momentLines(const ReportMoments& m) {
    line();
    text("Dead Load Moment   ");
    value(m.DeadLoadMoment, kTwoDecimals);
    line(" K-Ft");
    text("LL+I Moment        ");
    value(m.LiveLoadMoment, kTwoDecimals);
    line(" K-Ft");
    text("Gross Weight       ");
    value(rules::kHs20Tons, kOneDecimal);
    line(" Tons");
}

void ReportWriter::row(std::string_view label, ReportValue inventory, ReportValue operating,
                       int decimals) {
    text(label);
    value(inventory, decimals, kTableWidth);
    text("      ");
    value(operating, decimals, kTableWidth);
    endLine();
}

void ReportWriter::hs20Table(const Hs20Rating& t) {
    const Hs20Inventory& inv = t.inventory;
    const Hs20Operating& op = t.operating;
    line("                                    Inventory     Operating");
    row("Actual Concrete Stress      (PSI)   ", inv.ConcreteStress, op.ConcreteStress);
    row("Actual Reinf. Steel Stress  (PSI)   ", inv.SteelStress, op.SteelStress);
    row("Actual Comp. Steel Stress   (PSI)   ", inv.CompSteelStress, op.CompSteelStress);
    row("Member Capacity             (K-Ft)  ", inv.MemberCapacity, op.MemberCapacity);
    row("Member Capacity (LL+I)      (K-Ft)  ", inv.LiveLoadCapacity, op.LiveLoadCapacity);
    // The operating rating is written as hs20OperatingTonsText writes it, right-aligned.
    row("     Rating                 (Tons)  ", inv.RatingTons, op.RatingTons, kTonsDecimals);
}

void ReportWriter::truckTable(const LegalTruckRatings& trucks) {
    const SeriesInfo& series = seriesInfo(trucks.series);
    line();
    line(series.title);
    text("   LL+I Moment           ");
    value(trucks.stateTruckMoment ? ReportValue(*trucks.stateTruckMoment)
                                  : ReportValue(*trucks.interstateTruckMoment),
          kTwoDecimals);
    line(" K-Ft");
    line();
    text("   Truck Type");
    const auto at = [this](std::size_t column) { m_text.append(column - 1 - lineLength(), ' '); };
    for (std::size_t i = 0; i < trucks.trucks.size(); ++i) {
        at(kTruckTypeColumns[i]);
        text(trucks.trucks[i].type);
    }
    endLine();
    text("   Gross Weight    (Tons)");
    for (std::size_t i = 0; i < trucks.trucks.size(); ++i) {
        at(series.reportGrossColumns[i]);
        text(shortestText(trucks.trucks[i].grossTons));
    }
    endLine();
    text("        Rating     (Tons)     ");
    value(trucks.trucks[0].RatingTons, kTonsDecimals, kTruckWidth);
    m_text.append(series.reportFirstGap, ' ');
    value(trucks.trucks[1].RatingTons, kTonsDecimals, kTruckWidth);
    text("     ");
    value(trucks.trucks[2].RatingTons, kTonsDecimals, kTruckWidth);
    endLine();
}

}  // namespace

void writeReport(const Rating& r, std::string& out) {
    if (!r.input) {
        return;
    }
    ReportWriter report(out);
    report.header(r);
    // Each block is written when the run reached the quantities it shows.
    if (r.inventoryAllowables) {
        report.loadFactorBanner();
    }
    if (r.thicknessCheck && r.thicknessCheck->warning) {
        report.thicknessWarning();
    }
    if (r.derivedModularRatio) {
        const LoadFactorInput& lf = *r.loadFactorInput;
        report.loadFactorEcho(*r.input, {lf.fc, lf.fc, lf.fy, lf.fy, *r.derivedModularRatio});
    }
    if (r.method == RatingMethod::WorkingStress && r.operatingAllowables) {
        const SlabInput& in = *r.input;
        const OperatingAllowables& oper = *r.operatingAllowables;
        report.workingStressBannerAndEcho(
            in, {in.Concfc, oper.OperConcStress, in.SteelFy, oper.OperSteelStress, in.ModRatio});
    }
    if (r.reportMoments) {
        report.momentLines(*r.reportMoments);
    }
    if (r.hs20) {
        report.hs20Table(*r.hs20);
    }
    if (r.legalTrucks) {
        report.truckTable(*r.legalTrucks);
    }
}

std::string hs20OperatingTonsText(const Hs20Rating& hs20) {
    return formatMask(hs20.operating.RatingTons, kTonsDecimals);
}

}  // namespace slabrating
