// The purchase book by keyboard: Ctrl+B opens it, a number typed shows its
// facts, a box of four equal digits is refused, a ticket is recorded, and
// when its draw comes in the frame's status line says what it won; the
// received tick goes to the won line of the chosen row and comes off again.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTest>

#include "core/tickets/BookGrid.h"
#include "core/tickets/TicketBook.h"
#include "gui/MainWindow.h"
#include "gui/entry/EntryTestHelpers.h"
#include "gui/grid/GridWidget.h"
#include "gui/tickets/TicketBookView.h"

namespace rumone::test {
namespace {

TEST(TicketBookView, KeyboardRecordsATicketAndTheStatusLineSaysWhatItsDrawWon)
{
    TempDir dir;
    InFolder inDir(dir.path());
    std::vector<Row> rows;
    for (int n = 1; n <= 40; ++n)
        rows.push_back({n, {n % 10, (n * 3) % 10, (n * 7) % 10, (n * 9) % 10}});
    const std::string db = makeDatabase(dir.path(), rows);
    MainWindow frame;
    ASSERT_TRUE(frame.load(QString::fromStdString(dir.path())));
    frame.show();
    QApplication::setActiveWindow(&frame);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    QTest::keyClick(&frame, Qt::Key_B, Qt::ControlModifier);
    auto* book = qobject_cast<TicketBookView*>(frame.findView(QStringLiteral("購入記録")));
    ASSERT_NE(book, nullptr);
    ASSERT_EQ(QApplication::focusWidget(), book->numberEdit());

    const auto typeNumber = [&](const char* digits) {
        QTest::keyClick(book, Qt::Key_N, Qt::AltModifier);
        book->numberEdit()->selectAll();
        QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(digits));
    };
    typeNumber("5555");
    QTest::keyClick(book, Qt::Key_T, Qt::AltModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);  // ボックス
    EXPECT_TRUE(book->factsLabel()->text().contains(QStringLiteral("ボックスは販売されません")));
    QTest::keyClick(book, Qt::Key_R, Qt::AltModifier);  // the button's click comes a moment later
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return frame.statusBar()->currentMessage().contains(QStringLiteral("販売されません")); }, 2000));
    EXPECT_TRUE(book->lines().empty());

    typeNumber("4321");
    EXPECT_TRUE(book->factsLabel()->text().contains(QStringLiteral("24/10,000")));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_EQ(book->lines().size(), 1u);
    EXPECT_EQ(book->lines()[0].check.draw, 41);
    EXPECT_FALSE(book->lines()[0].check.decided());

    openDrawEditSet(drawDatabaseAt(db)).importDraws(editRowsOf({{41, {1, 2, 3, 4}}}));
    frame.drawsWritten();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !frame.reloadPending(); }, 10000));
    EXPECT_TRUE(frame.statusBar()->currentMessage().startsWith(
        QStringLiteral("第41回：1口のうちボックス1口が当せん（37,500円・理論配当）")))
        << frame.statusBar()->currentMessage().toStdString();
    ASSERT_EQ(book->lines().size(), 1u);
    EXPECT_TRUE(book->lines()[0].won() && book->lines()[0].deadline);
}

TEST(TicketBookView, ReceivedTickGoesToTheChosenWonRowAndComesOff)
{
    TempDir dir;
    InFolder inDir(dir.path());
    const std::string db = makeDatabase(dir.path(), {{1, {1, 2, 3, 4}}, {2, {5, 6, 7, 8}}});
    Purchase p;
    p.firstDraw = 1;
    p.draws = 2;
    p.ticket = Ticket{kBoxTicket, {4, 3, 2, 1}};
    recordPurchase(drawDatabaseAt(db), p);
    MainWindow frame;
    ASSERT_TRUE(frame.load(QString::fromStdString(dir.path())));
    frame.show();
    QApplication::setActiveWindow(&frame);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    QTest::keyClick(&frame, Qt::Key_B, Qt::ControlModifier);
    auto* book = qobject_cast<TicketBookView*>(frame.findView(QStringLiteral("購入記録")));
    ASSERT_NE(book, nullptr);
    ASSERT_EQ(book->lines().size(), 2u);  // draw 1 won, draw 2 not
    ASSERT_TRUE(book->lines()[0].won() && !book->lines()[1].won());

    const int wonRow = kBookHeaderRows + 1;
    book->bookGrid()->setCurrentCell(1, wonRow + 1);
    book->toggleReceived();
    EXPECT_TRUE(readClaimedPrizes(drawDatabaseAt(db)).empty());
    book->bookGrid()->setCurrentCell(1, wonRow);
    book->toggleReceived();
    EXPECT_TRUE(book->lines()[0].claimed);
    EXPECT_EQ(readClaimedPrizes(drawDatabaseAt(db)).size(), 1u);
    EXPECT_EQ(book->bookGrid()->currentRow(), wonRow);
    book->toggleReceived();
    EXPECT_FALSE(book->lines()[0].claimed);
    EXPECT_TRUE(readClaimedPrizes(drawDatabaseAt(db)).empty());
}

}  // namespace
}  // namespace rumone::test
