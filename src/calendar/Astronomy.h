#pragma once

// The sun's and the moon's positions the almanac needs, after Meeus, Astronomical Algorithms (2nd ed.):
// the sun from the full VSOP87D Earth series, the moon's phases from chapter 49. Julian days are
// in dynamical time (TT) unless a name says UT.
class TAstronomy {
public:
    // TT − UT in seconds for a decimal year (Espenak–Meeus polynomials).
    static double DeltaT(double year);
    // The Julian day (TT) of a UT Julian day and back.
    static double UtToTt(double jdUt);
    static double TtToUt(double jdTt);

    // The sun's apparent geocentric longitude in degrees [0, 360), equinox of date.
    static double SunLongitude(double jdTt);
    // The instant (TT) the sun reaches a longitude, searched from a guess within about a month.
    static double SunReaches(double longitude, double guessTt);

    // The instant (TT) of a moon phase: k counts lunations from the new moon of 2000-01-06,
    // phase 0 new, 1 first quarter, 2 full, 3 last quarter.
    static double MoonPhase(int k, int phase);
    // The lunation number of the last new moon at or before a Julian day, give or take one.
    static int LunationNear(double jd);
};
