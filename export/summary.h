#pragma once
// The summary of a batch: one row per input file, in the order given, for an agency to
// sort and filter its inventory's ratings. Rows are made one at a time, so that a batch
// can stream them into the summary file as it goes.

#include <optional>
#include <string>
#include <string_view>

#include "export/rated_slab.h"

namespace slabrating {

enum class SummaryFormat {
    Csv,        ///< RFC 4180 CSV with a header row: the values reported to the inventory
    JsonLines,  ///< one JSON result per line, whole
};

/// The format a summary file's name asks for: ".csv" or ".jsonl"; none for another name.
std::optional<SummaryFormat> summaryFormatOf(std::string_view path);

/// The rows of a batch summary (UTF-8).
class BatchSummary {
public:
    explicit BatchSummary(SummaryFormat format) : m_format(format) {}

    /// The bytes before the first row: the CSV header row; nothing for JSON Lines.
    std::string_view header() const;
    /// Appends the row of one input file to `out`. `writeError` is why a file of the slab
    /// could not be written ("read-only", "rename: Permission denied"); the CSV shows it in
    /// its write_error column.
    void appendRow(std::string& out, const RatedSlab& slab, std::string_view writeError = {}) const;

private:
    void appendCsvRow(std::string& row, const RatedSlab& slab, std::string_view writeError) const;

    SummaryFormat m_format;
};

}  // namespace slabrating
