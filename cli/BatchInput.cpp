#include "BatchInput.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <exception>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "Cli.h"
#include "CliOptions.h"
#include "DayOnClock.h"
#include "DayText.h"
#include "EventOutput.h"
#include "FileText.h"
#include "ModulePath.h"
#include "PlaceIndex.h"
#include "PlaceName.h"
#include "PlaceService.h"
#include "StateArchive.h"
#include "Windows1252.h"
#include "YearExport.h"
#include "YearIcs.h"
#include "YearOutput.h"
#include "YearTable.h"

namespace {

constexpr const char* kProgram = "daybreak-cli";

// Rows computed between two writes: a few megabytes of text, whatever --days is.
constexpr std::size_t kRowsPerChunk = 32768;
constexpr std::size_t kMaxPlacesPerChunk = 1024;
// The text table's id column: ids up to 10 characters line up.
constexpr std::size_t kIdWidth = 10;

enum Column : std::size_t { kId, kZip, kCity, kState, kLat, kLon, kTz, kOffset, kColumns };
constexpr std::array<const char*, kColumns> kColumnNames = {"id",  "zip", "city", "state",
                                                            "lat", "lon", "tz",   "offset"};

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

// The fields of one line, spaces around each dropped.
std::vector<std::string> Fields(std::string_view line) {
    std::vector<std::vector<std::string>> rows = ReadCsv(line);
    std::vector<std::string> fields = rows.empty() ? std::vector<std::string>() : rows.front();
    for (std::string& field : fields) {
        field = std::string(Trim(field));
    }
    return fields;
}

// The engines' and the files' messages start "Cannot ..." for the window's boxes; the tool's
// start lower-case.
std::string ToolMessage(std::string message) {
    if (message.rfind("Cannot ", 0) == 0) {
        message[0] = 'c';
    }
    return message;
}

// Where each known column lies in a line.
struct CHeader {
    std::array<std::optional<std::size_t>, kColumns> at;
    std::size_t count = 0;

    std::string_view Field(const std::vector<std::string>& fields, Column column) const {
        return at[column] && *at[column] < fields.size() ? std::string_view(fields[*at[column]])
                                                         : std::string_view();
    }
};

CHeader ReadHeader(std::string_view line, std::size_t number) {
    const std::string where = "--places: line " + std::to_string(number) + ": ";
    CHeader header;
    const std::vector<std::string> names = Fields(line);
    header.count = names.size();
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::string name = names[i];
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        const auto known = std::find(kColumnNames.begin(), kColumnNames.end(), name);
        if (known == kColumnNames.end()) {
            throw CCliError(where + "'" + PrintableArgument(names[i]) +
                            "' is not a column (id, zip, city, state, lat, lon, tz, offset)");
        }
        auto& at = header.at[static_cast<std::size_t>(known - kColumnNames.begin())];
        if (at) {
            throw CCliError(where + "the column '" + name + "' comes twice");
        }
        at = i;
    }
    const bool latLon = header.at[kLat] && header.at[kLon];
    if (!header.at[kZip] && !header.at[kCity] && !latLon) {
        throw CCliError(where +
                        "the header names no place: it needs zip, city, or lat and lon "
                        "(e.g. \"id,lat,lon,tz\")");
    }
    if (header.at[kLat].has_value() != header.at[kLon].has_value()) {
        throw CCliError(where + "lat and lon: give both columns");
    }
    return header;
}

// No state archive at all: every place from the archives would fail alike, so the run ends.
class CArchivesMissing : public CMessageException {
public:
    using CMessageException::CMessageException;
};

// One place of the input and its rows.
struct CBatchPlace {
    std::size_t line = 0;
    std::string id;  // as the format writes it
    double latitude = 0;
    double longitude = 0;  // west positive
    std::optional<CClockChoice> clock;
    std::string error;  // why the line is skipped
    std::exception_ptr failure;
    CDayText text;
};

// What every place gets.
struct CBatchJob {
    CCivilDate first;
    int days = 0;  // 0: the three result lines of text
    CliFormat format = CliFormat::Text;
    // As for one place (PrepareOutput): the days of the year files (JSON and iCalendar), or
    // the columns of --precise and --events, or the plain rows.
    bool yearFile = false;
    const CEventColumns* events = nullptr;
    bool precise = false;  // the precise engine, and the twilights in the year files
    bool moon = false;
    CIcsOptions ics;
};

// Turns lines into places: the archives' index and each zone are read once. One thread.
class CPlaceReader {
public:
    CPlaceReader(const CCliOptions& options, const CHeader& header, std::ostream& err)
        : m_options(options),
          m_header(header),
          m_err(err),
          m_places(options.place.archives ? std::filesystem::path(*options.place.archives)
                                          : std::filesystem::path()) {}

    void Read(std::size_t number, std::string_view line, CBatchPlace& place) {
        place.line = number;
        place.error.clear();
        place.failure = nullptr;
        place.clock.reset();
        const std::vector<std::string> fields = Fields(line);
        std::string_view id = m_header.Field(fields, kId);
        const std::string lineNumber = std::to_string(number);
        if (id.empty()) {
            id = lineNumber;
        }
        place.id = m_options.format == CliFormat::Csv    ? CsvField(id)
                   : m_options.format == CliFormat::Json ? JsonString(id)
                                                         : PrintableArgument(id);
        try {
            if (fields.size() > m_header.count) {
                throw CCliError("has " + std::to_string(fields.size()) + " fields, the header " +
                                std::to_string(m_header.count));
            }
            Place(fields, place);
        } catch (const CCliError& e) {
            place.error = e.what();
        }
    }

    // Places from the archives whose zone is unknown, kept at a fixed clock.
    std::size_t unknownZones = 0;

private:
    void Place(const std::vector<std::string>& fields, CBatchPlace& place) {
        const std::string_view zip = m_header.Field(fields, kZip);
        const std::string_view city = m_header.Field(fields, kCity);
        const std::string_view state = m_header.Field(fields, kState);
        const std::string_view tz = m_header.Field(fields, kTz);
        const std::string_view offset = m_header.Field(fields, kOffset);
        CCliOptions clock;
        clock.dst = m_options.dst;
        clock.noDst = m_options.noDst;
        if (!zip.empty() || !city.empty()) {
            const CIndexedPlace& found = zip.empty() ? City(city, state) : Zip(zip, state);
            const CPlace chosen = m_places.MakePlace(found.state, found.record);
            place.latitude = chosen.latitude;
            place.longitude = chosen.longitude;
            // As with --zip: a place that keeps standard time all year never gets the hour,
            // and the clock follows the place's zone unless --dst or --no-dst fixes it.
            clock.dst = clock.dst && chosen.observesDst;
            if (tz.empty()) {
                clock.offset = chosen.offset;
                if (!clock.dst && !clock.noDst) {
                    clock.zone = chosen.zone ? LoadZone(*chosen.zone) : std::nullopt;
                    unknownZones += !clock.zone && chosen.observesDst ? 1U : 0U;
                }
            }
        } else {
            if (!state.empty()) {
                throw CCliError("state: goes with zip or city");
            }
            const std::string_view lat = m_header.Field(fields, kLat);
            const std::string_view lon = m_header.Field(fields, kLon);
            if (lat.empty() || lon.empty()) {
                throw CCliError("no place: give zip, city, or lat and lon");
            }
            place.latitude = ParseLatitude("lat", lat);
            place.longitude = ParseLongitude("lon", lon);
            if (tz.empty() && offset.empty()) {
                if (!m_options.zone && !m_options.offset) {
                    throw CCliError("no clock: give tz or offset, or --tz or --offset");
                }
                clock.zone = m_options.zone;
                clock.offset = m_options.offset;
            }
        }
        if (!tz.empty()) {
            clock.zone = Zone("tz", tz);
        }
        if (!offset.empty()) {
            clock.offset = ParseOffset("offset", offset);
        }
        place.clock = ClockChoiceOf(clock);
    }

    // A zone of the system's database, loaded once; nothing for a name it lacks.
    const std::optional<CZoneClock>& LoadZone(std::string_view name) {
        auto it = m_zones.find(name);
        if (it == m_zones.end()) {
            it = m_zones.emplace(std::string(name), CZoneClock::Load(std::string(name))).first;
        }
        return it->second;
    }

    const CZoneClock& Zone(const char* column, std::string_view name) {
        const std::optional<CZoneClock>& zone = LoadZone(name);
        if (!zone) {
            throw CCliError(std::string(column) + ": '" + PrintableArgument(name) +
                            "' is not a time zone of this system's database");
        }
        return *zone;
    }

    // The archives' places, read at the first line that needs them.
    const CPlaceIndex& Index() {
        const CPlaceIndex& index = m_places.Index();
        if (!m_indexChecked) {
            m_indexChecked = true;
            if (index.Size() == 0) {
                const std::filesystem::path dir = m_places.ArchiveDirectory().empty()
                                                      ? GetExecutableDirectory()
                                                      : m_places.ArchiveDirectory();
                throw CArchivesMissing("--places: no state archives (" +
                                       StateArchiveFileName("XX") + ") in " +
                                       PrintableArgument(dir.string()));
            }
            for (const std::string& problem : index.Problems()) {
                m_err << kProgram << ": --places: " << ToolMessage(problem) << "\n";
            }
        }
        return index;
    }

    // The state column as a code, or "".
    static std::string StateCode(std::string_view state) {
        if (state.empty()) {
            return {};
        }
        if (const auto row = CPlaceService::StateFromText(state)) {
            return std::string(row->code);
        }
        throw CCliError("state: '" + PrintableArgument(state) +
                        "' is not a state or possession (a code such as TX, or a name)");
    }

    // The first of `found` in the state of `code`, or without a state of the one state they
    // lie in; nothing when none is.
    static const CIndexedPlace* First(const CPlaceIndex& index,
                                      const std::vector<std::size_t>& found,
                                      const std::string& code, std::string_view column,
                                      std::string_view value) {
        std::set<std::string> states;
        const CIndexedPlace* first = nullptr;
        for (const std::size_t i : found) {
            if (code.empty() || index[i].state == code) {
                first = first ? first : &index[i];
                states.insert(index[i].state);
            }
        }
        if (states.size() > 1) {
            std::string list;
            for (const std::string& state : states) {
                list += (list.empty() ? "" : ", ") + state;
            }
            throw CCliError(std::string(column) + ": '" + PrintableArgument(value) +
                            "' lies in several states (" + list + "): add a state column");
        }
        return first;
    }

    static std::string In(const std::string& code) { return code.empty() ? "" : " in " + code; }

    const CIndexedPlace& Zip(std::string_view zip, std::string_view state) {
        const std::string code = StateCode(state);
        const CPlaceIndex& index = Index();
        if (const CIndexedPlace* place = First(index, index.FindZip(zip), code, "zip", zip)) {
            return *place;
        }
        throw CCliError("zip: no place" + In(code) + " has the zip code '" +
                        PrintableArgument(zip) + "'");
    }

    const CIndexedPlace& City(std::string_view city, std::string_view state) {
        const std::string code = StateCode(state);
        std::string name;
        try {
            name = Utf8ToWindows1252(std::string(city));
        } catch (const CEncodingError&) {
            throw CCliError("city: '" + PrintableArgument(city) +
                            "' holds characters no archive has");
        }
        const CPlaceIndex& index = Index();
        if (const CIndexedPlace* place =
                First(index, index.FindCity(PlaceNameKey(name), code), code, "city", city)) {
            return *place;
        }
        throw CCliError("city: no place" + In(code) + " is called '" + PrintableArgument(city) +
                        "'");
    }

private:
    const CCliOptions& m_options;
    const CHeader& m_header;
    std::ostream& m_err;
    CPlaceService m_places;
    bool m_indexChecked = false;
    std::map<std::string, std::optional<CZoneClock>, std::less<>> m_zones;
};

// Each day's row, the place's id first.
class CPlaceRows final : public CDayOnClockSink {
public:
    CPlaceRows(CBatchPlace& place, bool csv) : m_place(place), m_csv(csv) {}

    void Add(const CDayOnClock& row) override {
        CDayText& text = m_place.text;
        const std::size_t start = text.Size();
        text.Text(m_place.id);
        if (m_csv) {
            text.Char(',');
        } else {
            text.PadTo(start, kIdWidth);
            text.Text("  ");
        }
        text.DayRow(row, m_csv);
    }

private:
    CBatchPlace& m_place;
    bool m_csv;
};

// A day's JSON object ("  {\"date\": ...}") with the place's id first, after a comma.
void AppendWithId(CBatchPlace& place, const CDayText& day) {
    CDayText& text = place.text;
    text.Text(",\n  {\"id\": ");
    text.Text(place.id);
    text.Text(", ");
    text.Text(day.View().substr(3));
}

// Each day's object of the JSON array.
class CPlaceJson final : public CYearDaySink {
public:
    explicit CPlaceJson(CBatchPlace& place) : m_place(place) {}

    void Add(const CYearDay& day) override {
        m_day.Clear();
        AppendYearJsonDay(m_day, day);
        AppendWithId(m_place, m_day);
    }

private:
    CBatchPlace& m_place;
    CDayText m_day;
};

// Each day's columns of --precise and --events, the place's id first.
class CPlaceEventRows final : public CDayOnClockSink {
public:
    CPlaceEventRows(CBatchPlace& place, const CEventColumns& columns, CliFormat format)
        : m_place(place), m_columns(columns), m_format(format) {}

    void Add(const CDayOnClock& row) override {
        if (m_format == CliFormat::Json) {
            m_day.Clear();
            m_columns.JsonDay(m_day, row);
            AppendWithId(m_place, m_day);
            return;
        }
        CDayText& text = m_place.text;
        const std::size_t start = text.Size();
        text.Text(m_place.id);
        if (m_format == CliFormat::Csv) {
            text.Char(',');
        } else {
            text.PadTo(start, kIdWidth);
            text.Text("  ");
        }
        m_columns.Row(text, row, m_format == CliFormat::Csv);
    }

private:
    CBatchPlace& m_place;
    const CEventColumns& m_columns;
    CliFormat m_format;
    CDayText m_day;
};

// Lines of text, each after the place's id.
void AppendLines(CBatchPlace& place, std::string_view lines) {
    CDayText& text = place.text;
    while (!lines.empty()) {
        const std::size_t end = lines.find('\n');
        const std::size_t start = text.Size();
        text.Text(place.id);
        text.PadTo(start, kIdWidth);
        text.Text("  ");
        text.Text(lines.substr(0, end == std::string_view::npos ? lines.size() : end + 1));
        lines.remove_prefix(end == std::string_view::npos ? lines.size() : end + 1);
    }
}

void Compute(const CBatchJob& job, CBatchPlace& place) {
    CDayText& text = place.text;
    text.Clear();
    if (!place.error.empty()) {
        return;
    }
    const CClockChoice& clock = *place.clock;
    const double lat = place.latitude;
    const double lon = place.longitude;
    try {
        const int days = std::max(job.days, 1);
        if (job.yearFile) {
            CYearRequest request;
            request.latitude = lat;
            request.longitude = lon;
            request.precise = job.precise;
            request.date = job.first;
            if (job.format == CliFormat::Ics) {
                CIcsOptions ics = job.ics;
                ics.placeId = place.id;
                CYearIcsStream stream(request, {}, {0}, ics,
                                      [&text](std::string_view part) { text.Text(part); });
                StreamDaysOnClock(request, clock, job.first, days, job.precise, job.moon, stream);
                stream.Finish();
            } else {
                CPlaceJson sink(place);
                StreamDaysOnClock(request, clock, job.first, days, job.precise, job.moon, sink);
            }
        } else if (job.events != nullptr) {
            const CEventColumns& columns = *job.events;
            if (job.days == 0 && job.format == CliFormat::Text) {
                std::string lines;
                columns.Lines(lines, SolarDayOnClock(clock, job.first, lat, lon, columns.Engine(),
                                                     columns.Altitudes(), columns.Moon()));
                AppendLines(place, lines);
            } else {
                CPlaceEventRows sink(place, columns, job.format);
                SolarDaysOnClock(clock, job.first, days, lat, lon, columns.Engine(),
                                 columns.Altitudes(), sink, columns.Moon());
            }
        } else {
            CPlaceRows sink(place, job.format == CliFormat::Csv);
            SolarDaysOnClock(clock, job.first, std::max(job.days, 1), lat, lon, SolarEngine::Series,
                             0, sink);
        }
    } catch (const CMessageException& e) {
        text.Clear();
        place.error = ToolMessage(e.what());
    } catch (...) {
        text.Clear();
        place.failure = std::current_exception();
    }
}

// The places of a chunk on every core, each place by one thread.
void ComputeAll(const CBatchJob& job, std::vector<CBatchPlace>& places, std::size_t count,
                unsigned threads) {
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t i = next++; i < count; i = next++) {
            Compute(job, places[i]);
        }
    };
    std::vector<std::thread> helpers;
    for (unsigned t = 1; t < threads && t < count; ++t) {
        helpers.emplace_back(work);
    }
    work();
    for (std::thread& helper : helpers) {
        helper.join();
    }
}

}  // namespace

void CheckBatchOptions(const CCliOptions& options) {
    if (options.latitude || options.longitude || options.place.LooksUpPlace() ||
        options.place.Lists() || options.place.first) {
        throw CCliError(
            "--places: the places come from the file: goes without --lat, --lon, --coords, "
            "--zip, --city, --state, --first and the listings");
    }
    if (options.almanac || options.now || options.wait) {
        throw CCliError("--places: goes without --almanac, --now and --wait");
    }
}

int RunBatch(const CCliOptions& options, std::ostream& out, std::ostream& err) {
    const std::string& path = *options.places;
    std::ifstream file;
    std::istream* in = &std::cin;
    if (path != "-") {
        std::error_code error;
        if (std::filesystem::is_directory(path, error)) {
            throw CCliError("--places: '" + PrintableArgument(path) + "' is a directory");
        }
        file.open(path, std::ios::binary);
        if (!file) {
            throw CCliError("--places: cannot open '" + PrintableArgument(path) +
                            "': " + std::strerror(errno));
        }
        in = &file;
    }
    CBatchJob job;
    job.first = *options.date;
    job.days = options.days;
    job.format = options.format;
    job.yearFile = UsesYearFileOutput(options);
    job.precise = options.precise;
    job.moon = HasMoonEvent(options.events);
    // One calendar for every place: its times in UTC, since each place may keep its own clock.
    job.ics.utc = true;
    job.ics.stamp = std::time(nullptr);
    job.ics.eventsOnly = true;
    std::optional<CEventColumns> events;
    if (!job.yearFile && UsesEventOutput(options)) {
        job.events = &events.emplace(options);
    }

    // The header: the first line that is not blank (a byte-order mark before it is dropped).
    std::string line;
    std::size_t number = 0;
    std::optional<CHeader> header;
    while (!header && std::getline(*in, line)) {
        ++number;
        std::string_view text = line;
        if (number == 1 && text.substr(0, 3) == "\xEF\xBB\xBF") {
            text.remove_prefix(3);
        }
        if (!Trim(text).empty()) {
            header = ReadHeader(text, number);
        }
    }
    if (!header) {
        throw CCliError("--places: '" + PrintableArgument(path) +
                        "' has no header line (e.g. \"id,zip\" or \"id,lat,lon,tz\")");
    }

    CDayText head;
    std::optional<CYearIcsStream> calendar;
    if (job.format == CliFormat::Ics) {
        CIcsOptions ics = job.ics;
        ics.eventsOnly = false;
        calendar.emplace(CYearRequest{}, std::string(), std::vector<int>{0}, ics,
                         [&head](std::string_view part) { head.Text(part); });
    } else if (job.format == CliFormat::Csv) {
        head.Text("id,");
        if (job.events != nullptr) {
            job.events->Header(head, true);
        } else {
            head.Text(DayTableHeader(true));
        }
    } else if (job.format == CliFormat::Json) {
        head.Text("[");
    } else if (job.days > 0) {
        head.Text("Id");
        head.PadTo(0, kIdWidth);
        head.Text("  ");
        if (job.events != nullptr) {
            job.events->Header(head, false);
        } else {
            head.Text(DayTableHeader(false));
        }
    }
    out.write(head.Data(), static_cast<std::streamsize>(head.Size()));

    CPlaceReader reader(options, *header, err);
    // A calendar on one thread: libical keeps state of its own between calls.
    const unsigned threads = job.format == CliFormat::Ics
                                 ? 1U
                                 : std::clamp(std::thread::hardware_concurrency(), 1U, 64U);
    const std::size_t perChunk =
        std::clamp<std::size_t>(kRowsPerChunk / static_cast<std::size_t>(std::max(job.days, 1)),
                                4 * threads, kMaxPlacesPerChunk);
    std::vector<CBatchPlace> places(perChunk);
    bool skipped = false;
    bool firstObject = true;
    while (out) {
        std::size_t count = 0;
        while (count < perChunk && std::getline(*in, line)) {
            ++number;
            if (!Trim(line).empty()) {
                reader.Read(number, line, places[count++]);
            }
        }
        if (count == 0) {
            break;
        }
        ComputeAll(job, places, count, threads);
        for (std::size_t i = 0; i < count && out; ++i) {
            const CBatchPlace& place = places[i];
            if (place.failure) {
                std::rethrow_exception(place.failure);
            }
            if (!place.error.empty()) {
                err << kProgram << ": --places: line " << place.line << ": " << place.error << "\n";
                skipped = true;
                continue;
            }
            const char* data = place.text.Data();
            std::size_t size = place.text.Size();
            if (job.format == CliFormat::Json && firstObject && size > 0) {
                ++data;  // the array's first object follows no comma
                --size;
                firstObject = false;
            }
            out.write(data, static_cast<std::streamsize>(size));
        }
    }
    if (in->bad()) {
        throw CCliError("--places: cannot read '" + PrintableArgument(path) +
                        "': " + std::strerror(errno));
    }
    if (job.format == CliFormat::Json) {
        out << "\n]\n";
    }
    if (calendar) {
        head.Clear();
        calendar->Finish();
        out.write(head.Data(), static_cast<std::streamsize>(head.Size()));
    }
    if (reader.unknownZones > 0) {
        err << kProgram << ": --places: the time zone of " << reader.unknownZones
            << " place(s) from the archives is unknown here: no daylight-saving hour added "
               "(--dst adds it)\n";
    }
    return skipped ? kCliExitSkipped : kCliExitOk;
}
