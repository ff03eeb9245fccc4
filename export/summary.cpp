#include "export/summary.h"

#include "engine/format.h"
#include "export/json_result.h"
#include "export/text.h"

namespace slabrating {

namespace {

// The columns of the CSV summary, in order. The rating columns are those of the governing
// rating: at each level the section that rates lowest, named in its own column. The three
// legal trucks of a series share one rating factor (the HS20 operating one scaled by the
// series' wheel load), so it has one column beside the trucks' tons.
constexpr std::string_view kCsvHeader =
    "file,structure_number,highway,batch_id,rater,method,status,"
    "inventory_section,operating_section,"
    "hs20_inventory_rf,hs20_operating_rf,hs20_inventory_tons,hs20_operating_tons,"
    "legal_series,legal_rf,truck_3_tons,truck_3s2_tons,truck_3_2_tons,controlling_truck,"
    "review_for_posting,rating_date,posting_policy,"
    "truck_3_operating_rf,truck_3s2_operating_rf,truck_3_2_operating_rf,ev2_operating_rf,"
    "ev3_operating_rf,posting_action,posting_sign,posting_value_tons,"
    "findings,outcome,message,write_error\r\n";

// Decimals of the summary's figures: rating factors to three, tons as the report shows them.
constexpr int kFactorDecimals = 3;
constexpr int kTonsDecimals = 2;

// A descriptive text as the summary shows it: without the blanks that pad it in its
// columns, in UTF-8.
std::string trimmedText(std::string_view latin1) {
    const std::size_t first = latin1.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = latin1.find_last_not_of(' ');
    return latin1ToUtf8(latin1.substr(first, last - first + 1));
}

// A field of the row and the comma that ends it.
void appendField(std::string& row, std::string_view utf8) {
    appendCsvField(row, utf8);
    row += ',';
}

// The file and the slab's descriptive texts.
void appendSlabFields(std::string& row, const RatedSlab& slab) {
    appendField(row, fileNameToUtf8(slab.file));
    appendField(row, trimmedText(slab.fields.StructNo));
    appendField(row, trimmedText(slab.fields.Hwy));
    appendField(row, trimmedText(slab.fields.BatchID));
    appendField(row, trimmedText(slab.fields.Rater));
}

// The governing HS20 rating: the section that rates lowest at each level, its rating factors
// and its tons.
void appendGoverningFields(std::string& row, const GoverningRating* g) {
    if (g == nullptr) {
        row.append(6, ',');
        return;
    }
    appendField(row, sectionName(g->inventory.section));
    appendField(row, sectionName(g->operating.section));
    appendField(row, formatMask(g->inventory.RatingFactor, kFactorDecimals));
    appendField(row, formatMask(g->operating.RatingFactor, kFactorDecimals));
    appendField(row, formatMask(g->inventory.RatingTons, kTonsDecimals));
    appendField(row, formatMask(g->operating.RatingTons, kTonsDecimals));
}

// The legal series, its rating factor, each truck's tons and the truck that controls.
void appendLegalTruckFields(std::string& row, const GoverningRating* g) {
    if (g == nullptr || !g->legalTrucks) {
        row.append(6, ',');
        return;
    }
    const LegalTruckRatings& legal = *g->legalTrucks;
    appendField(row, seriesInfo(legal.series).name);
    appendField(row, formatMask(legal.trucks[legal.controlling].RatingFactor, kFactorDecimals));
    for (const LegalTruck& truck : legal.trucks) {
        appendField(row, formatMask(truck.RatingTons, kTonsDecimals));
    }
    appendField(row, legal.trucks[legal.controlling].type);
}

// Each code once, in the order of the findings, which is the order of their table.
std::string findingCodes(const RatedSlab& slab) {
    std::string codes;
    if (slab.result == nullptr) {
        return codes;
    }
    std::string_view last;
    for (const Finding& finding : slab.result->findings) {
        if (finding.code != last) {
            codes += codes.empty() ? "" : " ";
            codes += finding.code;
            last = finding.code;
        }
    }
    return codes;
}

// The rating date, the posting policy, each legal vehicle's operating rating factor and the
// posting decision; blank for a run that decided none.
void appendPostingFields(std::string& row, const Rating* rating) {
    const bool decided =
        rating != nullptr && rating->posting && rating->legalLoads && rating->inventory;
    if (!decided) {
        row.append(2 + kLegalVehicleCount + 3, ',');
        return;
    }
    const PostingDecision& d = *rating->posting;
    appendField(row, rating->inventory->ratingDate);
    appendField(row, d.policy.source);
    for (const VehicleRating& v : rating->legalLoads->vehicles) {
        appendField(row, formatMask(v.operatingRatingFactor, kFactorDecimals));
    }
    appendField(row, structureActionName(d.action));
    appendField(row, signTypeName(d.sign));
    appendField(
        row,
        d.sign == SignType::None
            ? std::string()
            : formatMask(d.signValueTons,
                         d.policy.rounding == SignRounding::DownToWholeTon ? 0 : kTonsDecimals));
}

}  // namespace

std::optional<SummaryFormat> summaryFormatOf(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    if (name.size() > 4 && name.ends_with(".csv")) {
        return SummaryFormat::Csv;
    }
    if (name.size() > 6 && name.ends_with(".jsonl")) {
        return SummaryFormat::JsonLines;
    }
    return std::nullopt;
}

std::string_view BatchSummary::header() const {
    return m_format == SummaryFormat::Csv ? kCsvHeader : std::string_view();
}

void BatchSummary::appendRow(std::string& out, const RatedSlab& slab,
                             std::string_view writeError) const {
    if (m_format == SummaryFormat::JsonLines) {
        out += slabJsonText(slab);
        out += '\n';
        return;
    }
    appendCsvRow(out, slab, writeError);
}

void BatchSummary::appendCsvRow(std::string& row, const RatedSlab& slab,
                                std::string_view writeError) const {
    appendSlabFields(row, slab);
    const Rating* rating = slab.result != nullptr ? &slab.result->rating : nullptr;
    appendField(row,
                rating != nullptr && rating->method ? methodInfo(*rating->method).summaryCode : "");
    appendField(row, statusName(rating != nullptr ? rating->status : RatingStatus::Stopped));
    // The rating columns are filled only for a rating that may be signed.
    const GoverningRating* g =
        rating != nullptr && rating->status == RatingStatus::Rated && rating->governing
            ? &*rating->governing
            : nullptr;
    appendGoverningFields(row, g);
    appendLegalTruckFields(row, g);
    appendField(row, g == nullptr ? "" : g->reviewForPosting ? "yes" : "no");
    appendPostingFields(row, rating);
    appendField(row, findingCodes(slab));
    appendField(row, outcomeName(slab.outcome));
    appendField(row, latin1ToUtf8(slab.message));
    appendCsvField(row, writeError);
    row += "\r\n";
}

}  // namespace slabrating
