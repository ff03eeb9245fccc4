#include "engine/format.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>

#include "engine/digits.h"

namespace slabrating {

namespace {

__extension__ typedef unsigned __int128 Wide;

int bitWidth(Wide v) {
    const auto high = static_cast<std::uint64_t>(v >> 64);
    const auto low = static_cast<std::uint64_t>(v);
    if (high != 0) {
        return 128 - __builtin_clzll(high);
    }
    return low != 0 ? 64 - __builtin_clzll(low) : 0;
}

// The largest power of ten below 2^128.
constexpr int kMaxPowerOfTen = 38;
// Bits a product or a shifted value may use: a Wide below 2^127 leaves room for the
// remainder's doubling in the rounding.
constexpr int kWideBudget = 127;

// IEEE double: 52 stored mantissa bits below an implicit leading one, an 11-bit exponent
// with bias 1023; as a whole-number mantissa the bias becomes 1075, and a subnormal is
// mantissa x 2^-1074.
constexpr int kMantissaBits = 52;
constexpr std::uint64_t kExponentMask = 0x7ff;
constexpr int kWholeMantissaBias = 1075;
constexpr int kSubnormalTwos = -1074;

// Powers of two beyond which the fast path gives way to the library (their shifts would
// not fit the budget anyway).
constexpr int kMaxTwos = 100;
constexpr int kMinTwos = -126;

// log10(2) ~ 78913 / 2^18, close enough for every double exponent.
constexpr int kLog10Of2Numerator = 78913;
constexpr int kLog10Of2Shift = 18;

// Attempts at the decimal exponent: its estimate is at most one off, so two suffice and the
// third is a margin.
constexpr int kAttempts = 3;

// 10^n for n up to kMaxPowerOfTen.
constexpr auto kPowersOfTen = [] {
    std::array<Wide, kMaxPowerOfTen + 1> p{};
    p[0] = 1;
    for (std::size_t i = 1; i < p.size(); ++i) {
        p[i] = p[i - 1] * 10;
    }
    return p;
}();

Wide pow10(int n) {
    return kPowersOfTen[static_cast<std::size_t>(n)];
}

// |value| as an odd whole number times a power of two.
struct BinaryValue {
    std::uint64_t mantissa;
    int twos;
};

BinaryValue binaryValue(double value) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const int biased = static_cast<int>((bits >> kMantissaBits) & kExponentMask);
    std::uint64_t mantissa = bits & ((std::uint64_t{1} << kMantissaBits) - 1);
    int twos = biased == 0 ? kSubnormalTwos : biased - kWholeMantissaBias;
    if (biased != 0) {
        mantissa |= std::uint64_t{1} << kMantissaBits;
    }
    const int trailingZeros = __builtin_ctzll(mantissa);
    return {mantissa >> trailingZeros, twos + trailingZeros};
}

// floor(log10 |value|) or one less, from floor(log2 |value|).
int decimalExponentEstimate(const BinaryValue& binary) {
    return ((binary.twos + 63 - __builtin_clzll(binary.mantissa)) * kLog10Of2Numerator) >>
           kLog10Of2Shift;
}

// |value| x 10^scale = numerator / denominator, divided.
struct ScaledValue {
    Wide quotient;
    Wide remainder;
    Wide denominator;
};

// None where the numerator or the denominator would not fit the budget.
std::optional<ScaledValue> scaledValue(const BinaryValue& binary, int scale) {
    if (scale > kMaxPowerOfTen || -scale > kMaxPowerOfTen) {
        return std::nullopt;
    }
    Wide numerator = binary.mantissa;
    Wide denominator = 1;
    if (scale >= 0) {
        if (bitWidth(numerator) + bitWidth(pow10(scale)) > kWideBudget) {
            return std::nullopt;
        }
        numerator *= pow10(scale);
    } else {
        denominator = pow10(-scale);
    }
    if (binary.twos >= 0) {
        if (bitWidth(numerator) + binary.twos > kWideBudget) {
            return std::nullopt;
        }
        numerator <<= binary.twos;
    } else {
        if (bitWidth(denominator) - binary.twos > kWideBudget) {
            return std::nullopt;
        }
        denominator <<= -binary.twos;
    }
    if (scale >= 0) {  // the denominator is a power of two
        const int shift = binary.twos < 0 ? -binary.twos : 0;
        const Wide quotient = numerator >> shift;
        return ScaledValue{quotient, numerator - (quotient << shift), denominator};
    }
    return ScaledValue{numerator / denominator, numerator % denominator, denominator};
}

}  // namespace

bool exactDigits(double value, int significant, std::uint64_t& digits, int& exponent) {
    const BinaryValue binary = binaryValue(value);
    if (binary.twos > kMaxTwos || binary.twos < kMinTwos) {
        return false;
    }
    int decimalExponent = decimalExponentEstimate(binary);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        // The digits are |value| x 10^scale, rounded.
        const std::optional<ScaledValue> scaled =
            scaledValue(binary, significant - 1 - decimalExponent);
        if (!scaled) {
            return false;
        }
        Wide quotient = scaled->quotient;
        if (quotient < pow10(significant - 1)) {  // the estimate was one too high
            --decimalExponent;
            continue;
        }
        if (quotient >= pow10(significant)) {  // one too low
            ++decimalExponent;
            continue;
        }
        // Half to even on the exact value, as printf rounds.
        const Wide twice = scaled->remainder * 2;
        if (twice > scaled->denominator || (twice == scaled->denominator && (quotient & 1) != 0)) {
            ++quotient;
        }
        if (quotient == pow10(significant)) {
            quotient = pow10(significant - 1);
            ++decimalExponent;
        }
        digits = static_cast<std::uint64_t>(quotient);
        exponent = decimalExponent;
        return true;
    }
    return false;
}

void digitsFromLibrary(double value, int significant, std::uint64_t& digits, int& exponent) {
    // "[-]d.ddde[+-]xx"
    char sci[64];
    const char* end =
        std::to_chars(sci, sci + sizeof sci, value, std::chars_format::scientific, significant - 1)
            .ptr;
    const char* p = sci + (sci[0] == '-' ? 1 : 0);
    digits = 0;
    for (; *p != 'e'; ++p) {
        if (*p != '.') {
            digits = digits * 10 + static_cast<std::uint64_t>(*p - '0');
        }
    }
    ++p;
    std::from_chars(p + (*p == '+' ? 1 : 0), end, exponent);
}

namespace {

// NaN and the infinities, as the report writes them.
void appendNotFinite(std::string& out, double value, std::size_t width) {
    const std::string_view text = value != value ? "NaN" : (value < 0 ? "-Infinity" : "Infinity");
    out.append(width > text.size() ? width - text.size() : 0, ' ');
    out += text;
}

// A value's digits at a mask's last decimal: the whole number they make and the zeros that
// follow them down to that decimal.
struct MaskDigits {
    std::uint64_t digits = 0;
    int zeros = 0;
};

// The decimal text of the value's precision, rounded half away from zero at the mask's last
// decimal.
MaskDigits maskDigits(double value, int significant, int decimals) {
    // |value| ~ digits x 10^(exponent - significant + 1).
    std::uint64_t digits = 0;
    int exponent = 0;
    if (value != 0 && !exactDigits(value, significant, digits, exponent)) {
        digitsFromLibrary(value, significant, digits, exponent);
    }
    const int dropped = significant - 1 - exponent - decimals;
    if (dropped > significant) {
        return {};
    }
    if (dropped > 0) {
        const auto unit = static_cast<std::uint64_t>(pow10(dropped));
        const std::uint64_t remainder = digits % unit;
        return {digits / unit + (remainder * 2 >= unit ? 1 : 0), 0};
    }
    return {digits, -dropped};
}

void appendFixedPoint(std::string& out, const MaskDigits& rounded, bool negative, int decimals,
                      std::size_t width) {
    char text[32];
    const char* end = std::to_chars(text, text + sizeof text, rounded.digits).ptr;
    const int length = static_cast<int>(end - text);
    const int total = length + rounded.zeros;
    const int leading = std::max(0, decimals + 1 - total);  // zeros before the digits
    const int integerDigits = total + leading - decimals;
    const std::size_t size = static_cast<std::size_t>(negative) +
                             static_cast<std::size_t>(total + leading) + (decimals > 0 ? 1 : 0);
    if (width > size) {
        out.append(width - size, ' ');
    }
    if (negative) {
        out += '-';
    }
    // Digit i of the fixed-point text: leading zeros, the digits, trailing zeros.
    const auto digitAt = [&](int i) {
        i -= leading;
        return i >= 0 && i < length ? text[i] : '0';
    };
    if (rounded.zeros == 0 && leading == 0) {
        out.append(text, static_cast<std::size_t>(integerDigits));
    } else {
        for (int i = 0; i < integerDigits; ++i) {
            out += digitAt(i);
        }
    }
    if (decimals > 0) {
        out += '.';
        for (int i = integerDigits; i < integerDigits + decimals; ++i) {
            out += digitAt(i);
        }
    }
}

}  // namespace

void appendMask(std::string& out, double value, int significant, int decimals, std::size_t width) {
    decimals = std::clamp(decimals, 0, kMaxMaskDecimals);
    if (!std::isfinite(value)) {
        appendNotFinite(out, value, width);
        return;
    }
    const MaskDigits rounded = maskDigits(value, significant, decimals);
    // A value that rounds to zero has no sign.
    appendFixedPoint(out, rounded, std::signbit(value) && rounded.digits != 0, decimals, width);
}

std::string formatMask(float value, int decimals) {
    std::string out;
    appendMask(out, value, kSingleDigits, decimals);
    return out;
}

std::string formatMask(double value, int decimals) {
    std::string out;
    appendMask(out, value, kDoubleDigits, decimals);
    return out;
}

std::string fixedLength(std::string_view text, std::size_t width) {
    std::string out(text.substr(0, width));
    out.resize(width, ' ');
    return out;
}

namespace {

template <class T>
std::string shortestFixed(T value) {
    // A fixed text of a float or double needs at most its 39 (float) or 309 (double)
    // whole digits, a sign, a point and the digits of the shortest fraction.
    char text[400];
    const auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
    return std::string(text, written.ptr);
}

}  // namespace

std::string shortestText(double value) {
    return shortestFixed(value);
}

std::string shortestText(float value) {
    return shortestFixed(value);
}

std::string shortestText(int value) {
    return std::to_string(value);
}

void appendSignificant(std::string& out, double value, int significant) {
    if (value == 0) {
        out += '0';
        return;
    }
    std::uint64_t digits = 0;
    int exponent = 0;
    if (!exactDigits(value, significant, digits, exponent)) {
        digitsFromLibrary(value, significant, digits, exponent);
    }
    char d[kDoubleDigits + 2];
    for (int i = significant - 1; i >= 0; --i) {
        d[i] = static_cast<char>('0' + digits % 10);
        digits /= 10;
    }
    int count = significant;
    while (count > 1 && d[count - 1] == '0') {
        --count;
    }
    if (value < 0) {
        out += '-';
    }
    if (exponent < -4 || exponent >= significant) {
        out += d[0];
        if (count > 1) {
            out += '.';
            out.append(d + 1, static_cast<std::size_t>(count - 1));
        }
        out += exponent < 0 ? "e-" : "e+";
        const int power = exponent < 0 ? -exponent : exponent;
        if (power < 10) {
            out += '0';
        }
        out += std::to_string(power);
    } else if (exponent < 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out.append(d, static_cast<std::size_t>(count));
    } else {
        const int whole = exponent + 1;
        out.append(d, static_cast<std::size_t>(std::min(whole, count)));
        if (count < whole) {
            out.append(static_cast<std::size_t>(whole - count), '0');
        } else if (count > whole) {
            out += '.';
            out.append(d + whole, static_cast<std::size_t>(count - whole));
        }
    }
}

}  // namespace slabrating
