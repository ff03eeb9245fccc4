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

/// Stores a double result in single precision, the one place where that rounding
/// happens. A value beyond the single range is an overflow fault (and converting it
/// would be undefined behaviour).
inline float toSingle(Real x) {
    const double v = x.value();
    if (!(std::fabs(v) <= static_cast<double>(FLT_MAX))) {
        throw ArithmeticFault{};
    }
    return static_cast<float>(v);
}

}  // namespace slabrating
