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
#include <climits>

#include "core/store/CsvFile.h"
#include "core/store/DrawCsv.h"
#include "core/store/DrawImport.h"
#include "core/store/SafeFile.h"
#include "gui/common/DelayedProgress.h"
#include "gui/common/FileDialogs.h"
#include "gui/common/Messages.h"
#include "gui/common/Twips.h"
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
    add(QStringLiteral("行追加"), "mnuAddLine", QKeySequence(Qt::CTRL | Qt::Key_N), &EntryView::addLine);
    add(QStringLiteral("行削除"), "mnuDelLine", QKeySequence(Qt::CTRL | Qt::Key_D), &EntryView::deleteLine);
    editMenu_->addSeparator();
    add(QStringLiteral("CSV取込..."), "mnuImportCsv", {}, &EntryView::chooseImportFile);
    add(QStringLiteral("貼り付けて取込"), "mnuPasteImport", {}, &EntryView::pasteAndImport);
    add(QStringLiteral("CSV出力..."), "mnuExportCsv", {}, &EntryView::chooseExportFile);
}

QSize EntryView::sizeInTwips() const
{
    return QSize(kClientWidth, kClientHeight);
}

void EntryView::build()
{
    grid_->fitToVisibleRows();
    grid_->move(twipsToPixels(kMargin), twipsToPixels(kGridTop));
    const QSize button = close_->sizeHint();
    close_->setGeometry(grid_->geometry().right() + twipsToPixels(kMargin), twipsToPixels(kGridTop), button.width(),
                        button.height());
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
    const int column = current.isValid() ? current.column() : 1;
    const int at = model_->insertRowAfter(row);
    if (at < 0)
        return;
    const QModelIndex added = model_->index(at, column);
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
    closeWindow();
    return true;
}

// Closed having written: the host reads the history again, whichever way
// the view was closed.
void EntryView::closeEvent(QCloseEvent* event)
{
    ChildView::closeEvent(event);
    tellHostOfWrittenDraws();
}

void EntryView::tellHostOfWrittenDraws()
{
    if (model_->takeWritten())
        host().drawsWritten();
}

// ---------------------------------------------------------------- CSV

void EntryView::chooseImportFile()
{
    const QString path = chooseFile(this, false, QStringLiteral("取り込む CSV ファイル"), {},
                                    QStringLiteral("CSV ファイル (*.csv);;すべてのファイル (*)"))
                             .path;
    if (!path.isEmpty())
        importCsv(path);
}

void EntryView::chooseExportFile()
{
    if (const std::optional<CsvTarget> target = chooseCsvTarget(this, QStringLiteral("当選データ.csv")))
        exportCsv(target->path, target->cp932 ? CsvEncoding::Cp932 : CsvEncoding::Utf8WithBom);
}

bool EntryView::importCsv(const QString& path)
{
    grid_->finishEditing();
    std::string bytes;
    try {
        bytes = readCsvFile(QFile::encodeName(path).toStdString());
    } catch (const CsvFileError& e) {
        showError(QString::fromUtf8(e.what()));
        return false;
    }
    DrawsWithDetails read;
    try {
        read = parseDrawCsvWithDetails(bytes);
    } catch (const DrawCsvError& e) {
        showError(QStringLiteral("CSV ファイル「%1」を取り込めません。\n\n%2\n\n何も取り込んでいません。")
                      .arg(path, QString::fromUtf8(e.what())));
        return false;
    }
    if (read.rows.empty()) {
        showInfo(QStringLiteral("CSV ファイル「%1」に取り込むデータがありません。").arg(path));
        return false;
    }
    return importPreviewed(read.rows, read.details);
}

bool EntryView::importPastedText(const QString& text)
{
    grid_->finishEditing();
    std::vector<EditRow> draws;
    try {
        draws = parsePastedDraws(text.toStdString());
    } catch (const DrawCsvError& e) {
        showError(QStringLiteral("貼り付けた文字を取り込めません。\n\n%1\n\n何も取り込んでいません。")
                      .arg(QString::fromUtf8(e.what())));
        return false;
    }
    if (draws.empty()) {
        showInfo(QStringLiteral("貼り付けた文字に、回と 4 桁の当せん番号のある行がありません。"));
        return false;
    }
    return importPreviewed(draws);
}

void EntryView::pasteAndImport()
{
    importPastedText(QApplication::clipboard()->text());
}

// What would change is shown before anything is written; 取込 writes the
// new and changed draws in one transaction, キャンセル writes nothing.
bool EntryView::importPreviewed(const std::vector<EditRow>& draws, const DrawDetailsList& details)
{
    model_->readAllRows();
    const ImportPreview preview = previewImport(draws, details, model_->rows(), model_->readDetails());
    if (preview.writesNothing()) {
        showInfo(QStringLiteral("取り込む %1 回はすべて登録済みの数字と同じです。何も書き込んでいません。")
                     .arg(preview.unchanged));
        return false;
    }
    if (!confirmImport(preview))
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
    showInfo(QStringLiteral("取り込みました（新しい回 %1、変わった回 %2、同じ回 %3）。")
                 .arg(counts->added)
                 .arg(counts->replaced)
                 .arg(preview.unchanged));
    return true;
}

bool EntryView::confirmImport(const ImportPreview& preview)
{
    constexpr int kListedInText = 20;
    QString text = QStringLiteral("取り込む前の確認です。\n\n新しい回: %1\n変わる回: %2\n同じ回: %3")
                       .arg(preview.added.size())
                       .arg(preview.changed.size())
                       .arg(preview.unchanged);
    if (!preview.details.empty())
        text += QStringLiteral("\n抽せん日が加わる・変わる回: %1\n当せん金が加わる・変わる回: %2")
                    .arg(preview.details.dateCount())
                    .arg(preview.details.prizeCount());
    std::vector<std::string> changes = changedLines(preview);
    // A stored date or prize that would change is listed like a changed
    // number; new ones are counted.
    for (std::string& line : detailLines(preview.details))
        if (line.find(" → ") != std::string::npos)
            changes.push_back(std::move(line));
    QStringList all;
    for (const std::string& line : changes)
        all << QString::fromStdString(line);
    if (!all.isEmpty()) {
        text += QStringLiteral("\n\n登録済みの数字が変わる回（登録済み → 取り込む数字）:\n") +
                all.mid(0, kListedInText).join(u'\n');
        if (all.size() > kListedInText)
            text += QStringLiteral("\nほか %1 回（「詳細」にすべて）").arg(all.size() - kListedInText);
    }
    text += QStringLiteral("\n\n「取込」で書き込みます。「キャンセル」では何も書き込みません。");
    const QMessageBox::StandardButton answer =
        showMessage(this, all.isEmpty() ? QMessageBox::Question : QMessageBox::Warning, programCaption(), text,
                    QMessageBox::Ok | QMessageBox::Cancel, all.isEmpty() ? QMessageBox::Ok : QMessageBox::Cancel,
                    {{QMessageBox::Ok, QStringLiteral("取込")}, {QMessageBox::Cancel, QStringLiteral("キャンセル")}},
                    all.size() > kListedInText ? all.join(u'\n') : QString());
    return answer == QMessageBox::Ok;
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
    } catch (const FileWriteError&) {
        showError(
            QStringLiteral("CSV ファイル「%1」に書き込めません。フォルダーがあり、書き込みできるか確かめてください。")
                .arg(path));
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
