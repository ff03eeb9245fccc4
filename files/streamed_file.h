#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "files/file_writer.h"

namespace slabrating {

/// A file the user named (a batch's summary), written piece by piece as the batch goes, so
/// that its bytes need not be held until the end. The pieces go into an unnamed file in the
/// target's folder, which takes the target's place, as writeFileReplacing(FileTarget::
/// UserNamed) would, only at finish(): until then, and for good when finish() is never
/// reached, the old file stays as it is and nothing of ours has a name. Where the file
/// system makes no unnamed file (network and FUSE file systems), they go into a temporary
/// file of this run beside the target instead, removed when finish() is never reached (and
/// by the stop-signal handler). Only where the target is a device or FIFO, or its folder
/// lets us create no file, are the pieces held in memory and written at the end.
class StreamedFile {
public:
    /// Says whether a file reached at the end is one that must not be replaced.
    using Refuse = std::function<bool(FileIdentity)>;

    /// Makes the file the pieces go into; a failure shows in status().
    explicit StreamedFile(std::string path);
    StreamedFile(const StreamedFile&) = delete;
    StreamedFile& operator=(const StreamedFile&) = delete;
    ~StreamedFile();

    /// Adds bytes at the end; a failure shows in finish().
    void append(std::string_view bytes);
    /// Gives the file its name; the first failure since the start when there was one. A
    /// target that `refuse` names (one of a batch's own reports) is left alone (Protected).
    WriteResult finish(const Refuse& refuse = {});
    /// The first failure so far: the file cannot be made, its folder is missing, ...
    WriteResult status() const;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

}  // namespace slabrating
