#include "report_layout.h"

#include "format.h"
#include "rating_run.h"

namespace slabrating {

namespace {

std::string mask(ReportValue v, int decimals) {
    return v.single ? formatMask(static_cast<float>(v.value), decimals)
                    : formatMask(v.value, decimals);
}

std::string right(ReportValue v, int decimals, std::size_t width) {
    return rightAlign(mask(v, decimals), width);
}

// Echo line: a 33-character label, the first value right-aligned in 6, and for most
// lines a 30-character second label and a left-aligned second value.
std::string echo(std::string_view label, const std::string& first,
                 std::string_view secondLabel = {}, const std::string& second = {}) {
    std::string s(label);
    s += rightAlign(first, 6);
    s += secondLabel;
    s += second;
    return s;
}

constexpr std::string_view kOper = "          Oper. =             ";

}  // namespace

void ReportWriter::line(std::string_view text) {
    m_text += text;
    m_text += "\r\n";
}

void ReportWriter::header(std::string_view date, const HeaderTexts& t) {
    std::string s = "Slab Rating Version ";
    s += std::to_string(kMajorVersion);
    s += "     Date: ";
    s += date;
    line(s);
    line();
    s = " Structure NO. ";
    s += t.StructNo;
    s += "     Rater: ";
    s += t.Rater;
    s += "     State HWY NO. = ";
    s += t.Hwy;
    line(s);
    s = "     Batch ID= ";
    s += t.BatchID;
    s += "  Description: ";
    s += t.Comments;
    line(s);
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

void ReportWriter::echoLines(const EchoValues& v, bool loadFactor) {
    line(echo("       Bituminous Overlay(in)=   ", mask(v.Bitum, 3)));
    line(echo("       Eff. Span(ft)=            ", mask(v.EffSpan, 3),
              "          Slab Thickness(in)= ", mask(v.SlabThick, 3)));
    line(echo("       Top Reinf. (sq.in)=       ", mask(v.StAreaTop, 2),
              "          Eff. Depth(in) =    ", mask(v.StDistTop, 3)));
    line(echo("       Bottom Area(sq.in)=       ", mask(v.STAreaBot, 2),
              "          Bottom Dist.(in)=   ", mask(v.StDistBot, 2)));
    line(echo(loadFactor ? "       Conc. Strength(PSI) Inv = " : "       Conc. Stress(PSI) Inv =   ",
              mask(v.concInv, 0), kOper, mask(v.concOper, 0)));
    line(echo(loadFactor ? "       Steel Yield (PSI)   Inv = " : "       Steel Stress (PSI)  Inv = ",
              mask(v.steelInv, 0), kOper, mask(v.steelOper, 0)));
    line(echo("       Modular Ratio =           ", mask(v.modularRatio, 0)));
}

void ReportWriter::momentLines(float DeadLoadMoment, float LiveLoadMoment) {
    line();
    line("Dead Load Moment   " + mask(DeadLoadMoment, 2) + " K-Ft");
    line("LL+I Moment        " + mask(LiveLoadMoment, 2) + " K-Ft");
    line("Gross Weight       36.0 Tons");
}

void ReportWriter::hs20Table(const Hs20Table& t) {
    line("                                    Inventory     Operating");
    const auto row = [this](std::string_view label, const TableRow& r, int decimals) {
        std::string s(label);
        s += right(r.inventory, decimals, 8);
        s += "      ";
        s += right(r.operating, decimals, 8);
        line(s);
    };
    row("Actual Concrete Stress      (PSI)   ", t.ConcreteStress, 2);
    row("Actual Reinf. Steel Stress  (PSI)   ", t.SteelStress, 2);
    row("Actual Comp. Steel Stress   (PSI)   ", t.CompSteelStress, 2);
    row("Member Capacity             (K-Ft)  ", t.MemberCapacity, 2);
    row("Member Capacity (LL+I)      (K-Ft)  ", t.LiveLoadCapacity, 2);
    row("     Rating                 (Tons)  ", t.RatingTons, 2);
}

void ReportWriter::truckTable(bool state, ReportValue TruckMoment,
                              const std::array<double, 3>& tons) {
    line();
    line(state ? "Brevania Trucks" : "Interstate Trucks");
    line("   LL+I Moment           " + mask(TruckMoment, 2) + " K-Ft");
    line();
    line("   Truck Type                   3        3S2        3-2");
    line(state ? "   Gross Weight    (Tons)      27        42.5       42.5"
               : "   Gross Weight    (Tons)      24         38         39");
    std::string s = "        Rating     (Tons)     ";
    s += right(tons[0], 2, 6);
    s += state ? "    " : "     ";
    s += right(tons[1], 2, 6);
    s += "     ";
    s += right(tons[2], 2, 6);
    line(s);
}

}  // namespace slabrating
