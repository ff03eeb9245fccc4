#pragma once
// The quantities of a rating, described once: whoever shows or writes them (the JSON result,
// its schema, the calculation sheet, the tests) loops over this table or looks a quantity up
// in it, and never names one by a text of its own. engine/quantity_defs.h holds the table as
// the compiler sees it, for a view that names a quantity by the members that hold it.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "engine/rating.h"

namespace slabrating {

/// How the run holds a quantity.
enum class Precision {
    Single,  ///< a single-precision number
    Double,  ///< a double-precision number
    Whole,   ///< a whole number (a count, the load type)
    Flag,    ///< yes or no
    Text,    ///< a text (Latin-1)
};

/// When a quantity of a group that the run reached exists.
enum class Presence {
    Always,            ///< whenever its group exists
    NotStateSeries,    ///< formed only when the load type is not the state series
    StateSeries,       ///< in the state series' legal-truck table only
    InterstateSeries,  ///< in the Interstate series' legal-truck table only
    WithLegalTrucks,   ///< only when its group holds a legal-truck table
};

/// One quantity's value in a run.
struct QuantityValue {
    double number = 0;      ///< Single, Double, Whole, Flag (1 for yes); a float converts exactly
    std::string_view text;  ///< Text
};

/// Reads one quantity's value from a run; false when the run does not hold it.
using QuantityReader = bool (*)(const Rating& rating, QuantityValue& value);

/// One quantity of `Rating`.
struct Quantity {
    /// Its group, as a JSON pointer below /rating without the leading '/':
    /// "inventoryPass/section", "legalTrucks/trucks/0"; empty for a quantity at the top.
    std::string_view group;
    /// Its JSON key: the name in lower camel case (an input field's `--set` name and a
    /// section symbol as they are) with its unit as a suffix, "resistingMoment_lbft", and
    /// none where the name ends in the unit, "ratingTons".
    std::string key;
    std::string_view unit;  ///< its unit for display: "lb-ft"; empty when dimensionless
    Precision precision;
    Presence presence;
    /// Its value in `rating`; false when the run does not hold it.
    QuantityReader read;
};

/// A group of quantities and when a run holds it.
struct QuantityGroup {
    std::string_view path;  ///< as `Quantity::group`
    std::string_view when;  ///< in words: "load factor runs that derived the modular ratio"
    /// A group inside another that the other may lack (the governing legal trucks); the
    /// others come with their parent.
    bool optionalInParent = false;
};

/// Every quantity, in the JSON result's order: the quantities of a group stand together,
/// a group inside another before the rest of the other's quantities.
std::span<const Quantity> quantities();

/// Every group, parents before their children, in the order the quantities name them.
std::span<const QuantityGroup> quantityGroups();

/// Calls `visit(quantity, value)` for every quantity the run holds, in the table's order.
template <class Visitor>
void forEachQuantity(const Rating& rating, Visitor&& visit) {
    for (const Quantity& quantity : quantities()) {
        QuantityValue value;
        if (quantity.read(rating, value)) {
            visit(quantity, value);
        }
    }
}

}  // namespace slabrating
