// The program's file dialogs, and the seam through which tests choose a
// file without a dialog.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <optional>
#include <vector>

namespace rumone {

// A chosen file: its path (empty when the dialog was cancelled) and the
// index of the filter it was chosen under.
struct FileChoice {
    QString path;
    int filter = 0;
};

// Asks in a modal dialog for a file to read, or to write when `save`;
// `filters` lists the choices of type (";;" between them), the first shown
// first.
// The dialog opens in the folder of the last file chosen, else in the
// user's documents folder (dialogStartPath).
FileChoice chooseFile(QWidget* owner, bool save, const QString& caption, const QString& suggested,
                      const QString& filters);
// Where a dialog starts: `suggested` itself when it is absolute, else the
// suggested name in the last folder used when that folder is still there,
// else in `documents` (the home folder when that is empty).
QString dialogStartPath(const QString& suggested, const QString& lastFolder, const QString& documents);

// Asks in a modal dialog for one or more files to read; empty when
// cancelled. A script (ScriptedFileChoices) answers with one file.
QStringList chooseFilesToRead(QWidget* owner, const QString& caption, const QString& filters);

// The file a CSV export writes, chosen where UTF-8 and Shift-JIS are
// offered; nullopt when cancelled.
struct CsvTarget {
    QString path;
    bool cp932 = false;
};
std::optional<CsvTarget> chooseCsvTarget(QWidget* owner, const QString& suggestedName);

// While an object of this class lives, chooseFile shows no dialog: it
// answers each with the next of `choices` (then as Cancel would) and
// records its caption. Objects nest as scopes do; the newest answers.
class ScriptedFileChoices {
public:
    explicit ScriptedFileChoices(std::vector<FileChoice> choices);
    ~ScriptedFileChoices();
    ScriptedFileChoices(const ScriptedFileChoices&) = delete;
    ScriptedFileChoices& operator=(const ScriptedFileChoices&) = delete;

    const std::vector<QString>& asked() const { return asked_; }

    // Used by chooseFile: answers the dialog when a script is active.
    static bool answer(const QString& caption, FileChoice& choice);

private:
    std::vector<FileChoice> choices_;
    std::vector<QString> asked_;
    ScriptedFileChoices* older_ = nullptr;
};

}  // namespace rumone
