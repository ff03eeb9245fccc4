#include "export/rated_slab.h"

namespace slabrating {

std::string_view outcomeName(SlabOutcome outcome) {
    switch (outcome) {
        case SlabOutcome::Complete:
            return "complete";
        case SlabOutcome::NotNumeric:
            return "not numeric";
        case SlabOutcome::RangeFailure:
            return "range failure";
        case SlabOutcome::ArithmeticFault:
            return "arithmetic fault";
        case SlabOutcome::FileNotFound:
            return "file not found";
        case SlabOutcome::Unreadable:
            return "not read";
        case SlabOutcome::InvalidInput:
            return "invalid input";
        case SlabOutcome::SameName:
            return "same name";
        case SlabOutcome::NotSaved:
            return "not saved";
    }
    return "complete";
}

SlabOutcome slabOutcome(RunOutcome outcome) {
    switch (outcome) {
        case RunOutcome::Complete:
            return SlabOutcome::Complete;
        case RunOutcome::NotNumeric:
            return SlabOutcome::NotNumeric;
        case RunOutcome::RangeFailure:
            return SlabOutcome::RangeFailure;
        case RunOutcome::ArithmeticFault:
            return SlabOutcome::ArithmeticFault;
    }
    return SlabOutcome::Complete;
}

}  // namespace slabrating
