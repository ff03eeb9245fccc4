#include "engine/numeric.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "engine/checked.h"

namespace slabrating {

namespace {

// Only the blank counts as white space around a number; a tab does not.
std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The parts of a numeric text, positions into the trimmed text.
struct Parts {
    std::string_view number;  // the trimmed text without a '+' sign
    bool negative = false;
    std::string_view integerDigits;
    std::string_view fractionDigits;
    bool exponentNegative = false;
    std::string_view exponentDigits;
};

std::optional<Parts> split(std::string_view text) {
    text = trimBlanks(text);
    Parts parts;
    parts.number = !text.empty() && text[0] == '+' ? text.substr(1) : text;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        parts.negative = text[i] == '-';
        ++i;
    }
    std::size_t start = i;
    while (i < text.size() && isDigit(text[i])) {
        ++i;
    }
    parts.integerDigits = text.substr(start, i - start);
    if (i < text.size() && text[i] == '.') {
        ++i;
        start = i;
        while (i < text.size() && isDigit(text[i])) {
            ++i;
        }
        parts.fractionDigits = text.substr(start, i - start);
    }
    if (parts.integerDigits.empty() && parts.fractionDigits.empty()) {
        return std::nullopt;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            parts.exponentNegative = text[i] == '-';
            ++i;
        }
        start = i;
        while (i < text.size() && isDigit(text[i])) {
            ++i;
        }
        parts.exponentDigits = text.substr(start, i - start);
        if (parts.exponentDigits.empty()) {
            return std::nullopt;
        }
    }
    if (i != text.size()) {
        return std::nullopt;
    }
    return parts;
}

// Exponent digits as a number, held far inside the range of long so that
// "1e99999999999999999999" cannot overflow the arithmetic on it.
long exponentValue(const Parts& parts) {
    constexpr long kCap = 1'000'000'000L;
    long value = 0;
    for (char c : parts.exponentDigits) {
        value = value * 10 + (c - '0');
        if (value > kCap) {
            value = kCap;
        }
    }
    return parts.exponentNegative ? -value : value;
}

// 2^128 - 2^103 (kSingleOverflow) in decimal: 39 digits before the decimal point.
constexpr std::string_view kSingleOverflowDigits = "340282356779733661637539395458142568448";

// Whether the exact value of a decimal text lies below kSingleOverflow in magnitude.
bool belowSingleOverflow(const DecimalText& decimal) {
    const long integerDigits = decimal.exponent + static_cast<long>(decimal.digits.size());
    const auto limitDigits = static_cast<long>(kSingleOverflowDigits.size());
    if (integerDigits != limitDigits) {
        return integerDigits < limitDigits;
    }
    // The same leading position: the digits compare as the values do.
    return decimal.digits < kSingleOverflowDigits;
}

}  // namespace

bool isNumeric(std::string_view text) {
    return split(text).has_value();
}

std::optional<DecimalText> decimalText(std::string_view text, std::string& storage) {
    const auto parts = split(text);
    if (!parts) {
        return std::nullopt;
    }
    storage.assign(parts->integerDigits);
    storage.append(parts->fractionDigits);
    long exponent = exponentValue(*parts) - static_cast<long>(parts->fractionDigits.size());
    const std::size_t first = storage.find_first_not_of('0');
    if (first == std::string::npos) {
        storage.clear();
        return DecimalText{parts->negative, std::string_view(), 0};
    }
    const std::size_t last = storage.find_last_not_of('0');
    exponent += static_cast<long>(storage.size() - 1 - last);
    storage.erase(last + 1);
    storage.erase(0, first);
    return DecimalText{parts->negative, storage, exponent};
}

std::optional<double> numericValue(std::string_view text) {
    const auto parts = split(text);
    if (!parts) {
        return std::nullopt;
    }
    // from_chars reads the C form whatever the process locale is, correctly rounded.
    double value = 0;
    const char* first = parts->number.data();
    const char* last = first + parts->number.size();
    const auto [end, ec] = std::from_chars(first, last, value);
    if (ec == std::errc::result_out_of_range) {
        // Beyond the double range: the order of magnitude tells overflow from underflow.
        std::string digits;
        const DecimalText decimal = *decimalText(text, digits);
        const long magnitude = decimal.exponent + static_cast<long>(decimal.digits.size()) - 1;
        value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
        return parts->negative ? -value : value;
    }
    if (ec != std::errc() || end != last) {
        return std::nullopt;
    }
    return value;
}

std::optional<float> singleValue(std::string_view text) {
    const std::optional<double> value = numericValue(text);
    if (!value) {
        return std::nullopt;
    }
    if (std::fabs(*value) < kSingleOverflow) {
        return toSingle(*value);
    }
    // The double may have rounded up to the limit: the text's own digits decide.
    std::string digits;
    const float largest = belowSingleOverflow(*decimalText(text, digits))
                              ? FLT_MAX
                              : std::numeric_limits<float>::infinity();
    return std::signbit(*value) ? -largest : largest;
}

}  // namespace slabrating
