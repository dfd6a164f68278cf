// CDayDetailsCalculation computes what Day Details shows for a chosen place, date and clock:
// every event of the day from the precise engine (sunrise, sunset and solar noon from the
// engine the main window uses, so that the two agree), the day's chart and the Moon.
#pragma once

#include "DialogControls.h"
#include "YearTable.h"

class CDayDetailsCalculation {
public:
    // An empty request (nothing entered) gives the "No place chosen" note.
    static CDayDetails Of(const CYearRequest& chosen);
};
