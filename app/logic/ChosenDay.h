// CChosenDay holds what the main window has chosen: the place (its point, name and state), the
// date and the clock (offset, daylight-saving mark, the zone when the mark follows the date),
// and the engine. The main dialog sets it each time it shows its members; the windows that
// follow the main window (the year window, the world map) observe it instead of asking the
// dialog. Observers hear of a change only, once per change, in the order they were added.
//
//     CChosenDay chosen;
//     chosen.AddObserver(yearWindow);   // an IChosenDayObserver
//     chosen.Set(request);              // yearWindow.ChosenDayChanged(chosen)
#pragma once

#include <vector>

#include "YearTable.h"

class CChosenDay;

class IChosenDayObserver {
public:
    virtual void ChosenDayChanged(const CChosenDay& chosen) = 0;

protected:
    ~IChosenDayObserver() = default;
};

class CChosenDay {
public:
    // Empty (IsEmpty()) until the dialog first shows its members.
    const CYearRequest& Request() const { return m_request; }
    // Tells the observers when `request` differs from the one held.
    void Set(const CYearRequest& request);

    // An observer must be removed before it is destroyed, unless the model goes first.
    void AddObserver(IChosenDayObserver& observer);
    void RemoveObserver(IChosenDayObserver& observer);

private:
    CYearRequest m_request;
    std::vector<IChosenDayObserver*> m_observers;
};
