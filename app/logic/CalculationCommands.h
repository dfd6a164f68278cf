// ICalculationCommands is what the Calculation menu asks of the main window's logic: its two
// options and its commands. The main dialog implements it; the menu knows nothing else of it.
#pragma once

#include <optional>

class ICalculationCommands {
public:
    // The options as kept between runs, before the controls exist: nothing is recomputed.
    virtual void RestorePrecise(bool on) = 0;
    virtual void RestoreDstFromDate(bool on) = 0;
    // Precise Calculation and Daylight Saving from the Date turned on or off: recomputes.
    virtual void OnPreciseCalculation(bool on) = 0;
    virtual void OnDstFromDate(bool on) = 0;
    virtual void OnDayDetails() = 0;
    // A point picked on the world map: latitude, longitude (WEST positive) and its zone's
    // standard offset (hours behind UTC) when known.
    virtual void OnMapPoint(double latitude, double longitude, std::optional<float> offset) = 0;

protected:
    ~ICalculationCommands() = default;
};
