#include "calendar/Astronomy.h"

#include <cmath>
#include <iterator>

namespace {

#include "calendar/Vsop87Earth.inc"

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180;
constexpr double kJ2000 = 2451545.0;

double Normalize(double deg) {
    deg = std::fmod(deg, 360.0);
    return deg < 0 ? deg + 360 : deg;
}

struct TSeries {
    const double (*Terms)[3];
    int Count;
};

template <int N> constexpr TSeries S(const double (&terms)[N][3]) {
    return {terms, N};
}

const TSeries kL[] = {S(kEarthL0), S(kEarthL1), S(kEarthL2), S(kEarthL3), S(kEarthL4), S(kEarthL5)};
const TSeries kB[] = {S(kEarthB0), S(kEarthB1), S(kEarthB2), S(kEarthB3), S(kEarthB4)};
const TSeries kR[] = {S(kEarthR0), S(kEarthR1), S(kEarthR2), S(kEarthR3), S(kEarthR4), S(kEarthR5)};

// Σ τ^i Σ A cos(B + C τ), with τ in Julian millennia from J2000.
template <int N> double Evaluate(const TSeries (&series)[N], double tau) {
    double sum = 0, power = 1;
    for (const TSeries& s : series) {
        double part = 0;
        for (int i = 0; i < s.Count; ++i)
            part += s.Terms[i][0] * std::cos(s.Terms[i][1] + s.Terms[i][2] * tau);
        sum += part * power;
        power *= tau;
    }
    return sum;
}

// Nutation in longitude in arcseconds, the largest terms of the IAU 1980 theory (Meeus table 22.A):
// those left out stay below 0.01″, a fraction of a second in a solar term.
double NutationLongitude(double t) {
    const double d = (297.85036 + 445267.111480 * t - 0.0019142 * t * t + t * t * t / 189474) * kDeg;
    const double m = (357.52772 + 35999.050340 * t - 0.0001603 * t * t - t * t * t / 300000) * kDeg;
    const double mm = (134.96298 + 477198.867398 * t + 0.0086972 * t * t + t * t * t / 56250) * kDeg;
    const double f = (93.27191 + 483202.017538 * t - 0.0036825 * t * t + t * t * t / 327270) * kDeg;
    const double om = (125.04452 - 1934.136261 * t + 0.0020708 * t * t + t * t * t / 450000) * kDeg;
    struct TTerm {
        int D, M, Mm, F, Om;
        double A, B;
    };
    static const TTerm terms[] = {
        {0, 0, 0, 0, 1, -171996, -174.2}, {-2, 0, 0, 2, 2, -13187, -1.6}, {0, 0, 0, 2, 2, -2274, -0.2},
        {0, 0, 0, 0, 2, 2062, 0.2},       {0, 1, 0, 0, 0, 1426, -3.4},    {0, 0, 1, 0, 0, 712, 0.1},
        {-2, 1, 0, 2, 2, -517, 1.2},      {0, 0, 0, 2, 1, -386, -0.4},    {0, 0, 1, 2, 2, -301, 0},
        {-2, -1, 0, 2, 2, 217, -0.5},     {-2, 0, 1, 0, 0, -158, 0},      {-2, 0, 0, 2, 1, 129, 0.1},
        {0, 0, -1, 2, 2, 123, 0},         {2, 0, 0, 0, 0, 63, 0},         {0, 0, 1, 0, 1, 63, 0.1},
        {2, 0, -1, 2, 2, -59, 0},         {0, 0, -1, 0, 1, -58, -0.1},    {0, 0, 1, 2, 1, -51, 0},
    };
    double sum = 0;
    for (const TTerm& x : terms)
        sum += (x.A + x.B * t) * std::sin(x.D * d + x.M * m + x.Mm * mm + x.F * f + x.Om * om);
    return sum * 1e-4;
}

} // namespace

double TAstronomy::DeltaT(double y) {
    if (y < 1900) {
        const double t = y - 1860;
        return 7.62 + 0.5737 * t - 0.251754 * t * t + 0.01680668 * t * t * t - 0.0004473624 * std::pow(t, 4) +
               std::pow(t, 5) / 233174;
    }
    if (y < 1920) {
        const double t = y - 1900;
        return -2.79 + 1.494119 * t - 0.0598939 * t * t + 0.0061966 * t * t * t - 0.000197 * std::pow(t, 4);
    }
    if (y < 1941) {
        const double t = y - 1920;
        return 21.20 + 0.84493 * t - 0.076100 * t * t + 0.0020936 * t * t * t;
    }
    if (y < 1961) {
        const double t = y - 1950;
        return 29.07 + 0.407 * t - t * t / 233 + t * t * t / 2547;
    }
    if (y < 1986) {
        const double t = y - 1975;
        return 45.45 + 1.067 * t - t * t / 260 - t * t * t / 718;
    }
    if (y < 2005) {
        const double t = y - 2000;
        return 63.86 + 0.3345 * t - 0.060374 * t * t + 0.0017275 * t * t * t + 0.000651814 * std::pow(t, 4) +
               0.00002373599 * std::pow(t, 5);
    }
    if (y < 2050) {
        const double t = y - 2000;
        return 62.92 + 0.32217 * t + 0.005589 * t * t;
    }
    const double u = (y - 1820) / 100;
    if (y < 2150) return -20 + 32 * u * u - 0.5628 * (2150 - y);
    return -20 + 32 * u * u;
}

double TAstronomy::UtToTt(double jdUt) {
    return jdUt + DeltaT(2000 + (jdUt - kJ2000) / 365.25) / 86400;
}

double TAstronomy::TtToUt(double jdTt) {
    return jdTt - DeltaT(2000 + (jdTt - kJ2000) / 365.25) / 86400;
}

double TAstronomy::SunLongitude(double jdTt) {
    const double tau = (jdTt - kJ2000) / 365250;
    const double t = tau * 10;
    const double l = Evaluate(kL, tau);
    const double r = Evaluate(kR, tau);
    // Geocentric: the earth's heliocentric longitude turned half round; the FK5 frame moves the
    // longitude by a constant (the latitude's share is negligible for the sun).
    double lon = l / kDeg + 180;
    lon += -0.09033 / 3600;
    lon += NutationLongitude(t) / 3600;
    lon += -20.4898 / 3600 / r;
    return Normalize(lon);
}

double TAstronomy::SunReaches(double longitude, double guessTt) {
    double jd = guessTt;
    for (int i = 0; i < 20; ++i) {
        double diff = Normalize(longitude - SunLongitude(jd) + 180) - 180;
        jd += diff * 365.2422 / 360;
        if (std::abs(diff) < 1e-8) break;
    }
    return jd;
}

int TAstronomy::LunationNear(double jd) {
    return static_cast<int>(std::floor((jd - 2451550.09766) / 29.530588861));
}

double TAstronomy::MoonPhase(int lunation, int phase) {
    const double k = lunation + phase * 0.25;
    const double t = k / 1236.85;
    const double t2 = t * t, t3 = t2 * t, t4 = t3 * t;
    double jde = 2451550.09766 + 29.530588861 * k + 0.00015437 * t2 - 0.000000150 * t3 + 0.00000000073 * t4;
    const double e = 1 - 0.002516 * t - 0.0000074 * t2;
    const double m = (2.5534 + 29.10535670 * k - 0.0000014 * t2 - 0.00000011 * t3) * kDeg;
    const double mm = (201.5643 + 385.81693528 * k + 0.0107582 * t2 + 0.00001238 * t3 - 0.000000058 * t4) * kDeg;
    const double f = (160.7108 + 390.67050284 * k - 0.0016118 * t2 - 0.00000227 * t3 + 0.000000011 * t4) * kDeg;
    const double om = (124.7746 - 1.56375588 * k + 0.0020672 * t2 + 0.00000215 * t3) * kDeg;
    using std::sin;
    double c = 0;
    if (phase == 0 || phase == 2) {
        const bool nw = phase == 0;
        c = (nw ? -0.40720 : -0.40614) * sin(mm) + (nw ? 0.17241 : 0.17302) * e * sin(m) +
            (nw ? 0.01608 : 0.01614) * sin(2 * mm) + (nw ? 0.01039 : 0.01043) * sin(2 * f) +
            (nw ? 0.00739 : 0.00734) * e * sin(mm - m) - (nw ? 0.00514 : 0.00515) * e * sin(mm + m) +
            (nw ? 0.00208 : 0.00209) * e * e * sin(2 * m) - 0.00111 * sin(mm - 2 * f) - 0.00057 * sin(mm + 2 * f) +
            0.00056 * e * sin(2 * mm + m) - 0.00042 * sin(3 * mm) + 0.00042 * e * sin(m + 2 * f) +
            0.00038 * e * sin(m - 2 * f) - 0.00024 * e * sin(2 * mm - m) - 0.00017 * sin(om) -
            0.00007 * sin(mm + 2 * m) + 0.00004 * sin(2 * mm - 2 * f) + 0.00004 * sin(3 * m) +
            0.00003 * sin(mm + m - 2 * f) + 0.00003 * sin(2 * mm + 2 * f) - 0.00003 * sin(mm + m + 2 * f) +
            0.00003 * sin(mm - m + 2 * f) - 0.00002 * sin(mm - m - 2 * f) - 0.00002 * sin(3 * mm + m) +
            0.00002 * sin(4 * mm);
    } else {
        c = -0.62801 * sin(mm) + 0.17172 * e * sin(m) - 0.01183 * e * sin(mm + m) + 0.00862 * sin(2 * mm) +
            0.00804 * sin(2 * f) + 0.00454 * e * sin(mm - m) + 0.00204 * e * e * sin(2 * m) -
            0.00180 * sin(mm - 2 * f) - 0.00070 * sin(mm + 2 * f) - 0.00040 * sin(3 * mm) -
            0.00034 * e * sin(2 * mm - m) + 0.00032 * e * sin(m + 2 * f) + 0.00032 * e * sin(m - 2 * f) -
            0.00028 * e * e * sin(mm + 2 * m) + 0.00027 * e * sin(2 * mm + m) - 0.00017 * sin(om) -
            0.00005 * sin(mm - m - 2 * f) + 0.00004 * sin(2 * mm + 2 * f) - 0.00004 * sin(mm + m + 2 * f) +
            0.00004 * sin(mm - 2 * m) + 0.00003 * sin(mm + m - 2 * f) + 0.00003 * sin(3 * m) +
            0.00002 * sin(2 * mm - 2 * f) + 0.00002 * sin(mm - m + 2 * f) - 0.00002 * sin(3 * mm + m);
        const double w = 0.00306 - 0.00038 * e * std::cos(m) + 0.00026 * std::cos(mm) - 0.00002 * std::cos(mm - m) +
                         0.00002 * std::cos(mm + m) + 0.00002 * std::cos(2 * f);
        c += phase == 1 ? w : -w;
    }
    // The planetary arguments shared by every phase.
    static const double a[14][3] = {{299.77, 0.107408, 325},  {251.88, 0.016321, 165}, {251.83, 26.651886, 164},
                                    {349.42, 36.412478, 126}, {84.66, 18.206239, 110}, {141.74, 53.303771, 62},
                                    {207.14, 2.453732, 60},   {154.84, 7.306860, 56},  {34.52, 27.261239, 47},
                                    {207.19, 0.121824, 42},   {291.34, 1.844379, 40},  {161.72, 24.198154, 37},
                                    {239.56, 25.513099, 35},  {331.55, 3.592518, 23}};
    double extra = 0;
    for (int i = 0; i < 14; ++i) {
        double arg = a[i][0] + a[i][1] * k;
        if (i == 0) arg -= 0.009173 * t2;
        extra += a[i][2] * 1e-6 * sin(arg * kDeg);
    }
    return jde + c + extra;
}
