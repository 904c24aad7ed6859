#include "gui/common/PrintDialog.h"

#include <stdio.h>

#include <QFile>
#include <QMarginsF>
#include <QMessageBox>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QTemporaryFile>
#include <algorithm>

#include "gui/common/Messages.h"

namespace rumone {

namespace {

// Where a print takes longer than this, its progress is shown.
constexpr int kShowProgressAfterMs = 400;

}  // namespace

PrintResult printToWholeFile(QPrinter& printer, const PrintProgress& progress, const PrintJob& print)
{
    const QString target = printer.outputFileName();
    if (target.isEmpty())
        return print(printer, progress);
    // A name of its own beside the target, removed again unless it becomes
    // the target.
    QTemporaryFile partial(target + QStringLiteral(".XXXXXX.part"));
    if (!partial.open())
        return PrintResult::Failed;
    partial.close();
    printer.setOutputFileName(partial.fileName());
    PrintResult result = print(printer, progress);
    printer.setOutputFileName(target);
    if (result != PrintResult::Printed)
        return result;
    // rename() puts the new file in place of an old one in one step.
    if (::rename(QFile::encodeName(partial.fileName()).constData(), QFile::encodeName(target).constData()) != 0)
        return PrintResult::Failed;
    partial.setAutoRemove(false);
    return result;
}

void printThroughDialog(QWidget* owner, const QString& documentName, const PrintJob& print)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(documentName);
    printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    QPrintDialog dialog(&printer, owner);
    if (dialog.exec() != QDialog::Accepted)
        return;

    QProgressDialog shown(QStringLiteral("印刷しています。"), QStringLiteral("キャンセル"), 0, 1, owner);
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
    const PrintResult result = printToWholeFile(printer, progress, print);
    shown.close();
    if (result == PrintResult::Failed)
        showMessage(owner, QMessageBox::Warning, programCaption(),
                    QStringLiteral("印刷できませんでした。プリンターの設定を確かめてください。"));
}

}  // namespace rumone
