#include "export/result_schema.h"

#include <string_view>
#include <vector>

#include "engine/field_table.h"
#include "engine/findings.h"
#include "engine/quantity_table.h"
#include "export/json_result.h"
#include "export/rated_slab.h"

namespace slabrating {

namespace {

using json = nlohmann::ordered_json;

json quantitySchema(const Quantity& q) {
    switch (q.precision) {
        case Precision::Single:
        case Precision::Double: {
            std::string description(q.unit.empty() ? "dimensionless" : q.unit);
            description +=
                q.precision == Precision::Single ? ", single precision" : ", double precision";
            return {{"type", "number"}, {"description", description}};
        }
        case Precision::Whole:
            return {{"type", "integer"}};
        case Precision::Flag:
            return {{"type", "boolean"}};
        case Precision::Text:
            break;
    }
    return {{"type", "string"}};
}

json objectSchema(std::string_view description) {
    json o = {{"type", "object"},
              {"properties", json::object()},
              {"required", json::array()},
              {"additionalProperties", false}};
    if (!description.empty()) {
        o["description"] = std::string(description);
    }
    return o;
}

bool isIndex(std::string_view token) {
    return !token.empty() && token.find_first_not_of("0123456789") == std::string_view::npos;
}

// The schema of the group at `path` inside the rating's schema, made on first use: an object
// property of its parent group, or an item of an array where the path names an index.
json& groupSchema(json& rating, std::string_view path) {
    json* at = &rating;
    std::size_t start = 0;
    while (start < path.size()) {
        const std::size_t slash = path.find('/', start);
        const std::size_t end = slash == std::string_view::npos ? path.size() : slash;
        const std::string token(path.substr(start, end - start));
        const std::string_view soFar = path.substr(0, end);
        const std::string_view next =
            end < path.size() ? path.substr(end + 1, path.find('/', end + 1) - end - 1) : "";
        std::string_view when;
        bool optional = false;
        for (const QuantityGroup& group : quantityGroups()) {
            if (group.path == soFar) {
                when = group.when;
                optional = group.optionalInParent;
            }
        }
        if (isIndex(token)) {
            json& items = (*at)["prefixItems"];
            while (items.size() <= std::stoul(token)) {
                items.push_back(objectSchema(when));
            }
            at = &items[std::stoul(token)];
        } else {
            json& properties = (*at)["properties"];
            if (!properties.contains(token)) {
                if (isIndex(next)) {
                    properties[token] = {
                        {"type", "array"}, {"prefixItems", json::array()}, {"items", false}};
                } else {
                    properties[token] = objectSchema(when);
                }
                // A group inside a group comes with it; the rating's own groups come as far
                // as the run reached.
                if (at != &rating && !optional) {
                    (*at)["required"].push_back(token);
                }
            }
            at = &properties[token];
        }
        start = end + 1;
    }
    return *at;
}

json ratingSchema() {
    json rating = objectSchema(
        "Every quantity of the run, by group. A group is present once the run has formed it: a "
        "stopped run holds the groups it reached and no other.");
    for (const Quantity& q : quantities()) {
        json& group = q.group.empty() ? rating : groupSchema(rating, q.group);
        const std::string key(q.key);
        json& properties = group["properties"];
        if (properties.contains(key)) {
            // One key held in either precision, by the series the table belongs to.
            properties[key]["description"] = std::string(q.unit) +
                                             ", in the precision its series "
                                             "holds it (state: double, Interstate: single)";
            if (q.presence == Presence::InterstateSeries) {
                group["required"].push_back(key);
            }
            continue;
        }
        properties[key] = quantitySchema(q);
        if (q.presence == Presence::NotStateSeries) {
            properties[key]["description"] =
                properties[key]["description"].get<std::string>() +
                "; formed only when the load type is not the state series";
        }
        if (q.presence == Presence::WithLegalTrucks) {
            properties[key]["description"] = "only with the group's legal-truck table";
        }
        if (q.presence == Presence::Always && !q.group.empty()) {
            group["required"].push_back(key);
        }
    }
    // The legal trucks: three, in report order.
    json& trucks = rating["properties"]["legalTrucks"]["properties"]["trucks"];
    trucks["minItems"] = trucks["prefixItems"].size();
    json& governing = rating["properties"]["governing"]["properties"]["legalTrucks"];
    governing["properties"]["trucks"]["minItems"] =
        governing["properties"]["trucks"]["prefixItems"].size();
    return rating;
}

json fieldsSchema() {
    json fields = objectSchema(
        "the field texts as given (the record's Latin-1 text as UTF-8) and the load type");
    for (const FieldInfo& field : kFields) {
        fields["properties"][std::string(field.name)] = {{"type", "string"}};
        fields["required"].push_back(field.name);
    }
    json codes = json::array();
    for (const LoadTypeInfo& type : kLoadTypes) {
        codes.push_back(valueOf(type.id));
    }
    fields["properties"][std::string(kLoadTypeName)] = {{"enum", codes}};
    fields["required"].push_back(kLoadTypeName);
    return fields;
}

json findingSchema() {
    json finding = objectSchema("a review finding: what a checking engineer would flag");
    json codes = json::array();
    for (const std::string_view code : kFindingCodes) {
        codes.push_back(code);
    }
    json& p = finding["properties"];
    p["code"] = {{"enum", codes}};
    p["severity"] = {{"enum",
                      {severityName(Severity::Error), severityName(Severity::Warning),
                       severityName(Severity::Note)}},
                     {"description",
                      "error: the inputs cannot describe a slab and the rating is withheld; "
                      "warning: the rating may be wrong for this slab; note: worth knowing"}};
    p["message"] = {{"type", "string"}, {"description", "one plain sentence"}};
    p["article"] = {{"type", "string"},
                    {"description",
                     "the article the rule comes from, \"Standard Specifications\" being the "
                     "AASHTO Standard Specifications for Highway Bridges and \"Manual\" the "
                     "AASHTO Manual for Bridge Evaluation; empty for a rule of the program's "
                     "own"}};
    p["values"] = {{"type", "object"},
                   {"additionalProperties", {{"type", "number"}}},
                   {"description",
                    "the values it is about, each named by its place in the result below "
                    "/rating and given as the run holds it"}};
    for (const char* key : {"code", "severity", "message", "article", "values"}) {
        finding["required"].push_back(key);
    }
    return finding;
}

}  // namespace

json resultSchema() {
    json outcomes = json::array();
    for (const SlabOutcome outcome : kSlabOutcomes) {
        outcomes.push_back(outcomeName(outcome));
    }
    const auto nullable = [](const char* description) {
        return json{{"type", {"string", "null"}}, {"description", description}};
    };
    json s;
    s["$schema"] = "https://json-schema.org/draft/2020-12/schema";
    s["$id"] = "https://slabrating.invalid/slab-result.schema.json";
    s["title"] = "Slab Rating: the JSON result of one slab";
    s["description"] =
        "Written by slabrating-cli --format json (one object) and by --summary FILE.jsonl (one "
        "object per line). Keys carry the unit of their value: _in inches, _ft feet, _sqin "
        "square inches per foot of width, _psi pounds per square inch, _lbft pound-feet per "
        "foot of width, _kipft kip-feet, _tons, _kips, _lbperft pounds per foot of span; a key "
        "without a suffix is dimensionless. Every number is the shortest decimal text that "
        "reads back to exactly the value the rating run holds, in single precision for "
        "single-precision quantities and in double precision for the others.";
    s["type"] = "object";
    json& p = s["properties"];
    p["schemaVersion"] = {{"const", kJsonSchemaVersion}};
    p["program"] = {{"const", "slabrating"}};
    p["programVersion"] = {{"type", "string"}};
    p["file"] = nullable("the input file as named; null for none (standard input or --set only)");
    p["date"] = nullable("the date printed in the report header; null when no run took place");
    p["fields"] = {{"$ref", "#/$defs/fields"}};
    p["outcome"] = {{"enum", outcomes}};
    p["message"] = {{"type", "string"},
                    {"description", "the message of a stopped slab; empty when complete"}};
    json methods = json::array();
    for (const MethodInfo& method : kRatingMethods) {
        methods.push_back(method.name);
    }
    methods.push_back(nullptr);
    p["method"] = {{"enum", methods}};
    p["rating"] = {{"$ref", "#/$defs/rating"}};
    p["findings"] = {{"type", "array"},
                     {"items", {{"$ref", "#/$defs/finding"}}},
                     {"description",
                      "review findings beside the rating, in their codes' order; empty when "
                      "there are none or no run took place"}};
    p["report"] = nullable(
        "the report text with its CR LF line ends, as far as the run wrote it; null when no run "
        "took place");
    s["required"] = json::array();
    for (const auto& [key, value] : p.items()) {
        s["required"].push_back(key);
    }
    s["additionalProperties"] = false;
    s["$defs"]["fields"] = fieldsSchema();
    s["$defs"]["rating"] = ratingSchema();
    s["$defs"]["finding"] = findingSchema();
    return s;
}

std::string resultSchemaText() {
    return resultSchema().dump(2) + "\n";
}

}  // namespace slabrating
