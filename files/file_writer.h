#pragma once
// The single-file writer: one file replaced whole or left untouched.

#include <string>
#include <string_view>

#include "files/write_result.h"

namespace slabrating {

/// Writes `bytes` as the file `path`. A plain file ends up either as it was or holding
/// exactly `bytes`, never half-written: the bytes go into an unnamed file beside it that
/// takes the old file's place in one step, with the old file's permission bits (set before
/// the first byte is written) and its owner and group where the process may set them.
/// An existing file whose permission bits do not let the user write it is left as it is,
/// for root too (ReadOnly). A folder that does not let us create a file there, holding a
/// file that we may write, gets that file written in place. Nothing of ours is left
/// behind, not even when the process is stopped by a signal.
WriteResult writeFileReplacing(const std::string& path, std::string_view bytes,
                               FileTarget target = FileTarget::UserNamed);

/// What setAsideFile did.
enum class SetAside {
    Absent,   ///< no plain file had the name
    Renamed,  ///< the file now has the name with the suffix
    Removed,  ///< it could not be renamed, so it was removed
    Kept,     ///< it could be neither renamed nor removed
};

/// Moves the plain file that a name the user chose reaches (following links, as a write
/// would) out of the way, to the same name with `suffix` ("s.csv.incomplete"), so that an
/// earlier run's file cannot pass for the one this run did not finish.
SetAside setAsideFile(const std::string& path, std::string_view suffix);

}  // namespace slabrating
