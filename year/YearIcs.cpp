// The year as an iCalendar file, built and written by libical.
#include <dlfcn.h>
#include <libical/ical.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "FileText.h"
#include "YearAlmanac.h"
#include "YearExport.h"
#include "YearIcs.h"
#include "ZoneClock.h"

namespace {

// libical is loaded when a calendar is first written, not when the program starts: with the
// ICU libraries it pulls in, loading it was a third of a plain run of daybreak-cli.
#define DAYBREAK_ICAL_FUNCTIONS(X)       \
    X(icalcomponent_add_component)       \
    X(icalcomponent_add_property)        \
    X(icalcomponent_as_ical_string)      \
    X(icalcomponent_free)                \
    X(icalcomponent_get_first_property)  \
    X(icalcomponent_get_next_property)   \
    X(icalcomponent_new)                 \
    X(icalcomponent_new_clone)           \
    X(icalmemory_free_buffer)            \
    X(icalparameter_new_tzid)            \
    X(icalproperty_add_parameter)        \
    X(icalproperty_as_ical_string_r)     \
    X(icalproperty_new_calscale)         \
    X(icalproperty_new_description)      \
    X(icalproperty_new_dtstamp)          \
    X(icalproperty_new_dtstart)          \
    X(icalproperty_new_prodid)           \
    X(icalproperty_new_summary)          \
    X(icalproperty_new_transp)           \
    X(icalproperty_new_tzid)             \
    X(icalproperty_new_tzname)           \
    X(icalproperty_new_tzoffsetfrom)     \
    X(icalproperty_new_tzoffsetto)       \
    X(icalproperty_new_uid)              \
    X(icalproperty_new_version)          \
    X(icalproperty_set_dtstart)          \
    X(icalproperty_set_tzid)             \
    X(icalproperty_set_uid)              \
    X(icaltime_from_timet_with_zone)     \
    X(icaltime_null_time)                \
    X(icaltimezone_get_builtin_timezone) \
    X(icaltimezone_get_component)        \
    X(icaltimezone_get_utc_timezone)

struct CIcal {
#define DAYBREAK_ICAL_MEMBER(name) decltype(&::name) name = nullptr;
    DAYBREAK_ICAL_FUNCTIONS(DAYBREAK_ICAL_MEMBER)
#undef DAYBREAK_ICAL_MEMBER
};

// The library's functions; throws CYearExportError when it cannot be loaded.
const CIcal& Ical() {
    static const CIcal* const loaded = []() -> const CIcal* {
        // The library's ABI name, as the package ships it; it stays loaded for the process.
        void* library = dlopen("libical.so.3", RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr) {
            return nullptr;
        }
        static CIcal ical;
        bool complete = true;
#define DAYBREAK_ICAL_LOAD(name)                                            \
    ical.name = reinterpret_cast<decltype(&::name)>(dlsym(library, #name)); \
    complete = complete && ical.name != nullptr;
        DAYBREAK_ICAL_FUNCTIONS(DAYBREAK_ICAL_LOAD)
#undef DAYBREAK_ICAL_LOAD
        return complete ? &ical : nullptr;
    }();
    if (loaded == nullptr) {
        throw CYearExportError("Cannot load the calendar library (libical.so.3)");
    }
    return *loaded;
}

struct ComponentDeleter {
    void operator()(icalcomponent* component) const { Ical().icalcomponent_free(component); }
};
using Component = std::unique_ptr<icalcomponent, ComponentDeleter>;

CCivilTime AddSeconds(const CCivilTime& time, std::int64_t seconds) {
    const std::int64_t total = CivilSeconds(time) + seconds;
    std::int64_t days = total / 86400;
    std::int64_t rest = total % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    return CCivilTime{CivilFromDays(days), static_cast<int>(rest / 3600),
                      static_cast<int>(rest / 60 % 60), static_cast<int>(rest % 60)};
}

icaltimetype IcalTime(const CCivilTime& time) {
    icaltimetype t = Ical().icaltime_null_time();
    t.year = time.date.year;
    t.month = time.date.month;
    t.day = time.date.day;
    t.hour = time.hour;
    t.minute = time.minute;
    t.second = time.second;
    return t;
}

// Where the events' clock times are said to be.
struct Clock {
    bool utc = false;
    std::string tzid;  // with !utc
};

// The database's names of UTC itself (its links to Etc/UTC and Etc/GMT): times in such a zone
// are written as UTC ("...Z"), since a TZID needs a VTIMEZONE and libical has none for "UTC".
bool IsUtcName(std::string_view name) {
    static constexpr std::string_view kNames[] = {
        "UTC",   "Etc/UTC",   "UCT",   "Etc/UCT",   "Universal", "Etc/Universal",
        "Zulu",  "Etc/Zulu",  "GMT",   "Etc/GMT",   "GMT0",      "Etc/GMT0",
        "GMT+0", "Etc/GMT+0", "GMT-0", "Etc/GMT-0", "Greenwich", "Etc/Greenwich"};
    return std::find(std::begin(kNames), std::end(kNames), name) != std::end(kNames);
}

// The zone of the place as a VTIMEZONE: the database's description for a zone name, or one
// fixed observance for an offset typed by hand.
// `offsets` are the events' clocks.
Clock AddZone(icalcomponent* calendar, const std::string& zoneName, const std::vector<int>& offsets,
              const CIcsOptions& options) {
    if (options.utc || offsets.empty() || IsUtcName(zoneName)) {
        return Clock{true, {}};
    }
    if (!zoneName.empty()) {
        icaltimezone* zone = Ical().icaltimezone_get_builtin_timezone(zoneName.c_str());
        if (icalcomponent* known =
                zone != nullptr ? Ical().icaltimezone_get_component(zone) : nullptr) {
            icalcomponent* description = Ical().icalcomponent_new_clone(known);
            icalproperty* tzid =
                Ical().icalcomponent_get_first_property(description, ICAL_TZID_PROPERTY);
            if (tzid != nullptr) {
                Ical().icalproperty_set_tzid(tzid, zoneName.c_str());
            }
            Ical().icalcomponent_add_component(calendar, description);
            return Clock{false, zoneName};
        }
    }
    // A fixed offset (or a zone libical does not know, whose year then has one offset per
    // day's clock): the first day's offset stands for the file unless the days differ.
    const int offset = offsets.front();
    if (std::any_of(offsets.begin(), offsets.end(), [&](int other) { return other != offset; })) {
        return Clock{true, {}};
    }
    const std::string name = FormatUtcOffset(offset);
    icalcomponent* description = Ical().icalcomponent_new(ICAL_VTIMEZONE_COMPONENT);
    Ical().icalcomponent_add_property(description, Ical().icalproperty_new_tzid(name.c_str()));
    icalcomponent* standard = Ical().icalcomponent_new(ICAL_XSTANDARD_COMPONENT);
    Ical().icalcomponent_add_property(standard,
                                      Ical().icalproperty_new_dtstart(IcalTime(CCivilTime{})));
    Ical().icalcomponent_add_property(standard, Ical().icalproperty_new_tzoffsetfrom(offset));
    Ical().icalcomponent_add_property(standard, Ical().icalproperty_new_tzoffsetto(offset));
    Ical().icalcomponent_add_property(standard, Ical().icalproperty_new_tzname(name.c_str()));
    Ical().icalcomponent_add_component(description, standard);
    Ical().icalcomponent_add_component(calendar, description);
    return Clock{false, name};
}

icalproperty* TimeProperty(const CCivilTime& local, int utcOffset, const Clock& clock) {
    if (clock.utc) {
        icaltimetype t = IcalTime(AddSeconds(local, -utcOffset));
        t.zone = Ical().icaltimezone_get_utc_timezone();
        return Ical().icalproperty_new_dtstart(t);
    }
    icalproperty* property = Ical().icalproperty_new_dtstart(IcalTime(local));
    Ical().icalproperty_add_parameter(property, Ical().icalparameter_new_tzid(clock.tzid.c_str()));
    return property;
}

std::string PlaceText(const CYearRequest& request) {
    return request.placeName.empty() ? CoordinatesText(request)
                                     : request.placeName + " (" + CoordinatesText(request) + ")";
}

// A clock time as the summary shows it: local, or UTC with a "Z".
std::string ShownTime(SolarOutcome outcome, const CCivilTime& time, const CYearDay& day,
                      const Clock& clock) {
    if (outcome != SolarOutcome::Time || !clock.utc) {
        return EventCell(outcome, time, day.date);
    }
    return EventCell(outcome, AddSeconds(time, -day.utcOffsetSeconds), day.date) + " UTC";
}

icalcomponent* NewEvent(const std::string& uid, const std::string& summary,
                        const std::string& description, const CIcsOptions& options) {
    icalcomponent* event = Ical().icalcomponent_new(ICAL_VEVENT_COMPONENT);
    Ical().icalcomponent_add_property(event, Ical().icalproperty_new_uid(uid.c_str()));
    Ical().icalcomponent_add_property(
        event, Ical().icalproperty_new_dtstamp(Ical().icaltime_from_timet_with_zone(
                   options.stamp, 0, Ical().icaltimezone_get_utc_timezone())));
    Ical().icalcomponent_add_property(
        event, Ical().icalproperty_new_summary(CalendarText(summary).c_str()));
    Ical().icalcomponent_add_property(
        event, Ical().icalproperty_new_description(CalendarText(description).c_str()));
    Ical().icalcomponent_add_property(event,
                                      Ical().icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
    return event;
}

// The day's sunrise and sunset events (and the Moon's), each handed to `take`.
template <typename Take>
void CrossingEventsOf(const CYearDay& day, const std::string& place, const Clock& clock,
                      const CIcsOptions& options, const std::string& uidTail, Take take) {
    {
        const std::string compact = IsoDate(day.date);
        const std::pair<const char*, const CSolarResult*> events[] = {{"Sunrise", &day.sunrise},
                                                                      {"Sunset", &day.sunset}};
        for (const auto& [name, result] : events) {
            if (!result->HasTime()) {
                continue;  // the summary form tells of days without a crossing
            }
            icalcomponent* event = NewEvent(compact + "-" + name + uidTail, name,
                                            std::string(name) + " at " + place, options);
            Ical().icalcomponent_add_property(
                event, TimeProperty(result->time, day.utcOffsetSeconds, clock));
            take(event);
        }
        if (!day.hasMoon) {
            return;
        }
        const std::pair<const char*, const CMoonEventResult*> moon[] = {{"Moonrise", &day.moonrise},
                                                                        {"Moonset", &day.moonset}};
        for (const auto& [name, result] : moon) {
            if (!result->HasTime()) {
                continue;
            }
            icalcomponent* event = NewEvent(compact + "-" + name + uidTail, name,
                                            std::string(name) + " at " + place, options);
            Ical().icalcomponent_add_property(
                event, TimeProperty(result->time, day.utcOffsetSeconds, clock));
            take(event);
        }
    }
}

void AddCrossingEvents(icalcomponent* calendar, const CYearTable& table, const Clock& clock,
                       const CIcsOptions& options, const std::string& uidTail) {
    const std::string place = PlaceText(table.request);
    for (const CYearDay& day : table.days) {
        CrossingEventsOf(day, place, clock, options, uidTail, [calendar](icalcomponent* event) {
            Ical().icalcomponent_add_component(calendar, event);
        });
    }
}

void AddSummaryEvents(icalcomponent* calendar, const CYearTable& table, const Clock& clock,
                      const CIcsOptions& options, const std::string& uidTail) {
    const std::string place = PlaceText(table.request);
    for (const CYearDay& day : table.days) {
        const std::string sunrise = ShownTime(day.sunrise.outcome, day.sunrise.time, day, clock);
        const std::string sunset = ShownTime(day.sunset.outcome, day.sunset.time, day, clock);
        std::string description = place + "\nSunrise " + sunrise + "\nSolar noon " +
                                  ShownTime(day.solarNoon.outcome, day.solarNoon.time, day, clock) +
                                  "\nSunset " + sunset + "\nDay length " +
                                  DurationText(DayLengthSeconds(day));
        if (day.hasTwilights) {
            description = description + "\nCivil dawn " +
                          ShownTime(day.civilDawn.outcome, day.civilDawn.time, day, clock) +
                          "\nCivil dusk " +
                          ShownTime(day.civilDusk.outcome, day.civilDusk.time, day, clock);
        }
        icalcomponent* event =
            NewEvent(IsoDate(day.date) + "-day" + uidTail,
                     "Sunrise " + sunrise + ", sunset " + sunset, description, options);
        icaltimetype date = IcalTime(CCivilTime{day.date, 0, 0, 0});
        date.is_date = 1;
        Ical().icalcomponent_add_property(event, Ical().icalproperty_new_dtstart(date));
        Ical().icalcomponent_add_component(calendar, event);
    }
}

// Phases and seasons hold for every place; the place's clock only says when.
void AddAlmanacEvents(icalcomponent* calendar, const CYearTable& table, const Clock& clock,
                      const CIcsOptions& options, const std::string& uidTail) {
    for (const CYearAlmanacEvent& found : YearAlmanac(table)) {
        const std::string name = AlmanacEventLabel(found.event);
        icalcomponent* event =
            NewEvent(IsoDate(found.local.date) + "-" + AlmanacEventKey(found.event) + uidTail, name,
                     name + " at " +
                         ShownTime(SolarOutcome::Time, found.local,
                                   table.days[static_cast<std::size_t>(found.dayIndex)], clock),
                     options);
        Ical().icalcomponent_add_property(event,
                                          TimeProperty(found.local, found.utcOffsetSeconds, clock));
        Ical().icalcomponent_add_component(calendar, event);
    }
}

// Unique per place: the same day of two places may share one calendar.
std::string UidTail(const CYearRequest& request) {
    // Appended, not "-" + ...: g++ 12 at -O3 warns of an overlap (-Wrestrict) in that form.
    std::string uidTail = "-";
    uidTail += CoordinatesText(request);
    uidTail += "@daybreak";
    for (char& c : uidTail) {
        c = c == ' ' ? '-' : c;
    }
    return uidTail;
}

Component NewCalendar() {
    Component calendar(Ical().icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
    if (!calendar) {
        throw CYearExportError("Cannot build the calendar file");
    }
    Ical().icalcomponent_add_property(calendar.get(), Ical().icalproperty_new_version("2.0"));
    Ical().icalcomponent_add_property(calendar.get(),
                                      Ical().icalproperty_new_prodid("-//Daybreak//Year//EN"));
    Ical().icalcomponent_add_property(calendar.get(),
                                      Ical().icalproperty_new_calscale("GREGORIAN"));
    return calendar;
}

std::string CalendarFileText(const Component& calendar) {
    const char* text = Ical().icalcomponent_as_ical_string(calendar.get());
    if (text == nullptr) {
        throw CYearExportError("Cannot write the calendar file");
    }
    return text;
}

}  // namespace

std::string AlmanacIcs(const std::vector<CAlmanacEntry>& entries, const std::string& zoneName,
                       const CIcsOptions& options) {
    Component calendar = NewCalendar();
    std::vector<int> offsets;
    offsets.reserve(entries.size());
    for (const CAlmanacEntry& entry : entries) {
        offsets.push_back(entry.utcOffsetSeconds);
    }
    const Clock clock = AddZone(calendar.get(), zoneName, offsets, options);
    for (const CAlmanacEntry& entry : entries) {
        // An instant names its event: the UID holds its UTC time.
        const CCivilTime utc = AddSeconds(entry.time, -entry.utcOffsetSeconds);
        icalcomponent* event =
            NewEvent(IsoDate(utc.date) + "T" + ClockOf(utc) + "Z-" + entry.key + "@daybreak",
                     entry.label, entry.label, options);
        Ical().icalcomponent_add_property(event,
                                          TimeProperty(entry.time, entry.utcOffsetSeconds, clock));
        Ical().icalcomponent_add_component(calendar.get(), event);
    }
    return CalendarFileText(calendar);
}

// The stream's events are formed by libical once per kind of event (Sunrise, Sunset, Moonrise,
// Moonset): the kind's whole event with placeholder digits in the UID's date and in the start,
// and where each of those digits landed in libical's text (a folded line moves them). Each event
// copies its kind's text and writes its own digits there, so that the bytes are libical's for
// that event. Having libical write the UID and the start of every event cost a dozen times the
// rest of the calendar; building, writing and freeing a tree per event twenty times.
struct CYearIcsStream::State {
    // The digits that differ between two events of a kind: the UID's date (8), the start's
    // date (8) and clock (6), in the order they stand in the event's text.
    static constexpr std::size_t kDigits = 22;
    // Where they stand in Digits's "2007-06-21" "2007-06-21" "04:15:47", DayText's forms.
    static constexpr std::size_t kDigitsText = 28;
    static constexpr std::array<std::uint8_t, kDigits> kFrom = {
        0, 1, 2, 3, 5, 6, 8, 9, 10, 11, 12, 13, 15, 16, 18, 19, 20, 21, 23, 24, 26, 27};
    static constexpr std::size_t kFlushSize = 64 * 1024;
    // Per year of a start (0 to 9999, four digits), whether the form holds.
    static constexpr int kYears = 10000;
    static constexpr std::uint8_t kUnchecked = 0;
    static constexpr std::uint8_t kFormHolds = 1;
    static constexpr std::uint8_t kLibicalWrites = 2;

    struct Kind {
        Component event;
        icalproperty* uid = nullptr;    // owned by `event`
        icalproperty* start = nullptr;  // owned by `event`
        std::string shared;             // the lines between UID and DTSTART
        std::string form;  // the event with placeholder digits; empty if it could not be made
        std::array<std::size_t, kDigits> at{};  // where each digit stands in `form`
        std::vector<std::uint8_t> years;        // with `form`, kYears of them
    };

    std::string place;
    std::string uidTail;
    Clock clock;
    CIcsOptions options;
    std::function<void(std::string_view)> write;
    Kind kinds[4];
    CDayText digitsText;
    std::string uid;
    std::string text;  // events not yet handed to `write`
    std::string own;   // libical's text of an event, to check a form against

    Kind& KindOf(int index, const char* name) {
        Kind& kind = kinds[index];
        if (kind.event) {
            return kind;
        }
        const std::string summary =
            options.placeId.empty() ? name : std::string(name) + " (" + options.placeId + ")";
        kind.event.reset(NewEvent(name, summary, std::string(name) + " at " + place, options));
        kind.uid = Ical().icalcomponent_get_first_property(kind.event.get(), ICAL_UID_PROPERTY);
        kind.start = TimeProperty(CCivilTime{}, 0, clock);
        Ical().icalcomponent_add_property(kind.event.get(), kind.start);
        // The component's text is its properties' in the order they were added (NewEvent's).
        for (icalproperty* property =
                 Ical().icalcomponent_get_first_property(kind.event.get(), ICAL_ANY_PROPERTY);
             property != nullptr; property = Ical().icalcomponent_get_next_property(
                                      kind.event.get(), ICAL_ANY_PROPERTY)) {
            if (property != kind.uid && property != kind.start) {
                AppendProperty(kind.shared, property);
            }
        }
        Form(kind, name);
        return kind;
    }

    // The kind's text for two starts whose every digit differs (in years libical writes as they
    // are): the bytes that differ are the digits, in order. Anything else (a digit escaped, a
    // fold moved) leaves the form empty, and libical then writes each event.
    void Form(Kind& kind, const char* name) {
        const CCivilTime first{CCivilDate{1234, 1, 12}, 12, 12, 12};
        const CCivilTime second{CCivilDate{2341, 10, 21}, 21, 21, 21};
        if (!Digits(second.date, second)) {
            return;
        }
        const std::string secondDigits = digitsText.String();
        if (!Digits(first.date, first)) {
            return;
        }
        const std::string firstDigits = digitsText.String();
        std::string firstText;
        std::string secondText;
        AppendEvent(firstText, kind, name, first.date, first);
        AppendEvent(secondText, kind, name, second.date, second);
        if (firstText.size() != secondText.size()) {
            return;
        }
        std::size_t found = 0;
        for (std::size_t i = 0; i < firstText.size(); ++i) {
            if (firstText[i] == secondText[i]) {
                continue;
            }
            if (found == kDigits || firstText[i] != firstDigits[kFrom[found]] ||
                secondText[i] != secondDigits[kFrom[found]]) {
                return;
            }
            kind.at[found++] = i;
        }
        if (found == kDigits) {
            kind.form = std::move(firstText);
            kind.years.assign(kYears, kUnchecked);
        }
    }

    // The event's digits as DayText writes them, into digitsText; false when one of them is not
    // of the form's width (a start in UTC in the year 10000).
    bool Digits(const CCivilDate& date, const CCivilTime& start) {
        digitsText.Clear();
        digitsText.Date(date);
        digitsText.Date(start.date);
        digitsText.Clock(start);
        return digitsText.Size() == kDigitsText;
    }

    static void AppendProperty(std::string& out, icalproperty* property) {
        char* formed = Ical().icalproperty_as_ical_string_r(property);
        if (formed == nullptr) {
            throw CYearExportError("Cannot write the calendar file");
        }
        const std::unique_ptr<char, decltype(Ical().icalmemory_free_buffer)> owned(
            formed, Ical().icalmemory_free_buffer);
        out += formed;
    }

    // The event of `name` on `date` starting at `start` (in UTC on a UTC clock), as libical
    // writes it.
    void AppendEvent(std::string& out, Kind& kind, const char* name, const CCivilDate& date,
                     const CCivilTime& start) {
        digitsText.Clear();
        digitsText.Date(date);
        uid.assign(digitsText.View());
        uid += '-';
        uid += name;
        uid += uidTail;
        Ical().icalproperty_set_uid(kind.uid, uid.c_str());
        icaltimetype t = IcalTime(start);
        if (clock.utc) {
            t.zone = Ical().icaltimezone_get_utc_timezone();
        }
        Ical().icalproperty_set_dtstart(kind.start, t);
        out += "BEGIN:VEVENT\r\n";
        AppendProperty(out, kind.uid);
        out += kind.shared;
        AppendProperty(out, kind.start);
        out += "END:VEVENT\r\n";
    }

    // The event of `name` at `local`.
    void Add(int index, const char* name, const CCivilDate& date, const CCivilTime& local,
             int utcOffset) {
        Kind& kind = KindOf(index, name);
        const CCivilTime start = clock.utc ? AddSeconds(local, -utcOffset) : local;
        const int year = start.date.year;
        if (kind.form.empty() || year < 0 || year >= kYears || !Digits(date, start)) {
            AppendEvent(text, kind, name, date, start);
        } else {
            const std::size_t base = text.size();
            text += kind.form;
            char* event = text.data() + base;
            const char* digits = digitsText.Data();
            for (std::size_t k = 0; k < kDigits; ++k) {
                event[kind.at[k]] = digits[kFrom[k]];
            }
            // libical writes the starts of some years otherwise (those after 3000 as zeros):
            // its own text of a year's first event of the kind says whether the form holds for
            // the year. Where it does not, libical writes every event of the year.
            std::uint8_t& held = kind.years[static_cast<std::size_t>(year)];
            if (held == kUnchecked) {
                own.clear();
                AppendEvent(own, kind, name, date, start);
                held = std::string_view(text).substr(base) == own ? kFormHolds : kLibicalWrites;
            }
            if (held == kLibicalWrites) {
                text.resize(base);
                AppendEvent(text, kind, name, date, start);
            }
        }
        if (text.size() >= kFlushSize) {
            Flush();
        }
    }

    void Flush() {
        write(text);
        text.clear();
    }
};

CYearIcsStream::CYearIcsStream(const CYearRequest& request, const std::string& zoneName,
                               const std::vector<int>& offsets, const CIcsOptions& options,
                               std::function<void(std::string_view)> write)
    : m_state(std::make_unique<State>()) {
    Component calendar = NewCalendar();
    m_state->clock = AddZone(calendar.get(), zoneName, offsets, options);
    m_state->place = PlaceText(request);
    m_state->uidTail =
        options.placeId.empty() ? UidTail(request) : "-" + options.placeId + UidTail(request);
    m_state->options = options;
    m_state->write = std::move(write);
    m_state->text.reserve(State::kFlushSize + 4 * 1024);
    if (options.eventsOnly) {
        return;
    }
    // The head is the whole calendar without its end line; the events follow it.
    std::string head = CalendarFileText(calendar);
    const std::string_view end = "END:VCALENDAR\r\n";
    if (head.size() >= end.size() && head.compare(head.size() - end.size(), end.size(), end) == 0) {
        head.resize(head.size() - end.size());
    }
    m_state->write(head);
}

CYearIcsStream::~CYearIcsStream() = default;

void CYearIcsStream::Add(const CYearDay& day) {
    State& state = *m_state;
    // In the order of CrossingEventsOf, which the whole calendar writes.
    if (day.sunrise.HasTime()) {
        state.Add(0, "Sunrise", day.date, day.sunrise.time, day.utcOffsetSeconds);
    }
    if (day.sunset.HasTime()) {
        state.Add(1, "Sunset", day.date, day.sunset.time, day.utcOffsetSeconds);
    }
    if (day.hasMoon && day.moonrise.HasTime()) {
        state.Add(2, "Moonrise", day.date, day.moonrise.time, day.utcOffsetSeconds);
    }
    if (day.hasMoon && day.moonset.HasTime()) {
        state.Add(3, "Moonset", day.date, day.moonset.time, day.utcOffsetSeconds);
    }
}

void CYearIcsStream::Finish() {
    m_state->Flush();
    if (!m_state->options.eventsOnly) {
        m_state->write("END:VCALENDAR\r\n");
    }
}

std::string YearIcs(const CYearTable& table, const CIcsOptions& options) {
    Component calendar = NewCalendar();
    std::vector<int> offsets;
    offsets.reserve(table.days.size());
    for (const CYearDay& day : table.days) {
        offsets.push_back(day.utcOffsetSeconds);
    }
    const Clock clock = AddZone(calendar.get(), table.zoneName, offsets, options);
    const std::string uidTail = UidTail(table.request);
    if (options.dailySummary) {
        AddSummaryEvents(calendar.get(), table, clock, options, uidTail);
    } else {
        AddCrossingEvents(calendar.get(), table, clock, options, uidTail);
    }
    if (options.almanac) {
        AddAlmanacEvents(calendar.get(), table, clock, options, uidTail);
    }
    return CalendarFileText(calendar);
}
