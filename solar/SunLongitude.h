#pragma once
// The Sun's apparent geocentric ecliptic longitude and distance to about 0.1 arc second, from
// the Earth's heliocentric series of the VSOP87 planetary theory (its terms above 3e-8 radian),
// with the FK5 correction, aberration and the IAU 1980 nutation series (its terms above 0.001
// arc second). The seasons and the Moon's phases and light are reckoned from it; the daily
// sunrise engine uses the cheaper formulas of PreciseSun.h.
//
//     CSunEcliptic sun = SunApparentEclipticTt(2448908.5);  // 1992-10-13 0h TT
//     sun.longitude;  // 199.90599 degrees (199 deg 54' 21.55"); sun.distanceAu 0.99761

struct CSunEcliptic {
    double longitude;   // degrees, 0 to 360, apparent (true equinox of date)
    double distanceAu;  // astronomical units
};

// At a Julian day in terrestrial time.
CSunEcliptic SunApparentEclipticTt(double julianDayTt);

// At a Julian day in UT (delta T from DeltaTSeconds).
CSunEcliptic SunApparentEcliptic(double julianDayUt);

// The same without nutation (referred to the mean equinox of date), for the Moon's elongation,
// a difference of two longitudes in which nutation cancels; from the series' terms above 2e-7
// radian, within half an arc second (the Moon's place is within 10).
CSunEcliptic SunMeanEquinoxEcliptic(double julianDayUt);

// The same from the series' terms above 1e-5 (radian or au) only and the two largest terms of
// nutation (NutationAndObliquity, as the Moon's place has them): within about 20 arc seconds, at
// a tenth of the cost; enough for the Moon's lit fraction.
CSunEcliptic SunApparentEclipticCoarse(double julianDayUt);

// Julian day in terrestrial time of a Julian day in UT.
double TerrestrialJulianDay(double julianDayUt);
