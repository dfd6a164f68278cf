// CYearIcsStream: YearIcs's calendar written a day at a time (YearExport.h has the format).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "YearExport.h"
#include "YearTable.h"

// YearIcs's calendar of sunrise and sunset events (without the daily summary or the almanac)
// written a day at a time: the head with the zone's description when made, the days' events a
// few kilobytes at a time as they are added, the rest and the end line by Finish. The bytes
// are YearIcs's for the same days;
// `offsets` are the days' clocks as YearIcs takes them (one entry per change is enough).
class CYearIcsStream final : public CYearDaySink {
public:
    CYearIcsStream(const CYearRequest& request, const std::string& zoneName,
                   const std::vector<int>& offsets, const CIcsOptions& options,
                   std::function<void(std::string_view)> write);
    ~CYearIcsStream();
    void Add(const CYearDay& day) override;
    void Finish();

private:
    struct State;
    std::unique_ptr<State> m_state;
};
