#include "files/system_calls.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <string.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <mutex>
#include <optional>
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

std::string temporaryName(long pid) {
    static std::atomic<unsigned long> counter{0};
    std::string name(kTemporaryPrefix);
    name += std::to_string(pid);
    name += '-';
    name += std::to_string(counter.fetch_add(1, std::memory_order_relaxed));
    name += kTemporarySuffix;
    return name;
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
    const pid_t self = ::getpid();
    while (const dirent* entry = ::readdir(listing)) {
        const std::optional<long> owner = leftoverOwner(entry->d_name);
        if (!owner || *owner == self) {
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
    mode_t bit = S_IWOTH;
    if (status.st_uid == user) {
        bit = S_IWUSR;
    } else if (isMember(status.st_gid)) {
        bit = S_IWGRP;
    }
    if ((status.st_mode & bit) != 0) {
        return true;
    }
    // Root would pass any access check; an unprivileged user may be let in by an ACL.
    return user != 0 && ::faccessat(folder, name, W_OK, AT_EACCESS) == 0;
}

bool deniedHere(int error) {
    return error == EACCES || error == EPERM || error == EROFS;
}

}  // namespace files

}  // namespace slabrating
