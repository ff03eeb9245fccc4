#include "engine/quantity_table.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

#include "engine/quantity_defs.h"

namespace slabrating {

namespace {

// A name with its unit: "StAreaTop" and "sq in" give "StAreaTop_sqin", "w" and "lb/ft"
// give "w_lbperft"; a name that ends in its unit ("RatingTons", "tons") takes no suffix.
std::string keyWithUnit(std::string_view name, std::string_view unit) {
    std::string suffix;
    for (const char c : unit) {
        if (c == '/') {
            suffix += "per";
        } else if (c != ' ' && c != '-') {
            suffix += c;
        }
    }
    std::string named = suffix;
    if (!named.empty()) {
        named.front() = static_cast<char>(std::toupper(static_cast<unsigned char>(named.front())));
    }
    if (suffix.empty() || name.ends_with(named)) {
        return std::string(name);
    }
    return std::string(name) + "_" + suffix;
}

// The engine's symbols, which keep their spelling in a key: the section's terms, the
// moments and the depth factor.
constexpr std::array<std::string_view, 8> kSymbols{"A", "B",    "BPrime", "P",
                                                   "Q", "M_DL", "M_LL",   "Beta1"};

// The JSON key of a quantity: its name in lower camel case (a symbol as it is), then its
// unit. "MemberCapacity" and "kip-ft" give "memberCapacity_kipft".
std::string quantityKey(std::string_view name, std::string_view unit) {
    std::string camel(name);
    // An inventory item keeps its identifier as the inventory spells it: "B.LR.05".
    const bool identifier = name.find('.') != std::string_view::npos;
    if (!identifier && std::find(kSymbols.begin(), kSymbols.end(), name) == kSymbols.end()) {
        camel.front() = static_cast<char>(std::tolower(static_cast<unsigned char>(camel.front())));
    }
    return keyWithUnit(camel, unit);
}

std::string keyOf(const QuantityDef& quantity) {
    return quantity.keyStyle == KeyStyle::Field ? keyWithUnit(quantity.name, quantity.unit)
                                                : quantityKey(quantity.name, quantity.unit);
}

constexpr std::array<QuantityGroup, 63> kGroups{{
    {"input", "every run whose numbers read as numbers"},
    {"loadFactorInput", "load factor runs"},
    {"inventoryAllowables", "load factor runs"},
    {"thicknessCheck", "load factor runs"},
    {"ultimateCapacity", "load factor runs that reached the capacity"},
    {"operatingAllowables", "runs that reached the working stress analysis"},
    {"sectionInput", "runs that reached the working stress analysis"},
    {"inventoryPass", "runs that reached the inventory pass"},
    {"inventoryPass/section", "with its pass"},
    {"operatingPass", "runs that reached the operating pass"},
    {"operatingPass/section", "with its pass"},
    {"moments", "runs that reached the moments"},
    {"workingStressInventory", "runs that reached the moments"},
    {"workingStressOperating", "runs that reached the operating pass"},
    {"reportMoments", "runs that reached the operating pass"},
    {"loadFactorRating", "load factor runs that reached the ratings"},
    {"stressScales", "load factor runs that reached the ratings"},
    {"hs20", "runs that reached the HS20 table"},
    {"hs20/inventory", "with the HS20 table"},
    {"hs20/operating", "with the HS20 table"},
    {"legalTrucks", "complete runs whose HS20 operating rating is below the HS20 gross weight"},
    {"legalTrucks/trucks/0", "with the legal-truck table"},
    {"legalTrucks/trucks/1", "with the legal-truck table"},
    {"legalTrucks/trucks/2", "with the legal-truck table"},
    {"midspan", "complete working stress runs whose midspan section could be analysed"},
    {"midspan/sectionInput", "with the midspan section"},
    {"midspan/inventoryPass", "with the midspan section"},
    {"midspan/inventoryPass/section", "with the midspan section"},
    {"midspan/operatingPass", "with the midspan section"},
    {"midspan/operatingPass/section", "with the midspan section"},
    {"midspan/inventory", "with the midspan section"},
    {"midspan/operating", "with the midspan section"},
    {"governing", "complete runs"},
    {"governing/inventory", "with the governing rating"},
    {"governing/operating", "with the governing rating"},
    {"governing/legalTrucks",
     "complete runs whose governing HS20 operating rating is below the HS20 gross weight", true},
    {"governing/legalTrucks/trucks/0", "with the governing legal-truck table"},
    {"governing/legalTrucks/trucks/1", "with the governing legal-truck table"},
    {"governing/legalTrucks/trucks/2", "with the governing legal-truck table"},
    {"loadFactorChecks", "complete load factor runs whose checks are defined"},
    {"loadFactorChecks/top", "with the load factor checks"},
    {"loadFactorChecks/bottom", "with the load factor checks"},
    {"modularRatioCheck", "complete working stress runs whose Concrete Fc is above 0"},
    {"legalLoads", "complete runs"},
    {"legalLoads/vehicles/0", "complete runs"},
    {"legalLoads/vehicles/1", "complete runs"},
    {"legalLoads/vehicles/2", "complete runs"},
    {"legalLoads/vehicles/3", "complete runs"},
    {"legalLoads/vehicles/4", "complete runs"},
    {"posting", "complete runs"},
    {"posting/policy", "complete runs"},
    {"posting/vehicles/0", "complete runs"},
    {"posting/vehicles/1", "complete runs"},
    {"posting/vehicles/2", "complete runs"},
    {"posting/vehicles/3", "complete runs"},
    {"posting/vehicles/4", "complete runs"},
    {"posting/emergency", "complete runs whose posting has an emergency vehicle sign", true},
    {"inventory", "complete runs"},
    {"inventory/legalLoads/0", "complete runs"},
    {"inventory/legalLoads/1", "complete runs"},
    {"inventory/legalLoads/2", "complete runs"},
    {"inventory/legalLoads/3", "complete runs"},
    {"inventory/legalLoads/4", "complete runs"},
}};

}  // namespace

std::span<const Quantity> quantities() {
    static const std::array<Quantity, kQuantityCount> table = [] {
        std::array<Quantity, kQuantityCount> t;
        for (std::size_t i = 0; i < kQuantityCount; ++i) {
            const QuantityDef& q = kQuantityDefs[i];
            t[i] = {q.group, keyOf(q), q.unit, q.precision, q.presence, q.read};
        }
        return t;
    }();
    return table;
}

std::span<const QuantityGroup> quantityGroups() {
    return kGroups;
}

}  // namespace slabrating
