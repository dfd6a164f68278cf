// A window made of plain containers for the main dialog's logic: what a user would see in each
// control, and a record of what the dialog asked of the window.
#pragma once

#include <strings.h>
#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "DialogControls.h"

struct FakeComboBox : IComboBox {
    std::vector<std::string> items;
    int selection = -1;

    void ResetContent() override {
        items.clear();
        selection = -1;
    }
    // Sorted as the window's combo boxes sort: case-insensitively, equal texts in arrival order.
    void AddString(const std::string& text) override {
        const auto at = std::upper_bound(items.begin(), items.end(), text,
                                         [](const std::string& a, const std::string& b) {
                                             return strcasecmp(a.c_str(), b.c_str()) < 0;
                                         });
        const int index = static_cast<int>(at - items.begin());
        items.insert(at, text);
        if (selection >= index) {
            ++selection;
        }
    }
    int GetCurSel() const override { return selection; }
    void SetCurSel(int index) override { selection = index; }
    std::string GetLBText(int index) const override {
        return items.at(static_cast<std::size_t>(index));
    }
    int GetCount() const override { return static_cast<int>(items.size()); }

    // The user picks the item with this text; false when there is none.
    bool Choose(const std::string& text) {
        const auto at = std::find(items.begin(), items.end(), text);
        if (at == items.end()) {
            return false;
        }
        selection = static_cast<int>(at - items.begin());
        return true;
    }
};

struct FakeCheckBox : IButtonWindow {
    int check = 0;
    bool enabled = true;
    void SetCheck(int value) override { check = value; }
    void EnableWindow(bool enable) override { enabled = enable; }
};

struct FakeColorText : IColorText {
    std::optional<std::uint32_t> color;
    void SetTextColorAndRedraw(std::uint32_t rgb) override { color = rgb; }
};

class FakeWindow : public IDaybreakWindow {
public:
    // Number fields: nullopt is a text that is not a number.
    std::map<int, std::optional<double>> numbers;
    std::map<int, std::string> texts;
    CTime date;
    FakeComboBox stateCombo, zipCombo, cityCombo;
    FakeCheckBox dst;
    FakeColorText helpLink;

    std::vector<std::string> errors;  // ReportError messages
    int numberMessages = 0;           // "Please enter a number." boxes
    std::optional<int> focus;         // the field the exchange put the focus on
    std::optional<int> endResult;
    int aboutBoxes = 0;
    int helpDialogs = 0;

    std::unique_ptr<CDataExchange> BeginExchange(bool saveAndValidate) override;
    void ReportError(const std::string& message) override { errors.push_back(message); }
    void EndDialog(int result) override { endResult = result; }
    void ShowAboutBox() override { ++aboutBoxes; }
    void ShowTimeZoneHelp() override {
        if (helpRunsOutOfMemory) {
            throw std::bad_alloc();
        }
        ++helpDialogs;
    }
    bool helpRunsOutOfMemory = false;
    void ShowDayDetails(const CDayDetails& details) override { dayDetails = details; }
    void RecentPlacesChanged(const std::vector<CRecentPlace>& places) override {
        recentPlaces = places;
    }
    std::vector<CRecentPlace> recentPlaces;
    // Find Place answers with the first place whose city entry is this, else the best place
    // the finder gives for it, or cancels.
    std::string foundPlace;
    std::optional<CFoundPlace> ChooseFoundPlace(CPlaceService& places) override;
    CDayDetails dayDetails;
};

class FakeExchange : public CDataExchange {
public:
    FakeExchange(FakeWindow& window, bool save) : CDataExchange(save), m_window(window) {}

    void Text(int id, double& value) override { Number(id, value); }
    void Text(int id, float& value) override { Number(id, value); }
    void Text(int id, std::string& value) override {
        if (m_bSaveAndValidate) {
            value = m_window.texts[id];
        } else {
            m_window.texts[id] = value;
        }
    }
    void Check(int, int& value) override {
        if (m_bSaveAndValidate) {
            value = m_window.dst.check;
        } else {
            m_window.dst.check = value;
        }
    }
    void DateTime(int, CTime& value) override {
        if (m_bSaveAndValidate) {
            value = m_window.date;
        } else {
            m_window.date = value;
        }
    }
    IComboBox* ComboBox(int id) override;
    IButtonWindow* ButtonWindow(int) override { return &m_window.dst; }
    IColorText* ColorText(int) override { return &m_window.helpLink; }

private:
    template <typename T>
    void Number(int id, T& value) {
        if (!m_bSaveAndValidate) {
            m_window.numbers[id] = static_cast<double>(value);
            return;
        }
        const auto shown = m_window.numbers[id];
        if (!shown) {
            ++m_window.numberMessages;
            m_window.focus = id;
            Fail();
        }
        value = static_cast<T>(*shown);
    }

    FakeWindow& m_window;
};
