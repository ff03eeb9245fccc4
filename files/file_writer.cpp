#include "files/file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "files/stop_signals.h"
#include "files/system_calls.h"

namespace slabrating {

namespace {

using files::failure;
using files::FileDescriptor;
using files::refusal;

// Writes a plain file in place: open, empty, write. Used where the folder does not let us
// create a file but the file itself may be written; links are not followed.
WriteResult writeInPlace(const std::string& path, std::string_view bytes) {
    FileDescriptor file(::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!file) {
        return failure(WriteStep::Create);
    }
    struct stat status;
    if (::fstat(file.get(), &status) != 0) {
        return failure(WriteStep::Status);
    }
    if (!S_ISREG(status.st_mode)) {
        return refusal(WriteStep::NotPlainFile);
    }
    if (!files::permitsWriting(status, AT_FDCWD, path.c_str())) {
        return refusal(WriteStep::ReadOnly);
    }
    const files::StopSignalsHeld held;
    if (!files::overwriteInPlace(file.get(), bytes, status.st_size)) {
        return failure(WriteStep::Write);
    }
    return file.close() ? WriteResult{} : failure(WriteStep::Close);
}

// Writes into an existing device or FIFO, as any program writing to it does.
WriteResult writeIntoSpecialFile(const std::string& path, std::string_view bytes) {
    FileDescriptor file(::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
    if (!file) {
        return failure(WriteStep::Create);
    }
    if (!files::writeAll(file.get(), bytes)) {
        return failure(WriteStep::Write);
    }
    return file.close() ? WriteResult{} : failure(WriteStep::Close);
}

// A step's result, or the sign to go on another way.
struct Attempt {
    enum Next { Finished, WriteInPlace, UseNamedTemporary } next = Finished;
    WriteResult result;
};

Attempt finished(WriteResult result) {
    return {Attempt::Finished, result};
}

// The new content in an unnamed file that takes the target's name in one step.
Attempt replaceThroughUnnamedFile(int folder, const std::string& name, const struct stat* old,
                                  std::string_view bytes, bool sync) {
    FileDescriptor file(::openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC,
                                 old != nullptr ? old->st_mode & 0777 : 0666));
    if (!file) {
        const WriteResult failed = failure(WriteStep::Create);
        return {files::deniedHere(errno) ? Attempt::WriteInPlace : Attempt::UseNamedTemporary,
                failed};
    }
    if (old != nullptr) {
        struct stat now;
        if (::fstat(file.get(), &now) != 0 || !files::adoptOwnerAndMode(file.get(), now, *old)) {
            return finished(failure(WriteStep::Attributes));
        }
    }
    if (!files::writeAll(file.get(), bytes)) {
        return finished(failure(WriteStep::Write));  // the unnamed file goes with its descriptor
    }
    if (sync && ::fsync(file.get()) != 0) {
        return finished(failure(WriteStep::Sync));
    }
    if (old == nullptr) {
        if (files::linkUnnamed(file.get(), folder, name.c_str())) {
            return finished(file.close() ? WriteResult{} : failure(WriteStep::Close));
        }
        if (errno != EEXIST) {
            return {Attempt::UseNamedTemporary, failure(WriteStep::Rename)};
        }
        // Somebody made a file of that name meanwhile: replace it as any other.
    }
    const std::string temporary = files::temporaryName();
    files::lockTemporary(file.get());
    if (!files::linkUnnamed(file.get(), folder, temporary.c_str())) {
        return {Attempt::UseNamedTemporary, failure(WriteStep::Rename)};
    }
    if (::renameat(folder, temporary.c_str(), folder, name.c_str()) != 0) {
        const WriteResult failed = failure(WriteStep::Rename);
        ::unlinkat(folder, temporary.c_str(), 0);
        return {files::deniedHere(failed.error) ? Attempt::WriteInPlace : Attempt::Finished,
                failed};
    }
    return finished(file.close() ? WriteResult{} : failure(WriteStep::Close));
}

// The same through a temporary file with a short name of ours, for file systems that
// have no unnamed files.
Attempt replaceThroughNamedTemporary(int folder, const std::string& name, const struct stat* old,
                                     std::string_view bytes, bool sync) {
    const std::string temporary = files::temporaryName();
    FileDescriptor file(::openat(folder, temporary.c_str(),
                                 O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                                 old != nullptr ? old->st_mode & 0777 : 0666));
    if (!file) {
        const WriteResult failed = failure(WriteStep::Create);
        return {files::deniedHere(errno) ? Attempt::WriteInPlace : Attempt::Finished, failed};
    }
    files::lockTemporary(file.get());
    WriteResult result;
    struct stat now;
    if (old != nullptr &&
        (::fstat(file.get(), &now) != 0 || !files::adoptOwnerAndMode(file.get(), now, *old))) {
        result = failure(WriteStep::Attributes);
    } else if (!files::writeAll(file.get(), bytes)) {
        result = failure(WriteStep::Write);
    } else if (sync && ::fsync(file.get()) != 0) {
        result = failure(WriteStep::Sync);
    }
    if (!file.close() && result) {
        result = failure(WriteStep::Close);
    }
    if (result && ::renameat(folder, temporary.c_str(), folder, name.c_str()) != 0) {
        result = failure(WriteStep::Rename);
    }
    if (!result) {
        ::unlinkat(folder, temporary.c_str(), 0);
        const bool denied = result.step == WriteStep::Rename && files::deniedHere(result.error);
        return {denied ? Attempt::WriteInPlace : Attempt::Finished, result};
    }
    return finished(result);
}

// Replaces (or creates) the plain file `path`; `old` is its status when it exists.
WriteResult replacePlainFile(const std::string& path, const struct stat* old,
                             std::string_view bytes, bool sync) {
    const std::string name = files::nameOf(path);
    if (!files::isFileName(name)) {
        return refusal(WriteStep::Name);
    }
    const std::string folderName = files::folderOf(path);
    FileDescriptor folder(::open(folderName.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder) {
        return failure(WriteStep::Folder);
    }
    files::removeLeftovers(folder.get(), folderName);

    const files::StopSignalsHeld held;
    Attempt attempt = replaceThroughUnnamedFile(folder.get(), name, old, bytes, sync);
    if (attempt.next == Attempt::UseNamedTemporary) {
        attempt = replaceThroughNamedTemporary(folder.get(), name, old, bytes, sync);
    }
    if (attempt.result.step == WriteStep::Rename && attempt.result.error == EPERM &&
        old != nullptr && files::keptByItsFlags(folder.get(), name.c_str())) {
        return refusal(WriteStep::ReadOnly);
    }
    if (attempt.next == Attempt::WriteInPlace && old != nullptr && S_ISREG(old->st_mode)) {
        return writeInPlace(path, bytes);
    }
    return attempt.result;
}

WriteResult writeUserNamed(const std::string& path, std::string_view bytes) {
    struct stat status;
    if (::stat(path.c_str(), &status) == 0) {
        if (S_ISDIR(status.st_mode)) {
            return refusal(WriteStep::NotPlainFile);
        }
        if (!S_ISREG(status.st_mode)) {
            return writeIntoSpecialFile(path, bytes);
        }
        if (!files::permitsWriting(status, AT_FDCWD, path.c_str())) {
            return refusal(WriteStep::ReadOnly);
        }
        const std::string target = files::followLinks(path);
        struct stat final;
        if (target.empty() || ::lstat(target.c_str(), &final) != 0 ||
            final.st_dev != status.st_dev || final.st_ino != status.st_ino) {
            // Reached through a link that names no path (/proc/self/fd/N of a deleted or
            // unreachable file): the file can only be written where it is.
            return writeInPlace(path, bytes);
        }
        return replacePlainFile(target, &final, bytes, true);
    }
    if (errno != ENOENT) {
        return failure(WriteStep::Status);
    }
    // A new file, or a link to a file still to be made.
    const std::string target = files::followLinks(path);
    if (target.empty()) {
        return failure(WriteStep::Status);
    }
    return replacePlainFile(target, nullptr, bytes, true);
}

WriteResult writeGenerated(const std::string& path, std::string_view bytes) {
    struct stat status;
    if (::lstat(path.c_str(), &status) == 0) {
        if (S_ISLNK(status.st_mode)) {
            return replacePlainFile(path, nullptr, bytes, false);
        }
        if (!S_ISREG(status.st_mode)) {
            return refusal(WriteStep::NotPlainFile);
        }
        if (!files::permitsWriting(status, AT_FDCWD, path.c_str())) {
            return refusal(WriteStep::ReadOnly);
        }
        return replacePlainFile(path, &status, bytes, false);
    }
    if (errno != ENOENT) {
        return failure(WriteStep::Status);
    }
    return replacePlainFile(path, nullptr, bytes, false);
}

}  // namespace

WriteResult writeFileReplacing(const std::string& path, std::string_view bytes, FileTarget target) {
    if (path.empty()) {
        return refusal(WriteStep::Name);
    }
    // A batch writes thousands of reports it can write again, so only a file the user
    // saves waits for the disk before it takes the old file's place.
    return target == FileTarget::UserNamed ? writeUserNamed(path, bytes)
                                           : writeGenerated(path, bytes);
}

SetAside setAsideFile(const std::string& path, std::string_view suffix) {
    const std::string target = files::followLinks(path);
    struct stat status;
    if (target.empty() || ::lstat(target.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return SetAside::Absent;
    }
    const std::string aside = target + std::string(suffix);
    if (::rename(target.c_str(), aside.c_str()) == 0) {
        return SetAside::Renamed;
    }
    return ::unlink(target.c_str()) == 0 ? SetAside::Removed : SetAside::Kept;
}

}  // namespace slabrating
