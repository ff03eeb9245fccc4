#pragma once
// Internal to the engine: the layout of the rating report. Other layers take the report
// from `RunRating` and the HS20 operating text from engine/rating.h.

#include <string>

#include "engine/rating.h"

namespace slabrating {

/// Appends the report of `rating` to `out`: the blocks the run reached, every line ended by
/// CR LF. A run stopped before the header (a field not numeric) has an empty report.
void writeReport(const Rating& rating, std::string& out);

}  // namespace slabrating
