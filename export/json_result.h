#pragma once
// The JSON result of one slab: what it was given, how it ended, every quantity the run
// reached with its unit in its name, and the report. Numbers read back to exactly the
// engine's values. The schema is docs/slab-result.schema.json.

#include <nlohmann/json.hpp>
#include <string>

#include "export/rated_slab.h"

namespace slabrating {

/// Version of the JSON result's layout; it grows when a key changes its meaning or goes, or
/// when keys are added (2: the review findings, the midspan section of a working stress run;
/// 3: every key spelt one way; 4: the governing rating, the status, the findings' articles
/// and the review checks).
inline constexpr int kJsonSchemaVersion = 4;

/// The JSON result of one slab.
nlohmann::ordered_json slabJson(const RatedSlab& slab);

/// The same as one line of text (no line end), as a JSON Lines summary holds it.
std::string slabJsonText(const RatedSlab& slab);

}  // namespace slabrating
