#include "export/sheet_page.h"

#include <algorithm>
#include <charconv>

#include "engine/format.h"
#include "export/text.h"

namespace slabrating::sheet {

namespace {

// Significant digits of a value in the steps; the tables use the report's masks instead.
constexpr int kShownDigits = 6;

}  // namespace

Page::Page(const RatedSlab& slab, std::string& out)
    : m_slab(slab),
      m_out(out),
      m_rating(slab.result != nullptr ? &slab.result->rating : nullptr),
      m_quantities(quantities().data()) {}

bool Page::loadFactor() const {
    return m_rating != nullptr && m_rating->method == RatingMethod::LoadFactor;
}

bool Page::stopped() const {
    return m_slab.outcome != SlabOutcome::Complete && m_slab.outcome != SlabOutcome::NotSaved;
}

void Page::text(std::string_view utf8) {
    appendHtmlText(m_out, utf8);
}

void Page::latin1(std::string_view bytes) {
    appendHtmlText(m_out, latin1ToUtf8(bytes));
}

void Page::constant(double value) {
    m_out += shortestText(value);
}

void Page::number(int value) {
    char buf[16];
    const char* end = std::to_chars(buf, buf + sizeof buf, value).ptr;
    m_out.append(buf, static_cast<std::size_t>(end - buf));
}

void Page::part(Const c) {
    if (c.value < 0) {
        raw("(");
        constant(c.value);
        raw(")");
    } else {
        constant(c.value);
    }
}

void Page::putQuantity(const Found& found, int decimals) {
    if (decimals >= 0 || !found.held) {
        writeElement(found, decimals);
        return;
    }
    Shown& shown = m_shown[found.index];
    if (shown.length > 0) {
        m_out.append(m_out, shown.offset, shown.length);
        return;
    }
    shown.offset = static_cast<std::uint32_t>(m_out.size());
    writeElement(found, decimals);
    shown.length = static_cast<std::uint32_t>(m_out.size() - shown.offset);
}

void Page::writeElement(const Found& found, int decimals) {
    const Quantity& quantity = m_quantities[found.index];
    raw("<data value=\"");
    // The value exactly as the engine holds it: the shortest text that reads back to it.
    char buf[64];
    char* const last = buf + sizeof buf;
    const QuantityValue& value = found.value;
    const bool single = quantity.precision == Precision::Single;
    const bool whole = quantity.precision == Precision::Whole;
    const char* end = !found.held ? buf
                      : whole  ? std::to_chars(buf, last, static_cast<long long>(value.number)).ptr
                      : single ? std::to_chars(buf, last, static_cast<float>(value.number)).ptr
                               : std::to_chars(buf, last, value.number).ptr;
    m_out.append(buf, static_cast<std::size_t>(end - buf));
    raw("\" data-q=\"/rating/");
    if (!quantity.group.empty()) {
        raw(quantity.group);
        raw("/");
    }
    raw(quantity.key);
    raw("\">");
    if (!found.held) {
        // A quantity of a step the run did not reach: the page's own test fails on it.
        raw("&mdash;");
    } else if (whole) {
        m_out.append(buf, static_cast<std::size_t>(end - buf));
    } else if (decimals >= 0) {
        raw(single ? formatMask(static_cast<float>(value.number), decimals)
                   : formatMask(value.number, decimals));
    } else {
        appendSignificant(m_out, value.number, kShownDigits);
    }
    raw("</data>");
}

void Page::partQuantity(const Found& found) {
    const bool negative = found.held && found.value.number < 0;
    if (negative) {
        raw("(");
    }
    putQuantity(found, -1);
    if (negative) {
        raw(")");
    }
}

void Page::heading(std::string_view title, std::string_view id) {
    closeTable();
    raw("<h2");
    if (!id.empty()) {
        raw(" id=\"");
        raw(id);
        raw("\"");
    }
    raw(">");
    raw(title);
    raw("</h2>\n");
}

void Page::openStep(std::string_view title, std::string_view why) {
    raw("<section class=\"step\"><h3>");
    number(++m_step);
    raw(". ");
    raw(title);
    if (!why.empty()) {
        raw(" <span class=\"why\">");
        raw(why);
        raw("</span>");
    }
    raw("</h3>");
}

void Page::closeTable() {
    if (m_inTable) {
        raw("</table>");
        m_inTable = false;
    }
    if (m_inItems) {
        raw("</p>");
        m_inItems = false;
    }
}

void Page::closeStep() {
    closeTable();
    raw("</section>\n");
}

void Page::note(std::string_view html) {
    closeTable();
    raw("<p class=\"note\">");
    raw(html);
    raw("</p>");
}

void Page::twoColumns(std::string_view first, std::string_view second) {
    closeTable();
    raw("<table class=\"eqs two\"><tr><th></th><th></th><th>");
    raw(first);
    raw("</th><th>");
    raw(second);
    raw("</th></tr>");
    m_inTable = true;
}

void Page::row(std::string_view symbols) {
    if (m_inItems) {
        closeTable();
    }
    if (!m_inTable) {
        raw("<table class=\"eqs\">");
        m_inTable = true;
    }
    raw("<tr><td class=\"sym\">");
    raw(symbols);
    raw("</td><td class=\"sub\">");
}

void Page::resultQuantity(const Found& found, std::string_view unit) {
    raw("</td><td class=\"res\">= ");
    putQuantity(found, -1);
    if (!unit.empty()) {
        raw(" ");
        raw(unit);
    }
    if (m_quantities[found.index].precision == Precision::Single) {
        raw("<sup class=\"single\" title=\"stored in single precision\">s</sup>");
    }
    raw("</td></tr>");
}

void Page::secondResult(const Found& found, std::string_view unit) {
    // The row's first result closed it; the second goes into a cell of its own.
    m_out.resize(m_out.size() - std::string_view("</tr>").size());
    raw("<td class=\"res\">= ");
    putQuantity(found, -1);
    if (!unit.empty()) {
        raw(" ");
        raw(unit);
    }
    raw("</td></tr>");
}

void Page::resultText(std::string_view html) {
    raw("</td><td class=\"res\">");
    raw(html);
    raw("</td></tr>");
}

void Page::itemQuantity(std::string_view symbol, const Found& found, std::string_view unit) {
    if (m_inTable) {
        closeTable();
    }
    if (!m_inItems) {
        raw("<p class=\"items\">");
        m_inItems = true;
    } else {
        raw(" &middot; ");
    }
    raw("<span>");
    raw(symbol);
    raw(" = ");
    putQuantity(found, -1);
    if (!unit.empty()) {
        raw(" ");
        raw(unit);
    }
    raw("</span>");
}

void Page::stopHere() {
    if (m_stopShown || !stopped()) {
        return;
    }
    m_stopShown = true;
    closeTable();
    raw("<div class=\"stopped\">The run stopped here (");
    raw(outcomeName(m_slab.outcome));
    raw("): ");
    latin1(m_slab.message);
    raw("</div>\n");
}

std::string reportLine(std::string_view line) {
    std::string quoted = "&ldquo;";
    appendHtmlText(quoted, line.substr(std::min(line.find_first_not_of(' '), line.size())));
    quoted += "&rdquo;";
    return quoted;
}

}  // namespace slabrating::sheet
