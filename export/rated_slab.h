#pragma once
// One slab as the views (JSON result, batch summary, calculation sheet) see it.

#include <array>
#include <string>
#include <string_view>

#include "engine/fields.h"
#include "engine/rating_run.h"

namespace slabrating {

/// How the work on one slab ended: the rating run's outcomes, and the ways a file of a
/// batch can stop before or after its run.
enum class SlabOutcome {
    Complete,         ///< the whole report was written
    NotNumeric,       ///< a numeric field failed its test; no report
    RangeFailure,     ///< a range check failed; the report holds the header
    ArithmeticFault,  ///< overflow, division by zero or an invalid operation; partial report
    FileNotFound,     ///< the input file is not there ("File not found.")
    Unreadable,       ///< the input file could not be read: refused, empty, a read error
    InvalidInput,     ///< the input file's first line is empty ("Invalid input.")
    SameName,         ///< another input file of the batch has the same name
    NotSaved,         ///< the run completed but its report file could not be written
};

/// Every outcome, in the order above.
inline constexpr std::array<SlabOutcome, 9> kSlabOutcomes{
    SlabOutcome::Complete,        SlabOutcome::NotNumeric,   SlabOutcome::RangeFailure,
    SlabOutcome::ArithmeticFault, SlabOutcome::FileNotFound, SlabOutcome::Unreadable,
    SlabOutcome::InvalidInput,    SlabOutcome::SameName,     SlabOutcome::NotSaved,
};

/// The outcome as the JSON result and the summary name it: "complete", "not numeric", ...
std::string_view outcomeName(SlabOutcome outcome);

/// The outcome of a rating run.
SlabOutcome slabOutcome(RunOutcome outcome);

/// One slab: the input file and the field texts it was rated from, how it ended, and the
/// rating run's result when the run took place.
struct RatedSlab {
    std::string file;   ///< the input file as named; empty for none
    SlabFields fields;  ///< the field texts the run was given (Latin-1)
    SlabOutcome outcome = SlabOutcome::Complete;
    std::string message;                   ///< the message of a stopped slab (Latin-1)
    const RatingResult* result = nullptr;  ///< the run's result; null when there was no run
};

}  // namespace slabrating
