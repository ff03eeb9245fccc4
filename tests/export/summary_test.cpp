// The CSV summary's rating and review columns, from the governing rating and the status.
#include "export/summary.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "engine/field_table.h"
#include "engine/rating_run.h"
#include "tests/support/support.h"

namespace slabrating {
namespace {

using support::changed;

// The row's columns from method to the end.
std::string ratingColumns(const RatedSlab& slab) {
    std::string row;
    BatchSummary(SummaryFormat::Csv).appendRow(row, slab);
    std::size_t at = 0;
    for (int comma = 0; comma < 5; ++comma) {
        at = row.find(',', at) + 1;
    }
    return row.substr(at);
}

// The rating columns are the governing rating's: the slab whose midspan section
// rates 2.06 / 5.74 tons below the 27.19 / 40.48 tons of the report's section shows the
// midspan's ratings and its legal trucks, each code once. A withheld rating shows its status
// and codes but no rating; a file that did not rate shows "stopped".
TEST(Summary, ratingColumnsFollowTheGoverningRating) {
    SlabFields midspan = changed(support::workingStressStrip(), {{"STAreaBot", "0.15"}});
    midspan.LoadType = LoadType::StateTrucks;
    const SlabFields crossed = changed(support::workingStressStrip(), {{"StDistTop", "1"}});
    struct Row {
        const char* name;
        SlabFields fields;
        const char* columns;
    };
    const Row rows[] = {
        {"midspan section governs", midspan,
         // EV2 0.1594 x 16 / 16.75 = 0.152, EV3 x 16 / 15.5 = 0.165; type 3 posted at 6.89
         // tons rounded down.
         "WS,rated,midspan,midspan,0.057,0.160,2.06,5.74,state,0.255,6.89,10.85,10.85,3,yes,"
         ",built-in,0.255,0.255,0.255,0.152,0.165,post,R12-5,6,"
         "below-legal-weight midspan-section-lower legal-load-below-one,complete,,\r\n"},
        {"section over the girders, no trucks", support::workingStressStrip(),
         // Interstate trucks 1.120 x 16 / 9 = 1.991, EV2 1.070, EV3 1.156: nothing to post.
         "WS,rated,over the girders,over the girders,0.743,1.120,26.76,40.32,,,,,,,no,"
         ",built-in,1.991,1.991,1.991,1.070,1.156,none,,,no-load-type,complete,,\r\n"},
        {"withheld", crossed,
         "WS,withheld,,,,,,,,,,,,,,,,,,,,,,,,layers-crossed no-load-type "
         "dead-load-exceeds-capacity "
         "below-legal-weight midspan-not-analysed,complete,,\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const RatingResult result = RunRating(row.fields, "12/07/2026");
        const RatedSlab slab{"x.qri", row.fields, slabOutcome(result.outcome), "", &result};
        EXPECT_EQ(ratingColumns(slab), row.columns);
    }
    const RatedSlab missing{"x.qri", {}, SlabOutcome::FileNotFound, "File not found.", nullptr};
    EXPECT_EQ(ratingColumns(missing),
              ",stopped,,,,,,,,,,,,,,,,,,,,,,,,,file not found,File not found.,\r\n");
}

}  // namespace
}  // namespace slabrating
