#include "cli/report_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "files/safe_write.h"

namespace slabrating::cli {

namespace {

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
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

}  // namespace

ReportFileWriter::~ReportFileWriter() {
    dropSpare();
}

void ReportFileWriter::dropSpare() {
    if (!m_spare.empty()) {
        ::unlink(m_spare.c_str());
        m_spare.clear();
    }
}

bool ReportFileWriter::write(const std::string& path, std::string_view bytes) {
#ifdef RENAME_EXCHANGE
    struct stat target;
    // Only a plain existing file is exchanged; links, new files and anything else take
    // the general path (a temporary file renamed over the target).
    if (::lstat(path.c_str(), &target) == 0 && S_ISREG(target.st_mode) && target.st_nlink == 1) {
        if (m_spareDir != folderOf(path)) {
            dropSpare();
        }
        if (m_spare.empty()) {
            // Start the chain with a spare made the general way: the target's new content
            // in a temporary file, exchanged with the target.
            m_spareDir = folderOf(path);
            m_spare = m_spareDir + "/.slabrating-spare-" + std::to_string(::getpid()) + ".qro";
            const int fd = ::open(m_spare.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                                  target.st_mode & 07777);
            struct stat spare;
            if (fd < 0 || ::fstat(fd, &spare) != 0) {
                if (fd >= 0) {
                    ::close(fd);
                    ::unlink(m_spare.c_str());
                }
                m_spare.clear();
                return writeFileReplacing(path, bytes);
            }
            ::close(fd);
            m_spareMode = spare.st_mode & 07777;
        }
        if (writeThroughSpare(path, target.st_mode & 07777, bytes)) {
            return true;
        }
        dropSpare();
    }
#endif
    return writeFileReplacing(path, bytes);
}

bool ReportFileWriter::writeThroughSpare(const std::string& path, unsigned targetMode,
                                         std::string_view bytes) {
#ifdef RENAME_EXCHANGE
    const int fd = ::open(m_spare.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    // The spare is ours and the target is untouched until the exchange below, so a
    // failure anywhere here leaves the target as it was. The new report keeps the
    // permissions of the one it replaces.
    bool ok = true;
    if (m_spareMode != targetMode) {
        ok = ::fchmod(fd, static_cast<mode_t>(targetMode)) == 0;
    }
    ok = ok && writeAll(fd, bytes) && ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok) {
        return false;
    }
    // One atomic step: the target gets the new report, the spare the old one, whose
    // permissions were the target's.
    if (::renameat2(AT_FDCWD, m_spare.c_str(), AT_FDCWD, path.c_str(), RENAME_EXCHANGE) != 0) {
        return false;
    }
    m_spareMode = targetMode;
    return true;
#else
    (void)path;
    (void)targetMode;
    (void)bytes;
    return false;
#endif
}

}  // namespace slabrating::cli
