// 当選データ入力: the draw table in a grid bound to an editable result set.
// Every digit the user commits, every added and deleted row goes straight
// to the database file; closing checks the digits first.
#pragma once

#include <QModelIndex>
#include <string>

#include "app/ChildView.h"

class QAction;
class QLabel;
class QPushButton;

namespace rumone {

class EntryGrid;
class EntryTableModel;

class EntryView : public ChildView {
    Q_OBJECT
public:
    EntryView(ViewHost& host, std::string connectionString, QWidget* parent = nullptr);

    QMenu* ViewMenu() const override { return editMenu_; }
    EntryGrid* grid() const { return grid_; }
    EntryTableModel* model() const { return model_; }
    QPushButton* closeButton() const { return close_; }

    // 行追加 / 行削除, each after the user's Yes.
    void AddLine();
    void DeleteLine();
    // 閉じる: the first wrong digit stops the close and becomes current.
    bool CloseChecked();
    // The first digit cell in row order whose text is not a digit 0-9
    // (empty cells are fine); invalid when there is none.
    QModelIndex FirstWrongDigitCell() const;

    // Bulk entry from and to CSV files; false when nothing was done.
    bool ImportCsv(const QString& path);
    bool ExportCsv(const QString& path);

protected:
    QSize SizeInTwips() const override;
    bool SizeIsClientArea() const override { return true; }
    void Build() override;

private:
    void CreateEditMenu();
    void ChooseImportFile();
    void ChooseExportFile();
    void OnWriteFailed(const QString& message, bool reread);
    bool Confirm(const QString& text);
    void ShowError(const QString& text);
    void ShowInfo(const QString& text);

    std::string connectionString_;
    EntryTableModel* model_ = nullptr;
    EntryGrid* grid_ = nullptr;
    QLabel* label_ = nullptr;
    QPushButton* close_ = nullptr;
    QMenu* editMenu_ = nullptr;
};

}  // namespace rumone
