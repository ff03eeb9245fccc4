#pragma once
// How a write ends: the kind of name written, the step that failed and why.

#include <sys/types.h>

#include <string>
#include <string_view>
#include <utility>

namespace slabrating {

/// The message of a save that could not create, write or rename its file, whoever saves it.
inline constexpr std::string_view kSaveFailedMessage = "Error: The file could not be saved.";

/// The identity of a file on its file system (st_dev, st_ino).
using FileIdentity = std::pair<dev_t, ino_t>;

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

/// The step at which a write failed.
enum class WriteStep {
    None,            ///< nothing failed: the file holds the new bytes
    Name,            ///< the path names no file ("", a folder's name with a final "/", "..")
    Status,          ///< the existing file or the chain of links to it could not be looked at
    NotPlainFile,    ///< a folder (or, for a generated name, a device, FIFO or socket) is there
    ReadOnly,        ///< the existing file's permission bits do not let the user write it
    Protected,       ///< the existing file is one the caller asked to keep (a batch's input)
    WrittenThisRun,  ///< the name reaches a file this writer made already
    Folder,          ///< the folder could not be opened or made
    Create,          ///< the new file could not be made in the folder
    Attributes,      ///< the new file could not be given the old file's owner or mode
    Write,           ///< writing the bytes failed (a full disk, a file-size limit)
    Sync,            ///< the bytes did not reach the disk
    Close,           ///< closing the file reported a delayed write failure
    Rename,          ///< the new file could not take the old one's name
};

/// How a write ended: the failed step and the system's error number, or success.
struct WriteResult {
    WriteStep step = WriteStep::None;
    int error = 0;  ///< errno of the failed call; 0 where the program itself refused

    /// True when the file was written.
    explicit operator bool() const { return step == WriteStep::None; }
    /// Why the write failed, short and in English: "read-only", "rename: Permission
    /// denied", "create: No space left on device"; empty when it did not fail.
    std::string reason() const;
};

}  // namespace slabrating
