#include "core/backtest/YearOfTickets.h"

#include <cmath>

#include "core/stats/UnitSums.h"

namespace rumone {

void PrizeMix::add(const std::vector<PrizeOutcome>& prizes, long tickets)
{
    for (const auto& [yen, numbers] : prizes)
        numbersByYen_[yen] += numbers;
    tickets_ += tickets;
    ++targets_;
}

YearFigures PrizeMix::yearOf(int draws, long unit) const
{
    YearFigures y;
    if (targets_ == 0 || tickets_ == 0)
        return y;
    std::vector<UnitOutcome> perDraw;
    for (const auto& [yen, numbers] : numbersByYen_)
        perDraw.push_back({static_cast<int>(yen / unit), double(numbers) / (double(kNumbers) * double(targets_))});
    UnitSums year;
    for (int d = 0; d < draws; ++d)
        year.add(perDraw);
    y.spend = std::llround(double(tickets_) * kTicketPrice * draws / double(targets_));
    y.medianNet = year.quantile(0.5) * unit - y.spend;
    y.lowNet = year.quantile(0.05) * unit - y.spend;
    y.highNet = year.quantile(0.95) * unit - y.spend;
    y.ahead = year.atLeast((y.spend + unit - 1) / unit);
    return y;
}

}  // namespace rumone
