// Qt's own Japanese texts for its standard buttons (Yes/No/OK/Cancel) and
// its file, print and print-preview dialogs.
#pragma once

class QCoreApplication;
class QTranslator;

namespace rumone {

// Loads qtbase_ja.qm from Qt's translations folder into `app` and returns
// the translator (owned by `app`). Nullptr, and nothing changed, when it is
// not installed: the dialogs then stay in English and the program runs on.
// The few print-dialog texts the translation lacks come from the program.
QTranslator* installQtJapanese(QCoreApplication& app);

}  // namespace rumone
