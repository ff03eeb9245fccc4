#include "files/system_calls.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/random.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <mutex>
#include <set>
#include <vector>

namespace slabrating {

namespace {

// The kernel gives up on a chain of links after 40 of them (ELOOP); so do we.
constexpr int kMaxLinkHops = 40;

constexpr std::string_view kTemporaryPrefix = ".slabrating-";
constexpr std::string_view kTemporarySuffix = ".tmp";
// Earlier versions kept a replaced report as ".slabrating-spare-<pid>.qro".
constexpr std::string_view kSparePrefix = ".slabrating-spare-";
constexpr std::string_view kSpareSuffix = ".qro";

// A leftover younger than this may belong to a writer that has made its temporary and not
// yet locked it (a few microseconds); older and unlocked, its writer is gone.
constexpr time_t kLeftoverAgeSeconds = 60;

// True when `name` is one of our temporary files (of any run, or of an earlier version,
// which named them by process number) or an earlier version's spare report.
bool isLeftoverName(std::string_view name) {
    return (name.starts_with(kSparePrefix) && name.ends_with(kSpareSuffix)) ||
           (name.starts_with(kTemporaryPrefix) && name.ends_with(kTemporarySuffix) &&
            name.size() > kTemporaryPrefix.size() + kTemporarySuffix.size());
}

// A random part of this run's temporary names, so that no other run (in another PID
// namespace, on another host sharing the folder) can take them for its own.
const std::string& runMark() {
    static const std::string mark = [] {
        unsigned char bytes[8] = {};
        if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) {
            // No entropy at all: the clock and the process still tell runs apart.
            const auto now = static_cast<unsigned long long>(::time(nullptr)) ^
                             (static_cast<unsigned long long>(::getpid()) << 32);
            std::memcpy(bytes, &now, sizeof bytes);
        }
        std::string text;
        for (const unsigned char byte : bytes) {
            text += "0123456789abcdef"[byte >> 4];
            text += "0123456789abcdef"[byte & 15];
        }
        return text;
    }();
    return mark;
}

// True when the leftover `name` in `folder` is provably no live writer's: old enough and
// not locked. A file system that keeps no locks proves nothing, so its leftovers stay.
bool provablyAbandoned(int folder, const char* name) {
    files::FileDescriptor file(
        ::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat status;
    if (!file || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode) ||
        status.st_mtime > ::time(nullptr) - kLeftoverAgeSeconds) {
        return false;
    }
    struct flock lock = {};
    lock.l_type = F_RDLCK;
    lock.l_whence = SEEK_SET;
    return ::fcntl(file.get(), F_OFD_SETLK, &lock) == 0;
}

bool isMember(gid_t group) {
    if (group == ::getegid()) {
        return true;
    }
    const int count = ::getgroups(0, nullptr);
    if (count <= 0) {
        return false;
    }
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    const int got = ::getgroups(count, groups.data());
    for (int i = 0; i < got; ++i) {
        if (groups[static_cast<std::size_t>(i)] == group) {
            return true;
        }
    }
    return false;
}

}  // namespace

namespace files {

void FileDescriptor::reset(int fd) {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
    m_fd = fd;
}

bool FileDescriptor::close() {
    const int fd = std::exchange(m_fd, -1);
    return fd < 0 || ::close(fd) == 0;
}

WriteResult failure(WriteStep step) {
    return {step, errno};
}

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

bool isFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos;
}

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
    name += runMark();
    name += '-';
    name += std::to_string(counter.fetch_add(1, std::memory_order_relaxed));
    name += kTemporarySuffix;
    return name;
}

void lockTemporary(int fd) {
    struct flock lock = {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    // Where the file system keeps no locks, nobody can prove the file abandoned either.
    if (::fcntl(fd, F_OFD_SETLK, &lock) != 0) {
        return;
    }
}

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
    const std::string own = std::string(kTemporaryPrefix) + runMark() + '-';
    while (const dirent* entry = ::readdir(listing)) {
        const std::string_view name = entry->d_name;
        if (isLeftoverName(name) && !name.starts_with(own) &&
            provablyAbandoned(folder, entry->d_name)) {
            ::unlinkat(folder, entry->d_name, 0);
        }
    }
    ::closedir(listing);
}

bool adoptOwnerAndMode(int fd, const struct stat& now, const struct stat& old) {
    if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) &&
        ::fchown(fd, old.st_uid, old.st_gid) != 0 && now.st_gid != old.st_gid) {
        // Not allowed to give the file away: keep at least the group, where we are a member.
        if (::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
            // the file stays ours
        }
    }
    const mode_t wanted = old.st_mode & 0777;
    return (now.st_mode & 07777) == wanted || ::fchmod(fd, wanted) == 0;
}

bool linkUnnamed(int fd, int folder, const char* name) {
    // Without the capability that AT_EMPTY_PATH needs, the file is reached through /proc;
    // once that is known, every later file goes there at once.
    static std::atomic<bool> emptyPathRefused{false};
    if (!emptyPathRefused.load(std::memory_order_relaxed)) {
        if (::linkat(fd, "", folder, name, AT_EMPTY_PATH) == 0) {
            return true;
        }
        if (errno != ENOENT) {
            return false;
        }
        emptyPathRefused.store(true, std::memory_order_relaxed);
    }
    char viaProc[64];
    std::snprintf(viaProc, sizeof viaProc, "/proc/self/fd/%d", fd);
    return ::linkat(AT_FDCWD, viaProc, folder, name, AT_SYMLINK_FOLLOW) == 0;
}

bool permitsWriting(const struct stat& status, int folder, const char* name) {
    return permitsWriting(status, folder, name, ::geteuid());
}

bool permitsWriting(const struct stat& status, int folder, const char* name, uid_t user) {
    if (user == 0) {
        // Root keeps only what nobody may write (chmod 444), as editors do; a file its
        // owner may write is replaced with its mode and owner kept.
        return (status.st_mode & 0222) != 0;
    }
    mode_t bit = S_IWOTH;
    if (status.st_uid == user) {
        bit = S_IWUSR;
    } else if (isMember(status.st_gid)) {
        bit = S_IWGRP;
    }
    if ((status.st_mode & bit) != 0) {
        return true;
    }
    // An access control list may let an unprivileged user in.
    return ::faccessat(folder, name, W_OK, AT_EACCESS) == 0;
}

bool overwriteInPlace(int fd, std::string_view bytes) {
    // The new bytes first, the old tail cut off after: stopped between the two, the file
    // holds the new report (and, where the old one was longer, its last bytes), never none.
    for (off_t at = 0; !bytes.empty();) {
        const ssize_t written = ::pwrite(fd, bytes.data(), bytes.size(), at);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written < 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
        at += written;
    }
    return true;
}

bool overwriteInPlace(int fd, std::string_view bytes, off_t oldSize) {
    return overwriteInPlace(fd, bytes) && (oldSize <= static_cast<off_t>(bytes.size()) ||
                                           ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0);
}

bool keptByItsFlags(int folder, const char* name) {
    FileDescriptor file(::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    int flags = 0;
    return file && ::ioctl(file.get(), FS_IOC_GETFLAGS, &flags) == 0 &&
           (flags & (FS_IMMUTABLE_FL | FS_APPEND_FL)) != 0;
}

bool deniedHere(int error) {
    return error == EACCES || error == EPERM || error == EROFS;
}

}  // namespace files

}  // namespace slabrating
