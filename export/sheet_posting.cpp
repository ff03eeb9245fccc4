// The posting box of the calculation sheet's first page, with the signs drawn as they look,
// and the legal loads and inventory items the decision comes from.
#include <string>
#include <string_view>

#include "engine/format.h"
#include "engine/posting.h"
#include "export/sheet_page.h"

namespace slabrating::sheet {

namespace {

constexpr int kFactorDecimals = 3;
constexpr int kTonsDecimals = 2;

constexpr At<&Rating::posting> kPosting;

int signDecimals(const PostingDecision& d) {
    return d.policy.rounding == SignRounding::DownToWholeTon ? 0 : kTonsDecimals;
}

// The policy in words, each field as the policy file names its value.
void policyWords(Page& page, const PostingDecision& d) {
    const PostingPolicy& p = d.policy;
    page.raw("Posting policy <b>");
    page.text(p.source);
    page.raw("</b>: level ");
    page.raw(postingLevelName(p.level));
    page.raw(", rounding ");
    page.raw(signRoundingName(p.rounding));
    page.raw(", closure threshold ");
    if (p.closureTons) {
        page.put(at<&PostingDecision::policy, &PostingPolicy::closureTons>(kPosting));
        page.raw(" tons");
    } else {
        page.raw("none");
    }
    page.raw(p.postEmergencyVehicles ? ", emergency vehicles posted"
                                     : ", emergency vehicles not posted");
    page.raw(", sign ");
    page.raw(signStyleName(p.sign));
    page.raw(".");
}

// A regulatory sign: black legend and border on white, as the sign stands.
void signFrame(Page& page, int width, int height) {
    page.raw("<svg class=\"sign\" width=\"");
    page.raw(std::to_string(width));
    page.raw("\" height=\"");
    page.raw(std::to_string(height));
    page.raw("\" style=\"width:");
    page.raw(std::to_string(width * 2 / 5));
    page.raw("px;height:");
    page.raw(std::to_string(height * 2 / 5));
    page.raw("px\" viewBox=\"0 0 ");
    page.raw(std::to_string(width));
    page.raw(" ");
    page.raw(std::to_string(height));
    page.raw("\" role=\"img\"><rect x=\"2\" y=\"2\" width=\"");
    page.raw(std::to_string(width - 4));
    page.raw("\" height=\"");
    page.raw(std::to_string(height - 4));
    page.raw("\" rx=\"6\" fill=\"#fff\" stroke=\"#000\" stroke-width=\"3\"/>");
}

void signText(Page& page, int x, int y, int size, std::string_view text,
              std::string_view anchor = "middle") {
    page.raw("<text x=\"");
    page.raw(std::to_string(x));
    page.raw("\" y=\"");
    page.raw(std::to_string(y));
    page.raw("\" font-size=\"");
    page.raw(std::to_string(size));
    page.raw("\" font-weight=\"bold\" text-anchor=\"");
    page.raw(anchor);
    page.raw("\" font-family=\"DejaVu Sans,sans-serif\">");
    page.text(text);
    page.raw("</text>");
}

// A truck symbol: the cab and its trailers' boxes, `units` long, on wheels.
void truckSymbol(Page& page, int x, int y, int units) {
    for (int u = 0; u < units; ++u) {
        const int left = x + u * 22;
        page.raw("<rect x=\"" + std::to_string(left) + "\" y=\"" + std::to_string(y) +
                 "\" width=\"20\" height=\"12\" fill=\"#000\"/><circle cx=\"" +
                 std::to_string(left + 5) + "\" cy=\"" + std::to_string(y + 14) +
                 "\" r=\"3\" fill=\"#000\"/><circle cx=\"" + std::to_string(left + 15) +
                 "\" cy=\"" + std::to_string(y + 14) + "\" r=\"3\" fill=\"#000\"/>");
    }
}

void trucksSign(Page& page, const PostingDecision& d, const LegalLoadRatings& loads) {
    const int decimals = signDecimals(d);
    if (d.sign == SignType::R12_1) {
        signFrame(page, 130, 150);
        signText(page, 65, 34, 20, "WEIGHT");
        signText(page, 65, 60, 20, "LIMIT");
        signText(page, 65, 104, 38, formatMask(d.signValueTons, decimals));
        signText(page, 65, 134, 20, "TONS");
        page.raw("</svg>");
        return;
    }
    signFrame(page, 170, 150);
    signText(page, 85, 28, 18, "WEIGHT LIMIT");
    for (std::size_t i = 0; i < kFirstEmergencyVehicle; ++i) {
        const int y = 44 + static_cast<int>(i) * 34;
        truckSymbol(page, 14, y, static_cast<int>(i) + 1);
        std::string value = formatMask(d.vehicles[i].valueTons, decimals) + "T";
        signText(page, 156, y + 16, 20, value, "end");
        (void)loads;
    }
    page.raw("</svg>");
}

void emergencySign(Page& page, const PostingDecision& d) {
    const EmergencyLimits& e = *d.emergency;
    const int decimals = signDecimals(d);
    signFrame(page, 190, 150);
    signText(page, 95, 26, 14, "EMERGENCY VEHICLE");
    signText(page, 95, 44, 14, "WEIGHT LIMIT");
    const std::string_view names[] = {"SINGLE AXLE", "TANDEM", "GROSS"};
    const double values[] = {e.singleAxleTons, e.tandemTons, e.grossTons};
    for (int i = 0; i < 3; ++i) {
        const int y = 74 + i * 26;
        signText(page, 14, y, 13, names[i], "start");
        signText(page, 176, y, 15, formatMask(values[i], decimals) + "T", "end");
    }
    page.raw("</svg>");
}

// Each legal vehicle's rating and posting value, and the rule that gave the value.
void vehicleRows(Page& page, const PostingDecision& d, const LegalLoadRatings& loads) {
    forEachIndex<kLegalVehicleCount>([&](auto i) {
        const VehiclePosting& p = d.vehicles[i];
        constexpr auto vehicleAt = at<&PostingDecision::vehicles, i.value>(kPosting);
        page.raw("<tr><td>");
        page.text(loads.vehicles[i].name);
        page.raw("</td><td class=\"n\">");
        page.put(at<&VehiclePosting::ratingFactor>(vehicleAt), kFactorDecimals);
        page.raw("</td><td class=\"n\">");
        page.put(at<&VehiclePosting::ratedTons>(vehicleAt), kTonsDecimals);
        page.raw("</td><td class=\"n\">");
        page.put(at<&VehiclePosting::valueTons>(vehicleAt), signDecimals(d));
        page.raw("</td><td>");
        page.raw(vehicleActionName(p.action));
        page.raw("</td><td>");
        page.text(postingRuleText(p.rule));
        page.raw("</td></tr>");
    });
}

}  // namespace

void postingBox(Page& page) {
    const Rating* r = page.rating();
    if (r == nullptr || !r->posting || !r->legalLoads) {
        return;
    }
    const PostingDecision& d = *r->posting;
    const LegalLoadRatings& loads = *r->legalLoads;
    page.raw("<section class=\"posting\"><h2 id=\"posting\">Posting</h2><p><b>Action: ");
    page.raw(structureActionName(d.action));
    page.raw("</b>");
    if (d.sign != SignType::None) {
        page.raw(", sign ");
        page.raw(signTypeName(d.sign));
    }
    page.raw(". ");
    policyWords(page, d);
    page.raw("</p>\n<div style=\"display:flex;gap:2mm;align-items:flex-start\"><div>");
    if (d.sign != SignType::None) {
        trucksSign(page, d, loads);
    }
    if (d.emergency) {
        emergencySign(page, d);
    }
    page.raw(
        "</div>\n<table class=\"grid\"><tr><th>Vehicle</th><th>RF</th><th>RF &times; W "
        "(tons)</th>"
        "<th>Value (tons)</th><th>Action</th><th>Rule</th></tr>");
    vehicleRows(page, d, loads);
    page.raw(
        "</table></div><p class=\"note\">RF at the policy's level; RF &times; W at most "
        "the operating rating. ");
    page.raw("Sign value: ");
    page.put(at<&PostingDecision::signValueTons>(kPosting), signDecimals(d));
    page.raw(" tons (R12-1: its one value; R12-5: the lowest of its values).");
    if (d.emergency) {
        constexpr auto emergency = at<&PostingDecision::emergency>(kPosting);
        page.raw(" Emergency vehicles' sign: single axle ");
        page.put(at<&EmergencyLimits::singleAxleTons>(emergency), signDecimals(d));
        page.raw(", tandem ");
        page.put(at<&EmergencyLimits::tandemTons>(emergency), signDecimals(d));
        page.raw(", gross ");
        page.put(at<&EmergencyLimits::grossTons>(emergency), signDecimals(d));
        page.raw(" tons.");
    }
    page.raw("</p></section>\n");
}

void legalLoads(Page& page) {
    const Rating* r = page.rating();
    if (r == nullptr || !r->legalLoads) {
        return;
    }
    const LegalLoadRatings& loads = *r->legalLoads;
    page.openStep("Legal loads at both levels",
                  "Every legal vehicle, from the governing rating: on the slab formula a "
                  "vehicle's moment is in proportion to its heaviest wheel P.");
    forEachIndex<kLegalVehicleCount>([&](auto i) {
        const VehicleRating& v = loads.vehicles[i];
        using V = VehicleRating;
        constexpr At<&Rating::legalLoads, &LegalLoadRatings::vehicles, i.value> vehicleAt;
        page.row("RF<sub>" + std::string(v.name) +
                 "</sub> = RF<sub>HS20</sub> &times; 16 / P, "
                 "rating = RF &times; W");
        page.parts("P = ", at<&V::wheelKips>(vehicleAt),
                   " kips, W = ", at<&V::grossTons>(vehicleAt), " tons; inventory ",
                   at<&V::inventoryRatingFactor>(vehicleAt), ", ", at<&V::inventoryTons>(vehicleAt),
                   " tons");
        page.result(at<&V::operatingRatingFactor>(vehicleAt), "");
        page.row(std::string(v.name) + " operating rating");
        page.result(at<&V::operatingTons>(vehicleAt), "tons");
    });
    page.note(
        "EV3's tandem, two 31 kip axles 4 ft apart, is rated by its single wheel: an "
        "engineering judgement, as the slab formula describes one wheel.");
    page.closeStep();
}

void inventoryItemsTable(Page& page) {
    const Rating* r = page.rating();
    if (r == nullptr || !r->inventory) {
        return;
    }
    const InventoryItems& items = *r->inventory;
    page.heading("Inventory items", "inventory");
    page.raw(
        "<p class=\"note\">The load rating items of this member, the deck strip, to be "
        "held against the bridge's other members.</p><table class=\"grid\"><tr><th>Item"
        "</th><th>Value</th></tr>");
    const auto textRow = [&page](std::string_view item, std::string_view value) {
        page.raw("<tr><td>");
        page.raw(item);
        page.raw("</td><td>");
        page.text(value);
        page.raw("</td></tr>");
    };
    textRow("B.LR.03 load rating date", items.ratingDate);
    textRow("B.LR.04 load rating method", items.method);
    textRow("B.LR.05 inventory load rating factor", items.inventoryRatingFactor);
    textRow("B.LR.06 operating load rating factor", items.operatingRatingFactor);
    textRow("B.LR.07 controlling legal load rating factor", items.controllingLegalFactor);
    constexpr At<&Rating::inventory> itemsAt;
    page.raw("<tr><td>63 operating rating method</td><td>");
    page.put(at<&InventoryItems::item63>(itemsAt));
    page.raw("</td></tr>");
    textRow("64 operating rating (metric tons, point implied)", items.item64);
    page.raw("<tr><td>65 inventory rating method</td><td>");
    page.put(at<&InventoryItems::item65>(itemsAt));
    page.raw("</td></tr>");
    textRow("66 inventory rating (metric tons, point implied)", items.item66);
    page.raw("<tr><td>70 bridge posting</td><td>");
    page.put(at<&InventoryItems::item70>(itemsAt));
    page.raw(
        "</td></tr></table>\n<table class=\"grid\"><tr><th>B.EP.01</th><th>B.EP.02</th>"
        "<th>B.EP.03</th><th>B.EP.04</th></tr>");
    for (const LegalLoadItems& row : items.legalLoads) {
        page.raw("<tr><td>");
        page.text(row.configuration);
        page.raw("</td><td>");
        page.text(row.ratingFactor);
        page.raw("</td><td>");
        page.text(row.postingType);
        page.raw("</td><td>");
        page.text(row.postingValue);
        page.raw("</td></tr>");
    }
    page.raw("</table>\n");
}

}  // namespace slabrating::sheet
