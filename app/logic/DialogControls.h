// The narrow face of the window that the main dialog's logic sees.
//
// The logic never touches a widget. It keeps its values in members, moves them to and from
// the controls through a CDataExchange run, and drives the few controls it needs by hand
// through handles bound during the exchange:
//   - a combo box: reset its content, add a string or many at once, current selection, text
//     of item n;
//   - a button window (the daylight-saving check box): set its check state, enable it;
//   - a coloured text: set its text colour and repaint it.
// The Qt window implements these with widgets; tests implement them with plain containers.
//
// Strings are the program's narrow Windows-1252 text throughout; only the window converts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "CTime.h"
#include "Exception.h"
#include "PlaceFinder.h"
#include "SunEvents.h"
#include "SunPath.h"

class CPlaceIndex;
class CPlaceService;

class IComboBox {
public:
    virtual ~IComboBox() = default;
    virtual void ResetContent() = 0;  // also empties the edit field
    virtual void AddString(const std::string& text) = 0;
    // The same as adding each text in turn; a list filled whole puts them in place at once.
    virtual void AddStrings(std::vector<std::string> texts) {
        for (const std::string& text : texts) {
            AddString(text);
        }
    }
    virtual int GetCurSel() const = 0;      // -1 when nothing is selected
    virtual void SetCurSel(int index) = 0;  // as a choice of the program: no handler runs
    virtual std::string GetLBText(int index) const = 0;
    virtual int GetCount() const = 0;
};

class IButtonWindow {
public:
    virtual ~IButtonWindow() = default;
    virtual void SetCheck(int check) = 0;  // 0 unchecked, 1 checked
    virtual void EnableWindow(bool enable) = 0;
};

class IColorText {
public:
    virtual ~IColorText() = default;
    // 0x00RRGGBB; the text shows in the new colour at once.
    virtual void SetTextColorAndRedraw(std::uint32_t rgb) = 0;
};

// Handles that stand for a bound control. Until bound, every call does nothing and a query
// answers "nothing there", as a control that does not exist would.
class CComboBox {
public:
    void Attach(IComboBox* control) { m_control = control; }
    bool IsBound() const { return m_control != nullptr; }
    void ResetContent();
    void AddString(const std::string& text);
    void AddStrings(std::vector<std::string> texts);
    int GetCurSel() const;
    // The text of the selected item, or "" when none is selected.
    std::string GetSelectedText() const;
    // Selects the first item whose text equals `text`; false (and no change) when none does.
    bool SelectString(const std::string& text);
    void SetCurSel(int index);
    std::string GetText(int index) const;  // "" outside the list
    int GetCount() const;

private:
    IComboBox* m_control = nullptr;
};

class CButton {
public:
    void Attach(IButtonWindow* control) { m_control = control; }
    bool IsBound() const { return m_control != nullptr; }
    void SetCheck(int check);
    void EnableWindow(bool enable);

private:
    IButtonWindow* m_control = nullptr;
};

class CColorText {
public:
    void Attach(IColorText* control) { m_control = control; }
    bool IsBound() const { return m_control != nullptr; }
    void SetTextColorAndRedraw(std::uint32_t rgb);

private:
    IColorText* m_control = nullptr;
};

// One run of the data exchange in one direction. A number field that does not parse has
// already told the user and moved the focus when the implementation calls Fail(), which stops
// the run with a CUserException.
class CDataExchange {
public:
    explicit CDataExchange(bool saveAndValidate) : m_bSaveAndValidate(saveAndValidate) {}
    virtual ~CDataExchange() = default;
    CDataExchange(const CDataExchange&) = delete;
    CDataExchange& operator=(const CDataExchange&) = delete;

    const bool m_bSaveAndValidate;  // true: controls -> members

    virtual void Text(int id, double& value) = 0;
    virtual void Text(int id, float& value) = 0;
    virtual void Text(int id, std::string& value) = 0;
    virtual void Check(int id, int& value) = 0;
    virtual void DateTime(int id, CTime& value) = 0;

    virtual IComboBox* ComboBox(int id) = 0;
    virtual IButtonWindow* ButtonWindow(int id) = 0;
    virtual IColorText* ColorText(int id) = 0;

    [[noreturn]] static void Fail() { throw CUserException(); }
};

inline void DDX_Text(CDataExchange* pDX, int id, double& value) {
    pDX->Text(id, value);
}
inline void DDX_Text(CDataExchange* pDX, int id, float& value) {
    pDX->Text(id, value);
}
inline void DDX_Text(CDataExchange* pDX, int id, std::string& value) {
    pDX->Text(id, value);
}
inline void DDX_Check(CDataExchange* pDX, int id, int& value) {
    pDX->Check(id, value);
}
inline void DDX_DateTimeCtrl(CDataExchange* pDX, int id, CTime& value) {
    pDX->DateTime(id, value);
}
// A binding is made on the first run and stands from then on.
inline void DDX_Control(CDataExchange* pDX, int id, CComboBox& control) {
    if (!control.IsBound()) {
        control.Attach(pDX->ComboBox(id));
    }
}
inline void DDX_Control(CDataExchange* pDX, int id, CButton& control) {
    if (!control.IsBound()) {
        control.Attach(pDX->ButtonWindow(id));
    }
}
inline void DDX_Control(CDataExchange* pDX, int id, CColorText& control) {
    if (!control.IsBound()) {
        control.Attach(pDX->ColorText(id));
    }
}

// What the dialog asks of the window that hosts it besides its controls.
// What Day Details shows: a heading with the date and the place ("No place chosen" when the
// fields name none), a note on where the times come from, and a line an event with its clock
// time on that date.
//
// With a place, it also draws the Sun's day (CSunDayChart) and shows the Moon's lines with the
// disc of its phase (CMoonDetails).
struct CSunDayChart {
    CCivilDate date;
    int utcOffsetSeconds = 0;    // the date's clock, east positive
    std::vector<CSunSky> curve;  // evenly from 00:00 to 24:00 on the clock, both ends included
    // Minutes after 00:00 on the clock (below 0 or past 1440 on another date); none for a day
    // without the event.
    std::optional<double> sunrise, sunset, solarNoon;
    // Degrees clockwise from north, for the compass rose; none without the event.
    std::optional<double> sunriseAzimuth, sunsetAzimuth, noonAzimuth;
    std::optional<double> moonriseAzimuth, moonsetAzimuth;
    // "Day length 15:14:28 (+00:00:02 from the day before) · sunset in 03:12:40".
    std::string heading;
};

struct CMoonDetails {
    std::vector<CSunLine> lines;  // rise, set, transit, phase, illumination, next full and new
    double fraction = 0;          // 0 to 1 lit at 12:00 on the clock
    double elongation = 0;        // degrees: under 180 waxing (lit on the right in the north)
};

struct CDayDetails {
    std::string heading;
    std::string note;
    std::vector<CSunLine> lines;
    std::optional<CSunDayChart> chart;  // none without a place
    std::optional<CMoonDetails> moon;
};

// The notes under the results, one line each, empty when there is nothing to say.
struct CWindowNotes {
    // Solar noon far from 12:00: the signs of a typed longitude or offset are likely wrong.
    std::string signs;
    // The place shown keeps another clock on the date than the daylight-saving box gives;
    // the window offers to let the box follow the place's zone.
    std::string clock;
    // Typed coordinates on the clock of the zone of their point: that zone.
    std::string zone;

    friend bool operator==(const CWindowNotes&, const CWindowNotes&) = default;
};

// A place chosen from the lists, as File > Recent Places keeps it: its state's code and its
// city-list entry ("Mission - 78572", Windows-1252 as in the archive), which name the very
// record even where two places share a zip code.
struct CRecentPlace {
    std::string state;
    std::string cityEntry;

    friend bool operator==(const CRecentPlace&, const CRecentPlace&) = default;
};

class IDaybreakWindow {
public:
    virtual ~IDaybreakWindow() = default;
    virtual std::unique_ptr<CDataExchange> BeginExchange(bool saveAndValidate) = 0;
    // A failure's standard message (UTF-8), in a box with an OK button.
    virtual void ReportError(const std::string& message) = 0;
    virtual void EndDialog(int result) = 0;
    virtual void ShowAboutBox() = 0;
    virtual void ShowTimeZoneHelp() = 0;
    // The recent places changed (the newest first): the window shows and keeps them.
    virtual void RecentPlacesChanged(const std::vector<CRecentPlace>& places) { (void)places; }
    // The notes under the results changed.
    virtual void ShowNotes(const CWindowNotes& notes) { (void)notes; }
    // Every event of one day for a place, in a window of its own.
    virtual void ShowDayDetails(const CDayDetails& details) { (void)details; }
    // Find Place: lets the user search the towns of `places` (its Finder()) and its zip codes,
    // and returns the place chosen (a zip code's row is a US town of that one zip code), or
    // nothing when the search was cancelled.
    virtual std::optional<CFoundPlace> ChooseFoundPlace(CPlaceService& places) {
        (void)places;
        return std::nullopt;
    }
};
