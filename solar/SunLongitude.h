#pragma once
// The Sun's apparent geocentric ecliptic longitude and distance to about an arc second, from
// the Earth's heliocentric series of the VSOP87 planetary theory as truncated in the
// astronomical-algorithms literature, with the FK5 correction, aberration and nutation. The
// seasons and the Moon's phases and light are reckoned from it; the daily sunrise engine uses
// the cheaper formulas of PreciseSun.h.
//
//     CSunEcliptic sun = SunApparentEclipticTt(2448908.5);  // 1992-10-13 0h TT
//     sun.longitude;  // 199.9060 degrees; sun.distanceAu 0.99761

struct CSunEcliptic {
    double longitude;   // degrees, 0 to 360, apparent (true equinox of date)
    double distanceAu;  // astronomical units
};

// At a Julian day in terrestrial time.
CSunEcliptic SunApparentEclipticTt(double julianDayTt);

// At a Julian day in UT (delta T from DeltaTSeconds).
CSunEcliptic SunApparentEcliptic(double julianDayUt);

// The same from the series' terms above 1e-5 (radian or au) only: within about 20 arc
// seconds, at a sixth of the cost; enough for the Moon's lit fraction.
CSunEcliptic SunApparentEclipticCoarse(double julianDayUt);

// Julian day in terrestrial time of a Julian day in UT.
double TerrestrialJulianDay(double julianDayUt);
