#include "cli/option_table.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "cli/locale_text.h"
#include "engine/field_table.h"
#include "engine/load_type.h"
#include "engine/posting.h"

namespace slabrating::cli {

namespace {

// The handlers of the table's options, each given the option's name and its value.

std::string givenTwice(std::string_view name) {
    return std::string(name) + " given twice";
}

template <std::optional<std::string> Options::*Slot>
std::string setOnce(Options& options, std::string_view name, const std::string& value) {
    if (options.*Slot) {
        return givenTwice(name);
    }
    options.*Slot = value;
    return {};
}

std::string setDate(Options& options, std::string_view name, const std::string& value) {
    if (options.date) {
        return givenTwice(name);
    }
    std::optional<std::string> text = toLatin1(value);
    if (!text) {
        return std::string(name) + ": " + std::string(kNotLatin1);
    }
    if (std::string problem = textProblem(name, *text); !problem.empty()) {
        return problem;
    }
    options.date = std::move(*text);
    return {};
}

std::string setRatingDate(Options& options, std::string_view name, const std::string& value) {
    if (options.ratingDate) {
        return givenTwice(name);
    }
    std::string compact;
    if (!ratingDateOf(value, compact)) {
        return std::string(name) + " needs a real date written YYYY-MM-DD, not " + value;
    }
    options.ratingDate = std::move(compact);
    return {};
}

std::string addSetting(Options& options, std::string_view name, const std::string& value) {
    const std::size_t equals = value.find('=');
    if (equals == std::string::npos) {
        return std::string(name) + " needs NAME=TEXT, not " + value;
    }
    FieldSetting setting{value.substr(0, equals), value.substr(equals + 1)};
    std::optional<std::string> text = toLatin1(setting.text);
    if (!text) {
        return setting.name + ": " + std::string(kNotLatin1);
    }
    setting.text = std::move(*text);
    if (setting.name == kLoadTypeName) {
        if (!loadTypeText(setting.text)) {
            return std::string(kLoadTypeName) + " must be " + loadTypeCodes(", ", " or ") +
                   ", not " + setting.text;
        }
    } else if (const FieldInfo* field = fieldNamed(setting.name); field == nullptr) {
        return "unknown field " + setting.name;
    } else if (std::string problem = textProblem(setting.name, setting.text, field->typedLimit);
               !problem.empty()) {
        return problem;
    }
    options.settings.push_back(std::move(setting));
    return {};
}

std::string setFormat(Options& options, std::string_view name, const std::string& value) {
    if (options.format) {
        return givenTwice(name);
    }
    if (value != "report" && value != "json") {
        return std::string(name) + " must be report or json, not " + value;
    }
    options.format = value == "json" ? OutputFormat::Json : OutputFormat::Report;
    return {};
}

std::string setCalc(Options& options, std::string_view name, const std::string& value) {
    if (options.calc) {
        return givenTwice(name);
    }
    options.calc = true;
    if (!value.empty()) {
        options.calcFile = value;
    }
    return {};
}

template <bool On>
std::string setProgress(Options& options, std::string_view, const std::string&) {
    if (options.progress) {
        return "--progress or --no-progress given twice";
    }
    options.progress = On;
    return {};
}

std::string setHelp(Options& options, std::string_view, const std::string&) {
    options.help = true;
    return {};
}

std::string setVersion(Options& options, std::string_view, const std::string&) {
    options.version = true;
    return {};
}

constexpr OptionInfo kOptions[] = {
    {.name = "--date",
     .kind = OptionKind::Value,
     .value = "TEXT",
     .help = "the date printed in the report header (default: today)",
     .manualValue = "_TEXT_",
     .manual = "The date printed in the report header. Default: today, in the short date\n"
               "form of the locale.",
     .completion = Completion::Nothing,
     .apply = &setDate},
    {.name = "--set",
     .kind = OptionKind::Value,
     .value = "NAME=TEXT",
     .help = "sets one field's text, in order; NAME is one of",
     .manualValue = "_NAME_=_TEXT_",
     .manual = "Sets the text of one field, after the input file is read; the options are\n"
               "applied in the order given. _NAME_ is one of the field names listed under\n"
               "FIELDS. May be given many times.",
     .completion = Completion::Fields,
     .listsFieldNames = true,
     .apply = &addSetting},
    {.name = "--save-input",
     .kind = OptionKind::Value,
     .value = "FILE.qri",
     .help = "writes the fields as an input file instead of rating",
     .manualValue = "_FILE_.qri",
     .manual = "Writes the fields as an input file instead of rating them. An existing\n"
               "file is replaced only once the new one is complete.",
     .completion = Completion::QriFiles,
     .apply = &setOnce<&Options::saveInput>},
    {.name = "--out",
     .kind = OptionKind::Value,
     .value = "DIR",
     .help = "batch rating: one report file per input file",
     .manualValue = "_DIR_",
     .manual = "Batch rating: rates each _FILE_.qri and writes one report file per input\n"
               "file, _DIR_/_name_.qro, with a final CR LF as the desktop program saves it.\n"
               "_DIR_ is created when missing. Takes no *--set* and no *--save-input*.",
     .completion = Completion::Folders,
     .apply = &setOnce<&Options::outDir>},
    {.name = "--root",
     .kind = OptionKind::Value,
     .value = "DIR",
     .help = "with --out: each report at its input's path under DIR,\n"
             "however the input was named",
     .manualValue = "_ROOT_",
     .manual = "With *--out*: each input's report goes under _DIR_ at the input's path\n"
               "relative to _ROOT_, whether the input came from a folder, a list or the\n"
               "command line, so that a run over some files writes where a run over the\n"
               "whole inventory wrote. An input outside _ROOT_ is a usage error.",
     .completion = Completion::Folders,
     .apply = &setOnce<&Options::root>},
    {.name = "--format",
     .kind = OptionKind::Value,
     .value = "report|json",
     .help = "a single run's output: the report (default) or the\n"
             "JSON result",
     .manualValue = "report|json",
     .manual = "What a single run writes to standard output: *report* (the default), the\n"
               "report as built; *json*, one JSON object with the fields as given, the\n"
               "outcome and message, the method, every quantity of the rating with its\n"
               "unit in its name, and the report text. Its schema is\n"
               "_/usr/share/doc/slabrating/slab-result.schema.json_.",
     .completion = Completion::Words,
     .words = "report json",
     .apply = &setFormat},
    {.name = "--calc",
     .kind = OptionKind::OptionalPage,
     .value = "[SHEET.html]",
     .help = "also writes the calculation sheet (HTML); with --out\n"
             "it stands alone: DIR/<name>.html beside each report",
     .manualValue = "[_SHEET_.html]",
     .manual = "Also writes a calculation sheet: a self-contained HTML page with every\n"
               "step of the rating, each formula with its numbers, a sketch of the strip\n"
               "and a chart of capacity against demand, to print and file with the\n"
               "rating. A single run writes it to _SHEET_.html; with *--out* the option\n"
               "stands alone and each sheet is written beside its report, as\n"
               "_DIR_/_name_.html.",
     .apply = &setCalc},
    {.name = "--summary",
     .kind = OptionKind::Value,
     .value = "FILE",
     .help = "with --out: one summary of the batch, FILE.csv (CSV)\n"
             "or FILE.jsonl (JSON Lines)",
     .manualValue = "_SUMMARY_.csv|_SUMMARY_.jsonl",
     .manual = "With *--out*: also writes one summary of the batch, a row per input file\n"
               "in the order given, failed files included. A name ending in *.csv* gives\n"
               "RFC 4180 CSV with a header row, from the governing rating (at each level\n"
               "the lower of the section over the girders and the midspan section): the\n"
               "status (*rated*, *withheld* or *stopped*), the governing section at each\n"
               "level, HS20 inventory and operating rating factors and tons, the legal\n"
               "rating factor the three trucks share, their tons, the controlling truck,\n"
               "review_for_posting (*yes* or *no* on every rated row, empty for a withheld\n"
               "rating or a file that did not rate), the codes of the review findings,\n"
               "outcome, message and write_error (why a file was not written); *.jsonl*\n"
               "gives one JSON result per line. The summary is written as the batch goes\n"
               "and takes its name at the end.",
     .completion = Completion::FilesEnding,
     .words = "csv|jsonl",
     .apply = &setOnce<&Options::summary>},
    {.name = "--inventory",
     .kind = OptionKind::Value,
     .value = "FILE.csv",
     .help = "also writes the load rating items of each rated slab,\n"
             "and its legal loads in FILE-legal-loads.csv",
     .manualValue = "_FILE_.csv",
     .manual = "Also writes the load rating items of each slab, one row each: B.LR.03\n"
               "to B.LR.07 and the legacy items 63 to 66 and 70, and one row per legal\n"
               "vehicle (B.EP.01 to B.EP.04) in _FILE_-legal-loads.csv beside it, keyed\n"
               "by the structure number. They are one member's values, the deck strip,\n"
               "to be held against the bridge's other members. A slab that cannot be\n"
               "rated has blank items and B.LR.04 N.",
     .completion = Completion::FilesEnding,
     .words = "csv",
     .apply = &setOnce<&Options::inventory>},
    {.name = "--posting-policy",
     .kind = OptionKind::Value,
     .value = "FILE",
     .help = "the agency's posting policy (TOML; default built in)",
     .manualValue = "_FILE_",
     .manual = "The agency's posting policy, a TOML file with the keys *level*\n"
               "(\"operating\" or \"inventory\"), *rounding* (\"down-to-ton\" or \"none\"),\n"
               "*closure_threshold_tons* (0 to 43, or \"none\"), *post_emergency_vehicles*\n"
               "(true or false) and *sign* (\"per-truck\" or \"gross\"); each absent key\n"
               "takes its default, the first value named. An unknown key, a value out\n"
               "of range or a key given twice is a usage error naming the line.",
     .completion = Completion::FilesEnding,
     .words = "toml",
     .apply = &setOnce<&Options::postingPolicy>},
    {.name = "--rating-date",
     .kind = OptionKind::Value,
     .value = "DATE",
     .help = "the inventory's rating date, YYYY-MM-DD (default:\n"
             "today)",
     .manualValue = "_YYYY-MM-DD_",
     .manual = "The inventory's rating date (B.LR.03); default today. *--date* keeps its\n"
               "text for the report's header.",
     .completion = Completion::Nothing,
     .apply = &setRatingDate},
    {.name = "--from",
     .kind = OptionKind::Value,
     .value = "LIST",
     .help = "with --out: also the input files named in LIST, one a\n"
             "line (\"-\": stdin)",
     .manualValue = "_LIST_",
     .manual = "With *--out*: also rates the files named in _LIST_, one path a line (LF\n"
               "or CR LF); *-* reads the list from standard input. An empty line is\n"
               "skipped with a note on standard error. A missing or empty list, or a\n"
               "line holding a NUL byte, is a usage error. Rate a whole inventory in one\n"
               "run: *--summary* belongs to one run, so *xargs*(1), which starts several,\n"
               "keeps only the last run's rows.",
     .completion = Completion::AnyFiles,
     .apply = &setOnce<&Options::fromList>},
    {.name = "--from0",
     .kind = OptionKind::Value,
     .value = "LIST",
     .help = "the same, each name ended by a NUL (find -print0)",
     .manualValue = "_LIST_",
     .manual = "The same with each path ended by a NUL byte, as *find -print0* writes\n"
               "them; the only way in for names holding a line end.",
     .completion = Completion::AnyFiles,
     .apply = &setOnce<&Options::fromList0>},
    {.name = "--progress",
     .kind = OptionKind::Flag,
     .help = "with --out: a progress line on stderr, even when it\n"
             "is no terminal (default: on a terminal only)",
     .manual = "With *--out*: shows the progress line (files done of the total, files a\n"
               "second, time left) on standard error even when it is no terminal. By\n"
               "default it shows only on a terminal, for a batch of more than one file,\n"
               "redrawn at most ten times a second and erased at the end.",
     .apply = &setProgress<true>},
    {.name = "--no-progress",
     .kind = OptionKind::Flag,
     .help = "with --out: no progress line",
     .manual = "With *--out*: never shows the progress line.",
     .apply = &setProgress<false>},
    {.name = "FILE.qri",
     .kind = OptionKind::Operand,
     .help = "input file read before the --set options (\"-\": stdin)",
     .manualValue = "_FILE_.qri",
     .manual = "The input file read before the *--set* options; *-* reads it from standard\n"
               "input. Only its first line counts. Without *--out* at most one input file\n"
               "is given; without any, every field starts blank."},
    {.name = "FOLDER",
     .kind = OptionKind::Operand,
     .manualValue = "_FOLDER_",
     .manual = "With *--out*: every .qri file in the folder and its subfolders (any case\n"
               "of the extension; links to folders are not followed). A folder without a\n"
               ".qri file, or without *--out*, is a usage error."},
    {.name = "--help",
     .kind = OptionKind::Flag,
     .help = "shows this text",
     .manual = "Shows the usage text and exits.",
     .alias = "-h",
     .apply = &setHelp},
    {.name = "--version",
     .kind = OptionKind::Flag,
     .help = "shows the program name and version number",
     .manual = "Shows the program name and version number and exits.",
     .apply = &setVersion},
    {.name = "--",
     .kind = OptionKind::EndOfOptions,
     .manual = "Ends the options: every later argument is an input file."},
};

}  // namespace

std::string loadTypeCodes(std::string_view separator, std::string_view last) {
    std::string codes;
    for (std::size_t i = 0; i < kLoadTypes.size(); ++i) {
        if (i > 0) {
            codes += i + 1 == kLoadTypes.size() ? last : separator;
        }
        codes += kLoadTypes[i].code;
    }
    return codes;
}

std::span<const OptionInfo> optionTable() {
    return kOptions;
}

const OptionInfo* optionNamed(std::string_view name) {
    for (const OptionInfo& option : kOptions) {
        const bool isOption = option.kind != OptionKind::Operand;
        if (isOption && (option.name == name || (!option.alias.empty() && option.alias == name))) {
            return &option;
        }
    }
    return nullptr;
}

}  // namespace slabrating::cli
