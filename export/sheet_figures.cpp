// The two drawings of the calculation sheet, in inline SVG: the cross-section of the strip to
// scale, and capacity against demand at each level.
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "engine/field_table.h"
#include "engine/format.h"
#include "engine/rules.h"
#include "export/sheet_page.h"

namespace slabrating::sheet {

namespace {

using namespace rules;

constexpr int kReportDecimals = 2;
constexpr int kFactorDecimals = 3;

// SVG markup: texts as they are, numbers as coordinates to a tenth of a pixel.
class Svg {
public:
    explicit Svg(Page& page) : m_page(page) {}

    template <class... Parts>
    void operator()(const Parts&... p) {
        (add(p), ...);
    }

private:
    void add(std::string_view markup) { m_page.raw(markup); }
    void add(const char* markup) { m_page.raw(markup); }
    void add(const std::string& markup) { m_page.raw(markup); }
    void add(double coordinate) {
        // In tenths of a pixel, rounded; the drawings' coordinates are far inside this range.
        const long long tenths = std::llround(std::clamp(coordinate, -1e9, 1e9) * 10);
        char buf[32];
        char* end = buf;
        if (tenths < 0) {
            *end++ = '-';
        }
        const unsigned long long magnitude = static_cast<unsigned long long>(std::llabs(tenths));
        end = std::to_chars(end, buf + sizeof buf, magnitude / 10).ptr;
        *end++ = '.';
        *end++ = static_cast<char>('0' + magnitude % 10);
        m_page.raw(std::string_view(buf, static_cast<std::size_t>(end - buf)));
    }

    Page& m_page;
};

}  // namespace

void crossSection(Page& page) {
    const SlabInput& input = *page.rating()->input;
    const double h = input.SlabThick;
    const double b = input.Bitum;
    const double dTop = input.StDistTop;
    const double dBot = input.StDistBot;
    const double total = std::max({h, dTop, dBot, 0.0}) + std::max(b, 0.0);
    const double width = kStripWidthIn;
    // A strip too thin or too thick to draw is described in words only.
    constexpr double kMinDrawnIn = 0.05, kMaxDrawnIn = 200;
    Svg svg(page);
    page.raw("<figure><figcaption><b>Cross-section of the one-foot strip</b>");
    if (!(total > kMinDrawnIn && total < kMaxDrawnIn)) {
        page.raw(" (not drawn: no drawable thickness)");
    } else {
        const double s = std::min(11.0, 120.0 / total);  // px per in
        const double x0 = 20, top = 12;
        const double bottom = top + total * s;
        const double right = x0 + width * s;
        const double dimBase = right + 18;
        const double svgWidth = dimBase + 4 * 30 + 6;
        const double svgHeight = bottom + 32;
        const auto y = [&](double inches) { return bottom - inches * s; };
        const auto layer = [&](double from, double thickness, std::string_view fill) {
            svg("<rect x=\"", x0, "\" y=\"", y(from + thickness), "\" width=\"", width * s,
                "\" height=\"", thickness * s, "\" fill=\"", fill, "\" stroke=\"#333\"/>");
        };
        // A vertical dimension from `from` to `to` inches above the bottom face.
        int column = 0;
        const auto dimension = [&](double from, double to, std::string_view label) {
            const double x = dimBase + 30 * column++;
            svg("<path d=\"M", x, " ", y(from), "V", y(to), "M", x - 4, " ", y(from), "h8M", x - 4,
                " ", y(to), "h8\" stroke=\"#333\" fill=\"none\"/><path d=\"M", right, " ", y(to),
                "H", x, "\" stroke=\"#999\" stroke-dasharray=\"2 2\" fill=\"none\"/><text x=\"",
                x + 4, "\" y=\"", (y(from) + y(to)) / 2 + 4, "\" font-size=\"12\">", label,
                "</text>");
        };
        // The bars of a layer mark its centroid only.
        const auto bars = [&](double at, std::string_view fill) {
            for (const double share : {0.125, 0.375, 0.625, 0.875}) {
                svg("<circle cx=\"", x0 + share * width * s, "\" cy=\"", y(at), "\" r=\"",
                    std::max(2.5, 0.3 * s), "\" fill=\"", fill, "\"/>");
            }
        };
        svg("<br><svg role=\"img\" width=\"", svgWidth, "\" height=\"", svgHeight,
            "\" viewBox=\"0 0 ", svgWidth, " ", svgHeight,
            "\"><title>Cross-section of the strip, to scale</title>");
        if (h > 0) {
            layer(0, h, "#d9d9d9");
        }
        if (b > 0) {
            layer(std::max(h, 0.0), b, "#4a4a4a");
        }
        bars(dTop, "#b22");
        bars(dBot, "#26b");
        if (h > 0) {
            dimension(0, h, "h");
        }
        dimension(0, dTop, "d<tspan dy=\"3\" font-size=\"9\">top</tspan>");
        dimension(0, dBot, "d&#8242;");
        if (b > 0) {
            dimension(std::max(h, 0.0), std::max(h, 0.0) + b, "b");
        }
        svg("<path d=\"M", x0, " ", bottom + 14, "H", right, "M", x0, " ", bottom + 10, "v8M",
            right, " ", bottom + 10, "v8\" stroke=\"#333\" fill=\"none\"/><text x=\"",
            (x0 + right) / 2, "\" y=\"", bottom + 27, "\" font-size=\"12\" text-anchor=\"middle\">",
            shortestText(kStripWidthIn), " in strip</text></svg>");
    }
    page.raw("<br>Drawn to scale, measured from the bottom face: h = ");
    page.put(input.SlabThick);
    page.raw(" in, overlay b = ");
    page.put(input.Bitum);
    page.raw(" in, top steel (red) A<sub>s,top</sub> = ");
    page.put(input.StAreaTop);
    page.raw(" sq in at d<sub>top</sub> = ");
    page.put(input.StDistTop);
    page.raw(" in, bottom steel (blue) A<sub>s,bot</sub> = ");
    page.put(input.STAreaBot);
    page.raw(" sq in at d&prime; = ");
    page.put(input.StDistBot);
    page.raw(
        " in. The bars mark the centroid of each layer, not its bar size or spacing."
        "</figcaption></figure>\n");
}

void capacityChart(Page& page) {
    const Rating& r = *page.rating();
    if (!r.hs20 || !r.reportMoments) {
        return;
    }
    const bool lf = page.loadFactor();
    struct Level {
        std::string_view name;
        double capacity, dead, left, live, rf;
    };
    std::vector<Level> levels;
    const Hs20Rating& t = r.hs20.value();
    const ReportMoments& k = *r.reportMoments;
    if (lf) {
        const LoadFactorRating& l = *r.loadFactorRating;
        levels.push_back({"Inventory", l.MemberCapacity, l.factoredDeadLoad, l.LiveLoadCapacity,
                          l.inventoryFactoredLiveLoad, t.inventory.RatingFactor});
        levels.push_back({"Operating", l.MemberCapacity, l.factoredDeadLoad, l.LiveLoadCapacity,
                          l.factoredLiveLoad, t.operating.RatingFactor});
    } else {
        levels.push_back({"Inventory", t.inventory.MemberCapacity, k.DeadLoadMoment,
                          t.inventory.LiveLoadCapacity, k.LiveLoadMoment,
                          t.inventory.RatingFactor});
        levels.push_back({"Operating", t.operating.MemberCapacity, k.DeadLoadMoment,
                          t.operating.LiveLoadCapacity, k.LiveLoadMoment,
                          t.operating.RatingFactor});
        if (r.midspan) {
            const MidspanSection& m = *r.midspan;
            levels.push_back({"Midspan, inventory", m.inventory.MemberCapacity, k.DeadLoadMoment,
                              m.inventory.LiveLoadCapacity, k.LiveLoadMoment,
                              m.inventory.ratingFactor});
            levels.push_back({"Midspan, operating", m.operating.MemberCapacity, k.DeadLoadMoment,
                              m.operating.LiveLoadCapacity, k.LiveLoadMoment,
                              m.operating.ratingFactor});
        }
    }
    double top = 0;
    for (const Level& l : levels) {
        top = std::max({top, l.capacity, std::max(0.0, l.dead) + std::max(0.0, l.live),
                        std::max(0.0, l.dead) + std::max(0.0, l.left)});
    }
    page.raw("<figure><figcaption><b>Capacity against demand</b> (kip-ft per foot of width)");
    Svg svg(page);
    if (top > 0 && std::isfinite(top)) {
        constexpr double kLeft = 100, kBarWidth = 390, kBarHeight = 12, kLevelHeight = 32;
        const double height = kLevelHeight * static_cast<double>(levels.size()) + 4;
        const double scale = kBarWidth / top;
        const auto label = [&](double x, double y, const std::string& words,
                               std::string_view style = {}) {
            svg("<text x=\"", x, "\" y=\"", y, "\" font-size=\"10\"", style, ">", words, "</text>");
        };
        // A bar of two parts, each labelled with its number, inside when it fits.
        const auto bar = [&](double y, double first, double second, std::string_view fill) {
            const double a = std::max(0.0, first) * scale;
            const double b = std::max(0.0, second) * scale;
            svg("<rect x=\"", kLeft, "\" y=\"", y, "\" width=\"", a, "\" height=\"", kBarHeight,
                "\" fill=\"#9a9a9a\"/><rect x=\"", kLeft + a, "\" y=\"", y, "\" width=\"", b,
                "\" height=\"", kBarHeight, "\" fill=\"", fill, "\"/>");
            const std::string firstText = formatMask(first, kReportDecimals);
            const std::string secondText = formatMask(second, kReportDecimals);
            const double room = 6.2 * static_cast<double>(firstText.size()) + 4;
            if (a >= room) {
                label(kLeft + a / 2, y + 10, firstText, " text-anchor=\"middle\" fill=\"#fff\"");
            }
            const double after = kLeft + a + b + 4;
            if (b >= 6.2 * static_cast<double>(secondText.size()) + 4) {
                label(kLeft + a + b / 2, y + 10, secondText,
                      " text-anchor=\"middle\" fill=\"#fff\"");
                if (a < room) {
                    label(after, y + 10, firstText + " + " + secondText);
                }
            } else {
                label(after, y + 10, a >= room ? secondText : firstText + " + " + secondText);
            }
        };
        svg("<br><svg role=\"img\" width=\"560\" height=\"", height, "\" viewBox=\"0 0 560 ",
            height, "\"><title>Capacity and demand at each level, dead-load parts shared</title>");
        for (std::size_t i = 0; i < levels.size(); ++i) {
            const Level& l = levels[i];
            const double y = kLevelHeight * static_cast<double>(i);
            label(2, y + 12, std::string(l.name), " font-weight=\"700\"");
            bar(y + 2, l.dead, l.left, "#3a8d3a");
            label(kLeft + kBarWidth + 6, y + 12, "RF " + formatMask(l.rf, kFactorDecimals),
                  " font-weight=\"700\"");
            label(2, y + 26, "demand");
            bar(y + 16, l.dead, l.live, "#e08a1e");
        }
        svg("</svg>");
    }
    page.raw(
        "<br>At each level the upper bar is the capacity, the lower the demand; they share "
        "their dead-load part (grey). The green part is the capacity left for live load plus "
        "impact, the orange part the live-load demand: green over orange is the level's "
        "rating factor (RF).");
    if (lf) {
        page.parts(" Load factor: the capacity is &phi;M<sub>n</sub>, its dead-load part is ",
                   Const{kDeadLoadFactor}, " DL; the demand is ", Const{kDeadLoadFactor},
                   " DL + A<sub>2</sub> (LL+I) with A<sub>2</sub> = ", Const{kLiveLoadFactor},
                   " at operating and ", Const{kLiveLoadFactor}, " / ", Const{kInventoryShare},
                   " at inventory.");
    } else {
        page.raw(
            " Working stress: the capacity is the resisting moment M of each level, the "
            "demand DL + LL+I.");
    }
    page.raw("</figcaption></figure>\n");
}

}  // namespace slabrating::sheet
