#pragma once
// How much of the Moon is lit and its phase: the illuminated fraction of the disc from the
// phase angle (the Sun-Moon-Earth angle, from the two bodies' geocentric places), the age in
// days since the last new moon, and the phase name of a date.
//
// A date's phase is the principal phase whose instant falls between 00:00 and 24:00 on the
// date's clock (New Moon, First Quarter, Full Moon, Last Quarter); on the other dates it is
// the stretch between them (Waxing Crescent, Waxing Gibbous, Waning Gibbous, Waning Crescent).
// Its light is that of 12:00 on the clock.
//
//     CMoonPhaseOfDate p = MoonPhaseOnDate(CCivilDate{2024, 6, 21}, 5.0f, 0);
//     FormatMoonPhase(p);  // "Full Moon, 99.7% lit"

#include <string>
#include <vector>

#include "CivilTime.h"

enum class MoonPhase {
    NewMoon,
    WaxingCrescent,
    FirstQuarter,
    WaxingGibbous,
    FullMoon,
    WaningGibbous,
    LastQuarter,
    WaningCrescent,
};

// "Waxing Gibbous".
const char* MoonPhaseName(MoonPhase phase) noexcept;

struct CMoonLight {
    double fraction = 0;    // 0 to 1, of the disc's area seen lit from the Earth's centre
    double elongation = 0;  // degrees 0 to 360: the Moon's apparent longitude minus the Sun's
};

// The Sun's place comes from the leading terms of its theory (SunApparentEclipticCoarse): the
// fraction is good to a few thousandths of a percent, the elongation to a few arc seconds.
CMoonLight MoonLightAt(double julianDayUt);

// Days since the last new moon (the instant of SeasonsAndPhases.h).
double MoonAgeDays(double julianDayUt);

struct CMoonPhaseOfDate {
    MoonPhase phase = MoonPhase::NewMoon;
    CMoonLight noon;  // at 12:00 on the date's clock
};

// Clock as for the day's events (`offset` hours WEST of Greenwich, dst adds an hour). Throws
// CSolarException as MoonDay does.
CMoonPhaseOfDate MoonPhaseOnDate(const CCivilDate& date, float offset, int dst);

// `days` dates from `first` on (0 or fewer gives none), each as MoonPhaseOnDate gives it; the
// elongation at a date's 24:00 serves as the next date's 00:00.
std::vector<CMoonPhaseOfDate> MoonPhaseTable(const CCivilDate& first, int days, float offset,
                                             int dst);

// "72.8": the percentage lit at 12:00, to one decimal, as a number (tables, CSV, JSON).
std::string FormatMoonIllumination(const CMoonPhaseOfDate& phase);

// "Waxing Gibbous, 72.8% lit": the percentage to one decimal.
std::string FormatMoonPhase(const CMoonPhaseOfDate& phase);
