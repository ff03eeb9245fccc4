#pragma once
// The files a batch writes at its end under names the user chose (the summary, and any
// other such file): tried before the first report is written, and set aside when the
// batch is stopped before it could write them.

#include <string>
#include <vector>

#include "cli/inputs.h"

namespace slabrating::cli {

/// A file a batch writes under a name the user chose, with the option that named it.
struct NamedOutput {
    std::string option;  ///< "--summary"
    std::string path;    ///< the name as given
};

/// Why one of `outputs` cannot be written, found before any report is: its folder is
/// missing or lets us make no file (a temporary is made there and dropped), it is a
/// folder or read-only, it is one of the batch's input files (by device and inode, links
/// followed), or it lies under `outDir` with the name of a report or sheet (.qro, .html).
/// Empty when every one of them may be written.
std::string outputProblem(const std::vector<NamedOutput>& outputs, const BatchInputs& batch,
                          const std::string& outDir);

/// Sets the earlier file of `output` aside as NAME.incomplete (or removes it), since this
/// run did not write it; the words that say what became of it, for the batch's message
/// ("the earlier one is now s.csv.incomplete"); empty when there was none.
std::string setAsideEarlier(const NamedOutput& output);

}  // namespace slabrating::cli
