#include "FindPlaceDlg.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include "Cp1252.h"
#include "PlaceIndex.h"

namespace {

// Enough to pick from while typing; the count says when there are more.
constexpr std::size_t kShownMatches = 200;

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

CFindPlaceDlg::CFindPlaceDlg(const CPlaceIndex& places, QWidget* parent)
    : QDialog(parent),
      m_places(places),
      m_search(new QLineEdit(this)),
      m_matches(new QListWidget(this)),
      m_count(new QLabel(this)) {
    setWindowTitle(QStringLiteral("Find Place"));
    m_search->setPlaceholderText(QStringLiteral("Zip code or city name"));
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
    std::size_t total = 0;
    const std::vector<std::size_t> found =
        typed.trimmed().isEmpty()
            ? std::vector<std::size_t>()
            : m_places.Search(daybreak::ToCp1252(typed.trimmed()), kShownMatches, &total);
    for (const std::size_t i : found) {
        const CIndexedPlace& place = m_places[i];
        auto* item = new QListWidgetItem(
            daybreak::FromCp1252(place.record.m_strCity + ", " + place.state + " " +
                                 place.record.m_strZipCode + " (" + place.record.m_strCounty + ")"),
            m_matches);
        item->setData(Qt::UserRole, QVariant::fromValue<qulonglong>(i));
    }
    if (m_matches->count() > 0) {
        m_matches->setCurrentRow(0);
    }
    m_count->setText(total > found.size()
                         ? QStringLiteral("%1 of %2 places").arg(found.size()).arg(total)
                         : QStringLiteral("%1 places").arg(total));
}

void CFindPlaceDlg::accept() {
    const QListWidgetItem* item = m_matches->currentItem();
    if (item == nullptr) {
        return;  // nothing to choose: the search stays open
    }
    m_chosen = static_cast<std::size_t>(item->data(Qt::UserRole).toULongLong());
    QDialog::accept();
}
