#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace slabrating {

/// Significant digits a value is written with before a mask rounds it.
inline constexpr int kSingleDigits = 7;   ///< single precision, as %.7g
inline constexpr int kDoubleDigits = 15;  ///< double precision, as %.15g
/// Most decimals a mask has.
inline constexpr int kMaxMaskDecimals = 3;

/// Formats a report value with a fixed-point mask of `decimals` decimals ("0.00" is 2,
/// "#####0" is 0). The value is first written with the significant digits of its
/// precision (7 for a single, 15 for a double) and that decimal text is rounded half
/// away from zero. '.' is the decimal separator; a value that rounds to zero has no sign.
std::string formatMask(float value, int decimals);
std::string formatMask(double value, int decimals);

/// The same, appended to `out` right-aligned in `width` characters (a longer text whole).
void appendMask(std::string& out, double value, int significant, int decimals,
                std::size_t width = 0);

/// Appends `value` to `significant` (1 to 15) digits as %g writes it: without trailing
/// zeros, in fixed notation from 1e-4 up to 10^significant and in scientific notation beyond.
void appendSignificant(std::string& out, double value, int significant);

/// The shortest decimal text that reads back to `value` in its precision, in fixed
/// notation without an exponent: "27", "42.5", "0.00005". For the rules' constants and
/// other exact values a text names.
std::string shortestText(double value);
std::string shortestText(float value);
std::string shortestText(int value);

/// Cuts `text` to its first `width` characters or pads it with blanks on the right.
std::string fixedLength(std::string_view text, std::size_t width);

}  // namespace slabrating
