#include "gui/grid/GridCommands.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "core/grid/GridExport.h"
#include "core/store/SafeFile.h"
#include "gui/common/FileDialogs.h"
#include "gui/common/Messages.h"
#include "gui/common/PrintDialog.h"
#include "gui/grid/GridPrinter.h"
#include "gui/grid/GridWidget.h"

namespace rumone {

namespace {

void warn(QWidget* owner, const QString& text)
{
    showMessage(owner, QMessageBox::Warning, programCaption(), text);
}

// A spin box over the draws the table shows.
QSpinBox* drawSpin(QWidget* parent, long first, long last, long value, const QString& name)
{
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(name);
    spin->setRange(static_cast<int>(first), static_cast<int>(last));
    spin->setValue(static_cast<int>(value));
    return spin;
}

}  // namespace

QString gridCaption(const GridWidget& grid)
{
    for (const QWidget* w = grid.parentWidget(); w; w = w->parentWidget())
        if (!w->windowTitle().isEmpty())
            return w->windowTitle();
    return {};
}

void askAndGoToDraw(GridWidget& grid)
{
    const ResultGrid* model = grid.grid();
    if (!model)
        return;
    const std::optional<long> first = firstDrawShown(*model);
    const std::optional<long> last = lastDrawShown(*model);
    if (!first || !last)
        return;
    bool ok = false;
    const int number = QInputDialog::getInt(&grid, QStringLiteral("指定の回へ移動"),
                                            QStringLiteral("回数（第%1回～第%2回）:").arg(*first).arg(*last),
                                            static_cast<int>(*last), 0, 32767, 1, &ok);
    if (ok && !grid.goToDraw(number))
        warn(&grid, QStringLiteral("第%1回はこの表にありません。").arg(number));
}

// The file types offered, the table's usual content first: the data alone
// (for a spreadsheet) or the table as shown, each in UTF-8 and Shift-JIS.
std::vector<GridCsvChoice> gridCsvChoices(bool dataFirst)
{
    const GridCsvChoice data[] = {
        {QStringLiteral("CSV ファイル データのみ UTF-8 (*.csv)"), CsvContent::DataOnly, TextEncoding::Utf8WithBom},
        {QStringLiteral("CSV ファイル データのみ Shift-JIS (*.csv)"), CsvContent::DataOnly, TextEncoding::Cp932}};
    const GridCsvChoice shown[] = {
        {QStringLiteral("CSV ファイル 表のとおり UTF-8 (*.csv)"), CsvContent::AsShown, TextEncoding::Utf8WithBom},
        {QStringLiteral("CSV ファイル 表のとおり Shift-JIS (*.csv)"), CsvContent::AsShown, TextEncoding::Cp932}};
    std::vector<GridCsvChoice> out;
    for (const auto& group : dataFirst ? std::array{&data, &shown} : std::array{&shown, &data})
        out.insert(out.end(), std::begin(*group), std::end(*group));
    return out;
}

QString exportGridCsv(const ResultGrid& grid, const QString& path, TextEncoding encoding, CsvContent content)
{
    try {
        replaceFileWith(QFile::encodeName(path).toStdString(), gridCsvFile(grid, encoding, content));
    } catch (const GridCsvError& e) {
        return QStringLiteral("CSV ファイル「%1」を書き出せません。\n\n%2").arg(path, QString::fromUtf8(e.what()));
    } catch (const FileWriteError& e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

void chooseFileAndExportCsv(GridWidget& grid)
{
    const ResultGrid* model = grid.grid();
    if (!model)
        return;
    const std::vector<GridCsvChoice> choices = gridCsvChoices(grid.csvDataFirst());
    QStringList filters;
    for (const GridCsvChoice& c : choices)
        filters << c.filter;
    const FileChoice file = chooseFile(&grid, true, QStringLiteral("書き出す CSV ファイル"),
                                       gridCaption(grid) + QStringLiteral(".csv"), filters.join(QStringLiteral(";;")));
    if (file.path.isEmpty())
        return;
    const GridCsvChoice& chosen = choices[static_cast<std::size_t>(std::clamp<int>(file.filter, 0, 3))];
    const QString problem = exportGridCsv(*model, file.path, chosen.encoding, chosen.content);
    if (!problem.isEmpty())
        warn(&grid, problem);
}

bool askRowsToPrint(GridWidget& grid, RowRun& rows)
{
    rows = {};
    const ResultGrid* model = grid.grid();
    const std::optional<long> first = model ? firstDrawShown(*model) : std::nullopt;
    const std::optional<long> last = model ? lastDrawShown(*model) : std::nullopt;
    if (!first || !last)
        return true;  // no draws to choose from: the whole table

    QDialog dialog(&grid);
    dialog.setObjectName("dlgPrintDraws");
    dialog.setWindowTitle(QStringLiteral("印刷する回"));
    auto* all = new QRadioButton(QStringLiteral("すべての回（第%1回～第%2回）").arg(*first).arg(*last), &dialog);
    all->setObjectName("optAll");
    auto* latest = new QRadioButton(QStringLiteral("最新の"), &dialog);
    latest->setObjectName("optLatest");
    auto* between = new QRadioButton(QStringLiteral("第"), &dialog);
    between->setObjectName("optBetween");
    auto* count = new QSpinBox(&dialog);
    count->setObjectName("spnLatest");
    count->setRange(1, static_cast<int>(*last - *first + 1));
    count->setValue(std::min(50, count->maximum()));
    QSpinBox* from = drawSpin(&dialog, *first, *last, std::max(*first, *last - 49), "spnFrom");
    QSpinBox* to = drawSpin(&dialog, *first, *last, *last, "spnTo");
    all->setChecked(true);

    auto* form = new QGridLayout;
    form->addWidget(all, 0, 0, 1, 5);
    form->addWidget(latest, 1, 0);
    form->addWidget(count, 1, 1);
    form->addWidget(new QLabel(QStringLiteral("回"), &dialog), 1, 2);
    form->addWidget(between, 2, 0);
    form->addWidget(from, 2, 1);
    form->addWidget(new QLabel(QStringLiteral("回から 第"), &dialog), 2, 2);
    form->addWidget(to, 2, 3);
    form->addWidget(new QLabel(QStringLiteral("回まで"), &dialog), 2, 4);
    auto* note = new QLabel(QStringLiteral("ページの範囲は、プレビューの印刷ボタンの後で選べます。"), &dialog);
    auto* buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(QStringLiteral("プレビュー"), QDialogButtonBox::AcceptRole)->setObjectName("cmdPreview");
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* box = new QVBoxLayout(&dialog);
    box->addLayout(form);
    box->addWidget(note);
    box->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (latest->isChecked())
        rows = latestDrawRows(*model, count->value());
    else if (between->isChecked())
        rows = drawRowsBetween(*model, from->value(), to->value());
    if ((latest->isChecked() || between->isChecked()) && rows.empty()) {
        warn(&grid, QStringLiteral("選んだ範囲の回はこの表にありません。"));
        return false;
    }
    return true;
}

void printWithPreview(GridWidget& grid)
{
    const ResultGrid* model = grid.grid();
    RowRun rows;
    if (!model || !askRowsToPrint(grid, rows))
        return;
    const QString caption = gridCaption(grid);
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(caption);
    printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    QPrintPreviewDialog preview(&printer, &grid);
    preview.setObjectName("dlgPrintPreview");
    preview.setWindowTitle(QStringLiteral("印刷プレビュー - %1").arg(caption));
    bool failed = false;
    QString refused;
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&](QPrinter* target) {
        const PrintJob job = [&](QPrinter& p, const PrintProgress& progress) {
            GridPrinter pages(*model, caption);
            pages.setRows(rows);
            // A page range left open reads as 0 to 0: every page.
            return pages.print(p, std::max(p.fromPage(), 1), p.toPage(), progress);
        };
        try {
            // The preview and the print alike: every page of a long table
            // takes a while, shown with a cancel.
            failed = printShowingProgress(&preview, *target, job) == PrintResult::Failed;
        } catch (const FileWriteError& e) {
            refused = QString::fromUtf8(e.what());
        }
    });
    preview.exec();
    if (!refused.isEmpty())
        warn(&grid, refused);
    else if (failed)
        warn(&grid, QStringLiteral("印刷できませんでした。プリンターの設定を確かめてください。"));
}

}  // namespace rumone
