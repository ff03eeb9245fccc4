#pragma once
// The summary of a batch: one row per input file, in the order given, for an agency to
// sort and filter its inventory's ratings.

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

/// A batch summary being built, row by row.
class BatchSummary {
public:
    explicit BatchSummary(SummaryFormat format);

    /// Adds the row of one input file.
    void add(const RatedSlab& slab);
    /// The summary file's bytes so far (UTF-8).
    const std::string& bytes() const { return m_bytes; }

private:
    void addCsvRow(const RatedSlab& slab);

    SummaryFormat m_format;
    std::string m_bytes;
};

}  // namespace slabrating
