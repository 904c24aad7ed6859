#include "gui/common/PrintDialog.h"

#include <QFile>
#include <QMarginsF>
#include <QMessageBox>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <algorithm>

#include "core/store/SafeFile.h"
#include "gui/common/Messages.h"

namespace rumone {

namespace {

// Where a print takes longer than this, its progress is shown.
constexpr int kShowProgressAfterMs = 400;

}  // namespace

PrintResult printToWholeFile(QPrinter& printer, const PrintProgress& progress, const PrintJob& print)
{
    const QString named = printer.outputFileName();
    if (named.isEmpty())
        return print(printer, progress);
    // Written as any file the program replaces (core/store/SafeFile.h): a
    // new file beside the target that takes its place only when whole;
    // what a killed print left is removed later.
    const std::string path = QFile::encodeName(named).toStdString();
    removeStaleTemporaries(path);
    FileReplacement replacement(path);
    printer.setOutputFileName(QFile::decodeName(replacement.newPath().c_str()));
    const PrintResult result = print(printer, progress);
    printer.setOutputFileName(named);
    if (result == PrintResult::Printed)
        replacement.commit();
    return result;
}

PrintResult printShowingProgress(QWidget* owner, QPrinter& printer, const PrintJob& print)
{
    QProgressDialog shown(QStringLiteral("印刷しています。"), QStringLiteral("キャンセル"), 0, 1, owner);
    shown.setObjectName("dlgPrintProgress");
    shown.setWindowTitle(programCaption());
    shown.setWindowModality(Qt::WindowModal);
    shown.setMinimumDuration(kShowProgressAfterMs);
    shown.setAutoClose(false);
    shown.setAutoReset(false);
    const PrintProgress progress = [&shown](int done, int total) {
        shown.setMaximum(std::max(total, 1));
        shown.setLabelText(QStringLiteral("印刷しています。（%1 / %2 ページ）").arg(done).arg(total));
        shown.setValue(done);  // lets the window system run while the dialog is modal
        return !shown.wasCanceled();
    };
    return printToWholeFile(printer, progress, print);
}

void printThroughDialog(QWidget* owner, const QString& documentName, const PrintJob& print)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(documentName);
    printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    QPrintDialog dialog(&printer, owner);
    if (dialog.exec() != QDialog::Accepted)
        return;

    PrintResult result = PrintResult::Failed;
    try {
        result = printShowingProgress(owner, printer, print);
    } catch (const FileWriteError& e) {
        showMessage(owner, QMessageBox::Warning, programCaption(), QString::fromUtf8(e.what()));
        return;
    }
    if (result == PrintResult::Failed)
        showMessage(owner, QMessageBox::Warning, programCaption(),
                    QStringLiteral("印刷できませんでした。プリンターの設定を確かめてください。"));
}

}  // namespace rumone
