#include "gui/common/PrintDialog.h"

#include <stdio.h>
#include <unistd.h>

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
    // Written where a link at the name points, under a name of its own
    // beside it with the permissions of any new file, and renamed over the
    // target only when whole; what a killed print left is removed later.
    const std::string target = resolveLinks(QFile::encodeName(named).toStdString());
    removeStaleTemporaries(target);
    std::string partial;
    try {
        partial = createEmptyBeside(target);
    } catch (const FileWriteError&) {
        return PrintResult::Failed;
    }
    printer.setOutputFileName(QFile::decodeName(partial.c_str()));
    PrintResult result = print(printer, progress);
    printer.setOutputFileName(named);
    // rename() puts the new file in place of an old one in one step.
    if (result == PrintResult::Printed && ::rename(partial.c_str(), target.c_str()) == 0)
        return result;
    ::unlink(partial.c_str());
    return result == PrintResult::Printed ? PrintResult::Failed : result;
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
