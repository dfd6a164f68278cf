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
    double ageDays = 0;     // days since the last new moon
};

CMoonLight MoonLightAt(double julianDayUt);

struct CMoonPhaseOfDate {
    MoonPhase phase = MoonPhase::NewMoon;
    CMoonLight noon;  // at 12:00 on the date's clock
};

// Clock as for the day's events (`offset` hours WEST of Greenwich, dst adds an hour). Throws
// CSolarException as MoonDay does.
CMoonPhaseOfDate MoonPhaseOnDate(const CCivilDate& date, float offset, int dst);

// "Waxing Gibbous, 72.8% lit": the percentage to one decimal.
std::string FormatMoonPhase(const CMoonPhaseOfDate& phase);
