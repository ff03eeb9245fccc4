#pragma once
// Internal to export/: the page of the calculation sheet and its primitives. Every number
// the page shows is either a quantity of the run, written through the quantity table as a
// <data> element, or a constant of the rating rules, written through the formatter.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/quantity_table.h"
#include "export/rated_slab.h"

namespace slabrating::sheet {

/// A constant of the rating rules (engine/rules.h) as a part of a formula.
struct Const {
    double value;
};

/// The page being written: the slab, its run, and the HTML written so far.
class Page {
public:
    Page(const RatedSlab& slab, std::string& out);

    const RatedSlab& slab() const { return m_slab; }
    /// The run's result; null when there was no run.
    const RatingResult* result() const { return m_slab.result; }
    /// The run's quantities; null when there was no run.
    const Rating* rating() const { return m_rating; }
    bool loadFactor() const;
    /// The run stopped before its end.
    bool stopped() const;

    // Output.
    void raw(std::string_view html) { m_out += html; }
    void text(std::string_view utf8);
    void latin1(std::string_view bytes);
    void constant(double value);
    void number(int value);

    /// A quantity of the run: the member of the rating that holds it. `decimals` >= 0 shows
    /// it as the report's masks do; otherwise to six significant digits.
    void put(const float& member, int decimals = -1) { putQuantity(&member, decimals); }
    void put(const double& member, int decimals = -1) { putQuantity(&member, decimals); }
    void put(const int& member) { putQuantity(&member, -1); }
    void put(const LoadType& member) { putQuantity(&member, -1); }

    // Parts of a formula with the numbers substituted; a negative value in parentheses.
    void part(std::string_view html) { raw(html); }
    void part(const char* html) { raw(html); }
    void part(Const c);
    void part(const float& member) { partQuantity(&member); }
    void part(const double& member) { partQuantity(&member); }
    void part(const int& member) { partQuantity(&member); }
    template <class... Parts>
    void parts(const Parts&... p) {
        (part(p), ...);
    }

    // Headings.
    void heading(std::string_view title, std::string_view id = {});

    // Steps: a titled box holding a table of equations, each the formula in symbols, the
    // formula with the numbers substituted, and the result (one column, or one per level).
    void openStep(std::string_view title, std::string_view why = {});
    void closeStep();
    void note(std::string_view html);
    void row(std::string_view symbols);
    template <class T>
    void result(const T& member, std::string_view unit) {
        resultQuantity(&member, unit);
    }
    void resultText(std::string_view html);
    template <class T, class... Parts>
    void eq(std::string_view symbols, const T& member, std::string_view unit, const Parts&... p) {
        row(symbols);
        if constexpr (sizeof...(p) > 0) {
            raw("= ");
            parts(p...);
        }
        result(member, unit);
    }
    /// One formula for both levels, the numbers substituted those of the first.
    template <class A, class B, class... Parts>
    void eq2(std::string_view symbols, const A& inventory, const B& operating,
             std::string_view unit, const Parts&... p) {
        row(symbols);
        if constexpr (sizeof...(p) > 0) {
            raw("= ");
            parts(p...);
        }
        result(inventory, unit);
        secondResult(&operating, unit);
    }
    /// Starts a table of equations whose results stand in two columns.
    void twoColumns(std::string_view first, std::string_view second);
    /// An inline list of quantities: "S = 12 ft &middot; h = 8 in".
    template <class T>
    void item(std::string_view symbol, const T& member, std::string_view unit) {
        itemQuantity(symbol, &member, unit);
    }

    /// A run stopped before the step that needs `present`: the stop is marked once.
    template <class T>
    bool reached(const std::optional<T>& present) {
        if (!present) {
            stopHere();
        }
        return present.has_value();
    }
    void stopHere();

private:
    const std::pair<const Quantity*, QuantityValue>* find(const void* member) const;
    void putQuantity(const void* member, int decimals);
    void putFound(const std::pair<const Quantity*, QuantityValue>* found, int decimals);
    void partQuantity(const void* member);
    void resultQuantity(const void* member, std::string_view unit);
    void secondResult(const void* member, std::string_view unit);
    void itemQuantity(std::string_view symbol, const void* member, std::string_view unit);
    void writeElement(const Quantity& quantity, const QuantityValue& value, int decimals);
    void closeTable();

    const RatedSlab& m_slab;
    std::string& m_out;
    const Rating* m_rating;
    std::optional<QuantityIndex> m_index;
    int m_step = 0;
    bool m_inTable = false;
    bool m_inItems = false;
    bool m_stopShown = false;

    // Where each quantity's element first stands, by mask: a quantity shown again is copied
    // from there, since its number text costs more than the rest of the sheet.
    struct Shown {
        std::size_t offset = 0, length = 0;
    };
    static constexpr std::size_t kMasks = 4;  // six digits, and 0, 2 or 3 decimals
    std::vector<std::array<Shown, kMasks>> m_shown;
};

// The sections of the sheet (calc_sheet.cpp, sheet_steps.cpp, sheet_figures.cpp).

/// The cross-section of the strip, to scale, with its dimensions.
void crossSection(Page& page);
/// The capacity against the demand at each level, each part labelled with its number.
void capacityChart(Page& page);
/// The analysis steps as far as the run reached them; false when it stopped on the way.
bool analysisSteps(Page& page);
/// The working stress analysis of the section over the girders: its inputs and passes.
bool workingStress(Page& page);
/// Its ratings at both levels: a rating in a working stress run, in a load factor run only
/// the terms of the stress scales.
void workingStressLevels(Page& page, bool rating);
/// The midspan section of a working stress run.
void midspan(Page& page);
/// The stress scales of a load factor run and the stresses they carry.
bool stressScales(Page& page);
/// The posting box of the first page: the action, the signs as they look, each vehicle's
/// value and the rule that gave it, and the policy that decided.
void postingBox(Page& page);
/// The legal loads at both levels, as an analysis step.
void legalLoads(Page& page);
/// The member's inventory items.
void inventoryItemsTable(Page& page);
/// The appendix: the operating allowable stress table, and in a load factor run the
/// working stress analysis that scales the reported stresses.
void appendix(Page& page);

}  // namespace slabrating::sheet
