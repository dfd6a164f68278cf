// Sorting of CReportCtrl by a column header click.
//
// The rows of a block are ordered as an array of row numbers first, comparing the cells as they
// stand; only then are the rows rewritten in the new order, each with its texts, images, states
// and record. The comparison (CellCompare.h) is not transitive across its rules, so the order is
// built by the quicksort below, which stays within its range whatever the comparison answers.
#include "CellCompare.h"
#include "ReportCtrl.h"

#include <QHeaderView>

#include <numeric>

void CReportCtrl::OnColumnClick(int column) {
    if (column == m_nSortColumn) {
        SortByColumn(column, !m_bSortAscending);
    } else {
        SortByColumn(column, true);
    }
}

// A changed row leaves the list unsorted: the next click on any heading sorts ascending.
void CReportCtrl::ForgetSort() {
    m_nSortColumn = -1;
    m_bSortAscending = true;
    horizontalHeader()->setSortIndicatorShown(false);
}

bool CReportCtrl::IsSortable() const {
    return !horizontalHeader()->isHidden() && horizontalHeader()->sectionsClickable();
}

void CReportCtrl::SortByColumn(int column, bool ascending) {
    EndCellEdit(true);
    if (column < 0 || column >= columnCount() || !IsSortable()) {
        return;
    }
    m_nSortColumn = column;
    m_bSortAscending = ascending;

    // Separator rows stay put; each run of rows between them sorts by itself.
    int blockEnd = FindSeparatorRow(-1, column);
    int previousSeparator = -1;
    bool lastBlock = false;
    do {
        if (blockEnd < 0) {
            blockEnd = rowCount();
            lastBlock = true;
        }
        SortRowRange(previousSeparator + 1, blockEnd - 1);
        previousSeparator = FindSeparatorRow(blockEnd - 1, column);
        blockEnd = FindSeparatorRow(previousSeparator, column);
    } while (!lastBlock && previousSeparator >= 0);

    // The heading shows which column orders the rows and which way.
    horizontalHeader()->setSortIndicatorShown(true);
    horizontalHeader()->setSortIndicator(column,
                                         ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    emit sorted(m_nSortColumn, m_bSortAscending);
}

int CReportCtrl::FindSeparatorRow(int after, int column) const {
    if (!m_separator) {
        return -1;
    }
    for (int row = std::max(after + 1, 0); row < rowCount(); ++row) {
        if (GetItemText(row, column) == *m_separator) {
            return row;
        }
    }
    return -1;
}

namespace {

// Orders `rows`, indices into `keys`, between low and high inclusive.
void Quicksort(const std::vector<daybreak::CCellKey>& keys, bool ascending, std::vector<int>& rows,
               int low, int high) {
    auto compare = [&keys, ascending](int a, int b) {
        const int sign = daybreak::CompareCellKeys(keys[static_cast<std::size_t>(a)],
                                                   keys[static_cast<std::size_t>(b)]);
        return ascending ? sign : -sign;
    };
    for (;;) {
        const int pivot = rows[static_cast<std::size_t>((low + high) / 2)];
        int i = low;
        int j = high;
        auto at = [&rows](int k) { return rows[static_cast<std::size_t>(k)]; };
        do {
            // Every scan compares against the same pivot row, which lies in the range, so the
            // scans stop inside it; the bounds checks only guard against a comparison that
            // would not call a row equal to itself.
            while (i < high && compare(at(i), pivot) < 0) {
                ++i;
            }
            while (j > low && compare(at(j), pivot) > 0) {
                --j;
            }
            if (j < i) {
                break;
            }
            if (i != j) {
                std::swap(rows[static_cast<std::size_t>(i)], rows[static_cast<std::size_t>(j)]);
            }
            ++i;
            --j;
        } while (i <= j);
        if (low < j) {
            Quicksort(keys, ascending, rows, low, j);
        }
        if (i < high) {
            low = i;
        } else {
            return;
        }
    }
}

}  // namespace

bool CReportCtrl::SortRowRange(int first, int last) {
    if (!(first >= 0 && first < last && last < rowCount())) {
        return false;
    }
    const int count = last - first + 1;
    // Each cell is read once; the sort then orders indices into the keys.
    std::vector<daybreak::CCellKey> keys;
    keys.reserve(static_cast<std::size_t>(count));
    for (int row = first; row <= last; ++row) {
        keys.emplace_back(GetItemText(row, m_nSortColumn));
    }
    std::vector<int> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    Quicksort(keys, m_bSortAscending, order, 0, count - 1);
    std::vector<int> rows;
    rows.reserve(order.size());
    for (int index : order) {
        rows.push_back(first + index);
    }

    const int columns = columnCount();
    std::vector<RowSnapshot> snapshots;
    snapshots.reserve(rows.size());
    for (int row : rows) {
        RowSnapshot snapshot;
        snapshot.record = Record(row);
        snapshot.states = GetRowStates(row);
        for (int column = 0; column < columns; ++column) {
            snapshot.images.push_back(GetItemImage(row, column));
            snapshot.texts.push_back(GetItemText(row, column));
        }
        snapshots.push_back(std::move(snapshot));
    }
    for (int k = 0; k < count; ++k) {
        const int row = first + k;
        RowSnapshot& snapshot = snapshots[static_cast<std::size_t>(k)];
        ApplyRowStates(row, snapshot.states);
        if ((snapshot.states & kRowChecked) && m_nCheckMode == 2) {
            KeepSingleCheck(row);
        }
        SetRecord(row, std::move(snapshot.record));
        for (int column = 0; column < columns; ++column) {
            const auto col = static_cast<std::size_t>(column);
            SetItemImage(row, column, snapshot.images[col]);
            SetItemText(row, column, snapshot.texts[col]);
        }
    }
    return true;
}
