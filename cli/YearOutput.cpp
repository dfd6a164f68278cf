#include "YearOutput.h"

#include <ctime>

#include "CliOptions.h"
#include "SolarTable.h"
#include "YearExport.h"
#include "YearTable.h"

bool UsesYearFileOutput(const CCliOptions& options) {
    return options.format == CliFormat::Json || options.format == CliFormat::Ics;
}

std::string YearFileOutput(const CCliOptions& options, const CCivilDate& date) {
    CYearRequest request;
    request.latitude = *options.latitude;
    request.longitude = *options.longitude;
    request.offset = *options.offset;
    request.dst = options.dst ? 1 : 0;
    request.precise = options.precise;
    request.date = date;
    const int days = options.days == 0 ? 1 : options.days;
    const CYearTable table =
        options.precise ? ComputeDays(request, date, days)
                        : TableFromRows(request, LocalSolarTable(date, days, request.latitude,
                                                                 request.longitude, request.offset,
                                                                 request.dst));
    if (options.format == CliFormat::Json) {
        return YearJson(table);
    }
    CIcsOptions ics;
    ics.stamp = std::time(nullptr);
    return YearIcs(table, ics);
}
