#pragma once
// Input checks shared by the single-day operations and the table. Not part of the engine's
// public interface.

#include "CivilTime.h"

// Throws CSolarException unless the date is a real date in the years 1900 to 9999.
void CheckSolarDate(const CCivilDate& date);

// Throws CSolarException unless latitude, longitude and offset are finite.
void CheckSolarInputs(double lat, double lon, float offset);
