// Review findings beside the rating, and the midspan section of a working stress run.
#include "engine/findings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "engine/field_table.h"
#include "engine/quantity_table.h"
#include "engine/rating_run.h"
#include "tests/support/support.h"

namespace slabrating {
namespace {

using support::changed;

// The severity each code has: an error where the inputs cannot describe a slab.
Severity severityOf(std::string_view code) {
    for (const std::string_view error :
         {"slab-not-positive", "overlay-negative", "top-steel-outside", "bottom-steel-outside",
          "layers-crossed"}) {
        if (code == error) {
            return Severity::Error;
        }
    }
    for (const std::string_view note : {"modular-ratio-negative", "fy-capped", "no-load-type",
                                        "midspan-not-analysed", "rating-recorded-as-zero"}) {
        if (code == note) {
            return Severity::Note;
        }
    }
    return Severity::Warning;
}

// One row per code, on the smallest change of a worked strip that raises it: the codes the
// run then has, in order, and the sentence of the row's own code. The worked load factor
// strip, 8 in on a 12 ft span, is thinner than the minimum depth of 8.8 in.
TEST(FindingsTest, EachCodeOnTheSlabThatRaisesIt) {
    SlabFields ws = support::workingStressStrip();
    ws.LoadType = LoadType::StateTrucks;
    SlabFields lf = support::loadFactorStrip();
    lf.LoadType = LoadType::StateTrucks;
    const std::string posting = "below-legal-weight";
    const std::string thin = "thickness-below-minimum";
    // A 12 in slab of f'c 3000 on the same span: deep enough, and with 1.2 Mcr = 11.83 kip-ft.
    const SlabFields deep = changed(lf, {{"SlabThick", "12"}, {"Concfc", "3000"}});
    struct Row {
        const char* name;  // the code whose sentence is checked; a description for none
        SlabFields fields;
        std::vector<std::string> codes;
        std::string sentence;  // of the first finding with the row's code; empty for none
    };
    const std::string below1 = "legal-load-below-one";
    const Row rows[] = {
        {"clean working stress slab", ws, {}, ""},
        {"clean load factor slab", deep, {}, ""},
        {"slab-not-positive",
         changed(lf, {{"SlabThick", "0"}}),
         {"slab-not-positive", "top-steel-outside", "bottom-steel-outside", thin, posting, posting,
          posting},
         "Slab Thickness of 0 in is not greater than 0: the dead load and the depths of the "
         "section are not those of a slab."},
        {"overlay-negative",
         changed(ws, {{"Bitum", "-1"}}),
         {"overlay-negative"},
         "Bituminous Overlay of -1 in is below 0: a negative overlay lowers the dead load and "
         "raises the rating."},
        {"top-steel-outside",
         changed(ws, {{"StDistTop", "8"}}),
         {"top-steel-outside", "midspan-not-analysed"},
         "Steel Top Distance of 8 in is not less than the Slab Thickness of 8 in: the top steel "
         "lies outside the slab."},
        {"bottom-steel-outside",
         changed(lf, {{"StDistBot", "8"}}),
         {"bottom-steel-outside", "layers-crossed", thin, "dead-load-exceeds-capacity", posting,
          posting, posting},
         "Steel Bottom Distance of 8 in is not less than the Slab Thickness of 8 in: the bottom "
         "steel lies outside the slab."},
        {"layers-crossed",
         changed(ws, {{"StDistTop", "1.5"}}),
         {"layers-crossed", "dead-load-exceeds-capacity", posting, posting, posting,
          "midspan-not-analysed"},
         "Steel Top Distance of 1.5 in is not above the Steel Bottom Distance of 1.5 in: the top "
         "and the bottom steel are crossed."},
        {"top-steel-near-face",
         changed(ws, {{"StDistTop", "7.95"}}),
         {"top-steel-near-face", "midspan-section-lower"},
         "The top bars' centre lies 0.05 in below the top face (the Slab Thickness of 8 in less "
         "the Steel Top Distance of 7.95 in), less than 1 in: too little for a bar and the "
         "concrete cover of Standard Specifications 8.22.1; check the distance."},
        {"bottom-steel-near-face",
         changed(ws, {{"StDistBot", "0.25"}}),
         {"bottom-steel-near-face"},
         "The Steel Bottom Distance of 0.25 in puts the bottom bars' centre less than 1 in above "
         "the bottom face: too little for a bar and the concrete cover of Standard "
         "Specifications 8.22.1; check the distance."},
        {"overlay-thick",
         changed(ws, {{"Bitum", "9"}}),
         {"overlay-thick", below1},
         "Bituminous Overlay of 9 in is thicker than 4 in and than half the Slab Thickness of 8 "
         "in: most likely another slab or a mistyped field; the overlay enters the rating as "
         "dead load only."},
        {"strengths-look-like-allowables",
         changed(lf, {{"Concfc", "1200"}, {"SteelFy", "20000"}}),
         {"strengths-look-like-allowables", thin, posting, posting, posting, below1},
         "Concrete Fc of 1200 psi is below 2500 psi and Steel Fy of 20000 psi is below 33000 psi, "
         "the lowest strengths assumed for unknown old concrete and steel: they look like "
         "allowable stresses typed with the Modular Ratio left blank, which selects the load "
         "factor method."},
        {"allowables-look-like-strengths",
         changed(ws, {{"Concfc", "4000"}}),
         {"allowables-look-like-strengths", "modular-ratio-unlike-concrete"},
         "Concrete Fc of 4000 psi is above 2000 psi, above any inventory allowable stress: it "
         "looks like a strength, which the working stress method chosen by the Modular Ratio of "
         "10 takes as an allowable stress."},
        {"modular-ratio-negative",
         changed(deep, {{"ModRatio", "-10"}}),
         {"modular-ratio-negative"},
         "The Modular Ratio of -10 is below 0 and is read as blank: the load factor method was "
         "chosen, with n from f'c."},
        // Fc 1600 psi is 0.4 f'c for f'c = 4000 psi: Es / Ec = 29e6 / (57000 x 63.246) = 8.04.
        {"modular-ratio-unlike-concrete",
         changed(ws, {{"ModRatio", "15"}, {"Concfc", "1600"}}),
         {"modular-ratio-unlike-concrete"},
         "The Modular Ratio of 15 is more than 2 from n = 8, Es / Ec = 8.04 to the nearest whole "
         "number and at least 6 (Standard Specifications 8.15.3.4), with Es = 29000000 psi and "
         "Ec = 57000 sqrt(f'c) psi (Standard Specifications 8.7) for f'c = 4000 psi, the "
         "Concrete Fc of 1600 psi taken as 0.4 f'c (Standard Specifications 8.15.2.1.1)."},
        {"fy-capped",
         changed(deep, {{"SteelFy", "65000"}}),
         {"fy-capped"},
         "Steel Fy of 65000 psi is above 60000 psi: the load factor method rates with 60000 psi, "
         "the most that Standard Specifications 8.3.3 lets a design take."},
        {"thickness-below-minimum",
         lf,
         {thin},
         "Slab Thickness of 8 in, 0.6667 ft, is below the minimum depth of 0.7333 ft, (S + 10) / "
         "30 and at least 0.542 ft, that Standard Specifications 8.9.2 (1.5.40(B) of the older "
         "editions) gives slabs with main reinforcement perpendicular to traffic; the report "
         "prints its warning."},
        // rho = 3 / (12 x 6.5) = 0.0385; rho_b = 0.85 x 0.85 x 3000 / 60000 x 87000 / 147000
        // = 0.0214; 1.80 times.
        {"top-steel-above-balanced",
         changed(lf, {{"StAreaTop", "3.0"}, {"Concfc", "3000"}}),
         {thin, "top-steel-above-balanced"},
         "The top steel, Steel Top Area of 3 sq in at d = 6.5 in, has a steel ratio of 0.0385, "
         "1.80 times the balanced ratio 0.0214, above the 0.75 of it that Standard "
         "Specifications 8.16.3.1.1 allows: the capacity takes 0.75 of the balanced steel, but "
         "such a face fails in the concrete without warning."},
        {"bottom-steel-above-balanced",
         changed(lf, {{"STAreaBot", "3.0"}, {"Concfc", "3000"}}),
         {thin, "bottom-steel-above-balanced"},
         "The bottom steel, Steel Bottom Area of 3 sq in at d = h - d' = 6.5 in, has a steel "
         "ratio of 0.0385, 1.80 times the balanced ratio 0.0214, above the 0.75 of it that "
         "Standard Specifications 8.16.3.1.1 allows: the capacity takes 0.75 of the balanced "
         "steel, but such a face fails in the concrete without warning."},
        // 1.2 Mcr = 1.2 x 7.5 sqrt(3000) x 12 x 12^2 / 6 / 12 / 1000 = 11.83 kip-ft; 0.2 sq in at
        // 10.5 in: a = 0.2 x 60000 / (10.2 x 3000) = 0.392 in, phiMn = 0.392 x (10.5 - 0.196)
        // x 0.765 x 3000 / 1000 = 9.27 kip-ft.
        {"top-steel-below-minimum",
         changed(deep, {{"StAreaTop", "0.2"}, {"StDistTop", "10.5"}}),
         {"top-steel-below-minimum", below1},
         "The top face's capacity phiMn of 9.27 kip-ft is below 1.2 Mcr = 11.83 kip-ft, Mcr from "
         "the modulus of rupture 7.5 sqrt(f'c) = 410.79 psi (Standard Specifications 8.15.2.1.1) "
         "over the gross strip: less steel than Standard Specifications 8.17.1.1 asks for, so "
         "the face may fail as it cracks."},
        {"bottom-steel-below-minimum",
         changed(deep, {{"STAreaBot", "0.2"}, {"StDistTop", "10.5"}}),
         {"bottom-steel-below-minimum", below1},
         "The bottom face's capacity phiMn of 9.27 kip-ft is below 1.2 Mcr = 11.83 kip-ft, Mcr "
         "from the modulus of rupture 7.5 sqrt(f'c) = 410.79 psi (Standard Specifications "
         "8.15.2.1.1) over the gross strip: less steel than Standard Specifications 8.17.1.1 "
         "asks for, so the face may fail as it cracks."},
        {"no-load-type",
         changed(ws, {{"LoadType", "0"}}),
         {"no-load-type"},
         "No load type was chosen, so the legal trucks are those of the Interstate series."},
        {"dead-load-exceeds-capacity",
         changed(
             ws,
             {{"EffSpan", "24"}, {"SlabThick", "30"}, {"StDistTop", "28"}, {"StAreaTop", "0.1"}}),
         {"dead-load-exceeds-capacity", posting, posting, posting, below1, "operating-below-tenth",
          "rating-recorded-as-zero"},
         "The governing HS20 operating rating factor is -1.230: the dead load alone exceeds the "
         "capacity: close."},
        {"below-legal-weight",
         changed(lf, {{"EffSpan", "20"}, {"StAreaTop", "0.3"}, {"STAreaBot", "0.3"}}),
         {thin, posting, posting, posting, below1},
         "Legal truck 3 rates 5.89 tons, below its gross weight of 27 tons: post at 5 tons."},
        // Strengths typed as allowables: the operating allowables of the table, 3000 and
        // 36000 psi, are below them.
        {"operating-below-inventory",
         changed(ws, {{"Concfc", "4000"}, {"SteelFy", "60000"}, {"ModRatio", "8"}}),
         {"allowables-look-like-strengths", "operating-below-inventory"},
         "The governing operating rating of 54.78 tons is below the inventory rating of 96.08 "
         "tons: the operating allowables, 3000 and 36000 psi, should exceed the inventory ones, "
         "the Concrete Fc of 4000 psi and the Steel Fy of 60000 psi; strengths typed as "
         "allowable stresses give this."},
        {"midspan-section-lower",
         changed(ws, {{"STAreaBot", "0.15"}}),
         {posting, posting, posting, "midspan-section-lower", below1},
         "The midspan section, with the bottom steel in tension, rates 2.06 tons at inventory and "
         "5.74 tons at operating, against 27.19 and 40.48 tons for the section over the girders "
         "that the report rates: the midspan section governs where it rates lower, and the "
         "report's rating is too high there."},
        {"midspan-not-analysed",
         changed(ws, {{"StDistTop", "8"}}),
         {"top-steel-outside", "midspan-not-analysed"},
         ""},
        // EV2 rates 16 / 16.75 = 0.955 of the HS20 rating factor: at an HS20 operating rating
        // factor of 0.966 the state trucks rate 1.545, EV2 0.922.
        {"legal-load-below-one",
         changed(deep, {{"StAreaTop", "0.5"}, {"StDistTop", "6"}}),
         {below1},
         "The controlling legal-load rating factor is 0.922 (EV2), below 1: the member must be "
         "posted or the bridge closed (the inventory's safety rule for B.LR.07)."},
        // 0.1 sq in of top steel: operating rating factor 0.056, inventory -0.017.
        {"operating-below-tenth",
         changed(ws, {{"StAreaTop", "0.1"}}),
         {posting, posting, posting, below1, "operating-below-tenth", "rating-recorded-as-zero"},
         "The operating rating factor is 0.056, below 0.1: the bridge must be closed (the "
         "inventory's safety rule for B.LR.06)."},
        {"rating-recorded-as-zero",
         changed(ws, {{"StAreaTop", "0.1"}}),
         {posting, posting, posting, below1, "operating-below-tenth", "rating-recorded-as-zero"},
         "A negative rating factor is recorded as 0.00 in the inventory items, which hold no "
         "negative rating."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const RatingResult result = RunRating(row.fields, "12/07/2026");
        EXPECT_EQ(result.outcome, RunOutcome::Complete);
        std::vector<std::string> codes;
        for (const Finding& finding : result.findings) {
            codes.emplace_back(finding.code);
            EXPECT_EQ(finding.severity, severityOf(finding.code)) << finding.code;
            // Each value is the run's own quantity at the place its name gives.
            for (const FindingValue& value : finding.values) {
                bool found = false;
                forEachQuantity(result.rating, [&](const Quantity& q, const QuantityValue& v) {
                    found =
                        found || (std::string(q.group) + "/" + std::string(q.key) == value.name &&
                                  v.number == value.value);
                });
                EXPECT_TRUE(found) << finding.code << " " << value.name;
            }
        }
        EXPECT_EQ(codes, row.codes);
        if (!row.sentence.empty()) {
            const auto own = std::find_if(result.findings.begin(), result.findings.end(),
                                          [&](const Finding& f) { return f.code == row.name; });
            ASSERT_NE(own, result.findings.end());
            EXPECT_EQ(own->message, row.sentence);
        }
        ASSERT_TRUE(result.rating.governing);
        EXPECT_EQ(
            result.rating.governing->reviewForPosting,
            std::find(codes.begin(), codes.end(), posting) != codes.end() ||
                std::find(codes.begin(), codes.end(), "dead-load-exceeds-capacity") != codes.end());
    }
}

// Every code of the table has its row above, and a run lists its findings in the table's
// order.
TEST(FindingsTest, EveryCodeHasItsRowAndItsPlace) {
    const std::string source = support::readBytes(std::filesystem::path(__FILE__));
    for (const std::string_view code : kFindingCodes) {
        EXPECT_NE(source.find("{\"" + std::string(code) + "\","), std::string::npos) << code;
    }
    SlabFields f = support::loadFactorStrip();
    f.StDistBot = "0.25";
    f.Bitum = "9";
    f.StAreaTop = "3";
    f.ModRatio = "-1";
    std::size_t last = 0;
    for (const Finding& finding : RunRating(f, "12/07/2026").findings) {
        const auto at = std::find(kFindingCodes.begin(), kFindingCodes.end(), finding.code);
        ASSERT_NE(at, kFindingCodes.end());
        const auto place = static_cast<std::size_t>(at - kFindingCodes.begin());
        EXPECT_GE(place, last) << finding.code;
        last = place;
    }
}

// A stopped run gets the findings its reached values support: a range failure has the
// inputs but no method, a field that is not numeric has nothing.
TEST(FindingsTest, StoppedRuns) {
    SlabFields f = support::loadFactorStrip();
    f.SlabThick = "-8";
    f.EffSpan = "30";
    std::vector<std::string> codes;
    for (const Finding& finding : RunRating(f, "12/07/2026").findings) {
        codes.emplace_back(finding.code);
    }
    EXPECT_EQ(codes, (std::vector<std::string>{"slab-not-positive", "top-steel-outside",
                                               "bottom-steel-outside", "no-load-type"}));
    f.Bitum = "x";
    EXPECT_TRUE(RunRating(f, "12/07/2026").findings.empty());
}

// The midspan section turned over by hand: 0.31 sq in of bottom steel in tension at
// d = 8 - 1.5 = 6.5 in, 0.62 sq in of top steel in compression at d' = 8 - 6.5 = 1.5 in,
// n = 10 and m = 19; k = 0.240026 and j = 0.912998 from the cracked section. The steel
// governs at both levels (fc = 631.7 and 884.3 psi), so M = 0.31 Fs j d / 12 = 3066.15 and
// 4292.61 lb-ft, and with M_DL 1240 and M_LL 6240 lb-ft the HS20 ratings are 10.535 and
// 17.611 tons. The symmetric worked strip rates the same both ways.
TEST(FindingsTest, MidspanSectionByHand) {
    SlabFields f = support::workingStressStrip();
    f.STAreaBot = "0.31";
    const Rating r = RunRating(f, "12/07/2026").rating;
    ASSERT_TRUE(r.midspan);
    const MidspanSection& m = *r.midspan;
    EXPECT_EQ(m.sectionInput.areaTop, 0.31f);
    EXPECT_EQ(m.sectionInput.d, 6.5f);
    EXPECT_EQ(m.sectionInput.areaBot, 0.62f);
    EXPECT_EQ(m.sectionInput.dPrime, 1.5f);
    EXPECT_NEAR(m.inventoryPass.section.k, 0.2400256, 1e-6);
    EXPECT_NEAR(m.inventoryPass.section.j, 0.9129984, 1e-6);
    EXPECT_EQ(m.inventoryPass.governs, Governing::Steel);
    EXPECT_NEAR(m.inventoryPass.ConcreteStress, 631.668, 1e-3);
    EXPECT_NEAR(m.inventoryPass.ResistingMoment, 3066.153, 1e-3);
    EXPECT_NEAR(m.operatingPass.ResistingMoment, 4292.614, 1e-3);
    EXPECT_NEAR(m.inventory.MemberCapacity, 3.066153, 1e-6);
    EXPECT_NEAR(m.inventory.RatingTons, 10.5355, 1e-4);
    EXPECT_NEAR(m.operating.ratingFactor, 0.489201, 1e-6);
    EXPECT_NEAR(m.operating.RatingTons, 17.6112, 1e-4);

    const Rating symmetric = RunRating(support::workingStressStrip(), "12/07/2026").rating;
    ASSERT_TRUE(symmetric.midspan);
    EXPECT_EQ(symmetric.midspan->inventory.RatingTons, symmetric.hs20->inventory.RatingTons);
    EXPECT_EQ(symmetric.midspan->operating.RatingTons, symmetric.hs20->operating.RatingTons);
}

}  // namespace
}  // namespace slabrating
