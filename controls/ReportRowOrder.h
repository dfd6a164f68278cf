// CReportRowOrder orders the rows of a report list block by their cells' keys (CellCompare.h),
// ascending or descending, with a procedure that tolerates a comparison that is not transitive.
#pragma once

#include <vector>

#include "CellCompare.h"

class CReportRowOrder {
public:
    // Indices into `keys`, in the order the rows take.
    static std::vector<int> Of(const std::vector<daybreak::CCellKey>& keys, bool ascending);
};
