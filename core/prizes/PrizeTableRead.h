// The 当せん金 table made from the database in one go: the stored details
// read, the prized draws listed and filled into a fresh grid, with the
// straight's ratios for the picture. No window is involved, so the view
// makes its latest rows at once and the whole table on a thread of its own.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <stop_token>
#include <string>
#include <vector>

#include "core/grid/ResultGrid.h"
#include "core/history/DrawHistory.h"
#include "core/prizes/PrizeTable.h"
#include "core/store/DrawStore.h"

namespace rumone {

struct PrizeTableContent {
    std::shared_ptr<ResultGrid> grid;  // never null once made
    std::vector<RatioPoint> ratios;
    std::size_t prizedDrawCount = 0;
    // Why the details could not be read (empty when they were): the table
    // then lists no draw, as with none stored.
    std::string problem;
};

// `draws` (complete draws in draw order) with their stored details; with
// `fromNumber` only the details of the draws numbered from it on are read.
// Once `stop` is requested it ends early with an empty content (no grid).
PrizeTableContent readPrizeTable(const DrawDatabaseRef& database, std::span<const Draw> draws,
                                 std::optional<int> fromNumber, std::stop_token stop = {});

}  // namespace rumone
