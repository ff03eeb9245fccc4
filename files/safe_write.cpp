#include "files/safe_write.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <utility>

namespace slabrating {

namespace {

// The kernel gives up on a chain of links after 40 of them (ELOOP); so do we.
constexpr int kMaxLinkHops = 40;

// Names of our own temporary files: ".slabrating-<pid>-<count>.tmp". Short and independent
// of the target's name, so that any name the file system accepts can be saved.
constexpr std::string_view kTemporaryPrefix = ".slabrating-";
constexpr std::string_view kTemporarySuffix = ".tmp";
// Earlier versions kept a replaced report as ".slabrating-spare-<pid>.qro".
constexpr std::string_view kSparePrefix = ".slabrating-spare-";
constexpr std::string_view kSpareSuffix = ".qro";

class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    int get() const { return m_fd; }
    explicit operator bool() const { return m_fd >= 0; }
    void reset(int fd) {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        m_fd = fd;
    }
    /// Closes the file; false when the close reported an error (a delayed write failure).
    bool close() {
        const int fd = std::exchange(m_fd, -1);
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int m_fd;
};

// While a file of ours may have a name in the user's folder, the signals that ask a
// program to stop wait until it is gone or has become the target: a batch stopped with
// Ctrl-C or SIGTERM leaves only whole reports. SIGXFSZ waits too, so a file-size limit
// makes the write fail (and the temporary go) instead of killing the process.
class StopSignalsHeld {
public:
    StopSignalsHeld() {
        sigset_t held;
        sigemptyset(&held);
        for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGXFSZ}) {
            sigaddset(&held, signal);
        }
        ::pthread_sigmask(SIG_BLOCK, &held, &m_previous);
    }
    StopSignalsHeld(const StopSignalsHeld&) = delete;
    StopSignalsHeld& operator=(const StopSignalsHeld&) = delete;
    ~StopSignalsHeld() { ::pthread_sigmask(SIG_SETMASK, &m_previous, nullptr); }

private:
    sigset_t m_previous;
};

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The name at the end of a chain of links (the file a save through the link writes);
// the path itself when it is no link. Empty when the chain is too long or unreadable.
std::string followLinks(std::string path) {
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        struct stat status;
        if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
            return path;
        }
        std::string target(256, '\0');
        for (;;) {
            const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
            if (length < 0) {
                return {};
            }
            if (static_cast<std::size_t>(length) < target.size()) {
                target.resize(static_cast<std::size_t>(length));
                break;
            }
            target.resize(target.size() * 2);
        }
        path = target.front() == '/' ? target : folderOf(path) + '/' + target;
    }
    return {};
}

std::string temporaryName() {
    static std::atomic<unsigned long> counter{0};
    std::string name(kTemporaryPrefix);
    name += std::to_string(::getpid());
    name += '-';
    name += std::to_string(counter.fetch_add(1, std::memory_order_relaxed));
    name += kTemporarySuffix;
    return name;
}

std::optional<long> decimal(std::string_view digits) {
    if (digits.empty() || digits.size() > 9) {
        return std::nullopt;
    }
    long value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

// The process that left `name` behind, when it is one of our temporary or spare files.
std::optional<long> leftoverOwner(std::string_view name) {
    if (name.starts_with(kSparePrefix) && name.ends_with(kSpareSuffix)) {
        name.remove_prefix(kSparePrefix.size());
        name.remove_suffix(kSpareSuffix.size());
        return decimal(name);
    }
    if (!name.starts_with(kTemporaryPrefix) || !name.ends_with(kTemporarySuffix)) {
        return std::nullopt;
    }
    name.remove_prefix(kTemporaryPrefix.size());
    name.remove_suffix(kTemporarySuffix.size());
    const std::size_t dash = name.find('-');
    if (dash == std::string_view::npos || !decimal(name.substr(dash + 1))) {
        return std::nullopt;
    }
    return decimal(name.substr(0, dash));
}

// A process killed outright (SIGKILL, a power cut) can leave a temporary file of ours in
// the folder; the next save there removes those whose process is gone. Each folder is
// looked at once per run of the program.
void removeLeftovers(int folder, const std::string& folderName) {
    static std::mutex mutex;
    static std::set<std::string> seen;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        if (!seen.insert(folderName).second) {
            return;
        }
    }
    DIR* listing = ::fdopendir(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (listing == nullptr) {
        return;
    }
    while (const dirent* entry = ::readdir(listing)) {
        const std::optional<long> owner = leftoverOwner(entry->d_name);
        if (!owner || *owner == ::getpid()) {
            continue;
        }
        struct stat leftover;
        if (::kill(static_cast<pid_t>(*owner), 0) != 0 && errno == ESRCH &&
            ::fstatat(folder, entry->d_name, &leftover, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(leftover.st_mode)) {
            ::unlinkat(folder, entry->d_name, 0);
        }
    }
    ::closedir(listing);
}

// Gives a new file the owner, group and permission bits of the file it replaces. The
// set-user-ID and set-group-ID bits are not carried over to a text file.
bool adoptOwnerAndMode(int fd, const struct stat* old) {
    if (old == nullptr) {
        return true;
    }
    struct stat now;
    if (::fstat(fd, &now) != 0) {
        return false;
    }
    if ((now.st_uid != old->st_uid || now.st_gid != old->st_gid) &&
        ::fchown(fd, old->st_uid, old->st_gid) != 0 && now.st_gid != old->st_gid) {
        // Not allowed to give the file away: keep at least the group, where we are a member.
        if (::fchown(fd, static_cast<uid_t>(-1), old->st_gid) != 0) {
            // the file stays ours
        }
    }
    const mode_t wanted = old->st_mode & 0777;
    return (now.st_mode & 07777) == wanted || ::fchmod(fd, wanted) == 0;
}

// Names an unnamed file (O_TMPFILE) in `folder`; false with errno set when it cannot.
bool linkUnnamed(int fd, int folder, const std::string& name) {
    if (::linkat(fd, "", folder, name.c_str(), AT_EMPTY_PATH) == 0) {
        return true;
    }
    if (errno == EEXIST) {
        return false;
    }
    // Without the capability AT_EMPTY_PATH needs, the file is reached through /proc.
    char viaProc[64];
    std::snprintf(viaProc, sizeof viaProc, "/proc/self/fd/%d", fd);
    return ::linkat(AT_FDCWD, viaProc, folder, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

bool deniedHere(int error) {
    return error == EACCES || error == EPERM;
}

// Writes a plain file in place: open, empty, write. Used where the folder does not let us
// create a file but the file itself may be written; links are not followed.
bool writeInPlace(const std::string& path, std::string_view bytes) {
    FileDescriptor file(::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat status;
    if (!file || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return false;
    }
    const bool ok = ::ftruncate(file.get(), 0) == 0 && writeAll(file.get(), bytes);
    return file.close() && ok;
}

// Writes into an existing device or FIFO, as any program writing to it does.
bool writeIntoSpecialFile(const std::string& path, std::string_view bytes) {
    FileDescriptor file(::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
    if (!file) {
        return false;
    }
    const bool ok = writeAll(file.get(), bytes);
    return file.close() && ok;
}

enum class Step { Done, Failed, WriteInPlace, UseNamedTemporary };

// The new content in an unnamed file that takes the target's name in one step.
Step replaceThroughUnnamedFile(int folder, const std::string& name, const struct stat* old,
                               std::string_view bytes, bool sync) {
    FileDescriptor file(::openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC,
                                 old != nullptr ? old->st_mode & 0777 : 0666));
    if (!file) {
        return deniedHere(errno) ? Step::WriteInPlace : Step::UseNamedTemporary;
    }
    if (!adoptOwnerAndMode(file.get(), old) || !writeAll(file.get(), bytes) ||
        (sync && ::fsync(file.get()) != 0)) {
        return Step::Failed;  // the unnamed file goes with its descriptor
    }
    if (old == nullptr) {
        if (linkUnnamed(file.get(), folder, name)) {
            return file.close() ? Step::Done : Step::Failed;
        }
        if (errno != EEXIST) {
            return Step::UseNamedTemporary;
        }
        // Somebody made a file of that name meanwhile: replace it as any other.
    }
    const std::string temporary = temporaryName();
    if (!linkUnnamed(file.get(), folder, temporary)) {
        return Step::UseNamedTemporary;
    }
    if (::renameat(folder, temporary.c_str(), folder, name.c_str()) != 0) {
        const int error = errno;
        ::unlinkat(folder, temporary.c_str(), 0);
        return deniedHere(error) ? Step::WriteInPlace : Step::Failed;
    }
    return file.close() ? Step::Done : Step::Failed;
}

// The same through a temporary file with a short name of ours, for file systems that
// have no unnamed files.
Step replaceThroughNamedTemporary(int folder, const std::string& name, const struct stat* old,
                                  std::string_view bytes, bool sync) {
    const std::string temporary = temporaryName();
    FileDescriptor file(::openat(folder, temporary.c_str(),
                                 O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                                 old != nullptr ? old->st_mode & 0777 : 0666));
    if (!file) {
        return deniedHere(errno) ? Step::WriteInPlace : Step::Failed;
    }
    bool ok = adoptOwnerAndMode(file.get(), old) && writeAll(file.get(), bytes) &&
              (!sync || ::fsync(file.get()) == 0);
    ok = file.close() && ok;
    int error = 0;
    if (ok && ::renameat(folder, temporary.c_str(), folder, name.c_str()) != 0) {
        error = errno;
        ok = false;
    }
    if (!ok) {
        ::unlinkat(folder, temporary.c_str(), 0);
        return deniedHere(error) ? Step::WriteInPlace : Step::Failed;
    }
    return Step::Done;
}

// Replaces (or creates) the plain file `path`; `old` is its status when it exists.
bool replacePlainFile(const std::string& path, const struct stat* old, std::string_view bytes,
                      bool sync) {
    const std::string name = nameOf(path);
    if (name.empty() || name == "." || name == "..") {
        return false;
    }
    const std::string folderName = folderOf(path);
    FileDescriptor folder(::open(folderName.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder) {
        return false;
    }
    removeLeftovers(folder.get(), folderName);

    const StopSignalsHeld held;
    Step step = replaceThroughUnnamedFile(folder.get(), name, old, bytes, sync);
    if (step == Step::UseNamedTemporary) {
        step = replaceThroughNamedTemporary(folder.get(), name, old, bytes, sync);
    }
    if (step == Step::WriteInPlace) {
        return old != nullptr && S_ISREG(old->st_mode) && writeInPlace(path, bytes);
    }
    return step == Step::Done;
}

bool writeUserNamed(const std::string& path, std::string_view bytes) {
    struct stat status;
    if (::stat(path.c_str(), &status) == 0) {
        if (S_ISDIR(status.st_mode)) {
            return false;
        }
        if (!S_ISREG(status.st_mode)) {
            return writeIntoSpecialFile(path, bytes);
        }
        const std::string target = followLinks(path);
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
        return false;
    }
    // A new file, or a link to a file still to be made.
    const std::string target = followLinks(path);
    return !target.empty() && replacePlainFile(target, nullptr, bytes, true);
}

bool writeGenerated(const std::string& path, std::string_view bytes) {
    struct stat status;
    if (::lstat(path.c_str(), &status) == 0) {
        if (S_ISLNK(status.st_mode)) {
            return replacePlainFile(path, nullptr, bytes, false);
        }
        return S_ISREG(status.st_mode) && replacePlainFile(path, &status, bytes, false);
    }
    return errno == ENOENT && replacePlainFile(path, nullptr, bytes, false);
}

}  // namespace

bool writeFileReplacing(const std::string& path, std::string_view bytes, FileTarget target) {
    if (path.empty()) {
        return false;
    }
    // A batch writes thousands of reports it can write again, so only a file the user
    // saves waits for the disk before it takes the old file's place.
    return target == FileTarget::UserNamed ? writeUserNamed(path, bytes)
                                           : writeGenerated(path, bytes);
}

}  // namespace slabrating
