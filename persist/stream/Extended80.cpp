#include "persist/stream/Extended80.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace persist {

Extended80 EncodeExtended(double value)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const bool negative = (bits >> 63) != 0;
    const int exponent = static_cast<int>((bits >> 52) & 0x7FF);
    std::uint64_t fraction = bits & ((std::uint64_t(1) << 52) - 1);

    std::uint64_t mantissa = 0;
    int biased = 0;
    if (exponent == 0x7FF) {
        biased = 0x7FFF;
        mantissa = (std::uint64_t(1) << 63) | (fraction << 11);
        if (fraction != 0)
            mantissa |= std::uint64_t(1) << 62; // a quiet NaN
    } else if (exponent == 0) {
        if (fraction != 0) {
            // A subnormal double is a normal extended: shift its highest bit into the integer position.
            int e = 1 - 1023;
            while ((fraction & (std::uint64_t(1) << 52)) == 0) {
                fraction <<= 1;
                --e;
            }
            mantissa = fraction << 11;
            biased = e + 16383;
        }
    } else {
        mantissa = (std::uint64_t(1) << 63) | (fraction << 11);
        biased = exponent - 1023 + 16383;
    }

    Extended80 out{};
    for (int i = 0; i < 8; ++i)
        out[static_cast<size_t>(i)] = static_cast<std::uint8_t>(mantissa >> (8 * i));
    const std::uint16_t top = static_cast<std::uint16_t>((negative ? 0x8000 : 0) | biased);
    out[8] = static_cast<std::uint8_t>(top & 0xFF);
    out[9] = static_cast<std::uint8_t>(top >> 8);
    return out;
}

double DecodeExtended(const Extended80& b)
{
    std::uint64_t mantissa = 0;
    for (int i = 7; i >= 0; --i)
        mantissa = (mantissa << 8) | b[static_cast<size_t>(i)];
    const std::uint16_t top = static_cast<std::uint16_t>(b[8] | (b[9] << 8));
    const bool negative = (top & 0x8000) != 0;
    const int biased = top & 0x7FFF;

    double magnitude = 0;
    if (biased == 0x7FFF) {
        magnitude = (mantissa << 1) == 0 ? std::numeric_limits<double>::infinity()
                                         : std::numeric_limits<double>::quiet_NaN();
    } else if (mantissa != 0) {
        // The conversion of the 64-bit mantissa rounds to nearest, ties to even; the scaling is exact unless
        // the value lies outside the range of a double.
        const int exponent = (biased == 0 ? 1 : biased) - 16383 - 63;
        magnitude = std::ldexp(static_cast<double>(mantissa), exponent);
    }
    return negative ? -magnitude : magnitude;
}

} // namespace persist
