#include "FakeWindow.h"

#include "PlaceIndex.h"
#include "Resource.h"

std::unique_ptr<CDataExchange> FakeWindow::BeginExchange(bool saveAndValidate) {
    return std::make_unique<FakeExchange>(*this, saveAndValidate);
}

IComboBox* FakeExchange::ComboBox(int id) {
    switch (id) {
        case IDC_STATE_COMBO:
            return &m_window.stateCombo;
        case IDC_ZIP_COMBO:
            return &m_window.zipCombo;
        case IDC_CITY_COMBO:
            return &m_window.cityCombo;
        default:
            return nullptr;
    }
}

std::optional<std::size_t> FakeWindow::ChooseFoundPlace(const CPlaceIndex& places) {
    for (std::size_t i = 0; i < places.Size(); ++i) {
        if (places[i].record.CityEntry() == foundPlace) {
            return i;
        }
    }
    return std::nullopt;
}
