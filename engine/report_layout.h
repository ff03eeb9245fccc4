#pragma once

#include <array>
#include <string>
#include <string_view>

namespace slabrating {

/// A report value with the precision it is held in, which decides how many
/// significant digits it is written with before the mask rounds it.
struct ReportValue {
    ReportValue(float v) : value(v), single(true) {}
    ReportValue(double v) : value(v), single(false) {}
    double value;
    bool single;
};

/// The five descriptive texts as the report prints them.
struct HeaderTexts {
    std::string_view StructNo, Rater, Hwy, BatchID, Comments;
};

/// Values of the seven input echo lines.
struct EchoValues {
    float Bitum, EffSpan, SlabThick, StAreaTop, StDistTop, STAreaBot, StDistBot;
    ReportValue concInv, concOper;  ///< line 5: f'c (load factor) or Fc inventory/operating (psi)
    ReportValue steelInv,
        steelOper;       ///< line 6: capped Fy (load factor) or Fs inventory/operating (psi)
    float modularRatio;  ///< line 7: the modular ratio in use
};

/// One row of the HS20 table: inventory and operating value.
struct TableRow {
    ReportValue inventory, operating;
};

/// Values of the HS20 table, rows in report order.
struct Hs20Table {
    TableRow ConcreteStress, SteelStress, CompSteelStress, MemberCapacity, LiveLoadCapacity,
        RatingTons;
};

/// Appends the lines of the rating report to a text, each ended by CR LF.
class ReportWriter {
public:
    explicit ReportWriter(std::string& text) : m_text(text) {}

    void header(std::string_view date, const HeaderTexts& texts);
    void loadFactorBanner();
    void thicknessWarning();
    void loadFactorEcho(const EchoValues& v);
    void workingStressBannerAndEcho(const EchoValues& v);
    void momentLines(float DeadLoadMoment, float LiveLoadMoment);
    void hs20Table(const Hs20Table& t);
    /// The legal-truck table of the state series (`state`) or of the Interstate series.
    void truckTable(bool state, ReportValue TruckMoment, const std::array<double, 3>& tons);

private:
    void text(std::string_view s);
    void value(ReportValue v, int decimals, std::size_t width = 0);
    void endLine();
    void line(std::string_view s = {});
    void echoLines(const EchoValues& v, bool loadFactor);

    std::string& m_text;
};

}  // namespace slabrating
