#pragma once
// A check of the signs of a typed-in place. This tool takes longitude and offset west positive;
// a longitude or offset copied with the other sign (a map's -87.63 for Chicago) still computes,
// but puts solar noon far from midday. Where it falls more than three hours from 12:00 on the
// local clock, a note for standard error says so; the results themselves stay as computed.

#include <string>

#include "CliOptions.h"

// The note, one line ending in '\n', or empty. Needs the place's latitude, longitude and
// clock, as the calculation does.
std::string NoonNote(const CCliOptions& options, const CCivilDate& date);
