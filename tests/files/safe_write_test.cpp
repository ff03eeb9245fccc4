// The one file writer, tried as an attacker who can write to the output folder would.
#include "files/safe_write.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "tests/support/support.h"

namespace slabrating {
namespace {

namespace fs = std::filesystem;
using support::readBytes;
using support::TempDir;
using support::writeBytes;

constexpr std::string_view kNew = "new report\r\n";

// What stands at the target's name before the write.
enum class Existing { FifoWithoutReader, Folder, LinkToVictim, DanglingLink };

void make(Existing existing, const TempDir& dir, const std::string& target) {
    switch (existing) {
        case Existing::FifoWithoutReader:
            ASSERT_EQ(::mkfifo(target.c_str(), 0644), 0);
            break;
        case Existing::Folder:
            fs::create_directory(target);
            break;
        case Existing::LinkToVictim:
            fs::create_symlink(dir.path("victim.conf"), target);
            break;
        case Existing::DanglingLink:
            fs::create_symlink(dir.path("made.qro"), target);
            break;
    }
}

// A batch writes only the plain file of the name it made up: it never follows a link
// planted there, never waits for a FIFO's reader, never writes into a device or folder.
// (Before: a batch wrote through the link into victim.conf, and renamed over a FIFO.)
TEST(SafeWrite, generatedNamesReplaceOnlyPlainFilesOrLinks) {
    struct Row {
        const char* name;
        Existing existing;
        bool written;
    };
    const Row rows[] = {
        {"FIFO left alone at once", Existing::FifoWithoutReader, false},
        {"folder left alone", Existing::Folder, false},
        {"link replaced, not followed", Existing::LinkToVictim, true},
        {"dangling link replaced, not followed", Existing::DanglingLink, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const TempDir dir;
        writeBytes(dir.path("victim.conf"), "victim");
        const std::string target = dir.path("x.qro");
        make(row.existing, dir, target);
        const fs::file_type before = fs::symlink_status(target).type();

        EXPECT_EQ(writeFileReplacing(target, kNew, FileTarget::Generated), row.written);
        EXPECT_EQ(readBytes(dir.path("victim.conf")), "victim");
        EXPECT_FALSE(fs::exists(dir.path("made.qro")));
        if (row.written) {
            EXPECT_EQ(fs::symlink_status(target).type(), fs::file_type::regular);
            EXPECT_EQ(readBytes(target), kNew);
        } else {
            EXPECT_EQ(fs::symlink_status(target).type(), before);
        }
    }
}

// A name the user chose is written as editors write it: through a link to the file it
// names, and into a device or FIFO in place. (Before: --save-input /dev/null replaced
// /dev/null with a plain file.)
TEST(SafeWrite, userNamedTargetsAreFollowedOrWrittenInPlace) {
    const TempDir dir;
    writeBytes(dir.path("victim.conf"), "old");
    make(Existing::LinkToVictim, dir, dir.path("link.qri"));
    EXPECT_TRUE(writeFileReplacing(dir.path("link.qri"), kNew));
    EXPECT_TRUE(fs::is_symlink(dir.path("link.qri")));
    EXPECT_EQ(readBytes(dir.path("victim.conf")), kNew);

    make(Existing::DanglingLink, dir, dir.path("dangling.qri"));
    EXPECT_TRUE(writeFileReplacing(dir.path("dangling.qri"), kNew));
    EXPECT_EQ(readBytes(dir.path("made.qro")), kNew);

    EXPECT_TRUE(writeFileReplacing("/dev/null", kNew));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));

    const std::string fifo = dir.path("pipe.qri");
    make(Existing::FifoWithoutReader, dir, fifo);
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_TRUE(writeFileReplacing(fifo, kNew));
    std::string got(64, '\0');
    got.resize(static_cast<std::size_t>(std::max<ssize_t>(0, ::read(reader, got.data(), 64))));
    ::close(reader);
    EXPECT_EQ(got, kNew);
    EXPECT_TRUE(fs::is_fifo(fifo));
}

// Every write is a new file with the replaced file's permission bits: a reader holding
// the old file open keeps reading the old report. (Before: a batch reused the replaced
// report's file for the next report, handing its reader another structure's report.)
TEST(SafeWrite, replacementIsANewFileWithTheOldPermissions) {
    for (const FileTarget target : {FileTarget::UserNamed, FileTarget::Generated}) {
        for (const mode_t mode : {0600, 0640, 0664}) {
            SCOPED_TRACE(testing::Message() << "mode " << std::oct << mode);
            const TempDir dir;
            const std::string a = dir.path("a.qro");
            const std::string b = dir.path("b.qro");
            writeBytes(a, "old A");
            writeBytes(b, "old B");
            ASSERT_EQ(::chmod(a.c_str(), mode), 0);
            const int held = ::open(a.c_str(), O_RDONLY);
            ASSERT_TRUE(writeFileReplacing(a, "new A", target));
            ASSERT_TRUE(writeFileReplacing(b, "new B", target));
            char old[8] = {};
            EXPECT_EQ(::pread(held, old, sizeof old - 1, 0), 5);
            ::close(held);
            EXPECT_STREQ(old, "old A");
            struct stat status;
            ASSERT_EQ(::stat(a.c_str(), &status), 0);
            EXPECT_EQ(status.st_mode & 07777, mode);
            EXPECT_EQ(dir.listing(), "a.qro b.qro");
        }
    }
}

// Any name the file system accepts can be saved. (Before: names of 236 to 255 bytes
// failed, since the temporary file's name added 20 bytes to them.)
TEST(SafeWrite, theLongestNameSaves) {
    const TempDir dir;
    const std::string name(255, 'n');
    EXPECT_TRUE(writeFileReplacing(dir.path(name), kNew));
    EXPECT_TRUE(writeFileReplacing(dir.path(name), kNew, FileTarget::Generated));
    EXPECT_EQ(dir.listing(), name);
}

pid_t deadProcess() {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    return child;
}

// Temporary and spare files of a process that is gone are removed by the next save in
// that folder; those of a running process are not touched.
TEST(SafeWrite, leftoversOfAProcessThatIsGoneAreRemoved) {
    const TempDir dir;
    const std::string dead = std::to_string(deadProcess());
    writeBytes(dir.path(".slabrating-" + dead + "-3.tmp"), "half a report");
    writeBytes(dir.path(".slabrating-spare-" + dead + ".qro"), "an old report");
    writeBytes(dir.path(".slabrating-1-0.tmp"), "init is running");
    ASSERT_TRUE(writeFileReplacing(dir.path("x.qro"), kNew, FileTarget::Generated));
    EXPECT_EQ(dir.listing(), ".slabrating-1-0.tmp x.qro");
}

// A writer stopped by a signal at any moment leaves whole files and nothing of its own.
TEST(SafeWrite, aStoppedWriterLeavesNothingBehind) {
    for (const int signal : {SIGTERM, SIGINT}) {
        for (int attempt = 0; attempt < 10; ++attempt) {
            SCOPED_TRACE(testing::Message() << "signal " << signal << ", attempt " << attempt);
            const TempDir dir;
            const std::string report(4096, 'r');
            const pid_t child = ::fork();
            if (child == 0) {
                for (unsigned i = 0;; ++i) {
                    const std::string name = dir.path("r" + std::to_string(i % 8) + ".qro");
                    writeFileReplacing(name, report,
                                       i % 2 == 0 ? FileTarget::Generated : FileTarget::UserNamed);
                }
            }
            ::usleep(static_cast<useconds_t>(2000 + 1500 * attempt));
            ::kill(child, signal);
            int status = 0;
            ::waitpid(child, &status, 0);
            EXPECT_TRUE(WIFSIGNALED(status));
            for (const auto& entry : fs::directory_iterator(dir.dir())) {
                const std::string name = entry.path().filename().string();
                EXPECT_TRUE(name.size() == 6 && name[0] == 'r') << name;
                EXPECT_EQ(readBytes(entry.path()), report) << name;
            }
        }
    }
}

// A folder that does not let us create a file, holding a file that we may write: the
// file is written in place. (Before: the save failed.) Only an unprivileged user meets
// the folder's permissions, so CTest runs this case as one when the tests run as root.
TEST(SafeWriteUnprivileged, aWritableFileInAFolderWeCannotWriteIsWrittenInPlace) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root writes every folder; run as an unprivileged user";
    }
    const TempDir dir;
    const std::string file = dir.path("x.qri");
    for (const FileTarget target : {FileTarget::UserNamed, FileTarget::Generated}) {
        writeBytes(file, "an old record that is longer than the new one");
        fs::permissions(dir.dir(), fs::perms::owner_read | fs::perms::owner_exec,
                        fs::perm_options::replace);
        EXPECT_TRUE(writeFileReplacing(file, kNew, target));
        EXPECT_FALSE(writeFileReplacing(dir.path("new.qri"), kNew, target));
        fs::permissions(dir.dir(), fs::perms::owner_all, fs::perm_options::replace);
        EXPECT_EQ(readBytes(file), kNew);
    }
}

}  // namespace
}  // namespace slabrating
