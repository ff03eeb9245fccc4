// The working stress section analyses of the calculation sheet: the cracked section over the
// girders (and, in a load factor run, the one that scales the reported stresses), and the
// midspan section of a working stress run.
#include <string>
#include <string_view>
#include <type_traits>

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

using S = SectionQuantities;
using WS = WorkingStressInput;
using IP = InventoryPass;
using OP = OperatingPass;
using LR = LevelRating;

// The inputs of the analysis at `si`.
template <class Input>
bool sectionInput(Page& page, Input si, std::string_view title, std::string_view why) {
    page.openStep(title, why);
    page.item("n", at<&WS::n>(si), "");
    page.item("F<sub>c,inv</sub>", at<&WS::InvConcStress>(si), "psi");
    page.item("F<sub>s,inv</sub>", at<&WS::InvSteelStress>(si), "psi");
    page.item("F<sub>c,oper</sub>", at<&WS::OperConcStress>(si), "psi");
    page.item("F<sub>s,oper</sub>", at<&WS::OperSteelStress>(si), "psi");
    page.item("A<sub>s</sub>, tension steel", at<&WS::areaTop>(si), "sq in");
    page.item("d", at<&WS::d>(si), "in");
    page.item("A&prime;<sub>s</sub>, compression steel", at<&WS::areaBot>(si), "sq in");
    page.item("d&prime;", at<&WS::dPrime>(si), "in");
    page.closeStep();
    return true;
}

// In place of the second pass of `sectionRows`: the first pass's section alone.
struct OnePass {};

// The compression steel's transformed factor m of the pass at `first`, and of the one at
// `second` beside it where both share the section.
template <class Input, class First, class Second>
void factorRow(Page& page, Input si, First first, Second second) {
    const std::string m0 = shortestText(kCompSteelFactorOfN) + "n &minus; 1";
    const std::string m = "m = " + m0 + ", reduced to (" + m0 +
                          ") F<sub>s,allow</sub> / f<sub>sc</sub> while f<sub>sc</sub> &gt; "
                          "F<sub>s,allow</sub>";
    const auto factor = at<&Held<First>::CompSteelFactor>(first);
    const auto count = at<&Held<First>::AdjustCount>(first);
    if constexpr (!std::is_same_v<Second, OnePass>) {
        page.eq2(m, factor, at<&OP::CompSteelFactor>(second), "", Const{kCompSteelFactorOfN},
                 " &times; ", at<&WS::n>(si), " &minus; 1, adjusted ", count, " and ",
                 at<&OP::AdjustCount>(second), " times");
    } else {
        page.eq(m, factor, "", Const{kCompSteelFactorOfN}, " &times; ", at<&WS::n>(si),
                " &minus; 1, adjusted ", count, " times");
    }
}

// The section's quantities of the pass at `first`, or of both passes where they share the
// section (`second` the operating pass).
template <class Input, class First, class Second>
void sectionRows(Page& page, Input si, First first, Second second) {
    constexpr bool both = !std::is_same_v<Second, OnePass>;
    const auto s = at<&Held<First>::section>(first);
    const auto s2 = [&] {
        if constexpr (both) {
            return at<&Held<Second>::section>(second);
        } else {
            return s;
        }
    }();
    const auto eq = [&](std::string_view symbols, auto value, auto secondValue, const auto&... p) {
        if constexpr (both) {
            page.eq2(symbols, value, secondValue, "", p...);
        } else {
            page.eq(symbols, value, "", p...);
        }
    };
    factorRow(page, si, first, second);
    const auto factor = at<&Held<First>::CompSteelFactor>(first);
    const auto n = at<&WS::n>(si);
    const auto areaTop = at<&WS::areaTop>(si);
    const auto areaBot = at<&WS::areaBot>(si);
    const auto d = at<&WS::d>(si);
    const auto dPrime = at<&WS::dPrime>(si);
    const std::string w = shortestText(kStripWidthIn);
    eq("A = n A<sub>s</sub> / (" + w + " d)", at<&S::A>(s), at<&S::A>(s2), n, " &times; ", areaTop,
       " / (", Const{kStripWidthIn}, " &times; ", d, ")");
    eq("B = m A&prime;<sub>s</sub> / (" + w + " d)", at<&S::B>(s), at<&S::B>(s2), factor,
       " &times; ", areaBot, " / (", Const{kStripWidthIn}, " &times; ", d, ")");
    eq("B&prime; = B d&prime; / d", at<&S::BPrime>(s), at<&S::BPrime>(s2), at<&S::B>(s),
       " &times; ", dPrime, " / ", d);
    eq("P = A + B", at<&S::P>(s), at<&S::P>(s2), at<&S::A>(s), " + ", at<&S::B>(s));
    eq("Q = A + B&prime;", at<&S::Q>(s), at<&S::Q>(s2), at<&S::A>(s), " + ", at<&S::BPrime>(s));
    eq("k = &radic;(P&sup2; + 2Q) &minus; P", at<&S::k>(s), at<&S::k>(s2), "&radic;(", at<&S::P>(s),
       "&sup2; + 2 &times; ", at<&S::Q>(s), ") &minus; ", at<&S::P>(s));
    eq("c = 1 &minus; d&prime; / (k d)", at<&S::c>(s), at<&S::c>(s2), "1 &minus; ", dPrime, " / (",
       at<&S::k>(s), " &times; ", d, ")");
    const std::string sixth = shortestText(kOneSixth);
    eq("z<sub>r</sub> = (" + sixth + " + B&prime; c / k&sup2;) / (0.5 + B c / k)", at<&S::zr>(s),
       at<&S::zr>(s2), "(", Const{kOneSixth}, " + ", at<&S::BPrime>(s), " &times; ", at<&S::c>(s),
       " / ", at<&S::k>(s), "&sup2;) / (0.5 + ", at<&S::B>(s), " &times; ", at<&S::c>(s), " / ",
       at<&S::k>(s), ")");
    eq("j = 1 &minus; k z<sub>r</sub>", at<&S::j>(s), at<&S::j>(s2), "1 &minus; ", at<&S::k>(s),
       " &times; ", at<&S::zr>(s));
    eq("e = k &minus; d&prime; / d, d&prime; / d stored in single precision", at<&S::e>(s),
       at<&S::e>(s2), at<&S::k>(s), " &minus; ", dPrime, " / ", d);
    eq("u = 1 &minus; k", at<&S::u>(s), at<&S::u>(s2), "1 &minus; ", at<&S::k>(s));
    eq("r = k / (n u)", at<&S::r>(s), at<&S::r>(s2), at<&S::k>(s), " / (", n, " &times; ",
       at<&S::u>(s), ")");
}

// The stresses and the resisting moment of the pass at `p` at its allowables.
template <class Input, class Pass, class ConcAllowable, class SteelAllowable>
void stressRows(Page& page, std::string_view level, Input si, Pass p, ConcAllowable concAllowable,
                SteelAllowable steelAllowable) {
    using P = Held<Pass>;
    const P& held = *page.held(p);
    const std::string atLevel = std::string(" (") + std::string(level) + ")";
    const auto s = at<&P::section>(p);
    const auto steel = at<&P::SteelStress>(p);
    if (held.governs == Governing::Steel) {
        page.eq("f<sub>s</sub> = F<sub>s,allow</sub>" + atLevel, steel, "psi", steelAllowable);
        page.eq("f<sub>c</sub> = f<sub>s</sub> r &le; F<sub>c,allow</sub>: the steel governs",
                at<&P::ConcreteStress>(p), "psi", steel, " &times; ", at<&S::r>(s), " &le; ",
                concAllowable);
    } else {
        page.eq("f<sub>c</sub> = F<sub>c,allow</sub>" + atLevel +
                    ", as F<sub>s,allow</sub> r &gt; F<sub>c,allow</sub>: the concrete governs",
                at<&P::ConcreteStress>(p), "psi", concAllowable);
        page.eq("f<sub>s</sub> = F<sub>c,allow</sub> / r", steel, "psi", concAllowable, " / ",
                at<&S::r>(s));
    }
    if (held.compSteelChecked) {
        page.eq(compSteelFormula(), at<&P::CompSteelStress>(p), "psi", Const{kCompSteelFactorOfN},
                " &times; ", steel, " &times; ", at<&S::e>(s), " / ", at<&S::u>(s));
    } else {
        page.eq(compSteelNotChecked(), at<&P::CompSteelStress>(p), "psi");
    }
    page.eq(momentFormula(), at<&P::ResistingMoment>(p), "lb-ft", "(", at<&WS::areaTop>(si),
            " &times; ", steel, ") &times; ", at<&S::j>(s), " &times; ", at<&WS::d>(si), " / ",
            Const{kInchesPerFoot});
}

// The stresses and resisting moments of both passes, side by side where the same material
// governs them and their compression steel was checked alike; the numbers substituted are
// the inventory pass's, then the operating pass's.
template <class Input, class Inventory, class Operating>
void stressRows(Page& page, Input si, Inventory inv, Operating op) {
    const IP& heldInv = *page.held(inv);
    const OP& heldOp = *page.held(op);
    const auto invConc = at<&WS::InvConcStress>(si);
    const auto invSteel = at<&WS::InvSteelStress>(si);
    const auto operConc = at<&WS::OperConcStress>(si);
    const auto operSteel = at<&WS::OperSteelStress>(si);
    if (heldInv.governs != heldOp.governs || heldInv.compSteelChecked != heldOp.compSteelChecked) {
        page.note("Stresses and resisting moments:");
        stressRows(page, "inventory", si, inv, invConc, invSteel);
        stressRows(page, "operating", si, op, operConc, operSteel);
        return;
    }
    page.twoColumns("inventory", "operating");
    const auto a = at<&IP::section>(inv);
    const auto b = at<&OP::section>(op);
    if (heldInv.governs == Governing::Steel) {
        page.eq2("f<sub>s</sub> = F<sub>s,allow</sub>", at<&IP::SteelStress>(inv),
                 at<&OP::SteelStress>(op), "psi", invSteel, "; ", operSteel);
        page.eq2("f<sub>c</sub> = f<sub>s</sub> r &le; F<sub>c,allow</sub>: the steel governs",
                 at<&IP::ConcreteStress>(inv), at<&OP::ConcreteStress>(op), "psi",
                 at<&IP::SteelStress>(inv), " &times; ", at<&S::r>(a), " &le; ", invConc, "; ",
                 at<&OP::SteelStress>(op), " &times; ", at<&S::r>(b), " &le; ", operConc);
    } else {
        page.eq2(
            "f<sub>c</sub> = F<sub>c,allow</sub>, as F<sub>s,allow</sub> r &gt; "
            "F<sub>c,allow</sub>: the concrete governs",
            at<&IP::ConcreteStress>(inv), at<&OP::ConcreteStress>(op), "psi", invConc, "; ",
            operConc);
        page.eq2("f<sub>s</sub> = F<sub>c,allow</sub> / r", at<&IP::SteelStress>(inv),
                 at<&OP::SteelStress>(op), "psi", invConc, " / ", at<&S::r>(a), "; ", operConc,
                 " / ", at<&S::r>(b));
    }
    if (heldInv.compSteelChecked) {
        page.eq2(compSteelFormula(), at<&IP::CompSteelStress>(inv), at<&OP::CompSteelStress>(op),
                 "psi", Const{kCompSteelFactorOfN}, " &times; ", at<&IP::SteelStress>(inv),
                 " &times; ", at<&S::e>(a), " / ", at<&S::u>(a), "; ", Const{kCompSteelFactorOfN},
                 " &times; ", at<&OP::SteelStress>(op), " &times; ", at<&S::e>(b), " / ",
                 at<&S::u>(b));
    } else {
        page.eq2(compSteelNotChecked(), at<&IP::CompSteelStress>(inv), at<&OP::CompSteelStress>(op),
                 "psi");
    }
    const auto areaTop = at<&WS::areaTop>(si);
    const auto d = at<&WS::d>(si);
    page.eq2(momentFormula(), at<&IP::ResistingMoment>(inv), at<&OP::ResistingMoment>(op), "lb-ft",
             "(", areaTop, " &times; ", at<&IP::SteelStress>(inv), ") &times; ", at<&S::j>(a),
             " &times; ", d, " / ", Const{kInchesPerFoot}, "; (", areaTop, " &times; ",
             at<&OP::SteelStress>(op), ") &times; ", at<&S::j>(b), " &times; ", d, " / ",
             Const{kInchesPerFoot});
}

// Both passes of one working stress analysis: their section (once where they share it),
// their stresses and resisting moments.
template <class Input, class Inventory, class Operating>
void passes(Page& page, Input si, Inventory inv, Operating op, std::string_view title) {
    if (page.held(op)->sharesInventorySection) {
        page.openStep(title,
                      "Neither pass adjusted the compression steel, so the inventory and "
                      "the operating pass share one section.");
        page.twoColumns("inventory", "operating");
        sectionRows(page, si, inv, op);
        page.closeStep();
    } else {
        page.openStep(title, "The inventory pass; the operating pass starts again from m = " +
                                 shortestText(kCompSteelFactorOfN) + "n &minus; 1.");
        sectionRows(page, si, inv, OnePass{});
        page.closeStep();
        page.openStep(title, "The operating pass.");
        sectionRows(page, si, op, OnePass{});
        page.closeStep();
    }
    page.openStep("Stresses and resisting moments",
                  "The inventory pass at the inventory allowables, the operating pass at the "
                  "operating allowables.");
    stressRows(page, si, inv, op);
    page.closeStep();
}

// The working stress rating of both levels (at `inv` and `oper`) from the resisting moments
// of the passes at `ip` and `op`. `rating` says whether the tonnage is a rating (a working
// stress run) or only a term of the stress scales (a load factor run).
template <class InvPass, class OperPass, class Inventory, class Operating>
void levels(Page& page, InvPass ip, OperPass op, Inventory inv, Operating oper,
            std::string_view title, bool rating) {
    constexpr At<&Rating::moments> m;
    const auto dead = at<&Moments::M_DL>(m);
    const auto live = at<&Moments::M_LL>(m);
    page.openStep(title, rating ? "At each level the capacity left for live load over the live "
                                  "load moment."
                                : "Not a rating: the tonnage T<sub>ws</sub> only enters the "
                                  "stress scales below.");
    const std::string kip = shortestText(kLbPerKip);
    const std::string hs20 = shortestText(kHs20Tons);
    page.twoColumns("inventory", "operating");
    const auto a = at<&IP::ResistingMoment>(ip);
    const auto b = at<&OP::ResistingMoment>(op);
    page.eq2("M<sub>cap</sub> = M / " + kip, at<&LR::MemberCapacity>(inv),
             at<&LR::MemberCapacity>(oper), "kip-ft", a, " / ", Const{kLbPerKip}, "; ", b, " / ",
             Const{kLbPerKip});
    page.eq2("M<sub>LL+I,cap</sub> = (M &minus; M<sub>DL</sub>) / " + kip,
             at<&LR::LiveLoadCapacity>(inv), at<&LR::LiveLoadCapacity>(oper), "kip-ft", "(", a,
             " &minus; ", dead, ") / ", Const{kLbPerKip}, "; (", b, " &minus; ", dead, ") / ",
             Const{kLbPerKip});
    page.eq2("RF = (M &minus; M<sub>DL</sub>) / M<sub>LL</sub>", at<&LR::ratingFactor>(inv),
             at<&LR::ratingFactor>(oper), "", "(", a, " &minus; ", dead, ") / ", live, "; (", b,
             " &minus; ", dead, ") / ", live);
    page.eq2(
        rating ? "HS20 rating = " + hs20 + " RF" : "T<sub>ws</sub> = " + hs20 + " RF, not a rating",
        at<&LR::RatingTons>(inv), at<&LR::RatingTons>(oper), "tons", Const{kHs20Tons}, " &times; ",
        at<&LR::ratingFactor>(inv), "; ", Const{kHs20Tons}, " &times; ",
        at<&LR::ratingFactor>(oper));
    page.closeStep();
}

}  // namespace

bool stressScales(Page& page) {
    const Rating& r = *page.rating();
    if (!page.reached(r.stressScales) || !page.reached(r.hs20)) {
        return false;
    }
    constexpr At<&Rating::stressScales> s;
    constexpr At<&Rating::reportMoments> k;
    const auto inv = at<&StressScales::StressScaleInv>(s);
    const auto oper = at<&StressScales::StressScaleOper>(s);
    const auto dead = at<&ReportMoments::DeadLoadMoment>(k);
    const auto live = at<&ReportMoments::LiveLoadMoment>(k);
    constexpr At<&Rating::loadFactorRating, &LoadFactorRating::RatingFactor> rf;
    page.openStep("Reported stresses at the load factor rating load",
                  "Each pass's stresses carried in proportion to the service moment: dead load "
                  "plus the rated live load, over the working stress service moment of that "
                  "level.");
    const std::string hs20 = shortestText(kHs20Tons);
    page.eq("scale<sub>oper</sub> = (LL RF + DL) / (LL T<sub>ws,oper</sub> / " + hs20 + " + DL)",
            oper, "", "(", live, " &times; ", rf, " + ", dead, ") / (", live, " &times; ",
            At<&Rating::workingStressOperating, &LR::RatingTons>{}, " / ", Const{kHs20Tons}, " + ",
            dead, ")");
    page.eq("scale<sub>inv</sub> = (" + shortestText(kInventoryShare) +
                " LL RF + DL) / (LL T<sub>ws,inv</sub> / " + hs20 + " + DL)",
            inv, "", "(", Const{kInventoryShare}, " &times; ", live, " &times; ", rf, " + ", dead,
            ") / (", live, " &times; ", At<&Rating::workingStressInventory, &LR::RatingTons>{},
            " / ", Const{kHs20Tons}, " + ", dead, ")");
    constexpr At<&Rating::inventoryPass> ip;
    constexpr At<&Rating::operatingPass> op;
    constexpr At<&Rating::hs20, &Hs20Rating::inventory> ti;
    constexpr At<&Rating::hs20, &Hs20Rating::operating> to;
    using HI = Hs20Inventory;
    using HO = Hs20Operating;
    page.twoColumns("inventory", "operating");
    page.eq2("f<sub>c</sub> = f<sub>c,ws</sub> &times; scale", at<&HI::ConcreteStress>(ti),
             at<&HO::ConcreteStress>(to), "psi", at<&IP::ConcreteStress>(ip), " &times; ", inv,
             "; ", at<&OP::ConcreteStress>(op), " &times; ", oper);
    page.eq2("f<sub>s</sub> = f<sub>s,ws</sub> &times; scale", at<&HI::SteelStress>(ti),
             at<&HO::SteelStress>(to), "psi", at<&IP::SteelStress>(ip), " &times; ", inv, "; ",
             at<&OP::SteelStress>(op), " &times; ", oper);
    page.eq2("f<sub>sc</sub> = f<sub>sc,ws</sub> &times; scale", at<&HI::CompSteelStress>(ti),
             at<&HO::CompSteelStress>(to), "psi", at<&IP::CompSteelStress>(ip), " &times; ", inv,
             "; ", at<&OP::CompSteelStress>(op), " &times; ", oper);
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
    constexpr At<&Rating::sectionInput> si;
    sectionInput(page, si,
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
    passes(page, si, At<&Rating::inventoryPass>{}, At<&Rating::operatingPass>{},
           "Cracked section over the girders");
    return true;
}

void workingStressLevels(Page& page, bool rating) {
    levels(page, At<&Rating::inventoryPass>{}, At<&Rating::operatingPass>{},
           At<&Rating::workingStressInventory>{}, At<&Rating::workingStressOperating>{},
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
    using M = MidspanSection;
    constexpr At<&Rating::midspan, &M::sectionInput> si;
    constexpr At<&Rating::midspan, &M::inventoryPass> ip;
    constexpr At<&Rating::midspan, &M::operatingPass> op;
    sectionInput(page, si, "Midspan section: inputs",
                 "The positive-moment section between the girders, turned over: the bottom steel "
                 "in tension at d = h &minus; d&prime;, the top steel in compression at "
                 "h &minus; d<sub>top</sub>, with the same allowables, n and moments. The report "
                 "does not rate it.");
    passes(page, si, ip, op, "Cracked midspan section");
    levels(page, ip, op, At<&Rating::midspan, &M::inventory>{},
           At<&Rating::midspan, &M::operating>{}, "Working stress rating of the midspan section",
           true);
}

}  // namespace slabrating::sheet
