// The steps of a bulk entry (CSV取込, 貼り付けて取込) shared by the entry
// view and the frame: reading the draws and working out what they change
// off the window thread, the question before writing, and the writing itself where no entry view is
// open. Each step tells the user of its failures in a box over `owner`.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <vector>

#include "core/store/DrawDetailsStore.h"
#include "core/store/DrawImport.h"
#include "core/store/DrawSource.h"
#include "core/store/DrawStore.h"

class QWidget;

namespace rumone {

// The draws of one or more files, or of pasted text, read on a thread of
// their own while `owner` shows the import's progress; nothing when the
// source cannot be read or holds no draw.
std::optional<std::vector<SourceDraw>> readDrawsFromFiles(QWidget* owner, const QStringList& paths);
std::optional<std::vector<SourceDraw>> readDrawsFromPastedText(QWidget* owner, const QString& text);

// What an import of `draws` would change against the stored rows and
// details, with the lines its question lists.
struct ImportQuestion {
    ImportPreview preview;
    std::vector<std::string> added;    // each new draw with what its source gave
    std::vector<std::string> changed;  // each stored number, date or prize that would change
    std::string allLines;              // added and changed, a line each, when the question cannot list them all
};

// The question worked out on a thread of its own while `owner` shows the
// import's progress.
ImportQuestion importQuestion(QWidget* owner, const std::vector<SourceDraw>& draws, std::vector<EditRow> stored,
                              StoredDetails storedDetails);

// What would change, before anything is written: every new draw with what
// its source gave and every changed one; true for 取込.
bool confirmImport(QWidget* owner, const ImportQuestion& question);
// "取り込みました（…）", or the note that every draw is stored already.
void tellImported(QWidget* owner, const ImportCounts& counts, const ImportPreview& preview);
void tellNothingToImport(QWidget* owner, const ImportPreview& preview);

// The whole import into the file itself, for the frame: previewed against
// what the file holds, asked, written in one transaction. True when
// something was written.
bool importDrawsIntoDatabase(QWidget* owner, const DrawDatabaseRef& database, const std::vector<SourceDraw>& draws);

}  // namespace rumone
