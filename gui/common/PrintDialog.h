// The 印刷 button's dialog: the printer chosen in a modal print dialog
// owned by the view; a cancelled dialog prints nothing.
#pragma once

#include <functional>

class QPrinter;
class QString;
class QWidget;

namespace rumone {

// Opens the dialog and, when the user confirms it, hands the printer to
// `print`, which paints the document and says whether that succeeded. A
// failure is reported to the user.
void printThroughDialog(QWidget* owner, const QString& documentName, const std::function<bool(QPrinter&)>& print);

}  // namespace rumone
