// Every text form of a day, as each output writes it: one row per form and edge case.
#include <gtest/gtest.h>

#include <functional>

#include "DayText.h"

namespace {

CSolarResult At(const CCivilDate& date, int hour, int minute, int second) {
    CSolarResult result;
    result.time = CCivilTime{date, hour, minute, second};
    return result;
}

CSolarResult AllDay(SolarOutcome outcome) {
    CSolarResult result;
    result.outcome = outcome;
    return result;
}

constexpr CCivilDate kJune21{2007, 6, 21};
const CSolarResult kRise = At(kJune21, 5, 15, 47);
const CSolarResult kSet = At(kJune21, 20, 28, 8);
const CSolarResult kNoon = At(kJune21, 12, 51, 57);
const CSolarResult kUp = AllDay(SolarOutcome::UpAllDay);
const CSolarResult kDown = AllDay(SolarOutcome::DownAllDay);

CDayOnClock Day(const CSolarResult& rise, const CSolarResult& set, int offset) {
    CDayOnClock day;
    day.date = kJune21;
    day.clock.utcOffsetSeconds = offset;
    day.sunrise = rise;
    day.sunset = set;
    day.solarNoon = kNoon;
    return day;
}

struct Form {
    const char* name;
    std::function<void(CDayText&)> write;
    const char* text;
};

const Form kForms[] = {
    {"date", [](CDayText& t) { t.Date(kJune21); }, "2007-06-21"},
    {"repeated date after another",
     [](CDayText& t) {
         t.Date(kJune21);
         t.Date(CCivilDate{1999, 12, 31});
         t.Date(kJune21);
     },
     "2007-06-211999-12-312007-06-21"},
    {"long date",
     [](CDayText& t) {
         t.LongDate(CCivilDate{1900, 1, 1});
     },
     "Monday, January 01, 1900"},
    {"clock",
     [](CDayText& t) {
         t.Clock(CCivilTime{kJune21, 0, 4, 9});
     },
     "00:04:09"},
    {"clock to the minute", [](CDayText& t) { t.ClockMinutes(1439); }, "23:59"},
    {"offset west, east and a quarter hour, each after the other",
     [](CDayText& t) {
         t.Offset(-18000);
         t.Offset(-18000);
         t.Offset(0);
         t.Offset(20700);
     },
     "-05:00-05:00+00:00+05:45"},
    {"cell", [](CDayText& t) { t.Cell(kRise, kJune21); }, "05:15:47"},
    {"cell on the next date",
     [](CDayText& t) {
         t.Cell(At({2007, 6, 22}, 0, 42, 1), kJune21);
     },
     "00:42:01 +1"},
    {"cell on the previous date",
     [](CDayText& t) {
         t.Cell(At({2007, 6, 20}, 23, 59, 0), kJune21);
     },
     "23:59:00 -1"},
    {"cell without the event", [](CDayText& t) { t.Cell(kDown, kJune21); }, "down all day"},
    {"stamp", [](CDayText& t) { t.Stamp(kRise, -18000); }, "2007-06-21T05:15:47-05:00"},
    {"stamp without the event", [](CDayText& t) { t.Stamp(kUp, -18000); }, "up all day"},
    {"duration past a day, and negative",
     [](CDayText& t) {
         t.Duration(90061);
         t.Char(' ');
         t.Duration(-61);
     },
     "25:01:01 -00:01:01"},
    {"day length", [](CDayText& t) { t.DayLength(kRise, kSet); }, "15:12:21"},
    {"day the Sun never sets", [](CDayText& t) { t.DayLength(kUp, kUp); }, "24:00:00"},
    {"day the Sun never rises", [](CDayText& t) { t.DayLength(kDown, kDown); }, "00:00:00"},
    {"day with sunrise alone", [](CDayText& t) { EXPECT_FALSE(t.DayLength(kRise, kUp)); }, ""},
    {"table row", [](CDayText& t) { t.DayRow(Day(kRise, kSet, -18000), false); },
     "2007-06-21  05:15:47      20:28:08      12:51:57      15:12:21\n"},
    {"table row with sunrise alone", [](CDayText& t) { t.DayRow(Day(kRise, kUp, -18000), false); },
     "2007-06-21  05:15:47      up all day    12:51:57      -\n"},
    {"CSV row", [](CDayText& t) { t.DayRow(Day(kUp, kUp, 7200), true); },
     "2007-06-21,up all day,up all day,2007-06-21T12:51:57+02:00,24:00:00\n"},
    {"JSON day object",
     [](CDayText& t) {
         t.JsonDayOpen(kJune21, -18000);
         t.JsonKey("sunrise");
         t.JsonStamp(SolarOutcome::Time, kRise.time, -18000);
         t.JsonKey("moonrise");
         t.JsonStamp(std::nullopt, {}, -18000);
         t.JsonKey("moon_phase");
         t.JsonText("Full Moon");
         t.JsonKey("day_length");
         t.JsonNumber(std::nullopt);
         t.JsonDayClose();
     },
     R"(  {"date": "2007-06-21", "utc_offset": "-05:00", "sunrise": "2007-06-21T05:15:47-05:00", )"
     R"("moonrise": null, "moon_phase": "Full Moon", "day_length": null})"},
};

TEST(DayText, WritesEachForm) {
    for (const Form& form : kForms) {
        SCOPED_TRACE(form.name);
        CDayText text;
        form.write(text);
        EXPECT_EQ(text.View(), form.text);
    }
}

TEST(DayText, StringFormsMatchTheWriter) {
    EXPECT_EQ(IsoDate(kJune21), "2007-06-21");
    EXPECT_EQ(OffsetText(-34200), "-09:30");
    EXPECT_EQ(EventCell(SolarOutcome::Time, At({2007, 6, 22}, 0, 1, 2).time, kJune21),
              "00:01:02 +1");
    EXPECT_EQ(DurationText(std::nullopt), "");
    EXPECT_EQ(DurationText(DayLengthSeconds(kDown, kDown)), "00:00:00");
}

}  // namespace
