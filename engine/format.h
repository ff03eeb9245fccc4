#pragma once

#include <string>
#include <string_view>

namespace slabrating {

/// Formats a report value with a fixed-point mask of `decimals` decimals ("0.00" is 2,
/// "#####0" is 0). The value is first written with the significant digits of its
/// precision (7 for a single, 15 for a double) and that decimal text is rounded half
/// away from zero. '.' is the decimal separator; a value that rounds to zero has no sign.
std::string formatMask(float value, int decimals);
std::string formatMask(double value, int decimals);

/// Right-aligns `text` in a field of `width` characters by blanks on its left;
/// a longer text is returned whole.
std::string rightAlign(std::string_view text, std::size_t width);

/// Cuts `text` to its first `width` characters or pads it with blanks on the right.
std::string fixedLength(std::string_view text, std::size_t width);

}  // namespace slabrating
