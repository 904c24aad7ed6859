// The window 自分の条件 in the frame: the menu opens it, a walk counts in
// the tried list (the same rule once), and a saved rule's next draw is
// recorded with the fingerprint the window shows; opened read-only, it
// writes nothing.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "core/rules/RuleRecords.h"
#include "core/rules/TriedRules.h"
#include "core/store/DatabaseLock.h"
#include "core/tickets/TicketBook.h"
#include "gui/MainWindow.h"
#include "gui/entry/EntryTestHelpers.h"
#include "gui/rules/RuleView.h"
#include "gui/tickets/PurchaseConfirmDialog.h"

namespace rumone::test {
namespace {

// Sixty draws in a database of their own, the frame on it and 自分の条件
// opened from its menu.
class RuleViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::vector<Row> rows;
        for (int n = 1; n <= 60; ++n)
            rows.push_back({n, {n % 10, (n * 3) % 10, (n * 7) % 10, (n * 9) % 10}});
        path = makeDatabase(dir.path(), rows);
        ASSERT_TRUE(frame.load(QString::fromStdString(dir.path())));
        frame.findChild<QAction*>("mnuJibun")->trigger();
        view = qobject_cast<RuleView*>(frame.findView(RuleView::windowName()));
        ASSERT_NE(view, nullptr);
    }

    TempDir dir;
    InFolder inDir{dir.path()};
    std::string path;
    MainWindow frame;
    RuleView* view = nullptr;
};

TEST_F(RuleViewTest, WalksCountOnceAndASavedRuleIsRecordedBeforeTheDraw)
{
    EXPECT_TRUE(view->nextDrawLabel()->text().contains(QStringLiteral("第61回: 10,000枚")));

    view->setRule(*parseRule("sum=10-20 recent=2 type=box").rule);
    view->walkButton()->click();
    view->walkButton()->click();
    view->setRule(*parseRule("pos1=0-4").rule);
    view->walkButton()->click();
    EXPECT_EQ(readTriedRules(drawDatabaseAt(path)).rules.size(), 3u);
    EXPECT_TRUE(view->triedLabel()->text().startsWith(QStringLiteral("これまでに試した条件は2通り。")))
        << view->triedLabel()->text().toStdString();

    view->saveRuleNow();
    const RuleRecordsRead read = readRuleRecords(drawDatabaseAt(path));
    ASSERT_EQ(read.records.size(), 1u);
    EXPECT_EQ(read.records[0].target, 61);
    EXPECT_EQ(read.records[0].tickets.size(), 5000u);
    EXPECT_TRUE(view->savedLabel()->text().contains(QString::fromStdString(read.records[0].fingerprint())));
}

TEST_F(RuleViewTest, TheRulesAndASavedRulesNextDrawTicketsGoToTheBookOnceConfirmed)
{
    view->setRule(*parseRule("pos1=7 pos2=7 pos3=7 pos4=7").rule);
    view->saveRuleNow();
    view->setRule(*parseRule("pos1=1 pos2=2 pos3=3 pos4=0-1").rule);

    // The saved rule is offered unchecked; the player checks it too.
    int offered = 0;
    QTimer::singleShot(0, &frame, [&] {
        auto* dialog = frame.findChild<PurchaseConfirmDialog*>();
        ASSERT_NE(dialog, nullptr);
        offered = dialog->list()->count();
        EXPECT_EQ(dialog->list()->item(0)->checkState(), Qt::Checked);
        EXPECT_EQ(dialog->list()->item(1)->checkState(), Qt::Unchecked);
        dialog->list()->item(1)->setCheckState(Qt::Checked);
        dialog->accept();
    });
    view->buyButton()->click();
    EXPECT_EQ(offered, 2);
    const std::vector<Purchase> book = readPurchases(drawDatabaseAt(path));
    ASSERT_EQ(book.size(), 3u);
    std::vector<std::string> numbers;
    for (const Purchase& p : book) {
        EXPECT_EQ(p.firstDraw, 61);
        numbers.push_back(numberText(p.ticket.digits));
    }
    EXPECT_EQ(numbers, (std::vector<std::string>{"1230", "1231", "7777"}));
}

// A frame opened read-only beside another copy writes nothing from the
// window: a saved rule's next draw is not recorded, and neither a save nor
// a walk reaches the file.
TEST(RuleViewReadOnly, WritesNothingToADatabaseAnotherCopyHolds)
{
    TempDir dir;
    InFolder inDir(dir.path());
    std::vector<Row> rows;
    for (int n = 1; n <= 40; ++n)
        rows.push_back({n, {n % 10, (n * 3) % 10, (n * 7) % 10, (n * 9) % 10}});
    const std::string path = makeDatabase(dir.path(), rows);
    const DrawDatabaseRef db = drawDatabaseAt(path);
    saveRule(db, *parseRule("pos1=0-4").rule, loadDrawHistory(db));
    // Draw 41 entered after the record (a second apart at least).
    rawExec(path,
            "INSERT INTO 結果マスタ VALUES (41, 1, 2, 3, 4);"
            "INSERT INTO 当選数字入力日時 VALUES (41, '2100-01-01T00:00:00Z')");

    const DatabaseLock first(path);
    ASSERT_TRUE(first.held());
    ScriptedAnswers answers({QMessageBox::Yes});
    MainWindow frame;
    ASSERT_TRUE(frame.load(QString::fromStdString(dir.path())));
    ASSERT_TRUE(frame.readOnly());
    frame.findChild<QAction*>("mnuJibun")->trigger();
    auto* view = qobject_cast<RuleView*>(frame.findView(RuleView::windowName()));
    ASSERT_NE(view, nullptr);
    view->setRule(*parseRule("sum=10-20").rule);
    view->saveRuleNow();
    view->walkButton()->click();

    const RuleRecordsRead read = readRuleRecords(db);
    EXPECT_EQ(read.rules.size(), 1u);
    ASSERT_EQ(read.records.size(), 1u);
    EXPECT_EQ(read.records[0].target, 41);
    EXPECT_TRUE(readTriedRules(db).rules.empty());
}

}  // namespace
}  // namespace rumone::test
