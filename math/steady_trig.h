// Sine and cosine whose bits are the same on every CPU and with every C library:
// they use only +, -, * and / on doubles (never fused, the build forbids contraction),
// where the C library picks its own sin and cos by CPU feature when a program loads.
#pragma once

#include <cmath>

struct SineCosine {
    double sin;
    double cos;
};

namespace steady_trig_detail {

// pi/2 in three parts: the first two have 33 significant bits, so k times either is
// exact for every |k| below 2^20, and the reduction loses nothing there.
constexpr double PIO2_HIGH = 1.5707963267341256;
constexpr double PIO2_MID = 6.077100506303966e-11;
constexpr double PIO2_LOW = 2.0222662487959506e-21;
constexpr double TWO_OVER_PI = 0.6366197723675814;
constexpr double PI_OVER_4 = 0.7853981633974483;

// Taylor series on [-pi/4, pi/4]: the first term left out is below 1e-19 of the
// result there, far under half a unit in the last place.
inline double sineNear(double r) {
    const double z = r * r;
    const double p =
        -0.16666666666666666 +
        z * (0.008333333333333333 +
             z * (-0.0001984126984126984 +
                  z * (2.7557319223985893e-06 +
                       z * (-2.505210838544172e-08 +
                            z * (1.6059043836821613e-10 +
                                 z * (-7.647163731819816e-13 + z * 2.8114572543455206e-15))))));
    // The leading term is added last, so small angles come out correctly rounded.
    return r + r * z * p;
}

inline double cosineNear(double r) {
    const double z = r * r;
    const double p =
        0.041666666666666664 +
        z * (-0.001388888888888889 +
             z * (2.48015873015873e-05 +
                  z * (-2.755731922398589e-07 +
                       z * (2.08767569878681e-09 +
                            z * (-1.1470745597729725e-11 +
                                 z * (4.779477332387385e-14 + z * -1.5619206968586225e-16))))));
    return 1.0 - (0.5 * z - z * z * p);
}

} // namespace steady_trig_detail

// Both at once, of x in radians. Below 2^-27 the sine is x itself and the cosine 1,
// as correctly rounded results are, which keeps the sign of a zero angle. Within
// about a million turns the error stays near one unit in the last place; beyond that
// the results lose accuracy but not their sameness. Not-a-number and infinities give
// not-a-number.
inline SineCosine steadySinCos(double x) {
    using namespace steady_trig_detail;
    if (std::fabs(x) < 0x1p-27)
        return {x, 1.0};
    if (std::fabs(x) <= PI_OVER_4)
        return {sineNear(x), cosineNear(x)};
    if (!std::isfinite(x))
        return {NAN, NAN};
    // rint rounds exactly by IEEE rules (to nearest, ties to even), on any CPU.
    const double k = std::rint(x * TWO_OVER_PI);
    const double r = ((x - k * PIO2_HIGH) - k * PIO2_MID) - k * PIO2_LOW;
    const double s = sineNear(r);
    const double c = cosineNear(r);
    switch (static_cast<long long>(std::fmod(k, 4.0) + 4.0) % 4) {
    case 0:
        return {s, c};
    case 1:
        return {c, -s};
    case 2:
        return {-s, -c};
    default:
        return {-c, s};
    }
}

inline double steadySin(double x) { return steadySinCos(x).sin; }
inline double steadyCos(double x) { return steadySinCos(x).cos; }
