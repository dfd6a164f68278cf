#include "ChosenDay.h"

#include <algorithm>

void CChosenDay::Set(const CYearRequest& request) {
    if (request == m_request) {
        return;
    }
    m_request = request;
    // A copy: an observer may remove itself while it is told.
    const std::vector<IChosenDayObserver*> observers = m_observers;
    for (IChosenDayObserver* observer : observers) {
        observer->ChosenDayChanged(*this);
    }
}

void CChosenDay::AddObserver(IChosenDayObserver& observer) {
    if (std::find(m_observers.begin(), m_observers.end(), &observer) == m_observers.end()) {
        m_observers.push_back(&observer);
    }
}

void CChosenDay::RemoveObserver(IChosenDayObserver& observer) {
    std::erase(m_observers, &observer);
}
