// The year's table and its CSV, JSON and iCalendar files.
#include <gtest/gtest.h>

#include <libical/ical.h>

#include <algorithm>
#include <clocale>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "FileText.h"
#include "YearAlmanac.h"
#include "YearExport.h"
#include "YearIcs.h"
#include "YearTable.h"

namespace {

CYearRequest Chicago(bool fromDate) {
    CYearRequest request;
    request.latitude = 41.88;
    request.longitude = 87.63;
    request.offset = 6.0f;
    request.zoneName = "America/Chicago";
    request.fromDate = fromDate;
    request.date = CCivilDate{2007, 6, 21};
    request.placeName = "Chicago";
    return request;
}

CYearRequest Barrow() {
    CYearRequest request;
    request.latitude = 71.29;
    request.longitude = 156.79;
    request.offset = 9.0f;
    request.date = CCivilDate{2007, 1, 1};
    return request;
}

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++count;
    }
    return count;
}

struct IcalFree {
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using Calendar = std::unique_ptr<icalcomponent, IcalFree>;

Calendar Parse(const std::string& text) {
    return Calendar(icalparser_parse_string(text.c_str()));
}

// The DTSTART of the calendar's first event whose UID starts with `uidStart`.
icaltimetype StartOf(icalcomponent* calendar, const std::string& uidStart) {
    for (icalcomponent* e = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT);
         e != nullptr; e = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
        if (std::string(icalcomponent_get_uid(e)).rfind(uidStart, 0) == 0) {
            return icalcomponent_get_dtstart(e);
        }
    }
    return icaltime_null_time();
}

}  // namespace

TEST(YearTable, DaysOfTheYearEqualTheSingleDayEngine) {
    CYearRequest request = Chicago(false);
    request.dst = 1;
    const CYearTable year = ComputeYear(request);
    ASSERT_EQ(year.days.size(), 365u);
    const CYearDay& june21 = year.days[171];
    EXPECT_EQ(june21.date, (CCivilDate{2007, 6, 21}));
    const CSolarResult sunrise = LocalSunrise(june21.date, 41.88, 87.63, 6.0f, 1);
    EXPECT_EQ(june21.sunrise.time, sunrise.time);
    EXPECT_EQ(june21.utcOffsetSeconds, -5 * 3600);
    ASSERT_TRUE(june21.hasTwilights);
    EXPECT_LT(june21.civilDawn.time, june21.sunrise.time);
    CYearRequest leap = request;
    leap.date = CCivilDate{2008, 2, 2};
    EXPECT_EQ(ComputeYear(leap).days.size(), 366u);

    request.precise = true;
    const CYearDay precise = ComputeYear(request).days[171];
    EXPECT_EQ(precise.sunrise.time,
              PreciseSunDay(june21.date, 41.88, 87.63, 6.0f, 1)[SunEvent::Sunrise].time);
}

TEST(YearTable, ZoneClockChangesOnItsDates) {
    const CYearTable year = ComputeYear(Chicago(true));
    EXPECT_EQ(year.zoneName, "America/Chicago");
    EXPECT_EQ(year.days[68].utcOffsetSeconds, -6 * 3600);   // 10 March
    EXPECT_EQ(year.days[69].utcOffsetSeconds, -5 * 3600);   // 11 March
    EXPECT_EQ(year.days[308].utcOffsetSeconds, -6 * 3600);  // 5 November
    // The step: sunrise an hour later on the clock, less the day's drift.
    const double step = HoursIntoDay(year.days[69].sunrise.time, year.days[69].date) -
                        HoursIntoDay(year.days[68].sunrise.time, year.days[68].date);
    EXPECT_NEAR(step, 1.0, 0.05);

    CYearRequest last = Chicago(false);
    last.date = CCivilDate{9999, 6, 1};
    last.offset = -14.0f;  // 31 December's sunset would fall in the year 10000
    EXPECT_THROW(ComputeYear(last), CSolarException);

    CYearRequest unknown = Chicago(true);
    unknown.zoneName = "Mars/Olympus";
    EXPECT_THROW(ComputeYear(unknown), CYearZoneError);
}

TEST(YearExport, CsvAndJsonSayEveryDayAndThePolarCases) {
    const CYearTable year = ComputeYear(Barrow());
    const std::string csv = YearCsv(year);
    EXPECT_EQ(csv.substr(0, csv.find('\n')),
              "date,sunrise,sunset,solar_noon,day_length,civil_dawn,civil_dusk");
    EXPECT_EQ(Count(csv, "\n"), 366u);
    EXPECT_NE(csv.find("\n2007-06-21,up all day,up all day,2007-06-21T"), std::string::npos);
    EXPECT_NE(csv.find(",24:00:00,up all day,up all day\n"), std::string::npos);

    const std::string json = YearJson(year);
    EXPECT_EQ(Count(json, "{\"date\": "), 365u);
    EXPECT_NE(json.find("{\"date\": \"2007-06-21\", \"utc_offset\": \"-09:00\", \"sunrise\": "
                        "\"up all day\", \"sunset\": \"up all day\", \"solar_noon\": "
                        "\"2007-06-21T13:"),
              std::string::npos);
    EXPECT_NE(json.find("\"day_length\": 86400"), std::string::npos);
    EXPECT_NE(json.find("\"sunrise\": \"down all day\""), std::string::npos);
    EXPECT_NE(json.find("\"day_length\": 0,"), std::string::npos);
    EXPECT_EQ(YearJson(CYearTable{}), "[]\n");
}

TEST(YearExport, CalendarEventsParseBackWithTheirZone) {
    const CYearTable year = ComputeYear(Chicago(true));
    const CYearDay& june21 = year.days[171];
    CIcsOptions options;
    options.stamp = 1182384000;
    const std::string text = YearIcs(year, options);
    Calendar calendar = Parse(text);
    ASSERT_TRUE(calendar);
    EXPECT_EQ(icalcomponent_count_components(calendar.get(), ICAL_VEVENT_COMPONENT), 730);
    EXPECT_EQ(icalcomponent_count_components(calendar.get(), ICAL_VTIMEZONE_COMPONENT), 1);
    const icaltimetype sunrise = StartOf(calendar.get(), "2007-06-21-Sunrise");
    EXPECT_EQ(sunrise.hour, june21.sunrise.time.hour);
    EXPECT_EQ(sunrise.minute, june21.sunrise.time.minute);
    EXPECT_EQ(sunrise.second, june21.sunrise.time.second);
    EXPECT_NE(text.find("DTSTART;TZID=America/Chicago:20070621T"), std::string::npos);

    // In UTC: five hours later in summer, six in winter.
    options.utc = true;
    Calendar utc = Parse(YearIcs(year, options));
    EXPECT_EQ(icalcomponent_count_components(utc.get(), ICAL_VTIMEZONE_COMPONENT), 0);
    const icaltimetype utcSunrise = StartOf(utc.get(), "2007-06-21-Sunrise");
    EXPECT_TRUE(icaltime_is_utc(utcSunrise));
    EXPECT_EQ(utcSunrise.hour, june21.sunrise.time.hour + 5);
    EXPECT_EQ(StartOf(utc.get(), "2007-01-01-Sunrise").hour, year.days[0].sunrise.time.hour + 6);
}

TEST(YearExport, CalendarSummaryAndFixedOffset) {
    CIcsOptions options;
    options.dailySummary = true;
    const std::string polar = YearIcs(ComputeYear(Barrow()), options);
    Calendar calendar = Parse(polar);
    ASSERT_TRUE(calendar);
    EXPECT_EQ(icalcomponent_count_components(calendar.get(), ICAL_VEVENT_COMPONENT), 365);
    EXPECT_TRUE(StartOf(calendar.get(), "2007-06-21-day").is_date);
    EXPECT_NE(polar.find("SUMMARY:Sunrise up all day\\, sunset up all day"), std::string::npos);
    // A typed offset is described in the file as a zone of one offset.
    EXPECT_NE(polar.find("TZID:UTC-09:00"), std::string::npos);

    options.dailySummary = false;
    Calendar events = Parse(YearIcs(ComputeYear(Barrow()), options));
    EXPECT_LT(icalcomponent_count_components(events.get(), ICAL_VEVENT_COMPONENT), 2 * 365 - 100);
}

TEST(YearExport, CsvReaderTakesQuotesLineEndsAndAnyBytes) {
    using Rows = std::vector<std::vector<std::string>>;
    EXPECT_EQ(ReadCsv("a,\"b,\"\"c\"\"\"\r\n\n1,2"), (Rows{{"a", "b,\"c\""}, {""}, {"1", "2"}}));
    EXPECT_EQ(ReadCsv(std::string("\"open\0\xff,\n", 9)),
              (Rows{{std::string("open\0\xff,\n", 8)}}));
    EXPECT_EQ(ReadCsv(""), Rows{});
    const std::string csv = YearCsv(ComputeYear(Barrow()));
    const Rows rows = ReadCsv(csv);
    ASSERT_EQ(rows.size(), 366u);
    EXPECT_EQ(rows[172][1], "up all day");
}

TEST(YearExport, CalendarInAUtcZoneIsWrittenInUtc) {
    for (const char* zone : {"UTC", "GMT", "Etc/UTC"}) {
        SCOPED_TRACE(zone);
        CYearRequest request = Chicago(true);
        request.zoneName = zone;
        const std::string text = YearIcs(ComputeDays(request, CCivilDate{2007, 6, 21}, 2), {});
        EXPECT_EQ(text.find("TZID"), std::string::npos);
        Calendar calendar = Parse(text);
        ASSERT_TRUE(calendar);
        EXPECT_TRUE(icaltime_is_utc(StartOf(calendar.get(), "2007-06-21-Sunrise")));
    }
}

// printf would follow LC_NUMERIC, which the window sets from the user's locale: "41,8800N".
TEST(YearExport, FilesAreTheSameInEveryLocale) {
    const CYearTable year = ComputeDays(Chicago(true), CCivilDate{2007, 6, 21}, 3);
    CIcsOptions options;
    const std::string csv = YearCsv(year);
    const std::string json = YearJson(year);
    const std::string ics = YearIcs(year, options);
    options.dailySummary = true;
    const std::string summary = YearIcs(year, options);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
        << "the de_DE.UTF-8 locale is missing: run tools/setup-deps.sh";
    EXPECT_EQ(YearCsv(year), csv);
    EXPECT_EQ(YearJson(year), json);
    EXPECT_EQ(YearIcs(year, options), summary);
    options.dailySummary = false;
    EXPECT_EQ(YearIcs(year, options), ics);
    std::setlocale(LC_ALL, "C");
    EXPECT_NE(ics.find("UID:2007-06-21-Sunrise-41.8800N-87.6300W@daybreak"), std::string::npos);
}

TEST(YearExport, ControlCharactersNeverReachTheFiles) {
    CYearRequest request = Chicago(true);
    request.placeName = "Bad\x1b[31m\x07, \"Town\";\\\x7f\xc2\x9b";
    CIcsOptions options;
    options.dailySummary = true;
    const std::string ics = YearIcs(ComputeDays(request, request.date, 1), options);
    for (const char c : ics) {
        const auto byte = static_cast<unsigned char>(c);
        ASSERT_TRUE(byte >= 0x20 ? byte != 0x7f : c == '\r' || c == '\n' || c == ' ') << int(byte);
    }
    EXPECT_EQ(ics.find("\xc2\x9b"), std::string::npos);
    EXPECT_NE(ics.find("DESCRIPTION:Bad\xEF\xBF\xBD[31m\xEF\xBF\xBD\\, \"Town\"\\;\\\\"),
              std::string::npos);

    struct Row {
        std::string text, csv, json, calendar;
    };
    const Row rows[] = {
        {"Chicago", "Chicago", "\"Chicago\"", "Chicago"},
        {"a,\"b\"", "\"a,\"\"b\"\"\"", "\"a,\\\"b\\\"\"", "a,\"b\""},
        {"l1\nl2", "\"l1\nl2\"", "\"l1\\u000al2\"", "l1\nl2"},
        {"\x1b\x07\x7f\xc2\x9b\\", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\\\"",
         "\"\\u001b\\u0007\\u007f\\u009b\\\\\"",
         "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\\"},
        {"Ca\xc3\xb1on", "Ca\xc3\xb1on", "\"Ca\xc3\xb1on\"", "Ca\xc3\xb1on"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(CsvField(row.text), row.csv);
        EXPECT_EQ(JsonString(row.text), row.json);
        EXPECT_EQ(CalendarText(row.text), row.calendar);
    }
    const std::string quoted = "a,\"b\"\r\nc";
    EXPECT_EQ(ReadCsv(CsvField(quoted)), std::vector<std::vector<std::string>>{{quoted}});
}

TEST(YearExport, FileNameIsThePlaceAndTheYear) {
    CYearRequest request = Chicago(false);
    request.stateCode = "IL";
    EXPECT_EQ(YearFileStem(request), "Chicago-IL-2007");
    request.placeName = ".. New York/City\x1b";
    request.stateCode = "NY";
    EXPECT_EQ(YearFileStem(request), "_.-New-York-City--NY-2007");
    request.placeName.clear();
    EXPECT_EQ(YearFileStem(request), "41.8800N-87.6300W-2007");
}

// The March equinox of 2007 (21 March 00:07 UTC) falls on the evening before on Chicago's
// clocks: 19:07 by the zone (daylight saving began on 11 March), 18:07 by a fixed UTC-06:00.
TEST(YearAlmanac, InstantsReadOnTheDaysClock) {
    const struct {
        bool fromDate;
        int hour;
    } rows[] = {{true, 19}, {false, 18}};
    for (const auto& row : rows) {
        const CYearTable year = ComputeYear(Chicago(row.fromDate));
        const std::vector<CYearAlmanacEvent> events = YearAlmanac(year);
        const auto equinox = std::find_if(events.begin(), events.end(), [](const auto& e) {
            return e.event == AlmanacEvent::MarchEquinox;
        });
        ASSERT_NE(equinox, events.end());
        EXPECT_EQ(equinox->local.date, (CCivilDate{2007, 3, 20}));
        EXPECT_EQ(equinox->local.hour, row.hour);
        EXPECT_EQ(equinox->dayIndex, 78);
        EXPECT_EQ(std::count_if(events.begin(), events.end(),
                                [](const auto& e) { return e.event == AlmanacEvent::FullMoon; }),
                  13);  // two in May
        EXPECT_EQ(
            std::count_if(events.begin(), events.end(), [](const auto& e) { return e.IsSeason(); }),
            4);
    }
}

// With the option, every phase and season is an event at its instant, on the file's clock.
TEST(YearExport, CalendarHoldsPhasesAndSeasonsWhenAsked) {
    const CYearTable year = ComputeYear(Chicago(true));
    CIcsOptions options;
    EXPECT_EQ(Count(YearIcs(year, options), "SUMMARY:Full Moon"), 0u);
    options.almanac = true;
    const std::string text = YearIcs(year, options);
    EXPECT_EQ(Count(text, "SUMMARY:Full Moon"), 13u);
    EXPECT_EQ(Count(text, "SUMMARY:June Solstice"), 1u);
    Calendar calendar = Parse(text);
    ASSERT_NE(calendar, nullptr);
    const icaltimetype equinox = StartOf(calendar.get(), "2007-03-20-march_equinox");
    EXPECT_EQ(equinox.day, 20);
    EXPECT_EQ(equinox.hour, 19);
    EXPECT_STREQ(icaltime_get_tzid(equinox), "America/Chicago");
}

namespace {

// The calendar as CYearIcsStream writes it, a day at a time.
std::string Streamed(const CYearTable& table, const CIcsOptions& options) {
    std::vector<int> offsets;
    for (const CYearDay& day : table.days) {
        offsets.push_back(day.utcOffsetSeconds);
    }
    std::string text;
    CYearIcsStream stream(table.request, table.zoneName, offsets, options,
                          [&text](std::string_view part) { text += part; });
    for (const CYearDay& day : table.days) {
        stream.Add(day);
    }
    stream.Finish();
    return text;
}

}  // namespace

// libical writes the starts after the year 3000 as zeros; the stream keeps its bytes.
TEST(YearIcsStream, WritesTheWholeCalendarsBytes) {
    CYearRequest utc = Chicago(true);
    utc.zoneName = "Etc/UTC";
    const struct {
        const char* name;
        CYearTable table;
        bool utc;
    } rows[] = {
        {"zone", ComputeYear(Chicago(true)), false},
        {"offset", ComputeDays(Chicago(false), CCivilDate{2007, 6, 21}, 2), false},
        {"utc option", ComputeDays(Chicago(true), CCivilDate{2007, 6, 21}, 2), true},
        {"utc zone", ComputeDays(utc, CCivilDate{2007, 6, 21}, 2), false},
        {"polar", ComputeDays(Barrow(), CCivilDate{2007, 5, 9}, 3), false},
        {"moon",
         ComputeDaysOnClock(Chicago(false), CClockChoice::Fixed(6.0f, 0), CCivilDate{2007, 6, 21},
                            3, false, true),
         false},
        {"year 3001", ComputeDays(Chicago(false), CCivilDate{3000, 12, 31}, 2), true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        CIcsOptions options;
        options.utc = row.utc;
        options.stamp = 1182400000;
        EXPECT_EQ(Streamed(row.table, options), YearIcs(row.table, options));
    }
}

// A long place id folds the UID line before its date, or inside the id at a blank; each event
// is still libical's own text of it, with the day's date and start.
TEST(YearIcsStream, EventsStayLibicalsWhereTheUidFolds) {
    const CYearTable days = ComputeDays(Chicago(false), CCivilDate{2007, 6, 21}, 2);
    for (const char* id :
         {"a-place-id-long-enough-for-libical-to-fold-the-uid-line-before-its-date",
          "words, and; words enough to fold the uid line at a blank or two"}) {
        SCOPED_TRACE(id);
        CIcsOptions options;
        options.placeId = id;
        const std::string text = Streamed(days, options);
        Calendar calendar = Parse(text);
        ASSERT_TRUE(calendar);
        std::size_t index = 0;
        for (icalcomponent* e =
                 icalcomponent_get_first_component(calendar.get(), ICAL_VEVENT_COMPONENT);
             e != nullptr;
             e = icalcomponent_get_next_component(calendar.get(), ICAL_VEVENT_COMPONENT)) {
            ASSERT_LT(index / 2, days.days.size());
            const CYearDay& day = days.days[index / 2];
            const CCivilTime& start = index % 2 == 0 ? day.sunrise.time : day.sunset.time;
            EXPECT_NE(text.find(icalcomponent_as_ical_string(e)), std::string::npos) << index;
            EXPECT_EQ(std::string(icalcomponent_get_uid(e)),
                      IsoDate(day.date) + (index % 2 == 0 ? "-Sunrise-" : "-Sunset-") + id +
                          "-41.8800N-87.6300W@daybreak");
            const icaltimetype t = icalcomponent_get_dtstart(e);
            EXPECT_EQ((CCivilTime{CCivilDate{t.year, t.month, t.day}, t.hour, t.minute, t.second}),
                      start);
            ++index;
        }
        EXPECT_EQ(index, 4u);
    }
}
