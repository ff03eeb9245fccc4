// The governing rating beside the report: at each level the section that rates lowest, the
// legal trucks rated from it, and whether the rating may be signed.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "engine/field_table.h"
#include "engine/rating_run.h"
#include "tests/support/support.h"

namespace slabrating {
namespace {

using support::changed;

// The working stress slab with 0.15 sq in of bottom steel: the report rates the
// section over the girders at 27.19 / 40.48 tons and prints no legal trucks; its midspan
// section rates 2.06 / 5.74 tons (rating factors 0.057 / 0.160) and governs at both levels.
// The state trucks are rated from 0.1596 (5.744 / 36): type 3 at 27 x 16 / 10 x 0.1596 = 6.89
// tons, 3S2 and 3-2 at 42.5 x 1.6 x 0.1596 = 10.85 tons, all below their weights.
TEST(GoverningTest, MidspanSectionGovernsAndRatesTheLegalTrucks) {
    SlabFields f =
        changed(support::workingStressStrip(), {{"STAreaBot", "0.15"}, {"LoadType", "1"}});
    const RatingResult result = RunRating(f, "12/07/2026");
    ASSERT_EQ(result.outcome, RunOutcome::Complete);
    const Rating& r = result.rating;
    EXPECT_NEAR(r.hs20->inventory.RatingTons, 27.19, 0.005);
    EXPECT_NEAR(r.hs20->operating.RatingTons, 40.48, 0.005);
    EXPECT_FALSE(r.legalTrucks);
    ASSERT_TRUE(r.governing);
    const GoverningRating& g = *r.governing;
    EXPECT_EQ(g.inventory.section, TensionFace::Bottom);
    EXPECT_EQ(g.operating.section, TensionFace::Bottom);
    EXPECT_NEAR(g.inventory.RatingFactor, 0.057, 0.0005);
    EXPECT_NEAR(g.operating.RatingFactor, 0.160, 0.0005);
    EXPECT_NEAR(g.inventory.RatingTons, 2.06, 0.005);
    EXPECT_NEAR(g.operating.RatingTons, 5.74, 0.005);
    // The governing values are the midspan section's own, not copies rounded on the way.
    EXPECT_EQ(g.operating.RatingTons, r.midspan->operating.RatingTons);
    ASSERT_TRUE(g.legalTrucks);
    EXPECT_EQ(g.legalTrucks->series, TruckSeries::State);
    EXPECT_NEAR(g.legalTrucks->trucks[0].RatingTons, 6.89, 0.005);
    EXPECT_NEAR(g.legalTrucks->trucks[1].RatingTons, 10.85, 0.005);
    EXPECT_EQ(g.legalTrucks->trucks[2].RatingTons, g.legalTrucks->trucks[1].RatingTons);
    EXPECT_EQ(g.legalTrucks->controlling, 0u);
    EXPECT_TRUE(g.reviewForPosting);
    EXPECT_EQ(r.status, RatingStatus::Rated);
}

// Which section governs, level by level.
TEST(GoverningTest, SectionOfEachLevel) {
    const SlabFields ws = support::workingStressStrip();
    const SlabFields lf = support::loadFactorStrip();
    struct Row {
        const char* name;
        SlabFields fields;
        TensionFace inventory, operating;
        bool reportValues;  // the governing values are the report's HS20 table
    };
    const Row rows[] = {
        // Equal sections rate alike: the tie keeps the section the report rates.
        {"symmetric working stress strip", ws, TensionFace::Top, TensionFace::Top, true},
        {"midspan section not analysed", changed(ws, {{"StDistTop", "8"}}), TensionFace::Top,
         TensionFace::Top, true},
        // The load factor capacity is the smaller face's; equal lever terms take the top.
        {"load factor, equal faces", lf, TensionFace::Top, TensionFace::Top, true},
        {"load factor, less bottom steel", changed(lf, {{"STAreaBot", "0.31"}}),
         TensionFace::Bottom, TensionFace::Bottom, true},
        {"load factor, less top steel", changed(lf, {{"StAreaTop", "0.31"}}), TensionFace::Top,
         TensionFace::Top, true},
        // The section over the girders is concrete-governed (its moment grows with the
        // concrete allowable, 1200 to 1300 psi), the midspan one steel-governed (20000 to
        // 28000 psi): the midspan section is the stronger at inventory only.
        {"each level its own section",
         changed(ws, {{"EffSpan", "16.71"},
                      {"SlabThick", "6.47"},
                      {"Bitum", "1.97"},
                      {"StAreaTop", "0.49"},
                      {"StDistTop", "5.04"},
                      {"STAreaBot", "0.65"},
                      {"StDistBot", "2.12"}}),
         TensionFace::Top, TensionFace::Bottom, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const RatingResult result = RunRating(row.fields, "12/07/2026");
        ASSERT_EQ(result.outcome, RunOutcome::Complete);
        const Rating& r = result.rating;
        ASSERT_TRUE(r.governing);
        const GoverningRating& g = *r.governing;
        EXPECT_EQ(g.inventory.section, row.inventory);
        EXPECT_EQ(g.operating.section, row.operating);
        if (r.method == RatingMethod::LoadFactor) {
            EXPECT_EQ(g.inventory.section, r.ultimateCapacity->governs);
        }
        if (row.reportValues) {
            EXPECT_EQ(g.inventory.RatingTons, r.hs20->inventory.RatingTons);
            EXPECT_EQ(g.operating.RatingFactor, r.hs20->operating.RatingFactor);
            EXPECT_EQ(g.legalTrucks.has_value(), r.legalTrucks.has_value());
        } else {
            EXPECT_LT(g.operating.RatingTons, r.hs20->operating.RatingTons);
            EXPECT_EQ(g.inventory.RatingTons, r.hs20->inventory.RatingTons);
        }
    }
}

// The legal trucks follow the governing operating rating: 36 tons or more rates none.
TEST(GoverningTest, LegalTrucksFromTheGoverningRating) {
    // The worked working stress strip rates 26.76 / 40.32 tons both ways: no trucks.
    const Rating clean = RunRating(support::workingStressStrip(), "12/07/2026").rating;
    ASSERT_TRUE(clean.governing);
    EXPECT_FALSE(clean.governing->legalTrucks);
    EXPECT_FALSE(clean.governing->reviewForPosting);
    // The worked load factor strip rates 33.19 / 55.32 tons: no trucks either.
    const Rating lf = RunRating(support::loadFactorStrip(), "12/07/2026").rating;
    EXPECT_FALSE(lf.governing->legalTrucks);
    // A capacity below the dead load: the governing rating factor is negative, the trucks
    // rate negative tons and the bridge is to be reviewed for closing.
    const Rating weak = RunRating(changed(support::workingStressStrip(), {{"EffSpan", "24"},
                                                                          {"SlabThick", "30"},
                                                                          {"StDistTop", "28"},
                                                                          {"StAreaTop", "0.1"}}),
                                  "12/07/2026")
                            .rating;
    ASSERT_TRUE(weak.governing);
    EXPECT_LT(weak.governing->operating.RatingFactor, 0);
    ASSERT_TRUE(weak.governing->legalTrucks);
    EXPECT_EQ(weak.governing->legalTrucks->series, TruckSeries::Interstate);
    EXPECT_TRUE(weak.governing->reviewForPosting);
}

// Rated, withheld when a finding says the inputs cannot be a slab, stopped when the run
// stopped; a withheld run keeps its report and its governing rating.
TEST(GoverningTest, Status) {
    const SlabFields ws = support::workingStressStrip();
    const SlabFields lf = support::loadFactorStrip();
    struct Row {
        const char* name;
        SlabFields fields;
        RatingStatus status;
    };
    const Row rows[] = {
        {"clean working stress strip", ws, RatingStatus::Rated},
        {"clean load factor strip", lf, RatingStatus::Rated},
        {"top steel 9 in above the bottom of an 8 in slab", changed(lf, {{"StDistTop", "9"}}),
         RatingStatus::Withheld},
        {"layers crossed", changed(ws, {{"StDistTop", "1"}}), RatingStatus::Withheld},
        {"no thickness", changed(lf, {{"SlabThick", "0"}}), RatingStatus::Withheld},
        {"negative overlay", changed(ws, {{"Bitum", "-1"}}), RatingStatus::Withheld},
        {"range failure", changed(ws, {{"EffSpan", "30"}}), RatingStatus::Stopped},
        {"not numeric", changed(ws, {{"Bitum", "x"}}), RatingStatus::Stopped},
        {"arithmetic fault", changed(lf, {{"Concfc", "0"}}), RatingStatus::Stopped},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const RatingResult result = RunRating(row.fields, "12/07/2026");
        EXPECT_EQ(result.rating.status, row.status);
        EXPECT_EQ(result.rating.governing.has_value(), result.outcome == RunOutcome::Complete);
        EXPECT_EQ(statusName(row.status), row.status == RatingStatus::Rated      ? "rated"
                                          : row.status == RatingStatus::Withheld ? "withheld"
                                                                                 : "stopped");
    }
}

}  // namespace
}  // namespace slabrating
