#pragma once
// Internal to the engine: the decimal digits of a double, from which the formatter writes
// every number. Other layers format through engine/format.h.

#include <cstdint>

namespace slabrating {

/// The first `significant` digits of a finite, non-zero |value| as a whole number and the
/// power of ten of the first one, rounded as printf's %.*e rounds them: by the standard
/// library, and by the fast exact path the report uses (false outside its range).
void digitsFromLibrary(double value, int significant, std::uint64_t& digits, int& exponent);
bool exactDigits(double value, int significant, std::uint64_t& digits, int& exponent);

}  // namespace slabrating
