#include "core/history/LatestDraws.h"

#include <algorithm>

namespace rumone {

bool LatestDraws::ascending() const
{
    const std::vector<StoredRow>& rows = tail_.storedRows();
    return std::adjacent_find(rows.begin(), rows.end(), [](const StoredRow& a, const StoredRow& b) {
               return a.number >= b.number;
           }) == rows.end();
}

}  // namespace rumone
