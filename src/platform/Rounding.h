#pragma once

#include <climits>
#include <cmath>

// Nearest rounds half to even (banker's rounding); Trunc truncates toward zero.
// Both saturate instead of overflowing, so a corrupt size cannot cause undefined behaviour.
inline int SaturateToInt(double value) {
    if (!std::isfinite(value)) return 0;
    if (value >= double(INT_MAX)) return INT_MAX;
    if (value <= double(INT_MIN)) return INT_MIN;
    return static_cast<int>(value);
}

inline int Nearest(double value) {
    // nearbyint follows the current rounding mode, which is round-half-to-even by default.
    return SaturateToInt(std::nearbyint(value));
}

inline int Trunc(double value) {
    return SaturateToInt(std::trunc(value));
}

// Scale-dependent pen widths and font sizes: truncate unless the fraction exceeds 0.7.
inline int TruncUnlessAbove07(double value) {
    const double whole = std::trunc(value);
    // 2.7 computed as 270 / 100 carries a little float noise above .7 and must still truncate.
    return (value - whole > 0.7 + 1e-9) ? Nearest(value) : SaturateToInt(whole);
}

// Sums and products of stored values are taken in 64 bits and brought back into int range.
inline int ClampToInt(long long value) {
    return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : static_cast<int>(value);
}
