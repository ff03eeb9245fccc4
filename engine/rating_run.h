#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/fields.h"
#include "engine/findings.h"
#include "engine/rating.h"

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

/// Lines of the report that the other views quote, without their CR LF.
/// The banner of a load factor run: compression steel is left out of the capacity.
inline constexpr std::string_view kLoadFactorBannerLine = " LOAD FACTOR RATING-COMP STEEL NOT USED";
/// The banner of a working stress run.
inline constexpr std::string_view kWorkingStressBannerLine = "WORKING STRESS RATING";
/// The warning of a load factor run whose slab is thinner than the old minimum thickness.
inline constexpr std::string_view kThicknessWarningLine =
    " *** Warning: Slab thickness violates old AASHTO 1.5.40(B)***";

/// Everything a rating run hands back to its caller. `outcome` says how the run ended.
struct RatingResult {
    RunOutcome outcome = RunOutcome::Complete;
    std::string message;  ///< message box text when `outcome` is not Complete
    /// `ErrorFlag`: 1 exactly when `outcome` is NotNumeric, derived from it by the run.
    std::int16_t ErrorFlag = 0;
    Rating rating;       ///< every quantity of the run, as far as it got
    std::string report;  ///< `RatingReport` written from `rating`: every line ends in CR LF
    /// Review findings of the run, beside the rating: they change nothing above.
    std::vector<Finding> findings;
};

/// The rating run: validates the fields, rates the strip and builds the report.
/// `date` is the run's date as it appears in the header (the caller takes it once).
/// Pure computation: shows nothing, touches no file and no clock.
RatingResult RunRating(const SlabFields& fields, std::string_view date);

/// What a run decides beside the report.
struct RunSettings {
    PostingPolicy policy;    ///< the agency's posting policy
    std::string ratingDate;  ///< the inventory's rating date, YYYYMMDD; empty for none
};

/// The same, with the posting policy and the rating date of the inventory items.
RatingResult RunRating(const SlabFields& fields, std::string_view date,
                       const RunSettings& settings);

/// The bytes of a saved report file (.qro): the report text and one final CR LF.
std::string savedReportBytes(std::string_view report);

}  // namespace slabrating
