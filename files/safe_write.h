#pragma once

#include <string>
#include <string_view>

namespace slabrating {

/// Where the name of a file to write comes from, which decides how an existing target
/// that is not a plain file is treated.
enum class FileTarget {
    /// A name the user chose (a save dialog, --save-input): a link is followed to the file
    /// it names, as editors do, and a device or FIFO is written in place.
    UserNamed,
    /// A name the program made up in a folder the user chose (a batch's DIR/<name>.qro):
    /// only a plain file of that name is replaced; a link of that name is replaced by the
    /// new file, never followed; a device, FIFO, socket or folder is left alone (a failure).
    Generated,
};

/// Writes `bytes` as the file `path`. A plain file ends up either as it was or holding
/// exactly `bytes`, never half-written: the bytes go into an unnamed file beside it that
/// takes the old file's place in one step, with the old file's permission bits (set before
/// the first byte is written) and its owner and group where the process may set them.
/// A folder that does not let us create a file there, holding a file that we may write,
/// gets that file written in place. Nothing of ours is left behind, not even when the
/// process is stopped by a signal. False when the file could not be written.
bool writeFileReplacing(const std::string& path, std::string_view bytes,
                        FileTarget target = FileTarget::UserNamed);

}  // namespace slabrating
