#include "cli/cli.h"

#include <iconv.h>
#include <langinfo.h>
#include <sys/stat.h>

#include <cerrno>
#include <clocale>
#include <ctime>
#include <filesystem>
#include <istream>
#include <ostream>
#include <set>
#include <system_error>
#include <unordered_set>
#include <utility>

#include "engine/field_table.h"
#include "engine/fields.h"
#include "engine/rating_run.h"
#include "engine/version.h"
#include "export/calc_sheet.h"
#include "export/json_result.h"
#include "export/rated_slab.h"
#include "export/summary.h"
#include "files/safe_write.h"
#include "inputfile/inputfile.h"

namespace slabrating::cli {

namespace {

namespace fs = std::filesystem;

// Two inputs of one batch whose reports would have the same file.
constexpr std::string_view kSameNameMessage =
    "Error: Another input file of this batch has the same name.";

// LoadType takes 0, 1 or 2 only, as the list's selection.
std::optional<int> loadTypeValue(std::string_view text) {
    if (text == "0") {
        return NoLoadType;
    }
    if (text == "1") {
        return StateTrucks;
    }
    if (text == "2") {
        return Interstate;
    }
    return std::nullopt;
}

constexpr std::string_view kNotLatin1 =
    "holds a character that the input record cannot hold (Latin-1 text only)";

// True when `name` names an HTML page, the file of a calculation sheet.
bool isPageName(std::string_view name) {
    return name.size() > 5 && (name.ends_with(".html") || name.ends_with(".htm"));
}

// True when both names reach the same file, or are the same name.
bool sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return a == b || fs::equivalent(a, b, error);
}

ParseResult usageError(std::string message) {
    return {std::nullopt, std::move(message)};
}

bool isAscii(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

// An argument's text in the record's single-byte character set (Latin-1), decoded from
// the character set of the user's locale, so that widths count characters. Empty when a
// character cannot be held in Latin-1 or the text is not valid in the locale's set.
std::optional<std::string> toLatin1(std::string_view text) {
    if (isAscii(text)) {
        return std::string(text);
    }
    const std::string_view codeset = nl_langinfo(CODESET);
    // The C locale knows no characters beyond ASCII: its other bytes are taken as they are.
    if (codeset == "ANSI_X3.4-1968" || codeset == "ISO-8859-1") {
        return std::string(text);
    }
    const iconv_t converter = iconv_open("ISO-8859-1", std::string(codeset).c_str());
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        return std::nullopt;
    }
    std::string input(text);
    std::string output(input.size(), '\0');
    char* in = input.data();
    std::size_t inLeft = input.size();
    char* out = output.data();
    std::size_t outLeft = output.size();
    const std::size_t converted = iconv(converter, &in, &inLeft, &out, &outLeft);
    iconv_close(converter);
    if (converted == static_cast<std::size_t>(-1) || inLeft != 0) {
        return std::nullopt;
    }
    output.resize(output.size() - outLeft);
    return output;
}

// A file name on one line of the batch's output: as it is, unless it holds a line end or
// another control character; then quoted as ls quotes it ('a'$'\n''b.qri'), so that each
// line names one file.
std::string quotedName(std::string_view name) {
    const auto isControl = [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; };
    bool hasControl = false;
    for (const char c : name) {
        hasControl = hasControl || isControl(c);
    }
    if (!hasControl) {
        return std::string(name);
    }
    std::string quoted;
    std::size_t i = 0;
    while (i < name.size()) {
        if (isControl(name[i])) {
            quoted += "$'";
            for (; i < name.size() && isControl(name[i]); ++i) {
                switch (name[i]) {
                    case '\n':
                        quoted += "\\n";
                        break;
                    case '\r':
                        quoted += "\\r";
                        break;
                    case '\t':
                        quoted += "\\t";
                        break;
                    default: {
                        const auto byte = static_cast<unsigned char>(name[i]);
                        quoted += '\\';
                        quoted += static_cast<char>('0' + (byte >> 6));
                        quoted += static_cast<char>('0' + ((byte >> 3) & 7));
                        quoted += static_cast<char>('0' + (byte & 7));
                    }
                }
            }
            quoted += '\'';
            continue;
        }
        quoted += '\'';
        for (; i < name.size() && !isControl(name[i]); ++i) {
            if (name[i] == '\'') {
                quoted += "'\\''";
            } else {
                quoted += name[i];
            }
        }
        quoted += '\'';
    }
    return quoted;
}

void applySettings(const std::vector<FieldSetting>& settings, SlabFields& fields) {
    for (const FieldSetting& setting : settings) {
        if (setting.name == kLoadTypeName) {
            fields.LoadType = *loadTypeValue(setting.text);
        } else {
            fields.*fieldNamed(setting.name)->text = setting.text;
        }
    }
}

void printMessages(const ReaderMessages& messages, std::ostream& err) {
    for (const std::string& message : messages) {
        err << message << '\n';
    }
}

int finish(std::ostream& out, std::ostream& err, int status) {
    out.flush();
    if (!out) {
        err << "Error: the output could not be written.\n";
        return 1;
    }
    return status;
}

int runOne(const Options& options, std::istream& in, std::ostream& out, std::ostream& err) {
    const bool json = options.format == OutputFormat::Json;
    RatedSlab slab;
    if (!options.files.empty()) {
        const std::string& file = options.files.front();
        if (file != "-") {
            slab.file = file;
        }
        const ReadResult read =
            file == "-" ? readInputStream(in, slab.fields) : ReadInputFile(file, slab.fields);
        printMessages(read.messages, err);
        if (read.stopped()) {
            if (json) {
                slab.outcome = read.outcome == ReadOutcome::InvalidInput
                                   ? SlabOutcome::InvalidInput
                                   : SlabOutcome::FileNotFound;
                slab.message = read.messages.front();
                out << slabJsonText(slab) << '\n';
                return finish(out, err, 1);
            }
            return 1;
        }
    }
    applySettings(options.settings, slab.fields);

    if (options.saveInput) {
        const SaveResult saved = SaveInputFile(slab.fields, *options.saveInput);
        if (saved.outcome != SaveOutcome::Saved) {
            err << saved.message << '\n';
            return 1;
        }
        return 0;
    }

    const std::string date = options.date ? *options.date : todayShortDate();
    const RatingResult result = RunRating(slab.fields, date);
    slab.outcome = slabOutcome(result.outcome);
    slab.message = result.message;
    slab.result = &result;
    if (json) {
        out << slabJsonText(slab) << '\n';
    } else {
        out << result.report;
    }
    if (result.outcome != RunOutcome::Complete) {
        err << result.message << '\n';
    }
    int status = result.outcome == RunOutcome::Complete ? 0 : 1;
    if (options.calcFile && !writeFileReplacing(*options.calcFile, calcSheetHtml(slab))) {
        err << *options.calcFile << ": " << kSaveFailedMessage << '\n';
        status = 1;
    }
    return finish(out, err, status);
}

// The report file of an input file: DIR/<name>.qro, <name> being the input's file
// name without its extension; its calculation sheet is DIR/<name>.html.
void outputPath(const std::string& outDir, const std::string& file, std::string_view extension,
                std::string& path) {
    path = outDir;
    if (!path.empty() && path.back() != '/') {
        path += '/';
    }
    path += fs::path(file).stem().string();
    path += extension;
}

// The identity of a file on its file system; none when it cannot be looked at.
std::optional<std::pair<dev_t, ino_t>> fileIdentity(const std::string& path) {
    struct stat status;
    if (::stat(path.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return std::pair(status.st_dev, status.st_ino);
}

int runBatch(const Options& options, std::ostream& out, std::ostream& err) {
    const std::string date = options.date ? *options.date : todayShortDate();
    const std::string& outDir = *options.outDir;
    std::error_code ignored;
    // A directory that cannot be made shows up as a failed save of each report.
    fs::create_directories(outDir, ignored);

    // No report or sheet may take the place of an input file of the batch.
    std::set<std::pair<dev_t, ino_t>> inputs;
    for (const std::string& file : options.files) {
        if (const auto identity = fileIdentity(file)) {
            inputs.insert(*identity);
        }
    }
    const auto isInput = [&inputs](const std::string& path) {
        const auto identity = fileIdentity(path);
        return identity && inputs.contains(*identity);
    };
    const auto save = [&](const std::string& path, std::string_view bytes) {
        return !isInput(path) && writeFileReplacing(path, bytes, FileTarget::Generated);
    };

    std::optional<BatchSummary> summary;
    if (options.summary) {
        summary.emplace(*summaryFormatOf(*options.summary));
    }

    bool anyStopped = false;
    // Report files already claimed by an earlier input of this batch.
    std::unordered_set<std::string> claimed;
    std::string path;
    for (const std::string& file : options.files) {
        const std::string name = quotedName(file);
        RatedSlab slab;
        slab.file = file;
        std::optional<RatingResult> result;
        const auto stop = [&](SlabOutcome outcome, std::string_view message) {
            out << name << ": " << message << '\n';
            anyStopped = true;
            slab.outcome = outcome;
            slab.message = message;
        };
        [&] {
            outputPath(outDir, file, ".qro", path);
            if (!claimed.insert(path).second) {
                stop(SlabOutcome::SameName, kSameNameMessage);
                return;
            }
            const ReadResult read = ReadInputFile(file, slab.fields);
            if (read.stopped()) {
                stop(read.outcome == ReadOutcome::InvalidInput ? SlabOutcome::InvalidInput
                                                               : SlabOutcome::FileNotFound,
                     read.messages.front());
                return;
            }
            for (const std::string& message : read.messages) {
                err << name << ": " << message << '\n';
            }

            result.emplace(RunRating(slab.fields, date));
            slab.result = &*result;
            if (result->outcome != RunOutcome::Complete) {
                stop(slabOutcome(result->outcome), result->message);
                return;
            }
            if (!save(path, savedReportBytes(result->report))) {
                stop(SlabOutcome::NotSaved, kSaveFailedMessage);
                return;
            }
            if (options.calc) {
                outputPath(outDir, file, ".html", path);
                if (!save(path, calcSheetHtml(slab))) {
                    stop(SlabOutcome::NotSaved, kSaveFailedMessage);
                    return;
                }
            }
            out << name << ": HS20 operating " << hs20OperatingTonsText(*result->rating.hs20)
                << " tons\n";
        }();
        if (summary) {
            summary->add(slab);
        }
    }
    if (summary && !writeFileReplacing(*options.summary, summary->bytes())) {
        err << quotedName(*options.summary) << ": " << kSaveFailedMessage << '\n';
        anyStopped = true;
    }
    return finish(out, err, anyStopped ? 1 : 0);
}

}  // namespace

ParseResult parseArgs(const std::vector<std::string>& args) {
    Options options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg == "-" || arg.empty() || arg.front() != '-') {
            options.files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            continue;
        }
        if (arg == "--version") {
            options.version = true;
            continue;
        }
        if (arg == "--calc") {
            if (options.calc) {
                return usageError("--calc given twice");
            }
            options.calc = true;
            // Its file name is the next argument when that names a page; with --out it has none.
            if (i + 1 < args.size() && isPageName(args[i + 1])) {
                options.calcFile = args[++i];
            }
            continue;
        }
        if (arg != "--date" && arg != "--set" && arg != "--save-input" && arg != "--out" &&
            arg != "--format" && arg != "--summary") {
            return usageError("unknown option " + arg);
        }
        if (i + 1 >= args.size()) {
            return usageError(arg + " needs a value");
        }
        const std::string& value = args[++i];
        if (arg == "--set") {
            const std::size_t equals = value.find('=');
            if (equals == std::string::npos) {
                return usageError("--set needs NAME=TEXT, not " + value);
            }
            FieldSetting setting{value.substr(0, equals), value.substr(equals + 1)};
            std::optional<std::string> text = toLatin1(setting.text);
            if (!text) {
                return usageError(setting.name + ": " + std::string(kNotLatin1));
            }
            setting.text = std::move(*text);
            if (setting.name == kLoadTypeName) {
                if (!loadTypeValue(setting.text)) {
                    return usageError("LoadType must be 0, 1 or 2, not " + setting.text);
                }
            } else if (fieldNamed(setting.name) == nullptr) {
                return usageError("unknown field " + setting.name);
            }
            options.settings.push_back(std::move(setting));
            continue;
        }
        if (arg == "--format") {
            if (options.format) {
                return usageError("--format given twice");
            }
            if (value != "report" && value != "json") {
                return usageError("--format must be report or json, not " + value);
            }
            options.format = value == "json" ? OutputFormat::Json : OutputFormat::Report;
            continue;
        }
        std::optional<std::string>& slot = arg == "--date"         ? options.date
                                           : arg == "--save-input" ? options.saveInput
                                           : arg == "--summary"    ? options.summary
                                                                   : options.outDir;
        if (slot) {
            return usageError(arg + " given twice");
        }
        if (arg == "--date") {
            std::optional<std::string> text = toLatin1(value);
            if (!text) {
                return usageError("--date: " + std::string(kNotLatin1));
            }
            slot = std::move(*text);
            continue;
        }
        slot = value;
    }

    if (options.help || options.version) {
        return {std::move(options), {}};
    }
    if (options.outDir) {
        if (!options.settings.empty() || options.saveInput) {
            return usageError("--out takes no --set or --save-input");
        }
        if (options.outDir->empty()) {
            return usageError("--out needs a folder name");
        }
        if (options.files.empty()) {
            return usageError("--out needs at least one input file");
        }
        for (const std::string& file : options.files) {
            if (file == "-") {
                return usageError("standard input (-) is for a single run, not for --out");
            }
        }
        if (options.format == OutputFormat::Json) {
            return usageError("--format json is for a single run; a batch has --summary");
        }
        if (options.calcFile) {
            return usageError("--calc takes no file with --out: each sheet goes beside its report");
        }
        if (options.summary) {
            if (!summaryFormatOf(*options.summary)) {
                return usageError("--summary needs a file name ending in .csv or .jsonl, not " +
                                  *options.summary);
            }
            for (const std::string& file : options.files) {
                if (sameFile(file, *options.summary)) {
                    return usageError("--summary " + *options.summary + " is an input file");
                }
            }
        }
    } else {
        if (options.files.size() > 1) {
            return usageError("more than one input file needs --out DIR");
        }
        if (options.summary) {
            return usageError("--summary needs --out DIR");
        }
        if (options.saveInput && (options.format || options.calc)) {
            return usageError(
                "--save-input writes the fields instead of rating them: no "
                "--format or --calc");
        }
        if (options.calc && !options.calcFile) {
            return usageError("--calc needs a file name ending in .html for a single run");
        }
        if (options.calcFile && !options.files.empty() &&
            sameFile(options.files.front(), *options.calcFile)) {
            return usageError("--calc " + *options.calcFile + " is the input file");
        }
    }
    return {std::move(options), {}};
}

int run(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
        std::ostream& err) {
    const ParseResult parsed = parseArgs(args);
    if (!parsed.options) {
        err << "slabrating-cli: " << parsed.error << '\n' << usage();
        return 2;
    }
    const Options& options = *parsed.options;
    if (options.help) {
        out << usage();
        return finish(out, err, 0);
    }
    if (options.version) {
        out << "slabrating-cli " << kVersionNumber << '\n';
        return finish(out, err, 0);
    }
    if (options.outDir) {
        return runBatch(options, out, err);
    }
    return runOne(options, in, out, err);
}

const std::string& usage() {
    static const std::string text = [] {
        // The field names, wrapped under the description of --set.
        constexpr std::size_t kIndent = 26;
        constexpr std::size_t kWidth = 80;
        const std::string indent(kIndent, ' ');
        std::string names;
        std::string line;
        for (const FieldInfo& field : kFields) {
            if (!line.empty() && kIndent + line.size() + 1 + field.name.size() > kWidth) {
                names += indent + line + '\n';
                line.clear();
            }
            line += line.empty() ? "" : " ";
            line += field.name;
        }
        names += indent + line + ", or " + std::string(kLoadTypeName) + " with TEXT 0, 1 or 2\n";

        return "usage: slabrating-cli [--date TEXT] [--format report|json] [--calc SHEET.html]\n"
               "                      [--set NAME=TEXT]... [FILE.qri]\n"
               "       slabrating-cli [--set NAME=TEXT]... --save-input FILE.qri [FILE.qri]\n"
               "       slabrating-cli [--date TEXT] [--summary FILE.csv|FILE.jsonl] [--calc]\n"
               "                      --out DIR FILE.qri...\n"
               "\n"
               "Rates one slab strip and writes its report to standard output, or, with --out,\n"
               "rates every FILE.qri and writes DIR/<name>.qro for each.\n"
               "\n"
               "  --date TEXT             the date printed in the report header (default: today)\n"
               "  --set NAME=TEXT         sets one field's text, in order; NAME is one of\n" +
               names +
               "  --save-input FILE.qri   writes the fields as an input file instead of rating\n"
               "  --out DIR               batch rating: one report file per input file\n"
               "  --format report|json    a single run's output: the report (default) or the\n"
               "                          JSON result\n"
               "  --calc [SHEET.html]     also writes the calculation sheet (HTML); with --out\n"
               "                          it stands alone: DIR/<name>.html beside each report\n"
               "  --summary FILE          with --out: one summary of the batch, FILE.csv (CSV)\n"
               "                          or FILE.jsonl (JSON Lines)\n"
               "  FILE.qri                input file read before the --set options (\"-\": "
               "stdin)\n"
               "  --help                  shows this text\n"
               "  --version               shows the program name and version number\n"
               "\n"
               "Exit status: 0 complete, 1 a run or a file stopped, 2 usage error.\n";
    }();
    return text;
}

std::string todayShortDate() {
    if (std::setlocale(LC_TIME, "") == nullptr) {
        std::setlocale(LC_TIME, "C");
    }
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    if (local == nullptr) {
        return {};
    }
    char buffer[128];
    const std::size_t length = std::strftime(buffer, sizeof buffer, "%x", local);
    if (std::optional<std::string> date = toLatin1(std::string_view(buffer, length))) {
        return std::move(*date);
    }
    // A short form the record's character set cannot hold (a Japanese locale, say).
    return std::string(buffer, std::strftime(buffer, sizeof buffer, "%Y-%m-%d", local));
}

}  // namespace slabrating::cli
