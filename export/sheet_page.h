#pragma once
// Internal to export/: the page of the calculation sheet and its primitives. Every number
// the page shows is either a quantity of the run, written through the quantity table as a
// <data> element, or a constant of the rating rules, written through the formatter.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/quantity_defs.h"
#include "export/rated_slab.h"

namespace slabrating::sheet {

/// A constant of the rating rules (engine/rules.h) as a part of a formula.
struct Const {
    double value;
};

/// The member of the run's `Rating` at the end of `Path`, named while compiling: a quantity
/// of the table, `At<&Rating::loadFactorInput, &LoadFactorInput::fy>`, or a group of them
/// that a longer path goes on from. A step is a member, or an index into an array.
template <auto... Path>
struct At {};

/// The member at `More` below `group`: `at<&LoadFactorInput::fy>(lf)`.
template <auto... More, auto... Path>
constexpr At<Path..., More...> at(At<Path...> /*group*/) {
    return {};
}

/// The type of the group at `Group`: `Held<decltype(pass)>`.
template <class Group>
struct HeldBy;
template <auto... Path>
struct HeldBy<At<Path...>> {
    using type = HeldAt<Path...>;
};
template <class Group>
using Held = typename HeldBy<Group>::type;

/// An input number as the run holds it, by its field: `inputNumber<Field::EffSpan>`.
template <Field F>
inline constexpr At<&Rating::input, fieldInfo(F).heldNumber> inputNumber{};

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

    /// A quantity of the run. `decimals` >= 0 shows it as the report's masks do; otherwise to
    /// six significant digits.
    template <auto... Path>
    void put(At<Path...> quantity, int decimals = -1) {
        putQuantity(find(quantity), decimals);
    }

    // Parts of a formula with the numbers substituted; a negative value in parentheses.
    void part(std::string_view html) { raw(html); }
    void part(const char* html) { raw(html); }
    void part(Const c);
    template <auto... Path>
    void part(At<Path...> quantity) {
        partQuantity(find(quantity));
    }
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
    template <auto... Path>
    void result(At<Path...> quantity, std::string_view unit) {
        resultQuantity(find(quantity), unit);
    }
    void resultText(std::string_view html);
    template <class Result, class... Parts>
    void eq(std::string_view symbols, Result quantity, std::string_view unit, const Parts&... p) {
        row(symbols);
        if constexpr (sizeof...(p) > 0) {
            raw("= ");
            parts(p...);
        }
        result(quantity, unit);
    }
    /// One formula for both levels, the numbers substituted those of the first.
    template <class Inventory, class Operating, class... Parts>
    void eq2(std::string_view symbols, Inventory inventory, Operating operating,
             std::string_view unit, const Parts&... p) {
        row(symbols);
        if constexpr (sizeof...(p) > 0) {
            raw("= ");
            parts(p...);
        }
        result(inventory, unit);
        secondResult(find(operating), unit);
    }
    /// Starts a table of equations whose results stand in two columns.
    void twoColumns(std::string_view first, std::string_view second);
    /// An inline list of quantities: "S = 12 ft &middot; h = 8 in".
    template <auto... Path>
    void item(std::string_view symbol, At<Path...> quantity, std::string_view unit) {
        itemQuantity(symbol, find(quantity), unit);
    }

    /// The run's member at `group`; null when there was no run or it did not reach the member.
    template <auto... Path>
    const HeldAt<Path...>* held(At<Path...> /*group*/) const {
        const auto* member =
            m_rating != nullptr ? quantity_path::reach<Path...>(*m_rating) : nullptr;
        return member != nullptr ? quantity_path::present(*member) : nullptr;
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
    // A quantity of the table and its value in the run, if the run holds it.
    struct Found {
        std::size_t index;  // in the quantity table
        bool held = false;
        QuantityValue value;
    };

    template <auto... Path>
    Found find(At<Path...> /*quantity*/) const {
        Found found{quantityIndex<Path...>(), false, {}};
        found.held =
            m_rating != nullptr && readAt<quantity_path::kStep<Path>...>(*m_rating, found.value);
        return found;
    }
    void putQuantity(const Found& found, int decimals);
    void writeElement(const Found& found, int decimals);
    void partQuantity(const Found& found);
    void resultQuantity(const Found& found, std::string_view unit);
    void secondResult(const Found& found, std::string_view unit);
    void itemQuantity(std::string_view symbol, const Found& found, std::string_view unit);
    void closeTable();

    const RatedSlab& m_slab;
    std::string& m_out;
    const Rating* m_rating;
    const Quantity* m_quantities;
    int m_step = 0;
    bool m_inTable = false;
    bool m_inItems = false;
    bool m_stopShown = false;

    // Where each quantity's element to six significant digits first stands: a quantity shown
    // again in a formula is copied from there, as formatting its number costs more than the
    // rest of the sheet.
    struct Shown {
        std::uint32_t offset = 0, length = 0;
    };
    std::array<Shown, kQuantityCount> m_shown{};
};

/// A line of the report as the sheet quotes it: without its leading blanks, in quotation
/// marks, as HTML.
std::string reportLine(std::string_view line);

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
