#pragma once
// The characters that no text of a record, a report or a summary may hold.

#include <algorithm>
#include <string_view>

namespace slabrating {

/// True for a control character of the record's Latin-1 text: C0 (line ends, escape, NUL,
/// tab), DEL and the C1 controls (0x80 to 0x9F, which a terminal may take for escapes).
/// Such a character would start a line of its own in a report, or a terminal's command.
constexpr bool isControlCharacter(char c) {
    const auto code = static_cast<unsigned char>(c);
    return code < 0x20 || (code >= 0x7f && code < 0xa0);
}

/// True when `latin1` holds a control character.
constexpr bool holdsControlCharacter(std::string_view latin1) {
    return std::any_of(latin1.begin(), latin1.end(), isControlCharacter);
}

}  // namespace slabrating
