#pragma once
// The JSON Schema of the JSON result, made from the quantity table, the field table, the
// outcomes and the finding codes, so that it cannot drift from what the result holds.
// docs/slab-result.schema.json is this schema as text; a test keeps the two the same.

#include <nlohmann/json.hpp>
#include <string>

namespace slabrating {

/// The schema of the JSON result (JSON Schema 2020-12).
nlohmann::ordered_json resultSchema();

/// The same as the text of docs/slab-result.schema.json: indented by two, ending in a line end.
std::string resultSchemaText();

}  // namespace slabrating
