// The purchase book's waits on 32,767 draws and 10,000 tickets (a ticket
// being one purchase at one draw it covers: purchases of 1-20 draws, every
// type and digit pattern, mostly one unit), the last draw not yet entered:
//   - opening the book: the purchases and stored prizes read, every ticket
//     checked against the history the frame holds, and the account with
//     its chance range; beside it the floor of the same run, the draws
//     alone read from the database (what the frame did at its start), and
//     the same open as `rumone-db tickets` does it (the draws read again);
//   - a new draw entered: its own tickets checked (what the frame's status
//     line tells), and the open book made again (every ticket checked
//     again, and the account).
// Targets: the open <= 16 ms, the new draw's check <= 2 ms, the book made
// again <= 16 ms, on the wall clock.
//
// Run:  build/bench/bin/tickets_bench [ROUNDS]     (default 5)
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "BenchData.h"
#include "BenchViews.h"
#include "core/store/DrawDetailsStore.h"
#include "core/tickets/TicketCheck.h"

namespace {

using namespace rumone;
using namespace rumone::bench;

constexpr int kTickets = 10000;

// Seeded purchases of 1-20 draws ending by draw `last`, `kTickets` tickets
// in all.
std::vector<Purchase> bookOf(int last)
{
    std::mt19937 random(7);
    std::vector<Purchase> book;
    for (int tickets = 0; tickets < kTickets;) {
        Purchase p;
        p.draws = std::min(1 + static_cast<int>(random() % kMaxPurchaseDraws), kTickets - tickets);
        p.firstDraw = last - p.draws + 1 - static_cast<int>(random() % 1000);
        p.ticket.type = random() % kTicketTypeCount;
        const unsigned n = random() % kNumbers;
        p.ticket.digits = {int(n / 1000), int(n / 100 % 10), int(n / 10 % 10), int(n % 10)};
        if (!isSold(p.ticket))
            p.ticket.type = kStraightTicket;
        const unsigned u = random() % 10;
        p.units = u < 6 ? 1 : u < 9 ? 2 : 5;
        tickets += p.draws;
        book.push_back(p);
    }
    return book;
}

std::map<int, FourDigits> drawnOf(const DrawHistory& history)
{
    std::map<int, FourDigits> drawn;
    for (const Draw& d : history.completeDraws())
        drawn.emplace_hint(drawn.end(), d.number, d.digits);
    return drawn;
}

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    TempFolder folder;
    const std::string path = folder.path() + "/book.db";
    std::vector<EditRow> rows = sampleDraws(kMaxDrawNumber);
    const Draw newDraw = historyOf(rows).completeDraws().back();
    rows.pop_back();
    makeDatabase(path, rows);
    const DrawDatabaseRef database = drawDatabaseAt(path);
    for (const Purchase& p : bookOf(newDraw.number))
        recordPurchase(database, p);

    std::vector<double> floor, open, openCpu, tool, own, ownCpu, fresh, freshCpu, freshCheck, freshAccount;
    long decided = 0, lines = 0, ownLines = 0;
    TicketAccount account;
    for (int r = 0; r < rounds; ++r) {
        const Clocks read;
        const DrawHistory history = loadDrawHistory(database);
        floor.push_back(read.wallMs());

        const Clocks c;
        const std::vector<Purchase> book = readPurchases(database);
        const StoredDetails details = readStoredDetails(database);
        std::map<int, FourDigits> drawn = drawnOf(history);
        const std::vector<TicketCheck> checks = checkBook(book, drawn, details);
        account = accountOf(checks);
        open.push_back(c.wallMs());
        openCpu.push_back(c.cpuMs());

        const Clocks t;
        accountOf(checkStoredBook(database));
        tool.push_back(t.wallMs());

        drawn[newDraw.number] = newDraw.digits;
        const Clocks o;
        std::vector<Purchase> covering;
        for (const Purchase& p : book)
            if (p.firstDraw <= newDraw.number && newDraw.number < p.firstDraw + p.draws)
                covering.push_back(p);
        std::vector<TicketCheck> ownChecks = checkBook(covering, drawn, details);
        std::erase_if(ownChecks, [&](const TicketCheck& check) { return check.draw != newDraw.number; });
        own.push_back(o.wallMs());
        ownCpu.push_back(o.cpuMs());
        ownLines = static_cast<long>(ownChecks.size());

        const Clocks n;
        const std::vector<TicketCheck> again = checkBook(book, drawn, details);
        freshCheck.push_back(n.wallMs());
        const Clocks a;
        account = accountOf(again);
        freshAccount.push_back(a.wallMs());
        fresh.push_back(n.wallMs());
        freshCpu.push_back(n.cpuMs());
        lines = static_cast<long>(again.size());
        decided = static_cast<long>(account.units);
    }
    std::printf("book of %ld tickets (%ld units decided, %ld at the new draw) over %d draws: chance %.0f %lld %lld\n",
                lines, decided, ownLines, kMaxDrawNumber, account.winExpected, account.winLow, account.winHigh);
    std::printf(
        "open %.2f ms (CPU %.2f), the draws alone %.2f ms, as rumone-db tickets %.2f ms; new draw checked %.3f ms; "
        "book made again %.2f ms (CPU %.2f; every ticket %.2f ms, the account %.2f ms)\n",
        median(open), median(openCpu), median(floor), median(tool), median(own), median(fresh), median(freshCpu),
        median(freshCheck), median(freshAccount));
    printWaitLine("ticket book open, 10000 tickets, 32767 draws", median(open),
                  "reading the draws alone " + ms(median(floor)) + "; as rumone-db tickets " + ms(median(tool)) +
                      "; CPU " + ms(median(openCpu)),
                  "<= 16 ms", median(open) <= 16.0);
    printWaitLine("ticket book, a new draw checked against 10000 tickets", median(own),
                  std::to_string(ownLines) + " tickets at the draw; CPU " + ms(median(ownCpu)) +
                      "; reading the draws alone " + ms(median(floor)),
                  "<= 2 ms", median(own) <= 2.0);
    printWaitLine("ticket book made again after a new draw, 10000 tickets", median(fresh),
                  "every ticket checked " + ms(median(freshCheck)) + ", the account " + ms(median(freshAccount)) +
                      "; CPU " + ms(median(freshCpu)),
                  "<= 16 ms", median(fresh) <= 16.0);
    return 0;
}
