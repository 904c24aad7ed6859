// The steps of a bulk entry (CSV取込, 貼り付けて取込) shared by the entry
// view and the frame: reading the draws off the window thread, the
// question before writing, and the writing itself where no entry view is
// open. Each step tells the user of its failures in a box over `owner`.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

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

// What would change, before anything is written: every new draw with what
// its source gave and every changed one; true for 取込.
bool confirmImport(QWidget* owner, const ImportPreview& preview, const std::vector<SourceDraw>& draws);
// "取り込みました（…）", or the note that every draw is stored already.
void tellImported(QWidget* owner, const ImportCounts& counts, const ImportPreview& preview);
void tellNothingToImport(QWidget* owner, const ImportPreview& preview);

// The whole import into the file itself, for the frame: previewed against
// what the file holds, asked, written in one transaction. True when
// something was written.
bool importDrawsIntoDatabase(QWidget* owner, const DrawDatabaseRef& database, const std::vector<SourceDraw>& draws);

}  // namespace rumone
