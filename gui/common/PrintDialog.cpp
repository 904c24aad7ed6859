#include "gui/common/PrintDialog.h"

#include <QMarginsF>
#include <QMessageBox>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>

#include "gui/common/Messages.h"
#include "gui/common/WaitCursor.h"

namespace rumone {

void printThroughDialog(QWidget* owner, const QString& documentName, const std::function<bool(QPrinter&)>& print)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(documentName);
    printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    QPrintDialog dialog(&printer, owner);
    if (dialog.exec() != QDialog::Accepted)
        return;
    bool printed = false;
    {
        WaitCursor wait;
        printed = print(printer);
    }
    if (!printed)
        showMessage(owner, QMessageBox::Warning, programCaption(),
                    QStringLiteral("印刷できませんでした。プリンターの設定を確かめてください。"));
}

}  // namespace rumone
