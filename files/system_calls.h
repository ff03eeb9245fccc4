#pragma once
// The system calls the file writers share: descriptors, whole writes, links, temporary
// names, leftovers of stopped processes, owners and modes.

#include <sys/stat.h>
#include <sys/types.h>

#include <string>
#include <string_view>
#include <utility>

#include "files/write_result.h"

namespace slabrating::files {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        reset(std::exchange(other.m_fd, -1));
        return *this;
    }
    ~FileDescriptor() { reset(-1); }
    int get() const { return m_fd; }
    explicit operator bool() const { return m_fd >= 0; }
    void reset(int fd);
    /// Closes the file; false with errno set when the close reported an error (a delayed
    /// write failure).
    bool close();

private:
    int m_fd;
};

/// A failed step with the current errno.
WriteResult failure(WriteStep step);
/// A step the program itself refused.
inline WriteResult refusal(WriteStep step) {
    return {step, 0};
}

/// Writes all of `bytes`; false with errno set when a write fails.
bool writeAll(int fd, std::string_view bytes);

std::string folderOf(const std::string& path);
std::string nameOf(const std::string& path);
/// True when `name` can be the last part of a file's path ("", "." and ".." cannot).
bool isFileName(std::string_view name);

/// The name at the end of a chain of links (the file a save through the link writes);
/// the path itself when it is no link. Empty when the chain is too long or unreadable.
std::string followLinks(std::string path);

/// ".slabrating-<run>-<count>.tmp", <run> being random for each run of the program: short,
/// independent of the target's name, and never the name of another run's temporary.
std::string temporaryName();

/// Locks the new temporary file `fd` for as long as it is open (an open file description
/// lock, released when the process ends however it ends), so that no other run takes it
/// for a leftover. Call it at once after the file is made, before it has a name where
/// possible.
void lockTemporary(int fd);

/// Removes, once per folder and run of the program, the temporary files that a process
/// killed outright (SIGKILL, a power cut) left in `folder`: only those of other runs that
/// are older than a minute and that no process holds locked, so provably abandoned.
void removeLeftovers(int folder, const std::string& folderName);

/// Gives a new file the owner, group and permission bits of the file it replaces, `now`
/// being the new file's status. The set-user-ID and set-group-ID bits are not carried over.
bool adoptOwnerAndMode(int fd, const struct stat& now, const struct stat& old);

/// Names an unnamed file (O_TMPFILE) in `folder`; false with errno set when it cannot.
bool linkUnnamed(int fd, int folder, const char* name);

/// True when the permission bits of the file let this process's user write it: the
/// owner's bits for its owner, the group's for a member, the others' for the rest, or an
/// access control list. For root, a file is read-only only when nobody may write it (no
/// write bit at all), as editors keep it.
bool permitsWriting(const struct stat& status, int folder, const char* name);
/// The same for the user `user` (the process's effective user, looked up once).
bool permitsWriting(const struct stat& status, int folder, const char* name, uid_t user);

/// Writes `bytes` over the start of the open file `fd`; false with errno set when it fails.
bool overwriteInPlace(int fd, std::string_view bytes);
/// The same, then cuts off the tail of an old content of `oldSize` bytes: the new bytes
/// go in before anything is cut, so a stop never leaves the file empty.
bool overwriteInPlace(int fd, std::string_view bytes, off_t oldSize);

/// True when the file `name` in `folder` is immutable or append-only (chattr +i, +a): it
/// is kept as read-only, for root too.
bool keptByItsFlags(int folder, const char* name);

/// True for the errors of a folder that does not let us create a file in it.
bool deniedHere(int error);

}  // namespace slabrating::files
