// 当選データ入力: the draw table in a grid bound to an editable result set.
// Every digit the user commits, every added and deleted row goes straight
// to the database file; closing checks the digits first.
#pragma once

#include <QModelIndex>
#include <string>

#include "core/store/DrawCsv.h"
#include "core/store/DrawStore.h"
#include "gui/common/ChildView.h"

class QAction;
class QLabel;
class QPushButton;

namespace rumone {

class EntryGrid;
class EntryTableModel;

class EntryView : public ChildView {
    Q_OBJECT
public:
    EntryView(ViewHost& host, DrawDatabaseRef database, QWidget* parent = nullptr);

    QMenu* viewMenu() const override { return editMenu_; }
    EntryGrid* grid() const { return grid_; }
    EntryTableModel* model() const { return model_; }
    QPushButton* closeButton() const { return close_; }
    // The rows come from the file itself, whatever the host holds.
    bool rebuildOnNewHistory() override { return true; }

    // 行追加 / 行削除, each after the user's Yes.
    void addLine();
    void deleteLine();
    // 閉じる: the first wrong digit stops the close and becomes current.
    bool closeChecked();
    // The first digit cell in row order whose text is not a digit 0-9
    // (empty cells are fine); invalid when there is none.
    QModelIndex firstWrongDigitCell() const;

    // Bulk entry from and to CSV files; false when nothing was done. Files
    // are read as UTF-8 or CP932 (decided by their bytes) and written as
    // UTF-8 with a byte order mark, which Excel recognises, or as CP932.
    bool importCsv(const QString& path);
    bool exportCsv(const QString& path, CsvEncoding encoding = CsvEncoding::Utf8WithBom);
    // 貼り付けて取込 with `text` as the clipboard's: lines copied from a
    // results page or a spreadsheet (parsePastedDraws).
    bool importPastedText(const QString& text);

protected:
    QSize sizeInTwips() const override;
    bool sizeIsClientArea() const override { return true; }
    void build() override;
    void closeEvent(QCloseEvent* event) override;
    // The grid's first paint: the rows before those shown are read next.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Reads the rows before those shown, which stay where they are on screen.
    void readRemainingRows();
    void createEditMenu();
    void chooseImportFile();
    void chooseExportFile();
    void pasteAndImport();
    bool importPreviewed(const std::vector<EditRow>& draws, const DrawDetailsList& details = {});
    bool confirmImport(const ImportPreview& preview);
    void onWriteFailed(const QString& message, bool reread);
    void tellHostOfWrittenDraws();
    bool confirm(const QString& text);
    void showError(const QString& text);
    void showInfo(const QString& text);

    DrawDatabaseRef database_;
    EntryTableModel* model_ = nullptr;
    EntryGrid* grid_ = nullptr;
    QLabel* label_ = nullptr;
    QPushButton* close_ = nullptr;
    QMenu* editMenu_ = nullptr;
};

}  // namespace rumone
