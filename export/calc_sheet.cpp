#include "export/calc_sheet.h"

#include <array>
#include <charconv>
#include <string>
#include <string_view>

#include "engine/field_table.h"
#include "engine/format.h"
#include "engine/rating_run.h"
#include "engine/rules.h"
#include "engine/version.h"
#include "export/sheet_page.h"
#include "export/text.h"

namespace slabrating {

namespace {

using namespace rules;
using sheet::At;
using sheet::at;
using sheet::Const;
using sheet::Page;

// Decimals of the report's table rows ("##0.00" and its kin) and of a rating factor.
constexpr int kReportDecimals = 2;
constexpr int kFactorDecimals = 3;

// Room for the longest sheet, written without growing the text.
constexpr std::size_t kSheetCapacity = 96 * 1024;

// Screen and print styles. Printed, the page's margin boxes carry the structure number and
// "page N of M" on every page, which also keeps the browser's own header and footer (the
// file's address, the time of printing) off the paper; the margins suit A4 and Letter alike.
// No step, table or figure is split across pages, and the inputs start a page of their own,
// so that page 1 holds the rating.
constexpr std::string_view kStyle = R"(
*{box-sizing:border-box}
body{font:9pt/1.2 "DejaVu Sans",Verdana,Arial,sans-serif;color:#111;margin:0 auto;max-width:190mm;background:#fff}
@media screen{body{padding:6mm 4mm}}
h1{font-size:14pt;margin:0 0 .5mm}
.scope{margin:0 0 2mm;color:#333}
h2{font-size:11pt;margin:3mm 0 1.2mm;border-bottom:1.5px solid #333;break-after:avoid;page-break-after:avoid}
.inputs{display:flex;gap:4mm;align-items:flex-start;break-inside:avoid}
.inputs>table{flex:1 1 70%;font-size:8pt}
.inputs>figure{flex:1 1 30%;margin:1mm 0}
h3{font-size:9pt;margin:0 0 .4mm}
table.grid{border-collapse:collapse;width:100%;margin:1mm 0;break-inside:avoid}
table.grid td,table.grid th{border:1px solid #bbb;padding:.3mm 1.5mm;text-align:left;vertical-align:top}
table.grid th{background:#eee;font-weight:600}
table.grid .n{text-align:right;white-space:nowrap}
table.grid tr.low td{background:#fdeaea;font-weight:700}
.step{border:1px solid #aaa;border-radius:2px;padding:.6mm 1.8mm;margin:1mm 0;break-inside:avoid;page-break-inside:avoid}
.note{margin:.3mm 0;color:#333;font-size:8pt}
h3 .why{font-weight:400;color:#333;font-size:8pt}
p.items{margin:.4mm 0;font-size:8pt}
p.items span{white-space:nowrap}
table.eqs{border-collapse:collapse;width:100%;font-size:8pt;line-height:1.15}
table.eqs td{padding:.1mm 1.5mm .1mm 0;vertical-align:top}
table.eqs th{font-size:8pt;text-align:left;color:#444;font-weight:600}
table.eqs td.sym{width:27%;font-style:italic}
table.eqs td.sub{width:54%;color:#333}
table.eqs td.res{width:19%;white-space:nowrap}
table.eqs.two td.sub{width:43%}
table.eqs.two td.res{width:15%}
table.eqs td.res data{font-weight:700}
sub{font-size:75%}
sup.single{font-size:6.5pt;color:#666;margin-left:.4mm}
.stopped{border:2px solid #b00;background:#fdeaea;color:#700;padding:1.5mm 3mm;margin:2mm 0;font-weight:700;break-inside:avoid}
.warn{display:block;border:2px solid #c70;background:#fff4e0;color:#630;padding:1mm 3mm;margin:1mm 0;font-weight:700}
.review{border:2px solid #555;padding:1mm 3mm 1.5mm;margin:2.5mm 0;box-decoration-break:clone}
.review h2{margin-top:1mm;break-after:avoid}
.review ul{margin:1mm 0;padding-left:5mm}
.review li{margin:.6mm 0;break-inside:avoid}
.review .sev{display:inline-block;min-width:15mm;font-weight:700;text-transform:uppercase;font-size:8pt}
.review li.error .sev{color:#fff;background:#a00;padding:0 1mm}
.review li.warning .sev{color:#a00}
.review code{color:#555;font-size:8pt}
.basis{font-size:8pt;margin:1mm 0;padding-left:5mm}
.basis li{margin:.3mm 0}
.basis .src{color:#333;font-style:italic}
.summary td.big{font-size:11pt;font-weight:700}
figure{margin:1.5mm 0;break-inside:avoid;page-break-inside:avoid}
figcaption{font-size:8.5pt;color:#333}
svg text{font-family:"DejaVu Sans",Verdana,Arial,sans-serif}
table.sign{border-collapse:collapse;width:100%;break-inside:avoid}
table.sign td,table.sign th{border:1px solid #888;padding:1mm 2mm;text-align:left;vertical-align:top}
table.sign th{width:16%;background:#eee}
table.sign td{height:8mm}
table.sign td.seal{width:36%;height:auto;text-align:center;color:#777}
)";

// A text as a CSS string, for the page margin boxes: every character outside printable
// ASCII, and the quote, the backslash and the angle brackets, as an escape.
void appendCssString(std::string& out, std::string_view utf8) {
    out += '"';
    std::size_t i = 0;
    while (i < utf8.size()) {
        unsigned code = static_cast<unsigned char>(utf8[i]);
        std::size_t length = 1;
        if (code >= 0xC0 && code < 0xE0 && i + 1 < utf8.size()) {
            code = ((code & 0x1F) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F);
            length = 2;
        }
        if (code >= 0x20 && code < 0x7F && code != '"' && code != '\\' && code != '<' &&
            code != '>') {
            out += static_cast<char>(code);
        } else {
            char buf[16];
            const char* end = std::to_chars(buf, buf + sizeof buf, code, 16).ptr;
            out += '\\';
            out.append(buf, static_cast<std::size_t>(end - buf));
            out += ' ';
        }
        i += length;
    }
    out += '"';
}

// The structure number as the sheet shows it: without the blanks that pad it.
std::string structureText(const SlabFields& fields) {
    const std::string_view s = fields.StructNo;
    const std::size_t first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return latin1ToUtf8(s.substr(first, s.find_last_not_of(' ') - first + 1));
}

void head(Page& page) {
    const RatedSlab& slab = page.slab();
    const std::string structure = structureText(slab.fields);
    page.raw(
        "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
        "<meta name=\"viewport\" content=\"width=device-width\">"
        "<meta name=\"generator\" content=\"Slab Rating ");
    page.raw(kVersionNumber);
    page.raw("\"><title>Calculation sheet ");
    page.text(structure);
    page.raw("</title><style>@page{margin:10mm 12mm 9mm;@top-left{content:");
    std::string margin;
    appendCssString(margin, "Slab Rating calculation sheet \xC2\xB7 Structure " + structure);
    page.raw(margin);
    page.raw(";font:7.5pt \"DejaVu Sans\",sans-serif;color:#444}@top-right{content:");
    margin.clear();
    std::string right = page.rating() != nullptr ? latin1ToUtf8(page.rating()->date) : "";
    if (page.stopped()) {
        right += right.empty() ? "RUN STOPPED" : " \xC2\xB7 RUN STOPPED";
    }
    appendCssString(margin, right);
    page.raw(margin);
    page.raw(";font:7.5pt \"DejaVu Sans\",sans-serif;color:#444}@bottom-left{content:");
    margin.clear();
    appendCssString(margin, "Structure " + structure);
    page.raw(margin);
    page.raw(
        ";font:7.5pt \"DejaVu Sans\",sans-serif;color:#444}@bottom-right{content:\"page \" "
        "counter(page) \" of \" counter(pages);font:7.5pt \"DejaVu Sans\",sans-serif;"
        "color:#444}}");
    page.raw(kStyle);
    page.raw("</style></head>\n<body>\n");
}

void header(Page& page) {
    const RatedSlab& slab = page.slab();
    const SlabFields& f = slab.fields;
    const auto cell = [&page](Field field, std::string_view value) {
        page.raw("<th>");
        page.raw(fieldInfo(field).label);
        page.raw("</th><td>");
        page.latin1(value);
        page.raw("</td>");
    };
    page.raw(
        "<h1>Load rating calculation sheet</h1><p class=\"scope\">Reinforced concrete deck slab: "
        "the one-foot design strip between girders, main reinforcement perpendicular to "
        "traffic.</p><table class=\"grid\"><tr>");
    cell(Field::StructNo, f.StructNo);
    cell(Field::Hwy, f.Hwy);
    page.raw("</tr><tr>");
    cell(Field::BatchID, f.BatchID);
    cell(Field::Rater, f.Rater);
    page.raw("</tr><tr><th>");
    page.raw(fieldInfo(Field::Comments).label);
    page.raw("</th><td colspan=\"3\">");
    page.latin1(f.Comments);
    page.raw("</td></tr><tr><th>Date</th><td>");
    if (page.rating() != nullptr) {
        page.latin1(page.rating()->date);
    }
    page.raw("</td><th>Program</th><td>Slab Rating ");
    page.raw(kVersionNumber);
    page.raw("</td></tr>");
    if (!slab.file.empty()) {
        page.raw("<tr><th>Input file</th><td colspan=\"3\">");
        page.text(fileNameToUtf8(slab.file));
        page.raw("</td></tr>");
    }
    page.raw("<tr><th>Outcome</th><td>");
    page.raw(outcomeName(slab.outcome));
    page.raw("</td><th>Status</th><td>");
    page.raw(statusName(page.rating() != nullptr ? page.rating()->status : RatingStatus::Stopped));
    page.raw("</td></tr></table>\n");
}

void method(Page& page) {
    const bool lf = page.loadFactor();
    page.raw("<p><b>Method: ");
    page.raw(methodInfo(page.rating()->method.value()).name);
    page.raw(".</b> The ");
    page.raw(fieldInfo(Field::ModRatio).label);
    page.raw(" field reads &ldquo;<code>");
    page.latin1(page.slab().fields.ModRatio);
    page.raw("</code>&rdquo;, taken as n = ");
    page.put(sheet::inputNumber<Field::ModRatio>);
    if (lf) {
        page.parts(
            ", not greater than 0, which selects the load factor method: the strip is rated by "
            "its factored capacity &phi;M<sub>n</sub> from f&prime;<sub>c</sub> and "
            "F<sub>y</sub>, with the dead-load factor ",
            Const{kDeadLoadFactor}, " and the live-load factor ", Const{kLiveLoadFactor},
            " at the operating level; the inventory rating is ", Const{kInventoryShare},
            " of the operating one.</p>\n");
    } else {
        page.raw(
            ", greater than 0, which selects the working stress method: Concrete Fc and Steel Fy "
            "are the inventory allowable stresses and n is used as entered; the operating "
            "allowables come from the rating manual's table (appendix A). The report rates the "
            "section over the girders; the midspan section is analysed beside it.</p>\n");
    }
}

// The section a level of the governing rating comes from, as page 1 names it.
std::string_view sectionTitle(TensionFace section, bool loadFactor) {
    if (loadFactor) {
        return section == TensionFace::Top ? "top face, over the girders" : "bottom face, midspan";
    }
    return section == TensionFace::Top ? "over the girders" : "midspan";
}

// The governing rating and the report's own, at both levels.
void ratingTable(Page& page, const GoverningRating& g) {
    const bool lf = page.loadFactor();
    constexpr At<&Rating::governing, &GoverningRating::inventory> governingInv;
    constexpr At<&Rating::governing, &GoverningRating::operating> governingOper;
    constexpr At<&Rating::hs20, &Hs20Rating::inventory> hs20Inv;
    constexpr At<&Rating::hs20, &Hs20Rating::operating> hs20Oper;
    page.raw("<table class=\"grid summary\"><tr><th>HS20 truck (");
    page.constant(kHs20Tons);
    page.raw(
        " tons), the governing rating</th><th>Inventory</th><th>Operating</th></tr>"
        "<tr><td>Governing section</td><td class=\"n\">");
    page.raw(sectionTitle(g.inventory.section, lf));
    page.raw("</td><td class=\"n\">");
    page.raw(sectionTitle(g.operating.section, lf));
    page.raw("</td></tr><tr><td>Rating factor</td><td class=\"n big\">");
    page.put(at<&GoverningLevel::RatingFactor>(governingInv), kFactorDecimals);
    page.raw("</td><td class=\"n big\">");
    page.put(at<&GoverningLevel::RatingFactor>(governingOper), kFactorDecimals);
    page.raw("</td></tr><tr><td>Rating (tons)</td><td class=\"n big\">");
    page.put(at<&GoverningLevel::RatingTons>(governingInv), kReportDecimals);
    page.raw("</td><td class=\"n big\">");
    page.put(at<&GoverningLevel::RatingTons>(governingOper), kReportDecimals);
    page.raw("</td></tr><tr><td>");
    page.raw(lf ? "The report's rating (the smaller face's capacity): rating factor"
                : "The report's rating (the section over the girders): rating factor");
    page.raw("</td><td class=\"n\">");
    page.put(at<&Hs20Inventory::RatingFactor>(hs20Inv), kFactorDecimals);
    page.raw("</td><td class=\"n\">");
    page.put(at<&Hs20Operating::RatingFactor>(hs20Oper), kFactorDecimals);
    page.raw("</td></tr><tr><td>Rating (tons), as the report prints it</td><td class=\"n\">");
    page.put(at<&Hs20Inventory::RatingTons>(hs20Inv), kReportDecimals);
    page.raw("</td><td class=\"n\">");
    page.put(at<&Hs20Operating::RatingTons>(hs20Oper), kReportDecimals);
    page.raw("</td></tr></table>\n");
}

// The legal trucks rated from the governing rating, or why there are none.
void legalTruckSummary(Page& page, const Rating& r) {
    const GoverningRating& g = *r.governing;
    if (!g.legalTrucks) {
        page.raw("<p>Legal trucks: none rated, as the governing HS20 operating rating of ");
        page.put(At<&Rating::governing, &GoverningRating::operating, &GoverningLevel::RatingTons>{},
                 kReportDecimals);
        page.raw(" tons is not below ");
        page.constant(kHs20Tons);
        page.raw(" tons.</p>\n");
        return;
    }
    const LegalTruckRatings& l = *g.legalTrucks;
    page.raw("<table class=\"grid summary\"><tr><th>Legal trucks: ");
    page.raw(seriesInfo(l.series).title);
    page.raw(
        "</th><th>Rating factor</th><th>Rating (tons)</th><th>Gross weight (tons)</th>"
        "<th></th></tr>");
    constexpr At<&Rating::governing, &GoverningRating::legalTrucks> trucks;
    forEachIndex<kTrucksPerSeries>([&](auto i) {
        const LegalTruck& truck = l.trucks[i];
        constexpr auto truckAt = at<&LegalTruckRatings::trucks, i.value>(trucks);
        page.raw(truck.belowGrossWeight ? "<tr class=\"low\"><td>" : "<tr><td>");
        page.raw("Type ");
        page.text(truck.type);
        page.raw("</td><td class=\"n\">");
        page.put(at<&LegalTruck::RatingFactor>(truckAt), kFactorDecimals);
        page.raw("</td><td class=\"n\">");
        page.put(at<&LegalTruck::RatingTons>(truckAt), kReportDecimals);
        page.raw("</td><td class=\"n\">");
        page.put(at<&LegalTruck::grossTons>(truckAt));
        page.raw(truck.belowGrossWeight ? "</td><td>below its weight</td></tr>"
                                        : "</td><td></td></tr>");
    });
    page.raw("</table><p>Rated from the governing rating. Controlling truck: <b>type ");
    page.text(l.trucks[l.controlling].type);
    page.raw("</b>, the lowest rating relative to its gross weight (the first on a tie).");
    if (!r.legalTrucks) {
        page.raw(" The report prints no legal trucks: its own section rates ");
        page.put(At<&Rating::hs20, &Hs20Rating::operating, &Hs20Operating::RatingTons>{},
                 kReportDecimals);
        page.raw(" tons at operating.");
    }
    page.raw(g.reviewForPosting ? " <b>Review for posting.</b></p>\n" : "</p>\n");
}

void summary(Page& page) {
    const Rating* r = page.rating();
    page.heading("Rating", "rating");
    if (page.stopped() || r == nullptr || !r->hs20 || !r->governing) {
        page.raw("<div class=\"stopped\">RUN STOPPED: ");
        page.latin1(page.slab().message);
        page.raw(
            "<br>The rating is incomplete: no rating is given. The steps the run reached "
            "follow.</div>\n");
        if (r != nullptr && r->method) {
            method(page);
        }
        return;
    }
    method(page);
    if (r->status == RatingStatus::Withheld) {
        page.raw(
            "<div class=\"stopped\">RATING WITHHELD: the inputs cannot describe a slab, as the "
            "errors of the review say. No rating is given and the sheet is not to be signed; "
            "the steps the run made follow, for the inputs to be mended.</div>\n");
        return;
    }
    ratingTable(page, *r->governing);
    legalTruckSummary(page, *r);
}

void review(Page& page) {
    page.raw("<section class=\"review\"><h2 id=\"review\">Review</h2>");
    const RatingResult* result = page.result();
    if (result == nullptr || result->findings.empty()) {
        page.raw("<p>No findings.</p>");
    } else {
        page.raw("<ul>");
        for (const Finding& finding : result->findings) {
            page.raw("<li class=\"");
            page.raw(severityName(finding.severity));
            page.raw("\"><span class=\"sev\">");
            page.raw(severityName(finding.severity));
            page.raw("</span> ");
            page.text(finding.message);
            page.raw(" <code>");
            page.raw(finding.code);
            page.raw("</code></li>");
        }
        page.raw("</ul>");
    }
    page.raw("</section>\n");
}

void signOff(Page& page) {
    page.raw(
        "<h2>Sign-off</h2><table class=\"sign\"><tr><th>Rated by</th><td></td><th>Date</th>"
        "<td></td><td class=\"seal\" rowspan=\"2\">Engineer's seal<br><br><br><br><br></td></tr>"
        "<tr><th>Checked by</th><td></td><th>Date</th><td></td></tr></table>\n");
}

void inputs(Page& page) {
    page.heading("Inputs", "inputs");
    page.raw(
        "<div class=\"inputs\"><table class=\"grid\"><tr><th>Field</th><th>Symbol</th>"
        "<th>As entered</th><th>Value used</th></tr>");
    const Rating* r = page.rating();
    const bool held = r != nullptr && r->input.has_value();
    forEachIndex<kFieldCount>([&](auto i) {
        constexpr const FieldInfo& f = kFields[i.value];
        if constexpr (f.kind == FieldKind::Number) {
            page.raw("<tr><td>");
            page.raw(f.label);
            page.raw("</td><td>");
            page.raw(f.symbol);
            page.raw("</td><td><code>");
            page.latin1(page.slab().fields.*f.text);
            page.raw("</code></td><td class=\"n\">");
            if (held) {
                page.put(sheet::inputNumber<f.id>);
            } else {
                page.raw("&mdash;");
            }
            page.raw(" ");
            page.raw(f.unit == "sq in" ? std::string_view("sq in/ft") : f.unit);
            page.raw("</td></tr>");
        }
    });
    page.raw("<tr><td>Load type</td><td></td><td>");
    page.raw(loadTypeInfo(page.slab().fields.LoadType).sheetText);
    page.raw("</td><td class=\"n\">");
    if (held) {
        page.put(At<&Rating::input, &SlabInput::LoadType>{});
    } else {
        page.raw("&mdash;");
    }
    page.raw("</td></tr></table>\n");
    if (held) {
        sheet::crossSection(page);
    }
    page.raw("</div>\n");
}

// One assumption of the basis: what, its value, where it comes from.
template <class... Parts>
void basisItem(Page& page, std::string_view source, const Parts&... parts) {
    page.raw("<li>");
    page.parts(parts...);
    if (!source.empty()) {
        page.raw(" <span class=\"src\">");
        page.raw(source);
        page.raw("</span>");
    }
    page.raw("</li>");
}

// The design strip, the loads and the rating equation: the basis of either method.
void commonBasis(Page& page) {
    // Each source names its document: the Standard Specifications and the Manual, in full
    // in the first two items.
    const std::string specifications = std::string(kSpecificationsTitle) + ", Art. ";
    basisItem(page, "", "Design strip: ", Const{kStripWidthIn},
              " in of the deck slab between girders, main reinforcement perpendicular to "
              "traffic; areas and moments per foot of width.");
    basisItem(
        page,
        specifications + std::string(kArtSlabMoment.substr(kArtSlabMoment.rfind(' ') + 1)) + ".",
        "Live load: the HS20 truck, wheel load P = ", Const{kHs20WheelLb}, " lb; slab moment (S + ",
        Const{kSlabSpanAddend}, ")/", Const{kSlabFormulaDivisor},
        " &times; P per foot of width for main reinforcement perpendicular to traffic, spans ",
        Const{kMinSpan}, " to ", Const{kMaxSpan}, " ft, with the continuity factor ",
        Const{kContinuityFactor}, ".");
    basisItem(page, std::string(kArtImpact) + ".", "Impact: ", Const{kImpactPercent},
              " % for every span, the most that article allows. With the continuity factor: "
              "M<sub>LL</sub> = (S + ",
              Const{kSlabSpanAddend}, ") &times; ", Const{kLiveLoadConstant}, " lb-ft.");
    basisItem(page, "The program's values.", "Dead load: concrete ", Const{kConcreteUnitWeight},
              " lb/ft&sup3;, bituminous overlay ", Const{kOverlayUnitWeight},
              " lb/ft&sup3;; M<sub>DL</sub> = ", Const{kContinuityFactor}, " &times; w S&sup2; / ",
              Const{kSimpleSpanDivisor}, " = ", Const{kDeadLoadCoefficient}, " w S&sup2;.");
    basisItem(page,
              std::string(kManualTitle) + ", Art. " +
                  std::string(kArtRatingEquation.substr(kArtRatingEquation.rfind(' ') + 1)) + ".",
              "Rating equation: RF = (C &minus; A<sub>1</sub> D) / (A<sub>2</sub> L (1 + I)), "
              "the capacity C less the factored dead load over the factored live load plus "
              "impact; the rating in tons is RF times the truck's weight.");
}

// The load factor method: capacity, factors and the stresses the report prints.
void loadFactorBasis(Page& page) {
    basisItem(
        page, std::string(kArtLoadFactorRating) + ".",
        "Load factor rating: C = &phi;M<sub>n</sub>, A<sub>1</sub> = ", Const{kDeadLoadFactor},
        " and A<sub>2</sub> = ", Const{kLiveLoadFactor}, " at the operating level.");
    basisItem(page, "Departs from the manual's rule (" + std::string(kArtLoadFactorRating) + ").",
              "Inventory rating: ", Const{kInventoryShare}, " of the operating one, against ",
              Const{kLiveLoadFactor}, " / ", Const{kTextbookInventoryLiveLoadFactor}, " = ",
              formatMask(kTextbookInventoryShare, kFactorDecimals),
              " with the manual's inventory A<sub>2</sub> = ",
              Const{kTextbookInventoryLiveLoadFactor}, ".");
    basisItem(page,
              std::string(kArtFlexureStrength) + " and " + std::string(kArtBalancedSteel) + ".",
              "Capacity: each face's steel alone in tension, compression steel left out of "
              "&phi;M<sub>n</sub> (the report's " +
                  sheet::reportLine(kLoadFactorBannerLine) + "); &phi; = ",
              Const{kFlexurePhi}, ", stress block ", Const{kBlockStressShare},
              " f&prime;<sub>c</sub>, tension steel limited to ", Const{kBalancedSteelShare},
              " of the balanced amount; the smaller of the two faces governs.");
    basisItem(page, std::string(kArtYieldLimit) + ", the Specifications' own limit.",
              "Steel yield stress: F<sub>y</sub> is taken at most ", Const{kMaxFy},
              " psi, the most a design may be based on.");
    basisItem(page,
              std::string(kArtMinimumDepth) + "; " + std::string(kArtOldMinimumDepth) +
                  ", which the report's warning names.",
              "Minimum depth: (S + ", Const{kThicknessSpanAddend}, ") / ",
              Const{kThicknessSpanDivisor}, " ft, at least ", Const{kMinThicknessFloor},
              " ft, for slabs with main reinforcement perpendicular to traffic.");
    basisItem(page,
              std::string(kArtModuli) + ", " + std::string(kArtModularRatio) + " and " +
                  std::string(kArtAllowableStresses) + ".",
              "Reported stresses: the working stress analysis of the appendix, with n = ",
              Const{static_cast<double>(kModularRatioConstant)},
              " / &radic;f&prime;<sub>c</sub> (E<sub>s</sub> / E<sub>c</sub> to a whole "
              "number, at least ",
              Const{kMinModularRatio}, "), allowables ", Const{kInvConcShare},
              " f&prime;<sub>c</sub> and ", Const{kInvSteelShare}, " F<sub>y</sub> (at most ",
              Const{kMaxInvSteelStress},
              " psi), carried to the load factor rating load; they do not rate the strip.");
}

// The working stress method: the resisting moment at the allowable stresses.
void workingStressBasis(Page& page) {
    basisItem(page, std::string(kArtAllowableStressRating) + ".",
              "Working stress rating: C = M, the resisting moment of the cracked transformed "
              "section with the compression steel at ",
              Const{static_cast<double>(kCompSteelFactorOfN)},
              "n &minus; 1, A<sub>1</sub> = A<sub>2</sub> = 1: RF = (M &minus; "
              "M<sub>DL</sub>) / M<sub>LL</sub> at the inventory and the operating allowable "
              "stresses.");
    basisItem(page,
              std::string(kArtManualAllowables) +
                  "; the table printed whole in appendix A is the program's.",
              "Operating allowable stresses: chosen by f&prime;<sub>c</sub> = ",
              Const{kFcPerInventoryStress},
              " F<sub>c,inv</sub> and by F<sub>s,inv</sub>. The steel's are the manual's "
              "operating stresses for its inventory ones. For the concrete the manual allows ",
              Const{kManualOperConcShare},
              " f&prime;<sub>c</sub>; the program's values are lower, more conservative, in "
              "every band but the one above ",
              Const{kOperConcLimits[0]}, " psi, where ", Const{kOperConcStresses[1]},
              " psi exceeds ", Const{kManualOperConcShare},
              " f&prime;<sub>c</sub> until f&prime;<sub>c</sub> reaches ",
              Const{kOperConcStresses[1]}, " / ", Const{kManualOperConcShare}, ".");
}

// The strip's governing section and the legal trucks rated from it.
void governingBasis(Page& page) {
    basisItem(page, "The strip's two sections; the report rates the first only.",
              "Governing rating: at each level the lower of the section over the girders "
              "(negative moment, top steel in tension) and the midspan section (positive "
              "moment, bottom steel in tension); in the load factor method the smaller face's "
              "capacity, as the report rates it.");
    basisItem(page,
              "The legal loads the agency's law sets, named as in the report: " +
                  std::string(seriesInfo(TruckSeries::State).title) + " and " +
                  std::string(seriesInfo(TruckSeries::Interstate).title) + ".",
              "Legal trucks: rated at the operating level when the governing HS20 operating "
              "rating is below ",
              Const{kHs20Tons}, " tons, RF<sub>truck</sub> = RF &times; ", Const{kHs20WheelKips},
              " / P with P = ", Const{seriesWheelKips(TruckSeries::State)}, " kips (",
              seriesInfo(TruckSeries::State).place, ") or ",
              Const{seriesWheelKips(TruckSeries::Interstate)}, " kips (",
              seriesInfo(TruckSeries::Interstate).place, ").");
}

void basis(Page& page) {
    page.heading("Basis of the rating", "basis");
    page.raw("<ul class=\"basis\">");
    commonBasis(page);
    if (page.loadFactor()) {
        loadFactorBasis(page);
    } else {
        workingStressBasis(page);
    }
    governingBasis(page);
    page.raw("</ul>\n");
}

void write(Page& page) {
    head(page);
    header(page);
    summary(page);
    sheet::postingBox(page);
    review(page);
    // A withheld rating is not to be signed.
    if (page.rating() == nullptr || page.rating()->status != RatingStatus::Withheld) {
        signOff(page);
    }
    const Rating* r = page.rating();
    if (r != nullptr && r->method) {
        basis(page);
    }
    inputs(page);
    page.heading("Analysis", "analysis");
    page.raw(
        "<p class=\"note\">Each result is the program's own value to six significant "
        "digits (the tables as the report prints them); a result marked <sup "
        "class=\"single\">s</sup> is stored in single precision, the others are held in "
        "double precision. Moments are per foot of slab width.</p>\n");
    if (r == nullptr) {
        page.stopHere();
    } else {
        if (sheet::analysisSteps(page)) {
            sheet::legalLoads(page);
            sheet::inventoryItemsTable(page);
        }
        sheet::appendix(page);
    }
    page.raw("</body></html>\n");
}

}  // namespace

std::string calcSheetHtml(const RatedSlab& slab) {
    std::string out;
    out.reserve(kSheetCapacity);
    Page page(slab, out);
    write(page);
    return out;
}

}  // namespace slabrating
