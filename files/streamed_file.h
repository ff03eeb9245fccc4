#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "files/file_writer.h"

namespace slabrating {

/// A file the user named (a batch's summary), written piece by piece as the batch goes, so
/// that its bytes need not be held until the end. The pieces go into an unnamed file in the
/// target's folder, which takes the target's place, as writeFileReplacing(FileTarget::
/// UserNamed) would, only at finish(): until then, and for good when finish() is never
/// reached, the old file stays as it is and nothing of ours has a name. Where the folder
/// makes no unnamed file, or the target is a device or FIFO, the pieces are held in memory
/// and written by writeFileReplacing at the end.
class StreamedFile {
public:
    explicit StreamedFile(std::string path);
    StreamedFile(const StreamedFile&) = delete;
    StreamedFile& operator=(const StreamedFile&) = delete;
    ~StreamedFile();

    /// Adds bytes at the end; a failure shows in finish().
    void append(std::string_view bytes);
    /// Gives the file its name; the first failure since the start when there was one.
    WriteResult finish();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

}  // namespace slabrating
