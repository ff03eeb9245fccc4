// The JSON result: its numbers are the engine's values, and a stopped run shows only the
// quantities it reached.
#include "export/json_result.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/field_table.h"
#include "engine/rating_run.h"
#include "export/result_schema.h"
#include "inputfile/inputfile.h"
#include "tests/support/golden.h"
#include "tests/support/support.h"

namespace slabrating {
namespace {

using Json = nlohmann::ordered_json;

Json resultOf(const SlabFields& fields, RatingResult& result) {
    result = RunRating(fields, "12/07/2026");
    const RatedSlab slab{"slab.qri", fields, slabOutcome(result.outcome), result.message, &result};
    return Json::parse(slabJsonText(slab));
}

// Every number reads back to exactly the value the run holds: a float member through
// single precision, a double member through double precision.
TEST(JsonResult, numbersReadBackToTheEnginesValues) {
    struct Row {
        const char* pointer;
        std::function<double(const Rating&)> value;
        bool single;
    };
    const Row rows[] = {
        {"/rating/input/StAreaTop_sqin", [](const Rating& r) { return r.input->StAreaTop; }, true},
        {"/rating/inventoryPass/section/k",
         [](const Rating& r) { return r.inventoryPass->section.k; }, false},
        {"/rating/inventoryPass/steelStress_psi",
         [](const Rating& r) { return r.inventoryPass->SteelStress; }, true},
        {"/rating/moments/M_LL_lbft", [](const Rating& r) { return r.moments->M_LL; }, false},
        {"/rating/reportMoments/deadLoadMoment_kipft",
         [](const Rating& r) { return r.reportMoments->DeadLoadMoment; }, true},
        {"/rating/hs20/inventory/liveLoadCapacity_kipft",
         [](const Rating& r) { return r.hs20->inventory.LiveLoadCapacity; }, true},
        {"/rating/hs20/operating/ratingTons",
         [](const Rating& r) { return r.hs20->operating.RatingTons; }, false},
    };
    for (const support::Example& example : support::examples()) {
        SCOPED_TRACE(example.input.filename().string());
        SlabFields fields;
        ASSERT_FALSE(ReadInputFile(example.input.string(), fields).stopped());
        RatingResult result;
        const Json json = resultOf(fields, result);
        for (const Row& row : rows) {
            SCOPED_TRACE(row.pointer);
            const double read = json.at(Json::json_pointer(row.pointer)).get<double>();
            if (row.single) {
                EXPECT_EQ(static_cast<float>(read), static_cast<float>(row.value(result.rating)));
            } else {
                EXPECT_EQ(read, row.value(result.rating));
            }
        }
        EXPECT_EQ(json.at("report").get<std::string>(), result.report);
    }
}

// The JSON result of each bundled example, byte for byte and in its key order, as
// tests/data/json/<example>.json pins it. A mismatch shows both texts indented, one key a line.
TEST(JsonResult, examplesMatchTheirGoldenFiles) {
    for (const support::Example& example : support::examples()) {
        const std::string name = example.input.stem().string();
        SCOPED_TRACE(name);
        SlabFields fields;
        ASSERT_FALSE(ReadInputFile(example.input.string(), fields).stopped());
        const RatingResult result = RunRating(fields, "12/07/2026");
        const RatedSlab slab{example.input.filename().string(), fields, slabOutcome(result.outcome),
                             result.message, &result};
        const std::string actual = slabJsonText(slab) + "\n";
        const std::filesystem::path golden =
            std::filesystem::path(SLABRATING_TEST_DATA) / "json" / (name + ".json");
        if (actual == support::readBytes(golden)) {
            continue;
        }
        // One line is hard to read in a diff: both sides indented, one key a line.
        const auto indented = [](const std::string& text) {
            return Json::accept(text) ? Json::parse(text).dump(2) + "\n" : text;
        };
        const std::filesystem::path expectedIndented =
            std::filesystem::temp_directory_path() / (name + ".json.expected");
        support::writeBytes(expectedIndented, indented(support::readBytes(golden)));
        golden::showDiff(expectedIndented, indented(actual), name + ".json.indented");
        support::writeBytes(std::filesystem::temp_directory_path() / (name + ".json.actual"),
                            actual);
        ADD_FAILURE() << "the JSON result differs from " << golden << "; actual text in "
                      << (std::filesystem::temp_directory_path() / (name + ".json.actual"));
    }
}

// The schema in docs/ is the one the tables make: a quantity added to the table, or a finding
// code or an outcome, is in it, and nothing else is. `cmake --build <build> -t schema` writes
// it anew.
TEST(JsonResult, schemaInDocsIsTheGeneratedOne) {
    golden::expectSameText(
        std::filesystem::path(SLABRATING_SOURCE) / "docs/slab-result.schema.json",
        resultSchemaText());
}

// A single-precision value is written as the float's shortest text, not the double's.
TEST(JsonResult, singlesKeepTheirShortestText) {
    SlabFields fields;
    ASSERT_FALSE(ReadInputFile(support::examples().front().input.string(), fields).stopped());
    RatingResult result;
    const std::string text = resultOf(fields, result).dump();
    EXPECT_NE(text.find("\"StAreaTop_sqin\":0.31,"), std::string::npos) << text.substr(0, 2000);
}

// A stopped run gives the groups it reached and nothing more, and the status "stopped".
TEST(JsonResult, aStoppedRunShowsWhatItReached) {
    SlabFields slab;
    ASSERT_FALSE(readInputRecord(support::kExampleLine, slab).stopped());
    struct Row {
        const char* name;
        const char* field;
        const char* text;
        const char* outcome;
        Json method;
        std::vector<std::string> groups;
    };
    const Row rows[] = {
        {"not numeric", "Bitum", "x", "not numeric", nullptr, {"status"}},
        {"range failure", "EffSpan", "30", "range failure", nullptr, {"input", "status"}},
        // f'c of 0 divides by zero where the modular ratio is derived from it.
        {"arithmetic fault",
         "Concfc",
         "0",
         "arithmetic fault",
         "load factor",
         {"input", "loadFactorInput", "inventoryAllowables", "thicknessCheck", "status"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SlabFields fields = slab;
        fields.*fieldNamed(row.field)->text = row.text;
        RatingResult result;
        const Json json = resultOf(fields, result);
        EXPECT_EQ(json.at("outcome"), row.outcome);
        EXPECT_EQ(json.at("message"), result.message);
        std::vector<std::string> groups;
        for (const auto& [group, value] : json.at("rating").items()) {
            groups.push_back(group);
        }
        EXPECT_EQ(groups, row.groups);
        EXPECT_EQ(json.at("rating").at("status"), "stopped");
        EXPECT_EQ(json.at("method"), row.method);
    }
}

}  // namespace
}  // namespace slabrating
