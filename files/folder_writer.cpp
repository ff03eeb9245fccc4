#include "files/folder_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <unordered_set>

#include "files/stop_signals.h"
#include "files/system_calls.h"

namespace slabrating {

namespace {

using files::failure;
using files::FileDescriptor;
using files::refusal;

struct IdentityHash {
    std::size_t operator()(const GeneratedFolder::FileIdentity& id) const {
        return std::hash<ino_t>()(id.second) * 31 + std::hash<dev_t>()(id.first);
    }
};

GeneratedFolder::FileIdentity identityOf(const struct stat& status) {
    return {status.st_dev, status.st_ino};
}

}  // namespace

// One folder that files are written into.
struct FolderInfo {
    FileDescriptor fd;
    std::string name;  // for the leftovers' once-per-folder bookkeeping
};

struct GeneratedFolder::State {
    WriteResult openFailure;
    FolderInfo root;
    std::string subKey;  // the relative name of `sub`, the last subfolder written into
    FolderInfo sub;
    std::vector<FileIdentity> protectedFiles;  // sorted
    // The files this folder writer made: a name that reaches one of them again is a name
    // that the file system takes for an earlier one (Bridge.qro and BRIDGE.qro where case
    // does not count).
    std::unordered_set<FileIdentity, IdentityHash> written;
    uid_t user = ::geteuid();
    bool unnamedFiles = true;  // the file system makes O_TMPFILE files
    bool lastExisted = false;  // the last target had a file of its name
    files::StopSignalsCaught caught;

    // Why an existing plain file may not be replaced or removed; none when it may.
    std::optional<WriteResult> keep(int dir, const char* name, const struct stat& status) const {
        const FileIdentity identity = identityOf(status);
        if (std::binary_search(protectedFiles.begin(), protectedFiles.end(), identity)) {
            return refusal(WriteStep::Protected);
        }
        if (written.contains(identity)) {
            return refusal(WriteStep::WrittenThisRun);
        }
        if (!files::permitsWriting(status, dir, name, user)) {
            return refusal(WriteStep::ReadOnly);
        }
        return std::nullopt;
    }

    // Notes the file `fd`, about to take a name, as one this writer made.
    bool note(int fd) {
        struct stat status;
        if (::fstat(fd, &status) != 0) {
            return false;
        }
        written.insert(identityOf(status));
        return true;
    }

    // The folder of `relative`'s files, made when missing (when `make`); a link is never
    // followed.
    std::optional<WriteResult> folderFor(std::string_view dir, FolderInfo*& info, bool make) {
        if (dir.empty()) {
            info = &root;
            return std::nullopt;
        }
        if (dir == subKey && sub.fd) {
            info = &sub;
            return std::nullopt;
        }
        sub.fd.reset(-1);
        subKey.clear();
        FileDescriptor current(::dup(root.fd.get()));
        std::string_view rest = dir;
        while (!rest.empty()) {
            const std::size_t slash = rest.find('/');
            const std::string part(rest.substr(0, slash));
            rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
            if (!files::isFileName(part)) {
                return refusal(WriteStep::Name);
            }
            const int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
            int next = ::openat(current.get(), part.c_str(), flags);
            if (next < 0 && errno == ENOENT && make) {
                if (::mkdirat(current.get(), part.c_str(), 0777) != 0 && errno != EEXIST) {
                    return failure(WriteStep::Folder);
                }
                next = ::openat(current.get(), part.c_str(), flags);
            }
            if (next < 0) {
                return failure(WriteStep::Folder);  // ELOOP or ENOTDIR: a link or a file there
            }
            current.reset(next);
        }
        sub.fd = std::move(current);
        sub.name = root.name + '/' + std::string(dir);
        files::removeLeftovers(sub.fd.get(), sub.name);
        subKey = dir;
        info = &sub;
        return std::nullopt;
    }

    // Writes through a temporary file with a name, caught by the signal handler (or with the
    // signals held) from its first moment to its renaming.
    WriteResult replaceThroughNamedTemporary(const FolderInfo& folder, const char* name,
                                             const struct stat* old, std::string_view bytes) {
        const std::string temporary = files::temporaryName();
        std::optional<files::StopSignalsHeld> held;
        if (caught.active()) {
            files::StopSignalsCaught::pending(files::PendingSlot::Write, folder.fd.get(),
                                              temporary);
        } else {
            held.emplace();
        }
        FileDescriptor file(::openat(folder.fd.get(), temporary.c_str(),
                                     O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                                     old != nullptr ? old->st_mode & 0777 : 0666));
        if (!file) {
            const WriteResult failed = failure(WriteStep::Create);
            files::StopSignalsCaught::done(files::PendingSlot::Write);
            return failed;
        }
        files::lockTemporary(file.get());
        WriteResult result;
        struct stat now;
        if (::fstat(file.get(), &now) != 0) {
            result = failure(WriteStep::Status);
        } else if (old != nullptr && !files::adoptOwnerAndMode(file.get(), now, *old)) {
            result = failure(WriteStep::Attributes);
        } else if (!files::writeAll(file.get(), bytes)) {
            result = failure(WriteStep::Write);
        }
        if (!file.close() && result) {
            result = failure(WriteStep::Close);
        }
        if (result && ::renameat(folder.fd.get(), temporary.c_str(), folder.fd.get(), name) != 0) {
            result = failure(WriteStep::Rename);
        }
        if (!result) {
            ::unlinkat(folder.fd.get(), temporary.c_str(), 0);
        } else {
            written.insert(identityOf(now));
        }
        files::StopSignalsCaught::done(files::PendingSlot::Write);
        return result;
    }

    // Writes a plain file where it is, for a folder that lets us create no file.
    WriteResult writeInPlace(const FolderInfo& folder, const char* name, std::string_view bytes) {
        FileDescriptor file(
            ::openat(folder.fd.get(), name, O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat status;
        if (!file) {
            return failure(WriteStep::Create);
        }
        if (::fstat(file.get(), &status) != 0) {
            return failure(WriteStep::Status);
        }
        if (!S_ISREG(status.st_mode)) {
            return refusal(WriteStep::NotPlainFile);
        }
        const files::StopSignalsHeld held;
        if (!files::overwriteInPlace(file.get(), bytes, status.st_size)) {
            return failure(WriteStep::Write);
        }
        written.insert(identityOf(status));
        return file.close() ? WriteResult{} : failure(WriteStep::Close);
    }

    // A new file, where no file has the name: an unnamed file that takes the name once it
    // is whole, so the name never shows half a report. Nothing is looked at first: linkat
    // never replaces or follows what has the name, and fails with EEXIST instead.
    // Finished: the file was written, or failed for good; else somebody has the name.
    std::optional<WriteResult> writeNew(const FolderInfo& folder, const char* name,
                                        std::string_view bytes) {
        FileDescriptor file(::openat(folder.fd.get(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
        if (!file) {
            if (!files::deniedHere(errno)) {
                unnamedFiles = false;
            }
            return std::nullopt;  // looked at again: written in place, or named first
        }
        if (!files::writeAll(file.get(), bytes)) {
            return failure(WriteStep::Write);  // the unnamed file goes with its descriptor
        }
        struct stat status;
        if (::fstat(file.get(), &status) != 0) {
            return failure(WriteStep::Status);
        }
        if (!files::linkUnnamed(file.get(), folder.fd.get(), name)) {
            if (errno == EEXIST) {
                return std::nullopt;
            }
            return failure(WriteStep::Rename);
        }
        written.insert(identityOf(status));
        return file.close() ? WriteResult{} : failure(WriteStep::Close);
    }

    WriteResult write(const FolderInfo& folder, const char* name, std::string_view bytes) {
        // A batch mostly either fills a fresh folder or replaces the reports of its last
        // run: the last target tells which way to try first.
        if (unnamedFiles && !lastExisted) {
            if (const std::optional<WriteResult> made = writeNew(folder, name, bytes)) {
                return *made;
            }
        }
        const int dir = folder.fd.get();
        struct stat status;
        if (::fstatat(dir, name, &status, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT) {
                return failure(WriteStep::Status);
            }
            lastExisted = false;
            if (unnamedFiles) {
                if (const std::optional<WriteResult> made = writeNew(folder, name, bytes)) {
                    return *made;
                }
                if (unnamedFiles) {
                    return {WriteStep::Create,
                            errno};  // made meanwhile, or a folder we may not write
                }
            }
            return replaceThroughNamedTemporary(folder, name, nullptr, bytes);
        }
        lastExisted = true;
        const struct stat* old = nullptr;
        if (S_ISREG(status.st_mode)) {
            if (const std::optional<WriteResult> kept = keep(dir, name, status)) {
                return *kept;
            }
            old = &status;
        } else if (!S_ISLNK(status.st_mode)) {
            return refusal(WriteStep::NotPlainFile);
        }
        // Replacing: a temporary file of ours, named from its first moment, renamed over the
        // target once whole. One name fewer to make than an unnamed file would need.
        const WriteResult replaced = replaceThroughNamedTemporary(folder, name, old, bytes);
        if (replaced.step == WriteStep::Create && files::deniedHere(replaced.error) &&
            old != nullptr) {
            return writeInPlace(folder, name, bytes);
        }
        if (replaced.step == WriteStep::Rename && replaced.error == EPERM && old != nullptr &&
            files::keptByItsFlags(dir, name)) {
            return refusal(WriteStep::ReadOnly);
        }
        return replaced;
    }
};

GeneratedFolder::GeneratedFolder(const std::string& path) : m_state(std::make_unique<State>()) {
    State& s = *m_state;
    if (path.empty()) {
        s.openFailure = refusal(WriteStep::Name);
        return;
    }
    std::error_code error;
    std::filesystem::create_directories(path, error);
    s.root.fd.reset(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!s.root.fd) {
        s.openFailure = failure(WriteStep::Folder);
        return;
    }
    s.root.name = path;
    files::removeLeftovers(s.root.fd.get(), s.root.name);
}

GeneratedFolder::~GeneratedFolder() = default;

void GeneratedFolder::protect(std::vector<FileIdentity> sortedIdentities) {
    m_state->protectedFiles = std::move(sortedIdentities);
}

WriteResult GeneratedFolder::write(std::string_view relative, std::string_view bytes) {
    State& s = *m_state;
    if (!s.root.fd) {
        return s.openFailure;
    }
    const std::size_t slash = relative.rfind('/');
    const std::string name(slash == std::string_view::npos ? relative : relative.substr(slash + 1));
    if (!files::isFileName(name)) {
        return refusal(WriteStep::Name);
    }
    FolderInfo* folder = nullptr;
    if (const std::optional<WriteResult> failed = s.folderFor(
            slash == std::string_view::npos ? std::string_view() : relative.substr(0, slash),
            folder, true)) {
        return *failed;
    }
    return s.write(*folder, name.c_str(), bytes);
}

RemoveResult GeneratedFolder::remove(std::string_view relative) {
    State& s = *m_state;
    const std::size_t slash = relative.rfind('/');
    const std::string name(slash == std::string_view::npos ? relative : relative.substr(slash + 1));
    FolderInfo* folder = nullptr;
    if (!s.root.fd || !files::isFileName(name) ||
        s.folderFor(
            slash == std::string_view::npos ? std::string_view() : relative.substr(0, slash),
            folder, false)) {
        return RemoveResult::Absent;  // no folder, so no file of that name either
    }
    const int dir = folder->fd.get();
    struct stat status;
    if (::fstatat(dir, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
        return errno == ENOENT ? RemoveResult::Absent : RemoveResult::Kept;
    }
    if (!S_ISLNK(status.st_mode) &&
        (!S_ISREG(status.st_mode) || s.keep(dir, name.c_str(), status))) {
        return RemoveResult::Kept;
    }
    return ::unlinkat(dir, name.c_str(), 0) == 0 ? RemoveResult::Removed : RemoveResult::Kept;
}

bool GeneratedFolder::wrote(FileIdentity identity) const {
    return m_state->written.contains(identity);
}

}  // namespace slabrating
