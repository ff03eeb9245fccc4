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

// The strip's layers and steel as drawn: inches above the bottom face.
struct Strip {
    double h, b, dTop, dBot;
    double total;  // the drawn height: the slab, or the steel above it, and the overlay
};

// The strip to scale, its layers, bars and dimensions.
void drawStrip(Svg& svg, const Strip& strip) {
    const double width = kStripWidthIn;
    const double s = std::min(11.0, 120.0 / strip.total);  // px per in
    const double x0 = 20, top = 12;
    const double bottom = top + strip.total * s;
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
        svg("<path d=\"M", x, " ", y(from), "V", y(to), "M", x - 4, " ", y(from), "h8M", x - 4, " ",
            y(to), "h8\" stroke=\"#333\" fill=\"none\"/><path d=\"M", right, " ", y(to), "H", x,
            "\" stroke=\"#999\" stroke-dasharray=\"2 2\" fill=\"none\"/><text x=\"", x + 4,
            "\" y=\"", (y(from) + y(to)) / 2 + 4, "\" font-size=\"12\">", label, "</text>");
    };
    // The bars of a layer mark its centroid only.
    const auto bars = [&](double at, std::string_view fill) {
        for (const double share : {0.125, 0.375, 0.625, 0.875}) {
            svg("<circle cx=\"", x0 + share * width * s, "\" cy=\"", y(at), "\" r=\"",
                std::max(2.5, 0.3 * s), "\" fill=\"", fill, "\"/>");
        }
    };
    const double h = strip.h, b = strip.b;
    svg("<br><svg role=\"img\" width=\"", svgWidth, "\" height=\"", svgHeight, "\" viewBox=\"0 0 ",
        svgWidth, " ", svgHeight, "\"><title>Cross-section of the strip, to scale</title>");
    if (h > 0) {
        layer(0, h, "#d9d9d9");
    }
    if (b > 0) {
        layer(std::max(h, 0.0), b, "#4a4a4a");
    }
    bars(strip.dTop, "#b22");
    bars(strip.dBot, "#26b");
    if (h > 0) {
        dimension(0, h, "h");
    }
    dimension(0, strip.dTop, "d<tspan dy=\"3\" font-size=\"9\">top</tspan>");
    dimension(0, strip.dBot, "d&#8242;");
    if (b > 0) {
        dimension(std::max(h, 0.0), std::max(h, 0.0) + b, "b");
    }
    svg("<path d=\"M", x0, " ", bottom + 14, "H", right, "M", x0, " ", bottom + 10, "v8M", right,
        " ", bottom + 10, "v8\" stroke=\"#333\" fill=\"none\"/><text x=\"", (x0 + right) / 2,
        "\" y=\"", bottom + 27, "\" font-size=\"12\" text-anchor=\"middle\">",
        shortestText(kStripWidthIn), " in strip</text></svg>");
}

// Widths of the chart's texts at its 10 px font, on the generous side, so that a label placed
// by them never runs into its neighbour: digits and most letters are about 6.4 px wide in
// DejaVu Sans, bold ones about 7.
double textWidth(std::string_view words, bool bold) {
    return static_cast<double>(words.size()) * (bold ? 7.2 : 6.6) + 2;
}

// The chart's measures (px).
constexpr double kWidth = 560, kBarHeight = 12, kLevelHeight = 32, kGap = 4;

// One level of the chart: its capacity against its demand (kip-ft) and its rating factor.
struct Level {
    std::string_view name;
    double capacity, dead, left, live, rf;
};

std::vector<Level> chartLevels(const Rating& r, bool lf) {
    std::vector<Level> levels;
    const Hs20Rating& t = r.hs20.value();
    const ReportMoments& k = *r.reportMoments;
    if (lf) {
        const LoadFactorRating& l = *r.loadFactorRating;
        levels.push_back({"Inventory", l.MemberCapacity, l.factoredDeadLoad, l.LiveLoadCapacity,
                          l.inventoryFactoredLiveLoad, t.inventory.RatingFactor});
        levels.push_back({"Operating", l.MemberCapacity, l.factoredDeadLoad, l.LiveLoadCapacity,
                          l.factoredLiveLoad, t.operating.RatingFactor});
        return levels;
    }
    levels.push_back({"Inventory", t.inventory.MemberCapacity, k.DeadLoadMoment,
                      t.inventory.LiveLoadCapacity, k.LiveLoadMoment, t.inventory.RatingFactor});
    levels.push_back({"Operating", t.operating.MemberCapacity, k.DeadLoadMoment,
                      t.operating.LiveLoadCapacity, k.LiveLoadMoment, t.operating.RatingFactor});
    if (r.midspan) {
        const MidspanSection& m = *r.midspan;
        levels.push_back({"Midspan, inventory", m.inventory.MemberCapacity, k.DeadLoadMoment,
                          m.inventory.LiveLoadCapacity, k.LiveLoadMoment,
                          m.inventory.ratingFactor});
        levels.push_back({"Midspan, operating", m.operating.MemberCapacity, k.DeadLoadMoment,
                          m.operating.LiveLoadCapacity, k.LiveLoadMoment,
                          m.operating.ratingFactor});
    }
    return levels;
}

// A bar of two parts from the left end: the first, and the second after it (a negative second
// part is the capacity the first lacks, drawn back from the first's end). Its labels stand
// inside their parts when they fit, else after the bar's end.
struct Bar {
    double first, second;
    std::string firstText, secondText;
};

// The extent of each part in kip-ft: [from, to) of the grey part and of the other.
struct Parts {
    double greyTo, otherFrom, otherTo;
};

Parts partsOf(const Bar& b) {
    const double first = std::max(0.0, b.first);
    if (b.second >= 0) {
        return Parts{first, first, first + b.second};
    }
    const double capacity = std::max(0.0, first + b.second);
    return Parts{capacity, capacity, first};
}

// The grey part's label: the dead load, or all of a capacity the dead load exceeds.
std::string greyText(const Bar& b) {
    return b.second >= 0 ? b.firstText : formatMask(partsOf(b).greyTo, kReportDecimals);
}

// The labels of a bar at a scale: inside where they fit, and the text after the bar.
struct Placed {
    bool firstInside, secondInside;
    std::string after;
};

Placed place(const Bar& b, double scale) {
    const Parts p = partsOf(b);
    const std::string grey = greyText(b);
    Placed placed{};
    placed.firstInside = p.greyTo * scale >= textWidth(grey, false) + kGap;
    // The second part's label stands inside only beside the first's, so that the text after
    // the bar reads from the left: both parts, or the second alone.
    placed.secondInside = placed.firstInside && (p.otherTo - p.otherFrom) * scale >=
                                                    textWidth(b.secondText, false) + kGap;
    if (!placed.firstInside) {
        placed.after = grey + (b.second >= 0 ? " + " : ", ") + b.secondText;
    } else if (!placed.secondInside) {
        placed.after = b.secondText;
    }
    return placed;
}

// The chart laid out: the level names' column, the RF column, each level's two bars (capacity,
// demand), the longest bar (kip-ft) and the scale (px per kip-ft).
struct Layout {
    double left = 0, rfColumn = 0;
    std::vector<Bar> bars;
    double top = 0;
    double scale = 0;
};

// The largest scale at which every bar and the label after it end before the RF column; a
// label moved outside by a smaller scale makes the next round smaller.
double fitScale(const Layout& chart) {
    const double room = chart.rfColumn - kGap - chart.left;
    double scale = room / chart.top;
    for (int round = 0; round < 4; ++round) {
        double fit = scale;
        for (const Bar& b : chart.bars) {
            const Placed placed = place(b, scale);
            const double after = placed.after.empty() ? 0 : kGap + textWidth(placed.after, false);
            fit = std::min(fit, (room - after) / partsOf(b).otherTo);
        }
        if (!(fit < scale)) {
            break;
        }
        scale = std::max(fit, 0.0);
    }
    return scale;
}

Layout layOut(const std::vector<Level>& levels) {
    Layout chart;
    double rfWidth = 0;
    for (const Level& l : levels) {
        chart.left = std::max(chart.left, textWidth(l.name, true));
        rfWidth = std::max(rfWidth, textWidth("RF " + formatMask(l.rf, kFactorDecimals), true));
    }
    chart.left += 2 * kGap;
    chart.rfColumn = kWidth - rfWidth - kGap;
    for (const Level& l : levels) {
        chart.bars.push_back({l.dead, l.left, formatMask(l.dead, kReportDecimals),
                              formatMask(l.left, kReportDecimals)});
        chart.bars.push_back({l.dead, l.live, formatMask(l.dead, kReportDecimals),
                              formatMask(l.live, kReportDecimals)});
    }
    for (const Bar& b : chart.bars) {
        chart.top = std::max(chart.top, partsOf(b).otherTo);
    }
    if (chart.top > 0 && std::isfinite(chart.top)) {
        chart.scale = fitScale(chart);
    }
    return chart;
}

void label(Svg& svg, double x, double y, const std::string& words, std::string_view style = {}) {
    svg("<text x=\"", x, "\" y=\"", y, "\" font-size=\"10\"", style, ">", words, "</text>");
}

void drawBar(Svg& svg, const Layout& chart, double y, const Bar& b, std::string_view fill) {
    const double left = chart.left, scale = chart.scale;
    const Parts p = partsOf(b);
    const Placed placed = place(b, scale);
    const double greyEnd = left + p.greyTo * scale;
    const double otherStart = left + p.otherFrom * scale;
    const double otherWidth = (p.otherTo - p.otherFrom) * scale;
    svg("<rect x=\"", left, "\" y=\"", y, "\" width=\"", p.greyTo * scale, "\" height=\"",
        kBarHeight, "\" fill=\"#9a9a9a\"/>");
    if (b.second >= 0) {
        svg("<rect x=\"", otherStart, "\" y=\"", y, "\" width=\"", otherWidth, "\" height=\"",
            kBarHeight, "\" fill=\"", fill, "\"/>");
    } else {
        // The dead load the capacity lacks: an empty box from the capacity to the dead load.
        svg("<rect x=\"", otherStart, "\" y=\"", y + 0.5, "\" width=\"", otherWidth, "\" height=\"",
            kBarHeight - 1,
            "\" fill=\"#fff\" stroke=\"#b00\" "
            "stroke-dasharray=\"3 2\"/>");
    }
    if (placed.firstInside) {
        label(svg, left + p.greyTo * scale / 2, y + 10, greyText(b),
              " text-anchor=\"middle\" fill=\"#fff\"");
    }
    if (placed.secondInside) {
        label(svg, otherStart + otherWidth / 2, y + 10, b.secondText,
              b.second >= 0 ? " text-anchor=\"middle\" fill=\"#fff\""
                            : " text-anchor=\"middle\" fill=\"#b00\"");
    }
    if (!placed.after.empty()) {
        label(svg, std::max(greyEnd, otherStart + otherWidth) + kGap, y + 10, placed.after);
    }
}

void drawChart(Svg& svg, const std::vector<Level>& levels, const Layout& chart) {
    const double height = kLevelHeight * static_cast<double>(levels.size()) + 4;
    svg("<br><svg role=\"img\" width=\"", kWidth, "\" height=\"", height, "\" viewBox=\"0 0 ",
        kWidth, " ", height,
        "\"><title>Capacity and demand at each level, dead-load parts shared</title>");
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const Level& l = levels[i];
        const double y = kLevelHeight * static_cast<double>(i);
        label(svg, 2, y + 12, std::string(l.name), " font-weight=\"700\"");
        drawBar(svg, chart, y + 2, chart.bars[2 * i], "#3a8d3a");
        label(svg, chart.rfColumn, y + 12, "RF " + formatMask(l.rf, kFactorDecimals),
              " font-weight=\"700\"");
        label(svg, 2, y + 26, "demand");
        drawBar(svg, chart, y + 16, chart.bars[2 * i + 1], "#e08a1e");
    }
    svg("</svg>");
}

}  // namespace

void crossSection(Page& page) {
    const SlabInput& input = *page.rating()->input;
    Strip strip{input.SlabThick, input.Bitum, input.StDistTop, input.StDistBot, 0};
    strip.total = std::max({strip.h, strip.dTop, strip.dBot, 0.0}) + std::max(strip.b, 0.0);
    // A strip too thin or too thick to draw is described in words only.
    constexpr double kMinDrawnIn = 0.05, kMaxDrawnIn = 200;
    Svg svg(page);
    page.raw("<figure><figcaption><b>Cross-section of the one-foot strip</b>");
    if (!(strip.total > kMinDrawnIn && strip.total < kMaxDrawnIn)) {
        page.raw(" (not drawn: no drawable thickness)");
    } else {
        drawStrip(svg, strip);
    }
    page.raw("<br>Drawn to scale, measured from the bottom face: h = ");
    page.put(inputNumber<Field::SlabThick>);
    page.raw(" in, overlay b = ");
    page.put(inputNumber<Field::Bitum>);
    page.raw(" in, top steel (red) A<sub>s,top</sub> = ");
    page.put(inputNumber<Field::StAreaTop>);
    page.raw(" sq in at d<sub>top</sub> = ");
    page.put(inputNumber<Field::StDistTop>);
    page.raw(" in, bottom steel (blue) A<sub>s,bot</sub> = ");
    page.put(inputNumber<Field::STAreaBot>);
    page.raw(" sq in at d&prime; = ");
    page.put(inputNumber<Field::StDistBot>);
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
    const std::vector<Level> levels = chartLevels(r, lf);
    const Layout chart = layOut(levels);
    page.raw("<figure><figcaption><b>Capacity against demand</b> (kip-ft per foot of width)");
    if (chart.top > 0 && std::isfinite(chart.top)) {
        Svg svg(page);
        drawChart(svg, levels, chart);
    }
    page.raw(
        "<br>At each level the upper bar is the capacity, the lower the demand; they share "
        "their dead-load part (grey). The green part is the capacity left for live load plus "
        "impact, the orange part the live-load demand: green over orange is the level's "
        "rating factor (RF). Where the dead load exceeds the capacity, the grey part is the "
        "whole capacity and the dashed box the dead load it lacks, a negative capacity left.");
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
