// The analysis steps of the calculation sheet: each the formula, the numbers put in and the
// result, in the order the rating run forms them.
#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "engine/field_table.h"
#include "engine/format.h"
#include "engine/rating_run.h"
#include "engine/rules.h"
#include "export/sheet_page.h"

namespace slabrating::sheet {

namespace {

using namespace rules;

constexpr int kReportDecimals = 2;
constexpr int kFactorDecimals = 3;

using HI = Hs20Inventory;
using HO = Hs20Operating;
using IA = AllowableStresses;
using LF = LoadFactorInput;
using LR = LoadFactorRating;
using RM = ReportMoments;
using TC = ThicknessCheck;
using UC = UltimateCapacityResult;

// The numbers the run tests before any other check: all but the modular ratio, which counts
// as 0 when it is not a number.
constexpr int kTestedNumbers =
    static_cast<int>(std::count_if(kFields.begin(), kFields.end(), [](const FieldInfo& f) {
        return !f.notNumericMessage.empty();
    }));

// The range checks in the run's order, each as a formula: "d<sub>top</sub> &ge; 0.1".
std::string rangeCheckFormulas() {
    std::string formulas;
    for (const RangeCheck& check : kRangeChecks) {
        formulas += formulas.empty() ? "" : ", ";
        formulas += fieldInfo(check.field).symbol;
        formulas += check.bound == RangeBound::AtLeast ? " &ge; " : " &le; ";
        formulas += shortestText(check.limit);
    }
    return formulas;
}

// The value of each field a range check tests, once, in the checks' order: "S = 18.5".
void rangeCheckedValues(Page& page) {
    forEachIndex<kRangeChecks.size()>([&](auto i) {
        constexpr std::size_t kAt = decltype(i)::value;
        constexpr Field field = kRangeChecks[kAt].field;
        constexpr bool first = [] {
            for (std::size_t j = 0; j < kAt; ++j) {
                if (kRangeChecks[j].field == field) {
                    return false;
                }
            }
            return true;
        }();
        if constexpr (first) {
            page.parts(kAt == 0 ? "" : ", ", fieldInfo(field).symbol, " = ", inputNumber<field>);
        }
    });
}

bool validation(Page& page) {
    const Rating& r = *page.rating();
    page.openStep("Validation of the inputs",
                  "The " + shortestText(kTestedNumbers) +
                      " numbers must read as numbers, in the inputs table's order; a modular "
                      "ratio that does not counts as 0. Then " +
                      shortestText(static_cast<int>(kRangeChecks.size())) + " range checks.");
    if (!r.input) {
        page.closeStep();
        page.stopHere();
        return false;
    }
    page.row("the " + shortestText(kTestedNumbers) + " numeric fields");
    page.raw("numbers, as the inputs table shows");
    page.resultText("all read as numbers");
    page.row(rangeCheckFormulas());
    rangeCheckedValues(page);
    page.resultText(r.method ? "all hold" : "<b>one does not hold</b>");
    if (!r.method) {
        page.note("The message names the last check, in this order, that does not hold.");
        page.closeStep();
        page.stopHere();
        return false;
    }
    page.closeStep();
    return true;
}

bool loadFactorInput(Page& page) {
    const Rating& r = *page.rating();
    if (!page.reached(r.loadFactorInput)) {
        return false;
    }
    constexpr At<&Rating::loadFactorInput> lf;
    page.openStep("Load factor inputs",
                  "The inputs of the capacity, as entered but for F<sub>y</sub>.");
    page.item("S", at<&LF::span>(lf), "ft");
    page.item("h", at<&LF::thickness>(lf), "in");
    page.item("A<sub>s,top</sub>", at<&LF::areaTop>(lf), "sq in");
    page.item("d<sub>top</sub>", at<&LF::distTop>(lf), "in");
    page.item("A<sub>s,bot</sub>", at<&LF::areaBot>(lf), "sq in");
    page.item("d&prime;", at<&LF::distBot>(lf), "in");
    page.item("f&prime;<sub>c</sub>", at<&LF::fc>(lf), "psi");
    page.eq("F<sub>y</sub> = min(Steel Fy, " + shortestText(kMaxFy) + ")", at<&LF::fy>(lf), "psi",
            "min(", inputNumber<Field::SteelFy>, ", ", Const{kMaxFy}, ")");
    page.closeStep();
    return true;
}

bool thicknessCheck(Page& page) {
    const Rating& r = *page.rating();
    if (!page.reached(r.thicknessCheck)) {
        return false;
    }
    constexpr At<&Rating::thicknessCheck> t;
    constexpr At<&Rating::loadFactorInput> lf;
    page.openStep("Minimum slab thickness", "The old rule the report's warning names.");
    page.eq(
        "t<sub>min</sub> = max(" + shortestText(kMinThicknessFloor) + ", (S + " +
            shortestText(kThicknessSpanAddend) + ") / " + shortestText(kThicknessSpanDivisor) + ")",
        at<&TC::MinThickness>(t), "ft", "max(", Const{kMinThicknessFloor}, ", (", at<&LF::span>(lf),
        " + ", Const{kThicknessSpanAddend}, ") / ", Const{kThicknessSpanDivisor}, ")");
    page.eq("t = h / " + shortestText(kInchesPerFoot), at<&TC::thicknessFt>(t), "ft",
            at<&LF::thickness>(lf), " / ", Const{kInchesPerFoot});
    page.row("t &ge; t<sub>min</sub>");
    page.parts(at<&TC::thicknessFt>(t), " &ge; ", at<&TC::MinThickness>(t));
    page.resultText(r.thicknessCheck->warning ? "<b>does not hold</b>" : "holds");
    if (r.thicknessCheck->warning) {
        page.note(
            "<span class=\"warn\">The slab is thinner than the minimum; the report carries "
            "the line " +
            reportLine(kThicknessWarningLine) + ". The rating goes on.</span>");
    }
    page.closeStep();
    return true;
}

// The face that governs the capacity, and the constants of its formulas.
std::string capacityNote(const UltimateCapacityResult& u) {
    std::string found = u.governs == TensionFace::Top
                            ? "The top face governs (negative moment over the girders)"
                            : "The bottom face governs (positive moment between the girders)";
    if (u.aTopLimited || u.aBotLimited) {
        found += u.aTopLimited && u.aBotLimited ? "; both block depths are"
                 : u.aTopLimited                ? "; the top block depth is"
                                                : "; the bottom block depth is";
        found += " limited to " + shortestText(kBalancedSteelShare) + " of the balanced one";
    }
    return found + ". " + shortestText(kBlockForcePerFcIn) + " = " +
           shortestText(kBlockStressShare) + " &times; " + shortestText(kStripWidthIn) +
           " in of strip; " + shortestText(kThreeQuartersBalanced) + " = " +
           shortestText(kBalancedSteelShare) + " &times; " + shortestText(kBalancedStrainStress) +
           " psi; " + shortestText(kCapacityFactor) + " = " + shortestText(kFlexurePhi) +
           " &times; " + shortestText(kBlockStressShare) + ", with the strip and lb-in to lb-ft.";
}

bool ultimateCapacity(Page& page) {
    const Rating& r = *page.rating();
    if (!page.reached(r.ultimateCapacity)) {
        return false;
    }
    constexpr At<&Rating::ultimateCapacity> u;
    constexpr At<&Rating::loadFactorInput> lf;
    page.openStep("Factored moment capacity &phi;M<sub>n</sub>",
                  "Each face's steel alone in tension, no steel counted in compression (the "
                  "report's " +
                      reportLine(kLoadFactorBannerLine) +
                      "); the overlay does not enter the capacity.");
    page.eq("&beta;<sub>1</sub> = " + shortestText(kBeta1AtBase) +
                " &minus; (f&prime;<sub>c</sub> &minus; " + shortestText(kBeta1BaseStrength) +
                ") &times; " + shortestText(kBeta1PerPsi) + ", within " + shortestText(kMinBeta1) +
                " &hellip; " + shortestText(kMaxBeta1),
            at<&UC::Beta1>(u), "", Const{kBeta1AtBase}, " &minus; (", at<&LF::fc>(lf), " &minus; ",
            Const{kBeta1BaseStrength}, ") &times; ", Const{kBeta1PerPsi});
    const std::string balanced = " &beta;<sub>1</sub> " + shortestText(kThreeQuartersBalanced);
    const std::string block = " / (" + shortestText(kBlockForcePerFcIn) + " f&prime;<sub>c</sub>)";
    const std::string fyTerm = " / (" + shortestText(kBalancedStrainStress) + " + F<sub>y</sub>)";
    page.eq("a<sub>top</sub> = min(A<sub>s,top</sub> F<sub>y</sub>" + block + "," + balanced +
                " d<sub>top</sub>" + fyTerm + ")",
            at<&UC::aTop>(u), "in", "min(", at<&LF::areaTop>(lf), " &times; ", at<&LF::fy>(lf),
            " / (", Const{kBlockForcePerFcIn}, " &times; ", at<&LF::fc>(lf), "), ",
            at<&UC::Beta1>(u), " &times; ", Const{kThreeQuartersBalanced}, " &times; ",
            at<&LF::distTop>(lf), " / (", Const{kBalancedStrainStress}, " + ", at<&LF::fy>(lf),
            "))");
    page.eq("a<sub>bot</sub> = min(A<sub>s,bot</sub> F<sub>y</sub>" + block + "," + balanced +
                " (h &minus; d&prime;)" + fyTerm + ")",
            at<&UC::aBot>(u), "in", "min(", at<&LF::areaBot>(lf), " &times; ", at<&LF::fy>(lf),
            " / (", Const{kBlockForcePerFcIn}, " &times; ", at<&LF::fc>(lf), "), ",
            at<&UC::Beta1>(u), " &times; ", Const{kThreeQuartersBalanced}, " &times; (",
            at<&LF::thickness>(lf), " &minus; ", at<&LF::distBot>(lf), ") / (",
            Const{kBalancedStrainStress}, " + ", at<&LF::fy>(lf), "))");
    page.eq("T<sub>top</sub> = a<sub>top</sub> (d<sub>top</sub> &minus; a<sub>top</sub> / 2)",
            at<&UC::leverTop>(u), "sq in", at<&UC::aTop>(u), " &times; (", at<&LF::distTop>(lf),
            " &minus; ", at<&UC::aTop>(u), " / 2)");
    page.eq("T<sub>bot</sub> = a<sub>bot</sub> (h &minus; a<sub>bot</sub> / 2 &minus; d&prime;)",
            at<&UC::leverBot>(u), "sq in", at<&UC::aBot>(u), " &times; (", at<&LF::thickness>(lf),
            " &minus; ", at<&UC::aBot>(u), " / 2 &minus; ", at<&LF::distBot>(lf), ")");
    page.eq("&phi;M<sub>n</sub> = min(T<sub>top</sub>, T<sub>bot</sub>) &times; " +
                shortestText(kCapacityFactor) + " f&prime;<sub>c</sub>",
            at<&UC::UltimateCapacity>(u), "lb-ft", "min(", at<&UC::leverTop>(u), ", ",
            at<&UC::leverBot>(u), ") &times; ", Const{kCapacityFactor}, " &times; ",
            at<&LF::fc>(lf));
    page.note(capacityNote(*r.ultimateCapacity));
    page.closeStep();
    return true;
}

bool modularRatio(Page& page, bool ownStep = true) {
    const Rating& r = *page.rating();
    if (!page.reached(r.derivedModularRatio)) {
        return false;
    }
    if (ownStep) {
        page.openStep("Modular ratio from f&prime;<sub>c</sub>",
                      "n = E<sub>s</sub> / E<sub>c</sub> with E<sub>s</sub> = " +
                          shortestText(kSteelModulusPsi) +
                          " psi and E<sub>c</sub> = " + shortestText(kConcreteModulusFactor) +
                          " &radic;f&prime;<sub>c</sub>, rounded to a whole number.");
    }
    page.eq("n = max(" + shortestText(kMinModularRatio) + ", Int(" +
                shortestText(kModularRatioConstant) + " / &radic;f&prime;<sub>c</sub> + " +
                shortestText(kRoundingHalf) + "))",
            At<&Rating::derivedModularRatio>{}, "", "max(", Const{kMinModularRatio}, ", Int(",
            Const{kModularRatioConstant}, " / &radic;", At<&Rating::loadFactorInput, &LF::fc>{},
            " + ", Const{kRoundingHalf}, "))");
    if (ownStep) {
        page.closeStep();
    }
    return true;
}

bool inventoryAllowables(Page& page, bool ownStep = true) {
    const Rating& r = *page.rating();
    if (!page.reached(r.inventoryAllowables)) {
        return false;
    }
    constexpr At<&Rating::inventoryAllowables> a;
    constexpr At<&Rating::loadFactorInput> lf;
    if (ownStep) {
        page.openStep("Inventory allowable stresses",
                      "They stand for the entered allowables of a "
                      "working stress run in the section analysis.");
    }
    page.eq("F<sub>c,inv</sub> = " + shortestText(kInvConcShare) + " f&prime;<sub>c</sub>",
            at<&IA::InvConcStress>(a), "psi", Const{kInvConcShare}, " &times; ", at<&LF::fc>(lf));
    page.eq("F<sub>s,inv</sub> = min(" + shortestText(kInvSteelShare) + " F<sub>y</sub>, " +
                shortestText(kMaxInvSteelStress) + ")",
            at<&IA::InvSteelStress>(a), "psi", "min(", Const{kInvSteelShare}, " &times; ",
            at<&LF::fy>(lf), ", ", Const{kMaxInvSteelStress}, ")");
    if (ownStep) {
        page.closeStep();
    }
    return true;
}

bool operatingAllowables(Page& page, bool ownStep = true) {
    const Rating& r = *page.rating();
    if (!page.reached(r.operatingAllowables)) {
        return false;
    }
    constexpr At<&Rating::operatingAllowables> o;
    using OA = OperatingAllowables;
    if (ownStep) {
        page.openStep(
            "Operating allowable stresses",
            "From the rating manual's table, printed whole in appendix A; the row used is "
            "marked there.");
    }
    // The inventory allowables they are chosen by: derived in a load factor run, else entered.
    const auto rows = [&](auto conc, auto steel) {
        page.row("F<sub>c,oper</sub> by f&prime;<sub>c</sub> = " +
                 shortestText(kFcPerInventoryStress) + " F<sub>c,inv</sub>");
        page.parts("table at ", Const{kFcPerInventoryStress}, " &times; ", conc);
        page.result(at<&OA::OperConcStress>(o), "psi");
        page.eq("F<sub>s,oper</sub> by F<sub>s,inv</sub>", at<&OA::OperSteelStress>(o), "psi",
                "table at ", steel);
    };
    if (page.loadFactor()) {
        constexpr At<&Rating::inventoryAllowables> ia;
        rows(at<&IA::InvConcStress>(ia), at<&IA::InvSteelStress>(ia));
    } else {
        rows(inputNumber<Field::Concfc>, inputNumber<Field::SteelFy>);
    }
    if (ownStep) {
        page.closeStep();
    }
    return true;
}

bool moments(Page& page) {
    const Rating& r = *page.rating();
    if (!page.reached(r.moments) || !page.reached(r.reportMoments)) {
        return false;
    }
    constexpr At<&Rating::moments> m;
    constexpr At<&Rating::reportMoments> k;
    page.openStep("Dead load and live load moments",
                  "Per foot of width; the same for both methods.");
    page.eq("w = " + shortestText(static_cast<double>(kSlabWeightPerInch)) + " h + " +
                shortestText(static_cast<double>(kOverlayWeightPerInch)) + " b",
            at<&Moments::w>(m), "lb/ft", Const{static_cast<double>(kSlabWeightPerInch)},
            " &times; ", inputNumber<Field::SlabThick>, " + ",
            Const{static_cast<double>(kOverlayWeightPerInch)}, " &times; ",
            inputNumber<Field::Bitum>);
    page.eq("M<sub>DL</sub> = S&sup2; &times; " + shortestText(kDeadLoadCoefficient) + " w",
            at<&Moments::M_DL>(m), "lb-ft", inputNumber<Field::EffSpan>, "&sup2; &times; ",
            Const{kDeadLoadCoefficient}, " &times; ", at<&Moments::w>(m));
    page.eq("M<sub>LL</sub> = (S + " + shortestText(kSlabSpanAddend) + ") &times; " +
                shortestText(kLiveLoadConstant),
            at<&Moments::M_LL>(m), "lb-ft", "(", inputNumber<Field::EffSpan>, " + ",
            Const{kSlabSpanAddend}, ") &times; ", Const{kLiveLoadConstant});
    const std::string wheel = shortestText(kHs20WheelLb);
    const SeriesInfo& state = seriesInfo(TruckSeries::State);
    const double stateWheel = seriesWheelKips(TruckSeries::State);
    page.eq("M<sub>" + std::string(state.symbol) + "</sub> = " + shortestText(stateWheel) +
                " M<sub>LL</sub> / " + wheel,
            at<&Moments::stateTruckMoment>(m), "kip-ft", Const{stateWheel}, " &times; ",
            at<&Moments::M_LL>(m), " / ", Const{kHs20WheelLb});
    if (r.moments->interstateTruckMoment) {
        const double wheelKips = seriesWheelKips(TruckSeries::Interstate);
        page.eq("M<sub>" + std::string(seriesInfo(TruckSeries::Interstate).symbol) +
                    "</sub> = " + shortestText(wheelKips) + " M<sub>LL</sub> / " + wheel +
                    ", formed when the load type is not " +
                    loadTypeInfo(LoadType::StateTrucks).code,
                at<&Moments::interstateTruckMoment>(m), "kip-ft", Const{wheelKips}, " &times; ",
                at<&Moments::M_LL>(m), " / ", Const{kHs20WheelLb});
    }
    const std::string kip = shortestText(kLbPerKip);
    page.eq("DL = M<sub>DL</sub> / " + kip + ", as the report prints it",
            at<&RM::DeadLoadMoment>(k), "kip-ft", at<&Moments::M_DL>(m), " / ", Const{kLbPerKip});
    page.eq("LL+I = M<sub>LL</sub> / " + kip, at<&RM::LiveLoadMoment>(k), "kip-ft",
            at<&Moments::M_LL>(m), " / ", Const{kLbPerKip});
    page.closeStep();
    return true;
}

bool loadFactorRating(Page& page) {
    const Rating& r = *page.rating();
    if (!page.reached(r.loadFactorRating)) {
        return false;
    }
    constexpr At<&Rating::loadFactorRating> l;
    constexpr At<&Rating::reportMoments> k;
    page.openStep("Load factor rating",
                  "The factored capacity against the factored loads; the levels differ only by "
                  "the live-load factor, so the capacities are the same at both.");
    page.eq("M<sub>cap</sub> = &phi;M<sub>n</sub> &times; " + shortestText(kKipPerLb),
            at<&LR::MemberCapacity>(l), "kip-ft",
            At<&Rating::ultimateCapacity, &UC::UltimateCapacity>{}, " &times; ", Const{kKipPerLb});
    page.eq("A<sub>1</sub> DL", at<&LR::factoredDeadLoad>(l), "kip-ft", Const{kDeadLoadFactor},
            " &times; ", at<&RM::DeadLoadMoment>(k));
    page.eq("M<sub>LL+I,cap</sub> = M<sub>cap</sub> &minus; A<sub>1</sub> DL",
            at<&LR::LiveLoadCapacity>(l), "kip-ft", at<&LR::MemberCapacity>(l), " &minus; ",
            at<&LR::factoredDeadLoad>(l));
    page.eq("A<sub>2</sub> (LL+I), operating", at<&LR::factoredLiveLoad>(l), "kip-ft",
            Const{kLiveLoadFactor}, " &times; ", at<&RM::LiveLoadMoment>(k));
    page.eq("RF = M<sub>LL+I,cap</sub> / (A<sub>2</sub> (LL+I))", at<&LR::RatingFactor>(l), "",
            at<&LR::LiveLoadCapacity>(l), " / ", at<&LR::factoredLiveLoad>(l));
    page.eq("HS20 operating rating = " + shortestText(kHs20Tons) + " RF", at<&LR::operatingTons>(l),
            "tons", Const{kHs20Tons}, " &times; ", at<&LR::RatingFactor>(l));
    page.eq("Inventory RF = " + shortestText(kInventoryShare) + " RF",
            at<&LR::inventoryRatingFactor>(l), "", Const{kInventoryShare}, " &times; ",
            at<&LR::RatingFactor>(l));
    page.eq("HS20 inventory rating = " + shortestText(kInventoryShare) + " &times; operating",
            at<&LR::inventoryTons>(l), "tons", Const{kInventoryShare}, " &times; ",
            at<&LR::operatingTons>(l));
    page.eq("(A<sub>2</sub> / " + shortestText(kInventoryShare) +
                ") (LL+I), the inventory demand of the chart",
            at<&LR::inventoryFactoredLiveLoad>(l), "kip-ft", Const{kLiveLoadFactor}, " / ",
            Const{kInventoryShare}, " &times; ", at<&RM::LiveLoadMoment>(k));
    page.closeStep();
    return true;
}

void hs20Table(Page& page) {
    page.openStep("HS20 truck (" + shortestText(kHs20Tons) + " tons): the report's table",
                  "Values as the report prints them, the rating factor to three decimals.");
    page.raw("<table class=\"grid\"><tr><th></th><th>Inventory</th><th>Operating</th></tr>");
    const auto line = [&page](std::string_view label, auto inv, auto op, int decimals) {
        page.raw("<tr><td>");
        page.raw(label);
        page.raw("</td><td class=\"n\">");
        page.put(inv, decimals);
        page.raw("</td><td class=\"n\">");
        page.put(op, decimals);
        page.raw("</td></tr>");
    };
    constexpr At<&Rating::hs20, &Hs20Rating::inventory> i;
    constexpr At<&Rating::hs20, &Hs20Rating::operating> o;
    line("Actual concrete stress (psi)", at<&HI::ConcreteStress>(i), at<&HO::ConcreteStress>(o),
         kReportDecimals);
    line("Actual reinforcing steel stress (psi)", at<&HI::SteelStress>(i), at<&HO::SteelStress>(o),
         kReportDecimals);
    line("Actual compression steel stress (psi)", at<&HI::CompSteelStress>(i),
         at<&HO::CompSteelStress>(o), kReportDecimals);
    line("Member capacity (kip-ft)", at<&HI::MemberCapacity>(i), at<&HO::MemberCapacity>(o),
         kReportDecimals);
    line("Member capacity for LL+I (kip-ft)", at<&HI::LiveLoadCapacity>(i),
         at<&HO::LiveLoadCapacity>(o), kReportDecimals);
    line("Rating factor", at<&HI::RatingFactor>(i), at<&HO::RatingFactor>(o), kFactorDecimals);
    line("<b>Rating (tons)</b>", at<&HI::RatingTons>(i), at<&HO::RatingTons>(o), kReportDecimals);
    page.raw("</table>");
    if (page.loadFactor()) {
        page.note(
            "In the load factor method both member capacities are &phi;M<sub>n</sub> and "
            "&phi;M<sub>n</sub> &minus; A<sub>1</sub> DL: one value at both levels, which "
            "differ only by the live-load factor. " +
            reportLine(kLoadFactorBannerLine) +
            " speaks of the capacity: the stress rows come from the working stress analysis "
            "(appendix B), "
            "which counts the compression steel, carried to the load factor rating load.");
    }
    page.closeStep();
}

// The legal-truck table at `table`, the report's or the governing rating's, from the operating
// HS20 rating that decides it (absent table: 36 tons or more).
template <class Table, class Tons, class Factor>
void legalTrucks(Page& page, Table table, Tons tons, Factor factor, bool ofGoverning) {
    using L = LegalTruckRatings;
    using T = LegalTruck;
    const std::string hs20 = shortestText(kHs20Tons);
    const std::string rating =
        std::string(ofGoverning ? "The governing" : "The report's") + " HS20 operating rating";
    const L* held = page.held(table);
    if (held == nullptr) {
        page.openStep(ofGoverning ? "Legal trucks of the governing rating" : "Legal trucks",
                      "Rated when the HS20 operating rating is below " + hs20 + " tons.");
        page.row(rating + " &lt; " + hs20 + " tons");
        page.parts(tons, " &ge; ", Const{kHs20Tons});
        page.resultText("no legal-truck table");
        page.closeStep();
        return;
    }
    const L& l = *held;
    page.openStep(
        (ofGoverning ? "Legal trucks of the governing rating: " : "Legal trucks of the report: ") +
            std::string(seriesInfo(l.series).title),
        rating + " is below " + hs20 +
            " tons, so the three legal trucks of the series are rated at the operating level; "
            "the slab moment is linear in the wheel load.");
    page.row(rating + " &lt; " + hs20 + " tons");
    page.parts(tons, " &lt; ", Const{kHs20Tons});
    page.resultText("legal trucks rated");
    page.eq("P, the series' heaviest wheel", at<&L::wheelKips>(table), "kips");
    const std::string moment =
        "LL+I moment of the series, M<sub>" + std::string(seriesInfo(l.series).symbol) + "</sub>";
    if (l.stateTruckMoment) {
        page.eq(moment, at<&L::stateTruckMoment>(table), "kip-ft");
    } else {
        page.eq(moment, at<&L::interstateTruckMoment>(table), "kip-ft");
    }
    page.eq("RF<sub>truck</sub> = RF<sub>HS20,oper</sub> &times; " + shortestText(kHs20WheelKips) +
                " / P",
            at<&L::trucks, 0, &T::RatingFactor>(table), "", factor, " &times; ",
            Const{kHs20WheelKips}, " / ", at<&L::wheelKips>(table));
    forEachIndex<kTrucksPerSeries>([&](auto i) {
        const auto truck = at<&L::trucks, i.value>(table);
        page.row("Type " + std::string(l.trucks[i].type) +
                 ": rating = gross weight &times; RF<sub>truck</sub>");
        page.parts("= ", at<&T::grossTons>(truck), " &times; ", at<&T::RatingFactor>(truck));
        page.result(at<&T::RatingTons>(truck), "tons");
    });
    page.closeStep();
}

// The section a level of the governing rating comes from, in words.
std::string_view sectionWords(TensionFace section, bool loadFactor) {
    if (loadFactor) {
        return section == TensionFace::Top ? "the top face (over the girders)"
                                           : "the bottom face (midspan)";
    }
    return section == TensionFace::Top ? "the section over the girders" : "the midspan section";
}

void governing(Page& page) {
    const Rating& r = *page.rating();
    if (!r.governing) {
        return;
    }
    const GoverningRating& g = *r.governing;
    constexpr At<&Rating::governing, &GoverningRating::inventory> gi;
    constexpr At<&Rating::governing, &GoverningRating::operating> go;
    constexpr At<&Rating::hs20, &Hs20Rating::inventory> ti;
    constexpr At<&Rating::hs20, &Hs20Rating::operating> to;
    using GL = GoverningLevel;
    const bool lf = page.loadFactor();
    page.openStep("The governing rating",
                  lf ? "The factored capacity is already the smaller face's, so the load factor "
                       "rating governs as the report prints it; the face is the one whose lever "
                       "term gave &phi;M<sub>n</sub>."
                     : "At each level the lower of the section over the girders, which the "
                       "report rates, and the midspan section; the report's section on a tie "
                       "or when the midspan section is not analysed.");
    page.twoColumns("inventory", "operating");
    page.row("governing section");
    page.raw("</td><td class=\"res\">");
    page.raw(sectionWords(g.inventory.section, lf));
    page.raw("</td><td class=\"res\">");
    page.raw(sectionWords(g.operating.section, lf));
    page.raw("</td></tr>");
    const std::string hs20 = shortestText(kHs20Tons);
    if (r.midspan) {
        constexpr At<&Rating::midspan, &MidspanSection::inventory> mi;
        constexpr At<&Rating::midspan, &MidspanSection::operating> mo;
        using ML = LevelRating;
        page.eq2("RF = min(RF<sub>girders</sub>, RF<sub>midspan</sub>)", at<&GL::RatingFactor>(gi),
                 at<&GL::RatingFactor>(go), "", "min(", at<&HI::RatingFactor>(ti), ", ",
                 at<&ML::ratingFactor>(mi), "); min(", at<&HO::RatingFactor>(to), ", ",
                 at<&ML::ratingFactor>(mo), ")");
        page.eq2("HS20 rating", at<&GL::RatingTons>(gi), at<&GL::RatingTons>(go), "tons", "min(",
                 at<&HI::RatingTons>(ti), ", ", at<&ML::RatingTons>(mi), "); min(",
                 at<&HO::RatingTons>(to), ", ", at<&ML::RatingTons>(mo), ")");
    } else {
        page.eq2(lf ? "RF of the load factor rating" : "RF of the section over the girders",
                 at<&GL::RatingFactor>(gi), at<&GL::RatingFactor>(go), "",
                 at<&HI::RatingFactor>(ti), "; ", at<&HO::RatingFactor>(to));
        page.eq2("HS20 rating", at<&GL::RatingTons>(gi), at<&GL::RatingTons>(go), "tons",
                 at<&HI::RatingTons>(ti), "; ", at<&HO::RatingTons>(to));
    }
    page.closeStep();
    legalTrucks(page, At<&Rating::governing, &GoverningRating::legalTrucks>{},
                at<&GL::RatingTons>(go), at<&GL::RatingFactor>(go), true);
}

// Each face's steel against the balanced ratio and its capacity against cracking.
void faceChecks(Page& page) {
    constexpr At<&Rating::loadFactorChecks> c;
    constexpr auto top = at<&LoadFactorChecks::top>(c);
    constexpr auto bottom = at<&LoadFactorChecks::bottom>(c);
    constexpr At<&Rating::loadFactorInput> lf;
    constexpr At<&Rating::ultimateCapacity> u;
    using LC = LoadFactorChecks;
    using F = FaceSteelCheck;
    page.openStep("Checks of the review: steel of each face",
                  "Each face against " + shortestText(kBalancedSteelShare) +
                      " of the balanced steel ratio (" + std::string(kArtBalancedSteel) +
                      ") and its capacity against " + shortestText(kMinimumSteelCrackingShare) +
                      " M<sub>cr</sub> (" + std::string(kArtMinimumSteel) + ").");
    page.twoColumns("top steel", "bottom steel");
    const std::string w = shortestText(kStripWidthIn);
    page.eq2("&rho; = A<sub>s</sub> / (" + w + " d)", at<&F::steelRatio>(top),
             at<&F::steelRatio>(bottom), "", at<&LF::areaTop>(lf), " / (", Const{kStripWidthIn},
             " &times; ", at<&LF::distTop>(lf), "); ", at<&LF::areaBot>(lf), " / (",
             Const{kStripWidthIn}, " &times; (", at<&LF::thickness>(lf), " &minus; ",
             at<&LF::distBot>(lf), "))");
    page.eq2("&rho;<sub>b</sub> = " + shortestText(kBlockStressShare) +
                 " &beta;<sub>1</sub> f&prime;<sub>c</sub> / F<sub>y</sub> &times; " +
                 shortestText(kBalancedStrainStress) + " / (" +
                 shortestText(kBalancedStrainStress) + " + F<sub>y</sub>)",
             at<&F::balancedRatio>(top), at<&F::balancedRatio>(bottom), "",
             Const{kBlockStressShare}, " &times; ", at<&UC::Beta1>(u), " &times; ", at<&LF::fc>(lf),
             " / ", at<&LF::fy>(lf), " &times; ", Const{kBalancedStrainStress}, " / (",
             Const{kBalancedStrainStress}, " + ", at<&LF::fy>(lf), ")");
    page.eq2("&rho; / &rho;<sub>b</sub>, at most " + shortestText(kBalancedSteelShare),
             at<&F::balancedShare>(top), at<&F::balancedShare>(bottom), "", at<&F::steelRatio>(top),
             " / ", at<&F::balancedRatio>(top), "; ", at<&F::steelRatio>(bottom), " / ",
             at<&F::balancedRatio>(bottom));
    page.eq2("&phi;M<sub>n</sub> of the face = T &times; " + shortestText(kCapacityFactor) +
                 " f&prime;<sub>c</sub> / " + shortestText(kLbPerKip),
             at<&F::phiMn>(top), at<&F::phiMn>(bottom), "kip-ft", at<&UC::leverTop>(u), " &times; ",
             Const{kCapacityFactor}, " &times; ", at<&LF::fc>(lf), " / ", Const{kLbPerKip}, "; ",
             at<&UC::leverBot>(u), " &times; ", Const{kCapacityFactor}, " &times; ",
             at<&LF::fc>(lf), " / ", Const{kLbPerKip});
    page.eq("f<sub>r</sub> = " + shortestText(kModulusOfRuptureFactor) +
                " &radic;f&prime;<sub>c</sub> (" + std::string(kArtAllowableStresses) + ")",
            at<&LC::modulusOfRupture>(c), "psi", Const{kModulusOfRuptureFactor}, " &times; &radic;",
            at<&LF::fc>(lf));
    page.eq("M<sub>cr</sub> = f<sub>r</sub> " + w + " h&sup2; / " +
                shortestText(kSectionModulusDivisor) + ", in kip-ft",
            at<&LC::crackingMoment>(c), "kip-ft", at<&LC::modulusOfRupture>(c), " &times; ",
            Const{kStripWidthIn}, " &times; ", at<&LF::thickness>(lf), "&sup2; / ",
            Const{kSectionModulusDivisor}, " / ", Const{kInchesPerFoot}, " / ", Const{kLbPerKip});
    page.eq(shortestText(kMinimumSteelCrackingShare) +
                " M<sub>cr</sub>, the least &phi;M<sub>n</sub> of a face",
            at<&LC::minimumCapacity>(c), "kip-ft", Const{kMinimumSteelCrackingShare}, " &times; ",
            at<&LC::crackingMoment>(c));
    page.closeStep();
}

// The entered modular ratio against the one the allowable concrete stress implies.
void modularRatioReview(Page& page) {
    constexpr At<&Rating::modularRatioCheck> m;
    using MC = ModularRatioCheck;
    page.openStep("Check of the review: the modular ratio",
                  "The entered n against E<sub>s</sub> / E<sub>c</sub> of the concrete that "
                  "the allowable concrete stress implies; more than " +
                      shortestText(kModularRatioTolerance) + " away is doubted.");
    page.eq("f&prime;<sub>c</sub> = F<sub>c,inv</sub> / " + shortestText(kInvConcShare) + " (" +
                std::string(kArtAllowableStresses) + ")",
            at<&MC::fc>(m), "psi", inputNumber<Field::Concfc>, " &times; ",
            Const{kFcPerInventoryStress});
    page.eq("E<sub>s</sub> / E<sub>c</sub> = " + shortestText(kSteelModulusPsi) + " / (" +
                shortestText(kConcreteModulusFactor) + " &radic;f&prime;<sub>c</sub>) (" +
                std::string(kArtModuli) + ")",
            at<&MC::EsOverEc>(m), "", Const{kSteelModulusPsi}, " / (",
            Const{kConcreteModulusFactor}, " &times; &radic;", at<&MC::fc>(m), ")");
    page.eq("n to the nearest whole number, at least " + shortestText(kMinModularRatio) + " (" +
                std::string(kArtModularRatio) + ")",
            at<&MC::n>(m), "", "against the entered ", inputNumber<Field::ModRatio>);
    page.closeStep();
}

// The checks the review findings hold the section against.
void reviewChecks(Page& page) {
    const Rating& r = *page.rating();
    if (r.loadFactorChecks) {
        faceChecks(page);
    }
    if (r.modularRatioCheck) {
        modularRatioReview(page);
    }
}

// One row of the operating allowable stress table: the concrete band and, while the steel
// table lasts, the steel band; the bands the run used in bold.
void allowablesRow(Page& page, std::size_t i, const OperatingAllowables* used) {
    const auto mark = [&](bool on) { page.raw(on ? "<td><b>" : "<td>"); };
    const bool conc = used != nullptr && used->concBand == i;
    const bool steel = used != nullptr && used->steelBand == i;
    page.raw("<tr>");
    mark(conc);
    if (i == 0) {
        page.raw("up to ");
        page.constant(kOperConcLimits[0]);
    } else if (i < kOperConcLimits.size()) {
        page.raw("above ");
        page.constant(kOperConcLimits[i - 1]);
        page.raw(", up to ");
        page.constant(kOperConcLimits[i]);
    } else {
        page.raw("above ");
        page.constant(kOperConcLimits.back());
    }
    page.raw(conc ? "</b></td>" : "</td>");
    mark(conc);
    page.constant(kOperConcStresses[i]);
    page.raw(conc ? "</b></td>" : "</td>");
    if (i < kOperSteelStresses.size()) {
        mark(steel);
        if (i == 0) {
            page.raw("below ");
            page.constant(kOperSteelLimits[0]);
        } else if (i < kOperSteelLimits.size()) {
            page.constant(kOperSteelLimits[i - 1]);
            page.raw(" to below ");
            page.constant(kOperSteelLimits[i]);
        } else {
            page.constant(kOperSteelLimits.back());
            page.raw(" and above");
        }
        page.raw(steel ? "</b></td>" : "</td>");
        mark(steel);
        page.constant(kOperSteelStresses[i]);
        page.raw(steel ? "</b></td>" : "</td>");
    } else {
        page.raw("<td></td><td></td>");
    }
    page.raw("</tr>");
}

// Appendix B: the working stress analysis that scales a load factor run's reported stresses.
void scalingAnalysis(Page& page) {
    const Rating& r = *page.rating();
    page.heading(
        "B. The working stress analysis of a load factor run: it scales the reported "
        "stresses");
    page.note(
        "It does not rate the strip: it gives the stresses the report prints, carried to "
        "the load factor rating load.");
    page.openStep("Allowable stresses and modular ratio",
                  "Derived from f&prime;<sub>c</sub> and F<sub>y</sub>; the operating ones from "
                  "the table of appendix A.");
    const bool derived = inventoryAllowables(page, false) && modularRatio(page, false) &&
                         operatingAllowables(page, false);
    page.closeStep();
    if (derived && workingStress(page)) {
        if (!r.workingStressOperating || !r.reportMoments) {
            return;
        }
        workingStressLevels(page, false);
        stressScales(page);
    }
}

}  // namespace

bool analysisSteps(Page& page) {
    const Rating& r = *page.rating();
    if (!validation(page)) {
        return false;
    }
    if (page.loadFactor()) {
        // The load factor rating; its working stress analysis, which only scales the
        // reported stresses, stands in the appendix.
        if (!(loadFactorInput(page) && thicknessCheck(page) && ultimateCapacity(page))) {
            return false;
        }
        if (!r.moments || !r.loadFactorRating) {
            // Stopped in the working stress analysis: it shows in the appendix.
            return true;
        }
        if (!(moments(page) && loadFactorRating(page))) {
            return false;
        }
    } else {
        if (!(operatingAllowables(page) && workingStress(page) && moments(page))) {
            return false;
        }
        workingStressLevels(page, true);
        midspan(page);
    }
    if (!page.reached(r.hs20)) {
        return false;
    }
    hs20Table(page);
    capacityChart(page);
    constexpr At<&Rating::hs20, &Hs20Rating::operating> hs20;
    legalTrucks(page, At<&Rating::legalTrucks>{}, at<&HO::RatingTons>(hs20),
                at<&HO::RatingFactor>(hs20), false);
    governing(page);
    reviewChecks(page);
    return true;
}

void appendix(Page& page) {
    const Rating& r = *page.rating();
    if (!r.method) {
        return;
    }
    page.heading("Appendix", "appendix");
    page.openStep("A. Operating allowable stresses: the rating manual's table",
                  "The row used is marked.");
    page.raw("<table class=\"grid\"><tr><th>f&prime;<sub>c</sub> = ");
    page.constant(kFcPerInventoryStress);
    page.raw(
        " F<sub>c,inv</sub> (psi)</th><th>F<sub>c,oper</sub> (psi)</th>"
        "<th>F<sub>s,inv</sub> (psi)</th><th>F<sub>s,oper</sub> (psi)</th></tr>");
    const OperatingAllowables* used = r.operatingAllowables ? &*r.operatingAllowables : nullptr;
    const std::size_t rows = std::max(kOperConcStresses.size(), kOperSteelStresses.size());
    for (std::size_t i = 0; i < rows; ++i) {
        allowablesRow(page, i, used);
    }
    page.raw("</table>");
    page.closeStep();
    if (!page.loadFactor()) {
        return;
    }
    scalingAnalysis(page);
}

}  // namespace slabrating::sheet
