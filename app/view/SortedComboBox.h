// An editable combo box that keeps its items sorted as they are added, case-insensitively,
// and stands for one of the main dialog's combo boxes (IComboBox).
//
// Items are the program's Windows-1252 strings: each item shows their Unicode form and keeps
// the bytes themselves, so GetLBText gives back exactly what AddString received. Typing in
// the field completes from the list; typed text never becomes an item. Filling the list
// selects nothing, and nothing the program does to the list emits activated(): only the
// user's choices reach the dialog.
//
// A state's lists hold a few thousand entries, so the items live in a plain list model (no
// per-item objects) whose order is a CSortedEntryIndex: texts are compared by keys folded once,
// and putting an item in place moves little. AddStrings fills a list whole: every entry is put
// in place without telling the views, which then hear of the new list once (one model reset),
// not of each row; the selection and the typed text stay as they were.
#pragma once

#include <QAbstractListModel>
#include <QComboBox>

#include <string>
#include <vector>

#include "DialogControls.h"

class CSortedComboBox : public QComboBox, public IComboBox {
    Q_OBJECT

public:
    explicit CSortedComboBox(QWidget* parent = nullptr);

    void ResetContent() override;
    void AddString(const std::string& text) override;
    void AddStrings(std::vector<std::string> texts) override;
    int GetCurSel() const override;
    void SetCurSel(int index) override;
    std::string GetLBText(int index) const override;
    int GetCount() const override;

private:
    class EntryModel;
    EntryModel* m_model;
};
