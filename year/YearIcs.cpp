// The year as an iCalendar file, built and written by libical.
#include <dlfcn.h>
#include <libical/ical.h>

#include <algorithm>
#include <memory>
#include <string_view>
#include <type_traits>
#include <vector>

#include "FileText.h"
#include "YearAlmanac.h"
#include "YearExport.h"
#include "YearIcs.h"
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
    std::string uidTail = "-" + CoordinatesText(request) + "@daybreak";
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

// The stream's events are formed by libical in one reusable component per kind of event
// (Sunrise, Sunset, Moonrise, Moonset): each event sets its UID and start in it, and libical
// writes those two properties; the kind's other properties, the same in every event of it, are
// written by libical once. Building, writing and freeing a tree per event cost twenty times the
// rest of the calendar.
struct CYearIcsStream::State {
    struct Kind {
        Component event;
        icalproperty* uid = nullptr;    // owned by `event`
        icalproperty* start = nullptr;  // owned by `event`
        std::string shared;             // the lines between UID and DTSTART
    };

    std::string place;
    std::string uidTail;
    Clock clock;
    CIcsOptions options;
    std::function<void(std::string_view)> write;
    Kind kinds[4];
    CDayText uidDate;
    std::string uid;
    CDayText text;  // events not yet handed to `write`

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
        return kind;
    }

    template <typename Text>
    static void AppendProperty(Text& text, icalproperty* property) {
        char* formed = Ical().icalproperty_as_ical_string_r(property);
        if (formed == nullptr) {
            throw CYearExportError("Cannot write the calendar file");
        }
        const std::unique_ptr<char, decltype(Ical().icalmemory_free_buffer)> owned(
            formed, Ical().icalmemory_free_buffer);
        if constexpr (std::is_same_v<Text, std::string>) {
            text += formed;
        } else {
            text.Text(formed);
        }
    }

    // The event of `name` at `local`.
    void Add(int index, const char* name, const CCivilDate& date, const CCivilTime& local,
             int utcOffset) {
        Kind& kind = KindOf(index, name);
        uidDate.Clear();
        uidDate.Date(date);
        uid.assign(uidDate.View());
        uid += '-';
        uid += name;
        uid += uidTail;
        Ical().icalproperty_set_uid(kind.uid, uid.c_str());
        if (clock.utc) {
            icaltimetype t = IcalTime(AddSeconds(local, -utcOffset));
            t.zone = Ical().icaltimezone_get_utc_timezone();
            Ical().icalproperty_set_dtstart(kind.start, t);
        } else {
            Ical().icalproperty_set_dtstart(kind.start, IcalTime(local));
        }
        text.Text("BEGIN:VEVENT\r\n");
        AppendProperty(text, kind.uid);
        text.Text(kind.shared);
        AppendProperty(text, kind.start);
        text.Text("END:VEVENT\r\n");
        if (text.Size() >= 64 * 1024) {
            Flush();
        }
    }

    void Flush() {
        write(text.View());
        text.Clear();
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
