// The working stress section analyses of the calculation sheet: the cracked section over the
// girders (and, in a load factor run, the one that scales the reported stresses), and the
// midspan section of a working stress run.
#include <string>
#include <string_view>

#include "engine/format.h"
#include "engine/rules.h"
#include "export/sheet_page.h"

namespace slabrating::sheet {

namespace {

using namespace rules;

std::string compSteelNotChecked() {
    return "f<sub>sc</sub>, not checked again: the pass keeps its factor after " +
           shortestText(kConcreteGovernedAdjustments) +
           " adjustments with the concrete governing (0 without compression steel)";
}

// The compression steel stress 2n fc (kd - d') / kd, written with the tension steel stress.
std::string compSteelFormula() {
    return "f<sub>sc</sub> = " + shortestText(kCompSteelFactorOfN) + " f<sub>s</sub> e / u";
}

std::string momentFormula() {
    return "M = (A<sub>s</sub> f<sub>s</sub>)<sub>single</sub> j d / " +
           shortestText(kInchesPerFoot);
}

bool sectionInput(Page& page, const WorkingStressInput& s, std::string_view title,
                  std::string_view why) {
    page.openStep(title, why);
    page.item("n", s.n, "");
    page.item("F<sub>c,inv</sub>", s.InvConcStress, "psi");
    page.item("F<sub>s,inv</sub>", s.InvSteelStress, "psi");
    page.item("F<sub>c,oper</sub>", s.OperConcStress, "psi");
    page.item("F<sub>s,oper</sub>", s.OperSteelStress, "psi");
    page.item("A<sub>s</sub>, tension steel", s.areaTop, "sq in");
    page.item("d", s.d, "in");
    page.item("A&prime;<sub>s</sub>, compression steel", s.areaBot, "sq in");
    page.item("d&prime;", s.dPrime, "in");
    page.closeStep();
    return true;
}

// The section's quantities of one pass, or of both where they share the section.
template <class Inv, class Op>
void sectionRows(Page& page, const WorkingStressInput& si, const Inv& inv, const Op* op) {
    const SectionQuantities& s = inv.section;
    const auto eq = [&](std::string_view symbols, const double& first, const double& second,
                        const auto&... p) {
        if (op != nullptr) {
            page.eq2(symbols, first, second, "", p...);
        } else {
            page.eq(symbols, first, "", p...);
        }
    };
    const auto of = [&](double SectionQuantities::*member) -> const double& {
        return op != nullptr ? op->section.*member : s.*member;
    };
    const std::string m0 = shortestText(kCompSteelFactorOfN) + "n &minus; 1";
    const std::string m = "m = " + m0 + ", reduced to (" + m0 +
                          ") F<sub>s,allow</sub> / f<sub>sc</sub> while f<sub>sc</sub> &gt; "
                          "F<sub>s,allow</sub>";
    if (op != nullptr) {
        page.eq2(m, inv.CompSteelFactor, op->CompSteelFactor, "", Const{kCompSteelFactorOfN},
                 " &times; ", si.n, " &minus; 1, adjusted ", inv.AdjustCount, " and ",
                 op->AdjustCount, " times");
    } else {
        page.eq(m, inv.CompSteelFactor, "", Const{kCompSteelFactorOfN}, " &times; ", si.n,
                " &minus; 1, adjusted ", inv.AdjustCount, " times");
    }
    const std::string w = shortestText(kStripWidthIn);
    eq("A = n A<sub>s</sub> / (" + w + " d)", s.A, of(&SectionQuantities::A), si.n, " &times; ",
       si.areaTop, " / (", Const{kStripWidthIn}, " &times; ", si.d, ")");
    eq("B = m A&prime;<sub>s</sub> / (" + w + " d)", s.B, of(&SectionQuantities::B),
       inv.CompSteelFactor, " &times; ", si.areaBot, " / (", Const{kStripWidthIn}, " &times; ",
       si.d, ")");
    eq("B&prime; = B d&prime; / d", s.BPrime, of(&SectionQuantities::BPrime), s.B, " &times; ",
       si.dPrime, " / ", si.d);
    eq("P = A + B", s.P, of(&SectionQuantities::P), s.A, " + ", s.B);
    eq("Q = A + B&prime;", s.Q, of(&SectionQuantities::Q), s.A, " + ", s.BPrime);
    eq("k = &radic;(P&sup2; + 2Q) &minus; P", s.k, of(&SectionQuantities::k), "&radic;(", s.P,
       "&sup2; + 2 &times; ", s.Q, ") &minus; ", s.P);
    eq("c = 1 &minus; d&prime; / (k d)", s.c, of(&SectionQuantities::c), "1 &minus; ", si.dPrime,
       " / (", s.k, " &times; ", si.d, ")");
    const std::string sixth = shortestText(kOneSixth);
    eq("z<sub>r</sub> = (" + sixth + " + B&prime; c / k&sup2;) / (0.5 + B c / k)", s.zr,
       of(&SectionQuantities::zr), "(", Const{kOneSixth}, " + ", s.BPrime, " &times; ", s.c, " / ",
       s.k, "&sup2;) / (0.5 + ", s.B, " &times; ", s.c, " / ", s.k, ")");
    eq("j = 1 &minus; k z<sub>r</sub>", s.j, of(&SectionQuantities::j), "1 &minus; ", s.k,
       " &times; ", s.zr);
    eq("e = k &minus; d&prime; / d, d&prime; / d stored in single precision", s.e,
       of(&SectionQuantities::e), s.k, " &minus; ", si.dPrime, " / ", si.d);
    eq("u = 1 &minus; k", s.u, of(&SectionQuantities::u), "1 &minus; ", s.k);
    eq("r = k / (n u)", s.r, of(&SectionQuantities::r), s.k, " / (", si.n, " &times; ", s.u, ")");
}

// The stresses and the resisting moment of one pass at its allowables.
template <class Pass>
void stressRows(Page& page, std::string_view level, const WorkingStressInput& si, const Pass& p,
                const auto& concAllowable, const auto& steelAllowable) {
    const std::string at = std::string(" (") + std::string(level) + ")";
    const SectionQuantities& s = p.section;
    if (p.governs == Governing::Steel) {
        page.eq("f<sub>s</sub> = F<sub>s,allow</sub>" + at, p.SteelStress, "psi", steelAllowable);
        page.eq("f<sub>c</sub> = f<sub>s</sub> r &le; F<sub>c,allow</sub>: the steel governs",
                p.ConcreteStress, "psi", p.SteelStress, " &times; ", s.r, " &le; ", concAllowable);
    } else {
        page.eq("f<sub>c</sub> = F<sub>c,allow</sub>" + at +
                    ", as F<sub>s,allow</sub> r &gt; F<sub>c,allow</sub>: the concrete governs",
                p.ConcreteStress, "psi", concAllowable);
        page.eq("f<sub>s</sub> = F<sub>c,allow</sub> / r", p.SteelStress, "psi", concAllowable,
                " / ", s.r);
    }
    if (p.compSteelChecked) {
        page.eq(compSteelFormula(), p.CompSteelStress, "psi", Const{kCompSteelFactorOfN},
                " &times; ", p.SteelStress, " &times; ", s.e, " / ", s.u);
    } else {
        page.eq(compSteelNotChecked(), p.CompSteelStress, "psi");
    }
    page.eq(momentFormula(), p.ResistingMoment, "lb-ft", "(", si.areaTop, " &times; ",
            p.SteelStress, ") &times; ", s.j, " &times; ", si.d, " / ", Const{kInchesPerFoot});
}

// The stresses and resisting moments of both passes, side by side where the same material
// governs them and their compression steel was checked alike; the numbers substituted are
// the inventory pass's, then the operating pass's.
void stressRows(Page& page, const WorkingStressInput& si, const InventoryPass& inv,
                const OperatingPass& op) {
    if (inv.governs != op.governs || inv.compSteelChecked != op.compSteelChecked) {
        page.note("Stresses and resisting moments:");
        stressRows(page, "inventory", si, inv, si.InvConcStress, si.InvSteelStress);
        stressRows(page, "operating", si, op, si.OperConcStress, si.OperSteelStress);
        return;
    }
    page.twoColumns("inventory", "operating");
    const SectionQuantities& a = inv.section;
    const SectionQuantities& b = op.section;
    if (inv.governs == Governing::Steel) {
        page.eq2("f<sub>s</sub> = F<sub>s,allow</sub>", inv.SteelStress, op.SteelStress, "psi",
                 si.InvSteelStress, "; ", si.OperSteelStress);
        page.eq2("f<sub>c</sub> = f<sub>s</sub> r &le; F<sub>c,allow</sub>: the steel governs",
                 inv.ConcreteStress, op.ConcreteStress, "psi", inv.SteelStress, " &times; ", a.r,
                 " &le; ", si.InvConcStress, "; ", op.SteelStress, " &times; ", b.r, " &le; ",
                 si.OperConcStress);
    } else {
        page.eq2(
            "f<sub>c</sub> = F<sub>c,allow</sub>, as F<sub>s,allow</sub> r &gt; "
            "F<sub>c,allow</sub>: the concrete governs",
            inv.ConcreteStress, op.ConcreteStress, "psi", si.InvConcStress, "; ",
            si.OperConcStress);
        page.eq2("f<sub>s</sub> = F<sub>c,allow</sub> / r", inv.SteelStress, op.SteelStress, "psi",
                 si.InvConcStress, " / ", a.r, "; ", si.OperConcStress, " / ", b.r);
    }
    if (inv.compSteelChecked) {
        page.eq2(compSteelFormula(), inv.CompSteelStress, op.CompSteelStress, "psi",
                 Const{kCompSteelFactorOfN}, " &times; ", inv.SteelStress, " &times; ", a.e, " / ",
                 a.u, "; ", Const{kCompSteelFactorOfN}, " &times; ", op.SteelStress, " &times; ",
                 b.e, " / ", b.u);
    } else {
        page.eq2(compSteelNotChecked(), inv.CompSteelStress, op.CompSteelStress, "psi");
    }
    page.eq2(momentFormula(), inv.ResistingMoment, op.ResistingMoment, "lb-ft", "(", si.areaTop,
             " &times; ", inv.SteelStress, ") &times; ", a.j, " &times; ", si.d, " / ",
             Const{kInchesPerFoot}, "; (", si.areaTop, " &times; ", op.SteelStress, ") &times; ",
             b.j, " &times; ", si.d, " / ", Const{kInchesPerFoot});
}

// Both passes of one working stress analysis: their section (once where they share it),
// their stresses and resisting moments.
void passes(Page& page, const WorkingStressInput& si, const InventoryPass& inv,
            const OperatingPass& op, std::string_view title) {
    if (op.sharesInventorySection) {
        page.openStep(title,
                      "Neither pass adjusted the compression steel, so the inventory and "
                      "the operating pass share one section.");
        page.twoColumns("inventory", "operating");
        sectionRows(page, si, inv, &op);
        page.closeStep();
    } else {
        page.openStep(title, "The inventory pass; the operating pass starts again from m = " +
                                 shortestText(kCompSteelFactorOfN) + "n &minus; 1.");
        sectionRows<InventoryPass, OperatingPass>(page, si, inv, nullptr);
        page.closeStep();
        page.openStep(title, "The operating pass.");
        sectionRows<OperatingPass, OperatingPass>(page, si, op, nullptr);
        page.closeStep();
    }
    page.openStep("Stresses and resisting moments",
                  "The inventory pass at the inventory allowables, the operating pass at the "
                  "operating allowables.");
    stressRows(page, si, inv, op);
    page.closeStep();
}

// The working stress rating of both levels from their resisting moments. `rating` says
// whether the tonnage is a rating (a working stress run) or only a term of the stress
// scales (a load factor run).
void levels(Page& page, const InventoryPass& ip, const OperatingPass& op, const LevelRating& inv,
            const LevelRating& oper, std::string_view title, bool rating) {
    const Moments& m = *page.rating()->moments;
    page.openStep(title, rating ? "At each level the capacity left for live load over the live "
                                  "load moment."
                                : "Not a rating: the tonnage T<sub>ws</sub> only enters the "
                                  "stress scales below.");
    const std::string kip = shortestText(kLbPerKip);
    const std::string hs20 = shortestText(kHs20Tons);
    page.twoColumns("inventory", "operating");
    const double& a = ip.ResistingMoment;
    const double& b = op.ResistingMoment;
    page.eq2("M<sub>cap</sub> = M / " + kip, inv.MemberCapacity, oper.MemberCapacity, "kip-ft", a,
             " / ", Const{kLbPerKip}, "; ", b, " / ", Const{kLbPerKip});
    page.eq2("M<sub>LL+I,cap</sub> = (M &minus; M<sub>DL</sub>) / " + kip, inv.LiveLoadCapacity,
             oper.LiveLoadCapacity, "kip-ft", "(", a, " &minus; ", m.M_DL, ") / ", Const{kLbPerKip},
             "; (", b, " &minus; ", m.M_DL, ") / ", Const{kLbPerKip});
    page.eq2("RF = (M &minus; M<sub>DL</sub>) / M<sub>LL</sub>", inv.ratingFactor,
             oper.ratingFactor, "", "(", a, " &minus; ", m.M_DL, ") / ", m.M_LL, "; (", b,
             " &minus; ", m.M_DL, ") / ", m.M_LL);
    page.eq2(
        rating ? "HS20 rating = " + hs20 + " RF" : "T<sub>ws</sub> = " + hs20 + " RF, not a rating",
        inv.RatingTons, oper.RatingTons, "tons", Const{kHs20Tons}, " &times; ", inv.ratingFactor,
        "; ", Const{kHs20Tons}, " &times; ", oper.ratingFactor);
    page.closeStep();
}

}  // namespace

bool stressScales(Page& page) {
    const Rating& r = *page.rating();
    if (!page.reached(r.stressScales) || !page.reached(r.hs20)) {
        return false;
    }
    const StressScales& s = *r.stressScales;
    const ReportMoments& k = *r.reportMoments;
    const double& rf = r.loadFactorRating->RatingFactor;
    page.openStep("Reported stresses at the load factor rating load",
                  "Each pass's stresses carried in proportion to the service moment: dead load "
                  "plus the rated live load, over the working stress service moment of that "
                  "level.");
    const std::string hs20 = shortestText(kHs20Tons);
    page.eq("scale<sub>oper</sub> = (LL RF + DL) / (LL T<sub>ws,oper</sub> / " + hs20 + " + DL)",
            s.StressScaleOper, "", "(", k.LiveLoadMoment, " &times; ", rf, " + ", k.DeadLoadMoment,
            ") / (", k.LiveLoadMoment, " &times; ", r.workingStressOperating->RatingTons, " / ",
            Const{kHs20Tons}, " + ", k.DeadLoadMoment, ")");
    page.eq("scale<sub>inv</sub> = (" + shortestText(kInventoryShare) +
                " LL RF + DL) / (LL T<sub>ws,inv</sub> / " + hs20 + " + DL)",
            s.StressScaleInv, "", "(", Const{kInventoryShare}, " &times; ", k.LiveLoadMoment,
            " &times; ", rf, " + ", k.DeadLoadMoment, ") / (", k.LiveLoadMoment, " &times; ",
            r.workingStressInventory->RatingTons, " / ", Const{kHs20Tons}, " + ", k.DeadLoadMoment,
            ")");
    const InventoryPass& ip = *r.inventoryPass;
    const OperatingPass& op = *r.operatingPass;
    const Hs20Rating& t = *r.hs20;
    page.twoColumns("inventory", "operating");
    page.eq2("f<sub>c</sub> = f<sub>c,ws</sub> &times; scale", t.inventory.ConcreteStress,
             t.operating.ConcreteStress, "psi", ip.ConcreteStress, " &times; ", s.StressScaleInv,
             "; ", op.ConcreteStress, " &times; ", s.StressScaleOper);
    page.eq2("f<sub>s</sub> = f<sub>s,ws</sub> &times; scale", t.inventory.SteelStress,
             t.operating.SteelStress, "psi", ip.SteelStress, " &times; ", s.StressScaleInv, "; ",
             op.SteelStress, " &times; ", s.StressScaleOper);
    page.eq2("f<sub>sc</sub> = f<sub>sc,ws</sub> &times; scale", t.inventory.CompSteelStress,
             t.operating.CompSteelStress, "psi", ip.CompSteelStress, " &times; ", s.StressScaleInv,
             "; ", op.CompSteelStress, " &times; ", s.StressScaleOper);
    page.closeStep();
    return true;
}

// The working stress analysis of a section: its passes and its ratings.
bool workingStress(Page& page) {
    const Rating& r = *page.rating();
    const bool lf = page.loadFactor();
    if (!page.reached(r.sectionInput)) {
        return false;
    }
    sectionInput(page, *r.sectionInput,
                 lf ? "Cracked transformed section: inputs"
                    : "Section over the girders (the report's): inputs",
                 "The negative-moment section over a girder: the top steel in tension at "
                 "d = d<sub>top</sub> from the bottom face, which is in compression; the bottom "
                 "steel in compression at d&prime;.");
    if (!page.reached(r.inventoryPass) || !page.reached(r.moments) ||
        !page.reached(r.workingStressInventory) || !page.reached(r.operatingPass) ||
        !page.reached(r.workingStressOperating)) {
        return false;
    }
    passes(page, *r.sectionInput, *r.inventoryPass, *r.operatingPass,
           "Cracked section over the girders");
    return true;
}

void workingStressLevels(Page& page, bool rating) {
    const Rating& r = *page.rating();
    levels(page, *r.inventoryPass, *r.operatingPass, *r.workingStressInventory,
           *r.workingStressOperating,
           rating ? "Working stress rating of the section over the girders"
                  : "Working stress levels, for the stress scales",
           rating);
}

void midspan(Page& page) {
    const Rating& r = *page.rating();
    if (r.midspanNotAnalysed) {
        page.openStep("Midspan section",
                      "The section between the girders, with the bottom steel in tension.");
        page.note(
            "Not analysed: with these steel distances its compression steel is not "
            "between the top face and its tension steel (see the review).");
        page.closeStep();
        return;
    }
    if (!r.midspan) {
        return;
    }
    const MidspanSection& m = *r.midspan;
    sectionInput(page, m.sectionInput, "Midspan section: inputs",
                 "The positive-moment section between the girders, turned over: the bottom steel "
                 "in tension at d = h &minus; d&prime;, the top steel in compression at "
                 "h &minus; d<sub>top</sub>, with the same allowables, n and moments. The report "
                 "does not rate it.");
    passes(page, m.sectionInput, m.inventoryPass, m.operatingPass, "Cracked midspan section");
    levels(page, m.inventoryPass, m.operatingPass, m.inventory, m.operating,
           "Working stress rating of the midspan section", true);
}

}  // namespace slabrating::sheet
