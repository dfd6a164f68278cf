#pragma once
// Where the Sun stands in the sky at any instant, from the precise engine's place of the Sun
// (PreciseSun.h): its elevation and azimuth seen from a place, the point of the Earth that has
// it overhead, and a date's course sampled for a picture.
//
// Elevations are geometric (no refraction), as the engine's altitudes are: sunrise is where
// the curve crosses -0.833 degrees. Longitudes are WEST positive, as everywhere in the engine,
// except the subsolar point's, which is east positive as maps draw it.
//
//     CSunSky sky = SunSkyAt(JulianDayUt({{2007, 6, 21}, 17}), 41.88, 87.63);
//     sky.elevation;   // about 71.5: near the noon Sun of Chicago's longest day

#include <vector>

#include "CivilTime.h"
#include "PreciseSun.h"

struct CSunSky {
    double elevation = 0;  // degrees above the horizon (negative: below)
    double azimuth = 0;    // degrees clockwise from north, 0 to 360
};

// From the Sun's place (sine of the declination, equation of time) at `minutesUtc` after 00:00
// UTC of some date: the hour angle is the true solar time at the longitude.
CSunSky SunSkyFromPlace(double sinDeclination, double eqTime, double minutesUtc, double lat,
                        double lon);

// One full evaluation of the theory.
CSunSky SunSkyAt(double julianDayUt, double lat, double lon);

struct CSubsolarPoint {
    double latitude = 0;       // degrees north: the declination
    double longitudeEast = 0;  // degrees EAST positive, -180 to 180
};

CSubsolarPoint SubsolarPoint(double julianDayUt);

// `count` (2 or more) samples evenly from 00:00 to 24:00 of `date` on a clock `utcOffsetSeconds`
// east of UTC, both ends included. The Sun's place is interpolated between three evaluations
// of the theory (CSunSamples), so a day of a few hundred samples costs microseconds.
std::vector<CSunSky> SunDayCurve(const CCivilDate& date, int utcOffsetSeconds, double lat,
                                 double lon, int count);
