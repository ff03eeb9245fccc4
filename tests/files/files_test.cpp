// The one file writer, tried as an attacker who can write to the output folder would.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "files/file_writer.h"
#include "files/folder_writer.h"
#include "files/streamed_file.h"
#include "files/system_calls.h"
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

        EXPECT_EQ(static_cast<bool>(writeFileReplacing(target, kNew, FileTarget::Generated)),
                  row.written);
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

// Sets a file's times a while back, as a leftover of a run killed long ago has them.
void age(const std::string& path, int seconds) {
    const struct timespec times[2] = {{::time(nullptr) - seconds, 0},
                                      {::time(nullptr) - seconds, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
}

// Temporary and spare files of a run that is provably gone (older than a minute, locked
// by nobody) are removed by the next save in that folder; a temporary that another run
// holds locked is kept however old it is, and so is a young one, which its run may be
// about to lock. No process number is looked up. (Before: a batch in another PID
// namespace, seeing no process of that number, removed the live temporary of this one.)
TEST(SafeWrite, onlyLeftoversOfAbandonedRunsAreRemoved) {
    const TempDir dir;
    const std::string live = dir.path(".slabrating-0123456789abcdef-3.tmp");
    const std::string young = dir.path(".slabrating-0123456789abcdef-4.tmp");
    const std::string dead = dir.path(".slabrating-fedcba9876543210-0.tmp");
    const std::string oldVersion = dir.path(".slabrating-29677-3.tmp");
    const std::string spare = dir.path(".slabrating-spare-29677.qro");
    for (const std::string& file : {live, young, dead, oldVersion, spare}) {
        writeBytes(file, "half a report");
        if (file != young) {
            age(file, 3600);
        }
    }
    // Another run's lock, held by an open file description of its own.
    const int held = ::open(live.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(held, 0);
    struct flock lock = {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    ASSERT_EQ(::fcntl(held, F_OFD_SETLK, &lock), 0);

    ASSERT_TRUE(writeFileReplacing(dir.path("x.qro"), kNew, FileTarget::Generated));
    EXPECT_EQ(dir.listing(),
              ".slabrating-0123456789abcdef-3.tmp .slabrating-0123456789abcdef-4.tmp x.qro");
    ::close(held);
}

// A writer stopped by a signal at any moment leaves whole files and nothing of its own.
TEST(SafeWrite, aStoppedWriterLeavesNothingBehind) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        for (int attempt = 0; attempt < 10; ++attempt) {
            SCOPED_TRACE(testing::Message() << "signal " << signal << ", attempt " << attempt);
            const TempDir dir;
            const std::string report(4096, 'r');
            const pid_t child = ::fork();
            if (child == 0) {
                // A batch's writer, its signals caught once, beside single saves.
                GeneratedFolder batch(dir.dir().string());
                for (unsigned i = 0;; ++i) {
                    const std::string name = "r" + std::to_string(i % 8) + ".qro";
                    if (i % 3 == 0) {
                        batch.write(name, report);
                    } else {
                        writeFileReplacing(
                            dir.path(name), report,
                            i % 3 == 1 ? FileTarget::Generated : FileTarget::UserNamed);
                    }
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

// A write that fails says where and why, in words a summary can hold.
TEST(SafeWrite, failuresSayTheirStepAndReason) {
    struct Row {
        WriteResult result;
        const char* reason;
    };
    const Row rows[] = {
        {{}, ""},
        {{WriteStep::ReadOnly, 0}, "read-only"},
        {{WriteStep::NotPlainFile, 0}, "not a plain file"},
        {{WriteStep::Rename, EACCES}, "rename: Permission denied"},
        {{WriteStep::Create, ENOSPC}, "create: No space left on device"},
        {{WriteStep::Write, EFBIG}, "write: File too large"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.reason);
        EXPECT_EQ(row.result.reason(), row.reason);
    }
    const TempDir dir;
    EXPECT_EQ(writeFileReplacing(dir.path("none/x.qri"), kNew).reason(),
              "folder: No such file or directory");
    EXPECT_EQ(writeFileReplacing(dir.dir().string(), kNew).step, WriteStep::NotPlainFile);
}

// A file whose permission bits do not let the user write it stays as it is, whichever way
// it is written, and for root too, as cp without -f leaves it. (Before: a save replaced a
// file made read-only with chmod 444 wherever its folder was writable.)
TEST(SafeWrite, readOnlyFilesAreKept) {
    enum class Way { UserNamed, Generated, BatchFolder, Streamed };
    struct Row {
        const char* name;
        Way way;
        mode_t mode;
        bool written;
    };
    const Row rows[] = {
        {"user-named, 0444", Way::UserNamed, 0444, false},
        {"generated, 0444", Way::Generated, 0444, false},
        {"batch folder, 0444", Way::BatchFolder, 0444, false},
        {"streamed, 0444", Way::Streamed, 0444, false},
        {"batch folder, owner may write", Way::BatchFolder, 0644, true},
        {"streamed, owner may write", Way::Streamed, 0600, true},
        {"user-named, owner may write", Way::UserNamed, 0600, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const TempDir dir;
        const std::string file = dir.path("x.qro");
        writeBytes(file, "old");
        ASSERT_EQ(::chmod(file.c_str(), row.mode), 0);
        WriteResult result;
        switch (row.way) {
            case Way::UserNamed:
                result = writeFileReplacing(file, kNew);
                break;
            case Way::Generated:
                result = writeFileReplacing(file, kNew, FileTarget::Generated);
                break;
            case Way::BatchFolder:
                result = GeneratedFolder(dir.dir().string()).write("x.qro", kNew);
                break;
            case Way::Streamed: {
                StreamedFile streamed(file);
                streamed.append(kNew);
                result = streamed.finish();
                break;
            }
        }
        EXPECT_EQ(static_cast<bool>(result), row.written);
        EXPECT_EQ(result.step, row.written ? WriteStep::None : WriteStep::ReadOnly);
        EXPECT_EQ(readBytes(file), row.written ? std::string(kNew) : "old");
        struct stat status;
        ASSERT_EQ(::stat(file.c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, row.mode);
        EXPECT_EQ(dir.listing(), "x.qro");
    }
}

// A batch's folder writes as a generated name is written, and its subfolders too: a link
// planted in place of a subfolder is never followed, an input file is never replaced.
TEST(SafeWrite, batchFolderWritesGeneratedFilesAndSubfolders) {
    const TempDir dir;
    writeBytes(dir.path("victim.conf"), "victim");
    fs::create_directories(dir.path("elsewhere"));
    fs::create_directories(dir.path("out"));
    fs::create_directory_symlink(dir.path("elsewhere"), dir.path("out/planted"));
    fs::create_symlink(dir.path("victim.conf"), dir.path("out/link.qro"));
    writeBytes(dir.path("out/old.qro"), "old");
    ASSERT_EQ(::chmod(dir.path("out/old.qro").c_str(), 0640), 0);
    writeBytes(dir.path("out/input.qro"), "input");
    struct stat input;
    ASSERT_EQ(::stat(dir.path("out/input.qro").c_str(), &input), 0);
    ASSERT_EQ(::mkfifo(dir.path("out/fifo.qro").c_str(), 0644), 0);

    GeneratedFolder folder(dir.path("out"));
    folder.protect({{input.st_dev, input.st_ino}});
    struct Row {
        const char* relative;
        WriteStep step;
    };
    const Row rows[] = {
        {"new.qro", WriteStep::None},
        {"old.qro", WriteStep::None},
        {"link.qro", WriteStep::None},
        {"a/b/deep.qro", WriteStep::None},
        {"a/b/deep.qro", WriteStep::WrittenThisRun},
        {"planted/x.qro", WriteStep::Folder},
        {"input.qro", WriteStep::Protected},
        {"fifo.qro", WriteStep::NotPlainFile},
        {"a/../x.qro", WriteStep::Name},
        {"a/", WriteStep::Name},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.relative);
        EXPECT_EQ(folder.write(row.relative, kNew).step, row.step);
    }
    EXPECT_EQ(readBytes(dir.path("out/a/b/deep.qro")), kNew);
    EXPECT_EQ(readBytes(dir.path("out/old.qro")), kNew);
    struct stat status;
    ASSERT_EQ(::stat(dir.path("out/old.qro").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir.path("out/link.qro"))));
    EXPECT_EQ(readBytes(dir.path("victim.conf")), "victim");
    EXPECT_EQ(readBytes(dir.path("out/input.qro")), "input");
    EXPECT_TRUE(fs::is_empty(dir.path("elsewhere")));
}

// A streamed file takes its name only when finished: until then the old file is whole,
// and a stream given up leaves it so, with nothing of ours beside it.
TEST(SafeWrite, streamedFileTakesItsNameWhenFinished) {
    const TempDir dir;
    const std::string file = dir.path("s.csv");
    writeBytes(file, "old summary");
    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
    {
        StreamedFile abandoned(file);
        abandoned.append(std::string(300000, 'x'));
    }
    EXPECT_EQ(readBytes(file), "old summary");
    StreamedFile streamed(file);
    const std::string row(1000, 'r');
    for (int i = 0; i < 600; ++i) {
        streamed.append(row);
    }
    EXPECT_EQ(readBytes(file), "old summary");
    EXPECT_TRUE(streamed.finish());
    EXPECT_EQ(readBytes(file).size(), 600000u);
    struct stat status;
    ASSERT_EQ(::stat(file.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(dir.listing(), "s.csv");
    EXPECT_EQ(StreamedFile(dir.path("none/s.csv")).status().step, WriteStep::Folder);
    EXPECT_EQ(StreamedFile(dir.path("none/s.csv")).finish().step, WriteStep::Folder);
    StreamedFile refused(file);
    refused.append("summary");
    EXPECT_EQ(refused.finish([](FileIdentity) { return true; }).step, WriteStep::Protected);
    EXPECT_EQ(readBytes(file).size(), 600000u);
    EXPECT_EQ(dir.listing(), "s.csv");
}

// Two names that the file system takes for one (emulated here by a second link to the
// report just written, as a folder where case does not count makes BRIDGE.qro of
// Bridge.qro): the second write fails and the first report stays. (Before: the second
// report replaced the first, and the summary said both were written.)
TEST(SafeWrite, aNameReachingAReportOfThisRunIsRefused) {
    for (const bool replacing : {false, true}) {
        SCOPED_TRACE(replacing ? "replacing" : "fresh folder");
        const TempDir dir;
        fs::create_directories(dir.path("out/sub"));
        if (replacing) {
            writeBytes(dir.path("out/sub/Bridge.qro"), "old");
        }
        GeneratedFolder folder(dir.path("out"));
        ASSERT_TRUE(folder.write("sub/Bridge.qro", kNew));
        fs::create_hard_link(dir.path("out/sub/Bridge.qro"), dir.path("out/sub/BRIDGE.qro"));
        EXPECT_EQ(folder.write("sub/BRIDGE.qro", "second").step, WriteStep::WrittenThisRun);
        EXPECT_EQ(readBytes(dir.path("out/sub/Bridge.qro")), kNew);
        struct stat status;
        ASSERT_EQ(::stat(dir.path("out/sub/Bridge.qro").c_str(), &status), 0);
        EXPECT_TRUE(folder.wrote({status.st_dev, status.st_ino}));
        EXPECT_EQ(folder.remove("sub/BRIDGE.qro"), RemoveResult::Kept);
    }
}

// An earlier report of an input that now fails is removed where a write could replace
// it; a read-only one, an input, a folder and a name of this run are kept, and a missing
// subfolder is not made for it.
TEST(SafeWrite, earlierGeneratedFilesAreRemovedWhereTheyCouldBeReplaced) {
    const TempDir dir;
    fs::create_directories(dir.path("out/kept.qro"));
    writeBytes(dir.path("out/old.qro"), "old");
    writeBytes(dir.path("out/read-only.qro"), "old");
    ASSERT_EQ(::chmod(dir.path("out/read-only.qro").c_str(), 0444), 0);
    writeBytes(dir.path("out/input.qro"), "input");
    fs::create_symlink(dir.path("victim"), dir.path("out/link.qro"));
    struct stat input;
    ASSERT_EQ(::stat(dir.path("out/input.qro").c_str(), &input), 0);
    GeneratedFolder folder(dir.path("out"));
    folder.protect({{input.st_dev, input.st_ino}});
    ASSERT_TRUE(folder.write("new.qro", kNew));
    struct Row {
        const char* relative;
        RemoveResult result;
    };
    const Row rows[] = {
        {"old.qro", RemoveResult::Removed},    {"link.qro", RemoveResult::Removed},
        {"none.qro", RemoveResult::Absent},    {"no/such/x.qro", RemoveResult::Absent},
        {"read-only.qro", RemoveResult::Kept}, {"input.qro", RemoveResult::Kept},
        {"kept.qro", RemoveResult::Kept},      {"new.qro", RemoveResult::Kept},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.relative);
        EXPECT_EQ(folder.remove(row.relative), row.result);
    }
    EXPECT_EQ(dir.listing(), "out");
    EXPECT_FALSE(fs::exists(dir.path("out/no")));
    EXPECT_EQ(readBytes(dir.path("out/read-only.qro")), "old");
}

// Root replaces another user's file that its owner may write, keeping its mode and owner,
// and keeps one that nobody may write. (Before: root's save over another user's 0600 file
// stopped with "could not be saved", and a batch refused another user's 0644 report.)
TEST(SafeWrite, rootReplacesAnotherUsersWritableFile) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root";
    }
    struct Row {
        const char* name;
        mode_t mode;
        bool batch;
        bool written;
    };
    const Row rows[] = {
        {"save, 0600", 0600, false, true},
        {"batch, 0644", 0644, true, true},
        {"save, 0444", 0444, false, false},
        {"batch, 0444", 0444, true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const TempDir dir;
        const std::string file = dir.path("x.qro");
        writeBytes(file, "old");
        ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0);
        ASSERT_EQ(::chmod(file.c_str(), row.mode), 0);
        const WriteResult result = row.batch
                                       ? GeneratedFolder(dir.dir().string()).write("x.qro", kNew)
                                       : writeFileReplacing(file, kNew);
        EXPECT_EQ(static_cast<bool>(result), row.written) << result.reason();
        EXPECT_EQ(readBytes(file), row.written ? std::string(kNew) : "old");
        struct stat status;
        ASSERT_EQ(::stat(file.c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, row.mode);
        EXPECT_EQ(status.st_uid, 65534u);
    }
}

// The fallback for a folder that lets us create no file writes over the old report
// before cutting its tail: a stop between the two leaves the new bytes, never an empty
// file. (Before: the file was emptied first, so a stop there left 0 bytes.)
TEST(SafeWrite, inPlaceWritesTheNewBytesBeforeCuttingTheOldTail) {
    const TempDir dir;
    const std::string file = dir.path("x.qro");
    writeBytes(file, "a much longer old report\r\n");
    const int fd = ::open(file.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_TRUE(files::overwriteInPlace(fd, kNew));
    EXPECT_EQ(readBytes(file).substr(0, kNew.size()), kNew);
    ASSERT_TRUE(files::overwriteInPlace(fd, kNew, 26));
    EXPECT_EQ(readBytes(file), kNew);
    ::close(fd);
}

}  // namespace
}  // namespace slabrating
