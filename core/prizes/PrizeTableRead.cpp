#include "core/prizes/PrizeTableRead.h"

#include <exception>

#include "core/store/DrawDetailsStore.h"

namespace rumone {

PrizeTableContent readPrizeTable(const DrawDatabaseRef& database, std::span<const Draw> draws,
                                 std::optional<int> fromNumber, std::stop_token stop)
{
    PrizeTableContent content;
    StoredDetails details;
    try {
        details = readStoredDetails(database, fromNumber);
    } catch (const std::exception& e) {  // on a thread of its own, nothing may escape
        content.problem = e.what();
    }
    if (stop.stop_requested())
        return {};
    const std::vector<PrizedDraw> prized = prizedDraws(draws, details);
    if (stop.stop_requested())
        return {};
    content.grid = std::make_shared<ResultGrid>();
    fillPrizeTable(*content.grid, prized);
    content.ratios = straightRatios(prized);
    content.prizedDrawCount = prized.size();
    return content;
}

}  // namespace rumone
