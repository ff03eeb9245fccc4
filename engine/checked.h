#pragma once

#include <cfloat>
#include <cmath>

namespace slabrating {

/// Thrown inside the engine when a floating-point step overflows, divides by zero or
/// is invalid; the rating run catches it and stops there. Never leaves the engine.
struct ArithmeticFault {};

/// A double-precision value of the analysis whose every operation is tested: a result
/// that is not finite (overflow, division by zero, invalid operation) is a fault.
/// Operations run in the order they are written, in IEEE double, as plain doubles would.
class Real {
public:
    constexpr Real(double v) : m_v(v) {}
    constexpr Real(float v) : m_v(v) {}
    constexpr Real(int v) : m_v(v) {}

    constexpr double value() const { return m_v; }

    friend Real operator+(Real a, Real b) { return checked(a.m_v + b.m_v); }
    friend Real operator-(Real a, Real b) { return checked(a.m_v - b.m_v); }
    friend Real operator*(Real a, Real b) { return checked(a.m_v * b.m_v); }
    friend Real operator/(Real a, Real b) { return checked(a.m_v / b.m_v); }
    friend bool operator==(Real a, Real b) { return a.m_v == b.m_v; }
    friend bool operator<(Real a, Real b) { return a.m_v < b.m_v; }
    friend bool operator>(Real a, Real b) { return a.m_v > b.m_v; }
    friend bool operator<=(Real a, Real b) { return a.m_v <= b.m_v; }
    friend bool operator>=(Real a, Real b) { return a.m_v >= b.m_v; }

    friend Real sqrt(Real a) { return checked(std::sqrt(a.m_v)); }
    /// Int(): rounds toward minus infinity.
    friend Real floor(Real a) { return checked(std::floor(a.m_v)); }

private:
    static Real checked(double v) {
        if (!std::isfinite(v)) {
            throw ArithmeticFault{};
        }
        return Real(v);
    }

    double m_v;
};

/// The first magnitude that rounds to infinity in single precision, 2^128 - 2^103: halfway
/// between the largest single (2^128 - 2^104) and 2^128, where a tie rounds to the even 2^128.
inline constexpr double kSingleOverflow = 0x1p128 - 0x1p103;

/// Stores a double result in single precision, the one place where that rounding
/// happens, rounding to nearest as IEEE arithmetic does. A value that rounds to infinity
/// (magnitude kSingleOverflow or more) is an overflow fault.
inline float toSingle(Real x) {
    const double v = x.value();
    const double magnitude = std::fabs(v);
    if (!(magnitude < kSingleOverflow)) {
        throw ArithmeticFault{};
    }
    if (magnitude > static_cast<double>(FLT_MAX)) {
        // Rounds to the largest single; a conversion of a value outside the single range
        // would be undefined behaviour.
        return v > 0 ? FLT_MAX : -FLT_MAX;
    }
    return static_cast<float>(v);
}

}  // namespace slabrating
