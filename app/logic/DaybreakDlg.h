// CDaybreakDlg is the main window's logic: every input and result of the program as members,
// the order in which they meet the controls (DoDataExchange), and one handler per command.
// It holds no widget; the window hosting it implements IDaybreakWindow and the control
// interfaces of DialogControls.h, forwards each user action to the handler named below, and
// never runs a handler for a change the program made itself.
//
// One request, choosing Texas and then the zip code 78572:
//   1. OnSelchangeState: ClearOutputs() reads the controls, zeroes the place and result
//      members, empties the zip and city lists and writes the members back; the chosen name
//      maps to "TX" (StateCodeFromName); the location list is emptied, the daylight-saving
//      box unchecked, and LoadStateArchive("TX") refills the list and both combo boxes.
//   2. OnSelchangeZip: UpdateData(TRUE) reads every field; the record the zip lookup yields
//      is applied (latitude, longitude turned west-positive, offset, city, county, the
//      daylight-saving box enabled unless the place keeps standard time all year);
//      CalculateSolarTimes() fills m_sunrise, m_sunset, m_solarNoon; UpdateData(FALSE) shows
//      it all; FillCityCombo() rebuilds the city list with nothing chosen.
//   3. Ticking "Daylight Savings Time" (OnCalculate) or changing the date (OnDateTimeChange)
//      reads the fields, recomputes and writes them back.
// Each time the members are shown (UpdateData(FALSE)) the dialog sets the chosen day
// (Chosen(), a CChosenDay) from them: the windows that follow the main window observe that,
// and reach the dialog's Calculation commands only through ICalculationCommands.
// A failure inside a handler (an archive that cannot be read, an input the solar engine
// refuses) is shown through IDaybreakWindow::ReportError and ends that handler where it
// struck; the dialog stays open.
//
// Units: latitude degrees north positive; longitude degrees WEST positive (the archives store
// west as negative); offset hours behind UTC, positive west of Greenwich (6 = US Central).
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "CTime.h"
#include "CalculationCommands.h"
#include "ChosenDay.h"
#include "DayOnClock.h"
#include "DialogControls.h"
#include "PlaceService.h"
#include "ResultText.h"
#include "TimeZoneList.h"
#include "YearTable.h"

class CTimeZoneData;

class CDaybreakDlg : public ICalculationCommands {
public:
    explicit CDaybreakDlg(IDaybreakWindow& window);
    CDaybreakDlg(const CDaybreakDlg&) = delete;
    CDaybreakDlg& operator=(const CDaybreakDlg&) = delete;

    // Where the state archives lie; empty (the default) means the executable's directory.
    void SetArchiveDirectory(std::filesystem::path directory);

    // Runs the exchange in one direction; false when a number field did not parse (the user
    // has been told, the field has the focus, and the later fields were not read).
    bool UpdateData(bool saveAndValidate = true);
    void DoDataExchange(CDataExchange* pDX);

    // Binds the controls, shows the members, paints "Help..." blue and fills the state list.
    bool OnInitDialog();
    // Enter: ends the dialog only when every field reads back.
    void OnOK();
    // Escape and the close box.
    void OnCancel();

    void OnHelpLink();
    void OnCalculate();
    void OnSelchangeState();
    void OnSelchangeZip();
    void OnDateTimeChange();
    void OnClear();
    void OnSelchangeCity();
    void OnFileExit();
    void OnHelpAbout();
    // Precise Calculation: the three results from the precise engine (when `on`) or from the
    // default series, recomputed at once. Day Details: every event of the date for the place
    // in the fields, from the precise engine, in a window of its own.
    void OnPreciseCalculation(bool on) override;
    void OnDayDetails() override;
    // A point picked on the world map: its latitude and longitude (WEST positive) become the
    // fields', with its zone's standard offset (hours behind UTC) when known, in place of the
    // chosen place; the times recompute at once.
    void OnMapPoint(double latitude, double longitude, std::optional<float> offset) override;
    // Daylight Saving from the Date: while on, choosing a place from the archives or changing
    // the date sets the daylight-saving mark from the place's zone for that date and
    // recomputes; the user may still change the mark by hand until the next such change.
    // Typed coordinates (fields that no longer hold the chosen place) stay manual.
    void OnDstFromDate(bool on) override;
    // The options as kept between runs, before the controls exist.
    void RestorePrecise(bool on) override;
    void RestoreDstFromDate(bool on) override;
    // Find Place: the user searches every state's places (IDaybreakWindow::ChooseFoundPlace);
    // the place chosen is selected as a user would select it: its state in the state list
    // (OnSelchangeState), then its city entry in the city list (OnSelchangeCity), which names
    // the very record even where two places share a zip code.
    void OnFindPlace();
    // A world town chosen in Find Place: its point, name, region and country, its zone's
    // standard offset, and the daylight-saving box as for a US place of that zone.
    void ApplyWorldPlace(const CFoundPlace& found);
    // Enter in the state box with text typed: a two-letter code or the start of a name, in any
    // case, selects that state as a click on it would. False when no state matches.
    bool OnStateTyped(std::string_view typed);
    // Enter in the zip or city box with text typed: the first entry that starts with the text
    // (any case) is chosen as a click on it would. False when none does.
    bool OnZipTyped(std::string_view typed);
    bool OnCityTyped(std::string_view typed);
    // File > Recent Places: the last places chosen from the lists (by hand, by Find Place or
    // from this list), newest first, at most kRecentPlaces. Choosing one selects its state and
    // its city entry as a user would. SetRecentPlaces restores a list kept between runs.
    static constexpr std::size_t kRecentPlaces = 8;
    const std::vector<CRecentPlace>& RecentPlaces() const { return m_recent; }
    void SetRecentPlaces(std::vector<CRecentPlace> places);
    void OnRecentPlace(std::size_t index);
    // The place, clock settings and date in the members. Empty (IsEmpty()) while nothing is
    // entered.
    CYearRequest YearRequest() const;
    // The same, as last shown: the model the windows that follow the main window observe.
    CChosenDay& Chosen() { return m_chosen; }

    void FillStateCombo();
    // The code of the first state table row whose name equals `name` exactly, or "".
    static std::string StateCodeFromName(std::string_view name);
    // The place applied last (with its zone when known), or nothing since the last state
    // change or Clear.
    const std::optional<CPlace>& CurrentPlace() const { return m_place; }
    CPlaceService& Places() { return *m_places; }
    void ClearOutputs();
    void FillZipCombo();
    void FillCityCombo();
    // Computes the three results unless latitude, longitude and offset are all 0 (nothing
    // entered yet); then it empties them, so no result of an earlier place stays on show.
    void CalculateSolarTimes();
    void LoadStateArchive(std::string code);

    double m_latitude = 0.0;
    double m_longitude = 0.0;
    std::string m_sunrise;
    std::string m_sunset;
    std::string m_solarNoon;
    float m_timeZoneOffset = 0.0f;
    CTime m_date;
    int m_dst = 0;
    CComboBox m_stateCombo;
    CComboBox m_zipCombo;
    std::string m_cityName;
    std::string m_countyName;
    CComboBox m_cityCombo;
    CButton m_dstButton;
    CColorText m_helpLink;
    bool m_precise = false;      // Precise Calculation; the window restores the user's choice
    bool m_dstFromDate = false;  // Daylight Saving from the Date; likewise
    const CWindowNotes& Notes() const { return m_notes; }
    // What the result field `id` shows for the text `full` it holds: the texts computed with
    // it, or `full` alone when the field holds another text (cleared, or set elsewhere).
    CResultTexts ResultTextsOf(int id, const std::string& full) const;

private:
    // Runs one command; an exception leaving it is reported and ends the command.
    void RunCommand(const std::function<void()>& command);
    void ApplyRecord(const CTimeZoneData& record);
    bool ChooseTyped(CComboBox& combo, std::string_view typed, void (CDaybreakDlg::*handler)());
    // Chooses `state` in the state list as a click would; false when there is none to choose.
    bool ChooseState(const std::optional<CStateRow>& state);
    // The chosen date's results on the fields' clock (offset and tick as they stand; the tick
    // already follows the date when that option is on), years checked.
    CDayOnClock DayOnTheClock(SolarEngine engine) const;
    // Sets the chosen day from the members (after they are shown).
    void PublishChosenDay();
    // Zeroes the coordinates, offset, results and names of the place shown.
    void ClearPlaceShown();
    // That, the daylight-saving box unticked, and the zip and city lists emptied.
    void ResetPlaceAndResults();
    // The chosen place's zone while the fields still hold that place (not typed coordinates)
    // and it keeps daylight saving; null otherwise.
    const std::string* PlaceZone() const;
    // The notes for the results just computed from `day`.
    CWindowNotes NotesFor(const CDayOnClock& day) const;
    void SetNotes(const CWindowNotes& notes);
    void Remember(const CTimeZoneData& record);
    // Sets m_dst from the chosen place's zone on m_date when the option is on and the fields
    // still hold that place.
    void SetDstFromZone();
    // The zone whose clock sets the mark: the chosen place's, while the option is on and the
    // fields still hold that place; null otherwise.
    const std::string* ZoneByTheDate() const;
    // With Daylight Saving from the Date on, typed coordinates (no place chosen there): the
    // zone of the point, kept in m_pointZone; else nothing.
    const std::string* PointZone();
    using PlaceLookup = std::optional<CTimeZoneData> (CTimeZoneList::*)(std::string_view) const;
    void SelectPlace(CComboBox& combo, PlaceLookup lookup, void (CDaybreakDlg::*refillOther)());

    IDaybreakWindow& m_window;
    std::unique_ptr<CPlaceService> m_places = std::make_unique<CPlaceService>();
    std::string m_stateCode;  // of the archive in g_TimeZoneList
    std::optional<CPlace> m_place;
    bool m_toldZoneUnknown = false;
    std::optional<std::string> m_pointZone;  // the zone of typed coordinates, while it applies
    CWindowNotes m_notes;
    std::vector<CRecentPlace> m_recent;
    std::map<int, CResultTexts> m_resultTexts;  // by result field, of the last calculation
    CChosenDay m_chosen;
};
