#pragma once

#include <sys/types.h>

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "files/file_writer.h"

namespace slabrating {

/// What removing an earlier generated file did.
enum class RemoveResult {
    Absent,   ///< there was no file of that name
    Removed,  ///< the file (or the link of that name) is gone
    Kept,     ///< a file is there that no write may replace either (read-only, an input, a
              ///< file of this run, not a plain file), or the removal failed
};

/// The folder a batch writes its generated files into (reports, sheets), kept open for the
/// whole batch so that each file costs what it must: one status call of the target, relative
/// to the folder, an unnamed file, its bytes and its name. Every file is written as
/// writeFileReplacing writes a FileTarget::Generated name: whole or untouched, a link of
/// that name replaced and not followed, a read-only file or one that is not a plain file
/// left alone, owner and mode kept, a file this writer made never replaced. Subfolders of a
/// relative name are made when missing, and a link standing in for one is never followed. The stop
/// signals (INT, TERM, HUP, QUIT) are caught once for the whole batch, so that a stopped batch
/// leaves no temporary file behind; a replacing write killed outright (SIGKILL, a power cut) may
/// leave one, which the next write into that folder removes.
class GeneratedFolder {
public:
    using FileIdentity = slabrating::FileIdentity;

    /// Opens the folder `path` names (following links, as a name the user chose), making
    /// it and its parents when missing. A folder that cannot be opened fails every write.
    explicit GeneratedFolder(const std::string& path);
    GeneratedFolder(const GeneratedFolder&) = delete;
    GeneratedFolder& operator=(const GeneratedFolder&) = delete;
    ~GeneratedFolder();

    /// Files that no write may replace (a batch's input files), sorted: a write whose
    /// target is one of them fails with WriteStep::Protected.
    void protect(std::vector<FileIdentity> sortedIdentities);

    /// Writes `bytes` as the file `relative` ("x.qro", "sub/x.qro") of the folder. A name
    /// that reaches a file this writer made already (a different name the file system takes
    /// for the same, as where case does not count) fails with WriteStep::WrittenThisRun.
    WriteResult write(std::string_view relative, std::string_view bytes);

    /// Removes the file `relative` left by an earlier run, where a write could replace it:
    /// a stale report of an input that now fails. Subfolders are not made for it.
    RemoveResult remove(std::string_view relative);

    /// True when the file of this identity is one this writer made.
    bool wrote(FileIdentity identity) const;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

}  // namespace slabrating
