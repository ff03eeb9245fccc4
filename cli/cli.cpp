#include "cli/cli.h"

#include <istream>
#include <ostream>

#include "cli/inputs.h"
#include "cli/locale_text.h"
#include "cli/parts.h"
#include "cli/posting_policy.h"
#include "engine/version.h"

namespace slabrating::cli {

int usageFailure(std::ostream& err, const std::string& error) {
    // One line, then where the usage is, as GNU tools do.
    err << "slabrating-cli: " << error << "\nTry 'slabrating-cli --help'.\n";
    return 2;
}

int finish(std::ostream& out, std::ostream& err, int status) {
    out.flush();
    if (!out) {
        err << "Error: the output could not be written.\n";
        return 1;
    }
    return status;
}

int run(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
        std::ostream& err, const Terminal& terminal) {
    const ParseResult parsed = parseArgs(args);
    if (!parsed.options) {
        return usageFailure(err, parsed.error);
    }
    Options options = *parsed.options;
    if (options.help) {
        out << usage();
        return finish(out, err, 0);
    }
    if (options.version) {
        out << "slabrating-cli " << kVersionNumber << '\n';
        return finish(out, err, 0);
    }
    // The policy is read before anything is rated: a bad one stops the tool as a usage error.
    if (options.postingPolicy) {
        PolicyRead read = readPostingPolicy(*options.postingPolicy);
        if (!read.policy) {
            return usageFailure(err, "--posting-policy " + read.error);
        }
        options.runSettings.policy = std::move(*read.policy);
    }
    options.runSettings.ratingDate = options.ratingDate ? *options.ratingDate : todayCompactDate();
    if (options.outDir) {
        const CollectedInputs inputs = collectInputs(options, in, err);
        if (!inputs.error.empty()) {
            return usageFailure(err, inputs.error);
        }
        return runBatch(options, inputs.batch, out, err, terminal);
    }
    if (!options.files.empty() && options.files.front() != "-" && isFolder(options.files.front())) {
        return usageFailure(err, quotedName(options.files.front()) +
                                     " is a folder: rating its .qri files needs --out DIR");
    }
    return runOne(options, in, out, err);
}

}  // namespace slabrating::cli
