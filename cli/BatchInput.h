#pragma once
// --places FILE: many places in one run, read as CSV with a header line naming its columns
// ("-" reads standard input):
//
//     id,zip                 id,lat,lon,tz                    city,state
//     home,78572             harbor,41.88N,87.63W,America/Chicago   San Antonio,TX
//
//     id      carried to the output at the start of every row (default: the line's number)
//     zip     the place of a zip code from the archives, with optional state
//     city    the first place of that name (case, accents and punctuation folded), with
//             optional state; without one, every match must lie in one state
//     lat     latitude as --lat takes it; lon as --lon takes it (WEST positive, or a
//             hemisphere letter)
//     tz      the zone, as --tz; offset, as --offset: the clock of a line without a zip or
//             city; without either the command line's --tz or --offset
//
// Each place gets the days of --date and --days, with the events of --precise and --events,
// in the format of --format (text, csv or json), as one place alone gets them, its rows in the
// order of the input whatever the number of threads computing them. With ics, one calendar
// holds every place's events, in UTC (the places' clocks differ), each event's UID and summary
// carrying the place's id ("Sunrise (home)").
// A line that cannot be read or computed is reported on standard error with its number and
// skipped; the run then ends with kCliExitSkipped.

#include <functional>
#include <iosfwd>

struct CCliOptions;

// Some of the places were skipped; the others were written.
inline constexpr int kCliExitSkipped = 3;

// Checks that the rest of the command line goes with --places. Throws CCliError.
void CheckBatchOptions(const CCliOptions& options);

// Writes the places of options.places on `out` (the days from *options.date), the skipped
// lines on `err`, and returns the exit status: 0, or kCliExitSkipped. Throws CCliError for a
// file that cannot be opened, a bad header line, or places from the archives when there are
// none; what was written before stays.
int RunBatch(const CCliOptions& options, std::ostream& out, std::ostream& err);
