#include "engine/findings.h"

#include <algorithm>

namespace slabrating {

std::string_view severityName(Severity severity) {
    return severity == Severity::Warning ? "warning" : "note";
}

std::vector<Finding> reviewFindings(const SlabFields& /*fields*/, const Rating& /*rating*/) {
    return {};
}

bool needsPostingReview(const std::vector<Finding>& findings) {
    return std::any_of(findings.begin(), findings.end(), [](const Finding& f) {
        return f.code == "below-legal-weight" || f.code == "dead-load-exceeds-capacity";
    });
}

}  // namespace slabrating
