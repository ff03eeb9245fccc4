#pragma once
// The calculation sheet: one rating as a self-contained HTML page that an engineer prints to
// PDF and files with the rating, every step of the analysis with its numbers substituted.

#include <string>

#include "export/rated_slab.h"

namespace slabrating {

/// The calculation sheet of `slab` as one HTML page (UTF-8): the header, the inputs, every
/// step the run reached with its formula, the numbers substituted and its result, a sketch
/// of the strip and a chart of capacity against demand; a stopped run is marked where it
/// stopped. Each result is a `<data value="..." data-q="/rating/...">` element whose value
/// is the shortest text that reads back to the engine's float or double and whose data-q is
/// the JSON pointer of that quantity in the JSON result. No external resource, no script.
std::string calcSheetHtml(const RatedSlab& slab);

}  // namespace slabrating
