#pragma once
// The parts of the command-line tool, one file each: the options (options.cpp), the single
// run (single_run.cpp), the batch's inputs (inputs.cpp) and the batch run (batch_run.cpp).

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli.h"
#include "cli/inputs.h"
#include "engine/findings.h"

namespace slabrating::cli {

/// Rates one slab (or saves its fields) as `options` say.
int runOne(const Options& options, std::istream& in, std::ostream& out, std::ostream& err);

/// Rates every input of a batch into `options.outDir`.
int runBatch(const Options& options, const BatchInputs& inputs, std::ostream& out,
             std::ostream& err, const Terminal& terminal);

/// A run's review findings as standard error shows them, one line each: "warning: <sentence>"
/// or "note: <sentence>".
std::string findingLines(const std::vector<Finding>& findings);

/// The line that ends a batch: "N of M files rated, K failed, F with review findings".
std::string batchEndLine(std::size_t rated, std::size_t total, std::size_t failed,
                         std::size_t withFindings);

/// Says the usage error `error` on `err`; the exit status of a usage error (2).
int usageFailure(std::ostream& err, const std::string& error);

/// `status`, or 1 when standard output could not be written (with a message).
int finish(std::ostream& out, std::ostream& err, int status);

}  // namespace slabrating::cli
