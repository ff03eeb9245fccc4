// The rating run end to end: validation, the report layout and the golden reports.
#include "engine/rating_run.h"

#include <gtest/gtest.h>

#include "tests/support/golden.h"
#include "tests/support/support.h"

namespace slabrating {
namespace {

constexpr std::string_view kDate = "12/07/2026";

using support::loadFactorStrip;
using support::workingStressStrip;

std::vector<std::string> lines(const std::string& report) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t end; (end = report.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
        out.push_back(report.substr(start, end - start));
    }
    EXPECT_EQ(start, report.size()) << "text after the last CR LF";
    return out;
}

// Each bundled example's input file rates to its hand-written report. The one place the
// example reports are pinned: the command line's and the windows' suites compare what they
// write and show with the engine's report.
TEST(RatingRunTest, GoldenReports) {
    for (const support::Example& example : support::examples()) {
        SCOPED_TRACE(example.input.filename().string());
        golden::expectSameText(example.report, support::engineReport(example));
    }
}

TEST(RatingRunTest, NonNumericFieldsInTestOrder) {
    struct Row {
        std::string SlabFields::*field;
        const char* message;
    };
    const Row rows[] = {
        {&SlabFields::Bitum, "Error: Bituminous Overlay value not numeric."},
        {&SlabFields::EffSpan, "Error: Effective Span value not numeric."},
        {&SlabFields::SlabThick, "Error: Slab Thickness value not numeric."},
        {&SlabFields::StAreaTop, "Error: Steel area (top) value not numeric."},
        {&SlabFields::StDistTop, "Error: Steel Distance (top) value not numeric."},
        {&SlabFields::STAreaBot, "Error: Steel Area (bottom) value not numeric."},
        {&SlabFields::StDistBot, "Error: Steel Distance (bottom) value not numeric."},
        {&SlabFields::Concfc, "Error: Concrete fc value not numeric."},
        {&SlabFields::SteelFy, "Error: Steel Fy value not numeric."},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(rows[i].message);
        for (const char* bad : {"", "   ", "abc", "1,5"}) {
            SlabFields f = loadFactorStrip();
            f.*rows[i].field = bad;
            // Every later field is broken too: only the first failure is reported.
            for (std::size_t j = i + 1; j < std::size(rows); ++j) {
                f.*rows[j].field = "x";
            }
            const RatingResult r = RunRating(f, kDate);
            EXPECT_EQ(r.ErrorFlag, 1);
            EXPECT_EQ(r.outcome, RunOutcome::NotNumeric);
            EXPECT_EQ(r.message, rows[i].message);
            EXPECT_EQ(r.report, "");
        }
    }
}

TEST(RatingRunTest, RangeChecks) {
    struct Row {
        const char* name;
        std::string SlabFields::*field;
        const char* value;
        const char* message;  // empty: passes
    };
    const Row rows[] = {
        {"span of exactly 2", &SlabFields::EffSpan, "2", ""},
        {"span of exactly 24", &SlabFields::EffSpan, "24", ""},
        {"span 1.99", &SlabFields::EffSpan, "1.99", " Error: Span length less than 2."},
        {"span 24.01", &SlabFields::EffSpan, "24.01", " Error: Span length greater than 24."},
        {"top distance of exactly 0.1", &SlabFields::StDistTop, "0.1", ""},
        {"top distance 0.09", &SlabFields::StDistTop, "0.09",
         " Error: Slab thickness less than .1"},
        {"top area 0.05", &SlabFields::StAreaTop, "0.05", " Error: Area of steel less than .1"},
        {"bottom distance 0", &SlabFields::StDistBot, "0",
         " Error: Extreme fiber to bottom reinforcement distance less than .1"},
        {"bottom area -1", &SlabFields::STAreaBot, "-1",
         " Error: Area of bottom reinforcement less than .1"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SlabFields f = loadFactorStrip();
        f.*row.field = row.value;
        const RatingResult r = RunRating(f, kDate);
        EXPECT_EQ(r.ErrorFlag, 0);
        if (*row.message == '\0') {
            EXPECT_EQ(r.outcome, RunOutcome::Complete) << r.message;
            continue;
        }
        EXPECT_EQ(r.outcome, RunOutcome::RangeFailure);
        EXPECT_EQ(r.message, std::string(row.message) + "  Please reenter data.");
        // The header and its blank line stay; nothing else.
        EXPECT_EQ(r.report,
                  "Slab Rating Version 2     Date: 12/07/2026\r\n"
                  "\r\n"
                  " Structure NO.             Rater:         State HWY NO. =    \r\n"
                  "     Batch ID=         Description:                      \r\n");
    }
}

TEST(RatingRunTest, RangeMessageNamesTheLastFailingCondition) {
    SlabFields f = loadFactorStrip();
    f.StDistTop = "0.05";
    f.EffSpan = "30";
    EXPECT_EQ(RunRating(f, kDate).message,
              " Error: Span length greater than 24.  Please reenter data.");
    f.EffSpan = "1";
    f.StAreaTop = "0";
    EXPECT_EQ(RunRating(f, kDate).message,
              " Error: Span length less than 2.  Please reenter data.");
}

// A value that rounds to a finite single is in range: its range checks decide. The limit is
// 2^128 - 2^103 = 340282356779733661637539395458142568448, the first value that rounds to
// infinity, judged on the text's own digits.
TEST(RatingRunTest, EdgeOfTheSingleRange) {
    struct Row {
        const char* name;
        std::string SlabFields::*field;
        const char* value;
        RunOutcome outcome;
        const char* message;
    };
    const char* kGreater = " Error: Span length greater than 24.  Please reenter data.";
    const Row rows[] = {
        {"span rounding to the largest single", &SlabFields::EffSpan, "3.4028235e38",
         RunOutcome::RangeFailure, kGreater},
        {"span rounding to minus the largest single", &SlabFields::EffSpan, "-3.4028235e38",
         RunOutcome::RangeFailure, " Error: Span length less than 2.  Please reenter data."},
        {"span whose nearest double is the limit", &SlabFields::EffSpan, "3.4028235677973366e38",
         RunOutcome::RangeFailure, kGreater},
        {"span one below the limit", &SlabFields::EffSpan,
         "340282356779733661637539395458142568447", RunOutcome::RangeFailure, kGreater},
        {"span at the limit", &SlabFields::EffSpan, "3.40282356779733661637539395458142568448e38",
         RunOutcome::ArithmeticFault,
         "Error: arithmetic fault in the rating run; the report stops here."},
        {"overlay rounding to the largest single", &SlabFields::Bitum, "3.4028235e38",
         RunOutcome::Complete, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SlabFields f = loadFactorStrip();
        f.*row.field = row.value;
        const RatingResult r = RunRating(f, kDate);
        EXPECT_EQ(r.outcome, row.outcome);
        EXPECT_EQ(r.message, row.message);
    }
}

TEST(RatingRunTest, ModularRatioChoosesTheMethod) {
    struct Row {
        const char* modRatio;
        const char* banner;
    };
    const Row rows[] = {
        {"", " LOAD FACTOR RATING-COMP STEEL NOT USED"},
        {"0", " LOAD FACTOR RATING-COMP STEEL NOT USED"},
        {"-3", " LOAD FACTOR RATING-COMP STEEL NOT USED"},
        {"ab", " LOAD FACTOR RATING-COMP STEEL NOT USED"},
        {"00", " LOAD FACTOR RATING-COMP STEEL NOT USED"},
        {"8", "WORKING STRESS RATING"},
        {".5", "WORKING STRESS RATING"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string("modular ratio \"") + row.modRatio + "\"");
        SlabFields f = loadFactorStrip();
        f.ModRatio = row.modRatio;
        const RatingResult r = RunRating(f, kDate);
        EXPECT_EQ(r.outcome, RunOutcome::Complete);
        EXPECT_EQ(r.message, "");
        EXPECT_EQ(lines(r.report).at(5), row.banner);
    }
}

TEST(RatingRunTest, EchoLineEdgeCases) {
    SlabFields lf = loadFactorStrip();
    lf.SteelFy = "65000";
    lf.StructNo = "ABCDEFGHIJ";
    lf.Rater = "J";
    lf.Comments = "A DESCRIPTION LONGER THAN ITS FIELD";
    const auto l = lines(RunRating(lf, kDate).report);
    EXPECT_EQ(l.at(2), " Structure NO. ABCDEFG     Rater: J       State HWY NO. =    ");
    EXPECT_EQ(l.at(3), "     Batch ID=         Description: A DESCRIPTION LONGER ");
    EXPECT_EQ(l.at(16),
              "       Steel Yield (PSI)   Inv =  60000          Oper. =             60000");

    SlabFields ws = workingStressStrip();
    ws.SteelFy = "65000";
    ws.ModRatio = ".5";
    const auto w = lines(RunRating(ws, kDate).report);
    EXPECT_EQ(w.at(12),
              "       Steel Stress (PSI)  Inv =  65000          Oper. =             36000");
    EXPECT_EQ(w.at(13), "       Modular Ratio =                1");
}

TEST(RatingRunTest, NegativeRatingsAndWideStresses) {
    // A thin strip with little steel over a long span: capacity below the dead load.
    SlabFields f = workingStressStrip();
    f.EffSpan = "24";
    f.SlabThick = "30";
    f.StAreaTop = "0.1";
    f.StDistTop = "2";
    const RatingResult r = RunRating(f, kDate);
    ASSERT_EQ(r.outcome, RunOutcome::Complete);
    const auto l = lines(r.report);
    // Nine characters in a field of eight: written whole, the rest of the row shifts.
    EXPECT_EQ(l.at(21), "Actual Comp. Steel Stress   (PSI)   -10762.15      -11659.00");
    EXPECT_EQ(l.at(23), "Member Capacity (LL+I)      (K-Ft)    -22.22        -22.15");
    EXPECT_EQ(l.at(24), "     Rating                 (Tons)    -59.16        -58.99");
    EXPECT_EQ(l.at(26), "Interstate Trucks");
    EXPECT_EQ(l.back(), "        Rating     (Tons)     -69.92     -110.70     -113.61");
}

TEST(RatingRunTest, LegalTruckSeries) {
    struct Row {
        const char* name;
        LoadType loadType;
        const char* title;
        const char* gross;
    };
    const Row rows[] = {
        {"state", LoadType::StateTrucks, "Brevania Trucks",
         "   Gross Weight    (Tons)      27        42.5       42.5"},
        {"Interstate", LoadType::Interstate, "Interstate Trucks",
         "   Gross Weight    (Tons)      24         38         39"},
        {"nothing selected", LoadType::None, "Interstate Trucks",
         "   Gross Weight    (Tons)      24         38         39"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SlabFields f = workingStressStrip();
        f.EffSpan = "16";
        f.LoadType = row.loadType;
        const auto l = lines(RunRating(f, kDate).report);
        ASSERT_EQ(l.size(), 32u);
        EXPECT_EQ(l.at(25), "");
        EXPECT_EQ(l.at(26), row.title);
        EXPECT_EQ(l.at(28), "");
        EXPECT_EQ(l.at(29), "   Truck Type                   3        3S2        3-2");
        EXPECT_EQ(l.at(30), row.gross);
    }
}

TEST(RatingRunTest, ArithmeticFaultsStopTheReport) {
    // f'c = 0 in a load factor run divides by zero at the modular ratio: after the banner
    // and the thickness warning, before the input echo.
    SlabFields f = loadFactorStrip();
    f.Concfc = "0";
    RatingResult r = RunRating(f, kDate);
    EXPECT_EQ(r.outcome, RunOutcome::ArithmeticFault);
    EXPECT_EQ(r.ErrorFlag, 0);
    EXPECT_EQ(r.message, "Error: arithmetic fault in the rating run; the report stops here.");
    auto l = lines(r.report);
    ASSERT_EQ(l.size(), 8u);
    EXPECT_EQ(l.back(), " *** Warning: Slab thickness violates old AASHTO 1.5.40(B)***");

    // A number beyond the single range fails at its conversion, before the header.
    f = loadFactorStrip();
    f.SlabThick = "1e39";
    f.Concfc = "x";
    r = RunRating(f, kDate);
    EXPECT_EQ(r.outcome, RunOutcome::ArithmeticFault);
    EXPECT_EQ(r.ErrorFlag, 0);
    EXPECT_EQ(r.report, "");

    // A modular ratio of 0.1 makes 2n - 1 negative and the neutral axis imaginary: the
    // section analysis breaks down after the echo, before the moment lines.
    f = workingStressStrip();
    f.ModRatio = ".1";
    r = RunRating(f, kDate);
    EXPECT_EQ(r.outcome, RunOutcome::ArithmeticFault);
    l = lines(r.report);
    EXPECT_EQ(l.back(), "       Modular Ratio =                0");
}

// The quantities of the worked end-to-end examples, as the run hands them back.
TEST(RatingRunTest, StructuredRatingOfTheWorkedExamples) {
    const RatingResult lfRun = RunRating(loadFactorStrip(), kDate);
    ASSERT_EQ(lfRun.outcome, RunOutcome::Complete);
    const Rating& lf = lfRun.rating;
    EXPECT_EQ(lf.method, RatingMethod::LoadFactor);
    EXPECT_EQ(lf.loadFactorInput->fy, 60000.0f);
    EXPECT_EQ(lf.inventoryAllowables->InvConcStress, 1600.0f);
    EXPECT_EQ(lf.inventoryAllowables->InvSteelStress, 24000.0f);
    EXPECT_EQ(*lf.derivedModularRatio, 8.0f);
    EXPECT_TRUE(lf.thicknessCheck->warning);
    EXPECT_NEAR(lf.ultimateCapacity->UltimateCapacity, 16863.09, 0.005);
    EXPECT_NEAR(lf.moments->M_DL, 1785.6, 1e-9);
    EXPECT_NEAR(lf.moments->M_LL, 7280, 1e-9);
    EXPECT_NEAR(lf.inventoryPass->ResistingMoment, 7157.23, 0.005);
    EXPECT_NEAR(lf.operatingPass->ResistingMoment, 10735.84, 0.005);
    EXPECT_NEAR(lf.workingStressInventory->RatingTons, 26.56, 0.005);
    EXPECT_NEAR(lf.workingStressOperating->RatingTons, 44.26, 0.005);
    EXPECT_NEAR(lf.stressScales->StressScaleInv, 1.18722, 5e-5);
    EXPECT_NEAR(lf.stressScales->StressScaleOper, 1.20825, 5e-5);
    const Hs20Rating& hs20 = *lf.hs20;
    EXPECT_NEAR(hs20.inventory.ConcreteStress, 1395.7, 0.05);
    EXPECT_NEAR(hs20.operating.ConcreteStress, 2130.6, 0.05);
    EXPECT_NEAR(hs20.inventory.SteelStress, 28493.3, 0.05);
    EXPECT_NEAR(hs20.operating.SteelStress, 43497.1, 0.05);
    EXPECT_NEAR(hs20.inventory.CompSteelStress, 4027.2, 0.05);
    EXPECT_NEAR(hs20.operating.CompSteelStress, 6147.8, 0.05);
    EXPECT_NEAR(hs20.inventory.MemberCapacity, 16.86, 0.005);
    EXPECT_NEAR(hs20.operating.LiveLoadCapacity, 14.54, 0.005);
    // The inventory rating factor is 0.6 of the operating one, as the inventory tons are.
    EXPECT_NEAR(hs20.inventory.RatingFactor, 0.6 * 1.5365, 5e-5);
    EXPECT_NEAR(hs20.operating.RatingFactor, 1.5365, 5e-5);
    EXPECT_NEAR(hs20.inventory.RatingTons, 33.19, 0.005);
    EXPECT_NEAR(hs20.operating.RatingTons, 55.32, 0.005);
    EXPECT_EQ(hs20OperatingTonsText(hs20), "55.32");
    EXPECT_FALSE(lf.legalTrucks.has_value());

    const Rating ws = RunRating(workingStressStrip(), kDate).rating;
    EXPECT_EQ(ws.method, RatingMethod::WorkingStress);
    EXPECT_FALSE(ws.loadFactorRating.has_value());
    EXPECT_EQ(ws.operatingAllowables->OperConcStress, 1300);
    EXPECT_EQ(ws.operatingAllowables->OperSteelStress, 28000);
    EXPECT_NEAR(ws.hs20->inventory.MemberCapacity, 5.88, 0.005);
    EXPECT_NEAR(ws.hs20->operating.MemberCapacity, 8.23, 0.005);
    EXPECT_NEAR(ws.hs20->inventory.LiveLoadCapacity, 4.64, 0.005);
    EXPECT_NEAR(ws.hs20->operating.LiveLoadCapacity, 6.99, 0.005);
    EXPECT_NEAR(ws.hs20->inventory.RatingFactor, 26.76 / 36, 5e-4);
    EXPECT_EQ(hs20OperatingTonsText(*ws.hs20), "40.32");

    // The legal trucks of the example "ws-interstate-trucks": 16 ft, Interstate series.
    SlabFields trucksStrip = workingStressStrip();
    trucksStrip.EffSpan = "16";
    trucksStrip.Bitum = "3";
    trucksStrip.StAreaTop = "0.5";
    trucksStrip.StDistTop = "6";
    trucksStrip.STAreaBot = "0.5";
    trucksStrip.LoadType = LoadType::Interstate;
    const Rating trucks = RunRating(trucksStrip, kDate).rating;
    EXPECT_EQ(hs20OperatingTonsText(*trucks.hs20), "10.41");
    ASSERT_TRUE(trucks.legalTrucks.has_value());
    EXPECT_EQ(trucks.legalTrucks->series, TruckSeries::Interstate);
    EXPECT_EQ(trucks.legalTrucks->wheelKips, 9.0);
    EXPECT_EQ(trucks.moments->interstateTruckMoment, 5.265f);  // 9 x (16 + 2) x 520 / 16000
    const struct {
        const char* type;
        double gross, tons;
    } expected[] = {{"3", 24, 12.34}, {"3S2", 38, 19.53}, {"3-2", 39, 20.05}};
    for (std::size_t i = 0; i < 3; ++i) {
        const LegalTruck& truck = trucks.legalTrucks->trucks[i];
        SCOPED_TRACE(expected[i].type);
        EXPECT_EQ(truck.type, expected[i].type);
        EXPECT_EQ(truck.grossTons, expected[i].gross);
        EXPECT_NEAR(truck.RatingFactor, 0.5141, 5e-4);
        EXPECT_NEAR(truck.RatingTons, expected[i].tons, 0.005);
    }
}

// A stopped run hands back what it reached and nothing after it.
TEST(RatingRunTest, StoppedRunKeepsWhatItReached) {
    SlabFields f = loadFactorStrip();
    f.SteelFy = "x";
    Rating r = RunRating(f, kDate).rating;
    EXPECT_FALSE(r.input.has_value());

    f = loadFactorStrip();
    f.EffSpan = "30";
    r = RunRating(f, kDate).rating;
    EXPECT_EQ(r.input->EffSpan, 30.0f);
    EXPECT_EQ(r.input->StructNo, "       ");
    EXPECT_FALSE(r.method.has_value());

    // f'c = 0 divides by zero at the modular ratio, after the thickness check.
    f = loadFactorStrip();
    f.Concfc = "0";
    r = RunRating(f, kDate).rating;
    EXPECT_EQ(r.method, RatingMethod::LoadFactor);
    EXPECT_TRUE(r.thicknessCheck->warning);
    EXPECT_NEAR(r.thicknessCheck->MinThickness, 22.0 / 30, 1e-6);
    EXPECT_FALSE(r.derivedModularRatio.has_value());
    EXPECT_FALSE(r.operatingAllowables.has_value());
    EXPECT_FALSE(r.hs20.has_value());
}

// Whatever the texts, a run ends with a message or a complete report, and every line
// of its report ends in CR LF.
TEST(RatingRunTest, OddInputsNeverBreakTheRun) {
    const char* values[] = {"0", "-1", "1e-40", "3e38", "1e30", "0.1", "24", "7", "-0", "99999"};
    for (const char* a : values) {
        for (const char* b : values) {
            for (const char* c : {"", "0.5", "1e30", "-5", "15"}) {
                SlabFields f = workingStressStrip();
                f.StDistTop = "6";
                f.StDistBot = a;
                f.STAreaBot = b;
                f.Concfc = b;
                f.SteelFy = a;
                f.ModRatio = c;
                f.SlabThick = a;
                const RatingResult r = RunRating(f, kDate);
                EXPECT_EQ(r.message.empty(), r.outcome == RunOutcome::Complete);
                EXPECT_EQ(r.rating.hs20.has_value(), r.outcome == RunOutcome::Complete);
                lines(r.report);
            }
        }
    }
}

}  // namespace
}  // namespace slabrating
