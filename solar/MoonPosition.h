#pragma once
// The Moon's apparent place: the principal terms of the ELP-2000/82 lunar theory as truncated
// in the astronomical-algorithms literature (60 terms each for longitude and distance, 60 for
// latitude, with the additive terms of Venus, Jupiter and the Earth's flattening), about 10
// arc seconds in longitude and 4 in latitude; nutation and obliquity as in PreciseSun.h; and
// the place seen from the ground (topocentric) on the WGS84 ellipsoid at sea level.
//
// Instants are Julian days in UT; the theory runs in terrestrial time (UT + delta T).
//
//     CMoonPosition m = MoonPositionTt(2448724.5);  // 1992-04-12 0h TT
//     m.longitude;  // 133.1672 degrees; m.declination 13.7683; m.distanceKm 368409.7

struct CMoonPosition {
    double longitude;       // degrees, 0 to 360: apparent ecliptic longitude of date
    double latitude;        // degrees
    double distanceKm;      // Earth's centre to the Moon's
    double rightAscension;  // degrees, 0 to 360, apparent, geocentric
    double declination;     // degrees
    double nutation;        // degrees: nutation in longitude, for the apparent sidereal time
    double obliquity;       // degrees: true obliquity of the ecliptic
};

CMoonPosition MoonPositionTt(double julianDayTt);
CMoonPosition MoonPosition(double julianDayUt);

// The Moon's mean radius, km: its semidiameter is asin(kMoonRadiusKm / distance).
inline constexpr double kMoonRadiusKm = 1737.4;

// An observer on the WGS84 ellipsoid at sea level. Longitude WEST positive, as everywhere in
// the engine.
struct CObserver {
    double lat = 0;
    double lon = 0;
    double sinLat = 0, cosLat = 1;
    double rhoSin = 0, rhoCos = 1;  // geocentric place, km: rho sin phi', rho cos phi'

    CObserver(double latitude, double longitude);
};

// The Moon seen from the observer: altitude of its centre without refraction, azimuth, and
// distance from the observer.
struct CMoonHorizontal {
    double altitude;  // degrees
    double azimuth;   // degrees clockwise from north
    double distanceKm;
};

// `hourAngle` is the geocentric local hour angle in degrees (apparent sidereal time minus the
// west longitude minus the right ascension).
CMoonHorizontal MoonHorizontal(const CObserver& observer, double hourAngle, double declination,
                               double distanceKm);

// The same at an instant.
CMoonHorizontal MoonHorizontalAt(const CObserver& observer, double julianDayUt);

// Greenwich apparent sidereal time of an instant, degrees, for a Moon place of about that
// instant (its nutation and obliquity change too slowly to matter over days).
double ApparentSiderealDegrees(double julianDayUt, const CMoonPosition& moon);
