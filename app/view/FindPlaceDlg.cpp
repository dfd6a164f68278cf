#include "FindPlaceDlg.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "Cp1252.h"
#include "PlaceIndex.h"
#include "PlaceService.h"

namespace {

// Enough to pick from while typing; the count says when there are more.
constexpr std::size_t kShownMatches = 50;

// Up and Down in the search field move through the matches, so the hands stay on the keys.
class CArrowsToList : public QObject {
public:
    CArrowsToList(QLineEdit* field, QListWidget* list) : QObject(field), m_list(list) {
        field->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) {
            return false;
        }
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Up && key != Qt::Key_Down) {
            return false;
        }
        const int row = m_list->currentRow() + (key == Qt::Key_Down ? 1 : -1);
        if (row >= 0 && row < m_list->count()) {
            m_list->setCurrentRow(row);
        }
        return true;
    }

private:
    QListWidget* m_list;
};

}  // namespace

CFindPlaceDlg::CFindPlaceDlg(CPlaceService& places, QWidget* parent)
    : QDialog(parent),
      m_places(places),
      m_finder(places.Finder()),
      m_search(new QLineEdit(this)),
      m_matches(new QListWidget(this)),
      m_count(new QLabel(this)) {
    setWindowTitle(QStringLiteral("Find Place"));
    m_search->setPlaceholderText(QStringLiteral("Zip code, or town (\"Paris, France\")"));
    m_search->setClearButtonEnabled(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_search);
    layout->addWidget(m_matches);
    layout->addWidget(m_count);
    layout->addWidget(buttons);
    resize(420, 360);
    new CArrowsToList(m_search, m_matches);

    connect(m_search, &QLineEdit::textChanged, this, &CFindPlaceDlg::ShowMatches);
    connect(m_matches, &QListWidget::itemActivated, this, [this] { accept(); });
    connect(buttons, &QDialogButtonBox::accepted, this, &CFindPlaceDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CFindPlaceDlg::reject);
    ShowMatches({});
}

void CFindPlaceDlg::ShowMatches(const QString& typed) {
    m_matches->clear();
    m_found.clear();
    std::size_t total = 0;
    const QString text = typed.trimmed();
    const bool digits = !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
    if (digits) {
        const CPlaceIndex& index = m_places.Index();
        for (const std::size_t i : index.Search(text.toStdString(), kShownMatches, &total)) {
            m_found.push_back(CFoundPlace::OfZip(index, i));
        }
    } else if (!text.isEmpty()) {
        m_found = m_finder.Find(text.toStdString(), kShownMatches, false, &total);
    }
    for (std::size_t row = 0; row < m_found.size(); ++row) {
        const CFoundPlace& place = m_found[row];
        QString label = QString::fromStdString(place.Label());
        if (place.zips.size() == 1) {
            label += QStringLiteral(" (%1)").arg(daybreak::FromCp1252(
                m_places.RecordAt(place.zips.front(), place.state).m_strCounty));
        }
        auto* item = new QListWidgetItem(label, m_matches);
        item->setData(Qt::UserRole, QVariant::fromValue<qulonglong>(row));
    }
    if (m_matches->count() > 0) {
        m_matches->setCurrentRow(0);
    }
    m_count->setText(total > m_found.size()
                         ? QStringLiteral("%1 of %2 places").arg(m_found.size()).arg(total)
                     : total == 0 && !text.isEmpty() && !digits
                         ? QStringLiteral("No place; places outside the US are towns of at least "
                                          "1,000 people")
                         : QStringLiteral("%1 places").arg(total));
}

void CFindPlaceDlg::accept() {
    const QListWidgetItem* item = m_matches->currentItem();
    if (item == nullptr) {
        return;  // nothing to choose: the search stays open
    }
    const auto row = static_cast<std::size_t>(item->data(Qt::UserRole).toULongLong());
    if (row >= m_found.size()) {
        return;
    }
    m_chosen = m_found[row];
    QDialog::accept();
}
