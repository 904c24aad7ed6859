// The entry view: opening through the main window, the grid's layout and
// editors, adding and deleting lines, the closing check and CSV bulk entry.
// After each change the file, read independently, holds what the grid shows.
#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTimer>
#include <QValidator>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "EntryTestHelpers.h"
#include "core/store/DrawCsv.h"
#include "gui/MainWindow.h"
#include "gui/common/FileDialogs.h"
#include "gui/common/Messages.h"
#include "gui/common/Twips.h"
#include "gui/grid/GridWidget.h"

namespace rumone::test {
namespace {

const QString kEntry = QStringLiteral("当選データ入力");

std::vector<Row> filled(int count)
{
    std::vector<Row> rows;
    for (int n = 1; n <= count; ++n)
        rows.push_back({n, {n % 10, (n + 3) % 10, (n * 7) % 10, 9 - n % 10}});
    return rows;
}

class ChangeDir {
public:
    explicit ChangeDir(const std::string& to) : old_(std::filesystem::current_path())
    {
        std::filesystem::current_path(to);
    }
    ~ChangeDir() { std::filesystem::current_path(old_); }

private:
    std::filesystem::path old_;
};

TEST(EntryViewInMainWindow, OpensAtTopLeftWithItsMenuAndClosesByTheFrameWithoutCheck)
{
    TempDir dir;
    ChangeDir inDir(dir.path());  // the options file written at exit lands here
    const std::string db = makeDatabase(dir.path(), filled(3));
    rawExec(db, "UPDATE 結果マスタ SET 第1数字 = 10 WHERE 回数 = 2");

    MainWindow frame;
    ASSERT_TRUE(frame.load(QString::fromStdString(dir.path())));
    frame.showAtStart();
    // The first activation opens the prediction view; the entry view opens
    // once it is closed.
    ASSERT_TRUE(QTest::qWaitFor([&] { return frame.openViewCount() == 1; }, 2000));
    frame.mdiArea()->closeAllSubWindows();
    QApplication::processEvents();
    ASSERT_EQ(frame.openViewCount(), 0);
    frame.runEntryCommand();
    auto* view = qobject_cast<EntryView*>(frame.findView(kEntry));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(frame.openViewCount(), 1);
    EXPECT_EQ(view->windowTitle(), kEntry);
    EXPECT_EQ(view->findChild<QLabel*>("Label1")->text(),
              QStringLiteral("当選数字を開催回数毎に入力します（分析対象データとなります）"));
    EXPECT_EQ(view->findChild<QPushButton*>("Command1")->text(), QStringLiteral("閉じる"));
    auto* sub = qobject_cast<QMdiSubWindow*>(view->parentWidget());
    EXPECT_EQ(sub->pos(), QPoint(0, 0));
    // At its design size, or as high as the frame's client area where that is lower.
    EXPECT_EQ(view->width(), twipsToPixels(8340));
    EXPECT_EQ(sub->height(),
              std::min(frame.mdiArea()->viewport()->height(), twipsToPixels(12825) + sub->height() - view->height()));
    EXPECT_EQ(view->model()->rowCount(), 3);

    // The view's menu stands in the menu bar between 終了 and ヘルプ while
    // the view is active.
    QStringList shown;
    for (QAction* a : frame.menuBar()->actions())
        if (a->isVisible())
            shown << a->objectName();
    EXPECT_EQ(shown, (QStringList{"mnuEnd", "mnuEdit", "mnuHelp"}));
    const QRect editItem = frame.menuBar()->actionGeometry(view->viewMenu()->menuAction());
    EXPECT_GT(editItem.left(), frame.menuBar()->actionGeometry(frame.menuBar()->actions().front()).right());
    EXPECT_GT(editItem.width(), 0);
    QStringList items;
    for (QAction* a : view->viewMenu()->actions())
        if (!a->isSeparator())
            items << a->text() + "|" + a->objectName() + "|" + a->shortcut().toString();
    EXPECT_EQ(items, (QStringList{"行追加(&A)|mnuAddLine|Ctrl+N", "行削除(&D)|mnuDelLine|Ctrl+D",
                                  "CSV取込(&R)...|mnuImportCsv|", "貼り付けて取込(&T)|mnuPasteImport|",
                                  "CSV出力(&S)...|mnuExportCsv|"}));
    EXPECT_EQ(view->viewMenu()->title(), QStringLiteral("編集(&E)"));

    // The frame's close box: no check, although row 2 holds a 10.
    sub->close();
    QApplication::processEvents();
    EXPECT_EQ(frame.findView(kEntry), nullptr);
    EXPECT_EQ(frame.openViewCount(), 0);
    shown.clear();
    for (QAction* a : frame.menuBar()->actions())
        if (a->isVisible())
            shown << a->objectName();
    EXPECT_TRUE(shown.contains("mnuHosyu"));
    EXPECT_FALSE(shown.contains("mnuEdit"));
    // The frame's menus back in their places, side by side.
    int right = -1;
    for (QAction* a : frame.menuBar()->actions()) {
        const QRect item = frame.menuBar()->actionGeometry(a);
        EXPECT_GT(item.width(), 0) << a->objectName().toStdString();
        EXPECT_GE(item.left(), right) << a->objectName().toStdString();
        right = item.right();
    }

    // Another view after the entry view's menu has gone with it.
    frame.runPredictionCommand();
    QApplication::processEvents();
    EXPECT_EQ(frame.openViewCount(), 1);
}

TEST(EntryViewInMainWindow, AMissingDatabaseIsReportedAndTheViewCloses)
{
    TempDir dir;
    FakeHost host;
    QMdiArea area;
    auto* view = new EntryView(host, parseConnectionString(buildConnectionString(dir.path())));  // no Rumone.mdb there
    QMdiSubWindow* sub = area.addSubWindow(view);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<QMdiSubWindow> alive(sub);
    ScriptedAnswers catcher;
    view->load();
    sub->show();
    ASSERT_TRUE(waitFor(catcher));
    EXPECT_EQ(catcher.first().caption, QStringLiteral("メッセ－ジ"));
    EXPECT_TRUE(catcher.first().text.contains(QStringLiteral("見つかりません"))) << catcher.first().text.toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return alive.isNull(); }, 2000));
    EXPECT_EQ(host.openViews, 0);
}

TEST(EntryGrid, ColumnsHeadingsWidthsColoursAndWhichCellsAreEditable)
{
    TempDir dir;
    makeDatabase(dir.path(), filled(60));
    HostedEntryView h(dir.path());
    EntryGrid& grid = h.grid();
    EntryTableModel& model = h.model();

    ASSERT_EQ(model.columnCount(), 6);
    EXPECT_EQ(model.rowCount(), 60);  // one row per stored row, no blank row
    QStringList headings;
    for (int c = 0; c < 6; ++c)
        headings << model.headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(headings, (QStringList{"回数", "第1数字", "第2数字", "第3数字", "第4数字", "抽せん日"}));
    EXPECT_FALSE(model.flags(h.cell(4, EntryTableModel::kDateColumn)) & Qt::ItemIsEditable);
    EXPECT_TRUE(grid.verticalHeader()->isHidden());
    EXPECT_FALSE(grid.horizontalHeader()->isHidden());

    // Widths in characters of the grid font, as the grid widget counts them.
    const int charWidth = QFontMetrics(GridWidget::gridFont()).averageCharWidth();
    EXPECT_EQ(grid.columnWidth(0), 5 * charWidth + 4);
    for (int c = 1; c < 5; ++c)
        EXPECT_EQ(grid.columnWidth(c), 7 * charWidth + 4);

    // 50 rows in view, the vertical bar because there are more.
    EXPECT_EQ(grid.viewport()->height(), 50 * grid.rowHeight(0));
    EXPECT_TRUE(grid.verticalScrollBar()->isVisible());
    EXPECT_FALSE(grid.horizontalScrollBar()->isVisible());
    EXPECT_GE(grid.viewport()->width(), grid.horizontalHeader()->length());
    EXPECT_TRUE(grid.showGrid());
    EXPECT_EQ(grid.gridStyle(), Qt::SolidLine);
    EXPECT_EQ(grid.selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(grid.selectionMode(), QAbstractItemView::SingleSelection);

    const QModelIndex number = h.cell(4, 0);
    EXPECT_FALSE(model.flags(number) & Qt::ItemIsEditable);
    EXPECT_EQ(model.data(number).toString(), "5");
    EXPECT_EQ(model.data(number, Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
    EXPECT_EQ(model.data(number, Qt::BackgroundRole).value<QColor>(), QColor(255, 255, 200));
    for (int c = 1; c < 5; ++c) {
        EXPECT_TRUE(model.flags(h.cell(4, c)) & Qt::ItemIsEditable);
        EXPECT_FALSE(model.data(h.cell(4, c), Qt::BackgroundRole).isValid());
        EXPECT_EQ(model.data(h.cell(4, c), Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::AlignCenter);
    }
    EXPECT_FALSE(model.setData(number, "7"));
}

TEST(EntryGrid, FewRowsNeedNoScrollBar)
{
    TempDir dir;
    makeDatabase(dir.path(), filled(10));
    HostedEntryView h(dir.path());
    EXPECT_FALSE(h.grid().verticalScrollBar()->isVisible());
}

TEST(EntryGrid, ADigitCellTakesOneDigitOrNothingAndWritesItAtOnce)
{
    TempDir dir;
    const std::string db = makeDatabase(dir.path(), filled(3));
    HostedEntryView h(dir.path());
    EntryGrid& grid = h.grid();
    EntryTableModel& model = h.model();

    // What the editor lets through.
    QStyleOptionViewItem option;
    std::unique_ptr<QWidget> editorWidget(grid.itemDelegate()->createEditor(grid.viewport(), option, h.cell(0, 1)));
    auto* editor = qobject_cast<QLineEdit*>(editorWidget.get());
    ASSERT_NE(editor, nullptr);
    QSignalSpy refused(&grid, &EntryGrid::inputRefused);
    QTest::keyClicks(editor, "a-.x75");
    EXPECT_EQ(editor->text(), "7");
    EXPECT_EQ(refused.count(), 5);  // a - . x, and the 5 after the 7
    // A paste of several digits is refused whole, never cut to its first.
    editor->clear();
    QApplication::clipboard()->setText(QStringLiteral("12"));
    editor->paste();
    EXPECT_EQ(editor->text(), "");
    EXPECT_EQ(refused.count(), 6);
    const QValidator* v = editor->validator();
    for (QString s : {"", "0", "9", "０", "９"}) {
        int pos = 0;
        EXPECT_EQ(v->validate(s, pos), QValidator::Acceptable) << s.toStdString();
    }
    for (QString s : {"10", "-1", "1.5", "a", " "}) {
        int pos = 0;
        EXPECT_EQ(v->validate(s, pos), QValidator::Invalid) << s.toStdString();
    }

    // Writes reach the file before setData returns; refused input writes nothing.
    EXPECT_TRUE(model.setData(h.cell(1, 2), "0"));
    EXPECT_TRUE(model.setData(h.cell(1, 3), ""));
    EXPECT_TRUE(model.setData(h.cell(2, 4), QStringLiteral("８")));
    EXPECT_FALSE(model.setData(h.cell(0, 1), "12"));
    EXPECT_FALSE(model.setData(h.cell(0, 1), "x"));
    EXPECT_EQ(onDisk(db), (Lines{"1: 1 4 7 8", "2: 2 0 - 7", "3: 3 6 1 8"}));
    EXPECT_EQ(onDisk(db), inGrid(model));
    EXPECT_EQ(model.data(h.cell(1, 3)).toString(), "");
}

TEST(EntryGrid, StoredValuesAreShownAsTheDatabaseHoldsThem)
{
    TempDir dir;
    const std::string db = makeDatabase(dir.path(), filled(1));
    rawExec(db, "UPDATE 結果マスタ SET 第1数字 = 1.5, 第2数字 = 10, 第3数字 = 'x', 第4数字 = 3.0");
    HostedEntryView h(dir.path());
    EXPECT_EQ(h.model().cellText(0, 1), "1.5");
    EXPECT_EQ(h.model().cellText(0, 2), "10");
    EXPECT_EQ(h.model().cellText(0, 3), "x");
    EXPECT_EQ(h.model().cellText(0, 4), "3");
}

// Its user is almost always adding the newest draw.
TEST(EntryGrid, OpensScrolledToTheEndOnTheFirstDigitOfTheLastRow)
{
    TempDir dir;
    makeDatabase(dir.path(), filled(120));
    HostedEntryView h(dir.path());
    QApplication::processEvents();
    EXPECT_EQ(h.grid().currentIndex(), h.cell(119, 1));
    const QScrollBar* bar = h.grid().verticalScrollBar();
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_TRUE(h.grid().viewport()->rect().contains(h.grid().visualRect(h.cell(119, 1))));
}

// A long history opens on its last rows; the rows before them come after
// the first paint and leave the same rows in view. A write before then
// lands on the draw it was typed on, and a write by another program in
// between is refused as after any open.
TEST(EntryGrid, TheLastRowsComeFirstAndTheRestAfterTheFirstPaint)
{
    TempDir dir;
    const int count = static_cast<int>(EntryTableModel::kRowsReadFirst) + 300;
    const std::string db = makeDatabase(dir.path(), filled(count));
    {
        HostedEntryView h(dir.path());
        EXPECT_FALSE(h.model().allRowsRead());
        EXPECT_EQ(h.model().rowCount(), static_cast<int>(EntryTableModel::kRowsReadFirst));
        EXPECT_EQ(h.model().cellText(h.model().rowCount() - 1, 0), QString::number(count));
        ASSERT_TRUE(QTest::qWaitFor([&] { return h.model().allRowsRead(); }, 5000));
        EXPECT_EQ(h.model().rowCount(), count);
        EXPECT_EQ(h.model().cellText(0, 0), "1");
        EXPECT_EQ(h.grid().currentIndex(), h.cell(count - 1, 1));
        const QScrollBar* bar = h.grid().verticalScrollBar();
        EXPECT_EQ(bar->value(), bar->maximum());
    }
    {
        HostedEntryView h(dir.path());
        ASSERT_FALSE(h.model().allRowsRead());
        const int last = h.model().rowCount() - 1;
        ASSERT_TRUE(h.model().setData(h.cell(last, 2), "0"));
        EXPECT_TRUE(h.model().allRowsRead());
        EditRow typed = editRowOf(filled(count).back());
        typed.digits[1] = DbValue::fromInt(0);
        EXPECT_EQ(onDisk(db).back(), rowText(typed.number, typed.digits));
    }
    {
        HostedEntryView h(dir.path());
        ASSERT_FALSE(h.model().allRowsRead());
        rawExec(db, "UPDATE 結果マスタ SET 第1数字 = 5 WHERE 回数 = 1");
        const ScriptedAnswers refused;
        EXPECT_FALSE(h.model().setData(h.cell(0, 1), "6"));
        EXPECT_TRUE(QTest::qWaitFor([&] { return refused.seen(); }, 5000));
        EXPECT_TRUE(refused.first().text.contains(QStringLiteral("ほかのプログラムで変更されました")));
    }
}

// A second character is refused with a beep and a note in the status
// line, and the digit typed first stays; Delete and Backspace clear a
// digit cell (no value), never the draw number.
TEST(EntryGrid, ASecondCharacterIsRefusedWithANoteAndDeleteClearsADigit)
{
    TempDir dir;
    const std::string db = makeDatabase(dir.path(), filled(2));
    HostedEntryView h(dir.path());
    EntryGrid& grid = h.grid();
    grid.setFocus();
    grid.setCurrentIndex(h.cell(1, 1));
    QTest::keyClick(&grid, Qt::Key_F2);  // an editor kept open until Enter
    ASSERT_TRUE(grid.isEditing());
    QWidget* editor = grid.indexWidget(h.cell(1, 1));
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_1);
    QTest::keyClick(editor, Qt::Key_0);
    ASSERT_EQ(h.host().notes.size(), 1u);
    EXPECT_TRUE(h.host().notes[0].contains(QStringLiteral("1 文字"))) << h.host().notes[0].toStdString();
    EXPECT_EQ(qobject_cast<QLineEdit*>(editor)->text(), "1");
    EXPECT_EQ(onDisk(db), (Lines{"1: 1 4 7 8", "2: 2 5 4 7"}));
    grid.finishEditing();
    EXPECT_EQ(onDisk(db), (Lines{"1: 1 4 7 8", "2: 1 5 4 7"}));

    grid.setCurrentIndex(h.cell(0, 2));
    QTest::keyClick(&grid, Qt::Key_Delete);
    grid.setCurrentIndex(h.cell(1, 4));
    QTest::keyClick(&grid, Qt::Key_Backspace);
    grid.setCurrentIndex(h.cell(1, 0));
    QTest::keyClick(&grid, Qt::Key_Delete);
    EXPECT_FALSE(grid.isEditing());
    EXPECT_EQ(onDisk(db), (Lines{"1: 1 - 7 8", "2: 1 5 4 -"}));
    EXPECT_EQ(onDisk(db), inGrid(h.model()));
}

TEST(EntryGrid, EnterMovesToTheNextCellAndStaysWithinTheRows)
{
    TempDir dir;
    const std::string db = makeDatabase(dir.path(), {{1, {-1, -1, -1, -1}}, {2, {-1, -1, -1, -1}}});
    HostedEntryView h(dir.path());
    EntryGrid& grid = h.grid();
    EXPECT_EQ(grid.currentIndex(), h.cell(1, 1));
    grid.setCurrentIndex(h.cell(0, 1));

    // F2 opens the editor; Enter there commits the digit and moves on.
    QTest::keyClick(&grid, Qt::Key_F2);
    ASSERT_TRUE(grid.isEditing());
    QWidget* editor = grid.indexWidget(h.cell(0, 1));
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_5);
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !grid.isEditing(); }, 1000));
    EXPECT_EQ(grid.currentIndex(), h.cell(0, 2));
    EXPECT_EQ(onDisk(db), (Lines{"1: 5 - - -", "2: - - - -"}));

    QTest::keyClick(&grid, Qt::Key_Return);
    QTest::keyClick(&grid, Qt::Key_Return);
    EXPECT_EQ(grid.currentIndex(), h.cell(0, 4));
    QTest::keyClick(&grid, Qt::Key_Return);
    EXPECT_EQ(grid.currentIndex(), h.cell(1, 1));  // the first digit of the next row
    grid.setCurrentIndex(h.cell(1, 4));
    QTest::keyClick(&grid, Qt::Key_Return);
    EXPECT_EQ(grid.currentIndex(), h.cell(1, 4));  // no row beyond the data
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(grid.currentIndex(), h.cell(1, 4));
    // Tab runs like Enter and never wraps to draw 1;
    // the end of the table says how the next draw is added.
    QTest::keyClick(&grid, Qt::Key_Tab);
    EXPECT_EQ(grid.currentIndex(), h.cell(1, 4));
    EXPECT_FALSE(h.host().notes.empty() || !h.host().notes.back().contains(QStringLiteral("Ctrl+N")));
    grid.setCurrentIndex(h.cell(0, 4));
    QTest::keyClick(&grid, Qt::Key_Tab);
    EXPECT_EQ(grid.currentIndex(), h.cell(1, 1));

    // Typing over a digit, or over a wrong value, replaces it; opening and
    // leaving an editor unchanged writes nothing.
    rawExec(db, "UPDATE 結果マスタ SET 第2数字 = 7, 第3数字 = 10 WHERE 回数 = 2");
    h.model().reload();
    grid.setCurrentIndex(h.cell(1, 2));
    QTest::keyClick(&grid, Qt::Key_2);
    EXPECT_FALSE(grid.isEditing());
    EXPECT_EQ(grid.currentIndex(), h.cell(1, 3));
    QTest::keyClick(&grid, Qt::Key_F2);
    ASSERT_TRUE(grid.isEditing());
    QTest::keyClick(grid.indexWidget(h.cell(1, 3)), Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !grid.isEditing(); }, 1000));
    EXPECT_EQ(onDisk(db), (Lines{"1: 5 - - -", "2: - 2 10 -"}));
    grid.setCurrentIndex(h.cell(1, 3));
    QTest::keyClick(&grid, Qt::Key_4);
    EXPECT_EQ(onDisk(db), (Lines{"1: 5 - - -", "2: - 2 4 -"}));

    // A digit still in its editor is written before the view closes.
    QTest::keyClick(&grid, Qt::Key_F2);
    QTest::keyClick(grid.indexWidget(h.cell(1, 4)), Qt::Key_3);
    ASSERT_TRUE(grid.isEditing());
    ScriptedAnswers closeAnyway({QMessageBox::No});  // draw 1 holds one digit
    EXPECT_TRUE(h.view().closeChecked());
    EXPECT_EQ(onDisk(db), (Lines{"1: 5 - - -", "2: - 2 4 3"}));
}

// Four keys enter a draw: each digit typed is written and the cursor goes
// to the next digit; after the last row's fourth digit it stays, silently.
TEST(EntryGrid, FourKeysAfterAddingALineEnterTheWholeDraw)
{
    TempDir dir;
    const std::string db = makeDatabase(dir.path(), {{7055, {1, 2, 3, 4}}});
    HostedEntryView h(dir.path());
    EntryGrid& grid = h.grid();
    grid.setFocus();
    grid.setCurrentIndex(h.cell(0, 4));  // where the last draw's typing ended
    {
        ScriptedAnswers yes({QMessageBox::Yes});
        QTest::keyClick(&grid, Qt::Key_N, Qt::ControlModifier);
        ASSERT_TRUE(waitFor(yes));
    }
    QApplication::setActiveWindow(&h.area());
    grid.setFocus();
    EXPECT_EQ(grid.currentIndex(), h.cell(1, 1));
    QTest::keyClicks(&grid, QStringLiteral("2864"));
    EXPECT_FALSE(grid.isEditing());
    EXPECT_EQ(onDisk(db), (Lines{"7055: 1 2 3 4", "7056: 2 8 6 4"}));
    EXPECT_EQ(grid.currentIndex(), h.cell(1, 4));
    EXPECT_TRUE(h.host().notes.empty());
}

// A draw typed in part is pointed out at 閉じる; the default goes back to
// its first empty digit, the other answer closes. Empty rows pass.
TEST(EntryClosing, ADrawTypedInPartIsPointedOutAndTheUserMayGoBack)
{
    TempDir dir;
    const std::string db = makeDatabase(dir.path(), {{7055, {1, 2, 3, 4}}, {7056, {-1, -1, -1, -1}}});
    HostedEntryView h(dir.path());
    h.grid().setFocus();
    h.grid().setCurrentIndex(h.cell(1, 4));
    QTest::keyClick(&h.grid(), Qt::Key_4);
    {
        ScriptedAnswers back({QMessageBox::Yes});
        EXPECT_FALSE(h.view().closeChecked());
        ASSERT_TRUE(back.seen());
        EXPECT_TRUE(back.first().text.startsWith(QStringLiteral("第7056回は第4数字だけが入っています。")));
        EXPECT_EQ(back.first().defaultButton, QMessageBox::Yes);
    }
    EXPECT_EQ(h.grid().currentIndex(), h.cell(1, 1));
    EXPECT_FALSE(h.view().isUnloaded());
    {
        ScriptedAnswers close({QMessageBox::No});
        EXPECT_TRUE(h.view().closeChecked());
    }
    EXPECT_TRUE(h.view().isUnloaded());
    EXPECT_EQ(onDisk(db), (Lines{"7055: 1 2 3 4", "7056: - - - 4"}));
}

// ---------------------------------------------------------------- lines

TEST(EntryLines, AddingAfterTheLastRowAppendsWithTheNextDrawNumber)
{
    TempDir dir;
    const std::string db = makeDatabase(dir.path(), {{1, {1, 1, 1, 1}}, {7, {7, 7, 7, 7}}, {4, {4, 4, 4, 4}}});
    HostedEntryView h(dir.path());
    h.grid().setCurrentIndex(h.cell(2, 3));

    ScriptedAnswers yes({QMessageBox::Yes});
    h.view().addLine();
    ASSERT_TRUE(yes.seen());
    EXPECT_EQ(yes.first().caption, QStringLiteral("ルモーネ"));
    EXPECT_EQ(yes.first().text, QStringLiteral("選択された行のうしろに行を追加します。よろしいですか？"));
    EXPECT_EQ(yes.first().icon, QMessageBox::Warning);
    EXPECT_EQ(yes.first().buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(yes.first().defaultButton, QMessageBox::No);

    EXPECT_EQ(inGrid(h.model()), (Lines{"1: 1 1 1 1", "4: 4 4 4 4", "7: 7 7 7 7", "8: - - - -"}));
    EXPECT_EQ(h.grid().currentIndex(), h.cell(3, 1));
    EXPECT_EQ(onDisk(db), inGrid(h.model()));
}

// A row added in the middle fills the missed draw after the current row
// and stands below it; when that draw is there, the new row takes the next
// draw and goes to the end. Reopening shows every row where it stood.
TEST(EntryLines, AddingInTheMiddleFillsAMissedDrawOrGoesToTheEnd)
{
    TempDir dir;
    const std::string db = makeDatabase(dir.path(), {{1, {1, 1, 1, 1}}, {2, {2, 2, 2, 2}}, {4, {4, 4, 4, 4}}});
    HostedEntryView h(dir.path());
    h.grid().setCurrentIndex(h.cell(1, 2));
    ScriptedAnswers yes({QMessageBox::Yes});
    h.view().addLine();
    EXPECT_EQ(inGrid(h.model()), (Lines{"1: 1 1 1 1", "2: 2 2 2 2", "3: - - - -", "4: 4 4 4 4"}));
    EXPECT_EQ(h.grid().currentIndex(), h.cell(2, 1));

    h.grid().setCurrentIndex(h.cell(0, 3));
    ScriptedAnswers again({QMessageBox::Yes});
    h.view().addLine();
    EXPECT_EQ(inGrid(h.model()), (Lines{"1: 1 1 1 1", "2: 2 2 2 2", "3: - - - -", "4: 4 4 4 4", "5: - - - -"}));
    EXPECT_EQ(h.grid().currentIndex(), h.cell(4, 1));

    EXPECT_EQ(onDisk(db), inGrid(h.model()));
    const Lines before = inGrid(h.model());
    h.model().reload();
    EXPECT_EQ(inGrid(h.model()), before);
    // The new row takes digits like any other.
    EXPECT_TRUE(h.model().setData(h.cell(2, 2), "6"));
    EXPECT_EQ(onDisk(db)[2], "3: - 6 - -");
}

TEST(EntryLines, DeletingRemovesExactlyTheCurrentRow)
{
    TempDir dir;
    const std::string db = makeDatabase(dir.path(), filled(4));
    HostedEntryView h(dir.path());
    h.grid().setCurrentIndex(h.cell(1, 4));
    ScriptedAnswers yes({QMessageBox::Yes});
    h.view().deleteLine();
    EXPECT_EQ(yes.first().text, QStringLiteral("第2回を削除します。よろしいですか？"));
    EXPECT_EQ(yes.first().caption, QStringLiteral("ルモーネ"));
    EXPECT_EQ(yes.first().icon, QMessageBox::Warning);
    EXPECT_EQ(yes.first().defaultButton, QMessageBox::No);
    EXPECT_EQ(inGrid(h.model()), (Lines{"1: 1 4 7 8", "3: 3 6 1 6", "4: 4 7 8 5"}));
    EXPECT_EQ(h.grid().currentIndex(), h.cell(1, 4));
    EXPECT_EQ(onDisk(db), inGrid(h.model()));

    // The last row, then the rest: an empty table stays usable.
    h.grid().setCurrentIndex(h.cell(2, 1));
    for (int i = 0; i < 3; ++i) {
        ScriptedAnswers again({QMessageBox::Yes});
        h.view().deleteLine();
    }
    EXPECT_EQ(h.model().rowCount(), 0);
    EXPECT_TRUE(onDisk(db).empty());
    ScriptedAnswers add({QMessageBox::Yes});
    h.view().addLine();
    EXPECT_EQ(onDisk(db), Lines{"1: - - - -"});
}

TEST(EntryLines, AnsweringNoChangesNothing)
{
    TempDir dir;
    const std::string db = makeDatabase(dir.path(), filled(3));
    HostedEntryView h(dir.path());
    const Lines before = onDisk(db);
    h.grid().setCurrentIndex(h.cell(1, 1));
    // Through the shortcuts, which ask like the menu does.
    for (Qt::Key key : {Qt::Key_N, Qt::Key_D}) {
        QApplication::setActiveWindow(&h.area());  // each box takes it away
        h.grid().setFocus();
        ScriptedAnswers no({QMessageBox::No});
        QTest::keyClick(&h.grid(), key, Qt::ControlModifier);
        EXPECT_EQ(no.first().text, key == Qt::Key_N
                                       ? QStringLiteral("選択された行のうしろに行を追加します。よろしいですか？")
                                       : QStringLiteral("第2回を削除します。よろしいですか？"));
    }
    EXPECT_EQ(onDisk(db), before);
    EXPECT_EQ(inGrid(h.model()), before);
    EXPECT_EQ(h.grid().currentIndex(), h.cell(1, 1));
}

// The menu's shortcuts win over the cell editor's own keys: the digit being
// typed is written, then the command asks as from the menu.
TEST(EntryLines, ShortcutsWorkWhileADigitIsBeingTyped)
{
    TempDir dir;
    const std::string db = makeDatabase(dir.path(), filled(3));
    HostedEntryView h(dir.path());
    const auto typeInto = [&](const QModelIndex& cell, Qt::Key digit) {
        QApplication::setActiveWindow(&h.area());  // each box takes it away
        h.grid().setFocus();
        h.grid().setCurrentIndex(cell);
        QTest::keyClick(&h.grid(), Qt::Key_F2);
        QTest::keyClick(QApplication::focusWidget(), digit);
        EXPECT_TRUE(h.grid().isEditing());
        return QApplication::focusWidget();
    };

    QWidget* editor = typeInto(h.cell(0, 2), Qt::Key_9);
    {
        ScriptedAnswers yes({QMessageBox::Yes});
        QTest::keyClick(editor, Qt::Key_N, Qt::ControlModifier);
        ASSERT_TRUE(waitFor(yes));
        EXPECT_EQ(yes.first().text, QStringLiteral("選択された行のうしろに行を追加します。よろしいですか？"));
    }
    EXPECT_EQ(inGrid(h.model()), (Lines{"1: 1 9 7 8", "2: 2 5 4 7", "3: 3 6 1 6", "4: - - - -"}));
    EXPECT_EQ(h.grid().currentIndex(), h.cell(3, 1));  // a new draw starts at its first digit

    editor = typeInto(h.cell(3, 2), Qt::Key_5);
    {
        ScriptedAnswers no({QMessageBox::No});
        QTest::keyClick(editor, Qt::Key_D, Qt::ControlModifier);
        ASSERT_TRUE(waitFor(no));
        EXPECT_EQ(no.first().text, QStringLiteral("第4回を削除します。よろしいですか？"));
    }
    EXPECT_EQ(inGrid(h.model()), (Lines{"1: 1 9 7 8", "2: 2 5 4 7", "3: 3 6 1 6", "4: - 5 - -"}));
    EXPECT_EQ(onDisk(db), inGrid(h.model()));
}

TEST(EntryLines, RightClickOnADataRowMakesItCurrentAndOffersTheEditMenu)
{
    TempDir dir;
    makeDatabase(dir.path(), filled(5));
    HostedEntryView h(dir.path());
    EntryGrid& grid = h.grid();
    const QPoint at = grid.visualRect(h.cell(3, 2)).center();
    QContextMenuEvent click(QContextMenuEvent::Mouse, at, grid.viewport()->mapToGlobal(at));
    QApplication::sendEvent(grid.viewport(), &click);
    EXPECT_EQ(grid.currentIndex(), h.cell(3, 2));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activePopupWidget() == h.view().viewMenu(); }, 1000));
    h.view().viewMenu()->close();
    // Shift+F10 opens it at the current cell, as the menu key does.
    QTest::keyClick(&grid, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activePopupWidget() == h.view().viewMenu(); }, 1000));
    h.view().viewMenu()->close();

    // Below the last row there is no row to act on.
    const QPoint below(at.x(), grid.visualRect(h.cell(4, 2)).bottom() + 20);
    QContextMenuEvent empty(QContextMenuEvent::Mouse, below, grid.viewport()->mapToGlobal(below));
    QApplication::sendEvent(grid.viewport(), &empty);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(grid.currentIndex(), h.cell(3, 2));
}

// ---------------------------------------------------------------- closing

TEST(EntryClosing, AllValidDigitsAndEmptyCellsClose)
{
    TempDir dir;
    makeDatabase(dir.path(), {{1, {0, 9, 5, 5}}, {2, {-1, -1, 3, -1}}, {3, {-1, -1, -1, -1}}});
    HostedEntryView h(dir.path());
    QPointer<QMdiSubWindow> sub(h.sub());
    ScriptedAnswers closeAnyway({QMessageBox::No});  // draw 2 holds one digit
    h.view().closeButton()->click();
    QApplication::processEvents();
    EXPECT_TRUE(sub.isNull() || !sub->isVisible());
    EXPECT_TRUE(h.view().isUnloaded());
    EXPECT_EQ(h.host().openViews, 0);
}

struct WrongCase {
    const char* name;
    const char* sql;
    int row;
    int column;
};

// Shown by the test runner in place of the raw bytes of the case.
void PrintTo(const WrongCase& c, std::ostream* os)
{
    *os << c.name;
}

class EntryClosingWrong : public testing::TestWithParam<WrongCase> {};

TEST_P(EntryClosingWrong, TheFirstWrongCellStopsTheCloseAndBecomesCurrent)
{
    TempDir dir;
    const std::string db = makeDatabase(dir.path(), filled(8));
    rawExec(db, GetParam().sql);
    HostedEntryView h(dir.path());
    h.grid().setCurrentIndex(h.cell(0, 1));

    ScriptedAnswers ok;
    EXPECT_FALSE(h.view().closeChecked());
    ASSERT_TRUE(ok.seen());
    EXPECT_EQ(ok.first().text, QStringLiteral("結果マスタの数字に誤りがあります。"));
    EXPECT_EQ(ok.first().caption, QStringLiteral("メッセ－ジ"));
    EXPECT_EQ(ok.first().icon, QMessageBox::Critical);
    EXPECT_EQ(ok.first().buttons, QMessageBox::Ok);
    EXPECT_EQ(h.grid().currentIndex(), h.cell(GetParam().row, GetParam().column));
    EXPECT_FALSE(h.view().isUnloaded());
    EXPECT_TRUE(h.sub()->isVisible());

    // Corrected, the view closes.
    for (int r = 0; r < h.model().rowCount(); ++r)
        for (int c = 1; c < 5; ++c)
            if (h.model().cellText(r, c).size() != 1 || !h.model().cellText(r, c)[0].isDigit()) {
                EXPECT_TRUE(h.model().setData(h.cell(r, c), ""));
            }
    EXPECT_TRUE(h.view().closeChecked());
}

INSTANTIATE_TEST_SUITE_P(
    Cells, EntryClosingWrong,
    testing::Values(WrongCase{"Ten", "UPDATE 結果マスタ SET 第2数字 = 10 WHERE 回数 = 3", 2, 2},
                    WrongCase{"DecimalPoint", "UPDATE 結果マスタ SET 第4数字 = 1.5 WHERE 回数 = 5", 4, 4},
                    WrongCase{"Negative", "UPDATE 結果マスタ SET 第1数字 = -1 WHERE 回数 = 8", 7, 1},
                    WrongCase{"NotANumber", "UPDATE 結果マスタ SET 第3数字 = 'x' WHERE 回数 = 1", 0, 3},
                    // Row order decides, not column order; empty cells never count.
                    WrongCase{"FirstInRowOrder",
                              "UPDATE 結果マスタ SET 第1数字 = NULL WHERE 回数 = 2;"
                              "UPDATE 結果マスタ SET 第4数字 = 12 WHERE 回数 = 2;"
                              "UPDATE 結果マスタ SET 第1数字 = 2.0E0 + 0.5 WHERE 回数 = 6;"
                              "UPDATE 結果マスタ SET 第1数字 = 11 WHERE 回数 = 7",
                              1, 4}),
    [](const testing::TestParamInfo<WrongCase>& p) { return std::string(p.param.name); });

// ---------------------------------------------------------------- CSV

TEST(EntryCsv, ABadLineImportsNothingAndNamesTheLine)
{
    TempDir dir;
    const std::string db = makeDatabase(dir.path(), filled(2));
    HostedEntryView h(dir.path());
    const std::string csv = dir.file("bad.csv");
    writeBytes(csv, "回数,第1数字,第2数字,第3数字,第4数字\n3,1,2,3,4\n4,1,2,x,4\n5,1,2,3,4\n");
    ScriptedAnswers ok;
    EXPECT_FALSE(h.view().importCsv(QString::fromStdString(csv)));
    EXPECT_EQ(ok.first().caption, QStringLiteral("メッセ－ジ"));
    EXPECT_TRUE(ok.first().text.contains(QStringLiteral("3行目"))) << ok.first().text.toStdString();
    EXPECT_EQ(onDisk(db), (Lines{"1: 1 4 7 8", "2: 2 5 4 7"}));
    EXPECT_EQ(inGrid(h.model()), onDisk(db));
}

// The preview lists each draw whose stored digits would change; キャンセル
// writes nothing, 取込 writes the new and changed draws.
TEST(EntryCsv, ReplacingStoredDrawsListsEachInThePreview)
{
    TempDir dir;
    const std::string db = makeDatabase(dir.path(), filled(3));
    HostedEntryView h(dir.path());
    const std::string csv = dir.file("more.csv");
    writeBytes(csv, "回数,抽せん日,第1数字,第2数字,第3数字,第4数字\n2,,0,0,0,0\n3,,0,0,0,0\n4,,1,2,3,\n1,,1,4,7,8\n");
    const Lines before = onDisk(db);
    {
        ScriptedAnswers cancel({QMessageBox::Cancel});
        EXPECT_FALSE(h.view().importCsv(QString::fromStdString(csv)));
        EXPECT_EQ(cancel.first().caption, QStringLiteral("ルモーネ"));
        EXPECT_EQ(cancel.first().defaultButton, QMessageBox::Cancel);
        const QString text = cancel.first().text;
        for (const QString& part :
             {QStringLiteral("新しい回: 1"), QStringLiteral("変わる回: 2"), QStringLiteral("同じ回: 1"),
              QStringLiteral("第2回 2547 → 0000"), QStringLiteral("第3回 3616 → 0000")})
            EXPECT_TRUE(text.contains(part)) << part.toStdString() << "\n" << text.toStdString();
    }
    EXPECT_EQ(onDisk(db), before);
    EXPECT_FALSE(h.model().takeWritten());

    ScriptedAnswers answers({QMessageBox::Ok, QMessageBox::Ok});
    EXPECT_TRUE(h.view().importCsv(QString::fromStdString(csv)));
    ASSERT_EQ(answers.shown().size(), 2u);  // the question, then what was imported
    EXPECT_EQ(answers.shown()[1].icon, QMessageBox::Information);
    EXPECT_EQ(onDisk(db), (Lines{"1: 1 4 7 8", "2: 0 0 0 0", "3: 0 0 0 0", "4: 1 2 3 -"}));
    EXPECT_EQ(inGrid(h.model()), onDisk(db));
}

// A stored date that a file gives otherwise is listed before it is
// written, like a changed number, and the date column shows the new one.
TEST(EntryCsv, AChangedDateIsListedInThePreview)
{
    TempDir dir;
    makeDatabase(dir.path(), filled(3));
    HostedEntryView h(dir.path());
    writeBytes(dir.file("a.csv"), "回数,抽せん日,当せん番号\n1,1994/10/08,1478\n");
    writeBytes(dir.file("b.csv"), "回数,抽せん日,当せん番号\n1,1994-10-07,1478\n");
    {
        ScriptedAnswers answers({QMessageBox::Ok, QMessageBox::Ok});
        ASSERT_TRUE(h.view().importCsv(QString::fromStdString(dir.file("a.csv"))));
    }
    ScriptedAnswers answers({QMessageBox::Ok, QMessageBox::Ok});
    ASSERT_TRUE(h.view().importCsv(QString::fromStdString(dir.file("b.csv"))));
    const QString text = answers.first().text;
    EXPECT_TRUE(text.contains(QStringLiteral("第1回 抽せん日 1994年10月8日 → 1994年10月7日"))) << text.toStdString();
    EXPECT_EQ(h.model().cellText(0, EntryTableModel::kDateColumn), QStringLiteral("1994-10-07"));
}

TEST(EntryCsv, RealHistoryRoundTripsThroughImportAndExport)
{
    ASSERT_TRUE(realDraws()) << "the real history is missing: " << realDrawsPath();
    TempDir dir;
    const std::string db = makeDatabase(dir.path(), {});
    HostedEntryView h(dir.path());
    {
        ScriptedAnswers info;
        ASSERT_TRUE(h.view().importCsv(QString::fromStdString(realDrawsPath())));
    }
    const auto real = *realDraws();
    ASSERT_EQ(h.model().rowCount(), static_cast<int>(real.size()));
    EXPECT_EQ(onDisk(db), inGrid(h.model()));
    EXPECT_EQ(h.model().cellText(static_cast<int>(real.size()) - 1, 0), QString::number(real.back().number));

    const std::string out = dir.file("out.csv");
    {
        ScriptedAnswers info;
        ASSERT_TRUE(h.view().exportCsv(QString::fromStdString(out)));
    }
    const std::string exported = readBytes(out);
    const std::vector<EditRow> fromFile = parseDrawCsv(exported);
    const std::vector<EditRow> fromReal = parseDrawCsv(readBytes(realDrawsPath()));
    ASSERT_EQ(fromFile.size(), fromReal.size());
    for (std::size_t i = 0; i < fromFile.size(); ++i)
        ASSERT_EQ(rowText(fromFile[i].number, fromFile[i].digits), rowText(fromReal[i].number, fromReal[i].digits))
            << i;
}

// What Excel in Japan writes (CP932) comes in; what goes out is UTF-8
// with a byte order mark, or CP932 when chosen in the dialog. A symbolic
// link at the chosen name stays and the file it names is replaced.
TEST(EntryCsv, Cp932ComesInAndBothEncodingsGoOut)
{
    TempDir dir;
    const std::string db = makeDatabase(dir.path(), {});
    HostedEntryView h(dir.path());
    const auto menu = [&h](const char* name, std::vector<FileChoice> choices) {
        ScriptedFileChoices choose(std::move(choices));
        h.view().findChild<QAction*>(name)->trigger();
        return choose.asked();
    };
    const std::vector<EditRow> rows = {editRowOf({1, {1, 2, 3, 4}}), editRowOf({2, {5, 6, 7, -1}})};
    const std::string csv = dir.file("excel.csv");
    writeBytes(csv, drawCsvFile(rows, CsvEncoding::Cp932));
    {
        ScriptedAnswers info;
        menu("mnuImportCsv", {{QString::fromStdString(csv)}});
    }
    EXPECT_EQ(onDisk(db), (Lines{"1: 1 2 3 4", "2: 5 6 7 -"}));

    std::filesystem::create_symlink("sjis-target.csv", dir.file("sjis.csv"));
    ScriptedAnswers infos({QMessageBox::Ok, QMessageBox::Ok});
    EXPECT_EQ(menu("mnuExportCsv", {}), (std::vector<QString>{QStringLiteral("書き出す CSV ファイル")}));
    EXPECT_TRUE(infos.shown().empty());  // cancelled: nothing written, nothing said
    menu("mnuExportCsv", {{QString::fromStdString(dir.file("utf8.csv")), 0}});
    menu("mnuExportCsv", {{QString::fromStdString(dir.file("sjis.csv")), 1}});
    EXPECT_EQ(infos.shown().size(), 2u);
    EXPECT_EQ(readBytes(dir.file("utf8.csv")), drawCsvFile(rows));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("sjis.csv")));
    EXPECT_EQ(readBytes(dir.file("sjis-target.csv")), readBytes(csv));

    // Neither UTF-8 nor CP932: the line is named and nothing is imported.
    writeBytes(csv, "回数,第1数字,第2数字,第3数字,第4数字\n3,1,2,3,4\n4,1,2,3,\x82\n");
    ScriptedAnswers refused;
    EXPECT_FALSE(h.view().importCsv(QString::fromStdString(csv)));
    EXPECT_TRUE(refused.first().text.contains(QStringLiteral("3行目"))) << refused.first().text.toStdString();
    EXPECT_EQ(onDisk(db), (Lines{"1: 1 2 3 4", "2: 5 6 7 -"}));
}

// An import longer than a frame shows its progress while it writes.
TEST(EntryCsv, ALongImportShowsItsProgress)
{
    TempDir dir;
    makeDatabase(dir.path(), {});
    const std::string csv = dir.file("many.csv");
    writeBytes(csv, drawCsvFile(editRowsOf(filled(3000))));
    HostedEntryView h(dir.path());
    bool shown = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* p = qobject_cast<QProgressDialog*>(w); p && p->isVisible())
                shown = shown || p->labelText() == QStringLiteral("取り込んでいます。");
    });
    watch.start(1);
    const ScriptedAnswers answers({QMessageBox::Ok, QMessageBox::Ok});  // 取込, then the counts
    ASSERT_TRUE(h.view().importCsv(QString::fromStdString(csv)));
    EXPECT_TRUE(shown);
    EXPECT_EQ(onDisk(dir.file(kDatabaseFileName)).size(), 3000U);
}

// Lines copied from a results page go through the same preview and write,
// and the host is told that draws were written.
TEST(EntryCsv, PastedLinesAreImportedAfterThePreview)
{
    TempDir dir;
    const std::string db = makeDatabase(dir.path(), filled(2));
    HostedEntryView h(dir.path());
    ScriptedAnswers answers({QMessageBox::Ok, QMessageBox::Ok});
    EXPECT_TRUE(h.view().importPastedText(QStringLiteral("第3回 2026年8月24日 ０１２３\n第2回 2026年8月21日 2547\n")));
    ASSERT_EQ(answers.shown().size(), 2u);
    EXPECT_TRUE(answers.shown()[0].text.contains(QStringLiteral("新しい回: 1")));
    EXPECT_TRUE(answers.shown()[0].text.contains(QStringLiteral("第3回 0123（2026年8月24日）")))
        << answers.shown()[0].text.toStdString();
    EXPECT_EQ(onDisk(db), (Lines{"1: 1 4 7 8", "2: 2 5 4 7", "3: 0 1 2 3"}));
    EXPECT_EQ(inGrid(h.model()), onDisk(db));
    EXPECT_FALSE(h.model().takeWritten());  // already handed to the host
}

// Pasted text is read off the window thread: the window answers while a
// large paste is read, and a line longer than a file may hold is refused.
TEST(EntryCsv, APasteIsReadWhileTheWindowAnswersAndAnOverlongLineIsRefused)
{
    TempDir dir;
    const std::string db = makeDatabase(dir.path(), filled(2));
    HostedEntryView h(dir.path());
    std::string text = "第1回 1478\n第2回 2547\n";
    for (int i = 0; i < 60000; ++i)
        text += "抽せん結果のお知らせ ストレート 当せん金 は 下の表 の とおり\n";
    int ticks = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&ticks] { ++ticks; });
    watch.start(1);
    {
        ScriptedAnswers info;
        EXPECT_FALSE(h.view().importPastedText(QString::fromStdString(text)));
        EXPECT_TRUE(info.first().text.contains(QStringLiteral("すべて登録済み"))) << info.first().text.toStdString();
    }
    EXPECT_GT(ticks, 0) << "the window did not answer while the paste was read";

    ScriptedAnswers refused;
    EXPECT_FALSE(h.view().importPastedText(QStringLiteral("第3回 1234\n") + QString(9000, u',')));
    EXPECT_TRUE(refused.first().text.contains(QStringLiteral("2行目: 行が長すぎます")))
        << refused.first().text.toStdString();
    EXPECT_EQ(onDisk(db), (Lines{"1: 1 4 7 8", "2: 2 5 4 7"}));
}

TEST(EntryCsv, ExportToAFolderThatIsNotThereSaysSo)
{
    TempDir dir;
    makeDatabase(dir.path(), filled(2));
    HostedEntryView h(dir.path());
    ScriptedAnswers ok;
    EXPECT_FALSE(h.view().exportCsv(QString::fromStdString(dir.file("none/out.csv"))));
    EXPECT_EQ(ok.first().icon, QMessageBox::Critical);
    EXPECT_FALSE(std::filesystem::exists(dir.file("none")));
}

}  // namespace
}  // namespace rumone::test
