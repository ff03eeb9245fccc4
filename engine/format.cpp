#include "format.h"

#include <charconv>
#include <cmath>

namespace slabrating {

namespace {

// Writes `value` with `significant` significant digits (as %.7g or %.15g would choose
// them), then rounds that decimal text half away from zero to `decimals` decimals.
std::string formatSignificant(double value, int significant, int decimals) {
    if (!std::isfinite(value)) {
        return value != value ? "NaN" : (value < 0 ? "-Infinity" : "Infinity");
    }
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::scientific, significant - 1);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));

    // text is "[-]d.ddde[+-]xx": collect the digits and the exponent.
    const bool negative = text.front() == '-';
    const std::size_t ePos = text.find('e');
    std::string digits;
    for (char c : text.substr(0, ePos)) {
        if (c >= '0' && c <= '9') {
            digits += c;
        }
    }
    int exponent = 0;
    std::from_chars(text.data() + ePos + 1 + (text[ePos + 1] == '+'), text.data() + text.size(),
                    exponent);

    // Fixed-point digits: `integerCount` of them before the decimal point.
    const int integerCount = exponent + 1;
    std::string fixed;
    int pointAt;  // digits before the point in `fixed`
    if (integerCount <= 0) {
        fixed.assign(static_cast<std::size_t>(1 - integerCount), '0');
        fixed += digits;
        pointAt = 1;
    } else {
        fixed = digits;
        if (static_cast<int>(fixed.size()) < integerCount) {
            fixed.append(static_cast<std::size_t>(integerCount) - fixed.size(), '0');
        }
        pointAt = integerCount;
    }

    // Keep `pointAt + decimals` digits; the first one dropped decides the rounding.
    const std::size_t keep = static_cast<std::size_t>(pointAt + decimals);
    if (fixed.size() > keep) {
        const bool roundUp = fixed[keep] >= '5';
        fixed.erase(keep);
        if (roundUp) {
            std::size_t i = fixed.size();
            while (i > 0 && fixed[i - 1] == '9') {
                fixed[--i] = '0';
            }
            if (i == 0) {
                fixed.insert(fixed.begin(), '1');
                ++pointAt;
            } else {
                ++fixed[i - 1];
            }
        }
    } else {
        fixed.append(keep - fixed.size(), '0');
    }

    std::string integerPart = fixed.substr(0, static_cast<std::size_t>(pointAt));
    const std::size_t firstNonZero = integerPart.find_first_not_of('0');
    integerPart = firstNonZero == std::string::npos ? "0" : integerPart.substr(firstNonZero);
    const std::string fraction = fixed.substr(static_cast<std::size_t>(pointAt));

    std::string out;
    if (negative && fixed.find_first_not_of('0') != std::string::npos) {
        out += '-';
    }
    out += integerPart;
    if (decimals > 0) {
        out += '.';
        out += fraction;
    }
    return out;
}

}  // namespace

std::string formatMask(float value, int decimals) {
    return formatSignificant(static_cast<double>(value), 7, decimals);
}

std::string formatMask(double value, int decimals) { return formatSignificant(value, 15, decimals); }

std::string rightAlign(std::string_view text, std::size_t width) {
    std::string out;
    if (text.size() < width) {
        out.assign(width - text.size(), ' ');
    }
    out += text;
    return out;
}

std::string fixedLength(std::string_view text, std::size_t width) {
    std::string out(text.substr(0, width));
    out.resize(width, ' ');
    return out;
}

}  // namespace slabrating
