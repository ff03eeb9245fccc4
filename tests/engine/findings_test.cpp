// Review findings beside the rating, and the midspan section of a working stress run.
#include "engine/findings.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "engine/field_table.h"
#include "engine/quantity_table.h"
#include "engine/rating_run.h"
#include "tests/support/support.h"

namespace slabrating {
namespace {

SlabFields changed(SlabFields f, const std::map<std::string, std::string>& texts) {
    for (const auto& [name, text] : texts) {
        if (name == kLoadTypeName) {
            f.LoadType = *loadTypeText(text);
        } else {
            f.*fieldNamed(name)->text = text;
        }
    }
    return f;
}

// One row per code, on the smallest change of a clean worked strip that raises it: the codes
// the run then has, in order, and the sentence of the row's own code.
TEST(FindingsTest, EachCodeOnTheSlabThatRaisesIt) {
    SlabFields ws = support::workingStressStrip();
    ws.LoadType = LoadType::StateTrucks;
    SlabFields lf = support::loadFactorStrip();
    lf.LoadType = LoadType::StateTrucks;
    const std::string posting = "below-legal-weight";
    struct Row {
        const char* name;
        SlabFields fields;
        std::vector<std::string> codes;
        std::string sentence;  // of codes[0]; empty for none
    };
    const Row rows[] = {
        {"clean working stress slab", ws, {}, ""},
        {"clean load factor slab", lf, {}, ""},
        {"slab-not-positive",
         changed(lf, {{"SlabThick", "0"}}),
         {"slab-not-positive", "top-steel-outside", "bottom-steel-outside", posting, posting,
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
         {"bottom-steel-outside", "layers-crossed", "dead-load-exceeds-capacity", posting, posting,
          posting},
         "Steel Bottom Distance of 8 in is not less than the Slab Thickness of 8 in: the bottom "
         "steel lies outside the slab."},
        {"layers-crossed",
         changed(ws, {{"StDistTop", "1.5"}}),
         {"layers-crossed", "dead-load-exceeds-capacity", posting, posting, posting,
          "midspan-not-analysed"},
         "Steel Top Distance of 1.5 in is not above the Steel Bottom Distance of 1.5 in: the top "
         "and the bottom steel are crossed."},
        {"strengths-look-like-allowables",
         changed(lf, {{"Concfc", "1200"}, {"SteelFy", "20000"}}),
         {"strengths-look-like-allowables", posting, posting, posting},
         "Concrete Fc of 1200 psi is below 2500 psi and Steel Fy of 20000 psi is below 33000 psi, "
         "the lowest strengths assumed for unknown old concrete and steel: they look like "
         "allowable stresses typed with the Modular Ratio left blank, which selects the load "
         "factor method."},
        {"allowables-look-like-strengths",
         changed(ws, {{"Concfc", "4000"}}),
         {"allowables-look-like-strengths"},
         "Concrete Fc of 4000 psi is above 2000 psi, above any inventory allowable stress: it "
         "looks like a strength, which the working stress method chosen by the Modular Ratio of "
         "10 takes as an allowable stress."},
        {"fy-capped",
         changed(lf, {{"SteelFy", "65000"}}),
         {"fy-capped"},
         "Steel Fy of 65000 psi is above 60000 psi: the load factor method rates with 60000 psi."},
        {"no-load-type",
         changed(ws, {{"LoadType", "0"}}),
         {"no-load-type"},
         "No load type was chosen, so the legal trucks are those of the Interstate series."},
        {"dead-load-exceeds-capacity",
         changed(
             ws,
             {{"EffSpan", "24"}, {"SlabThick", "30"}, {"StDistTop", "28"}, {"StAreaTop", "0.1"}}),
         {"dead-load-exceeds-capacity", posting, posting, posting},
         "The HS20 operating rating factor is -1.230: the dead load alone exceeds the capacity; "
         "review the bridge for closing."},
        {"below-legal-weight",
         changed(lf, {{"EffSpan", "20"}, {"StAreaTop", "0.3"}, {"STAreaBot", "0.3"}}),
         {posting, posting, posting},
         "Legal truck 3 rates 5.89 tons, below its gross weight of 27 tons: review for posting."},
        {"midspan-section-lower",
         changed(ws, {{"STAreaBot", "0.15"}}),
         {"midspan-section-lower"},
         "The midspan section, with the bottom steel in tension, rates 2.06 tons at inventory and "
         "5.74 tons at operating, against 27.19 and 40.48 tons for the section over the girders "
         "that the report rates: the report's rating may be too high."},
        {"midspan-not-analysed",
         changed(ws, {{"StDistTop", "8"}}),
         {"top-steel-outside", "midspan-not-analysed"},
         ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const RatingResult result = RunRating(row.fields, "12/07/2026");
        EXPECT_EQ(result.outcome, RunOutcome::Complete);
        std::vector<std::string> codes;
        for (const Finding& finding : result.findings) {
            codes.emplace_back(finding.code);
            EXPECT_EQ(finding.severity, finding.code == "fy-capped" ||
                                                finding.code == "no-load-type" ||
                                                finding.code == "midspan-not-analysed"
                                            ? Severity::Note
                                            : Severity::Warning);
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
        if (!row.sentence.empty() && !result.findings.empty()) {
            EXPECT_EQ(result.findings.front().message, row.sentence);
        }
        EXPECT_EQ(
            needsPostingReview(result.findings),
            std::find(codes.begin(), codes.end(), posting) != codes.end() ||
                std::find(codes.begin(), codes.end(), "dead-load-exceeds-capacity") != codes.end());
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
