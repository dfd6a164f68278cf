#pragma once
// Inputs whose results leave the years 1900 to 9999 by a few hours, for checking that every
// output refuses them: the last date 12 hours ahead of UTC carries Chicago's sunset and noon
// into 10000; the first date 14 hours behind UTC carries noon near the pole back into 1899.

#include "CivilTime.h"

struct CResultYearEdge {
    const char* latitude;   // as typed: degrees north
    const char* longitude;  // degrees west
    const char* offset;     // hours behind UTC
    const char* date;       // YYYY-MM-DD
    double lat;
    double lon;
    float hours;
    CCivilDate day;
};

inline constexpr CResultYearEdge kResultYearEdges[] = {
    {"41.88", "87.63", "-12", "9999-12-31", 41.88, 87.63, -12.0f, {9999, 12, 31}},
    {"89.9", "0", "14", "1900-01-01", 89.9, 0.0, 14.0f, {1900, 1, 1}},
};
