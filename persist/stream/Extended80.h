#pragma once

#include <array>
#include <cstdint>

namespace persist {

/**
 * The 80-bit extended real of the stream: 64-bit mantissa with explicit integer bit, 15-bit exponent biased
 * by 16383, sign bit; little-endian. Computed with integer arithmetic, so no platform long double is
 * involved.
 */
using Extended80 = std::array<std::uint8_t, 10>;

/** Every double converts exactly. */
Extended80 EncodeExtended(double value);

/** Rounded to the nearest double, ties to even; out-of-range values become infinities or zeros. */
double DecodeExtended(const Extended80& bytes);

} // namespace persist
