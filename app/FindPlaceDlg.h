// The "Find Place" window: a search field over every state's places and the matches as the
// user types (a zip code's first digits, or the start of a city name in any case, with or
// without accents and punctuation). Enter, a double click or OK chooses the selected match.
//
//     CFindPlaceDlg find(index, parent);
//     if (find.exec() == QDialog::Accepted) { const std::size_t place = *find.Chosen(); }
#pragma once

#include <QDialog>

#include <cstddef>
#include <optional>

class CPlaceIndex;
class QLabel;
class QLineEdit;
class QListWidget;

class CFindPlaceDlg : public QDialog {
    Q_OBJECT

public:
    CFindPlaceDlg(const CPlaceIndex& places, QWidget* parent = nullptr);

    // The position in the index of the place chosen; nothing before a choice.
    std::optional<std::size_t> Chosen() const { return m_chosen; }
    QLineEdit* SearchField() const { return m_search; }
    QListWidget* Matches() const { return m_matches; }

public slots:
    void accept() override;

private:
    void ShowMatches(const QString& typed);

    const CPlaceIndex& m_places;
    QLineEdit* m_search;
    QListWidget* m_matches;
    QLabel* m_count;
    std::optional<std::size_t> m_chosen;
};
