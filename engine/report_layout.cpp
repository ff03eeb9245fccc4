#include "engine/report_layout.h"

#include "engine/format.h"
#include "engine/rating_run.h"
#include "engine/version.h"

namespace slabrating {

namespace {

constexpr std::string_view kOper = "          Oper. =             ";

}  // namespace

void ReportWriter::value(ReportValue v, int decimals, std::size_t width) {
    appendMask(m_text, v.value, v.single ? kSingleDigits : kDoubleDigits, decimals, width);
}

void ReportWriter::text(std::string_view s) {
    m_text += s;
}

void ReportWriter::endLine() {
    m_text += "\r\n";
}

void ReportWriter::line(std::string_view s) {
    text(s);
    endLine();
}

void ReportWriter::header(std::string_view date, const HeaderTexts& t) {
    text("Slab Rating Version ");
    text(std::to_string(kMajorVersion));
    text("     Date: ");
    line(date);
    line();
    text(" Structure NO. ");
    text(t.StructNo);
    text("     Rater: ");
    text(t.Rater);
    text("     State HWY NO. = ");
    line(t.Hwy);
    text("     Batch ID= ");
    text(t.BatchID);
    text("  Description: ");
    line(t.Comments);
}

void ReportWriter::loadFactorBanner() {
    line();
    line(" LOAD FACTOR RATING-COMP STEEL NOT USED");
}

void ReportWriter::thicknessWarning() {
    line();
    line(" *** Warning: Slab thickness violates old AASHTO 1.5.40(B)***");
}

void ReportWriter::loadFactorEcho(const EchoValues& v) {
    line();
    line(" INPUT DATA");
    line();
    echoLines(v, true);
}

void ReportWriter::workingStressBannerAndEcho(const EchoValues& v) {
    line();
    line("WORKING STRESS RATING");
    line();
    echoLines(v, false);
}

// Echo lines: a 33-character label, the first value right-aligned in 6, and for most
// lines a 30-character second label and a left-aligned second value.
void ReportWriter::echoLines(const EchoValues& v, bool loadFactor) {
    const auto echo = [this](std::string_view label, ReportValue first, int firstDecimals,
                             std::string_view secondLabel = {},
                             ReportValue second = ReportValue(0.0), int secondDecimals = -1) {
        text(label);
        value(first, firstDecimals, 6);
        if (secondDecimals >= 0) {
            text(secondLabel);
            value(second, secondDecimals);
        }
        endLine();
    };
    echo("       Bituminous Overlay(in)=   ", v.Bitum, 3);
    echo("       Eff. Span(ft)=            ", v.EffSpan, 3,
         "          Slab Thickness(in)= ", v.SlabThick, 3);
    echo("       Top Reinf. (sq.in)=       ", v.StAreaTop, 2,
         "          Eff. Depth(in) =    ", v.StDistTop, 3);
    echo("       Bottom Area(sq.in)=       ", v.STAreaBot, 2,
         "          Bottom Dist.(in)=   ", v.StDistBot, 2);
    echo(loadFactor ? "       Conc. Strength(PSI) Inv = " : "       Conc. Stress(PSI) Inv =   ",
         v.concInv, 0, kOper, v.concOper, 0);
    echo(loadFactor ? "       Steel Yield (PSI)   Inv = " : "       Steel Stress (PSI)  Inv = ",
         v.steelInv, 0, kOper, v.steelOper, 0);
    echo("       Modular Ratio =           ", v.modularRatio, 0);
}

void ReportWriter::momentLines(float DeadLoadMoment, float LiveLoadMoment) {
    line();
    text("Dead Load Moment   ");
    value(DeadLoadMoment, 2);
    line(" K-Ft");
    text("LL+I Moment        ");
    value(LiveLoadMoment, 2);
    line(" K-Ft");
    line("Gross Weight       36.0 Tons");
}

void ReportWriter::hs20Table(const Hs20Table& t) {
    line("                                    Inventory     Operating");
    const auto row = [this](std::string_view label, const TableRow& r) {
        text(label);
        value(r.inventory, 2, 8);
        text("      ");
        value(r.operating, 2, 8);
        endLine();
    };
    row("Actual Concrete Stress      (PSI)   ", t.ConcreteStress);
    row("Actual Reinf. Steel Stress  (PSI)   ", t.SteelStress);
    row("Actual Comp. Steel Stress   (PSI)   ", t.CompSteelStress);
    row("Member Capacity             (K-Ft)  ", t.MemberCapacity);
    row("Member Capacity (LL+I)      (K-Ft)  ", t.LiveLoadCapacity);
    row("     Rating                 (Tons)  ", t.RatingTons);
}

void ReportWriter::truckTable(bool state, ReportValue TruckMoment,
                              const std::array<double, 3>& tons) {
    line();
    line(state ? "Brevania Trucks" : "Interstate Trucks");
    text("   LL+I Moment           ");
    value(TruckMoment, 2);
    line(" K-Ft");
    line();
    line("   Truck Type                   3        3S2        3-2");
    line(state ? "   Gross Weight    (Tons)      27        42.5       42.5"
               : "   Gross Weight    (Tons)      24         38         39");
    text("        Rating     (Tons)     ");
    value(tons[0], 2, 6);
    text(state ? "    " : "     ");
    value(tons[1], 2, 6);
    text("     ");
    value(tons[2], 2, 6);
    endLine();
}

}  // namespace slabrating
