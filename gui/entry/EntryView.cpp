#include "gui/entry/EntryView.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <future>

#include "core/store/DrawCsv.h"
#include "core/store/DrawImport.h"
#include "core/store/DrawSource.h"
#include "core/store/PartlyFilled.h"
#include "core/store/SafeFile.h"
#include "gui/common/DelayedProgress.h"
#include "gui/common/FileDialogs.h"
#include "gui/common/Messages.h"
#include "gui/common/Twips.h"
#include "gui/entry/DrawImportSteps.h"
#include "gui/entry/EntryGrid.h"
#include "gui/entry/EntryTableModel.h"

namespace rumone {

namespace {

const QString kObjectName = QStringLiteral("当選データ入力");

// Client area and control positions, in twips.
// The width holds the date column too (2,100 twips).
constexpr int kClientWidth = 8340, kClientHeight = 12825;
constexpr int kMargin = 120;
constexpr int kLabelHeight = 300;
constexpr int kGridTop = 540;

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

// A digit cell's text is wrong when it is not empty and is not a whole
// number 0-9: below 0, above 9, with a decimal point, or no number at all.
bool isWrongDigitText(const QString& text)
{
    if (text.isEmpty())
        return false;
    if (text.contains(u'.'))
        return true;
    bool ok = false;
    const long long value = text.toLongLong(&ok);
    return !ok || value < 0 || value > 9;
}

}  // namespace

EntryView::EntryView(ViewHost& host, DrawDatabaseRef database, QWidget* parent)
    : ChildView(host, kObjectName, QStringLiteral("当選データ入力"), parent), database_(std::move(database))
{
    model_ = new EntryTableModel(database_, this);
    // The file is opened and its last rows read while the window is built.
    model_->startOpening();
    label_ = new QLabel(QStringLiteral("当選数字を開催回数毎に入力します（分析対象データとなります）"), this);
    label_->setObjectName("Label1");
    label_->setWordWrap(true);
    label_->setGeometry(twipsRect(kMargin, kMargin, kClientWidth - 2 * kMargin, kLabelHeight));

    grid_ = new EntryGrid(this);
    grid_->setObjectName("fpSpread1");
    grid_->setModel(model_);
    grid_->viewport()->installEventFilter(this);
    connect(model_, &EntryTableModel::writeFailed, this, &EntryView::onWriteFailed, Qt::QueuedConnection);

    close_ = new QPushButton(QStringLiteral("閉じる"), this);
    close_->setObjectName("Command1");
    connect(close_, &QPushButton::clicked, this, [this] { closeChecked(); });

    connect(grid_, &EntryGrid::inputRefused, this, [this](const QString& note) {
        QApplication::beep();
        this->host().showStatusNote(note);
    });

    createEditMenu();
    connect(grid_, &EntryGrid::popupRequested, this, [this](const QPoint& at) { editMenu_->popup(at); });
}

void EntryView::createEditMenu()
{
    editMenu_ = new QMenu(QStringLiteral("編集(&E)"), this);
    editMenu_->setObjectName("mnuEdit");
    editMenu_->menuAction()->setObjectName("mnuEdit");
    auto add = [this](const QString& caption, const char* name, const QKeySequence& keys, void (EntryView::*run)()) {
        QAction* action = editMenu_->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, run);
        addAction(action);  // the shortcut also works where no menu bar shows the menu
    };
    // Ctrl+A stays select-all, as everywhere else.
    add(QStringLiteral("行追加(&A)"), "mnuAddLine", QKeySequence(Qt::CTRL | Qt::Key_N), &EntryView::addLine);
    add(QStringLiteral("行削除(&D)"), "mnuDelLine", QKeySequence(Qt::CTRL | Qt::Key_D), &EntryView::deleteLine);
    editMenu_->addSeparator();
    add(QStringLiteral("CSV取込(&R)..."), "mnuImportCsv", {}, &EntryView::chooseImportFile);
    add(QStringLiteral("貼り付けて取込(&T)"), "mnuPasteImport", {}, &EntryView::pasteAndImport);
    add(QStringLiteral("CSV出力(&S)..."), "mnuExportCsv", {}, &EntryView::chooseExportFile);
}

QSize EntryView::sizeInTwips() const
{
    return QSize(kClientWidth, kClientHeight);
}

// The grid takes the window's height below the label; the button stands
// beside its top. The current cell stays in view.
void EntryView::arrangeControls()
{
    // At the design size the grid shows its 50 rows; it grows and shrinks
    // with the window below them.
    const int belowGrid = std::max(twipsToPixels(kClientHeight - kGridTop) - grid_->designHeight(), 0);
    grid_->fitToHeight(height() - twipsToPixels(kGridTop) - belowGrid);
    grid_->move(twipsToPixels(kMargin), twipsToPixels(kGridTop));
    const QSize button = close_->sizeHint();
    close_->setGeometry(grid_->geometry().right() + twipsToPixels(kMargin), twipsToPixels(kGridTop), button.width(),
                        button.height());
    if (grid_->currentIndex().isValid())
        grid_->scrollTo(grid_->currentIndex());
}

void EntryView::resizeEvent(QResizeEvent* event)
{
    ChildView::resizeEvent(event);
    arrangeControls();
}

void EntryView::build()
{
    arrangeControls();
    try {
        model_->open();
    } catch (const std::exception& e) {
        showError(QStringLiteral("当選データを開けません。\n\n") + QString::fromUtf8(e.what()));
        // The window is being opened right now; close it once that is done.
        QMetaObject::invokeMethod(
            this, [this] { closeWindow(); }, Qt::QueuedConnection);
        return;
    }
    // The user almost always adds the newest draw: the view opens at the
    // end, on the first digit of the last row.
    if (model_->rowCount() > 0)
        grid_->showCell(model_->index(model_->rowCount() - 1, 1));
}

bool EntryView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint && watched == grid_->viewport() && !model_->allRowsRead())
        // Queued: this paint reaches the screen first.
        QMetaObject::invokeMethod(
            this, [this] { readRemainingRows(); }, Qt::QueuedConnection);
    return ChildView::eventFilter(watched, event);
}

void EntryView::readRemainingRows()
{
    if (model_->allRowsRead())
        return;
    const QScrollBar* bar = grid_->verticalScrollBar();
    const int fromEnd = bar->maximum() - bar->value();
    const int above = model_->readAllRows();
    if (above > 0)
        grid_->keepEndDistance(fromEnd);
    else if (above < 0 && model_->rowCount() > 0)
        grid_->showCell(model_->index(model_->rowCount() - 1, 1));
}

// ---------------------------------------------------------------- edit menu

void EntryView::addLine()
{
    grid_->finishEditing();
    if (!confirm(QStringLiteral("選択された行のうしろに行を追加します。よろしいですか？")))
        return;
    const QModelIndex current = grid_->currentIndex();
    // Without a current cell (an empty table) the row goes to the end.
    const int row = current.isValid() ? current.row() : model_->rowCount() - 1;
    const int at = model_->insertRowAfter(row);
    if (at < 0)
        return;
    // A new draw is typed from its first digit, whatever column was current.
    const QModelIndex added = model_->index(at, 1);
    grid_->setCurrentIndex(added);
    grid_->scrollTo(added);
}

void EntryView::deleteLine()
{
    grid_->finishEditing();
    const QModelIndex current = grid_->currentIndex();
    if (!current.isValid())
        return;
    const QString number = model_->cellText(current.row(), 0);
    if (!confirm(QStringLiteral("第%1回を削除します。よろしいですか？").arg(number)))
        return;
    if (!model_->removeRow(current.row()))
        return;
    const int rows = model_->rowCount();
    if (rows > 0)
        grid_->setCurrentIndex(model_->index(std::min(current.row(), rows - 1), current.column()));
}

// ---------------------------------------------------------------- closing

QModelIndex EntryView::firstWrongDigitCell() const
{
    model_->readAllRows();
    const int rows = model_->rowCount();
    for (int r = 0; r < rows; ++r)
        for (int c = 1; c < EntryTableModel::kColumnCount; ++c)
            if (isWrongDigitText(model_->cellText(r, c)))
                return model_->index(r, c);
    return {};
}

bool EntryView::closeChecked()
{
    grid_->finishEditing();
    const QModelIndex wrong = firstWrongDigitCell();
    if (wrong.isValid()) {
        showError(QStringLiteral("結果マスタの数字に誤りがあります。"));
        grid_->setCurrentIndex(wrong);
        grid_->scrollTo(wrong);
        grid_->setFocus();
        return false;
    }
    if (const std::optional<PartlyFilledRow> partly = firstPartlyFilledRow(model_->rows());
        partly && goBackToPartlyFilled(*partly))
        return false;
    closeWindow();
    return true;
}

// A draw typed only in part would be stored as a draw not yet drawn: the
// user is asked, going back to its first empty digit by default.
bool EntryView::goBackToPartlyFilled(const PartlyFilledRow& partly)
{
    const QMessageBox::StandardButton answer = showMessage(
        this, QMessageBox::Warning, messageCaption(),
        QString::fromStdString(partly.message) +
            QStringLiteral("\n\n「入力に戻る」でその回の空いている数字に戻ります。「このまま閉じる」では、その回は"
                           "入っている数字のまま残ります。"),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes,
        {{QMessageBox::Yes, QStringLiteral("入力に戻る")}, {QMessageBox::No, QStringLiteral("このまま閉じる")}});
    if (answer == QMessageBox::No)
        return false;
    const QModelIndex cell = model_->index(static_cast<int>(partly.row), partly.firstEmptyPosition);
    grid_->showCell(cell);
    grid_->setFocus();
    return true;
}

// Closed having written: the host reads the history again, whichever way
// the view was closed.
void EntryView::closeEvent(QCloseEvent* event)
{
    ChildView::closeEvent(event);
    tellHostOfWrittenDraws();
    host().entryViewClosed(wroteDraws_);
}

void EntryView::tellHostOfWrittenDraws()
{
    if (!model_->takeWritten())
        return;
    wroteDraws_ = true;
    host().drawsWritten();
}

// ---------------------------------------------------------------- CSV

void EntryView::chooseImportFile()
{
    const QStringList paths =
        chooseFilesToRead(this, QStringLiteral("取り込むファイル"),
                          QStringLiteral("当選データ (*.csv *.txt *.tsv);;CSV ファイル (*.csv);;すべてのファイル (*)"));
    if (!paths.isEmpty())
        importFiles(paths);
}

void EntryView::chooseExportFile()
{
    if (const std::optional<CsvTarget> target = chooseCsvTarget(this, QStringLiteral("当選データ.csv")))
        exportCsv(target->path, target->cp932 ? CsvEncoding::Cp932 : CsvEncoding::Utf8WithBom);
}

bool EntryView::importCsv(const QString& path)
{
    return importFiles({path});
}

bool EntryView::importFiles(const QStringList& paths)
{
    grid_->finishEditing();
    const std::optional<std::vector<SourceDraw>> draws = readDrawsFromFiles(this, paths);
    return draws && importPreviewed(*draws);
}

bool EntryView::importPastedText(const QString& text)
{
    grid_->finishEditing();
    const std::optional<std::vector<SourceDraw>> draws = readDrawsFromPastedText(this, text);
    return draws && importPreviewed(*draws);
}

void EntryView::pasteAndImport()
{
    importPastedText(QApplication::clipboard()->text());
}

// What would change is shown before anything is written; 取込 writes the
// new and changed draws in one transaction, キャンセル writes nothing.
bool EntryView::importPreviewed(const std::vector<SourceDraw>& draws)
{
    model_->readAllRows();
    const ImportQuestion question = importQuestion(this, draws, model_->rows(), model_->readDetails());
    const ImportPreview& preview = question.preview;
    if (preview.writesNothing()) {
        tellNothingToImport(this, preview);
        return false;
    }
    if (!confirmImport(this, question))
        return false;
    std::optional<ImportCounts> counts;
    {
        DelayedProgress progress(this, QStringLiteral("取り込んでいます。"));
        counts = model_->importPreviewed(
            preview, [&progress](std::size_t done, std::size_t total) { progress.step(done, total); });
    }
    if (!counts)
        return false;
    tellHostOfWrittenDraws();
    tellImported(this, *counts, preview);
    return true;
}

bool EntryView::exportCsv(const QString& path, CsvEncoding encoding)
{
    grid_->finishEditing();
    model_->readAllRows();
    // In draw order, as the file holds them (added rows sit where they were
    // added in the grid).
    std::vector<EditRow> rows = model_->rows();
    std::stable_sort(rows.begin(), rows.end(), [](const EditRow& a, const EditRow& b) {
        const auto key = [](const EditRow& r) {
            return r.number.type == DbValue::Type::Integer ? r.number.integer : LLONG_MAX;
        };
        return key(a) < key(b);
    });
    std::string text;
    try {
        text = drawCsvFile(rows, encoding);
    } catch (const DrawCsvError& e) {
        showError(QStringLiteral("CSV ファイル「%1」に書き出せません。\n\n%2\n\nUTF-8 で書き出してください。")
                      .arg(path, QString::fromUtf8(e.what())));
        return false;
    }
    // Written beside the target and moved into place: never a half-written
    // file, and no file already there is followed or lost.
    try {
        replaceFileWith(QFile::encodeName(path).toStdString(), text);
    } catch (const FileWriteError& e) {
        showError(QString::fromUtf8(e.what()));
        return false;
    }
    showInfo(QStringLiteral("%1 行を CSV ファイル「%2」に書き出しました。").arg(rows.size()).arg(path));
    return true;
}

// ---------------------------------------------------------------- messages

// A refused write: the rows are read again when the file may hold
// something else, so that the grid shows what is stored.
void EntryView::onWriteFailed(const QString& message, bool reread)
{
    if (reread)
        model_->reload();
    showError(message);
}

bool EntryView::confirm(const QString& text)
{
    return showMessage(this, QMessageBox::Warning, programCaption(), text, QMessageBox::Yes | QMessageBox::No,
                       QMessageBox::No) == QMessageBox::Yes;
}

void EntryView::showError(const QString& text)
{
    showMessage(this, QMessageBox::Critical, messageCaption(), text);
}

void EntryView::showInfo(const QString& text)
{
    showMessage(this, QMessageBox::Information, messageCaption(), text);
}

}  // namespace rumone
