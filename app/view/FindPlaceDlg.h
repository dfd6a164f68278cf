// The "Find Place" window: a search field over every state's places and the world's towns, and
// the matches as the user types: a zip code's first digits give its zip codes; the start of a
// name (in any case, with or without accents and punctuation, "City, ST" or "City, Country")
// gives towns, the zip codes of one US town in one state as one row, the most people first.
// Enter, a double click or OK chooses the selected match.
//
// The towns come from the service's finder (the names file); the zip codes of every archive
// are read on the first search by digits, and a state's archive for the county of a row of one
// zip code.
//
//     CFindPlaceDlg find(places, parent);
//     if (find.exec() == QDialog::Accepted) { const CFoundPlace place = *find.Chosen(); }
#pragma once

#include <QDialog>

#include <cstddef>
#include <optional>
#include <vector>

#include "PlaceFinder.h"

class CPlaceService;
class QLabel;
class QLineEdit;
class QListWidget;

class CFindPlaceDlg : public QDialog {
    Q_OBJECT

public:
    explicit CFindPlaceDlg(CPlaceService& places, QWidget* parent = nullptr);

    // The place chosen; nothing before a choice.
    const std::optional<CFoundPlace>& Chosen() const { return m_chosen; }
    QLineEdit* SearchField() const { return m_search; }
    QListWidget* Matches() const { return m_matches; }

public slots:
    void accept() override;

private:
    void ShowMatches(const QString& typed);

    CPlaceService& m_places;
    const CPlaceFinder& m_finder;
    std::vector<CFoundPlace> m_found;  // the rows shown
    QLineEdit* m_search;
    QListWidget* m_matches;
    QLabel* m_count;
    std::optional<CFoundPlace> m_chosen;
};
