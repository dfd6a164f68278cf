#pragma once
// Pieces of the tool's tables and CSV files, shared by the plain output and the event output
// (defined in Cli.cpp).

#include <cstddef>
#include <cstdint>
#include <string>

#include "SolarTable.h"

// Zero-padded decimal appended to `text`.
void AppendNumber(std::string& text, std::int64_t value, int width);

std::string DateText(const CCivilDate& date);                                 // "2007-06-21"
std::string ClockText(std::int64_t hour, int minute, int second);             // "05:15:47"
std::string OutcomeText(const CSolarResult& result);                          // "up all day"
std::string CellText(const CSolarResult& result, const CCivilDate& rowDate);  // "00:42:01 +1"
// "2007-06-21T05:15:47-05:00": the local time and the clock's offset east of UTC.
std::string CsvCell(const CSolarResult& result, int utcOffsetSeconds);
std::string DayLength(const CSolarDay& day);           // "15:12:21"
std::string Pad(std::string text, std::size_t width);  // left-aligned
