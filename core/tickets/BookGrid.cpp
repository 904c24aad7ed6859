#include "core/tickets/BookGrid.h"

#include <algorithm>
#include <cmath>

#include "core/calendar/CivilDays.h"
#include "core/calendar/HistoryDates.h"
#include "core/grid/GridColours.h"
#include "core/grid/GridSteps.h"
#include "core/text/TextParts.h"

namespace rumone {

namespace {

constexpr int kVisibleRows = 14;

void writeHeader(ResultGrid& grid, const std::vector<std::pair<const char*, int>>& columns)
{
    for (std::size_t c = 0; c < columns.size(); ++c) {
        grid.setText(static_cast<int>(c) + 1, 1, columns[c].first);
        grid.setColumnWidth(static_cast<int>(c) + 1, columns[c].second);
    }
    grid.setAlignment(Block::rows(1, kBookHeaderRows), HAlign::Centre, VAlign::Centre);
    grid.setTextColour(Block::rows(1, kBookHeaderRows), kBlue);
    grid.setBackColour(Block::rows(1, kBookHeaderRows), kPink);
}

void layOut(ResultGrid& grid, int columns, int dataRows)
{
    const int rows = dataRows + kBookHeaderRows;
    layOutGrid(grid, columns, rows, columns, std::min(rows, kVisibleRows), ScrollBars::Both, 1, kBookHeaderRows, false);
    grid.setRowHeight(-1, ResultGrid::kDefaultRowHeight);
    grid.setAlignment(Block::allCells(), HAlign::Right, VAlign::Centre);
    grid.setBorder(Block::allCells(), BorderSides::All, OptColour{});
}

std::string resultText(const BookLine& l)
{
    switch (l.check.result) {
        case TicketResult::Pending:
            return "抽せん前";
        case TicketResult::None:
            return "はずれ";
        default:
            break;
    }
    return kPrizeKindNames[static_cast<std::size_t>(prizeKindOf(l.check.result))];
}

std::string deadlineText(const BookLine& l, const CivilDate& today)
{
    if (!l.won())
        return {};
    if (!l.deadline)
        return "不明";
    std::string s = isoDateText(*l.deadline);
    if (l.drawDate && l.drawDate->fromRule)
        s += "（推定）";
    if (!l.claimed && *l.deadline < today)
        s += " 期限切れ";
    return s;
}

}  // namespace

void fillBookGrid(ResultGrid& grid, const std::vector<BookLine>& lines, const CivilDate& today)
{
    const std::vector<std::pair<const char*, int>> columns = {
        {"回数", 7},  {"抽せん日", 13}, {"数字", 6}, {"種類", 9},  {"口数", 6},     {"購入額", 9},
        {"結果", 17}, {"当せん金", 11}, {"配当", 6}, {"記録", 10}, {"受取済み", 8}, {"支払期限", 20},
    };
    layOut(grid, static_cast<int>(columns.size()), static_cast<int>(lines.size()));
    writeHeader(grid, columns);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const BookLine& l = lines[i];
        const TicketCheck& c = l.check;
        const int row = static_cast<int>(i) + kBookHeaderRows + 1;
        grid.setText(1, row, static_cast<long>(c.draw));
        grid.setText(2, row, l.drawDate ? drawDateCellText(*l.drawDate) : std::string());
        grid.setText(3, row, numberText(c.purchase.ticket.digits));
        grid.setText(4, row, kTicketTypes[c.purchase.ticket.type].name);
        grid.setText(5, row, static_cast<long>(c.purchase.units));
        grid.setText(6, row, groupedDigits(static_cast<long long>(c.purchase.units) * kTicketPrice));
        grid.setText(7, row, resultText(l));
        if (l.won()) {
            grid.setText(8, row, groupedDigits(c.prize));
            grid.setText(9, row, c.source == PrizeSource::Theory ? "理論" : "実際");
            grid.setText(kBookClaimedColumn, row, l.claimed ? "済" : "未");
            grid.setTextColour(Block::rows(row, row), kRed);
        }
        grid.setText(10, row, !c.decided() ? "" : l.afterTheFact ? "事後記録" : "抽せん前に記録");
        grid.setText(12, row, deadlineText(l, today));
    }
}

void fillMonthGrid(ResultGrid& grid, const std::vector<MonthAccount>& months, const TicketAccount& total)
{
    const std::vector<std::pair<const char*, int>> columns = {
        {"月", 9}, {"口数", 7}, {"購入額", 11}, {"当せん金", 12}, {"収支", 12}, {"回収率（平均45%）", 16},
    };
    layOut(grid, static_cast<int>(columns.size()), static_cast<int>(months.size()) + 1);
    writeHeader(grid, columns);
    const auto write = [&](int row, const std::string& label, long long units, long long cost, long long won,
                           long long net) {
        grid.setText(1, row, label);
        grid.setText(2, row, groupedDigits(units));
        grid.setText(3, row, groupedDigits(cost));
        grid.setText(4, row, groupedDigits(won));
        grid.setText(5, row, groupedDigits(net));
        if (cost > 0)
            grid.setText(6, row, std::to_string(std::llround(100.0 * double(won) / double(cost))) + "%");
    };
    int row = kBookHeaderRows + 1;
    for (const MonthAccount& m : months)
        write(row++, std::to_string(m.year) + "-" + (m.month < 10 ? "0" : "") + std::to_string(m.month), m.units,
              m.cost, m.won, m.net);
    write(row, "合計", total.units, total.cost, total.won, total.net);
}

}  // namespace rumone
