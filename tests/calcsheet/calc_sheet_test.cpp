// The calculation sheet of finished and stopped runs: a page without outside resources, the
// stop marked, hostile texts escaped, and every number the engine's own value at the
// pointer the JSON result gives it.
#include "export/calc_sheet.h"

#include <gtest/gtest.h>

#include <charconv>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include "engine/field_table.h"
#include "engine/format.h"
#include "engine/quantity_table.h"
#include "engine/rating_run.h"
#include "inputfile/inputfile.h"
#include "tests/support/golden.h"
#include "tests/support/support.h"

namespace slabrating {
namespace {

using Value = std::variant<float, double, int>;
using Quantities = std::map<std::string, Value>;

// Every number of a rating at its pointer in the JSON result, typed as the engine holds it,
// as the quantity table lists them; a group the run did not reach is absent.
Quantities quantities(const Rating& r) {
    Quantities all;
    forEachQuantity(r, [&all](const Quantity& quantity, const QuantityValue& value) {
        std::string pointer = "/rating/";
        if (!quantity.group.empty()) {
            pointer += quantity.group;
            pointer += '/';
        }
        pointer += quantity.key;
        switch (quantity.precision) {
            case Precision::Single:
                all.emplace(pointer, static_cast<float>(value.number));
                break;
            case Precision::Double:
                all.emplace(pointer, value.number);
                break;
            case Precision::Whole:
                all.emplace(pointer, static_cast<int>(value.number));
                break;
            case Precision::Flag:
            case Precision::Text:
                break;
        }
    });
    return all;
}

// The text of `data` read back in the type of `expected`, compared exactly.
template <class T>
bool readsBackAs(const std::string& data, T expected) {
    T value{};
    const auto [end, error] = std::from_chars(data.data(), data.data() + data.size(), value);
    return error == std::errc() && end == data.data() + data.size() && value == expected;
}

SlabFields exampleFields() {
    SlabFields f;
    EXPECT_EQ(ReadInputFile(support::examples()[0].input.string(), f).outcome, ReadOutcome::Loaded);
    return f;
}

TEST(CalcSheetTest, Pages) {
    struct Row {
        const char* name;
        SlabFields fields;
        RunOutcome outcome;
    };
    std::vector<Row> rows;
    for (const support::Example& example : support::examples()) {
        SlabFields f;
        ASSERT_EQ(ReadInputFile(example.input.string(), f).outcome, ReadOutcome::Loaded);
        rows.push_back({"example", f, RunOutcome::Complete});
    }
    SlabFields f = exampleFields();
    f.EffSpan = "30";
    rows.push_back({"range failure", f, RunOutcome::RangeFailure});
    f = exampleFields();
    f.Bitum = "two";
    rows.push_back({"overlay not numeric", f, RunOutcome::NotNumeric});
    f = exampleFields();
    f.Concfc = "0";
    rows.push_back({"f'c of 0: fault at the modular ratio", f, RunOutcome::ArithmeticFault});
    f = exampleFields();
    f.StDistTop = "15";
    rows.push_back({"top steel above the slab: withheld", f, RunOutcome::Complete});
    f = exampleFields();
    f.STAreaBot = "0.1";
    f.StDistTop = "13.5";
    rows.push_back({"midspan face governs", f, RunOutcome::Complete});
    f = exampleFields();
    f.StructNo = "<b>\"&'";
    f.Comments = "Caf\xE9 <script>\r\nx";
    rows.push_back({"hostile texts", f, RunOutcome::Complete});

    std::string page;
    const std::regex dataElement("<data value=\"([^\"]*)\" data-q=\"([^\"]*)\">");
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Row& row = rows[i];
        SCOPED_TRACE(std::string(row.name) + " " + std::to_string(i));
        const RatingResult result = RunRating(row.fields, "12/07/2026");
        ASSERT_EQ(result.outcome, row.outcome);
        const RatedSlab slab{.file = "in.qri",
                             .fields = row.fields,
                             .outcome = slabOutcome(result.outcome),
                             .message = result.message,
                             .result = &result};
        page = calcSheetHtml(slab);

        EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
        EXPECT_EQ(page.find("http"), std::string::npos) << "an outside resource";
        EXPECT_EQ(page.find("<script"), std::string::npos);
        EXPECT_EQ(page.find("src="), std::string::npos);
        EXPECT_EQ(page.find("url("), std::string::npos);
        const bool stopped = row.outcome != RunOutcome::Complete;
        EXPECT_EQ(page.find("class=\"stopped\">The run stopped here") != std::string::npos,
                  stopped);
        EXPECT_NE(page.find(result.message), std::string::npos) << "the stop message";
        // A withheld rating has no rating in bold and no sign-off block, but its reasons.
        const bool withheld = result.rating.status == RatingStatus::Withheld;
        EXPECT_EQ(page.find("<h2>Sign-off</h2>") == std::string::npos, withheld);
        EXPECT_EQ(page.find("RATING WITHHELD") != std::string::npos, withheld);
        EXPECT_EQ(page.find("class=\"n big\"") == std::string::npos, withheld || stopped);
        // The review box lists each finding, or says there is none.
        EXPECT_NE(page.find("<h2 id=\"review\">Review</h2>"), std::string::npos);
        EXPECT_EQ(page.find("<p>No findings.</p>") != std::string::npos, result.findings.empty());
        for (const Finding& finding : result.findings) {
            EXPECT_NE(page.find("<code>" + std::string(finding.code) + "</code>"),
                      std::string::npos);
        }

        // Every number is one of the run's quantities with the engine's value, and every
        // quantity the run reached is on the sheet.
        const Quantities expected = quantities(result.rating);
        std::set<std::string> shown;
        for (auto it = std::sregex_iterator(page.begin(), page.end(), dataElement);
             it != std::sregex_iterator(); ++it) {
            const std::string value = (*it)[1];
            const std::string pointer = (*it)[2];
            // The table holds every quantity the sheet names, or it would not build; one that
            // is missing here is one the run did not reach, or a flag or a text.
            const auto found = expected.find(pointer);
            if (found == expected.end()) {
                ADD_FAILURE() << "not a number the run holds: " << pointer;
                continue;
            }
            shown.insert(pointer);
            EXPECT_TRUE(std::visit([&](auto v) { return readsBackAs(value, v); }, found->second))
                << pointer << " shows " << value;
        }
        for (const auto& [pointer, value] : expected) {
            EXPECT_TRUE(shown.count(pointer)) << "not shown: " << pointer;
        }
    }

    // The last page's hostile texts, escaped and in UTF-8; the raw markup nowhere.
    EXPECT_NE(page.find("&lt;b&gt;&quot;&amp;&#39;"), std::string::npos);
    EXPECT_NE(page.find("Caf\xC3\xA9 &lt;script&gt;"), std::string::npos);
    EXPECT_EQ(page.find("<b>\""), std::string::npos);
    EXPECT_EQ(page.find('\xE9'), std::string::npos);
}

// The sheet of one example of each method, byte for byte as tests/data/calcsheet pins it
// with one element a line; a mismatch writes <temp>/<name>.html.actual and shows the diff.
TEST(CalcSheetTest, GoldenSheets) {
    for (const char* name : {"lf-state-trucks", "ws-slab"}) {
        SCOPED_TRACE(name);
        SlabFields f;
        const std::filesystem::path input =
            std::filesystem::path(SLABRATING_EXAMPLES) / (std::string(name) + ".qri");
        ASSERT_EQ(ReadInputFile(input.string(), f).outcome, ReadOutcome::Loaded);
        const RatingResult result = RunRating(f, "12/07/2026");
        const RatedSlab slab{.file = input.filename().string(),
                             .fields = f,
                             .outcome = slabOutcome(result.outcome),
                             .message = result.message,
                             .result = &result};
        golden::expectSameText(std::filesystem::path(SLABRATING_TEST_DATA) / "calcsheet" /
                                   (std::string(name) + ".html"),
                               golden::oneElementALine(calcSheetHtml(slab)));
    }
}

// A capacity below the factored dead load: the capacity bar ends at the capacity, labelled
// with it, and a dashed box labelled with the negative capacity left reaches to the dead
// load; the bar is not drawn at the dead load.
TEST(CalcSheetTest, ChartOfACapacityBelowTheDeadLoad) {
    SlabFields f = support::loadFactorStrip();
    f.EffSpan = "24";
    f.SlabThick = "30";
    f.StDistTop = "28";
    f.StAreaTop = "0.1";
    const RatingResult result = RunRating(f, "12/07/2026");
    ASSERT_EQ(result.outcome, RunOutcome::Complete);
    const LoadFactorRating& l = *result.rating.loadFactorRating;
    ASSERT_LT(l.LiveLoadCapacity, 0);
    const std::string page = calcSheetHtml({.file = "",
                                            .fields = f,
                                            .outcome = SlabOutcome::Complete,
                                            .message = "",
                                            .result = &result});
    const std::size_t chart = page.find("<title>Capacity and demand");
    ASSERT_NE(chart, std::string::npos);
    const std::string svg = page.substr(chart, page.find("</svg>", chart) - chart);
    EXPECT_NE(svg.find("stroke-dasharray=\"3 2\""), std::string::npos);
    EXPECT_NE(svg.find(">" + formatMask(l.MemberCapacity, 2) + "</text>"), std::string::npos);
    EXPECT_NE(svg.find(">" + formatMask(l.LiveLoadCapacity, 2) + "</text>"), std::string::npos);
    // The dead load names only the demand bars' grey parts, twice.
    const std::string dead = ">" + formatMask(l.factoredDeadLoad, 2) + "</text>";
    std::size_t count = 0;
    for (std::size_t at = svg.find(dead); at != std::string::npos; at = svg.find(dead, at + 1)) {
        ++count;
    }
    EXPECT_EQ(count, 2u);
}

// A file that could not be read has no run: the page says why and shows no number.
TEST(CalcSheetTest, NoRun) {
    const std::string page = calcSheetHtml({.file = "missing.qri",
                                            .fields = {},
                                            .outcome = SlabOutcome::FileNotFound,
                                            .message = "File not found.",
                                            .result = nullptr});
    EXPECT_NE(page.find("The run stopped here (file not found): File not found."),
              std::string::npos);
    EXPECT_NE(page.find("missing.qri"), std::string::npos);
    EXPECT_EQ(page.find("<data"), std::string::npos);
}

}  // namespace
}  // namespace slabrating
