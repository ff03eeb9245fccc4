#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/parts.h"
#include "cli/progress.h"
#include "tests/support/messages.h"
#include "tests/support/support.h"

namespace slabrating::cli {
namespace {

namespace fs = std::filesystem;

// The line that follows a usage error's own.
const std::string kTryHelp = "Try 'slabrating-cli --help'.\n";

using support::kExampleLine;
using support::writeBytes;

const std::vector<std::string> kExampleSettings = {
    "--set", "LoadType=1",
    "--set", "StructNo=B-12-AC",
    "--set", "Rater=JD",
    "--set", "Hwy=50",
    "--set", "Comments=SH 50 OVER CREEK",
    "--set", "EffSpan=18.5",
    "--set", "SlabThick=14",
    "--set", "StDistTop=12.5",
    "--set", "StAreaTop=0.31",
    "--set", "Bitum=2",
    "--set", "Concfc=3000",
    "--set", "SteelFy=40000",
    "--set", "StDistBot=1.5",
    "--set", "STAreaBot=0.6",
};

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

std::vector<std::string> concat(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A fresh folder per test, removed afterwards.
class CliDisk : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return m_temp.path(name); }

    support::TempDir m_temp;
    const fs::path& m_dir = m_temp.dir();
};

// ---------------------------------------------------------------- arguments

TEST(CliArgs, acceptedCommandLines) {
    struct Row {
        const char* name;
        std::vector<std::string> args;
        std::vector<std::pair<std::string, std::string>> settings;
        std::vector<std::string> files;
        const char* date;       // nullptr: none
        const char* saveInput;  // nullptr: none
        const char* outDir;     // nullptr: none
    };
    const Row rows[] = {
        {"nothing: rate blank fields", {}, {}, {}, nullptr, nullptr, nullptr},
        {"one file", {"a.qri"}, {}, {"a.qri"}, nullptr, nullptr, nullptr},
        {"date and settings in order",
         {"--date", "1/2/2024", "--set", "EffSpan=18.5", "--set", "EffSpan=20", "--set",
          "LoadType=2"},
         {{"EffSpan", "18.5"}, {"EffSpan", "20"}, {"LoadType", "2"}},
         {},
         "1/2/2024",
         nullptr,
         nullptr},
        {"text after the first = belongs to the value",
         {"--set", "Comments=A=B"},
         {{"Comments", "A=B"}},
         {},
         nullptr,
         nullptr,
         nullptr},
        {"empty value", {"--set", "ModRatio="}, {{"ModRatio", ""}}, {}, nullptr, nullptr, nullptr},
        {"value that looks like an option",
         {"--set", "Bitum=-2", "--date", "--x"},
         {{"Bitum", "-2"}},
         {},
         "--x",
         nullptr,
         nullptr},
        {"save input after reading a file",
         {"a.qri", "--set", "Rater=JD", "--save-input", "b.qri"},
         {{"Rater", "JD"}},
         {"a.qri"},
         nullptr,
         "b.qri",
         nullptr},
        {"batch",
         {"--date", "d", "--out", "dir", "a.qri", "b.qri", "c.qri"},
         {},
         {"a.qri", "b.qri", "c.qri"},
         "d",
         nullptr,
         "dir"},
        {"file after --", {"--", "--odd.qri"}, {}, {"--odd.qri"}, nullptr, nullptr, nullptr},
        {"dash reads standard input", {"-"}, {}, {"-"}, nullptr, nullptr, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ParseResult parsed = parseArgs(row.args);
        ASSERT_TRUE(parsed.options.has_value()) << parsed.error;
        EXPECT_EQ(parsed.error, "");
        const Options& o = *parsed.options;
        ASSERT_EQ(o.settings.size(), row.settings.size());
        for (std::size_t i = 0; i < row.settings.size(); ++i) {
            EXPECT_EQ(o.settings[i].name, row.settings[i].first);
            EXPECT_EQ(o.settings[i].text, row.settings[i].second);
        }
        EXPECT_EQ(o.files, row.files);
        EXPECT_EQ(o.date.value_or("<none>"), row.date ? row.date : "<none>");
        EXPECT_EQ(o.saveInput.value_or("<none>"), row.saveInput ? row.saveInput : "<none>");
        EXPECT_EQ(o.outDir.value_or("<none>"), row.outDir ? row.outDir : "<none>");
    }
}

TEST(CliArgs, usageErrors) {
    struct Row {
        const char* name;
        std::vector<std::string> args;
        const char* error;
    };
    const Row rows[] = {
        {"unknown option", {"--bogus"}, "unknown option --bogus"},
        {"unknown short option", {"-x"}, "unknown option -x"},
        {"unknown field", {"--set", "Span=20"}, "unknown field Span"},
        {"field names are case-sensitive", {"--set", "effspan=20"}, "unknown field effspan"},
        {"no = in --set", {"--set", "EffSpan"}, "--set needs NAME=TEXT, not EffSpan"},
        {"load type 3", {"--set", "LoadType=3"}, "LoadType must be 0, 1 or 2, not 3"},
        {"load type blank", {"--set", "LoadType="}, "LoadType must be 0, 1 or 2, not "},
        {"load type with blanks", {"--set", "LoadType= 1"}, "LoadType must be 0, 1 or 2, not  1"},
        {"--date without a value", {"--date"}, "--date needs a value"},
        {"--set without a value", {"--set"}, "--set needs a value"},
        {"--save-input without a value", {"--save-input"}, "--save-input needs a value"},
        {"--out without a value", {"--out"}, "--out needs a value"},
        {"two dates", {"--date", "a", "--date", "b"}, "--date given twice"},
        {"two files without --out", {"a.qri", "b.qri"}, "more than one input file needs --out DIR"},
        {"--out without files", {"--out", "dir"}, "--out needs at least one input file"},
        {"--out with --set",
         {"--out", "dir", "--set", "Bitum=2", "a.qri"},
         "--out takes no --set or --save-input"},
        {"--out with --save-input",
         {"--out", "dir", "--save-input", "b.qri", "a.qri"},
         "--out takes no --set or --save-input"},
        {"--out with an empty folder name", {"--out", "", "a.qri"}, "--out needs a folder name"},
        {"standard input in a batch",
         {"--out", "dir", "a.qri", "-"},
         "standard input (-) is for a single run, not for --out"},
        {"unknown format", {"--format", "xml"}, "--format must be report or json, not xml"},
        {"JSON for a batch",
         {"--format", "json", "--out", "dir", "a.qri"},
         "--format json is for a single run; a batch has --summary"},
        {"summary without a batch", {"--summary", "s.csv", "a.qri"}, "--summary needs --out DIR"},
        {"summary of another kind",
         {"--summary", "s.txt", "--out", "dir", "a.qri"},
         "--summary needs a file name ending in .csv or .jsonl, not s.txt"},
        {"summary named like an input file",
         {"--summary", "a.csv", "--out", "dir", "a.csv"},
         "--summary a.csv is an input file"},
        {"sheet without its file in a single run",
         {"--calc", "a.qri"},
         "--calc needs a file name ending in .html for a single run"},
        {"sheet file in a batch",
         {"--calc", "x.html", "--out", "dir", "a.qri"},
         "--calc takes no file with --out: each sheet goes beside its report"},
        {"sheet named like the input file",
         {"--calc", "a.html", "a.html"},
         "--calc a.html is the input file"},
        {"save input with a format",
         {"--format", "json", "--save-input", "b.qri"},
         "--save-input writes the fields instead of rating them: no --format or --calc"},
        {"a character Latin-1 cannot hold",
         {"--set", "StructNo=\u0416"},
         "StructNo: holds a character that the input record cannot hold (Latin-1 text only)"},
        {"a byte sequence that is no character",
         {"--date", "\xC3"},
         "--date: holds a character that the input record cannot hold (Latin-1 text only)"},
        {"a list without a batch", {"--from", "list.txt"}, "--from needs --out DIR"},
        {"two lists from standard input",
         {"--out", "dir", "--from", "-", "--from0", "-"},
         "--from and --from0 cannot both read standard input"},
        {"progress of a single run",
         {"--progress"},
         "--progress and --no-progress are for a batch (--out DIR)"},
        {"progress forced both ways",
         {"--progress", "--no-progress", "--out", "dir", "a.qri"},
         "--progress or --no-progress given twice"},
    };
    // Arguments are decoded from the locale's character set, UTF-8 here.
    ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ParseResult parsed = parseArgs(row.args);
        EXPECT_FALSE(parsed.options.has_value());
        EXPECT_EQ(parsed.error, row.error);

        const Outcome outcome = runTool(row.args);
        EXPECT_EQ(outcome.status, 2);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err, "slabrating-cli: " + std::string(row.error) + "\n" + kTryHelp);
    }
}

// Texts are characters of the user's locale, stored as the record's Latin-1 bytes, so a
// four-character text takes four columns. (Before: "ÄÄÄÄ" went in as eight UTF-8 bytes,
// overflowing the seven-column field with half a character.)
TEST_F(CliDisk, textsAreDecodedFromTheLocaleIntoLatin1) {
    ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr);
    const Outcome outcome = runTool({"--set", "StructNo=\u00C4\u00C4\u00C4\u00C4", "--set",
                                     "Rater=\u00E9", "--save-input", path("x.qri")});
    std::setlocale(LC_CTYPE, "C");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(support::readBytes(path("x.qri")).substr(0, 11), "0   \xC4\xC4\xC4\xC4  \xE9");
}

TEST(CliArgs, helpGoesToStandardOutput) {
    const Outcome outcome = runTool({"--help"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, usage());
    EXPECT_EQ(outcome.err, "");
}

// ---------------------------------------------------------------- one rating

TEST(CliRun, notNumericFieldWritesNoReport) {
    struct Row {
        const char* name;
        std::vector<std::string> args;
        std::string message;
    };
    const Row rows[] = {
        {"blank fields stop at the overlay", {}, support::notNumeric("Bitum")},
        {"later --set wins", concat(kExampleSettings, {"--set", "Bitum=two"}),
         support::notNumeric("Bitum")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Outcome outcome = runTool(concat({"--date", "01/02/2024"}, row.args));
        EXPECT_EQ(outcome.status, 1);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err, std::string(row.message) + "\n");
    }
}

TEST(CliRun, rangeFailureWritesTheHeaderAndTheWholeMessage) {
    const Outcome outcome = runTool(
        concat(concat({"--date", "01/02/2024"}, kExampleSettings), {"--set", "EffSpan=1.99"}));
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out,
              "Slab Rating Version 2     Date: 01/02/2024\r\n"
              "\r\n"
              " Structure NO. B-12-AC     Rater: JD      State HWY NO. = 50 \r\n"
              "     Batch ID=         Description: SH 50 OVER CREEK     \r\n");
    EXPECT_EQ(outcome.err, support::kSpanUnder2 + "\n");
}

TEST(CliRun, arithmeticFaultStopsWithItsMessage) {
    // f'c of 0 in a load factor run divides by zero when the modular ratio is derived.
    const Outcome outcome =
        runTool(concat(concat({"--date", "d"}, kExampleSettings), {"--set", "Concfc=0"}));
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.out.find(" LOAD FACTOR RATING-COMP STEEL NOT USED\r\n"), std::string::npos);
    EXPECT_EQ(outcome.out.find(" INPUT DATA"), std::string::npos);
    // The review of the inputs still follows the stopped run: f'c of 0 is a finding.
    EXPECT_EQ(outcome.err.rfind(support::kArithmeticFault + "\nwarning: Concrete Fc of 0 psi", 0),
              0)
        << outcome.err;
}

TEST(CliRun, reportThatCannotBeWrittenIsAFailure) {
    // A full disk or a closed pipe must not pass for a complete rating.
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    out.setstate(std::ios::badbit);
    EXPECT_EQ(run(concat({"--date", "d"}, kExampleSettings), in, out, err), 1);
    const std::string failed = "Error: the output could not be written.\n";
    EXPECT_TRUE(err.str().ends_with(failed)) << err.str();
}

TEST(CliRun, defaultDateIsTodaysShortDate) {
    const std::string today = todayShortDate();
    EXPECT_FALSE(today.empty());
    EXPECT_EQ(today.find(':'), std::string::npos) << "a date without a time: " << today;
    const Outcome outcome = runTool(concat(kExampleSettings, {"--set", "EffSpan=1"}));
    EXPECT_EQ(outcome.out.substr(0, outcome.out.find("\r\n")),
              "Slab Rating Version 2     Date: " + today);
}

TEST_F(CliDisk, stoppedReaderEndsWithoutRating) {
    writeBytes(path("empty-line.qri"), "\r\n" + std::string(kExampleLine) + "\r\n");
    writeBytes(path("no-bytes.qri"), "");
    struct Row {
        const char* name;
        std::string file;
        std::string message;
    };
    const Row rows[] = {
        {"missing file", path("missing.qri"), support::kFileNotFound},
        {"file with no bytes", path("no-bytes.qri"), support::kFileNotFound},
        {"empty first line", path("empty-line.qri"), support::kInvalidInput},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Outcome outcome = runTool(concat(kExampleSettings, {"--date", "d", row.file}));
        EXPECT_EQ(outcome.status, 1);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err, std::string(row.message) + "\n");
    }
}

TEST_F(CliDisk, readerMessagesThenSettingsThenRun) {
    // Load type 0 and a bad overlay: both reader messages, in order; --set then mends the overlay.
    std::string line(kExampleLine);
    line[0] = '0';
    line.replace(59, 4, "2.x0");
    writeBytes(path("slab.qri"), line + "\n");
    const Outcome outcome = runTool({"--date", "d", path("slab.qri"), "--set", "EffSpan=30"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, support::kLoadTypeWarning + "\n" + support::readIncorrect("Bitum") +
                               "\n" + support::notNumeric("Bitum") + "\n");

    const Outcome mended =
        runTool({"--date", "d", path("slab.qri"), "--set", "Bitum=2", "--set", "EffSpan=30"});
    EXPECT_EQ(mended.status, 1);
    EXPECT_EQ(mended.err, support::kLoadTypeWarning + "\n" + support::readIncorrect("Bitum") +
                              "\n" + support::kSpanOver24 +
                              "\nnote: No load type was chosen, so the legal trucks are those of "
                              "the Interstate series.\n");
}

TEST_F(CliDisk, saveInputWritesTheRecord) {
    const Outcome outcome = runTool(concat(kExampleSettings, {"--save-input", path("out.qri")}));
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, "");
    EXPECT_EQ(support::readBytes(path("out.qri")), std::string(kExampleLine) + "\r\n");

    // Read back, one field changed, saved again.
    const Outcome again = runTool({path("out.qri"), "--set", "EffSpan=12.3456", "--set",
                                   "LoadType=0", "--save-input", path("again.qri")});
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(again.err, "");
    std::string expected(kExampleLine);
    expected[0] = '0';
    expected.replace(41, 5, "12346");
    EXPECT_EQ(support::readBytes(path("again.qri")), expected + "\r\n");
}

TEST_F(CliDisk, saveInputFailures) {
    writeBytes(path("old.qri"), "old\r\n");
    writeBytes(path("read-only.qri"), "old\r\n");
    fs::permissions(path("read-only.qri"), fs::perms::owner_read | fs::perms::group_read);
    struct Row {
        const char* name;
        std::vector<std::string> args;
        std::string target;
        std::string message;
    };
    const Row rows[] = {
        {"value too large",
         {"--set", "Concfc=12000"},
         path("old.qri"),
         support::doesNotFit(&SlabFields::Concfc, "12000")},
        {"negative value",
         {"--set", "ModRatio=-1"},
         path("old.qri"),
         support::doesNotFit(&SlabFields::ModRatio, "-1")},
        {"target is a folder", {}, m_dir.string(), support::kSaveFailed},
        {"folder missing", {}, path("none/x.qri"), support::kSaveFailed},
        // Kept as cp keeps it, for root too. (Before: the read-only file was replaced.)
        {"read-only file", {}, path("read-only.qri"), support::kSaveFailed},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Outcome outcome =
            runTool(concat(concat(kExampleSettings, row.args), {"--save-input", row.target}));
        EXPECT_EQ(outcome.status, 1);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err, std::string(row.message) + "\n");
        EXPECT_EQ(support::readBytes(path("old.qri")), "old\r\n");
        EXPECT_EQ(support::readBytes(path("read-only.qri")), "old\r\n");
    }
}

TEST(CliRun, dashReadsStandardInput) {
    const Outcome outcome = runTool(
        {"-", "--save-input", (fs::temp_directory_path() / "slabrating-cli-stdin.qri").string()},
        std::string(kExampleLine) + "\r\n");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.err, "");
    EXPECT_EQ(support::readBytes(fs::temp_directory_path() / "slabrating-cli-stdin.qri"),
              std::string(kExampleLine) + "\r\n");
    fs::remove(fs::temp_directory_path() / "slabrating-cli-stdin.qri");

    EXPECT_EQ(runTool({"-"}, "").err, support::kFileNotFound + "\n");
    EXPECT_EQ(runTool({"-"}, "\n").err, support::kInvalidInput + "\n");
}

// Standard input is read up to the record's line end and no further, so a record piped
// in by a program that goes on, or typed at a terminal, is rated at once. (Before: the
// tool waited for 256 bytes or the end of the input.)
TEST(CliRun, standardInputIsReadToTheFirstLineEndOnly) {
    // Input that fails the test when anything past the first line end is asked for.
    class OneLine : public std::streambuf {
    public:
        explicit OneLine(std::string line) : m_line(std::move(line)) {
            setg(m_line.data(), m_line.data(), m_line.data() + m_line.size());
        }

    protected:
        int_type underflow() override {
            ADD_FAILURE() << "read past the record";
            return traits_type::eof();
        }

    private:
        std::string m_line;
    };
    for (const char* end : {"\r", "\n"}) {
        OneLine line(std::string(kExampleLine) + end);
        std::istream in(&line);
        std::ostringstream out, err;
        EXPECT_EQ(run({"--date", "d", "-"}, in, out, err), 0);
    }
    OneLine whole((std::string(kExampleLine)));  // 80 columns, its line end still to come
    std::istream in(&whole);
    std::ostringstream out, err;
    EXPECT_EQ(run({"--date", "d", "-"}, in, out, err), 0);
}

// ---------------------------------------------------------------- batch

TEST_F(CliDisk, batchReportsEveryFileAndWritesOnlyCompleteReports) {
    std::string badOverlay(kExampleLine);
    badOverlay.replace(59, 4, "2.x0");
    std::string longSpan(kExampleLine);
    longSpan.replace(41, 5, "30000");
    writeBytes(path("bad-overlay.qri"), badOverlay + "\r\n");
    writeBytes(path("long-span.qri"), longSpan + "\r\n");
    writeBytes(path("empty-line.qri"), "\r\n");
    const std::string out = path("reports");

    const Outcome outcome =
        runTool({"--date", "d", "--out", out, path("bad-overlay.qri"), path("missing.qri"),
                 path("long-span.qri"), path("empty-line.qri")});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, path("bad-overlay.qri") + ": " + support::notNumeric("Bitum") + "\n" +
                               path("missing.qri") + ": " + support::kFileNotFound + "\n" +
                               path("long-span.qri") + ": " + support::kSpanOver24 + "\n" +
                               path("empty-line.qri") + ": " + support::kInvalidInput + "\n");
    EXPECT_EQ(outcome.err, path("bad-overlay.qri") + ": " + support::readIncorrect("Bitum") +
                               "\n0 of 4 files rated, 4 failed, 0 with review findings\n");
    EXPECT_TRUE(fs::is_directory(out));
    EXPECT_TRUE(fs::is_empty(out));
}

TEST_F(CliDisk, batchWritesTheReportFileOfACompleteRun) {
    writeBytes(path("B-12-AC.qri"), std::string(kExampleLine) + "\r\n");
    const Outcome outcome =
        runTool({"--date", "01/02/2024", "--out", path("reports"), path("B-12-AC.qri")});
    EXPECT_EQ(outcome.status, 0);
    // The example's legal trucks rate below their weights; the review line closes the batch.
    EXPECT_EQ(outcome.err, "1 of 1 files rated, 0 failed, 1 with review findings\n");

    // The same rating as a single run: the report file is that report and a final CR LF.
    const Outcome single = runTool({"--date", "01/02/2024", path("B-12-AC.qri")});
    ASSERT_EQ(single.status, 0);
    const std::string saved = support::readBytes(path("reports/B-12-AC.qro"));
    EXPECT_EQ(saved, single.out + "\r\n");
    // The record of examples/lf-state-trucks.qro, whose HS20 table ends in 6.71 tons.
    EXPECT_EQ(outcome.out, path("B-12-AC.qri") + ": HS20 operating 6.71 tons\n");

    // Rating again replaces the report file and leaves nothing else behind.
    EXPECT_EQ(
        runTool({"--date", "01/02/2024", "--out", path("reports"), path("B-12-AC.qri")}).status, 0);
    EXPECT_EQ(support::readBytes(path("reports/B-12-AC.qro")), saved);
    EXPECT_EQ(std::distance(fs::directory_iterator(path("reports")), fs::directory_iterator()), 1);
}

// Each input claims its report file: a second input of the same name is stopped instead of
// overwriting the first one's report, and a name with a line end stays on its own line.
// A link planted at a report's name is replaced, never followed. (Before: b/x.qri silently
// replaced a/x.qri's report, a name with a line end broke the output into two lines, and
// the report went through the link into the file it named.) The record is the example of
// examples/lf-state-trucks.qro, whose HS20 operating rating is 6.71 tons.
TEST_F(CliDisk, batchNamesAreClaimedQuotedAndNeverFollowed) {
    fs::create_directories(path("a"));
    fs::create_directories(path("b"));
    fs::create_directories(path("reports"));
    for (const char* name : {"a/x.qri", "b/x.qri", "a/n\nl.qri"}) {
        writeBytes(path(name), std::string(kExampleLine) + "\r\n");
    }
    writeBytes(path("victim.conf"), "victim");
    fs::create_symlink(path("victim.conf"), path("reports/n\nl.qro"));

    const Outcome outcome = runTool({"--date", "d", "--out", path("reports"), path("a/x.qri"),
                                     path("b/x.qri"), path("a/n\nl.qri")});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, path("a/x.qri") + ": HS20 operating 6.71 tons\n" + path("b/x.qri") +
                               ": Error: Another input file of this batch has the same name.\n'" +
                               path("a/n") + "'$'\\n''l.qri': HS20 operating 6.71 tons\n");
    EXPECT_EQ(support::readBytes(path("victim.conf")), "victim");
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(path("reports/n\nl.qro"))));
    EXPECT_EQ(support::readBytes(path("reports/x.qro")),
              support::readBytes(path("reports/n\nl.qro")));
}

// A report never takes the place of an input file of its batch.
TEST_F(CliDisk, batchNeverOverwritesAnInputFile) {
    writeBytes(path("x.qro"), std::string(kExampleLine) + "\r\n");
    const Outcome outcome = runTool({"--date", "d", "--out", m_dir.string(), path("x.qro")});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, path("x.qro") + ": " + support::kSaveFailed + "\n");
    EXPECT_EQ(support::readBytes(path("x.qro")), std::string(kExampleLine) + "\r\n");
}

TEST_F(CliDisk, batchReportFileThatCannotBeWritten) {
    writeBytes(path("slab.qri"), std::string(kExampleLine) + "\r\n");
    fs::create_directories(path("reports/slab.qro"));  // a folder where the report should go
    const Outcome outcome = runTool({"--date", "d", "--out", path("reports"), path("slab.qri")});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, path("slab.qri") + ": " + support::kSaveFailed + "\n");
}

// ---------------------------------------------------------------- inputs, summary, progress

// A folder is walked for its .qri files in byte order, each report at the same place
// under DIR; a list adds its paths, an empty line skipped with a note; names with line
// ends come through --from0. The per-file lines are those of inputs named one by one.
// (Before: a folder was "File not found.", and b/x.qri stopped as a/x.qri's namesake.)
TEST_F(CliDisk, listsAndFoldersGiveTheirInputFiles) {
    for (const char* name : {"inv/b/x.qri", "inv/a/x.qri", "inv/top.QRI", "n\nl.qri"}) {
        fs::create_directories(fs::path(path(name)).parent_path());
        writeBytes(path(name), std::string(kExampleLine) + "\r\n");
    }
    writeBytes(path("inv/a/notes.txt"), "not an input");
    writeBytes(path("list.txt"), path("inv") + "\n\n" + path("missing.qri") + "\r\n");
    const std::string ok = ": HS20 operating 6.71 tons\n";
    Outcome outcome = runTool({"--date", "d", "--out", path("r"), "--from", path("list.txt")});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, path("inv/a/x.qri") + ok + path("inv/b/x.qri") + ok +
                               path("inv/top.QRI") + ok + path("missing.qri") + ": " +
                               support::kFileNotFound + "\n");
    EXPECT_EQ(outcome.err, "slabrating-cli: --from " + path("list.txt") +
                               ": line 2 is empty, skipped\n"
                               "3 of 4 files rated, 1 failed, 3 with review findings\n");
    for (const char* report : {"r/a/x.qro", "r/b/x.qro", "r/top.qro"}) {
        EXPECT_EQ(support::readBytes(path(report)), support::readBytes(path("r/a/x.qro")));
    }

    outcome = runTool({"--date", "d", "--out", path("r0"), path("inv/a/x.qri"), "--from0", "-"},
                      path("inv/b/x.qri") + '\0' + path("n\nl.qri") + '\0');
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, path("inv/a/x.qri") + ok + path("inv/b/x.qri") +
                               ": Error: Another input file of this batch has the same name.\n'" +
                               path("n") + "'$'\\n''l.qri'" + ok);
}

TEST_F(CliDisk, badListsAndFoldersAreUsageErrors) {
    fs::create_directories(path("empty/sub"));
    fs::create_directories(path("folder"));
    writeBytes(path("folder/x.qri"), std::string(kExampleLine) + "\r\n");
    writeBytes(path("empty.txt"), "");
    writeBytes(path("blank.txt"), "\n\n");
    writeBytes(path("nul.txt"), path("folder/x.qri") + "\n" + std::string("a\0b\n", 4));
    struct Row {
        const char* name;
        std::vector<std::string> args;
        std::string input;
        std::string notes;
        std::string error;
    };
    const std::vector<Row> rows = {
        {"folder without --out",
         {path("folder")},
         "",
         "",
         path("folder") + " is a folder: rating its .qri files needs --out DIR"},
        {"folder without an input file",
         {"--out", path("r"), path("empty")},
         "",
         "",
         path("empty") + " holds no .qri file"},
        {"missing list",
         {"--out", path("r"), "--from", path("none.txt")},
         "",
         "",
         "--from " + path("none.txt") + " cannot be read"},
        {"empty list",
         {"--out", path("r"), "--from", path("empty.txt")},
         "",
         "",
         "--from " + path("empty.txt") + " names no input file"},
        {"list of empty lines",
         {"--out", path("r"), "--from", path("blank.txt")},
         "",
         "slabrating-cli: --from " + path("blank.txt") + ": line 1 is empty, skipped\n" +
             "slabrating-cli: --from " + path("blank.txt") + ": line 2 is empty, skipped\n",
         "--from " + path("blank.txt") + " names no input file"},
        {"NUL in a line",
         {"--out", path("r"), "--from", path("nul.txt")},
         "",
         "",
         "--from " + path("nul.txt") +
             ": line 2 holds a NUL byte (names ended by NUL bytes need --from0)"},
        {"empty list on standard input",
         {"--out", path("r"), "--from0", "-"},
         "",
         "",
         "--from0 - names no input file"},
        {"summary among the listed inputs",
         {"--summary", path("s.csv"), "--out", path("r"), "--from", "-"},
         path("s.csv") + "\n",
         "",
         "--summary " + path("s.csv") + " is an input file"},
    };
    writeBytes(path("s.csv"), "kept");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Outcome outcome = runTool(row.args, row.input);
        EXPECT_EQ(outcome.status, 2);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err, row.notes + "slabrating-cli: " + row.error + "\n" + kTryHelp);
    }
    EXPECT_FALSE(fs::exists(path("r")));
    EXPECT_EQ(support::readBytes(path("s.csv")), "kept");
}

// The CSV summary: one legal rating factor beside the three trucks' tons and the engine's
// controlling truck, review_for_posting yes or no on every rated row and empty where the
// file did not rate, the findings' codes, and why a file was not written. A report that
// exists read-only is kept; a sheet that cannot be written says so, the report written.
TEST_F(CliDisk, summaryRowsSayWhatEachFileGave) {
    const std::vector<support::Example> all = support::examples();
    fs::create_directories(path("r/ws-slab.html"));  // a folder where a sheet should go
    writeBytes(path("r/ws-interstate-trucks.qro"), "kept");
    fs::permissions(path("r/ws-interstate-trucks.qro"), fs::perms::owner_read);
    const std::vector<std::string> inputs = {all[0].input.string(), all[2].input.string(),
                                             all[3].input.string(), path("missing.qri")};
    const Outcome outcome = runTool(
        concat({"--date", "12/07/2026", "--rating-date", "2026-12-08", "--calc", "--summary",
                path("s.csv"), "--inventory", path("inv.csv"), "--out", path("r")},
               inputs));
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, inputs[0] + ": HS20 operating 6.71 tons\n" + inputs[1] + ": " +
                               support::kSaveFailed + "\n" + inputs[2] +
                               ": Error: The report was saved, but its calculation sheet "
                               "ws-slab.html could not be saved (not a plain file).\n" +
                               inputs[3] + ": " + support::kFileNotFound + "\n");
    EXPECT_EQ(support::readBytes(path("r/ws-interstate-trucks.qro")), "kept");
    EXPECT_EQ(support::readBytes(path("r/ws-slab.qro")), support::engineReport(all[3]));
    EXPECT_EQ(
        support::readBytes(path("s.csv")),
        "file,structure_number,highway,batch_id,rater,method,status,inventory_section,"
        "operating_section,hs20_inventory_rf,hs20_operating_rf,hs20_inventory_tons,"
        "hs20_operating_tons,legal_series,legal_rf,truck_3_tons,truck_3s2_tons,truck_3_2_tons,"
        "controlling_truck,review_for_posting,rating_date,posting_policy,truck_3_operating_rf,"
        "truck_3s2_operating_rf,truck_3_2_operating_rf,ev2_operating_rf,ev3_operating_rf,"
        "posting_action,posting_sign,posting_value_tons,findings,outcome,message,"
        "write_error\r\n" +
            inputs[0] +
            // EV2 0.186 x 16 / 16.75 = 0.178, EV3 x 16 / 15.5 = 0.192; 8.05 tons signed 8.
            ",B-12-AC,50,,JD,LF,rated,over the girders,over the girders,0.112,0.186,4.03,6.71,"
            "state,0.298,8.05,12.67,12.67,3,yes,20261208,built-in,0.298,0.298,0.298,0.178,0.192,"
            "post,R12-5,8,top-steel-below-minimum below-legal-weight legal-load-below-one,"
            "complete,,\r\n" +
            inputs[1] +
            ",C-417,281,WS2026,MK,WS,rated,over the girders,over the girders,0.100,0.289,3.61,"
            "10.41,interstate,0.514,12.34,19.53,20.05,3,yes,20261208,built-in,0.514,0.514,0.514,"
            "0.276,0.298,post,R12-5,12,below-legal-weight legal-load-below-one,not saved,"
            "Error: The file could not be saved.,"
            "read-only\r\n" +
            inputs[2] +
            ",W-2002,35,,RS,WS,rated,over the girders,over the girders,0.743,1.120,26.76,40.32,,,,"
            ",,,no,20261208,built-in,1.792,1.792,1.792,1.070,1.156,none,,,,not saved,"
            "\"Error: The report was saved, but its calculation sheet ws-slab.html could not "
            "be saved (not a plain file).\",calculation sheet ws-slab.html: not a plain file\r\n" +
            inputs[3] +
            ",,,,,,stopped,,,,,,,,,,,,,,,,,,,,,,,,,file not found,File not found.,\r\n");
    EXPECT_EQ(outcome.err, "1 of 4 files rated, 3 failed, 2 with review findings\n");
    // The inventory items, worked from the figures above: B.LR.05 to 07 rounded down to two
    // decimals; items 64 and 66 RF x 32.4 t to a tenth (0.186 x 32.4 = 6.03: 060); item 70
    // from the trucks' 0.298, 70.2 % below: 0. The missing file has blank items and N.
    EXPECT_EQ(support::readBytes(path("inv.csv")),
              "structure_number,file,member,B.LR.03,B.LR.04,B.LR.05,B.LR.06,B.LR.07,item_63,"
              "item_64,item_65,item_66,item_70\r\nB-12-AC," +
                  inputs[0] + ",deck strip,20261208,LFR,0.11,0.18,0.17,1,060,1,036,0\r\nC-417," +
                  inputs[1] + ",deck strip,20261208,ASR,0.10,0.28,0.27,2,093,2,032,0\r\nW-2002," +
                  inputs[2] + ",deck strip,20261208,ASR,0.74,1.12,1.06,2,362,2,240,5\r\n," +
                  inputs[3] + ",deck strip,,N,,,,,,,,\r\n");
    const std::string legal = support::readBytes(path("inv-legal-loads.csv"));
    EXPECT_EQ(legal.substr(0, legal.find('\n') + 1),
              "structure_number,file,B.EP.01,B.EP.02,B.EP.03,B.EP.04\r\n");
    // lf-state-trucks: 0.298 x 27 = 8.05 and x 42.5 = 12.67 tons; EV2 0.178: single axle
    // x 16.75 = 2.98, EV3 0.192 x 31 = 5.96, gross 0.178 x 28.75 = 5.11.
    EXPECT_NE(legal.find("B-12-AC," + inputs[0] + ",3,0.29,T,8\r\nB-12-AC," + inputs[0] +
                         ",3S2,0.29,T,12\r\nB-12-AC," + inputs[0] + ",3-2,0.29,T,12\r\nB-12-AC," +
                         inputs[0] + ",EV2,0.17,A|D|G,2|5|5\r\n"),
              std::string::npos)
        << legal;
}

// Findings follow the run's own messages on stderr, one line each; a batch ends with one
// line counting its files with findings. (The engine's findings come from its own tests.)
TEST(CliRun, findingLinesAndTheBatchCount) {
    const std::vector<Finding> findings = {
        {"layers-crossed", Severity::Error, "The layers are crossed.", {}, {}},
        {"below-legal-weight", Severity::Warning, "Truck 3 rates below its weight.", {}, {}},
        {"thin-overlay", Severity::Note, "The overlay is thin.", {}, {}},
    };
    EXPECT_EQ(findingLines(findings),
              "error: The layers are crossed.\nwarning: Truck 3 rates below its "
              "weight.\nnote: The overlay is thin.\n");
    EXPECT_EQ(findingLines({}), "");
    EXPECT_EQ(batchEndLine(140, 150, 10, 2),
              "140 of 150 files rated, 10 failed, 2 with review findings\n");
    EXPECT_EQ(batchEndLine(0, 1, 0, 0), "0 of 1 files rated, 0 failed, 0 with review findings\n");
}

// The progress line: drawn at most ten times a second, each drawing over the last, cut to
// the terminal's width, and erased at the end.
TEST(CliRun, progressLineIsRedrawnAtMostTenTimesASecondAndErased) {
    using namespace std::chrono_literals;
    std::chrono::steady_clock::time_point now{};
    std::ostringstream err;
    Progress progress(err, 150000, 40, [&now] { return now; });
    struct Row {
        std::chrono::milliseconds at;
        std::size_t done;
        bool due;
        const char* drawn;
    };
    const Row rows[] = {
        {50ms, 100, false, ""},
        {100ms, 2000, true, "\r2000 of 150000 files, 20000 files/s, 0:"},
        {150ms, 3000, false, ""},
        {2000ms, 40000, true, "\r40000 of 150000 files, 20000 files/s, 0"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.done);
        now = std::chrono::steady_clock::time_point(row.at);
        err.str("");
        ASSERT_EQ(progress.due(), row.due);
        if (row.due) {
            progress.draw(row.done);
        }
        EXPECT_EQ(err.str(), row.drawn);
    }
    err.str("");
    progress.erase();
    EXPECT_EQ(err.str(), "\r" + std::string(39, ' ') + "\r");
    EXPECT_EQ(Progress::text(40000, 150000, 2.0),
              "40000 of 150000 files, 20000 files/s, 0:06 left");
    EXPECT_EQ(Progress::text(1, 150000, 2.0), "1 of 150000 files, 1 files/s, 83:19:58 left");
    EXPECT_EQ(Progress::text(0, 150000, 0.0), "0 of 150000 files");
}

// ---------------------------------------------------------------- the examples' reports

// Each bundled example through the tool: what it prints and writes is the engine's report,
// which the engine's suite pins to the hand-written one.
using support::Example;

TEST(CliExamples, singleRunPrintsTheEngineReport) {
    for (const Example& example : support::examples()) {
        SCOPED_TRACE(example.input.filename().string());
        const Outcome outcome =
            runTool({"--date", std::string(support::kExampleDate), example.input.string()});
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        // A saved report is the report and one more CR LF.
        EXPECT_EQ(outcome.out + "\r\n", support::engineReport(example));
    }
}

TEST_F(CliDisk, batchWritesTheEngineReports) {
    for (const Example& example : support::examples()) {
        SCOPED_TRACE(example.input.filename().string());
        const std::string expected = support::engineReport(example);
        const Outcome outcome = runTool({"--date", std::string(support::kExampleDate), "--out",
                                         m_dir.string(), example.input.string()});
        EXPECT_EQ(outcome.status, 0);
        // Nothing but the closing line, with or without findings.
        EXPECT_TRUE(outcome.err == "1 of 1 files rated, 0 failed, 0 with review findings\n" ||
                    outcome.err == "1 of 1 files rated, 0 failed, 1 with review findings\n")
            << outcome.err;
        EXPECT_EQ(support::readBytes(m_dir / example.report.filename()), expected);

        // The line names the operating HS20 rating the report prints in columns 51 to 58 of
        // its table's last row.
        const std::string row = "\r\n     Rating                 (Tons)  ";
        const std::size_t at = expected.find(row);
        ASSERT_NE(at, std::string::npos);
        std::string operating = expected.substr(at + 2 + 50, 8);
        operating.erase(0, operating.find_first_not_of(' '));
        EXPECT_EQ(outcome.out,
                  example.input.string() + ": HS20 operating " + operating + " tons\n");
    }
}

}  // namespace
}  // namespace slabrating::cli
