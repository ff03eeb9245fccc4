#pragma once
// The inventory record: the load rating items of each rated member (the deck strip), as the
// inventory formats them, for an agency to hold against the bridge's other members. One row
// per input in FILE.csv, and one row per legal vehicle of each rated input in
// FILE-legal-loads.csv beside it, keyed by the structure number.

#include <string>
#include <string_view>

#include "export/rated_slab.h"

namespace slabrating {

/// The file of the legal load rows beside an inventory file: "x.csv" gives "x-legal-loads.csv".
std::string legalLoadsPathOf(std::string_view inventoryPath);

/// The header rows of the two files (CSV, CR LF).
std::string_view inventoryHeader();
std::string_view legalLoadsHeader();

/// Appends the item row of `slab` to `items` and its legal load rows to `legalLoads`. A row
/// that cannot be rated has blank items and B.LR.04 "N", and no legal load rows.
void appendInventoryRows(std::string& items, std::string& legalLoads, const RatedSlab& slab);

}  // namespace slabrating
