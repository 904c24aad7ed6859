// The commands a table offers beside its cells: going to a draw, CSV
// export and printing with a preview. Each asks what it needs in a dialog
// owned by the table's window and reports a failure in a message box.
#pragma once

#include <QKeyEvent>
#include <QString>

#include <vector>

#include "core/grid/GridDrawRows.h"
#include "core/grid/GridExport.h"
#include "core/text/TextEncoding.h"

namespace rumone {

class GridWidget;
class ResultGrid;

// Shift+F10, which opens a table's context menu as the menu key does.
inline bool isContextMenuKey(const QKeyEvent& key)
{
    return key.key() == Qt::Key_F10 && key.modifiers() == Qt::ShiftModifier;
}

// The caption of the window the table stands in ("" for none).
QString gridCaption(const GridWidget& grid);

// Asks for a draw number and goes there; a draw the table does not show
// is said so.
void askAndGoToDraw(GridWidget& grid);

// Writes the table's CSV to `path` whole or not at all. The problem in a
// sentence for the user, or "" when the file was written.
QString exportGridCsv(const ResultGrid& grid, const QString& path, TextEncoding encoding,
                      CsvContent content = CsvContent::AsShown);
// A file type of the CSV export: what the file holds, in which encoding.
struct GridCsvChoice {
    QString filter;
    CsvContent content;
    TextEncoding encoding;
};
// The four, in the order the save dialog offers them: the data alone first
// where `dataFirst` (the analysis views), else the table as shown first.
std::vector<GridCsvChoice> gridCsvChoices(bool dataFirst);
// Asks for a file (its content and encoding by its type) and writes the
// table's CSV to it.
void chooseFileAndExportCsv(GridWidget& grid);

// The rows to print: all of them (an empty run) or a run of draws, asked
// for where the table has a draw column. False when the user cancelled.
bool askRowsToPrint(GridWidget& grid, RowRun& rows);
// Asks for the draws, then shows the preview, from which the user prints.
void printWithPreview(GridWidget& grid);

}  // namespace rumone
