// The account of the purchase book: spent, won and net by month and in
// total, the return beside the 45 % every ticket returns on average, and,
// for exactly the tickets recorded before their draws, what chance alone
// gives them (winning units by type, theoretical yen); the monthly budget
// with the expected loss of the month's tickets. No verdict from fewer
// than kMinBookVerdictDraws draws.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/tickets/BookLines.h"

namespace rumone {

inline constexpr int kMinBookVerdictDraws = 30;

// The decided lines of the draws held in one month.
struct MonthAccount {
    int year = 0;
    int month = 0;
    long long units = 0;
    long long cost = 0;
    long long won = 0;
    long long net = 0;
};

// Months in order; lines without a draw date are left out.
std::vector<MonthAccount> accountByMonth(const std::vector<BookLine>& lines);

// Winning units of one ticket type against chance: expectation and exact
// 95 % range.
struct UnitsAgainstChance {
    long long bought = 0;
    long long won = 0;
    double expected = 0;
    long long low = 0;
    long long high = 0;
};

struct BookAccount {
    TicketAccount total;  // every decided line, its prizes as paid
    bool theoryInWon = false;
    long long wonUnits = 0;
    // The decided lines recorded before their draws: the chance figures.
    TicketAccount evidence;
    long long evidenceTheoryWon = 0;  // their wins at the theoretical prizes
    int evidenceDraws = 0;            // distinct draws among them
    long long afterTheFactLines = 0;
    std::array<UnitsAgainstChance, kTicketTypeCount> unitsByType{};
};

BookAccount bookAccountOf(const std::vector<BookLine>& lines);

// "これまでの購入 412口・82,400円。当せん 3口・112,500円（理論）。回収率 …。
// 偶然だけでも 95% はこの範囲：0～…円。" and what the figures say, or why
// they say nothing yet.
std::string accountSentence(const BookAccount& account);

struct BudgetFigures {
    int year = 0;
    int month = 0;
    long long budget = 0;
    long long spent = 0;  // every ticket of the month's draws, pending ones too
    double expectedLoss = 0;
    long long lossLow = 0;  // the exact 95 % range of the loss
    long long lossHigh = 0;

    bool over() const { return spent > budget; }
};

// The month of `today` against `budget`.
BudgetFigures budgetFiguresOf(const std::vector<BookLine>& lines, long long budget, const CivilDate& today);
std::string budgetSentence(const BudgetFigures& figures);

}  // namespace rumone
