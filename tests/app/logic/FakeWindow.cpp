#include "FakeWindow.h"

#include "PlaceIndex.h"
#include "PlaceService.h"
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

std::optional<CFoundPlace> FakeWindow::ChooseFoundPlace(CPlaceService& places) {
    const CPlaceFinder& finder = places.Finder();
    const CPlaceIndex& index = places.Index();
    for (std::size_t i = 0; i < index.Size(); ++i) {
        if (index[i].record.CityEntry() == foundPlace) {
            return CFoundPlace::OfZip(index, i);
        }
    }
    const std::vector<CFoundPlace> found =
        foundPlace.empty() ? std::vector<CFoundPlace>() : finder.Find(foundPlace, 1);
    return found.empty() ? std::nullopt : std::optional<CFoundPlace>(found.front());
}
