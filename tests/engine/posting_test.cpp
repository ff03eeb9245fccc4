// The legal loads, the posting decision and the inventory's load rating items, against the
// slab formula worked by hand and the inventory's coding rules.
#include "engine/posting.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/format.h"
#include "engine/rating.h"
#include "engine/rating_run.h"
#include "tests/support/support.h"

namespace slabrating {
namespace {

PostingBasis basis(double inventory, double operating, TruckSeries series = TruckSeries::State,
                   RatingMethod method = RatingMethod::LoadFactor) {
    return {inventory, operating, series, method};
}

// With the HS20 rating factor 1.00, a vehicle rates 16 kips over its heaviest wheel:
// EV2 16 / 16.75 = 0.955, x 28.75 tons = 27.46; EV3 16 / 15.5 = 1.032, x 43 = 44.39;
// the state trucks 16 / 10 = 1.6 (43.2, 68, 68 tons); the Interstate ones 16 / 9 = 1.778.
TEST(LegalLoadsTest, EachVehicleFromTheHs20RatingFactor) {
    struct Row {
        const char* name;
        TruckSeries series;
        std::size_t vehicle;
        const char* vehicleName;
        const char* factor;
        const char* tons;
    };
    const Row rows[] = {
        {"EV2", TruckSeries::State, 3, "EV2", "0.955", "27.46"},
        {"EV3", TruckSeries::State, 4, "EV3", "1.032", "44.39"},
        {"state type 3", TruckSeries::State, 0, "3", "1.600", "43.20"},
        {"state type 3-2", TruckSeries::State, 2, "3-2", "1.600", "68.00"},
        {"Interstate type 3", TruckSeries::Interstate, 0, "3", "1.778", "42.67"},
        {"Interstate type 3-2", TruckSeries::Interstate, 2, "3-2", "1.778", "69.33"},
        {"EV2 beside the Interstate trucks", TruckSeries::Interstate, 3, "EV2", "0.955", "27.46"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const LegalLoadRatings loads = legalLoadRatings(basis(1.0, 1.0, row.series));
        const VehicleRating& v = loads.vehicles[row.vehicle];
        EXPECT_EQ(v.name, row.vehicleName);
        EXPECT_EQ(formatMask(v.operatingRatingFactor, 3), row.factor);
        EXPECT_EQ(formatMask(v.operatingTons, 2), row.tons);
        EXPECT_EQ(formatMask(v.inventoryRatingFactor, 3), row.factor);
        EXPECT_EQ(formatMask(v.inventoryTons, 2), row.tons);
    }
    const LegalLoadRatings loads = legalLoadRatings(basis(0.6, 1.0));
    EXPECT_EQ(formatMask(loads.vehicles[3].inventoryRatingFactor, 3), "0.573");  // 0.6 x 0.955
    EXPECT_TRUE(loads.vehicles[4].tandemByWheel);
    EXPECT_FALSE(loads.vehicles[3].tandemByWheel);
}

TEST(InventoryItemsTest, MetricTonsCode) {
    struct Row {
        double factor;
        const char* code;
    };
    // RF x 32.4 metric tons to a tenth, rounded down: 0.999 x 32.4 = 32.37 is 323, not 324.
    const Row rows[] = {{1.0, "324"}, {0.999, "323"}, {0.5, "162"}, {0.1, "032"},
                        {0.0, "000"}, {-0.4, "000"},  {3.0, "972"}, {40.0, "999"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.factor);
        EXPECT_EQ(metricTonsCode(row.factor), row.code);
    }
}

TEST(InventoryItemsTest, PostingCodeFromTheLowestLegalOperatingFactor) {
    struct Row {
        double factor;
        int code;
    };
    // Percent below = (1 - RF) x 100 to a tenth: 8.3 % is 4, 20.0 % is 2, 40.0 % is 0. A
    // rating far below zero once overflowed the band's int.
    const Row rows[] = {{1.00, 5},  {1.50, 5}, {0.9996, 5}, {0.999, 4}, {0.917, 4},
                        {0.901, 4}, {0.90, 3}, {0.80, 2},   {0.701, 2}, {0.70, 1},
                        {0.601, 1}, {0.60, 0}, {-1.0, 0},   {-1e9, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.factor);
        EXPECT_EQ(postingCode(row.factor), row.code);
    }
}

TEST(InventoryItemsTest, FactorTextTwoDecimalsRoundedDown) {
    struct Row {
        double factor;
        const char* text;
    };
    const Row rows[] = {{1.0, "1.00"},   {0.999, "0.99"}, {0.29, "0.29"},   {0.955, "0.95"},
                        {1.536, "1.53"}, {-0.5, "0.00"},  {150.0, "99.99"}, {99.995, "99.99"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.factor);
        EXPECT_EQ(inventoryFactorText(row.factor), row.text);
    }
}

TEST(InventoryItemsTest, RatingDate) {
    struct Row {
        const char* text;
        const char* compact;  // null: not a date
    };
    const Row rows[] = {
        {"2026-12-08", "20261208"}, {"2024-02-29", "20240229"}, {"2000-02-29", "20000229"},
        {"1900-02-29", nullptr},    {"2026-02-29", nullptr},    {"2026-13-01", nullptr},
        {"2026-04-31", nullptr},    {"2026-00-10", nullptr},    {"2026-1-01", nullptr},
        {"12/08/2026", nullptr},    {"2026-12-08x", nullptr},   {"", nullptr}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        std::string compact;
        EXPECT_EQ(ratingDateOf(row.text, compact), row.compact != nullptr);
        if (row.compact != nullptr) {
            EXPECT_EQ(compact, row.compact);
        }
    }
}

// Decisions worked by hand. State trucks at RF 0.298 (HS20 0.18625): 27 x 0.298 = 8.05 and
// 42.5 x 0.298 = 12.67 tons, posted at 8 and 12 on an R12-5; EV2 0.298 x 10 / 16.75 = 0.178
// (5.11 tons), EV3 0.298 x 10 / 15.5 = 0.192 (8.27 tons): single axle 0.178 x 16.75 = 2.98,
// tandem 0.192 x 31 = 5.96, gross the smaller of 5.11 and 8.27.
TEST(PostingDecisionTest, WorkedDecisions) {
    const PostingPolicy defaults;
    PostingPolicy unrounded;
    unrounded.rounding = SignRounding::None;
    PostingPolicy noEv;
    noEv.postEmergencyVehicles = false;
    PostingPolicy gross;
    gross.sign = SignStyle::Gross;
    PostingPolicy noThreshold;
    noThreshold.closureTons.reset();
    PostingPolicy inventory;
    inventory.level = PostingLevel::Inventory;
    struct Row {
        const char* name;
        PostingBasis basis;
        const PostingPolicy& policy;
        const char* action;
        const char* sign;
        const char* values;  // the trucks' then the EVs' posting values
        const char* emergency;
        const char* types;     // B.EP.03 of the five, "/"-joined
        const char* postings;  // B.EP.04 of the five
    };
    const double rf = 0.298 * 10 / 16;
    const Row rows[] = {
        {"posted per truck", basis(0.6 * rf, rf), defaults, "post", "R12-5", "8 12 12 5 8", "2 5 5",
         "T/T/T/A|D|G/A|D|G", "8/12/12/2|5|5/2|5|5"},
        {"not rounded", basis(0.6 * rf, rf), unrounded, "post", "R12-5",
         "8.04 12.66 12.66 5.11 8.26", "2.98 5.96 5.11", "T/T/T/A|D|G/A|D|G",
         "8.04/12.66/12.66/2.98|5.96|5.11/2.98|5.96|5.11"},
        {"emergency vehicles not posted", basis(0.6 * rf, rf), noEv, "post", "R12-5", "8 12 12 0 0",
         "", "T/T/T//", "8/12/12//"},
        {"one gross value", basis(0.6 * rf, rf), gross, "post", "R12-1", "8 12 12 5 8", "2 5 5",
         "G/G/G/A|D|G/A|D|G", "8/8/8/2|5|5/2|5|5"},
        // 27 x 0.1 = 2.7 tons, down to 2, below 3: the bridge is closed, and every vehicle
        // below its weight reads closed.
        {"below the closure threshold", basis(0.06, 0.1 * 10 / 16), defaults, "close", "",
         "0 4 4 0 0", "", "X/X/X/X/X", "closed/closed/closed/closed/closed"},
        // EV2 0.1 x 10 / 16.75 = 0.0597: single axle x 16.75 = 1.0, gross x 28.75 = 1.72;
        // EV3 0.0645: tandem x 31 = 2.0, gross x 43 = 2.77.
        {"no threshold", basis(0.06, 0.1 * 10 / 16), noThreshold, "post", "R12-5", "2 4 4 1 2",
         "1 2 1", "T/T/T/A|D|G/A|D|G", "2/4/4/1|2|1/1|2|1"},
        {"negative rating", basis(-0.3, -0.5), noThreshold, "close", "", "0 0 0 0 0", "",
         "X/X/X/X/X", "closed/closed/closed/closed/closed"},
        // HS20 1.00: every truck carries its weight, EV2 rates 0.955 (27.46 tons).
        {"emergency vehicle alone", basis(1.0, 1.0), defaults, "post", "", "0 0 0 27 0", "16 32 27",
         "///A|D|G/", "///16|32|27/"},
        {"nothing to post", basis(1.2, 2.0), defaults, "none", "", "0 0 0 0 0", "", "////", "////"},
        // Working stress with the operating rating below the inventory one: the inventory
        // level is held at the operating rating (0.5 x 1.6 x 27 = 21.6 tons).
        {"inventory level at the operating ceiling", basis(0.9, 0.5), inventory, "post", "R12-5",
         "21 34 34 13 22", "8 16 13", "T/T/T/A|D|G/A|D|G", "21/34/34/8|16|13/8|16|13"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const LegalLoadRatings loads = legalLoadRatings(row.basis);
        const PostingDecision d = postingDecision(loads, row.policy);
        EXPECT_EQ(structureActionName(d.action), row.action);
        EXPECT_EQ(signTypeName(d.sign), row.sign);
        const int decimals = row.policy.rounding == SignRounding::None ? 2 : 0;
        std::string values;
        for (const VehiclePosting& p : d.vehicles) {
            values += values.empty() ? "" : " ";
            values += formatMask(p.valueTons, decimals);
        }
        EXPECT_EQ(values, row.values);
        std::string emergency;
        if (d.emergency) {
            emergency = formatMask(d.emergency->singleAxleTons, decimals) + " " +
                        formatMask(d.emergency->tandemTons, decimals) + " " +
                        formatMask(d.emergency->grossTons, decimals);
        }
        EXPECT_EQ(emergency, row.emergency);
        const InventoryItems items = inventoryItems(row.basis, loads, d, "20261208");
        std::string types;
        std::string postings;
        for (const LegalLoadItems& e : items.legalLoads) {
            types += (&e == &items.legalLoads[0] ? "" : "/") + e.postingType;
            postings += (&e == &items.legalLoads[0] ? "" : "/") + e.postingValue;
        }
        EXPECT_EQ(types, row.types);
        EXPECT_EQ(postings, row.postings);
    }
}

TEST(InventoryItemsTest, ItemsOfOneMember) {
    // Load factor, HS20 operating RF 0.8 and inventory 0.48: item 64 0.8 x 32.4 = 25.92 t,
    // coded 259; item 66 0.48 x 32.4 = 15.55, coded 155. The lowest legal load is EV2,
    // 0.8 x 0.955 = 0.764; the trucks rate 1.28, so item 70 is 5.
    const LegalLoadRatings loads = legalLoadRatings(basis(0.48, 0.8));
    const PostingDecision d = postingDecision(loads, PostingPolicy{});
    const InventoryItems items = inventoryItems(basis(0.48, 0.8), loads, d, "20261208");
    EXPECT_EQ(items.ratingDate, "20261208");
    EXPECT_EQ(items.method, "LFR");
    EXPECT_EQ(items.inventoryRatingFactor, "0.48");
    EXPECT_EQ(items.operatingRatingFactor, "0.80");
    EXPECT_EQ(items.controllingLegalFactor, "0.76");
    EXPECT_EQ(items.item63, 1);
    EXPECT_EQ(items.item65, 1);
    EXPECT_EQ(items.item64, "259");
    EXPECT_EQ(items.item66, "155");
    EXPECT_EQ(items.item70, 5);
    EXPECT_EQ(items.legalLoads[0].configuration, "3");
    EXPECT_EQ(items.legalLoads[0].ratingFactor, "1.28");
    EXPECT_EQ(items.legalLoads[3].ratingFactor, "0.76");
    EXPECT_FALSE(items.negativeRecordedAsZero);

    const PostingBasis ws = basis(-0.1, 0.2, TruckSeries::Interstate, RatingMethod::WorkingStress);
    const LegalLoadRatings wsLoads = legalLoadRatings(ws);
    const InventoryItems wsItems =
        inventoryItems(ws, wsLoads, postingDecision(wsLoads, PostingPolicy{}), "20261208");
    EXPECT_EQ(wsItems.method, "ASR");
    EXPECT_EQ(wsItems.item63, 2);
    EXPECT_EQ(wsItems.inventoryRatingFactor, "0.00");
    EXPECT_EQ(wsItems.item66, "000");
    // Interstate trucks at 0.2 x 16 / 9 = 0.356: 64.4 % below.
    EXPECT_EQ(wsItems.item70, 0);
    EXPECT_TRUE(wsItems.negativeRecordedAsZero);
}

// The run forms the decisions for a complete rating only, and names them in its findings.
TEST(PostingDecisionTest, RunHoldsTheDecisions) {
    SlabFields stopped = support::loadFactorStrip();
    stopped.EffSpan = "30";
    const RatingResult range = RunRating(stopped, "12/08/2026");
    EXPECT_FALSE(range.rating.posting);
    EXPECT_FALSE(range.rating.inventory);

    RunSettings settings;
    settings.ratingDate = "20261208";
    const RatingResult rated = RunRating(support::loadFactorStrip(), "12/08/2026", settings);
    ASSERT_TRUE(rated.rating.posting);
    ASSERT_TRUE(rated.rating.inventory);
    EXPECT_EQ(rated.rating.inventory->ratingDate, "20261208");
    EXPECT_EQ(rated.rating.posting->policy.source, "built-in");
}

}  // namespace
}  // namespace slabrating
