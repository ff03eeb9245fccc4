#pragma once

#include <optional>
#include <string_view>

namespace slabrating {

/// The numeric test shared by the rating run and the input file: optional blanks
/// (spaces) around, optional sign, digits with an optional '.', an optional exponent.
bool isNumeric(std::string_view text);

/// Value of a text that passes `isNumeric`, correctly rounded to double; values
/// beyond the double range give +-infinity, values below it a signed zero.
/// Empty when the text is not numeric. Independent of the C locale.
std::optional<double> numericValue(std::string_view text);

/// The value of a numeric text held in single precision, as the rating run converts a
/// field: its double (`numericValue`) rounded to single. A text whose exact value rounds to
/// infinity in single precision (magnitude 2^128 - 2^103 or more) gives +-infinity; one just
/// below that limit gives the largest single even when its double is the limit itself.
/// Empty when the text is not numeric.
std::optional<float> singleValue(std::string_view text);

/// A numeric text in exact decimal form: value = (negative ? -1 : 1) * digits * 10^exponent.
struct DecimalText {
    bool negative = false;
    std::string_view digits;  ///< significant digits, no leading zeros; empty for zero
    long exponent = 0;        ///< power of ten of the last digit
};

/// Splits a numeric text into its exact decimal form; empty when not numeric.
/// `storage` receives the digits that `DecimalText::digits` points to.
std::optional<DecimalText> decimalText(std::string_view text, std::string& storage);

}  // namespace slabrating
