// The analysis steps of the calculation sheet: each the formula, the numbers put in and the
// result, in the order the rating run forms them.
#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "engine/field_table.h"
#include "engine/format.h"
#include "engine/rules.h"
#include "export/sheet_page.h"

namespace slabrating::sheet {

namespace {

using namespace rules;

constexpr int kReportDecimals = 2;
constexpr int kFactorDecimals = 3;

const float& in(const Page& page, Field field) {
    return (*page.rating()->input).*fieldInfo(field).heldNumber;
}

bool validation(Page& page) {
    const Rating& r = *page.rating();
    page.openStep("Validation of the inputs",
                  "The nine numbers must read as numbers, in the inputs table's order; a "
                  "modular ratio that does not counts as 0. Then six range checks.");
    if (!r.input) {
        page.closeStep();
        page.stopHere();
        return false;
    }
    page.row("the nine numeric fields");
    page.raw("numbers, as the inputs table shows");
    page.resultText("all read as numbers");
    page.row("d<sub>top</sub>, A<sub>s,top</sub>, d&prime;, A<sub>s,bot</sub> &ge; " +
             std::string(shortestText(kMinSteelValue)) + "; " + shortestText(kMinSpan) +
             " &le; S &le; " + shortestText(kMaxSpan));
    page.parts(in(page, Field::StDistTop), ", ", in(page, Field::StAreaTop), ", ",
               in(page, Field::StDistBot), ", ", in(page, Field::STAreaBot),
               "; S = ", in(page, Field::EffSpan));
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
    const LoadFactorInput& lf = *r.loadFactorInput;
    page.openStep("Load factor inputs",
                  "The inputs of the capacity, as entered but for F<sub>y</sub>.");
    page.item("S", lf.span, "ft");
    page.item("h", lf.thickness, "in");
    page.item("A<sub>s,top</sub>", lf.areaTop, "sq in");
    page.item("d<sub>top</sub>", lf.distTop, "in");
    page.item("A<sub>s,bot</sub>", lf.areaBot, "sq in");
    page.item("d&prime;", lf.distBot, "in");
    page.item("f&prime;<sub>c</sub>", lf.fc, "psi");
    page.eq("F<sub>y</sub> = min(Steel Fy, " + shortestText(kMaxFy) + ")", lf.fy, "psi", "min(",
            in(page, Field::SteelFy), ", ", Const{kMaxFy}, ")");
    page.closeStep();
    return true;
}

bool thicknessCheck(Page& page) {
    const Rating& r = *page.rating();
    if (!page.reached(r.thicknessCheck)) {
        return false;
    }
    const ThicknessCheck& t = *r.thicknessCheck;
    const LoadFactorInput& lf = *r.loadFactorInput;
    page.openStep("Minimum slab thickness", "The old rule the report's warning names.");
    page.eq("t<sub>min</sub> = max(" + shortestText(kMinThicknessFloor) + ", (S + " +
                shortestText(kThicknessSpanAddend) + ") / " + shortestText(kThicknessSpanDivisor) +
                ")",
            t.MinThickness, "ft", "max(", Const{kMinThicknessFloor}, ", (", lf.span, " + ",
            Const{kThicknessSpanAddend}, ") / ", Const{kThicknessSpanDivisor}, ")");
    page.eq("t = h / " + shortestText(kInchesPerFoot), t.thicknessFt, "ft", lf.thickness, " / ",
            Const{kInchesPerFoot});
    page.row("t &ge; t<sub>min</sub>");
    page.parts(t.thicknessFt, " &ge; ", t.MinThickness);
    page.resultText(t.warning ? "<b>does not hold</b>" : "holds");
    if (t.warning) {
        page.note(
            "<span class=\"warn\">The slab is thinner than the minimum; the report carries the "
            "line &ldquo;*** Warning: Slab thickness violates old AASHTO 1.5.40(B)***&rdquo;. "
            "The rating goes on.</span>");
    }
    page.closeStep();
    return true;
}

bool ultimateCapacity(Page& page) {
    const Rating& r = *page.rating();
    if (!page.reached(r.ultimateCapacity)) {
        return false;
    }
    const UltimateCapacityResult& u = *r.ultimateCapacity;
    const LoadFactorInput& lf = *r.loadFactorInput;
    page.openStep("Factored moment capacity &phi;M<sub>n</sub>",
                  "Each face's steel alone in tension, no steel counted in compression (the "
                  "report's &ldquo;COMP STEEL NOT USED&rdquo;); the overlay does not enter the "
                  "capacity.");
    page.eq("&beta;<sub>1</sub> = " + shortestText(kBeta1AtBase) +
                " &minus; (f&prime;<sub>c</sub> &minus; " + shortestText(kBeta1BaseStrength) +
                ") &times; " + shortestText(kBeta1PerPsi) + ", within " + shortestText(kMinBeta1) +
                " &hellip; " + shortestText(kMaxBeta1),
            u.Beta1, "", Const{kBeta1AtBase}, " &minus; (", lf.fc, " &minus; ",
            Const{kBeta1BaseStrength}, ") &times; ", Const{kBeta1PerPsi});
    const std::string balanced = " &beta;<sub>1</sub> " + shortestText(kThreeQuartersBalanced);
    const std::string block = " / (" + shortestText(kBlockForcePerFcIn) + " f&prime;<sub>c</sub>)";
    const std::string fyTerm = " / (" + shortestText(kBalancedStrainStress) + " + F<sub>y</sub>)";
    page.eq("a<sub>top</sub> = min(A<sub>s,top</sub> F<sub>y</sub>" + block + "," + balanced +
                " d<sub>top</sub>" + fyTerm + ")",
            u.aTop, "in", "min(", lf.areaTop, " &times; ", lf.fy, " / (", Const{kBlockForcePerFcIn},
            " &times; ", lf.fc, "), ", u.Beta1, " &times; ", Const{kThreeQuartersBalanced},
            " &times; ", lf.distTop, " / (", Const{kBalancedStrainStress}, " + ", lf.fy, "))");
    page.eq("a<sub>bot</sub> = min(A<sub>s,bot</sub> F<sub>y</sub>" + block + "," + balanced +
                " (h &minus; d&prime;)" + fyTerm + ")",
            u.aBot, "in", "min(", lf.areaBot, " &times; ", lf.fy, " / (", Const{kBlockForcePerFcIn},
            " &times; ", lf.fc, "), ", u.Beta1, " &times; ", Const{kThreeQuartersBalanced},
            " &times; (", lf.thickness, " &minus; ", lf.distBot, ") / (",
            Const{kBalancedStrainStress}, " + ", lf.fy, "))");
    page.eq("T<sub>top</sub> = a<sub>top</sub> (d<sub>top</sub> &minus; a<sub>top</sub> / 2)",
            u.leverTop, "sq in", u.aTop, " &times; (", lf.distTop, " &minus; ", u.aTop, " / 2)");
    page.eq("T<sub>bot</sub> = a<sub>bot</sub> (h &minus; a<sub>bot</sub> / 2 &minus; d&prime;)",
            u.leverBot, "sq in", u.aBot, " &times; (", lf.thickness, " &minus; ", u.aBot,
            " / 2 &minus; ", lf.distBot, ")");
    page.eq("&phi;M<sub>n</sub> = min(T<sub>top</sub>, T<sub>bot</sub>) &times; " +
                shortestText(kCapacityFactor) + " f&prime;<sub>c</sub>",
            u.UltimateCapacity, "lb-ft", "min(", u.leverTop, ", ", u.leverBot, ") &times; ",
            Const{kCapacityFactor}, " &times; ", lf.fc);
    std::string found = u.governs == TensionFace::Top
                            ? "The top face governs (negative moment over the girders)"
                            : "The bottom face governs (positive moment between the girders)";
    if (u.aTopLimited || u.aBotLimited) {
        found += u.aTopLimited && u.aBotLimited ? "; both block depths are"
                 : u.aTopLimited                ? "; the top block depth is"
                                                : "; the bottom block depth is";
        found += " limited to " + shortestText(kBalancedSteelShare) + " of the balanced one";
    }
    page.note(found + ". " + shortestText(kBlockForcePerFcIn) + " = " +
              shortestText(kBlockStressShare) + " &times; " + shortestText(kStripWidthIn) +
              " in of strip; " + shortestText(kThreeQuartersBalanced) + " = " +
              shortestText(kBalancedSteelShare) + " &times; " +
              shortestText(kBalancedStrainStress) + " psi; " + shortestText(kCapacityFactor) +
              " = " + shortestText(kFlexurePhi) + " &times; " + shortestText(kBlockStressShare) +
              ", with the strip and lb-in to lb-ft.");
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
            *r.derivedModularRatio, "", "max(", Const{kMinModularRatio}, ", Int(",
            Const{kModularRatioConstant}, " / &radic;", r.loadFactorInput->fc, " + ",
            Const{kRoundingHalf}, "))");
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
    const AllowableStresses& a = *r.inventoryAllowables;
    if (ownStep) {
        page.openStep("Inventory allowable stresses",
                      "They stand for the entered allowables of a "
                      "working stress run in the section analysis.");
    }
    page.eq("F<sub>c,inv</sub> = " + shortestText(kInvConcShare) + " f&prime;<sub>c</sub>",
            a.InvConcStress, "psi", Const{kInvConcShare}, " &times; ", r.loadFactorInput->fc);
    page.eq("F<sub>s,inv</sub> = min(" + shortestText(kInvSteelShare) + " F<sub>y</sub>, " +
                shortestText(kMaxInvSteelStress) + ")",
            a.InvSteelStress, "psi", "min(", Const{kInvSteelShare}, " &times; ",
            r.loadFactorInput->fy, ", ", Const{kMaxInvSteelStress}, ")");
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
    const OperatingAllowables& o = *r.operatingAllowables;
    const bool lf = page.loadFactor();
    const float& conc = lf ? r.inventoryAllowables->InvConcStress : in(page, Field::Concfc);
    const float& steel = lf ? r.inventoryAllowables->InvSteelStress : in(page, Field::SteelFy);
    if (ownStep) {
        page.openStep(
            "Operating allowable stresses",
            "From the rating manual's table, printed whole in appendix A; the row used is "
            "marked there.");
    }
    page.row("F<sub>c,oper</sub> by f&prime;<sub>c</sub> = " + shortestText(kFcPerInventoryStress) +
             " F<sub>c,inv</sub>");
    page.parts("table at ", Const{kFcPerInventoryStress}, " &times; ", conc);
    page.result(o.OperConcStress, "psi");
    page.eq("F<sub>s,oper</sub> by F<sub>s,inv</sub>", o.OperSteelStress, "psi", "table at ",
            steel);
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
    const Moments& m = *r.moments;
    const ReportMoments& k = *r.reportMoments;
    page.openStep("Dead load and live load moments",
                  "Per foot of width; the same for both methods.");
    page.eq("w = " + shortestText(static_cast<double>(kSlabWeightPerInch)) + " h + " +
                shortestText(static_cast<double>(kOverlayWeightPerInch)) + " b",
            m.w, "lb/ft", Const{static_cast<double>(kSlabWeightPerInch)}, " &times; ",
            in(page, Field::SlabThick), " + ", Const{static_cast<double>(kOverlayWeightPerInch)},
            " &times; ", in(page, Field::Bitum));
    page.eq("M<sub>DL</sub> = S&sup2; &times; " + shortestText(kDeadLoadCoefficient) + " w", m.M_DL,
            "lb-ft", in(page, Field::EffSpan), "&sup2; &times; ", Const{kDeadLoadCoefficient},
            " &times; ", m.w);
    page.eq("M<sub>LL</sub> = (S + " + shortestText(kSlabSpanAddend) + ") &times; " +
                shortestText(kLiveLoadConstant),
            m.M_LL, "lb-ft", "(", in(page, Field::EffSpan), " + ", Const{kSlabSpanAddend},
            ") &times; ", Const{kLiveLoadConstant});
    const std::string wheel = shortestText(kHs20WheelLb);
    const SeriesInfo& state = seriesInfo(TruckSeries::State);
    const double stateWheel = seriesWheelKips(TruckSeries::State);
    page.eq("M<sub>" + std::string(state.symbol) + "</sub> = " + shortestText(stateWheel) +
                " M<sub>LL</sub> / " + wheel,
            m.stateTruckMoment, "kip-ft", Const{stateWheel}, " &times; ", m.M_LL, " / ",
            Const{kHs20WheelLb});
    if (m.interstateTruckMoment) {
        const double wheelKips = seriesWheelKips(TruckSeries::Interstate);
        page.eq("M<sub>" + std::string(seriesInfo(TruckSeries::Interstate).symbol) +
                    "</sub> = " + shortestText(wheelKips) + " M<sub>LL</sub> / " + wheel +
                    ", formed when the load type is not " +
                    loadTypeInfo(LoadType::StateTrucks).code,
                *m.interstateTruckMoment, "kip-ft", Const{wheelKips}, " &times; ", m.M_LL, " / ",
                Const{kHs20WheelLb});
    }
    const std::string kip = shortestText(kLbPerKip);
    page.eq("DL = M<sub>DL</sub> / " + kip + ", as the report prints it", k.DeadLoadMoment,
            "kip-ft", m.M_DL, " / ", Const{kLbPerKip});
    page.eq("LL+I = M<sub>LL</sub> / " + kip, k.LiveLoadMoment, "kip-ft", m.M_LL, " / ",
            Const{kLbPerKip});
    page.closeStep();
    return true;
}

bool loadFactorRating(Page& page) {
    const Rating& r = *page.rating();
    if (!page.reached(r.loadFactorRating)) {
        return false;
    }
    const LoadFactorRating& l = *r.loadFactorRating;
    const ReportMoments& k = *r.reportMoments;
    page.openStep("Load factor rating",
                  "The factored capacity against the factored loads; the levels differ only by "
                  "the live-load factor, so the capacities are the same at both.");
    page.eq("M<sub>cap</sub> = &phi;M<sub>n</sub> &times; " + shortestText(kKipPerLb),
            l.MemberCapacity, "kip-ft", r.ultimateCapacity->UltimateCapacity, " &times; ",
            Const{kKipPerLb});
    page.eq("A<sub>1</sub> DL", l.factoredDeadLoad, "kip-ft", Const{kDeadLoadFactor}, " &times; ",
            k.DeadLoadMoment);
    page.eq("M<sub>LL+I,cap</sub> = M<sub>cap</sub> &minus; A<sub>1</sub> DL", l.LiveLoadCapacity,
            "kip-ft", l.MemberCapacity, " &minus; ", l.factoredDeadLoad);
    page.eq("A<sub>2</sub> (LL+I), operating", l.factoredLiveLoad, "kip-ft", Const{kLiveLoadFactor},
            " &times; ", k.LiveLoadMoment);
    page.eq("RF = M<sub>LL+I,cap</sub> / (A<sub>2</sub> (LL+I))", l.RatingFactor, "",
            l.LiveLoadCapacity, " / ", l.factoredLiveLoad);
    page.eq("HS20 operating rating = " + shortestText(kHs20Tons) + " RF", l.operatingTons, "tons",
            Const{kHs20Tons}, " &times; ", l.RatingFactor);
    page.eq("Inventory RF = " + shortestText(kInventoryShare) + " RF", l.inventoryRatingFactor, "",
            Const{kInventoryShare}, " &times; ", l.RatingFactor);
    page.eq("HS20 inventory rating = " + shortestText(kInventoryShare) + " &times; operating",
            l.inventoryTons, "tons", Const{kInventoryShare}, " &times; ", l.operatingTons);
    page.eq("(A<sub>2</sub> / " + shortestText(kInventoryShare) +
                ") (LL+I), the inventory demand of the chart",
            l.inventoryFactoredLiveLoad, "kip-ft", Const{kLiveLoadFactor}, " / ",
            Const{kInventoryShare}, " &times; ", k.LiveLoadMoment);
    page.closeStep();
    return true;
}

void hs20Table(Page& page) {
    const Rating& r = *page.rating();
    const Hs20Rating& t = *r.hs20;
    page.openStep("HS20 truck (" + shortestText(kHs20Tons) + " tons): the report's table",
                  "Values as the report prints them, the rating factor to three decimals.");
    page.raw("<table class=\"grid\"><tr><th></th><th>Inventory</th><th>Operating</th></tr>");
    const auto line = [&page](std::string_view label, const auto& inv, const auto& op,
                              int decimals) {
        page.raw("<tr><td>");
        page.raw(label);
        page.raw("</td><td class=\"n\">");
        page.put(inv, decimals);
        page.raw("</td><td class=\"n\">");
        page.put(op, decimals);
        page.raw("</td></tr>");
    };
    const Hs20Inventory& i = t.inventory;
    const Hs20Operating& o = t.operating;
    line("Actual concrete stress (psi)", i.ConcreteStress, o.ConcreteStress, kReportDecimals);
    line("Actual reinforcing steel stress (psi)", i.SteelStress, o.SteelStress, kReportDecimals);
    line("Actual compression steel stress (psi)", i.CompSteelStress, o.CompSteelStress,
         kReportDecimals);
    line("Member capacity (kip-ft)", i.MemberCapacity, o.MemberCapacity, kReportDecimals);
    line("Member capacity for LL+I (kip-ft)", i.LiveLoadCapacity, o.LiveLoadCapacity,
         kReportDecimals);
    line("Rating factor", i.RatingFactor, o.RatingFactor, kFactorDecimals);
    line("<b>Rating (tons)</b>", i.RatingTons, o.RatingTons, kReportDecimals);
    page.raw("</table>");
    if (page.loadFactor()) {
        page.note(
            "In the load factor method both member capacities are &phi;M<sub>n</sub> and "
            "&phi;M<sub>n</sub> &minus; A<sub>1</sub> DL: one value at both levels, which "
            "differ only by the live-load factor. &ldquo;COMP STEEL NOT USED&rdquo; speaks of the "
            "capacity: the stress rows come from the working stress analysis (appendix B), "
            "which counts the compression steel, carried to the load factor rating load.");
    }
    page.closeStep();
}

// A legal-truck table, the report's or the governing rating's, from the operating HS20
// rating that decides it (absent table: 36 tons or more).
void legalTrucks(Page& page, const std::optional<LegalTruckRatings>& table, const double& tons,
                 const double& factor, bool ofGoverning) {
    const std::string hs20 = shortestText(kHs20Tons);
    const std::string rating =
        std::string(ofGoverning ? "The governing" : "The report's") + " HS20 operating rating";
    if (!table) {
        page.openStep(ofGoverning ? "Legal trucks of the governing rating" : "Legal trucks",
                      "Rated when the HS20 operating rating is below " + hs20 + " tons.");
        page.row(rating + " &lt; " + hs20 + " tons");
        page.parts(tons, " &ge; ", Const{kHs20Tons});
        page.resultText("no legal-truck table");
        page.closeStep();
        return;
    }
    const LegalTruckRatings& l = *table;
    page.openStep(
        (ofGoverning ? "Legal trucks of the governing rating: " : "Legal trucks of the report: ") +
            std::string(seriesInfo(l.series).title),
        rating + " is below " + hs20 +
            " tons, so the three legal trucks of the series are rated at the operating level; "
            "the slab moment is linear in the wheel load.");
    page.row(rating + " &lt; " + hs20 + " tons");
    page.parts(tons, " &lt; ", Const{kHs20Tons});
    page.resultText("legal trucks rated");
    page.eq("P, the series' heaviest wheel", l.wheelKips, "kips");
    const std::string moment =
        "LL+I moment of the series, M<sub>" + std::string(seriesInfo(l.series).symbol) + "</sub>";
    if (l.stateTruckMoment) {
        page.eq(moment, *l.stateTruckMoment, "kip-ft");
    } else {
        page.eq(moment, *l.interstateTruckMoment, "kip-ft");
    }
    page.eq("RF<sub>truck</sub> = RF<sub>HS20,oper</sub> &times; " + shortestText(kHs20WheelKips) +
                " / P",
            l.trucks[0].RatingFactor, "", factor, " &times; ", Const{kHs20WheelKips}, " / ",
            l.wheelKips);
    for (const LegalTruck& truck : l.trucks) {
        page.row("Type " + std::string(truck.type) +
                 ": rating = gross weight &times; RF<sub>truck</sub>");
        page.parts("= ", truck.grossTons, " &times; ", truck.RatingFactor);
        page.result(truck.RatingTons, "tons");
    }
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
    const Hs20Rating& t = *r.hs20;
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
        const MidspanSection& m = *r.midspan;
        page.eq2("RF = min(RF<sub>girders</sub>, RF<sub>midspan</sub>)", g.inventory.RatingFactor,
                 g.operating.RatingFactor, "", "min(", t.inventory.RatingFactor, ", ",
                 m.inventory.ratingFactor, "); min(", t.operating.RatingFactor, ", ",
                 m.operating.ratingFactor, ")");
        page.eq2("HS20 rating", g.inventory.RatingTons, g.operating.RatingTons, "tons", "min(",
                 t.inventory.RatingTons, ", ", m.inventory.RatingTons, "); min(",
                 t.operating.RatingTons, ", ", m.operating.RatingTons, ")");
    } else {
        page.eq2(lf ? "RF of the load factor rating" : "RF of the section over the girders",
                 g.inventory.RatingFactor, g.operating.RatingFactor, "", t.inventory.RatingFactor,
                 "; ", t.operating.RatingFactor);
        page.eq2("HS20 rating", g.inventory.RatingTons, g.operating.RatingTons, "tons",
                 t.inventory.RatingTons, "; ", t.operating.RatingTons);
    }
    page.closeStep();
    legalTrucks(page, g.legalTrucks, g.operating.RatingTons, g.operating.RatingFactor, true);
}

// The checks the review findings hold the section against.
void reviewChecks(Page& page) {
    const Rating& r = *page.rating();
    if (r.loadFactorChecks) {
        const LoadFactorChecks& c = *r.loadFactorChecks;
        const LoadFactorInput& lf = *r.loadFactorInput;
        const UltimateCapacityResult& u = *r.ultimateCapacity;
        page.openStep("Checks of the review: steel of each face",
                      "Each face against " + shortestText(kBalancedSteelShare) +
                          " of the balanced steel ratio (" + std::string(kArtBalancedSteel) +
                          ") and its capacity against " + shortestText(kMinimumSteelCrackingShare) +
                          " M<sub>cr</sub> (" + std::string(kArtMinimumSteel) + ").");
        page.twoColumns("top steel", "bottom steel");
        const std::string w = shortestText(kStripWidthIn);
        page.eq2("&rho; = A<sub>s</sub> / (" + w + " d)", c.top.steelRatio, c.bottom.steelRatio, "",
                 lf.areaTop, " / (", Const{kStripWidthIn}, " &times; ", lf.distTop, "); ",
                 lf.areaBot, " / (", Const{kStripWidthIn}, " &times; (", lf.thickness, " &minus; ",
                 lf.distBot, "))");
        page.eq2("&rho;<sub>b</sub> = " + shortestText(kBlockStressShare) +
                     " &beta;<sub>1</sub> f&prime;<sub>c</sub> / F<sub>y</sub> &times; " +
                     shortestText(kBalancedStrainStress) + " / (" +
                     shortestText(kBalancedStrainStress) + " + F<sub>y</sub>)",
                 c.top.balancedRatio, c.bottom.balancedRatio, "", Const{kBlockStressShare},
                 " &times; ", u.Beta1, " &times; ", lf.fc, " / ", lf.fy, " &times; ",
                 Const{kBalancedStrainStress}, " / (", Const{kBalancedStrainStress}, " + ", lf.fy,
                 ")");
        page.eq2("&rho; / &rho;<sub>b</sub>, at most " + shortestText(kBalancedSteelShare),
                 c.top.balancedShare, c.bottom.balancedShare, "", c.top.steelRatio, " / ",
                 c.top.balancedRatio, "; ", c.bottom.steelRatio, " / ", c.bottom.balancedRatio);
        page.eq2("&phi;M<sub>n</sub> of the face = T &times; " + shortestText(kCapacityFactor) +
                     " f&prime;<sub>c</sub> / " + shortestText(kLbPerKip),
                 c.top.phiMn, c.bottom.phiMn, "kip-ft", u.leverTop, " &times; ",
                 Const{kCapacityFactor}, " &times; ", lf.fc, " / ", Const{kLbPerKip}, "; ",
                 u.leverBot, " &times; ", Const{kCapacityFactor}, " &times; ", lf.fc, " / ",
                 Const{kLbPerKip});
        page.eq("f<sub>r</sub> = " + shortestText(kModulusOfRuptureFactor) +
                    " &radic;f&prime;<sub>c</sub> (" + std::string(kArtAllowableStresses) + ")",
                c.modulusOfRupture, "psi", Const{kModulusOfRuptureFactor}, " &times; &radic;",
                lf.fc);
        page.eq("M<sub>cr</sub> = f<sub>r</sub> " + w + " h&sup2; / " +
                    shortestText(kSectionModulusDivisor) + ", in kip-ft",
                c.crackingMoment, "kip-ft", c.modulusOfRupture, " &times; ", Const{kStripWidthIn},
                " &times; ", lf.thickness, "&sup2; / ", Const{kSectionModulusDivisor}, " / ",
                Const{kInchesPerFoot}, " / ", Const{kLbPerKip});
        page.eq(shortestText(kMinimumSteelCrackingShare) +
                    " M<sub>cr</sub>, the least &phi;M<sub>n</sub> of a face",
                c.minimumCapacity, "kip-ft", Const{kMinimumSteelCrackingShare}, " &times; ",
                c.crackingMoment);
        page.closeStep();
    }
    if (r.modularRatioCheck) {
        const ModularRatioCheck& c = *r.modularRatioCheck;
        page.openStep("Check of the review: the modular ratio",
                      "The entered n against E<sub>s</sub> / E<sub>c</sub> of the concrete that "
                      "the allowable concrete stress implies; more than " +
                          shortestText(kModularRatioTolerance) + " away is doubted.");
        page.eq("f&prime;<sub>c</sub> = F<sub>c,inv</sub> / " + shortestText(kInvConcShare) + " (" +
                    std::string(kArtAllowableStresses) + ")",
                c.fc, "psi", r.input->Concfc, " &times; ", Const{kFcPerInventoryStress});
        page.eq("E<sub>s</sub> / E<sub>c</sub> = " + shortestText(kSteelModulusPsi) + " / (" +
                    shortestText(kConcreteModulusFactor) + " &radic;f&prime;<sub>c</sub>) (" +
                    std::string(kArtModuli) + ")",
                c.EsOverEc, "", Const{kSteelModulusPsi}, " / (", Const{kConcreteModulusFactor},
                " &times; &radic;", c.fc, ")");
        page.eq("n to the nearest whole number, at least " + shortestText(kMinModularRatio) + " (" +
                    std::string(kArtModularRatio) + ")",
                c.n, "", "against the entered ", r.input->ModRatio);
        page.closeStep();
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
    legalTrucks(page, r.legalTrucks, r.hs20->operating.RatingTons, r.hs20->operating.RatingFactor,
                false);
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
    page.raw("</table>");
    page.closeStep();
    if (!page.loadFactor()) {
        return;
    }
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

}  // namespace slabrating::sheet
