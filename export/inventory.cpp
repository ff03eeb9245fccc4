#include "export/inventory.h"

#include "engine/posting.h"
#include "export/text.h"

namespace slabrating {

namespace {

// The items by their identifiers: the current ones, then the legacy ones by number.
constexpr std::string_view kInventoryHeader =
    "structure_number,file,member,B.LR.03,B.LR.04,B.LR.05,B.LR.06,B.LR.07,"
    "item_63,item_64,item_65,item_66,item_70\r\n";
constexpr std::string_view kLegalLoadsHeader =
    "structure_number,file,B.EP.01,B.EP.02,B.EP.03,B.EP.04\r\n";
// The member these items are the values of.
constexpr std::string_view kMember = "deck strip";

std::string trimmed(std::string_view latin1) {
    const std::size_t first = latin1.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = latin1.find_last_not_of(' ');
    return latin1ToUtf8(latin1.substr(first, last - first + 1));
}

}  // namespace

std::string legalLoadsPathOf(std::string_view inventoryPath) {
    std::string path(inventoryPath);
    if (path.ends_with(".csv")) {
        path.resize(path.size() - 4);
    }
    return path + "-legal-loads.csv";
}

std::string_view inventoryHeader() {
    return kInventoryHeader;
}

std::string_view legalLoadsHeader() {
    return kLegalLoadsHeader;
}

void appendInventoryRows(std::string& items, std::string& legalLoads, const RatedSlab& slab) {
    const std::string structure = trimmed(slab.fields.StructNo);
    const std::string file = fileNameToUtf8(slab.file);
    const auto field = [](std::string& row, std::string_view utf8) {
        appendCsvField(row, utf8);
        row += ',';
    };
    field(items, structure);
    field(items, file);
    field(items, kMember);
    const InventoryItems* held = slab.result != nullptr && slab.result->rating.inventory
                                     ? &*slab.result->rating.inventory
                                     : nullptr;
    if (held == nullptr) {
        items += ',';
        items += kNotRatedMethod;
        items += ",,,,,,,,\r\n";
        return;
    }
    field(items, held->ratingDate);
    field(items, held->method);
    field(items, held->inventoryRatingFactor);
    field(items, held->operatingRatingFactor);
    field(items, held->controllingLegalFactor);
    field(items, std::to_string(held->item63));
    field(items, held->item64);
    field(items, std::to_string(held->item65));
    field(items, held->item66);
    appendCsvField(items, std::to_string(held->item70));
    items += "\r\n";
    for (const LegalLoadItems& row : held->legalLoads) {
        field(legalLoads, structure);
        field(legalLoads, file);
        field(legalLoads, row.configuration);
        field(legalLoads, row.ratingFactor);
        field(legalLoads, row.postingType);
        appendCsvField(legalLoads, row.postingValue);
        legalLoads += "\r\n";
    }
}

}  // namespace slabrating
