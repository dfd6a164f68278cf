#include "DaybreakDlg.h"

#include <exception>
#include <new>
#include <utility>
#include <vector>

#include <algorithm>

#include "DayDetailsCalculation.h"
#include "ErrorReporter.h"
#include "Exception.h"
#include "LocalSolarTime.h"
#include "PlaceIndex.h"
#include "PlaceName.h"
#include "Resource.h"
#include "ResultText.h"
#include "StateTable.h"
#include "TimeZoneList.h"
#include "Windows1252.h"
#include "ZoneClock.h"

namespace {

constexpr std::uint32_t kHelpLinkBlue = 0x0000FF;  // 0x00RRGGBB

// The loader's entries are kept until the archive has been read, then each combo box takes
// its own at once: its views hear of one new list, not of every record.
class CComboBoxSink : public IStateArchiveSink {
public:
    CComboBoxSink(CComboBox& zipCombo, CComboBox& cityCombo)
        : m_zipCombo(zipCombo), m_cityCombo(cityCombo) {}
    void ResetZipList() override {
        m_zipCombo.ResetContent();
        m_zips.clear();
    }
    void ResetCityList() override {
        m_cityCombo.ResetContent();
        m_cities.clear();
    }
    void AddZipEntry(const std::string& zipEntry) override { m_zips.push_back(zipEntry); }
    void AddCityEntry(const std::string& cityEntry) override { m_cities.push_back(cityEntry); }
    // Into the combo boxes with whatever was read, the whole archive or the records before
    // a failure.
    void Flush() {
        m_zipCombo.AddStrings(std::exchange(m_zips, {}));
        m_cityCombo.AddStrings(std::exchange(m_cities, {}));
    }

private:
    CComboBox& m_zipCombo;
    CComboBox& m_cityCombo;
    std::vector<std::string> m_zips;
    std::vector<std::string> m_cities;
};

// What one load reports, shown in one error box when the load is over: a state whose archive
// holds many bad records gives one box, not one per record.
class CLoadErrorReporter : public IErrorReporter {
public:
    void ReportError(const CException& error) override {
        if (m_shown < kMaxShown) {
            m_text += (m_text.empty() ? "" : "\n") + error.GetErrorMessage();
            ++m_shown;
        } else {
            ++m_more;
        }
    }
    void ShowIn(IDaybreakWindow& window) {
        if (m_more > 0) {
            m_text += "\n... and " + std::to_string(m_more) + " more";
        }
        if (!m_text.empty()) {
            window.ReportError(std::exchange(m_text, {}));
        }
        m_shown = m_more = 0;
    }

private:
    static constexpr std::size_t kMaxShown = 10;  // a box that still fits the screen
    std::string m_text;
    std::size_t m_shown = 0;
    std::size_t m_more = 0;
};

// Empties a place list and fills it with one entry per record of the location list.
template <typename MakeEntry>
void RefillFromList(CComboBox& combo, MakeEntry makeEntry) {
    combo.ResetContent();
    std::vector<std::string> entries;
    entries.reserve(g_TimeZoneList.GetCount());
    for (const auto& record : g_TimeZoneList) {
        entries.push_back(makeEntry(record));
    }
    combo.AddStrings(std::move(entries));
}

}  // namespace

CDaybreakDlg::CDaybreakDlg(IDaybreakWindow& window)
    : m_date(CTime::GetCurrentTime()), m_window(window) {}

void CDaybreakDlg::SetArchiveDirectory(std::filesystem::path directory) {
    m_places = std::make_unique<CPlaceService>(std::move(directory));
}

bool CDaybreakDlg::UpdateData(bool saveAndValidate) {
    const auto exchange = m_window.BeginExchange(saveAndValidate);
    try {
        DoDataExchange(exchange.get());
    } catch (const CUserException&) {
        return false;
    }
    if (!saveAndValidate) {
        PublishChosenDay();
    }
    return true;
}

void CDaybreakDlg::PublishChosenDay() {
    // A request the engines refuse has been reported by the command that made it; the windows
    // that follow keep the last day they could draw.
    try {
        m_chosen.Set(YearRequest());
    } catch (const std::exception&) {
    }
}

// The order matters: a run from the controls stops at the first number that does not parse,
// and every field after it keeps its member's value.
void CDaybreakDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_LATITUDE, m_latitude);
    DDX_Text(pDX, IDC_LONGITUDE, m_longitude);
    DDX_Text(pDX, IDC_SUNRISE, m_sunrise);
    DDX_Text(pDX, IDC_SUNSET, m_sunset);
    DDX_Text(pDX, IDC_SOLAR_NOON, m_solarNoon);
    DDX_Text(pDX, IDC_TIMEZONE_OFFSET, m_timeZoneOffset);
    DDX_Control(pDX, IDC_HELP_LINK, m_helpLink);
    DDX_DateTimeCtrl(pDX, IDC_DATE, m_date);
    DDX_Check(pDX, IDC_DST, m_dst);
    DDX_Control(pDX, IDC_STATE_COMBO, m_stateCombo);
    DDX_Control(pDX, IDC_ZIP_COMBO, m_zipCombo);
    DDX_Text(pDX, IDC_CITY_NAME, m_cityName);
    DDX_Text(pDX, IDC_COUNTY_NAME, m_countyName);
    DDX_Control(pDX, IDC_CITY_COMBO, m_cityCombo);
    DDX_Control(pDX, IDC_DST, m_dstButton);
}

bool CDaybreakDlg::OnInitDialog() {
    UpdateData(false);
    m_helpLink.SetTextColorAndRedraw(kHelpLinkBlue);
    FillStateCombo();
    return true;
}

void CDaybreakDlg::OnOK() {
    if (UpdateData(true)) {
        m_window.EndDialog(IDOK);
    }
}

void CDaybreakDlg::OnCancel() {
    m_window.EndDialog(IDCANCEL);
}

void CDaybreakDlg::OnHelpLink() {
    RunCommand([this] { m_window.ShowTimeZoneHelp(); });
}

void CDaybreakDlg::OnCalculate() {
    RunCommand([this] {
        UpdateData(true);
        if (ZoneByTheDate() == nullptr) {
            SetDstFromZone();  // typed coordinates may take the zone of the point
        }
        CalculateSolarTimes();
        UpdateData(false);
    });
}

void CDaybreakDlg::OnSelchangeState() {
    RunCommand([this] {
        ClearOutputs();
        const std::string code = StateCodeFromName(m_stateCombo.GetSelectedText());
        if (!g_TimeZoneList.IsEmpty()) {
            g_TimeZoneList.RemoveAll();
        }
        m_dstButton.SetCheck(0);
        LoadStateArchive(code);
    });
}

void CDaybreakDlg::OnSelchangeZip() {
    SelectPlace(m_zipCombo, &CTimeZoneList::FindByZip, &CDaybreakDlg::FillCityCombo);
}

void CDaybreakDlg::OnSelchangeCity() {
    SelectPlace(m_cityCombo, &CTimeZoneList::FindByCityEntry, &CDaybreakDlg::FillZipCombo);
}

// A zip choice and a city choice differ only in the list read, the lookup (of several records
// with that text, the first in the archive decides) and the other list, which is rebuilt so
// that only one of the two shows a choice.
void CDaybreakDlg::SelectPlace(CComboBox& combo, PlaceLookup lookup,
                               void (CDaybreakDlg::*refillOther)()) {
    RunCommand([&] {
        UpdateData(true);
        const std::string text = combo.GetSelectedText();
        if (!g_TimeZoneList.IsEmpty()) {
            if (const auto record = (g_TimeZoneList.*lookup)(text)) {
                try {
                    ApplyRecord(*record);
                    SetDstFromZone();
                    CalculateSolarTimes();
                    Remember(*record);
                } catch (...) {
                    // A place that cannot be computed leaves nothing of the place shown
                    // before it beside its own zip code.
                    ClearPlaceShown();
                    UpdateData(false);
                    throw;
                }
            } else {
                CalculateSolarTimes();
            }
        }
        UpdateData(false);
        (this->*refillOther)();
    });
}

void CDaybreakDlg::OnDateTimeChange() {
    RunCommand([this] {
        UpdateData(true);
        SetDstFromZone();
        CalculateSolarTimes();
        UpdateData(false);
    });
}

void CDaybreakDlg::OnClear() {
    RunCommand([this] {
        UpdateData(true);
        ResetPlaceAndResults();
        m_stateCombo.ResetContent();
        FillStateCombo();
        UpdateData(false);
    });
}

void CDaybreakDlg::OnFindPlace() {
    RunCommand([this] {
        // The finder alone (the names file); an archive is read for the place chosen.
        const auto chosen = m_window.ChooseFoundPlace(*m_places);
        if (!chosen) {
            return;
        }
        if (!chosen->IsUsTown()) {
            ApplyWorldPlace(*chosen);
            return;
        }
        const CTimeZoneData record = m_places->RecordAt(chosen->zips.front(), chosen->state);
        if (record.m_strZipCode.empty()) {
            return;
        }
        if (!ChooseState(CPlaceService::StateFromText(chosen->state))) {
            return;
        }
        if (m_cityCombo.SelectString(record.CityEntry())) {
            OnSelchangeCity();
        }
    });
}

// A town of the world file: no state, zip code or city entry names it, so the lists are
// emptied as a new state would empty them, and the fields take the town and its zone.
void CDaybreakDlg::ApplyWorldPlace(const CFoundPlace& found) {
    UpdateData(true);
    CPlace place = m_places->PlaceOf(found);
    g_TimeZoneList.RemoveAll();
    m_stateCombo.ResetContent();
    m_zipCombo.ResetContent();
    m_cityCombo.ResetContent();
    FillStateCombo();
    m_stateCode.clear();
    m_latitude = place.latitude;
    m_longitude = place.longitude;
    m_timeZoneOffset = place.offset;
    m_cityName = place.record.m_strCity;
    m_countyName = place.record.m_strCounty;
    if (!place.observesDst) {
        m_dst = 0;
        m_dstButton.SetCheck(0);
    }
    m_dstButton.EnableWindow(place.observesDst);
    m_place = std::move(place);
    SetDstFromZone();
    CalculateSolarTimes();
    UpdateData(false);
}

bool CDaybreakDlg::OnStateTyped(std::string_view typed) {
    return ChooseState(CPlaceService::StateFromTyped(typed));
}

bool CDaybreakDlg::ChooseState(const std::optional<CStateRow>& state) {
    if (!state || !m_stateCombo.SelectString(std::string(state->name))) {
        return false;
    }
    OnSelchangeState();
    return true;
}

bool CDaybreakDlg::OnZipTyped(std::string_view typed) {
    return ChooseTyped(m_zipCombo, typed, &CDaybreakDlg::OnSelchangeZip);
}

bool CDaybreakDlg::OnCityTyped(std::string_view typed) {
    return ChooseTyped(m_cityCombo, typed, &CDaybreakDlg::OnSelchangeCity);
}

// The entry the field's completion shows: the first in the list's order that starts with the
// typed text, any case.
bool CDaybreakDlg::ChooseTyped(CComboBox& combo, std::string_view typed,
                               void (CDaybreakDlg::*handler)()) {
    for (int i = 0; i < combo.GetCount() && !typed.empty(); ++i) {
        if (StartsWithIgnoringCase(combo.GetText(i), typed)) {
            combo.SetCurSel(i);
            (this->*handler)();
            return true;
        }
    }
    return false;
}

void CDaybreakDlg::OnFileExit() {
    m_window.EndDialog(0);
}

void CDaybreakDlg::OnHelpAbout() {
    RunCommand([this] { m_window.ShowAboutBox(); });
}

void CDaybreakDlg::FillStateCombo() {
    std::vector<std::string> names;
    for (const auto& row : g_StateTable) {
        names.emplace_back(row.name);
    }
    m_stateCombo.AddStrings(std::move(names));
}

std::string CDaybreakDlg::StateCodeFromName(std::string_view name) {
    return CPlaceService::StateCodeFromName(name);
}

void CDaybreakDlg::ClearOutputs() {
    UpdateData(true);
    ResetPlaceAndResults();
    SetNotes({});
    UpdateData(false);
}

void CDaybreakDlg::ClearPlaceShown() {
    m_latitude = 0.0;
    m_longitude = 0.0;
    m_timeZoneOffset = 0.0f;
    m_sunrise.clear();
    m_sunset.clear();
    m_solarNoon.clear();
    m_cityName.clear();
    m_countyName.clear();
    m_place.reset();
}

void CDaybreakDlg::ResetPlaceAndResults() {
    ClearPlaceShown();
    m_dst = 0;
    m_zipCombo.ResetContent();
    m_cityCombo.ResetContent();
}

void CDaybreakDlg::FillZipCombo() {
    UpdateData(true);
    RefillFromList(m_zipCombo, [](const CTimeZoneData& record) { return record.ZipEntry(); });
    UpdateData(false);
}

void CDaybreakDlg::FillCityCombo() {
    UpdateData(true);
    RefillFromList(m_cityCombo, [](const CTimeZoneData& record) { return record.CityEntry(); });
    UpdateData(false);
}

void CDaybreakDlg::CalculateSolarTimes() {
    // All three at 0 is the state after start-up and Clear: nothing entered. A single 0 is a
    // real place (the equator, the Greenwich meridian, a zone at UTC) and is computed.
    if (m_timeZoneOffset == 0.0f && m_latitude == 0.0 && m_longitude == 0.0) {
        m_sunrise.clear();
        m_sunset.clear();
        m_solarNoon.clear();
        SetNotes({});
        return;
    }
    // All three before any member changes: an error leaves the earlier results untouched.
    const CDayOnClock day = DayOnTheClock(m_precise ? SolarEngine::Precise : SolarEngine::Series);
    // A day without sunrise or sunset also says when the polar day (next sunset) or night
    // (next sunrise) ends.
    auto spellEnds = [&](const CSolarResult& result) -> std::optional<CCivilDate> {
        if (result.HasTime()) {
            return std::nullopt;
        }
        const SolarEvent ends =
            result.outcome == SolarOutcome::UpAllDay ? SolarEvent::Sunset : SolarEvent::Sunrise;
        return NextCrossingDate(ends, day.date, m_latitude, m_longitude, day.clock.offset,
                                day.clock.dst);
    };
    std::map<int, CResultTexts> texts;
    for (const auto& [id, result] :
         {std::pair{IDC_SUNRISE, &day.sunrise}, std::pair{IDC_SUNSET, &day.sunset},
          std::pair{IDC_SOLAR_NOON, &day.solarNoon}}) {
        texts[id] = ResultTexts(*result, day.date, spellEnds(*result));
    }
    m_sunrise = texts[IDC_SUNRISE].full;
    m_sunset = texts[IDC_SUNSET].full;
    m_solarNoon = texts[IDC_SOLAR_NOON].full;
    m_resultTexts = std::move(texts);
    SetNotes(NotesFor(day));
}

CResultTexts CDaybreakDlg::ResultTextsOf(int id, const std::string& full) const {
    const auto found = m_resultTexts.find(id);
    if (found != m_resultTexts.end() && found->second.full == full) {
        return found->second;
    }
    return {full, full, full};
}

CWindowNotes CDaybreakDlg::NotesFor(const CDayOnClock& day) const {
    CWindowNotes notes;
    if (IsNoonFarFromMidday(day)) {
        notes.signs = "Solar noon falls at " + ClockOnDate(day.solarNoon, DateText(day.date)) +
                      ", far from 12:00: longitude and time zone are WEST positive here "
                      "(Chicago 87.63 and 6), check their signs.";
    }
    if (m_pointZone) {
        notes.zone = "Time zone of the point: " + *m_pointZone + ".";
    }
    // The box keeps the user's choice while the option is off; say when the place's own
    // clock differs on this date, and offer to follow it.
    if (const std::string* zone = m_dstFromDate ? nullptr : PlaceZone()) {
        if (const std::optional<CZoneClock> clock = CZoneClock::Load(*zone)) {
            const int placeDst = clock->OnDate(day.date).dst;
            if (placeDst != m_dst) {
                const std::string name =
                    m_cityName.empty() ? "This place" : Windows1252ToUtf8(m_cityName);
                notes.clock =
                    name +
                    (placeDst != 0 ? " keeps daylight saving time" : " keeps standard time") +
                    " on this date.";
            }
        }
    }
    return notes;
}

void CDaybreakDlg::Remember(const CTimeZoneData& record) {
    const CRecentPlace place{m_stateCode, record.CityEntry()};
    std::vector<CRecentPlace> places{place};
    for (const CRecentPlace& kept : m_recent) {
        if (!(kept == place) && places.size() < kRecentPlaces) {
            places.push_back(kept);
        }
    }
    if (places != m_recent) {
        m_recent = std::move(places);
        m_window.RecentPlacesChanged(m_recent);
    }
}

void CDaybreakDlg::SetRecentPlaces(std::vector<CRecentPlace> places) {
    if (places.size() > kRecentPlaces) {
        places.resize(kRecentPlaces);
    }
    m_recent = std::move(places);
}

void CDaybreakDlg::OnRecentPlace(std::size_t index) {
    RunCommand([this, index] {
        if (index >= m_recent.size()) {
            return;
        }
        const CRecentPlace place = m_recent[index];  // choosing it reorders the list
        if (!ChooseState(CPlaceService::StateFromText(place.state))) {
            return;
        }
        if (m_cityCombo.SelectString(place.cityEntry)) {
            OnSelchangeCity();
        } else {
            m_window.ReportError("The place " + Windows1252ToUtf8(place.cityEntry) +
                                 " is no longer in the archive of " + place.state + ".");
        }
    });
}

void CDaybreakDlg::SetNotes(const CWindowNotes& notes) {
    if (notes == m_notes) {
        return;
    }
    m_notes = notes;
    m_window.ShowNotes(m_notes);
}

void CDaybreakDlg::LoadStateArchive(std::string code) {
    CComboBoxSink sink(m_zipCombo, m_cityCombo);
    CLoadErrorReporter reporter;
    m_stateCode = code;
    try {
        m_places->LoadState(code, g_TimeZoneList, sink, reporter);
    } catch (...) {
        sink.Flush();
        reporter.ShowIn(m_window);
        throw;
    }
    sink.Flush();
    reporter.ShowIn(m_window);
}

void CDaybreakDlg::RunCommand(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::bad_alloc&) {
        m_window.ReportError("Out of memory.");
    } catch (const std::exception& error) {
        m_window.ReportError(error.what());
    }
}

void CDaybreakDlg::RestorePrecise(bool on) {
    m_precise = on;
}

void CDaybreakDlg::RestoreDstFromDate(bool on) {
    m_dstFromDate = on;  // takes effect with the first place chosen
}

void CDaybreakDlg::OnPreciseCalculation(bool on) {
    RunCommand([this, on] {
        UpdateData(true);
        m_precise = on;
        CalculateSolarTimes();
        UpdateData(false);
    });
}

void CDaybreakDlg::OnDayDetails() {
    RunCommand([this] {
        if (!UpdateData(true)) {
            return;
        }
        m_window.ShowDayDetails(CDayDetailsCalculation::Of(YearRequest()));
    });
}

void CDaybreakDlg::OnMapPoint(double latitude, double longitude, std::optional<float> offset) {
    RunCommand([this, latitude, longitude, offset] {
        if (!UpdateData(true)) {
            return;
        }
        m_latitude = latitude;
        m_longitude = longitude;
        if (offset) {
            m_timeZoneOffset = *offset;
        }
        // The point is no longer the listed place: its names would mislabel the times.
        m_place.reset();
        m_cityName.clear();
        m_countyName.clear();
        m_cityCombo.SetCurSel(-1);
        m_zipCombo.SetCurSel(-1);
        CalculateSolarTimes();
        UpdateData(false);
    });
}

CYearRequest CDaybreakDlg::YearRequest() const {
    CYearRequest request;
    request.latitude = m_latitude;
    request.longitude = m_longitude;
    request.offset = m_timeZoneOffset;
    request.dst = m_dst;
    request.precise = m_precise;
    if (const std::string* zone = ZoneByTheDate()) {
        request.zoneName = *zone;
        request.fromDate = true;
    }
    request.date = LocalDateOf(m_date);
    request.placeName = Windows1252ToUtf8(m_cityName);  // archive text is Windows-1252
    if (m_place && !m_cityName.empty()) {
        request.stateCode = m_place->state;  // for the export's file name
    }
    return request;
}

CDayOnClock CDaybreakDlg::DayOnTheClock(SolarEngine engine) const {
    return SolarDayOnClock(CClockChoice::Fixed(m_timeZoneOffset, m_dst), LocalDateOf(m_date),
                           m_latitude, m_longitude, engine);
}

void CDaybreakDlg::OnDstFromDate(bool on) {
    m_dstFromDate = on;  // when turned off, the mark stays as it is, the user's again
    OnDateTimeChange();  // the same look at the zone and the same results as a new date
}

const std::string* CDaybreakDlg::ZoneByTheDate() const {
    return m_dstFromDate ? PlaceZone() : nullptr;
}

const std::string* CDaybreakDlg::PointZone() {
    if (!m_dstFromDate || PlaceZone() != nullptr ||
        (m_latitude == 0.0 && m_longitude == 0.0 && m_timeZoneOffset == 0.0f)) {
        return nullptr;
    }
    if (m_place && m_latitude == m_place->latitude && m_longitude == m_place->longitude) {
        return nullptr;  // the place chosen, with an offset typed over it: the user's clock
    }
    m_pointZone = m_places->ZoneOfPoint(m_latitude, m_longitude);
    return m_pointZone ? &*m_pointZone : nullptr;
}

const std::string* CDaybreakDlg::PlaceZone() const {
    if (!m_place || ClockOfPlace(*m_place, true, false).kind != CPlaceClock::Kind::Zone) {
        return nullptr;
    }
    if (m_latitude != m_place->latitude || m_longitude != m_place->longitude ||
        m_timeZoneOffset != m_place->offset) {
        return nullptr;  // typed coordinates
    }
    return &*m_place->zone;
}

void CDaybreakDlg::SetDstFromZone() {
    const std::string* name = ZoneByTheDate();
    m_pointZone.reset();
    if (name == nullptr && (name = PointZone()) != nullptr) {
        // Typed coordinates: the zone of the point gives the offset and the tick.
        if (const auto standard = ZoneStandard(*name)) {
            m_timeZoneOffset = standard->offset;
        }
    }
    if (name == nullptr) {
        if (m_place &&
            ClockOfPlace(*m_place, m_dstFromDate, false).kind == CPlaceClock::Kind::ZoneUnknown &&
            !m_toldZoneUnknown) {
            // Once a run: the box stays the user's, as without the option.
            m_toldZoneUnknown = true;
            const std::string why = m_places->ZoneProblem(m_stateCode);
            m_window.ReportError("The time zone of this place is unknown (" +
                                 (why.empty() ? "the zone file does not list it" : why) +
                                 "): set Daylight Savings Time by hand.");
        }
        return;
    }
    if (const std::optional<CZoneClock> zone = CZoneClock::Load(*name)) {
        m_dst = zone->OnDate(LocalDateOf(m_date)).dst;
    }
}

void CDaybreakDlg::ApplyRecord(const CTimeZoneData& record) {
    m_place = m_places->MakePlace(m_stateCode, record);
    m_latitude = m_place->latitude;
    m_longitude = m_place->longitude;
    m_timeZoneOffset = m_place->offset;
    m_cityName = record.m_strCity;
    m_countyName = record.m_strCounty;
    if (!m_place->observesDst) {
        // Standard time all year: no daylight-saving hour, and no check mark the user could
        // not remove from a disabled box.
        m_dst = 0;
        m_dstButton.SetCheck(0);
        m_dstButton.EnableWindow(false);
    } else {
        m_dstButton.EnableWindow(true);
    }
}
