#pragma once

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/rating_run.h"

namespace slabrating::cli {

/// One `--set NAME=TEXT` option.
struct FieldSetting {
    std::string name;  ///< a field name of the record, or LoadType
    std::string text;  ///< the field's new text
};

/// What a single run writes to standard output.
enum class OutputFormat {
    Report,  ///< the report, exactly as built
    Json,    ///< the JSON result
};

/// The command line, understood.
struct Options {
    std::optional<std::string> date;       ///< `--date TEXT`: the header's date
    std::vector<FieldSetting> settings;    ///< `--set` options, in order
    std::optional<std::string> saveInput;  ///< `--save-input FILE.qri`
    std::optional<std::string> outDir;     ///< `--out DIR`: batch rating of `files`
    std::optional<std::string> root;  ///< `--root DIR`: each report at its input's path under DIR
    std::vector<std::string> files;   ///< the input files and folders (one file without --out)
    std::optional<std::string> fromList;   ///< `--from LIST`: input paths, one a line ("-": stdin)
    std::optional<std::string> fromList0;  ///< `--from0 LIST`: input paths, each ended by a NUL
    std::optional<bool>
        progress;  ///< `--progress`, `--no-progress`; none: when stderr is a terminal
    std::optional<OutputFormat> format;        ///< `--format report|json` (single run)
    std::optional<std::string> summary;        ///< `--summary FILE.csv|FILE.jsonl` (batch)
    bool calc = false;                         ///< `--calc`: write calculation sheets
    std::optional<std::string> calcFile;       ///< `--calc FILE.html` (single run)
    std::optional<std::string> inventory;      ///< `--inventory FILE.csv`: the load rating items
    std::optional<std::string> postingPolicy;  ///< `--posting-policy FILE`: the policy file
    std::optional<std::string> ratingDate;     ///< `--rating-date`, held as YYYYMMDD
    /// The posting policy and the rating date the runs use: set by run() once the policy file
    /// is read and the date known.
    RunSettings runSettings;
    bool help = false;     ///< `--help`: usage text on stdout
    bool version = false;  ///< `--version`: program name and version on stdout
};

/// The options, or the reason why the command line is a usage error.
struct ParseResult {
    std::optional<Options> options;
    std::string error;  ///< empty when `options` holds the command line
};

/// Understands the arguments after the program name.
ParseResult parseArgs(const std::vector<std::string>& args);

/// What the tool knows of its standard error beyond the stream.
struct Terminal {
    bool errIsTerminal = false;  ///< standard error is a terminal: a batch shows its progress
    std::size_t columns = 0;     ///< the terminal's width (characters); 0 when unknown
};

/// The whole tool: exit status 0 (complete), 1 (a run or a file stopped), 2 (usage error).
/// The report goes to `out` exactly as built; messages go to `err`, one per line.
/// An input file named "-" (and a list named "-") is read from `in`.
int run(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
        std::ostream& err, const Terminal& terminal = {});

/// Today's date in the user's short date form, without a time.
std::string todayShortDate();
/// Today's date as YYYYMMDD, the inventory's rating date.
std::string todayCompactDate();

/// The usage text, written for --help and with a usage error.
const std::string& usage();

}  // namespace slabrating::cli
