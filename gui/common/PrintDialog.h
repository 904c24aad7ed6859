// The 印刷 button's dialog: the printer chosen in a modal print dialog
// owned by the view; a cancelled dialog prints nothing. A long print shows
// its pages as it goes and can be cancelled; a file being printed to
// appears only whole.
#pragma once

#include <functional>

#include "gui/common/PrintProgress.h"

class QPrinter;
class QString;
class QWidget;

namespace rumone {

using PrintJob = std::function<PrintResult(QPrinter&, const PrintProgress&)>;

// Opens the dialog and, when the user confirms it, hands the printer to
// `print`, which paints the document, telling the progress shown to the
// user, and says how that ended. A failure is reported to the user.
void printThroughDialog(QWidget* owner, const QString& documentName, const PrintJob& print);

// Runs `print`; where the printer writes a file, the pages go to a new
// file beside it that takes the file's name only once printing succeeds.
// A cancelled or failed run leaves no file behind and the file that was
// there untouched. A file that cannot be written there (a pipe, a device,
// a circle of links; core/store/SafeFile.h's FileReplacement) throws
// FileWriteError before anything is printed.
PrintResult printToWholeFile(QPrinter& printer, const PrintProgress& progress, const PrintJob& print);

// printToWholeFile with the pages shown as they go in a progress dialog
// over `owner` (after a short wait) whose キャンセル stops the run, which
// then ends as Cancelled. Throws FileWriteError as printToWholeFile does.
PrintResult printShowingProgress(QWidget* owner, QPrinter& printer, const PrintJob& print);

}  // namespace rumone
