#include "DialogControls.h"

#include <utility>

void CComboBox::ResetContent() {
    if (m_control != nullptr) {
        m_control->ResetContent();
    }
}

void CComboBox::AddString(const std::string& text) {
    if (m_control != nullptr) {
        m_control->AddString(text);
    }
}

void CComboBox::AddStrings(std::vector<std::string> texts) {
    if (m_control != nullptr && !texts.empty()) {
        m_control->AddStrings(std::move(texts));
    }
}

int CComboBox::GetCurSel() const {
    return m_control != nullptr ? m_control->GetCurSel() : -1;
}

std::string CComboBox::GetSelectedText() const {
    const int index = GetCurSel();
    if (index < 0 || index >= GetCount()) {
        return {};
    }
    return m_control->GetLBText(index);
}

void CComboBox::SetCurSel(int index) {
    if (m_control != nullptr) {
        m_control->SetCurSel(index);
    }
}

std::string CComboBox::GetText(int index) const {
    return index >= 0 && index < GetCount() ? m_control->GetLBText(index) : std::string();
}

bool CComboBox::SelectString(const std::string& text) {
    for (int i = 0; i < GetCount(); ++i) {
        if (GetText(i) == text) {
            SetCurSel(i);
            return true;
        }
    }
    return false;
}

int CComboBox::GetCount() const {
    return m_control != nullptr ? m_control->GetCount() : 0;
}

void CButton::SetCheck(int check) {
    if (m_control != nullptr) {
        m_control->SetCheck(check);
    }
}

void CButton::EnableWindow(bool enable) {
    if (m_control != nullptr) {
        m_control->EnableWindow(enable);
    }
}

void CColorText::SetTextColorAndRedraw(std::uint32_t rgb) {
    if (m_control != nullptr) {
        m_control->SetTextColorAndRedraw(rgb);
    }
}
