#pragma once
// Nutation in longitude from the IAU 1980 theory, for the Sun's apparent place of the seasons.
// Not part of the engine's public interface: the daily engines take the two largest terms
// (NutationAndObliquity in PreciseSun.h), which are within about half an arc second.

// Degrees, for Julian centuries of terrestrial time from J2000.0: the series' terms of 0.001
// arc second and more, within 0.01 arc second of the whole series.
double NutationInLongitude(double centuriesTt);
