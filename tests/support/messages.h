#pragma once
// Messages whose texts the engine's and the input file's own suites pin in their tables.
// A suite that only checks that a message is passed on (the command line's) names it
// here, so that each text is pinned in one place.

#include <string>
#include <string_view>

#include "engine/field_table.h"
#include "engine/rating_run.h"
#include "files/write_result.h"
#include "inputfile/inputfile.h"
#include "tests/support/support.h"

namespace slabrating::support {

/// The rating run's message for a field whose text is not numeric ("Bitum").
inline std::string notNumeric(std::string_view field) {
    return std::string(fieldNamed(field)->notNumericMessage);
}

/// The reader's message for a field whose columns are not numeric ("Bitum").
inline std::string readIncorrect(std::string_view field) {
    return std::string(fieldNamed(field)->readMessage);
}

/// The reader's warning for a load type other than 1 or 2 (the input-file suite's table).
inline const std::string kLoadTypeWarning = "Warning: Load type invalid, please correct.";

/// A range check's message as a stopped run ends it (the engine suite's table).
inline const std::string kSpanOver24 = " Error: Span length greater than 24.  Please reenter data.";
inline const std::string kSpanUnder2 = " Error: Span length less than 2.  Please reenter data.";

/// The writer's message for the worked example with `field` set to `text`, which does not
/// fit the field's columns.
inline std::string doesNotFit(std::string SlabFields::*field, std::string text) {
    SlabFields fields = exampleFields();
    fields.*field = std::move(text);
    return encodeInputRecord(fields).message;
}

/// The reader's and the writer's own messages, and the run's on an arithmetic fault.
inline const std::string kFileNotFound(kFileNotFoundMessage);
inline const std::string kInvalidInput(kInvalidInputMessage);
inline const std::string kSaveFailed(kSaveFailedMessage);
inline const std::string kArithmeticFault(kArithmeticFaultMessage);

}  // namespace slabrating::support
