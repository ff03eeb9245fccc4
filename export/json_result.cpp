#include "export/json_result.h"

#include <charconv>
#include <system_error>

#include "engine/field_table.h"
#include "engine/quantity_table.h"
#include "engine/version.h"
#include "export/text.h"

namespace slabrating {

namespace {

using json = nlohmann::ordered_json;

// A single-precision value as the shortest decimal that reads back to that float; held in
// a double, whose own shortest text is that same decimal.
double singleValue(float value) {
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value);
    double shortest = 0;
    std::from_chars(text, written.ptr, shortest);
    return shortest;
}

// The quantities the run holds, in the quantity table's order, each in its group: float
// members keep the float's shortest text, double members the double's.
json ratingJson(const Rating& r) {
    json rating = json::object();
    std::string_view group = "\x01";  // none yet
    json* target = nullptr;
    forEachQuantity(r, [&](const Quantity& quantity, const QuantityValue& value) {
        if (quantity.group != group) {
            group = quantity.group;
            target =
                group.empty() ? &rating : &rating[json::json_pointer("/" + std::string(group))];
        }
        json& slot = (*target)[std::string(quantity.key)];
        switch (quantity.precision) {
            case Precision::Single:
                slot = singleValue(static_cast<float>(value.number));
                break;
            case Precision::Double:
                slot = value.number;
                break;
            case Precision::Whole:
                slot = static_cast<long long>(value.number);
                break;
            case Precision::Flag:
                slot = value.number != 0;
                break;
            case Precision::Text:
                slot = latin1ToUtf8(value.text);
                break;
        }
    });
    return rating;
}

// The review findings, each with the values it is about by their place below /rating.
json findingsJson(const std::vector<Finding>& findings) {
    json list = json::array();
    for (const Finding& finding : findings) {
        json values = json::object();
        for (const FindingValue& value : finding.values) {
            values[std::string(value.name)] =
                value.single ? singleValue(static_cast<float>(value.value)) : value.value;
        }
        list.push_back({{"code", std::string(finding.code)},
                        {"severity", std::string(severityName(finding.severity))},
                        {"message", finding.message},
                        {"article", std::string(finding.article)},
                        {"values", std::move(values)}});
    }
    return list;
}

json methodJson(const RatedSlab& slab) {
    if (slab.result == nullptr || !slab.result->rating.method) {
        return nullptr;
    }
    return methodInfo(*slab.result->rating.method).name;
}

}  // namespace

json slabJson(const RatedSlab& slab) {
    json fields = json::object();
    for (const FieldInfo& field : kFields) {
        fields[std::string(field.name)] = latin1ToUtf8(slab.fields.*field.text);
    }
    fields[std::string(kLoadTypeName)] = valueOf(slab.fields.LoadType);

    json result = json::object();
    result["schemaVersion"] = kJsonSchemaVersion;
    result["program"] = "slabrating";
    result["programVersion"] = std::string(kVersionNumber);
    result["file"] = slab.file.empty() ? json(nullptr) : json(fileNameToUtf8(slab.file));
    result["date"] =
        slab.result != nullptr ? json(latin1ToUtf8(slab.result->rating.date)) : json(nullptr);
    result["fields"] = std::move(fields);
    result["outcome"] = std::string(outcomeName(slab.outcome));
    result["message"] = latin1ToUtf8(slab.message);
    result["method"] = methodJson(slab);
    result["rating"] = slab.result != nullptr ? ratingJson(slab.result->rating) : json::object();
    result["findings"] =
        slab.result != nullptr ? findingsJson(slab.result->findings) : json::array();
    result["report"] =
        slab.result != nullptr ? json(latin1ToUtf8(slab.result->report)) : json(nullptr);
    return result;
}

std::string slabJsonText(const RatedSlab& slab) {
    // Invalid UTF-8 cannot arise (every text is converted from Latin-1); replace guards anyway.
    return slabJson(slab).dump(-1, ' ', false, json::error_handler_t::replace);
}

}  // namespace slabrating
