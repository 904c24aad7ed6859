// Row count of the tables that show one complete draw per row.
#pragma once

#include "core/history/DrawHistory.h"

namespace rumone {

// The header rows plus one row for every complete draw. Sizing by the draws
// actually shown (rather than by the last draw number) leaves no empty rows
// when the history starts after draw 1 or has gaps, and never loses draws.
inline int rowsForDraws(const DrawHistory& history, int headerRows)
{
    return headerRows + static_cast<int>(history.completeDraws().size());
}

}  // namespace rumone
