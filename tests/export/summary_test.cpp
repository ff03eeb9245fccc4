// The CSV summary's review columns, from findings as the engine hands them over.
#include "export/summary.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/rating_run.h"
#include "tests/support/support.h"

namespace slabrating {
namespace {

// The row's columns from review_for_posting to the end.
std::string reviewColumns(const RatedSlab& slab) {
    std::string row;
    BatchSummary(SummaryFormat::Csv).appendRow(row, slab);
    std::size_t at = 0;
    for (int comma = 0; comma < 16; ++comma) {
        at = row.find(',', at) + 1;
    }
    return row.substr(at);
}

// review_for_posting is yes exactly when the findings ask for a posting review, no on
// every other rated row, empty where the file did not rate; the findings column holds
// their codes separated by blanks.
TEST(Summary, reviewColumnsFollowTheFindings) {
    RatingResult result = RunRating(support::exampleFields(), "12/07/2026");
    ASSERT_EQ(result.outcome, RunOutcome::Complete);
    const Finding posting{"below-legal-weight", Severity::Warning, "a sentence", {}};
    const Finding note{"thin-overlay", Severity::Note, "a sentence", {}};
    struct Row {
        const char* name;
        std::vector<Finding> findings;
        const char* columns;
    };
    const Row rows[] = {
        {"no findings", {}, "no,,complete,,\r\n"},
        {"a note only", {note}, "no,thin-overlay,complete,,\r\n"},
        {"a posting review", {note, posting}, "yes,thin-overlay below-legal-weight,complete,,\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        result.findings = row.findings;
        const RatedSlab slab{"x.qri", support::exampleFields(), SlabOutcome::Complete, "", &result};
        EXPECT_EQ(reviewColumns(slab), row.columns);
    }
    const RatedSlab missing{"x.qri", {}, SlabOutcome::FileNotFound, "File not found.", nullptr};
    EXPECT_EQ(reviewColumns(missing), ",,file not found,File not found.,\r\n");
}

}  // namespace
}  // namespace slabrating
