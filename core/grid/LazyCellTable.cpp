#include "core/grid/LazyCellTable.h"

#include <algorithm>

namespace rumone {

void LazyCellTable::clearThrough(int row)
{
    std::fill(rowData(ready_), rowData(row + 1), 0u);
    ready_ = row + 1;
}

}  // namespace rumone
