#pragma once
// Texts between the user's locale and the record's single-byte Latin-1, and file names
// on one line of output.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace slabrating::cli {

/// The reason a --set or --date text cannot go into the record.
inline constexpr std::string_view kNotLatin1 =
    "holds a character that the input record cannot hold (Latin-1 text only)";

/// An argument's text in the record's single-byte character set (Latin-1), decoded from
/// the character set of the user's locale, so that widths count characters. None when a
/// character cannot be held in Latin-1 or the text is not valid in the locale's set.
std::optional<std::string> toLatin1(std::string_view text);

/// Why the Latin-1 text of `name` (a --set field, --date) cannot go into a report, or
/// empty when it can: a control character (a line end, escape, NUL) would forge a line of
/// the report or a command of the terminal that shows it, and a text longer than
/// `widthLimit` characters (0: no limit) would be cut to its field without a word.
std::string textProblem(std::string_view name, std::string_view latin1, std::size_t widthLimit = 0);

/// A file name on one line of output: as it is, unless it holds a line end or another
/// control character; then quoted as ls quotes it ('a'$'\n''b.qri'), so that each line
/// names one file.
std::string quotedName(std::string_view name);

}  // namespace slabrating::cli
