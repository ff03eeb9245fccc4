#include "export/calc_sheet.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/field_table.h"
#include "engine/format.h"
#include "engine/version.h"
#include "export/text.h"

namespace slabrating {

namespace {

// Significant digits of a value in the steps; the tables use the report's masks instead.
constexpr int kShownDigits = 6;
// Decimals of the report's table rows ("##0.00" and its kin) and of a rating factor.
constexpr int kReportDecimals = 2;
constexpr int kFactorDecimals = 3;

// Room for the longest sheet, written without growing the text.
constexpr std::size_t kSheetCapacity = 80 * 1024;

// Screen and print styles. Printed, the header row of the page table repeats on every page,
// which Chromium's print to PDF does where it lays out page margin boxes poorly, and no step
// or figure is split across pages.
constexpr std::string_view kStyle = R"(
@page{size:A4;margin:10mm 12mm 12mm}
*{box-sizing:border-box}
body{font:10pt/1.35 "DejaVu Sans",Verdana,Arial,sans-serif;color:#111;margin:0;background:#fff}
table.page{border-collapse:collapse;width:100%;max-width:190mm;margin:0 auto}
table.page>tbody>tr>td,table.page>thead>tr>td{padding:0 4mm}
table.page>thead{display:none}
.running{font-size:8.5pt;color:#444;border-bottom:1px solid #888;padding:1mm 0;margin-bottom:3mm}
h1{font-size:15pt;margin:4mm 0 2mm}
h2{font-size:12pt;margin:5mm 0 2mm;border-bottom:2px solid #333}
h3{font-size:10.5pt;margin:0 0 1mm}
table.grid{border-collapse:collapse;width:100%;margin:1mm 0}
table.grid td,table.grid th{border:1px solid #bbb;padding:.6mm 1.5mm;text-align:left;vertical-align:top}
table.grid th{background:#eee;font-weight:600}
table.grid .n{text-align:right;white-space:nowrap}
.step{border:1px solid #aaa;border-radius:2px;padding:1.5mm 2.5mm;margin:2mm 0;break-inside:avoid;page-break-inside:avoid}
.why,.note{margin:.5mm 0;color:#333;font-size:9pt}
table.eqs{border-collapse:collapse;width:100%;font-size:9.5pt}
table.eqs td{padding:.4mm 1.5mm .4mm 0;vertical-align:top}
table.eqs td.sym{width:36%;font-style:italic}
table.eqs td.sub{width:44%;color:#333}
table.eqs td.res{width:20%;white-space:nowrap}
table.eqs td.res data{font-weight:700}
sub{font-size:75%}
.prec{display:block;font-size:7.5pt;color:#666}
.stopped{border:2px solid #b00;background:#fdeaea;color:#700;padding:2mm 3mm;margin:2mm 0;font-weight:700;break-inside:avoid}
.warn{border:2px solid #c70;background:#fff4e0;color:#630;padding:1.5mm 3mm;margin:1mm 0;font-weight:700}
figure{margin:2mm 0;break-inside:avoid;page-break-inside:avoid}
figcaption{font-size:9pt;color:#333}
svg text{font-family:"DejaVu Sans",Verdana,Arial,sans-serif}
.sign th{width:18%}.sign td{width:32%;height:10mm}
@media print{table.page>thead{display:table-header-group}}
)";

// One quantity of the rating as the sheet shows it: the engine's value in the precision it
// holds it, and where the JSON result keeps it.
struct Q {
    double value;             // the engine's value (a float converts exactly)
    bool single = false;      // held in single precision
    bool whole = false;       // a whole number (a count, the load type)
    std::string_view group;   // JSON pointer below /rating: the group, "" for a top-level value
    std::string_view key;     // the key, unit suffix included unless `unit` gives it
    std::string_view unit{};  // a field-table unit ("sq in"), appended as "_sqin"
    int decimals = -1;        // the report's mask decimals; -1: kShownDigits significant
};

Q q(float v, std::string_view group, std::string_view key) {
    return {.value = v, .single = true, .group = group, .key = key};
}
Q q(double v, std::string_view group, std::string_view key) {
    return {.value = v, .group = group, .key = key};
}
Q q(int v, std::string_view group, std::string_view key) {
    return {.value = static_cast<double>(v), .whole = true, .group = group, .key = key};
}
Q masked(Q x, int decimals) {
    x.decimals = decimals;
    return x;
}

// A coordinate of the drawings (px), to a tenth.
void appendCoordinate(std::string& out, double v) {
    char buf[32];
    const char* end = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 1).ptr;
    out.append(buf, static_cast<std::size_t>(end - buf));
}

// `value` to kShownDigits significant digits as %g writes it: without trailing zeros, in
// fixed notation from 1e-4 up to 10^kShownDigits and in scientific notation beyond.
void appendShown(std::string& out, double value) {
    if (value == 0) {
        out += '0';
        return;
    }
    std::uint64_t digits = 0;
    int exponent = 0;
    if (!exactDigits(value, kShownDigits, digits, exponent)) {
        digitsFromLibrary(value, kShownDigits, digits, exponent);
    }
    char d[kShownDigits];
    for (int i = kShownDigits - 1; i >= 0; --i) {
        d[i] = static_cast<char>('0' + digits % 10);
        digits /= 10;
    }
    int count = kShownDigits;
    while (count > 1 && d[count - 1] == '0') {
        --count;
    }
    if (value < 0) {
        out += '-';
    }
    if (exponent < -4 || exponent >= kShownDigits) {
        out += d[0];
        if (count > 1) {
            out += '.';
            out.append(d + 1, static_cast<std::size_t>(count - 1));
        }
        out += exponent < 0 ? "e-" : "e+";
        const int power = exponent < 0 ? -exponent : exponent;
        if (power < 10) {
            out += '0';
        }
        out += std::to_string(power);
    } else if (exponent < 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out.append(d, static_cast<std::size_t>(count));
    } else {
        const int whole = exponent + 1;
        out.append(d, static_cast<std::size_t>(std::min(whole, count)));
        if (count < whole) {
            out.append(static_cast<std::size_t>(whole - count), '0');
        } else if (count > whole) {
            out += '.';
            out.append(d + whole, static_cast<std::size_t>(count - whole));
        }
    }
}

// A tick step of 1, 2 or 5 times a power of ten that gives about five ticks up to `top`.
double tickStep(double top) {
    const double raw = top / 5;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double f : {1.0, 2.0, 5.0}) {
        if (raw <= f * power) {
            return f * power;
        }
    }
    return 10 * power;
}

// Symbols of the numeric fields on the sheet, in the field table's order.
constexpr std::array<std::string_view, kFieldCount> kSymbols{
    "",
    "",
    "",
    "",
    "",
    "b",
    "S",
    "h",
    "A<sub>s,top</sub>",
    "d<sub>top</sub>",
    "A<sub>s,bot</sub>",
    "d&prime;",
    "f&prime;<sub>c</sub> / F<sub>c,inv</sub>",
    "F<sub>y</sub> / F<sub>s,inv</sub>",
    "n",
};

// Groups of the JSON result the steps refer to.
constexpr std::string_view kInput = "input";
constexpr std::string_view kLf = "loadFactorInput";
constexpr std::string_view kInvAllow = "inventoryAllowables";
constexpr std::string_view kThick = "thicknessCheck";
constexpr std::string_view kUlt = "ultimateCapacity";
constexpr std::string_view kOperAllow = "operatingAllowables";
constexpr std::string_view kSecIn = "sectionInput";
constexpr std::string_view kMom = "moments";
constexpr std::string_view kRepMom = "reportMoments";
constexpr std::string_view kLfRating = "loadFactorRating";
constexpr std::string_view kScales = "stressScales";
constexpr std::string_view kHs20Inv = "hs20/inventory";
constexpr std::string_view kHs20Op = "hs20/operating";
constexpr std::string_view kTrucks = "legalTrucks";
constexpr std::array<std::string_view, 3> kTruckGroups{
    "legalTrucks/trucks/0", "legalTrucks/trucks/1", "legalTrucks/trucks/2"};

// Names of one pass of the section analysis.
struct PassNames {
    std::string_view title;
    std::string_view group;    // "inventoryPass"
    std::string_view section;  // "inventoryPass/section"
    std::string_view why;
};
constexpr PassNames kInventoryNames{"Cracked section, inventory pass", "inventoryPass",
                                    "inventoryPass/section",
                                    "At the inventory allowable stresses."};
constexpr PassNames kOperatingNames{
    "Cracked section, operating pass", "operatingPass", "operatingPass/section",
    "At the operating allowable stresses, starting again from m = 2n &minus; 1."};

class SheetWriter {
public:
    SheetWriter(const RatedSlab& slab, std::string& out)
        : m_slab(slab),
          m_out(out),
          m_rating(slab.result != nullptr ? &slab.result->rating : nullptr) {}

    void write();

private:
    // Output.
    void raw(std::string_view html) { m_out += html; }
    void text(std::string_view utf8) { appendHtmlText(m_out, utf8); }
    void latin1(std::string_view bytes) { appendHtmlText(m_out, latin1ToUtf8(bytes)); }
    void put(const Q& x);
    void writeElement(const Q& x);
    // Parts of a formula with the numbers substituted: HTML, and values, a negative one in
    // parentheses.
    void part(std::string_view html) { raw(html); }
    void part(const Q& x);
    template <class... Parts>
    void parts(const Parts&... p) {
        (part(p), ...);
    }
    // SVG markup: texts as they are, numbers as coordinates.
    void svgPart(std::string_view markup) { raw(markup); }
    void svgPart(double coordinate) { appendCoordinate(m_out, coordinate); }
    template <class... Parts>
    void svg(const Parts&... p) {
        (svgPart(p), ...);
    }

    // Steps: a titled box holding a table of equations, each the formula in symbols, the
    // formula with the numbers substituted, and the result.
    void openStep(std::string_view title, std::string_view why = {});
    void closeStep();
    void note(std::string_view html);
    void row(std::string_view symbols);
    void result(const Q& x, std::string_view unit);
    void resultText(std::string_view html);
    template <class... Parts>
    void eq(std::string_view symbols, const Q& x, std::string_view unit, const Parts&... p) {
        row(symbols);
        if constexpr (sizeof...(p) > 0) {
            raw("= ");
            parts(p...);
        }
        result(x, unit);
    }

    // A run stopped before the step that needs `present`: the stop is marked once.
    template <class T>
    bool reached(const std::optional<T>& present) {
        if (!present) {
            stopHere();
        }
        return present.has_value();
    }
    bool stopped() const;
    void stopHere();

    // The page.
    void head();
    void header();
    void inputs();
    void method();
    void sketch();
    bool validation();
    bool loadFactorInput();
    bool inventoryAllowables();
    bool thicknessCheck();
    bool modularRatio();
    bool ultimateCapacity();
    bool operatingAllowables();
    bool sectionInput();
    template <class Pass>
    bool pass(const std::optional<Pass>& pass, const PassNames& names, const Q& concAllowable,
              const Q& steelAllowable, double steelAllowableValue);
    bool moments();
    bool workingStressRating(const std::optional<LevelRating>& level, bool operating);
    bool reportMoments();
    bool loadFactorRating();
    bool stressScales();
    bool hs20Table();
    void chart();
    bool legalTrucks();
    void signOff();

    // Quantities used by several steps.
    Q in(Field field) const;
    Q lf(float LoadFactorInput::*member, std::string_view key) const {
        return q(m_rating->loadFactorInput.value().*member, kLf, key);
    }
    bool loadFactor() const { return m_rating->method == RatingMethod::LoadFactor; }

    const RatedSlab& m_slab;
    std::string& m_out;
    const Rating* m_rating;
    int m_step = 0;
    bool m_inTable = false;
    bool m_stopShown = false;

    // The quantities written so far and where their elements are in the sheet.
    struct Shown {
        std::uint64_t bits;
        bool single, whole;
        int decimals;
        std::string_view group, key, unit;
        std::size_t offset, length;  // length 0: a free slot
    };
    static constexpr std::size_t kShownSlots = 256;
    std::array<Shown, kShownSlots> m_shown{};
};

void SheetWriter::put(const Q& x) {
    // A quantity shown again is copied from its first element: its number texts cost more
    // than the rest of the sheet.
    const auto bits = std::bit_cast<std::uint64_t>(x.value);
    std::size_t slot =
        (bits ^ (bits >> 29) ^ reinterpret_cast<std::uintptr_t>(x.key.data())) % kShownSlots;
    for (std::size_t probe = 0; probe < kShownSlots; ++probe, slot = (slot + 1) % kShownSlots) {
        Shown& shown = m_shown[slot];
        if (shown.length == 0) {
            shown = {bits, x.single, x.whole, x.decimals, x.group, x.key, x.unit, m_out.size(), 0};
            writeElement(x);
            shown.length = m_out.size() - shown.offset;
            return;
        }
        if (shown.bits == bits && shown.single == x.single && shown.whole == x.whole &&
            shown.decimals == x.decimals && shown.group == x.group && shown.key == x.key &&
            shown.unit == x.unit) {
            m_out.append(m_out, shown.offset, shown.length);
            return;
        }
    }
    writeElement(x);
}

void SheetWriter::writeElement(const Q& x) {
    // The value exactly as the engine holds it: the shortest text that reads back to it.
    char buf[64];
    char* const last = buf + sizeof buf;
    const char* end = x.whole    ? std::to_chars(buf, last, static_cast<int>(x.value)).ptr
                      : x.single ? std::to_chars(buf, last, static_cast<float>(x.value)).ptr
                                 : std::to_chars(buf, last, x.value).ptr;
    raw("<data value=\"");
    m_out.append(buf, static_cast<std::size_t>(end - buf));
    raw("\" data-q=\"/rating/");
    if (!x.group.empty()) {
        raw(x.group);
        raw("/");
    }
    raw(x.key);
    if (!x.unit.empty()) {
        raw("_");
        for (const char c : x.unit) {
            if (c != ' ') {
                m_out += c;
            }
        }
    }
    raw("\">");
    if (x.decimals >= 0) {
        raw(x.single ? formatMask(static_cast<float>(x.value), x.decimals)
                     : formatMask(x.value, x.decimals));
    } else if (x.whole) {
        m_out.append(buf, static_cast<std::size_t>(end - buf));
    } else {
        appendShown(m_out, x.value);
    }
    raw("</data>");
}

void SheetWriter::part(const Q& x) {
    if (x.value < 0) {
        raw("(");
        put(x);
        raw(")");
    } else {
        put(x);
    }
}

void SheetWriter::openStep(std::string_view title, std::string_view why) {
    raw("<section class=\"step\"><h3>");
    char buf[16];
    const char* end = std::to_chars(buf, buf + sizeof buf, ++m_step).ptr;
    m_out.append(buf, static_cast<std::size_t>(end - buf));
    raw(". ");
    raw(title);
    raw("</h3>");
    if (!why.empty()) {
        raw("<p class=\"why\">");
        raw(why);
        raw("</p>");
    }
}

void SheetWriter::closeStep() {
    if (m_inTable) {
        raw("</table>");
        m_inTable = false;
    }
    raw("</section>\n");
}

void SheetWriter::note(std::string_view html) {
    if (m_inTable) {
        raw("</table>");
        m_inTable = false;
    }
    raw("<p class=\"note\">");
    raw(html);
    raw("</p>");
}

void SheetWriter::row(std::string_view symbols) {
    if (!m_inTable) {
        raw("<table class=\"eqs\">");
        m_inTable = true;
    }
    raw("<tr><td class=\"sym\">");
    raw(symbols);
    raw("</td><td class=\"sub\">");
}

void SheetWriter::result(const Q& x, std::string_view unit) {
    raw("</td><td class=\"res\">= ");
    put(x);
    if (!unit.empty()) {
        raw(" ");
        raw(unit);
    }
    if (x.single) {
        raw("<span class=\"prec\">stored in single precision</span>");
    }
    raw("</td></tr>");
}

void SheetWriter::resultText(std::string_view html) {
    raw("</td><td class=\"res\">");
    raw(html);
    raw("</td></tr>");
}

bool SheetWriter::stopped() const {
    return m_slab.outcome != SlabOutcome::Complete && m_slab.outcome != SlabOutcome::NotSaved;
}

void SheetWriter::stopHere() {
    if (m_stopShown || !stopped()) {
        return;
    }
    m_stopShown = true;
    raw("<div class=\"stopped\">The run stopped here (");
    raw(outcomeName(m_slab.outcome));
    raw("): ");
    latin1(m_slab.message);
    raw("</div>\n");
}

Q SheetWriter::in(Field field) const {
    const FieldInfo& f = fieldInfo(field);
    const SlabInput& input = m_rating->input.value();
    return {.value = input.*f.heldNumber,
            .single = true,
            .group = kInput,
            .key = f.name,
            .unit = f.unit};
}

void SheetWriter::head() {
    raw("<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
        "<meta name=\"viewport\" content=\"width=device-width\">"
        "<meta name=\"generator\" content=\"Slab Rating ");
    raw(kVersionNumber);
    raw("\"><title>Calculation sheet ");
    latin1(m_slab.fields.StructNo);
    raw("</title><style>");
    raw(kStyle);
    raw("</style></head>\n<body><table class=\"page\"><thead><tr><td><div class=\"running\">"
        "Slab Rating calculation sheet &middot; Structure ");
    latin1(m_slab.fields.StructNo);
    if (m_rating != nullptr) {
        raw(" &middot; ");
        text(m_rating->date);
    }
    if (stopped()) {
        raw(" &middot; <b>RUN STOPPED</b>");
    }
    raw("</div></td></tr></thead><tbody><tr><td>\n");
}

void SheetWriter::header() {
    const SlabFields& f = m_slab.fields;
    const auto cell = [this](Field field, std::string_view value) {
        raw("<th>");
        raw(fieldInfo(field).label);
        raw("</th><td>");
        latin1(value);
        raw("</td>");
    };
    raw("<h1>Load rating calculation sheet</h1><table class=\"grid\"><tr>");
    cell(Field::StructNo, f.StructNo);
    cell(Field::Hwy, f.Hwy);
    raw("</tr><tr>");
    cell(Field::BatchID, f.BatchID);
    cell(Field::Rater, f.Rater);
    raw("</tr><tr><th>Comments</th><td colspan=\"3\">");
    latin1(f.Comments);
    raw("</td></tr><tr><th>Date</th><td>");
    if (m_rating != nullptr) {
        text(m_rating->date);
    }
    raw("</td><th>Program</th><td>Slab Rating ");
    raw(kVersionNumber);
    raw("</td></tr>");
    if (!m_slab.file.empty()) {
        raw("<tr><th>Input file</th><td colspan=\"3\">");
        text(m_slab.file);
        raw("</td></tr>");
    }
    raw("<tr><th>Outcome</th><td colspan=\"3\">");
    raw(outcomeName(m_slab.outcome));
    raw("</td></tr></table>\n");
    if (stopped()) {
        raw("<div class=\"stopped\">RUN STOPPED: ");
        latin1(m_slab.message);
        raw("<br>This sheet shows the steps the run reached; the rating is incomplete.</div>\n");
    } else if (!m_slab.message.empty()) {
        raw("<div class=\"warn\">");
        latin1(m_slab.message);
        raw("</div>\n");
    }
    raw("<p class=\"note\">Each result is the program's own value, shown to ");
    raw("six significant digits (the tables as the report prints them). Results marked "
        "&ldquo;stored in single precision&rdquo; are rounded to single precision where the "
        "program stores them; the others are held in double precision. Moments are per foot "
        "of slab width.</p>\n");
}

void SheetWriter::inputs() {
    raw("<h2>Inputs</h2><table class=\"grid\"><tr><th>Field</th><th>Symbol</th><th>As entered"
        "</th><th>Value used</th><th>Unit</th></tr>");
    const bool held = m_rating != nullptr && m_rating->input.has_value();
    for (const FieldInfo& f : kFields) {
        if (f.kind != FieldKind::Number) {
            continue;
        }
        raw("<tr><td>");
        raw(f.label);
        raw("</td><td>");
        raw(kSymbols[static_cast<std::size_t>(f.id)]);
        raw("</td><td><code>");
        latin1(m_slab.fields.*f.text);
        raw("</code></td><td class=\"n\">");
        if (held) {
            put(in(f.id));
        } else {
            raw("&mdash;");
        }
        raw("</td><td>");
        raw(f.unit == "sq in" ? std::string_view("sq in per ft") : f.unit);
        raw("</td></tr>");
    }
    raw("<tr><td>Load type</td><td></td><td>");
    switch (m_slab.fields.LoadType) {
        case StateTrucks:
            raw("1 = Brevania (state legal trucks)");
            break;
        case Interstate:
            raw("2 = Interstate legal trucks");
            break;
        default:
            raw("none selected (Interstate legal trucks)");
    }
    raw("</td><td class=\"n\">");
    if (held) {
        put(q(m_rating->input->LoadType, kInput, "LoadType"));
    } else {
        raw("&mdash;");
    }
    raw("</td><td></td></tr></table>\n");
}

void SheetWriter::method() {
    const bool lf = loadFactor();
    raw("<p><b>Method: ");
    raw(lf ? "load factor" : "working stress");
    raw(".</b> The modular ratio field reads &ldquo;<code>");
    latin1(m_slab.fields.ModRatio);
    raw("</code>&rdquo;, used as n = ");
    put(in(Field::ModRatio));
    raw(lf ? ", not greater than 0. A blank, non-numeric, zero or negative modular ratio selects "
             "the load factor method: the factored capacity from f&prime;<sub>c</sub> and "
             "F<sub>y</sub> with dead-load and live-load factors of 1.3; the working stress "
             "analysis, with allowables and n derived from f&prime;<sub>c</sub> and "
             "F<sub>y</sub>, supplies only the reported stresses.</p>\n"
           : ", greater than 0, which selects the working stress method: Concrete Fc and Steel Fy "
             "are the inventory allowable stresses F<sub>c,inv</sub> and F<sub>s,inv</sub>, and "
             "n is used as entered.</p>\n");
}

void SheetWriter::sketch() {
    const SlabInput& input = *m_rating->input;
    const double h = input.SlabThick;
    const double b = input.Bitum;
    const double dTop = input.StDistTop;
    const double dBot = input.StDistBot;
    const double total = std::max({h, dTop, dBot, 0.0}) + std::max(b, 0.0);
    // A strip too thin or too thick to draw is described in words only.
    constexpr double kMinDrawnIn = 0.05, kMaxDrawnIn = 200, kWidthIn = 12;
    raw("<figure><figcaption><b>Cross-section of the one-foot strip</b>");
    if (!(total > kMinDrawnIn && total < kMaxDrawnIn)) {
        raw(" (not drawn: no drawable thickness)");
    } else {
        const double s = std::min(22.0, 260.0 / total);  // px per in
        const double x0 = 20, top = 14;
        const double bottom = top + total * s;
        const double right = x0 + kWidthIn * s;
        const double dimBase = right + 18;
        const double width = dimBase + 4 * 42 + 10;
        const double height = bottom + 34;
        const auto y = [&](double inches) { return bottom - inches * s; };
        const auto layer = [&](double from, double thickness, std::string_view fill) {
            svg("<rect x=\"", x0, "\" y=\"", y(from + thickness), "\" width=\"", kWidthIn * s,
                "\" height=\"", thickness * s, "\" fill=\"", fill, "\" stroke=\"#333\"/>");
        };
        // A vertical dimension from `from` to `to` inches above the bottom face.
        int column = 0;
        const auto dimension = [&](double from, double to, std::string_view label) {
            const double x = dimBase + 42 * column++;
            svg("<path d=\"M", x, " ", y(from), "V", y(to), "M", x - 4, " ", y(from), "h8M", x - 4,
                " ", y(to), "h8\" stroke=\"#333\" fill=\"none\"/><path d=\"M", right, " ", y(to),
                "H", x, "\" stroke=\"#999\" stroke-dasharray=\"2 2\" fill=\"none\"/><text x=\"",
                x + 4, "\" y=\"", (y(from) + y(to)) / 2 + 4, "\" font-size=\"12\">", label,
                "</text>");
        };
        // The bars of a layer mark its centroid only.
        const auto bars = [&](double at, std::string_view fill) {
            for (const double xIn : {1.5, 4.5, 7.5, 10.5}) {
                svg("<circle cx=\"", x0 + xIn * s, "\" cy=\"", y(at), "\" r=\"",
                    std::max(2.5, 0.3 * s), "\" fill=\"", fill, "\"/>");
            }
        };
        svg("<br><svg role=\"img\" width=\"", width, "\" height=\"", height, "\" viewBox=\"0 0 ",
            width, " ", height, "\"><title>Cross-section of the strip, to scale</title>");
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
            (x0 + right) / 2, "\" y=\"", bottom + 28,
            "\" font-size=\"12\" text-anchor=\"middle\">12 in strip</text></svg>");
    }
    raw("<br>Drawn to scale, measured from the bottom face: h = ");
    put(in(Field::SlabThick));
    raw(" in, overlay b = ");
    put(in(Field::Bitum));
    raw(" in, top steel (red) A<sub>s,top</sub> = ");
    put(in(Field::StAreaTop));
    raw(" sq in at d<sub>top</sub> = ");
    put(in(Field::StDistTop));
    raw(" in, bottom steel (blue) A<sub>s,bot</sub> = ");
    put(in(Field::STAreaBot));
    raw(" sq in at d&prime; = ");
    put(in(Field::StDistBot));
    raw(" in. The bars mark the centroid of each layer, not its bar size or spacing."
        "</figcaption></figure>\n");
}

bool SheetWriter::validation() {
    openStep("Validation of the inputs",
             "Overlay, span, thickness, top area, top distance, bottom area, bottom distance, "
             "f&prime;<sub>c</sub> and F<sub>y</sub> are tested in this order: each must read as "
             "a number. A modular ratio that does not read as a number counts as 0.");
    if (!m_rating->input) {
        closeStep();
        stopHere();
        return false;
    }
    row("the nine numeric fields");
    raw("numbers, as the inputs table shows");
    resultText("all read as numbers");
    const auto check = [this](std::string_view symbols, Field field, std::string_view limit) {
        row(symbols);
        part(in(field));
        raw(limit);
        resultText("");
    };
    check("d<sub>top</sub> &ge; 0.1", Field::StDistTop, " &ge; 0.1");
    check("A<sub>s,top</sub> &ge; 0.1", Field::StAreaTop, " &ge; 0.1");
    check("d&prime; &ge; 0.1", Field::StDistBot, " &ge; 0.1");
    check("A<sub>s,bot</sub> &ge; 0.1", Field::STAreaBot, " &ge; 0.1");
    check("S &ge; 2", Field::EffSpan, " &ge; 2");
    check("S &le; 24", Field::EffSpan, " &le; 24");
    if (!m_rating->method) {
        note("A range check does not hold; the message names the last one in this order.");
        closeStep();
        stopHere();
        return false;
    }
    note("All six range checks hold.");
    closeStep();
    return true;
}

bool SheetWriter::loadFactorInput() {
    if (!reached(m_rating->loadFactorInput)) {
        return false;
    }
    openStep("Load factor inputs",
             "The inputs of the capacity; the steel yield stress is taken at most 60000 psi.");
    eq("S", lf(&LoadFactorInput::span, "span_ft"), "ft", in(Field::EffSpan));
    eq("h", lf(&LoadFactorInput::thickness, "thickness_in"), "in", in(Field::SlabThick));
    eq("A<sub>s,top</sub>", lf(&LoadFactorInput::areaTop, "areaTop_sqin"), "sq in",
       in(Field::StAreaTop));
    eq("d<sub>top</sub>", lf(&LoadFactorInput::distTop, "distTop_in"), "in", in(Field::StDistTop));
    eq("A<sub>s,bot</sub>", lf(&LoadFactorInput::areaBot, "areaBot_sqin"), "sq in",
       in(Field::STAreaBot));
    eq("d&prime;", lf(&LoadFactorInput::distBot, "distBot_in"), "in", in(Field::StDistBot));
    eq("f&prime;<sub>c</sub> = Concrete Fc", lf(&LoadFactorInput::fc, "fc_psi"), "psi",
       in(Field::Concfc));
    eq("F<sub>y</sub> = min(Steel Fy, 60000)", lf(&LoadFactorInput::fy, "fy_psi"), "psi", "min(",
       in(Field::SteelFy), ", 60000)");
    closeStep();
    return true;
}

bool SheetWriter::inventoryAllowables() {
    if (!reached(m_rating->inventoryAllowables)) {
        return false;
    }
    const AllowableStresses& a = *m_rating->inventoryAllowables;
    openStep("Inventory allowable stresses",
             "They stand for the entered allowables of a working stress run in the section "
             "analysis.");
    eq("F<sub>c,inv</sub> = 0.4 f&prime;<sub>c</sub>",
       q(a.InvConcStress, kInvAllow, "InvConcStress_psi"), "psi", "0.4 &times; ",
       lf(&LoadFactorInput::fc, "fc_psi"));
    eq("F<sub>s,inv</sub> = min(0.5 F<sub>y</sub>, 24000)",
       q(a.InvSteelStress, kInvAllow, "InvSteelStress_psi"), "psi", "min(0.5 &times; ",
       lf(&LoadFactorInput::fy, "fy_psi"), ", 24000)");
    closeStep();
    return true;
}

bool SheetWriter::thicknessCheck() {
    if (!reached(m_rating->thicknessCheck)) {
        return false;
    }
    const ThicknessCheck& t = *m_rating->thicknessCheck;
    openStep("Minimum slab thickness", "The old rule t &ge; (S + 10) / 30 ft, at least 0.542 ft.");
    eq("t<sub>min</sub> = max(0.542, (S + 10) / 30)", q(t.MinThickness, kThick, "MinThickness_ft"),
       "ft", "max(0.542, (", lf(&LoadFactorInput::span, "span_ft"), " + 10) / 30)");
    eq("t = h / 12", q(t.thicknessFt, kThick, "thicknessFt_ft"), "ft",
       lf(&LoadFactorInput::thickness, "thickness_in"), " / 12");
    row("t &ge; t<sub>min</sub>");
    parts(q(t.thicknessFt, kThick, "thicknessFt_ft"), " &ge; ",
          q(t.MinThickness, kThick, "MinThickness_ft"));
    resultText(t.warning ? "<b>does not hold</b>" : "holds");
    if (t.warning) {
        note(
            "<span class=\"warn\">The slab is thinner than the minimum; the report carries "
            "the line &ldquo;*** Warning: Slab thickness violates old AASHTO "
            "1.5.40(B)***&rdquo;. The rating goes on.</span>");
    }
    closeStep();
    return true;
}

bool SheetWriter::modularRatio() {
    if (!reached(m_rating->derivedModularRatio)) {
        return false;
    }
    openStep("Modular ratio from f&prime;<sub>c</sub>",
             "n = E<sub>s</sub> / E<sub>c</sub> with E<sub>s</sub> = 29&times;10<sup>6</sup> psi "
             "and E<sub>c</sub> = 57000 &radic;f&prime;<sub>c</sub>, rounded to a whole number, "
             "at least 6.");
    eq("n = max(6, Int(509 / &radic;f&prime;<sub>c</sub> + 0.5))",
       q(*m_rating->derivedModularRatio, "", "derivedModularRatio"), "", "max(6, Int(509 / &radic;",
       lf(&LoadFactorInput::fc, "fc_psi"), " + 0.5))");
    closeStep();
    return true;
}

bool SheetWriter::ultimateCapacity() {
    if (!reached(m_rating->ultimateCapacity)) {
        return false;
    }
    const UltimateCapacityResult& u = *m_rating->ultimateCapacity;
    const Q fc = lf(&LoadFactorInput::fc, "fc_psi");
    const Q fy = lf(&LoadFactorInput::fy, "fy_psi");
    const Q h = lf(&LoadFactorInput::thickness, "thickness_in");
    const Q dTop = lf(&LoadFactorInput::distTop, "distTop_in");
    const Q dBot = lf(&LoadFactorInput::distBot, "distBot_in");
    const Q beta1 = q(u.Beta1, kUlt, "Beta1");
    const Q aTop = q(u.aTop, kUlt, "aTop_in");
    const Q aBot = q(u.aBot, kUlt, "aBot_in");
    const Q leverTop = q(u.leverTop, kUlt, "leverTop_sqin");
    const Q leverBot = q(u.leverBot, kUlt, "leverBot_sqin");
    openStep("Factored moment capacity &phi;M<sub>n</sub>",
             "Each face's steel alone in tension, no steel counted in compression (the report's "
             "&ldquo;COMP STEEL NOT USED&rdquo;); the tension steel is limited to 0.75 of the "
             "balanced amount. The overlay does not enter the capacity.");
    eq("&beta;<sub>1</sub> = 0.85 &minus; (f&prime;<sub>c</sub> &minus; 4000) &times; 0.00005, "
       "within 0.65 &hellip; 0.85",
       beta1, "", "0.85 &minus; (", fc, " &minus; 4000) &times; 0.00005");
    eq("a<sub>top</sub> = min(A<sub>s,top</sub> F<sub>y</sub> / (10.2 f&prime;<sub>c</sub>), "
       "&beta;<sub>1</sub> 65250 d<sub>top</sub> / (87000 + F<sub>y</sub>))",
       aTop, "in", "min(", lf(&LoadFactorInput::areaTop, "areaTop_sqin"), " &times; ", fy,
       " / (10.2 &times; ", fc, "), ", beta1, " &times; 65250 &times; ", dTop, " / (87000 + ", fy,
       "))");
    eq("a<sub>bot</sub> = min(A<sub>s,bot</sub> F<sub>y</sub> / (10.2 f&prime;<sub>c</sub>), "
       "&beta;<sub>1</sub> 65250 (h &minus; d&prime;) / (87000 + F<sub>y</sub>))",
       aBot, "in", "min(", lf(&LoadFactorInput::areaBot, "areaBot_sqin"), " &times; ", fy,
       " / (10.2 &times; ", fc, "), ", beta1, " &times; 65250 &times; (", h, " &minus; ", dBot,
       ") / (87000 + ", fy, "))");
    eq("T<sub>top</sub> = a<sub>top</sub> (d<sub>top</sub> &minus; a<sub>top</sub> / 2)", leverTop,
       "sq in", aTop, " &times; (", dTop, " &minus; ", aTop, " / 2)");
    eq("T<sub>bot</sub> = a<sub>bot</sub> (h &minus; a<sub>bot</sub> / 2 &minus; d&prime;)",
       leverBot, "sq in", aBot, " &times; (", h, " &minus; ", aBot, " / 2 &minus; ", dBot, ")");
    eq("&phi;M<sub>n</sub> = min(T<sub>top</sub>, T<sub>bot</sub>) &times; 0.765 "
       "f&prime;<sub>c</sub>",
       q(u.UltimateCapacity, kUlt, "UltimateCapacity_lbft"), "lb-ft", "min(", leverTop, ", ",
       leverBot, ") &times; 0.765 &times; ", fc);
    note(
        "10.2 = 0.85 &times; 12 in of strip; 65250 = 0.75 &times; 87000 psi; 0.765 = 0.9 "
        "&times; 0.85, with the 12 in strip and lb-in to lb-ft. The smaller lever term governs, "
        "the top one on a tie.");
    closeStep();
    return true;
}

bool SheetWriter::operatingAllowables() {
    if (!reached(m_rating->operatingAllowables)) {
        return false;
    }
    const OperatingAllowables& o = *m_rating->operatingAllowables;
    const bool lf = loadFactor();
    const Q conc =
        lf ? q(m_rating->inventoryAllowables->InvConcStress, kInvAllow, "InvConcStress_psi")
           : in(Field::Concfc);
    const Q steel =
        lf ? q(m_rating->inventoryAllowables->InvSteelStress, kInvAllow, "InvSteelStress_psi")
           : in(Field::SteelFy);
    openStep("Operating allowable stresses",
             "From the rating manual's tables. Concrete by f&prime;<sub>c</sub> = 2.5 "
             "F<sub>c,inv</sub>: up to 3000 psi 1300, up to 3999.9 psi 1900, up to 4999.9 psi "
             "2400, above 3000 psi. Steel by F<sub>s,inv</sub>: below 20000 psi 25000, below "
             "24000 psi 28000, otherwise 36000 psi.");
    eq("F<sub>c,oper</sub> from f&prime;<sub>c</sub> = 2.5 F<sub>c,inv</sub>",
       q(o.OperConcStress, kOperAllow, "OperConcStress_psi"), "psi", "table at 2.5 &times; ", conc);
    eq("F<sub>s,oper</sub> from F<sub>s,inv</sub>",
       q(o.OperSteelStress, kOperAllow, "OperSteelStress_psi"), "psi", "table at ", steel);
    closeStep();
    return true;
}

bool SheetWriter::sectionInput() {
    if (!reached(m_rating->sectionInput)) {
        return false;
    }
    const WorkingStressInput& s = *m_rating->sectionInput;
    openStep("Cracked transformed section: inputs",
             "The negative-moment section over a support: the top steel in tension at depth d "
             "from the bottom face, which is in compression; the bottom steel in compression at "
             "d&prime;, with the transformed factor m = 2n &minus; 1, reduced when its stress "
             "would pass the allowable steel stress. Strip width 12 in.");
    eq("n", q(s.n, kSecIn, "n"), "");
    eq("F<sub>c,inv</sub>", q(s.InvConcStress, kSecIn, "InvConcStress_psi"), "psi");
    eq("F<sub>s,inv</sub>", q(s.InvSteelStress, kSecIn, "InvSteelStress_psi"), "psi");
    eq("F<sub>c,oper</sub>", q(s.OperConcStress, kSecIn, "OperConcStress_psi"), "psi");
    eq("F<sub>s,oper</sub>", q(s.OperSteelStress, kSecIn, "OperSteelStress_psi"), "psi");
    eq("A<sub>s,top</sub>, tension steel", q(s.areaTop, kSecIn, "areaTop_sqin"), "sq in");
    eq("d = d<sub>top</sub>", q(s.d, kSecIn, "d_in"), "in");
    eq("A<sub>s,bot</sub>, compression steel", q(s.areaBot, kSecIn, "areaBot_sqin"), "sq in");
    eq("d&prime;", q(s.dPrime, kSecIn, "dPrime_in"), "in");
    closeStep();
    return true;
}

template <class Pass>
bool SheetWriter::pass(const std::optional<Pass>& pass, const PassNames& names,
                       const Q& concAllowable, const Q& steelAllowable,
                       double steelAllowableValue) {
    if (!reached(pass)) {
        return false;
    }
    const Pass& p = *pass;
    const WorkingStressInput& si = *m_rating->sectionInput;
    const SectionQuantities& s = p.section;
    const std::string_view g = names.section;
    const Q n = q(si.n, kSecIn, "n");
    const Q areaTop = q(si.areaTop, kSecIn, "areaTop_sqin");
    const Q d = q(si.d, kSecIn, "d_in");
    const Q dPrime = q(si.dPrime, kSecIn, "dPrime_in");
    const Q m = q(p.CompSteelFactor, names.group, "CompSteelFactor");
    const Q A = q(s.A, g, "A"), B = q(s.B, g, "B"), BPrime = q(s.BPrime, g, "BPrime");
    const Q P = q(s.P, g, "P"), Qv = q(s.Q, g, "Q"), k = q(s.k, g, "k"), c = q(s.c, g, "c");
    const Q zr = q(s.zr, g, "zr"), j = q(s.j, g, "j"), e = q(s.e, g, "e"), u = q(s.u, g, "u");
    const Q r = q(s.r, g, "r");
    const Q fc = q(p.ConcreteStress, names.group, "ConcreteStress_psi");
    const Q fs = q(p.SteelStress, names.group, "SteelStress_psi");
    const Q fsc = q(p.CompSteelStress, names.group, "CompSteelStress_psi");

    openStep(names.title, names.why);
    row("m = 2n &minus; 1, each adjustment m = (2n &minus; 1) F<sub>s,allow</sub> / "
        "f<sub>sc</sub> while the compression steel is over-stressed");
    parts("= 2 &times; ", n, " &minus; 1, adjusted ", q(p.AdjustCount, names.group, "AdjustCount"),
          " times");
    result(m, "");
    eq("A = n A<sub>s,top</sub> / (12 d)", A, "", n, " &times; ", areaTop, " / (12 &times; ", d,
       ")");
    eq("B = m A<sub>s,bot</sub> / (12 d)", B, "", m, " &times; ",
       q(si.areaBot, kSecIn, "areaBot_sqin"), " / (12 &times; ", d, ")");
    eq("B&prime; = B d&prime; / d", BPrime, "", B, " &times; ", dPrime, " / ", d);
    eq("P = A + B", P, "", A, " + ", B);
    eq("Q = A + B&prime;", Qv, "", A, " + ", BPrime);
    eq("k = &radic;(P&sup2; + 2Q) &minus; P", k, "", "&radic;(", P, "&sup2; + 2 &times; ", Qv,
       ") &minus; ", P);
    eq("c = 1 &minus; d&prime; / (k d)", c, "", "1 &minus; ", dPrime, " / (", k, " &times; ", d,
       ")");
    eq("z<sub>r</sub> = (0.1667 + B&prime; c / k&sup2;) / (0.5 + B c / k)", zr, "", "(0.1667 + ",
       BPrime, " &times; ", c, " / ", k, "&sup2;) / (0.5 + ", B, " &times; ", c, " / ", k, ")");
    eq("j = 1 &minus; k z<sub>r</sub>", j, "", "1 &minus; ", k, " &times; ", zr);
    eq("e = k &minus; d&prime; / d, d&prime; / d stored in single precision", e, "", k, " &minus; ",
       dPrime, " / ", d);
    eq("u = 1 &minus; k", u, "", "1 &minus; ", k);
    eq("r = k / (n u)", r, "", k, " / (", n, " &times; ", u, ")");

    // The tension steel works at its allowable stress unless that over-stresses the concrete.
    const bool steelGoverns = static_cast<double>(p.SteelStress) == steelAllowableValue;
    if (steelGoverns) {
        eq("f<sub>s</sub> = F<sub>s,allow</sub>", fs, "psi", steelAllowable);
        eq("f<sub>c</sub> = f<sub>s</sub> r &le; F<sub>c,allow</sub>: the steel governs", fc, "psi",
           fs, " &times; ", r, " &le; ", concAllowable);
    } else {
        eq("f<sub>c</sub> = F<sub>c,allow</sub>, as F<sub>s,allow</sub> r &gt; "
           "F<sub>c,allow</sub>: the concrete governs",
           fc, "psi", concAllowable);
        eq("f<sub>s</sub> = F<sub>c,allow</sub> / r", fs, "psi", concAllowable, " / ", r);
    }
    if (!steelGoverns && p.AdjustCount > 0) {
        // After two adjustments with the concrete governing the factor is kept and the
        // compression steel is not checked again: its stress may belong to an earlier section.
        eq("f<sub>sc</sub>, from the last compression steel check of the pass", fsc, "psi");
    } else {
        eq("f<sub>sc</sub> = 2 f<sub>s</sub> e / u", fsc, "psi", "2 &times; ", fs, " &times; ", e,
           " / ", u);
    }
    eq("M = (A<sub>s,top</sub> f<sub>s</sub>)<sub>single</sub> j d / 12",
       q(p.ResistingMoment, names.group, "ResistingMoment_lbft"), "lb-ft", "(", areaTop,
       " &times; ", fs, ") &times; ", j, " &times; ", d, " / 12");
    closeStep();
    return true;
}

bool SheetWriter::moments() {
    if (!reached(m_rating->moments)) {
        return false;
    }
    const Moments& m = *m_rating->moments;
    const Q w = q(m.w, kMom, "w_lbperft");
    const Q mLL = q(m.M_LL, kMom, "M_LL_lbft");
    openStep("Dead load and live load moments",
             "Per foot of width. Concrete 150 lb/ft&sup3; and overlay 144 lb/ft&sup3; over the 12 "
             "in strip; 0.1 = 0.8 for continuity &times; 1/8; 520 = 16000 lb / 32 &times; 1.3 "
             "impact &times; 0.8 continuity, the HS20 wheel on the slab formula (S + 2) / 32 "
             "P.");
    eq("w = 12.5 h + 12 b", w, "lb/ft", "12.5 &times; ", in(Field::SlabThick), " + 12 &times; ",
       in(Field::Bitum));
    eq("M<sub>DL</sub> = S&sup2; &times; 0.1 w", q(m.M_DL, kMom, "M_DL_lbft"), "lb-ft",
       in(Field::EffSpan), "&sup2; &times; 0.1 &times; ", w);
    eq("M<sub>LL</sub> = (S + 2) &times; 520", mLL, "lb-ft", "(", in(Field::EffSpan),
       " + 2) &times; 520");
    eq("M<sub>state</sub> = 10 M<sub>LL</sub> / 16000, 10 kip state wheel",
       q(m.stateTruckMoment, kMom, "stateTruckMoment_kipft"), "kip-ft", "10 &times; ", mLL,
       " / 16000");
    if (m.interstateTruckMoment) {
        eq("M<sub>Interstate</sub> = 9 M<sub>LL</sub> / 16000, 9 kip Interstate wheel",
           q(*m.interstateTruckMoment, kMom, "interstateTruckMoment_kipft"), "kip-ft", "9 &times; ",
           mLL, " / 16000");
    }
    closeStep();
    return true;
}

bool SheetWriter::workingStressRating(const std::optional<LevelRating>& level, bool operating) {
    if (!reached(level)) {
        return false;
    }
    const LevelRating& l = *level;
    const std::string_view g = operating ? "workingStressOperating" : "workingStressInventory";
    const double resisting = operating ? m_rating->operatingPass->ResistingMoment
                                       : m_rating->inventoryPass->ResistingMoment;
    const Q M = q(resisting, operating ? "operatingPass" : "inventoryPass", "ResistingMoment_lbft");
    const Q mDL = q(m_rating->moments->M_DL, kMom, "M_DL_lbft");
    const Q rf = q(l.ratingFactor, g, "ratingFactor");
    openStep(operating ? "Working stress rating, operating" : "Working stress rating, inventory",
             loadFactor() ? "Formed in every run; in a load factor run its tonnage serves the "
                            "stress scales only."
                          : "");
    eq("Member capacity = M / 1000", q(l.MemberCapacity, g, "MemberCapacity_kipft"), "kip-ft", M,
       " / 1000");
    eq("Capacity for LL+I = (M &minus; M<sub>DL</sub>) / 1000",
       q(l.LiveLoadCapacity, g, "LiveLoadCapacity_kipft"), "kip-ft", "(", M, " &minus; ", mDL,
       ") / 1000");
    eq("RF = (M &minus; M<sub>DL</sub>) / M<sub>LL</sub>", rf, "", "(", M, " &minus; ", mDL, ") / ",
       q(m_rating->moments->M_LL, kMom, "M_LL_lbft"));
    eq("HS20 rating = 36 RF", q(l.RatingTons, g, "RatingTons_tons"), "tons", "36 &times; ", rf);
    closeStep();
    return true;
}

bool SheetWriter::reportMoments() {
    if (!reached(m_rating->reportMoments)) {
        return false;
    }
    const ReportMoments& k = *m_rating->reportMoments;
    openStep("Moments in kip-ft",
             "As the report prints them and the load factor rating uses them.");
    eq("DL = M<sub>DL</sub> / 1000", q(k.DeadLoadMoment, kRepMom, "DeadLoadMoment_kipft"), "kip-ft",
       q(m_rating->moments->M_DL, kMom, "M_DL_lbft"), " / 1000");
    eq("LL = M<sub>LL</sub> / 1000", q(k.LiveLoadMoment, kRepMom, "LiveLoadMoment_kipft"), "kip-ft",
       q(m_rating->moments->M_LL, kMom, "M_LL_lbft"), " / 1000");
    closeStep();
    return true;
}

bool SheetWriter::loadFactorRating() {
    if (!reached(m_rating->loadFactorRating)) {
        return false;
    }
    const LoadFactorRating& l = *m_rating->loadFactorRating;
    const Q mc = q(l.MemberCapacity, kLfRating, "MemberCapacity_kipft");
    const Q llc = q(l.LiveLoadCapacity, kLfRating, "LiveLoadCapacity_kipft");
    const Q rf = q(l.RatingFactor, kLfRating, "RatingFactor");
    const Q op = q(l.operatingTons, kLfRating, "operatingTons_tons");
    openStep("Load factor rating",
             "Dead-load factor 1.3 and live-load factor 1.3 at the operating level; the inventory "
             "rating is 0.6 of the operating one.");
    eq("Member capacity = &phi;M<sub>n</sub> &times; 0.001", mc, "kip-ft",
       q(m_rating->ultimateCapacity->UltimateCapacity, kUlt, "UltimateCapacity_lbft"),
       " &times; 0.001");
    eq("Capacity for LL+I = member capacity &minus; 1.3 DL", llc, "kip-ft", mc,
       " &minus; 1.3 "
       "&times; ",
       q(m_rating->reportMoments->DeadLoadMoment, kRepMom, "DeadLoadMoment_kipft"));
    eq("RF = capacity for LL+I / (1.3 LL)", rf, "", llc, " / (1.3 &times; ",
       q(m_rating->reportMoments->LiveLoadMoment, kRepMom, "LiveLoadMoment_kipft"), ")");
    eq("HS20 operating rating = 36 RF", op, "tons", "36 &times; ", rf);
    eq("Inventory RF = 0.6 RF", q(l.inventoryRatingFactor, kLfRating, "inventoryRatingFactor"), "",
       "0.6 &times; ", rf);
    eq("HS20 inventory rating = 0.6 &times; operating",
       q(l.inventoryTons, kLfRating, "inventoryTons_tons"), "tons", "0.6 &times; ", op);
    closeStep();
    return true;
}

bool SheetWriter::stressScales() {
    if (!reached(m_rating->stressScales) || !reached(m_rating->hs20)) {
        return false;
    }
    const StressScales& s = *m_rating->stressScales;
    const Q dl = q(m_rating->reportMoments->DeadLoadMoment, kRepMom, "DeadLoadMoment_kipft");
    const Q ll = q(m_rating->reportMoments->LiveLoadMoment, kRepMom, "LiveLoadMoment_kipft");
    const Q rf = q(m_rating->loadFactorRating->RatingFactor, kLfRating, "RatingFactor");
    const Q inv = q(s.StressScaleInv, kScales, "StressScaleInv");
    const Q oper = q(s.StressScaleOper, kScales, "StressScaleOper");
    openStep("Reported stresses at the load factor rating load",
             "Each pass's stresses are carried in proportion to the service moment: dead load "
             "plus the rated live load, over the working stress service moment of that level.");
    eq("scale<sub>oper</sub> = (LL RF + DL) / (LL T<sub>oper,ws</sub> / 36 + DL)", oper, "", "(",
       ll, " &times; ", rf, " + ", dl, ") / (", ll, " &times; ",
       q(m_rating->workingStressOperating->RatingTons, "workingStressOperating", "RatingTons_tons"),
       " / 36 + ", dl, ")");
    eq("scale<sub>inv</sub> = (0.6 LL RF + DL) / (LL T<sub>inv,ws</sub> / 36 + DL)", inv, "",
       "(0.6 &times; ", ll, " &times; ", rf, " + ", dl, ") / (", ll, " &times; ",
       q(m_rating->workingStressInventory->RatingTons, "workingStressInventory", "RatingTons_tons"),
       " / 36 + ", dl, ")");
    const InventoryPass& ip = *m_rating->inventoryPass;
    const OperatingPass& op = *m_rating->operatingPass;
    const Hs20Rating& t = *m_rating->hs20;
    const auto scaled = [&](std::string_view symbols, const Q& pass, const Q& scale, const Q& x) {
        eq(symbols, x, "psi", pass, " &times; ", scale);
    };
    scaled("f<sub>c,inv</sub>", q(ip.ConcreteStress, "inventoryPass", "ConcreteStress_psi"), inv,
           q(t.inventory.ConcreteStress, kHs20Inv, "ConcreteStress_psi"));
    scaled("f<sub>s,inv</sub>", q(ip.SteelStress, "inventoryPass", "SteelStress_psi"), inv,
           q(t.inventory.SteelStress, kHs20Inv, "SteelStress_psi"));
    scaled("f<sub>sc,inv</sub>", q(ip.CompSteelStress, "inventoryPass", "CompSteelStress_psi"), inv,
           q(t.inventory.CompSteelStress, kHs20Inv, "CompSteelStress_psi"));
    scaled("f<sub>c,oper</sub>", q(op.ConcreteStress, "operatingPass", "ConcreteStress_psi"), oper,
           q(t.operating.ConcreteStress, kHs20Op, "ConcreteStress_psi"));
    scaled("f<sub>s,oper</sub>", q(op.SteelStress, "operatingPass", "SteelStress_psi"), oper,
           q(t.operating.SteelStress, kHs20Op, "SteelStress_psi"));
    scaled("f<sub>sc,oper</sub>", q(op.CompSteelStress, "operatingPass", "CompSteelStress_psi"),
           oper, q(t.operating.CompSteelStress, kHs20Op, "CompSteelStress_psi"));
    closeStep();
    return true;
}

bool SheetWriter::hs20Table() {
    if (!reached(m_rating->hs20)) {
        return false;
    }
    const Hs20Rating& t = *m_rating->hs20;
    raw("<h2 id=\"ratings\">Ratings</h2>\n");
    openStep("HS20 truck (36 tons): the report's table",
             "Values as the report prints them, the rating factor to three decimals.");
    raw("<table class=\"grid\"><tr><th></th><th>Inventory</th><th>Operating</th></tr>");
    const auto line = [this](std::string_view label, const Q& inv, const Q& op) {
        raw("<tr><td>");
        raw(label);
        raw("</td><td class=\"n\">");
        put(masked(inv, kReportDecimals));
        raw("</td><td class=\"n\">");
        put(masked(op, kReportDecimals));
        raw("</td></tr>");
    };
    const Hs20Inventory& i = t.inventory;
    const Hs20Operating& o = t.operating;
    line("Actual concrete stress (psi)", q(i.ConcreteStress, kHs20Inv, "ConcreteStress_psi"),
         q(o.ConcreteStress, kHs20Op, "ConcreteStress_psi"));
    line("Actual reinforcing steel stress (psi)", q(i.SteelStress, kHs20Inv, "SteelStress_psi"),
         q(o.SteelStress, kHs20Op, "SteelStress_psi"));
    line("Actual compression steel stress (psi)",
         q(i.CompSteelStress, kHs20Inv, "CompSteelStress_psi"),
         q(o.CompSteelStress, kHs20Op, "CompSteelStress_psi"));
    line("Member capacity (kip-ft)", q(i.MemberCapacity, kHs20Inv, "MemberCapacity_kipft"),
         q(o.MemberCapacity, kHs20Op, "MemberCapacity_kipft"));
    line("Member capacity for LL+I (kip-ft)",
         q(i.LiveLoadCapacity, kHs20Inv, "LiveLoadCapacity_kipft"),
         q(o.LiveLoadCapacity, kHs20Op, "LiveLoadCapacity_kipft"));
    raw("<tr><td>Rating factor</td><td class=\"n\">");
    put(masked(q(i.RatingFactor, kHs20Inv, "RatingFactor"), kFactorDecimals));
    raw("</td><td class=\"n\">");
    put(masked(q(o.RatingFactor, kHs20Op, "RatingFactor"), kFactorDecimals));
    raw("</td></tr><tr><th>Rating (tons)</th><th class=\"n\">");
    put(masked(q(i.RatingTons, kHs20Inv, "RatingTons_tons"), kReportDecimals));
    raw("</th><th class=\"n\">");
    put(masked(q(o.RatingTons, kHs20Op, "RatingTons_tons"), kReportDecimals));
    raw("</th></tr></table>");
    closeStep();
    chart();
    return true;
}

void SheetWriter::chart() {
    if (!m_rating->reportMoments) {
        return;
    }
    const Hs20Rating& t = *m_rating->hs20;
    const ReportMoments& k = *m_rating->reportMoments;
    struct Level {
        std::string_view name;
        std::string_view group;
        double capacity, live;
    };
    const std::array<Level, 2> levels{
        Level{"Inventory", kHs20Inv, t.inventory.MemberCapacity, t.inventory.LiveLoadCapacity},
        Level{"Operating", kHs20Op, t.operating.MemberCapacity, t.operating.LiveLoadCapacity}};
    const double dl = std::max(0.0, static_cast<double>(k.DeadLoadMoment));
    const double ll = std::max(0.0, static_cast<double>(k.LiveLoadMoment));
    double top = dl + ll;
    for (const Level& l : levels) {
        top = std::max(top, l.capacity);
    }
    raw("<figure><figcaption><b>Capacity against demand</b> (kip-ft per foot of width)");
    if (top > 0 && std::isfinite(top)) {
        const double step = tickStep(top);
        top = std::ceil(top / step) * step;
        constexpr double kLeft = 86, kBarWidth = 440, kBarHeight = 16, kLevelHeight = 66;
        constexpr double kAxis = 2 * kLevelHeight + 6;
        const double scale = kBarWidth / top;
        const auto bar = [&](double x, double y, double length, std::string_view fill) {
            if (length > 0) {
                svg("<rect x=\"", kLeft + x * scale, "\" y=\"", y, "\" width=\"", length * scale,
                    "\" height=\"", kBarHeight, "\" fill=\"", fill, "\"/>");
            }
        };
        const auto label = [&](double x, double y, std::string_view words,
                               std::string_view style = {}) {
            svg("<text x=\"", x, "\" y=\"", y, "\" font-size=\"11\"", style, ">", words, "</text>");
        };
        svg("<br><svg role=\"img\" width=\"560\" height=\"", kAxis + 24, "\" viewBox=\"0 0 560 ",
            kAxis + 24,
            "\"><title>Member capacity against dead-load and live-load moments</title>");
        for (double tick = 0; tick <= top * (1 + 1e-9); tick += step) {
            svg("<path d=\"M", kLeft + tick * scale, " 4V", kAxis, "\" stroke=\"#ddd\"/>");
            char buf[32];
            const char* end =
                std::to_chars(buf, buf + sizeof buf, tick, std::chars_format::general, 6).ptr;
            label(kLeft + tick * scale, kAxis + 14,
                  std::string_view(buf, static_cast<std::size_t>(end - buf)),
                  " text-anchor=\"middle\"");
        }
        for (std::size_t i = 0; i < levels.size(); ++i) {
            const Level& l = levels[i];
            const double y = kLevelHeight * static_cast<double>(i);
            const double capacity = std::max(0.0, l.capacity);
            const double dead = std::clamp(l.capacity - l.live, 0.0, capacity);
            label(4, y + 13, l.name, " font-weight=\"700\"");
            label(12, y + 30, "capacity");
            bar(0, y + 18, dead, "#9a9a9a");
            bar(dead, y + 18, capacity - dead, "#3a8d3a");
            label(12, y + 52, "demand");
            bar(0, y + 40, dl, "#555");
            bar(dl, y + 40, ll, "#e08a1e");
        }
        raw("</svg>");
    }
    raw("<br>Capacity: the share taken by dead load (grey) and the capacity left for live load "
        "plus impact (green). Demand: the dead-load moment (dark grey) and the HS20 live load "
        "plus impact moment (orange).");
    if (loadFactor()) {
        raw(" Load factor: the capacity is &phi;M<sub>n</sub>, its dead-load share 1.3 DL, and "
            "the capacity left is compared with 1.3 LL; the demand bars are unfactored.");
    }
    raw("</figcaption><table class=\"grid\"><tr><th>Level</th><th>Member capacity</th><th>Left "
        "for LL+I</th><th>Dead load DL</th><th>LL+I (HS20)</th></tr>");
    for (const Level& l : levels) {
        raw("<tr><td>");
        raw(l.name);
        raw("</td><td class=\"n\">");
        put(masked(q(l.capacity, l.group, "MemberCapacity_kipft"), kReportDecimals));
        raw("</td><td class=\"n\">");
        put(masked(q(static_cast<float>(l.live), l.group, "LiveLoadCapacity_kipft"),
                   kReportDecimals));
        raw("</td><td class=\"n\">");
        put(masked(q(k.DeadLoadMoment, kRepMom, "DeadLoadMoment_kipft"), kReportDecimals));
        raw("</td><td class=\"n\">");
        put(masked(q(k.LiveLoadMoment, kRepMom, "LiveLoadMoment_kipft"), kReportDecimals));
        raw("</td></tr>");
    }
    raw("</table></figure>\n");
}

bool SheetWriter::legalTrucks() {
    const Hs20Operating& op = m_rating->hs20->operating;
    const Q opTons = q(op.RatingTons, kHs20Op, "RatingTons_tons");
    if (!m_rating->legalTrucks) {
        if (stopped()) {
            stopHere();
            return false;
        }
        openStep("Legal trucks", "Rated when the HS20 operating rating is below 36 tons.");
        row("HS20 operating rating &lt; 36 tons");
        parts(opTons, " &ge; 36");
        resultText("no legal-truck table");
        closeStep();
        return true;
    }
    const LegalTruckRatings& l = *m_rating->legalTrucks;
    const bool state = l.series == TruckSeries::State;
    const Q rf = q(op.RatingFactor, kHs20Op, "RatingFactor");
    const Q factor = q(l.trucks[0].RatingFactor, kTruckGroups[0], "RatingFactor");
    const Q moment = state ? q(*l.stateTruckMoment, kTrucks, "TruckMoment_kipft")
                           : q(*l.interstateTruckMoment, kTrucks, "TruckMoment_kipft");
    openStep(state ? "Legal trucks: Brevania Trucks" : "Legal trucks: Interstate Trucks",
             "The HS20 operating rating is below 36 tons, so the three legal trucks of the "
             "series are rated at the operating level; the slab moment is linear in the wheel "
             "load.");
    row("HS20 operating rating &lt; 36 tons");
    parts(opTons, " &lt; 36");
    resultText("legal trucks rated");
    eq("P, the series' heaviest wheel", q(l.wheelKips, kTrucks, "wheelKips_kips"), "kips");
    eq("LL+I moment of the series", moment, "kip-ft");
    eq("RF<sub>truck</sub> = RF<sub>HS20,oper</sub> &times; 16 / P", factor, "", rf,
       " &times; 16 / ", q(l.wheelKips, kTrucks, "wheelKips_kips"));
    for (std::size_t i = 0; i < l.trucks.size(); ++i) {
        const LegalTruck& truck = l.trucks[i];
        row(i == 0   ? "Type 3: rating = gross weight &times; RF<sub>truck</sub>"
            : i == 1 ? "Type 3S2: rating = gross weight &times; RF<sub>truck</sub>"
                     : "Type 3-2: rating = gross weight &times; RF<sub>truck</sub>");
        parts("= ", q(truck.grossTons, kTruckGroups[i], "grossTons_tons"), " &times; ",
              q(truck.RatingFactor, kTruckGroups[i], "RatingFactor"));
        result(q(truck.RatingTons, kTruckGroups[i], "RatingTons_tons"), "tons");
    }
    note("As the report prints them:");
    raw("<table class=\"grid\"><tr><th>Truck type</th><th>Gross weight (tons)</th><th>Rating "
        "factor</th><th>Rating (tons)</th></tr>");
    for (std::size_t i = 0; i < l.trucks.size(); ++i) {
        const LegalTruck& truck = l.trucks[i];
        raw("<tr><td>");
        text(truck.type);
        raw("</td><td class=\"n\">");
        put(q(truck.grossTons, kTruckGroups[i], "grossTons_tons"));
        raw("</td><td class=\"n\">");
        put(masked(q(truck.RatingFactor, kTruckGroups[i], "RatingFactor"), kFactorDecimals));
        raw("</td><td class=\"n\">");
        put(masked(q(truck.RatingTons, kTruckGroups[i], "RatingTons_tons"), kReportDecimals));
        raw("</td></tr>");
    }
    raw("</table>");
    closeStep();
    return true;
}

void SheetWriter::signOff() {
    raw("<h2>Sign-off</h2><table class=\"grid sign\"><tr><th>Rated by</th><td></td><th>Date"
        "</th><td></td></tr><tr><th>Checked by</th><td></td><th>Date</th><td></td></tr></table>\n");
}

void SheetWriter::write() {
    head();
    header();
    inputs();
    const bool ran = m_rating != nullptr;
    if (ran && m_rating->input) {
        sketch();
    }
    raw("<h2>Analysis</h2>\n");
    if (!ran) {
        stopHere();
    } else if (validation()) {
        method();
        const bool lf = loadFactor();
        const bool reachedTables =
            (!lf || (loadFactorInput() && inventoryAllowables() && thicknessCheck() &&
                     modularRatio() && ultimateCapacity())) &&
            operatingAllowables() && sectionInput() &&
            pass(m_rating->inventoryPass, kInventoryNames,
                 q(m_rating->sectionInput->InvConcStress, kSecIn, "InvConcStress_psi"),
                 q(m_rating->sectionInput->InvSteelStress, kSecIn, "InvSteelStress_psi"),
                 m_rating->sectionInput->InvSteelStress) &&
            moments() && workingStressRating(m_rating->workingStressInventory, false) &&
            pass(m_rating->operatingPass, kOperatingNames,
                 q(m_rating->sectionInput->OperConcStress, kSecIn, "OperConcStress_psi"),
                 q(m_rating->sectionInput->OperSteelStress, kSecIn, "OperSteelStress_psi"),
                 m_rating->sectionInput->OperSteelStress) &&
            workingStressRating(m_rating->workingStressOperating, true) && reportMoments() &&
            (!lf || (loadFactorRating() && stressScales())) && hs20Table();
        if (reachedTables) {
            legalTrucks();
        }
    }
    signOff();
    raw("</td></tr></tbody></table></body></html>\n");
}

}  // namespace

std::string calcSheetHtml(const RatedSlab& slab) {
    std::string out;
    out.reserve(kSheetCapacity);
    SheetWriter(slab, out).write();
    return out;
}

}  // namespace slabrating
