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
#include "engine/rating_run.h"
#include "inputfile/inputfile.h"
#include "tests/support/support.h"

namespace slabrating {
namespace {

using Value = std::variant<float, double, int>;
using Quantities = std::map<std::string, Value>;

// Every number of a rating at its pointer in the JSON result, typed as the engine holds it.
// The groups and keys are those of the JSON result's key list; a group the run did not
// reach is absent.
Quantities quantities(const Rating& r) {
    Quantities all;
    std::string group;
    const auto add = [&](std::string_view key, Value v) {
        all.emplace("/rating/" + group + std::string(key), v);
    };
    const auto section = [&](const SectionQuantities& s) {
        const std::string pass = group;
        group += "section/";
        add("A", s.A), add("B", s.B), add("BPrime", s.BPrime), add("P", s.P), add("Q", s.Q);
        add("k", s.k), add("c", s.c), add("zr", s.zr), add("j", s.j), add("e", s.e);
        add("u", s.u), add("r", s.r);
        group = pass;
    };
    if (const auto& x = r.input) {
        group = "input/";
        add("LoadType", x->LoadType);
        for (const FieldInfo& f : kFields) {
            if (f.kind == FieldKind::Number) {
                std::string unit(f.unit);
                std::erase(unit, ' ');
                add(std::string(f.name) + (unit.empty() ? "" : "_" + unit), (*x).*f.heldNumber);
            }
        }
    }
    if (const auto& x = r.loadFactorInput) {
        group = "loadFactorInput/";
        add("span_ft", x->span), add("thickness_in", x->thickness);
        add("areaTop_sqin", x->areaTop), add("distTop_in", x->distTop);
        add("areaBot_sqin", x->areaBot), add("distBot_in", x->distBot);
        add("fc_psi", x->fc), add("fy_psi", x->fy);
    }
    if (const auto& x = r.inventoryAllowables) {
        group = "inventoryAllowables/";
        add("InvConcStress_psi", x->InvConcStress), add("InvSteelStress_psi", x->InvSteelStress);
    }
    if (const auto& x = r.thicknessCheck) {
        group = "thicknessCheck/";
        add("MinThickness_ft", x->MinThickness), add("thicknessFt_ft", x->thicknessFt);
    }
    if (const auto& x = r.derivedModularRatio) {
        group = "";
        add("derivedModularRatio", *x);
    }
    if (const auto& x = r.ultimateCapacity) {
        group = "ultimateCapacity/";
        add("Beta1", x->Beta1), add("aTop_in", x->aTop), add("aBot_in", x->aBot);
        add("leverTop_sqin", x->leverTop), add("leverBot_sqin", x->leverBot);
        add("UltimateCapacity_lbft", x->UltimateCapacity);
    }
    if (const auto& x = r.operatingAllowables) {
        group = "operatingAllowables/";
        add("OperConcStress_psi", x->OperConcStress);
        add("OperSteelStress_psi", x->OperSteelStress);
    }
    if (const auto& x = r.sectionInput) {
        group = "sectionInput/";
        add("n", x->n), add("InvConcStress_psi", x->InvConcStress);
        add("InvSteelStress_psi", x->InvSteelStress), add("OperConcStress_psi", x->OperConcStress);
        add("OperSteelStress_psi", x->OperSteelStress), add("areaTop_sqin", x->areaTop);
        add("d_in", x->d), add("areaBot_sqin", x->areaBot), add("dPrime_in", x->dPrime);
    }
    const auto pass = [&](const auto& p) {
        section(p.section);
        add("CompSteelFactor", p.CompSteelFactor), add("AdjustCount", p.AdjustCount);
        add("ResistingMoment_lbft", p.ResistingMoment);
        add("ConcreteStress_psi", p.ConcreteStress), add("SteelStress_psi", p.SteelStress);
        add("CompSteelStress_psi", p.CompSteelStress);
    };
    if (const auto& x = r.inventoryPass) {
        group = "inventoryPass/";
        pass(*x);
    }
    if (const auto& x = r.operatingPass) {
        group = "operatingPass/";
        pass(*x);
    }
    if (const auto& x = r.moments) {
        group = "moments/";
        add("w_lbperft", x->w), add("M_DL_lbft", x->M_DL), add("M_LL_lbft", x->M_LL);
        add("stateTruckMoment_kipft", x->stateTruckMoment);
        if (r.input->LoadType != StateTrucks) {
            add("interstateTruckMoment_kipft", x->interstateTruckMoment);
        }
    }
    const auto level = [&](const LevelRating& l) {
        add("MemberCapacity_kipft", l.MemberCapacity);
        add("LiveLoadCapacity_kipft", l.LiveLoadCapacity);
        add("ratingFactor", l.ratingFactor), add("RatingTons_tons", l.RatingTons);
    };
    if (const auto& x = r.workingStressInventory) {
        group = "workingStressInventory/";
        level(*x);
    }
    if (const auto& x = r.workingStressOperating) {
        group = "workingStressOperating/";
        level(*x);
    }
    if (const auto& x = r.reportMoments) {
        group = "reportMoments/";
        add("DeadLoadMoment_kipft", x->DeadLoadMoment);
        add("LiveLoadMoment_kipft", x->LiveLoadMoment);
    }
    if (const auto& x = r.loadFactorRating) {
        group = "loadFactorRating/";
        add("MemberCapacity_kipft", x->MemberCapacity);
        add("LiveLoadCapacity_kipft", x->LiveLoadCapacity), add("RatingFactor", x->RatingFactor);
        add("inventoryRatingFactor", x->inventoryRatingFactor);
        add("inventoryTons_tons", x->inventoryTons), add("operatingTons_tons", x->operatingTons);
    }
    if (const auto& x = r.stressScales) {
        group = "stressScales/";
        add("StressScaleInv", x->StressScaleInv), add("StressScaleOper", x->StressScaleOper);
    }
    const auto column = [&](const auto& c) {
        add("ConcreteStress_psi", c.ConcreteStress), add("SteelStress_psi", c.SteelStress);
        add("CompSteelStress_psi", c.CompSteelStress);
        add("MemberCapacity_kipft", c.MemberCapacity);
        add("LiveLoadCapacity_kipft", c.LiveLoadCapacity), add("RatingTons_tons", c.RatingTons);
    };
    if (const auto& x = r.hs20) {
        group = "hs20/inventory/";
        column(x->inventory);
        add("RatingFactor", x->inventory.RatingFactor);
        group = "hs20/operating/";
        column(x->operating);
        add("RatingFactor", x->operating.RatingFactor);
    }
    if (const auto& x = r.legalTrucks) {
        group = "legalTrucks/";
        add("wheelKips_kips", x->wheelKips);
        if (x->series == TruckSeries::State) {
            add("TruckMoment_kipft", r.moments->stateTruckMoment);
        } else {
            add("TruckMoment_kipft", r.moments->interstateTruckMoment);
        }
        for (std::size_t i = 0; i < x->trucks.size(); ++i) {
            group = "legalTrucks/trucks/" + std::to_string(i) + "/";
            add("grossTons_tons", x->trucks[i].grossTons);
            add("RatingFactor", x->trucks[i].RatingFactor);
            add("RatingTons_tons", x->trucks[i].RatingTons);
        }
    }
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

        // Every number is one of the run's quantities with the engine's value, and every
        // quantity the run reached is on the sheet.
        const Quantities expected = quantities(result.rating);
        std::set<std::string> shown;
        for (auto it = std::sregex_iterator(page.begin(), page.end(), dataElement);
             it != std::sregex_iterator(); ++it) {
            const std::string value = (*it)[1];
            const std::string pointer = (*it)[2];
            const auto found = expected.find(pointer);
            if (found == expected.end()) {
                ADD_FAILURE() << "no such quantity: " << pointer;
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
