#include <filesystem>
#include <system_error>
#include <utility>

#include "cli/cli.h"
#include "cli/locale_text.h"
#include "cli/parts.h"
#include "engine/field_table.h"
#include "engine/fields.h"
#include "export/inventory.h"
#include "export/summary.h"

namespace slabrating::cli {

namespace {

namespace fs = std::filesystem;

// The load type's codes as a usage text says them: "0, 1 or 2".
std::string loadTypeCodes() {
    std::string codes;
    for (std::size_t i = 0; i < kLoadTypes.size(); ++i) {
        if (i > 0) {
            codes += i + 1 == kLoadTypes.size() ? " or " : ", ";
        }
        codes += kLoadTypes[i].code;
    }
    return codes;
}

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
        if (arg == "--progress" || arg == "--no-progress") {
            if (options.progress) {
                return usageError("--progress or --no-progress given twice");
            }
            options.progress = arg == "--progress";
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
            arg != "--format" && arg != "--summary" && arg != "--from" && arg != "--from0" &&
            arg != "--posting-policy" && arg != "--rating-date" && arg != "--inventory") {
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
                if (!loadTypeText(setting.text)) {
                    return usageError(std::string(kLoadTypeName) + " must be " + loadTypeCodes() +
                                      ", not " + setting.text);
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
        if (arg == "--rating-date") {
            if (options.ratingDate) {
                return usageError("--rating-date given twice");
            }
            std::string compact;
            if (!ratingDateOf(value, compact)) {
                return usageError("--rating-date needs a real date written YYYY-MM-DD, not " +
                                  value);
            }
            options.ratingDate = std::move(compact);
            continue;
        }
        if (arg == "--posting-policy" || arg == "--inventory") {
            std::optional<std::string>& named =
                arg == "--inventory" ? options.inventory : options.postingPolicy;
            if (named) {
                return usageError(arg + " given twice");
            }
            named = value;
            continue;
        }
        std::optional<std::string>& slot = arg == "--date"         ? options.date
                                           : arg == "--save-input" ? options.saveInput
                                           : arg == "--summary"    ? options.summary
                                           : arg == "--from"       ? options.fromList
                                           : arg == "--from0"      ? options.fromList0
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
    if (options.inventory) {
        const std::string& inventory = *options.inventory;
        if (inventory.size() <= 4 || !inventory.ends_with(".csv")) {
            return usageError("--inventory needs a file name ending in .csv, not " + inventory);
        }
        if (options.saveInput) {
            return usageError(
                "--save-input writes the fields instead of rating them: no "
                "--inventory");
        }
        for (const std::string& file : options.files) {
            if (sameFile(file, inventory) || sameFile(file, legalLoadsPathOf(inventory))) {
                return usageError("--inventory " + inventory + " is an input file");
            }
        }
        if (options.summary && (sameFile(*options.summary, inventory) ||
                                sameFile(*options.summary, legalLoadsPathOf(inventory)))) {
            return usageError("--inventory " + inventory + " is the summary");
        }
        if (options.calcFile && (sameFile(*options.calcFile, inventory) ||
                                 sameFile(*options.calcFile, legalLoadsPathOf(inventory)))) {
            return usageError("--inventory " + inventory + " is the calculation sheet");
        }
    }
    if (options.outDir) {
        if (!options.settings.empty() || options.saveInput) {
            return usageError("--out takes no --set or --save-input");
        }
        if (options.outDir->empty()) {
            return usageError("--out needs a folder name");
        }
        if (options.files.empty() && !options.fromList && !options.fromList0) {
            return usageError("--out needs at least one input file");
        }
        if (options.fromList == "-" && options.fromList0 == "-") {
            return usageError("--from and --from0 cannot both read standard input");
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
        if (options.fromList || options.fromList0) {
            return usageError(std::string(options.fromList ? "--from" : "--from0") +
                              " needs --out DIR");
        }
        if (options.progress) {
            return usageError("--progress and --no-progress are for a batch (--out DIR)");
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
        names += indent + line + ", or " + std::string(kLoadTypeName) + " with TEXT " +
                 loadTypeCodes() + "\n";

        return "usage: slabrating-cli [--date TEXT] [--format report|json] [--calc SHEET.html]\n"
               "                      [--set NAME=TEXT]... [FILE.qri]\n"
               "       slabrating-cli [--set NAME=TEXT]... --save-input FILE.qri [FILE.qri]\n"
               "       slabrating-cli [--date TEXT] [--summary FILE.csv|FILE.jsonl] [--calc]\n"
               "                      [--from LIST] [--from0 LIST] [--progress|--no-progress]\n"
               "                      --out DIR [FILE.qri|FOLDER]...\n"
               "       either with [--posting-policy FILE.toml] [--rating-date YYYY-MM-DD]\n"
               "                      [--inventory FILE.csv]\n"
               "\n"
               "Rates one slab strip and writes its report to standard output, or, with --out,\n"
               "rates every FILE.qri and writes DIR/<name>.qro for each; a FOLDER gives every\n"
               ".qri file in it and its subfolders, each report at the same place under DIR.\n"
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
               "  --inventory FILE.csv    also writes the load rating items of each rated slab,\n"
               "                          and its legal loads in FILE-legal-loads.csv\n"
               "  --posting-policy FILE   the agency's posting policy (TOML; default built in)\n"
               "  --rating-date DATE      the inventory's rating date, YYYY-MM-DD (default:\n"
               "                          today)\n"
               "  --from LIST             with --out: also the input files named in LIST, one a\n"
               "                          line (\"-\": stdin)\n"
               "  --from0 LIST            the same, each name ended by a NUL (find -print0)\n"
               "  --progress              with --out: a progress line on stderr, even when it\n"
               "                          is no terminal (default: on a terminal only)\n"
               "  --no-progress           with --out: no progress line\n"
               "  FILE.qri                input file read before the --set options (\"-\": "
               "stdin)\n"
               "  --help                  shows this text\n"
               "  --version               shows the program name and version number\n"
               "\n"
               "Exit status: 0 complete, 1 a run or a file stopped, 2 usage error.\n";
    }();
    return text;
}

}  // namespace slabrating::cli
