#include "Nutation.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double kDeg = std::numbers::pi / 180;

// One term: multiples of the mean elongation of the Moon (D), the Sun's mean anomaly (M), the
// Moon's (M'), the Moon's argument of latitude (F) and the longitude of its ascending node
// (Omega); the sine's coefficient in units of 0.0001 arc second, and its change per century.
struct CNutationTerm {
    int d, m, mp, f, omega;
    double coefficient, perCentury;
};

constexpr CNutationTerm kTerms[] = {
    {0, 0, 0, 0, 1, -171996, -174.2}, {-2, 0, 0, 2, 2, -13187, -1.6}, {0, 0, 0, 2, 2, -2274, -0.2},
    {0, 0, 0, 0, 2, 2062, 0.2},       {0, 1, 0, 0, 0, 1426, -3.4},    {0, 0, 1, 0, 0, 712, 0.1},
    {-2, 1, 0, 2, 2, -517, 1.2},      {0, 0, 0, 2, 1, -386, -0.4},    {0, 0, 1, 2, 2, -301, 0},
    {-2, -1, 0, 2, 2, 217, -0.5},     {-2, 0, 1, 0, 0, -158, 0},      {-2, 0, 0, 2, 1, 129, 0.1},
    {0, 0, -1, 2, 2, 123, 0},         {2, 0, 0, 0, 0, 63, 0},         {0, 0, 1, 0, 1, 63, 0.1},
    {2, 0, -1, 2, 2, -59, 0},         {0, 0, -1, 0, 1, -58, -0.1},    {0, 0, 1, 2, 1, -51, 0},
    {-2, 0, 2, 0, 0, 48, 0},          {0, 0, -2, 2, 1, 46, 0},        {2, 0, 0, 2, 2, -38, 0},
    {0, 0, 2, 2, 2, -31, 0},          {0, 0, 2, 0, 0, 29, 0},         {-2, 0, 1, 2, 2, 29, 0},
    {0, 0, 0, 2, 0, 26, 0},           {-2, 0, 0, 2, 0, -22, 0},       {0, 0, -1, 2, 1, 21, 0},
    {0, 2, 0, 0, 0, 17, -0.1},        {2, 0, -1, 0, 1, 16, 0},        {-2, 2, 0, 2, 2, -16, 0.1},
    {0, 1, 0, 0, 1, -15, 0},          {-2, 0, 1, 0, 1, -13, 0},       {0, -1, 0, 0, 1, -12, 0},
    {0, 0, 2, -2, 0, 11, 0},          {2, 0, -1, 2, 1, -10, 0},
};

double Polynomial(double t, double c0, double c1, double c2, double c3) {
    return c0 + t * (c1 + t * (c2 + t * c3));
}

}  // namespace

double NutationInLongitude(double centuriesTt) {
    const double t = centuriesTt;
    const double d = Polynomial(t, 297.85036, 445267.111480, -0.0019142, 1.0 / 189474) * kDeg;
    const double m = Polynomial(t, 357.52772, 35999.050340, -0.0001603, -1.0 / 300000) * kDeg;
    const double mp = Polynomial(t, 134.96298, 477198.867398, 0.0086972, 1.0 / 56250) * kDeg;
    const double f = Polynomial(t, 93.27191, 483202.017538, -0.0036825, 1.0 / 327270) * kDeg;
    const double omega = Polynomial(t, 125.04452, -1934.136261, 0.0020708, 1.0 / 450000) * kDeg;
    double sum = 0;
    for (const CNutationTerm& term : kTerms) {
        const double argument =
            term.d * d + term.m * m + term.mp * mp + term.f * f + term.omega * omega;
        sum += (term.coefficient + term.perCentury * t) * std::sin(argument);
    }
    return sum * 0.0001 / 3600;
}
