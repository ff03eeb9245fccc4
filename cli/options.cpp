#include <filesystem>
#include <system_error>
#include <utility>

#include "cli/cli.h"
#include "cli/locale_text.h"
#include "cli/option_table.h"
#include "cli/parts.h"
#include "engine/field_table.h"
#include "engine/fields.h"
#include "export/inventory.h"
#include "export/summary.h"

namespace slabrating::cli {

namespace {

namespace fs = std::filesystem;

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

// The usage error of the arguments' combination; empty when they go together.
std::string batchError(const Options& options) {
    if (!options.settings.empty() || options.saveInput) {
        return "--out takes no --set or --save-input";
    }
    if (options.outDir->empty()) {
        return "--out needs a folder name";
    }
    if (options.files.empty() && !options.fromList && !options.fromList0) {
        return "--out needs at least one input file";
    }
    if (options.fromList == "-" && options.fromList0 == "-") {
        return "--from and --from0 cannot both read standard input";
    }
    for (const std::string& file : options.files) {
        if (file == "-") {
            return "standard input (-) is for a single run, not for --out";
        }
    }
    if (options.format == OutputFormat::Json) {
        return "--format json is for a single run; a batch has --summary";
    }
    if (options.calcFile) {
        return "--calc takes no file with --out: each sheet goes beside its report";
    }
    if (options.summary) {
        if (!summaryFormatOf(*options.summary)) {
            return "--summary needs a file name ending in .csv or .jsonl, not " + *options.summary;
        }
        for (const std::string& file : options.files) {
            if (sameFile(file, *options.summary)) {
                return "--summary " + *options.summary + " is an input file";
            }
        }
    }
    return {};
}

std::string singleRunError(const Options& options) {
    if (options.files.size() > 1) {
        return "more than one input file needs --out DIR";
    }
    if (options.summary) {
        return "--summary needs --out DIR";
    }
    if (options.fromList || options.fromList0 || options.root) {
        return std::string(options.fromList    ? "--from"
                           : options.fromList0 ? "--from0"
                                               : "--root") +
               " needs --out DIR";
    }
    if (options.progress) {
        return "--progress and --no-progress are for a batch (--out DIR)";
    }
    if (options.saveInput && (options.format || options.calc)) {
        return "--save-input writes the fields instead of rating them: no --format or --calc";
    }
    if (options.calc && !options.calcFile) {
        return "--calc needs a file name ending in .html for a single run";
    }
    if (options.calcFile && !options.files.empty() &&
        sameFile(options.files.front(), *options.calcFile)) {
        return "--calc " + *options.calcFile + " is the input file";
    }
    return {};
}

// The usage error of the inventory file's name; empty when it may be written.
std::string inventoryError(const Options& options) {
    if (!options.inventory) {
        return {};
    }
    const std::string& inventory = *options.inventory;
    const std::string legal = legalLoadsPathOf(inventory);
    if (inventory.size() <= 4 || !inventory.ends_with(".csv")) {
        return "--inventory needs a file name ending in .csv, not " + inventory;
    }
    if (options.saveInput) {
        return "--save-input writes the fields instead of rating them: no --inventory";
    }
    for (const std::string& file : options.files) {
        if (sameFile(file, inventory) || sameFile(file, legal)) {
            return "--inventory " + inventory + " is an input file";
        }
    }
    if (options.summary &&
        (sameFile(*options.summary, inventory) || sameFile(*options.summary, legal))) {
        return "--inventory " + inventory + " is the summary";
    }
    if (options.calcFile &&
        (sameFile(*options.calcFile, inventory) || sameFile(*options.calcFile, legal))) {
        return "--inventory " + inventory + " is the calculation sheet";
    }
    return {};
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
        const OptionInfo* option = optionNamed(arg);
        if (option == nullptr) {
            return usageError("unknown option " + arg);
        }
        std::string value;
        if (option->kind == OptionKind::EndOfOptions) {
            optionsEnded = true;
            continue;
        }
        if (option->kind == OptionKind::Value) {
            if (i + 1 >= args.size()) {
                return usageError(arg + " needs a value");
            }
            value = args[++i];
        }
        // Its file name is the next argument when that names a page; with --out it has none.
        if (option->kind == OptionKind::OptionalPage && i + 1 < args.size() &&
            isPageName(args[i + 1])) {
            value = args[++i];
        }
        std::string error = option->apply(options, option->name, value);
        if (!error.empty()) {
            return usageError(std::move(error));
        }
    }
    if (options.help || options.version) {
        return {std::move(options), {}};
    }
    std::string error = inventoryError(options);
    if (error.empty()) {
        error = options.outDir ? batchError(options) : singleRunError(options);
    }
    if (!error.empty()) {
        return usageError(std::move(error));
    }
    return {std::move(options), {}};
}

const std::string& usage() {
    static const std::string text =
        "usage: slabrating-cli [--date TEXT] [--format report|json] [--calc SHEET.html]\n"
        "                      [--set NAME=TEXT]... [FILE.qri]\n"
        "       slabrating-cli [--set NAME=TEXT]... --save-input FILE.qri [FILE.qri]\n"
        "       slabrating-cli [--date TEXT] [--summary FILE.csv|FILE.jsonl] [--calc]\n"
        "                      [--from LIST] [--from0 LIST] [--progress|--no-progress]\n"
        "                      [--root DIR] --out DIR [FILE.qri|FOLDER]...\n"
        "       either with [--posting-policy FILE] [--rating-date YYYY-MM-DD]\n"
        "                      [--inventory FILE.csv]\n"
        "\n"
        "Rates one slab strip and writes its report to standard output, or, with --out,\n"
        "rates every FILE.qri and writes DIR/<name>.qro for each; a FOLDER gives every\n"
        ".qri file in it and its subfolders, each report at the same place under DIR.\n"
        "\n" +
        usageOptionList() +
        "\n"
        "Exit status: 0 complete, 1 a run or a file stopped, 2 usage error.\n";
    return text;
}

}  // namespace slabrating::cli
