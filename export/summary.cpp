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

// The rating date, the posting policy, each legal vehicle's operating rating factor and the
// posting decision; blank for a run that decided none.
void appendPostingFields(std::string& row, const Rating* rating) {
    const auto field = [&row](std::string_view utf8) {
        appendCsvField(row, utf8);
        row += ',';
    };
    const bool decided =
        rating != nullptr && rating->posting && rating->legalLoads && rating->inventory;
    if (!decided) {
        row.append(2 + kLegalVehicleCount + 3, ',');
        return;
    }
    const PostingDecision& d = *rating->posting;
    field(rating->inventory->ratingDate);
    field(d.policy.source);
    for (const VehicleRating& v : rating->legalLoads->vehicles) {
        field(formatMask(v.operatingRatingFactor, kFactorDecimals));
    }
    field(structureActionName(d.action));
    field(signTypeName(d.sign));
    field(d.sign == SignType::None
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
    const auto field = [&row](std::string_view utf8) {
        appendCsvField(row, utf8);
        row += ',';
    };
    field(fileNameToUtf8(slab.file));
    field(trimmedText(slab.fields.StructNo));
    field(trimmedText(slab.fields.Hwy));
    field(trimmedText(slab.fields.BatchID));
    field(trimmedText(slab.fields.Rater));

    const Rating* rating = slab.result != nullptr ? &slab.result->rating : nullptr;
    field(rating != nullptr && rating->method ? methodInfo(*rating->method).summaryCode : "");
    field(statusName(rating != nullptr ? rating->status : RatingStatus::Stopped));
    // The rating columns are filled only for a rating that may be signed.
    const GoverningRating* g =
        rating != nullptr && rating->status == RatingStatus::Rated && rating->governing
            ? &*rating->governing
            : nullptr;
    if (g != nullptr) {
        field(sectionName(g->inventory.section));
        field(sectionName(g->operating.section));
        field(formatMask(g->inventory.RatingFactor, kFactorDecimals));
        field(formatMask(g->operating.RatingFactor, kFactorDecimals));
        field(formatMask(g->inventory.RatingTons, kTonsDecimals));
        field(formatMask(g->operating.RatingTons, kTonsDecimals));
    } else {
        row.append(6, ',');
    }

    if (g != nullptr && g->legalTrucks) {
        const LegalTruckRatings& legal = *g->legalTrucks;
        field(seriesInfo(legal.series).name);
        field(formatMask(legal.trucks[legal.controlling].RatingFactor, kFactorDecimals));
        for (const LegalTruck& truck : legal.trucks) {
            field(formatMask(truck.RatingTons, kTonsDecimals));
        }
        field(legal.trucks[legal.controlling].type);
    } else {
        row.append(6, ',');
    }
    field(g == nullptr ? "" : g->reviewForPosting ? "yes" : "no");
    appendPostingFields(row, rating);
    // Each code once, in the order of the findings, which is the order of their table.
    std::string codes;
    if (slab.result != nullptr) {
        std::string_view last;
        for (const Finding& finding : slab.result->findings) {
            if (finding.code != last) {
                codes += codes.empty() ? "" : " ";
                codes += finding.code;
                last = finding.code;
            }
        }
    }
    field(codes);
    field(outcomeName(slab.outcome));
    field(latin1ToUtf8(slab.message));
    appendCsvField(row, writeError);
    row += "\r\n";
}

}  // namespace slabrating
