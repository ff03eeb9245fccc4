// The batch tried as a new user and as an attacker would: every failure counted and
// named, outputs tried before the work, and no file left that says something false.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/parts.h"
#include "tests/support/messages.h"
#include "tests/support/support.h"

namespace slabrating::cli {
namespace {

namespace fs = std::filesystem;

using support::kExampleLine;
using support::readBytes;
using support::writeBytes;

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome runTool(const std::vector<std::string>& args, const std::string& input = {}) {
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    const int status = run(args, in, out, err);
    return {status, out.str(), err.str()};
}

// The summary's row of `file`, without its line end; empty when it has none.
std::string rowOf(const std::string& csv, const std::string& file) {
    const std::size_t at = csv.find("\r\n" + file + ',');
    if (at == std::string::npos) {
        return {};
    }
    return csv.substr(at + 2, csv.find("\r\n", at + 2) - at - 2);
}

class Batch : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return m_temp.path(name); }
    void slab(const std::string& name) const {
        fs::create_directories(fs::path(path(name)).parent_path());
        writeBytes(path(name), std::string(kExampleLine) + "\r\n");
    }

    support::TempDir m_temp;
};

// Each input that cannot be read fails on its own line and its own summary row with its
// reason; "File not found." stays the message of a file that is not there. A FIFO, named
// or found in a folder, is refused without being opened, so the batch never waits for its
// writer. (Before: all of these said "File not found.", a dangling link in a folder
// vanished from the run, a FIFO blocked the batch for ever, and the last line did not say
// how many failed.)
TEST_F(Batch, everyFailedInputIsCountedAndNamed) {
    fs::create_directories(path("in"));
    slab("in/good.qri");
    writeBytes(path("in/empty.qri"), "");
    ASSERT_EQ(::mkfifo(path("in/fifo.qri").c_str(), 0644), 0);
    ASSERT_EQ(::mkfifo(path("named.qri").c_str(), 0644), 0);
    fs::create_symlink("nowhere.qri", path("in/dangling.qri"));
    fs::create_symlink("loop.qri", path("in/loop.qri"));
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    const std::string socketPath = path("socket.qri");
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    socketPath.copy(address.sun_path, socketPath.size());
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const std::string tooLong = path(std::string(300, 'n') + ".qri");

    struct Row {
        std::string file;
        std::string message;
        const char* outcome;  // null for the one that rates
    };
    const std::string notRead = "Error: The file could not be read ";
    const std::vector<Row> rows = {
        {path("in/dangling.qri"), support::kFileNotFound, "file not found"},
        {path("in/empty.qri"), notRead + "(empty).", "not read"},
        {path("in/fifo.qri"), notRead + "(not a regular file).", "not read"},
        {path("in/good.qri"), "HS20 operating 6.71 tons", nullptr},
        {path("in/loop.qri"), notRead + "(Too many levels of symbolic links).", "not read"},
        {path("named.qri"), notRead + "(not a regular file).", "not read"},
        {path("socket.qri"), notRead + "(not a regular file).", "not read"},
        {tooLong, notRead + "(File name too long).", "not read"},
        {path("missing.qri"), support::kFileNotFound, "file not found"},
    };
    const Outcome outcome =
        runTool({"--date", "d", "--summary", path("s.csv"), "--out", path("r"), path("in"),
                 path("named.qri"), "--from", "-"},
                path("socket.qri") + '\n' + tooLong + '\n' + path("missing.qri") + '\n');
    ::close(sock);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "1 of 9 files rated, 8 failed, 1 with review findings\n");
    const std::string csv = readBytes(path("s.csv"));
    std::string lines;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        lines += row.file + ": " + row.message + '\n';
        if (row.outcome == nullptr) {
            continue;
        }
        const std::string summaryRow = rowOf(csv, row.file);
        EXPECT_NE(summaryRow.find(std::string(",") + row.outcome + "," + row.message + ","),
                  std::string::npos)
            << summaryRow;
    }
    EXPECT_EQ(outcome.out, lines);
}

// An input that now fails leaves no report or sheet of the run before, as make deletes a
// target whose recipe failed, and its line says so; a sheet that cannot be written takes
// the earlier sheet with it and is named. A second input of the same name removes nothing:
// the report is the first one's. (Before: the earlier report stood beside the new ones as
// if current.)
TEST_F(Batch, aFailingInputRemovesItsEarlierReportAndSheet) {
    slab("a/x.qri");
    slab("a/y.qri");
    slab("b/x.qri");
    ASSERT_EQ(runTool({"--date", "d", "--calc", "--out", path("r"), path("a")}).status, 0);
    writeBytes(path("a/x.qri"), "\r\n");  // now "Invalid input."
    fs::remove(path("r/y.html"));
    fs::create_directories(path("r/y.html"));  // the sheet cannot be written now
    writeBytes(path("r/y.html/keep"), "");
    const Outcome outcome =
        runTool({"--date", "d", "--calc", "--out", path("r"), path("a"), path("b/x.qri")});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out,
              path("a/x.qri") + ": " + support::kInvalidInput +
                  " (its earlier report and sheet removed)\n" + path("a/y.qri") +
                  ": Error: The report was saved, but its calculation sheet y.html could not be "
                  "saved (not a plain file).\n" +
                  path("b/x.qri") +
                  ": Error: Another input file of this batch has the same name.\n");
    EXPECT_FALSE(fs::exists(path("r/x.qro")));
    EXPECT_FALSE(fs::exists(path("r/x.html")));
    EXPECT_TRUE(fs::exists(path("r/y.qro")));
    EXPECT_EQ(outcome.err, "0 of 3 files rated, 3 failed, 1 with review findings\n");
}

// A summary that cannot be written stops the batch before any report is, with status 2:
// its folder is missing, it is read-only or a folder, or a link makes it one of the
// batch's own reports. (Before: this was found out after every file was rated, the last
// line still said "(see the summary)", and the link replaced the report with the summary.)
TEST_F(Batch, outputsAreTriedBeforeAnyReportIsWritten) {
    slab("in/x.qri");
    fs::create_directories(path("r"));
    writeBytes(path("r/x.qro"), "earlier report");
    writeBytes(path("read-only.csv"), "kept");
    ASSERT_EQ(::chmod(path("read-only.csv").c_str(), 0444), 0);
    fs::create_directories(path("folder.csv"));
    fs::create_symlink(path("r/x.qro"), path("link.csv"));
    struct Row {
        std::string summary;
        std::string error;
    };
    const std::vector<Row> rows = {
        {path("none/s.csv"), " cannot be written (folder: No such file or directory)"},
        {path("read-only.csv"), " cannot be written (read-only)"},
        {path("folder.csv"), " cannot be written (not a plain file)"},
        {path("link.csv"), " would take the place of a report or sheet of this batch"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.summary);
        const Outcome outcome =
            runTool({"--date", "d", "--summary", row.summary, "--out", path("r"), path("in")});
        EXPECT_EQ(outcome.status, 2);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err.substr(0, outcome.err.find('\n')),
                  "slabrating-cli: --summary " + row.summary + row.error);
        EXPECT_EQ(readBytes(path("r/x.qro")), "earlier report");
    }
    EXPECT_EQ(readBytes(path("read-only.csv")), "kept");
    EXPECT_EQ(m_temp.listing(), "folder.csv in link.csv r read-only.csv");
}

// The real tool, started with its standard output and error in files (or a pipe).
pid_t startTool(const std::vector<std::string>& args, int out, int err) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(out, STDOUT_FILENO);
        ::dup2(err, STDERR_FILENO);
        std::vector<char*> argv = {const_cast<char*>(SLABRATING_CLI)};
        for (const std::string& arg : args) {
            argv.push_back(const_cast<char*>(arg.c_str()));
        }
        argv.push_back(nullptr);
        ::execv(SLABRATING_CLI, argv.data());
        ::_exit(127);
    }
    return child;
}

// Stopped with SIGTERM halfway, a batch says how far it got and that the summary was not
// written, sets the earlier summary aside so that it cannot pass for this run's, leaves no
// temporary and ends by the signal. (Before: no message, and the previous run's summary
// stayed beside a folder of mixed old and new reports.)
TEST_F(Batch, aStoppedBatchSaysSoAndSetsTheEarlierSummaryAside) {
    for (int i = 0; i < 4000; ++i) {
        slab("in/s" + std::to_string(i) + ".qri");
    }
    writeBytes(path("s.csv"), "earlier summary");
    const int out = ::open(path("out.txt").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    const int err = ::open(path("err.txt").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    const pid_t child = startTool(
        {"--date", "d", "--calc", "--summary", path("s.csv"), "--out", path("r"), path("in")}, out,
        err);
    while (fs::file_size(path("out.txt")) < 4096) {
        ::usleep(1000);
    }
    ::kill(child, SIGTERM);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(out);
    ::close(err);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the batch ended before the signal came";
    EXPECT_EQ(WTERMSIG(status), SIGTERM);
    const std::string said = readBytes(path("err.txt"));
    EXPECT_EQ(said.rfind("slabrating-cli: stopped by SIGTERM after ", 0), 0u) << said;
    EXPECT_NE(
        said.find(" of 4000 files; --summary " + path("s.csv") +
                  " was not written (the earlier one is now " + path("s.csv") + ".incomplete)\n"),
        std::string::npos)
        << said;
    EXPECT_EQ(readBytes(path("s.csv.incomplete")), "earlier summary");
    EXPECT_FALSE(fs::exists(path("s.csv")));
    for (const auto& entry : fs::directory_iterator(path("r"))) {
        EXPECT_NE(entry.path().filename().string().rfind(".slabrating-", 0), 0u) << entry.path();
    }
}

// A reader of standard output that goes away (| head) ends the batch cleanly: the
// reports written are whole, the summary lists the files done, and standard error says
// standard output closed. (Before: SIGPIPE killed the batch without a word or a summary.)
TEST_F(Batch, aClosedStandardOutputEndsTheBatchCleanly) {
    for (int i = 0; i < 3000; ++i) {
        slab("in/s" + std::to_string(i) + ".qri");
    }
    int pipe[2];
    ASSERT_EQ(::pipe2(pipe, O_CLOEXEC), 0);
    const int err = ::open(path("err.txt").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    const pid_t child = startTool(
        {"--date", "d", "--summary", path("s.csv"), "--out", path("r"), path("in")}, pipe[1], err);
    ::close(pipe[1]);
    char first[16];
    ASSERT_GT(::read(pipe[0], first, sizeof first), 0);
    ::close(pipe[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(err);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    const std::string said = readBytes(path("err.txt"));
    EXPECT_EQ(said.rfind("slabrating-cli: standard output closed after ", 0), 0u) << said;
    const std::string csv = readBytes(path("s.csv"));
    const std::size_t rows = static_cast<std::size_t>(std::count(csv.begin(), csv.end(), '\n'));
    EXPECT_NE(said.find("\n" + std::to_string(rows - 1) + " of 3000 files rated, 0 failed, "),
              std::string::npos)
        << said;
    for (const auto& entry : fs::directory_iterator(path("r"))) {
        EXPECT_EQ(fs::file_size(entry.path()), fs::file_size(path("r/s0.qro")));
    }
}

}  // namespace
}  // namespace slabrating::cli
