#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/fields.h"

namespace slabrating {

/// How a rating run ended.
enum class RunOutcome {
    Complete,         ///< the whole report was written
    NotNumeric,       ///< a numeric field failed its test; nothing was written (ErrorFlag 1)
    RangeFailure,     ///< a range check failed; the report holds the header
    ArithmeticFault,  ///< overflow, division by zero or an invalid operation; partial report
};

/// The message of a run stopped by an arithmetic fault.
inline constexpr std::string_view kArithmeticFaultMessage =
    "Error: arithmetic fault in the rating run; the report stops here.";

/// Everything a rating run hands back to its caller.
struct RatingResult {
    std::string report;          ///< `RatingReport`: every line ends in CR LF
    std::int16_t ErrorFlag = 0;  ///< 1 when the run stopped on a non-numeric field
    RunOutcome outcome = RunOutcome::Complete;
    std::string message;  ///< message box text of a stopped run; empty when complete
};

/// The rating run: validates the fields, rates the strip and builds the report.
/// `date` is the run's date as it appears in the header (the caller takes it once).
/// Pure computation: shows nothing, touches no file and no clock.
RatingResult RunRating(const SlabFields& fields, std::string_view date);

}  // namespace slabrating
