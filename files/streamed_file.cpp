#include "files/streamed_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

#include "files/file_writer.h"
#include "files/stop_signals.h"
#include "files/system_calls.h"

namespace slabrating {

namespace {

using files::failure;
using files::FileDescriptor;
using files::refusal;

// Bytes gathered before they go to the file in one write.
constexpr std::size_t kChunk = 256 * 1024;

// Where a user-named path leads: the plain file at the end of its links (existing or to be
// made), or why it leads nowhere we can stream into.
struct Resolved {
    WriteResult status;
    bool inMemory = false;  // a device, a FIFO, a link naming no path: written at the end
    std::string target;
    std::optional<struct stat> old;
};

Resolved resolve(const std::string& path) {
    Resolved r;
    struct stat status;
    if (::stat(path.c_str(), &status) == 0) {
        if (S_ISDIR(status.st_mode)) {
            r.status = refusal(WriteStep::NotPlainFile);
        } else if (!S_ISREG(status.st_mode)) {
            r.inMemory = true;
        } else if (!files::permitsWriting(status, AT_FDCWD, path.c_str())) {
            r.status = refusal(WriteStep::ReadOnly);
        } else {
            r.target = files::followLinks(path);
            struct stat final;
            if (r.target.empty() || ::lstat(r.target.c_str(), &final) != 0 ||
                final.st_dev != status.st_dev || final.st_ino != status.st_ino) {
                r.inMemory = true;
            } else {
                r.old = final;
            }
        }
        return r;
    }
    if (errno != ENOENT) {
        r.status = failure(WriteStep::Status);
        return r;
    }
    r.target = files::followLinks(path);
    if (r.target.empty()) {
        r.status = failure(WriteStep::Status);
    } else if (!files::isFileName(files::nameOf(r.target))) {
        r.status = refusal(WriteStep::Name);
    }
    return r;
}

}  // namespace

struct StreamedFile::State {
    std::string path;
    WriteResult status;  // the first failure, when there was one
    Resolved start;
    FileDescriptor folder;
    // The file the bytes go into: unnamed, or where the file system makes no unnamed
    // file, `temporary` in the target's folder; none when the bytes are held in memory.
    FileDescriptor file;
    std::string temporary;
    std::string buffer;

    ~State() { dropTemporary(); }

    void dropTemporary() {
        if (!temporary.empty()) {
            ::unlinkat(folder.get(), temporary.c_str(), 0);
            files::StopSignalsCaught::done(files::PendingSlot::Streamed);
            temporary.clear();
        }
    }

    // The file the bytes go into, made in the target's folder.
    void open() {
        const mode_t mode = start.old ? start.old->st_mode & 0777 : 0666;
        file.reset(::openat(folder.get(), ".", O_TMPFILE | O_RDWR | O_CLOEXEC, mode));
        if (file) {
            return;
        }
        if (files::deniedHere(errno)) {
            // A folder we may not write: the old file, where we may write it, is written in
            // place at the end, its bytes held in memory until then; a new one cannot be made.
            if (!start.old) {
                status = failure(WriteStep::Create);
            }
            return;
        }
        const std::string name = files::temporaryName();
        const files::StopSignalsHeld held;
        files::StopSignalsCaught::pending(files::PendingSlot::Streamed, folder.get(), name);
        file.reset(::openat(folder.get(), name.c_str(),
                            O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
        if (!file) {
            status = failure(WriteStep::Create);
            files::StopSignalsCaught::done(files::PendingSlot::Streamed);
            return;
        }
        files::lockTemporary(file.get());
        temporary = name;
    }

    void flush() {
        if (status && file && !files::writeAll(file.get(), buffer)) {
            status = failure(WriteStep::Write);
        }
        buffer.clear();
    }

    // The bytes written so far, read back for a target that changed under us.
    std::optional<std::string> readBack() {
        std::string bytes;
        char chunk[65536];
        for (off_t at = 0;;) {
            const ssize_t got = ::pread(file.get(), chunk, sizeof chunk, at);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                return std::nullopt;
            }
            if (got == 0) {
                return bytes;
            }
            bytes.append(chunk, static_cast<std::size_t>(got));
            at += got;
        }
    }

    // The bytes, read back, written by the single-file writer instead.
    WriteResult writeElsewise() {
        const std::optional<std::string> bytes = readBack();
        dropTemporary();
        return bytes ? writeFileReplacing(path, *bytes, FileTarget::UserNamed)
                     : failure(WriteStep::Write);
    }

    WriteResult finish(const StreamedFile::Refuse& refuse);

    // Gives the finished file the target's name.
    WriteResult place(const StreamedFile::Refuse& refuse) {
        const Resolved now = resolve(path);
        if (!now.status) {
            return now.status;
        }
        if (now.old && refuse && refuse({now.old->st_dev, now.old->st_ino})) {
            return refusal(WriteStep::Protected);
        }
        const bool sameTarget =
            !now.inMemory && now.target == start.target && (!now.old || S_ISREG(now.old->st_mode));
        if (!sameTarget) {
            return writeElsewise();
        }
        if (now.old) {
            struct stat mine;
            if (::fstat(file.get(), &mine) != 0 ||
                !files::adoptOwnerAndMode(file.get(), mine, *now.old)) {
                return failure(WriteStep::Attributes);
            }
        }
        const std::string name = files::nameOf(start.target);
        const files::StopSignalsHeld held;
        std::string named = temporary;
        if (named.empty()) {
            if (!now.old && files::linkUnnamed(file.get(), folder.get(), name.c_str())) {
                return WriteResult{};
            }
            if (!now.old && errno != EEXIST) {
                return failure(WriteStep::Rename);
            }
            named = files::temporaryName();
            files::lockTemporary(file.get());
            if (!files::linkUnnamed(file.get(), folder.get(), named.c_str())) {
                return failure(WriteStep::Rename);
            }
            temporary = named;
            files::StopSignalsCaught::pending(files::PendingSlot::Streamed, folder.get(), named);
        }
        if (::renameat(folder.get(), named.c_str(), folder.get(), name.c_str()) != 0) {
            const WriteResult renameFailed = failure(WriteStep::Rename);
            if (!files::deniedHere(renameFailed.error)) {
                dropTemporary();
                return renameFailed;
            }
            // A folder that lets us create no name: the file is written where it is.
            return writeElsewise();
        }
        temporary.clear();
        files::StopSignalsCaught::done(files::PendingSlot::Streamed);
        return WriteResult{};
    }
};

WriteResult StreamedFile::State::finish(const Refuse& refuse) {
    if (!status) {
        return status;
    }
    if (!file) {
        const WriteResult written = writeFileReplacing(path, buffer, FileTarget::UserNamed);
        buffer.clear();
        return written;
    }
    flush();
    if (!status) {
        return status;
    }
    if (::fsync(file.get()) != 0) {
        return failure(WriteStep::Sync);
    }
    const WriteResult placed = place(refuse);
    if (!file.close() && placed) {
        return failure(WriteStep::Close);
    }
    return placed;
}

StreamedFile::StreamedFile(std::string path) : m_state(std::make_unique<State>()) {
    State& s = *m_state;
    s.path = std::move(path);
    if (s.path.empty()) {
        s.status = refusal(WriteStep::Name);
        return;
    }
    s.start = resolve(s.path);
    if (!s.start.status) {
        s.status = s.start.status;
        return;
    }
    if (s.start.inMemory) {
        return;
    }
    const std::string folderName = files::folderOf(s.start.target);
    s.folder.reset(::open(folderName.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!s.folder) {
        s.status = failure(WriteStep::Folder);
        return;
    }
    files::removeLeftovers(s.folder.get(), folderName);
    s.open();
}

StreamedFile::~StreamedFile() = default;

WriteResult StreamedFile::status() const {
    return m_state->status;
}

void StreamedFile::append(std::string_view bytes) {
    State& s = *m_state;
    if (!s.status) {
        return;
    }
    s.buffer += bytes;
    if (s.file && s.buffer.size() >= kChunk) {
        s.flush();
    }
}

WriteResult StreamedFile::finish(const Refuse& refuse) {
    State& s = *m_state;
    const WriteResult result = s.finish(refuse);
    if (!result) {
        s.dropTemporary();  // a failed finish leaves the old file, and nothing of ours
    }
    return result;
}

}  // namespace slabrating
