// The closing check of the entry view for draws typed only in part: a row
// with some of its four digits and not all of them. Rows with no digit at
// all are draws not yet held and pass silently.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/store/DrawStore.h"

namespace rumone {

struct PartlyFilledRow {
    std::size_t row = 0;         // index in the rows given
    int firstEmptyPosition = 1;  // 1-4: the digit the user is taken back to
    // "第7056回は第4数字だけが入っています。"
    std::string message;
};

// The first row in the order given that holds one to three digits.
std::optional<PartlyFilledRow> firstPartlyFilledRow(const std::vector<EditRow>& rows);

}  // namespace rumone
