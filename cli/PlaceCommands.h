#pragma once
// What the place options do: load a state archive and take a place from it, list a state's
// zip codes or city texts, or dump an archive file. Texts in the archives are Windows-1252;
// everything printed is UTF-8 with control characters escaped as \xHH, and a --city value is
// taken as UTF-8.

#include <iosfwd>
#include <string>

#include "CliOptions.h"

// An archive that a nationwide search had to read could not be read, and the place was not
// found in the others: exit status 1, as for any failure of the system rather than the input.
class CPlaceDataError : public CCliError {
public:
    using CCliError::CCliError;
};

// For --state with --zip or --city: fills the latitude, longitude (west positive) and offset
// of `options` from the place, and clears its --dst when the place keeps standard time all
// year. Returns the lines that go before the results ("City Name: ..." to "Time Zone: ...");
// appends remarks for standard error to `notes`. Throws CCliError for an unknown state, an
// archive that cannot be read, or a zip code or city that no record has; CPlaceDataError
// as said above.
std::string ResolvePlace(CCliOptions& options, std::string& notes);

// For --list-zips, --list-cities and --dump: the output in `text`, remarks for standard error
// in `notes`; --dump writes its record lines to `out` as it reads them and leaves only the
// closing count in `text`. Returns the exit status: 0, or 1 when the dumped file ends inside a
// record. Throws CCliError as ResolvePlace does.
int RunPlaceListing(const CPlaceOptions& place, std::ostream& out, std::string& text,
                    std::string& notes);
