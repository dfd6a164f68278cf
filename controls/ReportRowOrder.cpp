// The order of a block of rows, worked out as an array of indices before any row moves. The
// comparison (CellCompare.h) is not transitive across its rules, so the order is built by the
// quicksort below, which stays within its range whatever the comparison answers.
#include "ReportRowOrder.h"

#include <numeric>

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

std::vector<int> CReportRowOrder::Of(const std::vector<daybreak::CCellKey>& keys, bool ascending) {
    std::vector<int> order(keys.size());
    std::iota(order.begin(), order.end(), 0);
    if (order.size() > 1) {
        Quicksort(keys, ascending, order, 0, static_cast<int>(order.size()) - 1);
    }
    return order;
}
