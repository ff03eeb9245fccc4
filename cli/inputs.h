#pragma once
// The input files of a batch: the paths on the command line, those of the lists of --from
// and --from0, and the .qri files found in the folders among them.

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli.h"
#include "files/folder_writer.h"

namespace slabrating::cli {

/// What collecting the inputs found out about one of them before it is opened.
enum class InputKind : std::uint8_t {
    File,              ///< a plain file, or a name to try (a file that is not there fails then)
    Unreachable,       ///< its status could not be taken (`error`: a dangling link, EACCES, ...)
    NotPlainFile,      ///< a FIFO, socket or device: refused without being opened
    UnreadableFolder,  ///< a folder found on the way that could not be read (`error`)
};

/// One input file of a batch.
struct BatchInput {
    std::string file;                ///< the path as named, listed or found in a folder
    std::uint32_t reportStart = 0;   ///< where in `file` the name of its report starts
    std::uint32_t reportLength = 0;  ///< the length of that name, without the extension
    InputKind kind = InputKind::File;
    int error = 0;  ///< errno of the failed look at it (Unreachable, UnreadableFolder)

    /// The name of its report and sheet under DIR without extension: "x", or "sub/x" for
    /// a file found in a folder's subfolder.
    std::string_view reportName() const {
        return std::string_view(file).substr(reportStart, reportLength);
    }
};

/// The inputs in order, and the identities of the input files a report could take the
/// place of (sorted).
struct BatchInputs {
    std::vector<BatchInput> inputs;
    std::vector<GeneratedFolder::FileIdentity> identities;
};

/// The inputs of a batch, or the usage error that stops it. The paths on the command line
/// come first, a folder giving its .qri files in byte order of their paths, then those of
/// --from, then those of --from0. An empty line of a list is skipped with a note on `err`.
struct CollectedInputs {
    BatchInputs batch;
    std::string error;  ///< the usage error; empty when `batch` holds the inputs
};
CollectedInputs collectInputs(const Options& options, std::istream& in, std::ostream& err);

/// True when `path` names a folder (following links).
bool isFolder(const std::string& path);

}  // namespace slabrating::cli
