#pragma once
// The command line's options, described once: the parser, the usage text, the bash
// completion and the manual page's option list all loop over this table. Adding an option
// is one row and its handler.

#include <span>
#include <string>
#include <string_view>

#include "cli/cli.h"

namespace slabrating::cli {

/// What an argument of the table is.
enum class OptionKind {
    Flag,          ///< an option without a value: "--progress"
    Value,         ///< an option followed by its value: "--date TEXT"
    OptionalPage,  ///< an option whose value follows only when it names an HTML page
    Operand,       ///< not an option: an input the command line names ("FILE.qri")
    EndOfOptions,  ///< "--": every later argument is an operand
};

/// What the bash completion offers after the option.
enum class Completion {
    Default,      ///< what it offers anywhere: the options, or .qri files and folders
    Nothing,      ///< no candidates (a free text)
    Words,        ///< the words of `words`
    Fields,       ///< the `--set` names with "=", and the load type's codes after LoadType=
    QriFiles,     ///< .qri files and the folders on the way to them
    Folders,      ///< folders only
    AnyFiles,     ///< any file
    FilesEnding,  ///< folders and the files ending in one of `words` ("csv|jsonl")
};

/// Everything the tool knows about one option.
struct OptionInfo {
    std::string_view name;  ///< "--date"; an operand's placeholder ("FILE.qri")
    OptionKind kind;
    /// The value's placeholder in the usage text: "TEXT", "[SHEET.html]"; empty for none.
    std::string_view value = {};
    /// The usage text's description, lines joined by '\n'; empty when the usage text does
    /// not list the argument.
    std::string_view help = {};
    /// The value as the manual page marks it up ("_TEXT_"); an operand's whole term.
    std::string_view manualValue = {};
    /// The manual page's paragraph (scdoc), lines joined by '\n'.
    std::string_view manual = {};
    Completion completion = Completion::Default;
    std::string_view words = {};  ///< of Words and FilesEnding: "report json", "csv|jsonl"
    std::string_view alias = {};  ///< another name the parser takes ("-h"), shown nowhere
    /// The field names follow the usage text's description, wrapped.
    bool listsFieldNames = false;
    /// Takes the option `name` (and its value; empty for a flag) into `options`; returns the
    /// usage error, empty when there is none. Null for an operand and for "--".
    std::string (*apply)(Options& options, std::string_view name,
                         const std::string& value) = nullptr;
};

/// Every option and operand, in the usage text's order.
std::span<const OptionInfo> optionTable();

/// The option named `name` (or aliased so); null when the table has none.
const OptionInfo* optionNamed(std::string_view name);

/// The load type's codes joined: "0, 1 or 2" with ", " and " or ".
std::string loadTypeCodes(std::string_view separator, std::string_view last);

/// The option list of the usage text: one entry per row that has a description.
std::string usageOptionList();

/// The bash completion script for the tool, written from the table.
std::string completionScript();

/// The manual page `page` (scdoc) with the body of its "# OPTIONS" section, up to the
/// next section, written from the option table, and the entries of its "# FIELDS" section
/// after that section's opening paragraph written from the field and load-type tables;
/// `page` unchanged when it has no OPTIONS section.
std::string manualFromTables(std::string_view page);

}  // namespace slabrating::cli
