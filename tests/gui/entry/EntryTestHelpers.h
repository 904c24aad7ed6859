// Helpers of the entry view tests: databases in temporary folders, the
// file's contents read independently, a minimal host for the view.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/store/DrawDatabase.h"
#include "core/store/DrawStore.h"
#include "gui/common/ChildView.h"
#include "gui/common/Messages.h"
#include "gui/entry/EntryGrid.h"
#include "gui/entry/EntryTableModel.h"
#include "gui/entry/EntryView.h"
#include "support/TestSupport.h"

namespace rumone::test {

using Lines = std::vector<std::string>;

inline std::string shortValueText(const DbValue& v)
{
    switch (v.type) {
        case DbValue::Type::Null:
            return "-";
        case DbValue::Type::Integer:
            return std::to_string(v.integer);
        case DbValue::Type::Real:
            return "r" + std::to_string(v.real).substr(0, 3);
        default:
            return "'" + v.text + "'";
    }
}

inline std::string rowText(const DbValue& number, const std::array<DbValue, 4>& digits)
{
    std::string s = shortValueText(number) + ":";
    for (const DbValue& d : digits)
        s += " " + shortValueText(d);
    return s;
}

// "回数: d d d d" for every row of the file, read by a fresh snapshot.
inline Lines onDisk(const std::string& dbPath)
{
    Lines out;
    const DrawSnapshot snapshot = openDrawSnapshot(drawDatabaseAt(dbPath));
    for (const DrawRecord& r : snapshot.rows())
        out.push_back(rowText(r.number, r.digits));
    return out;
}

// The same for the rows behind the grid, in grid order.
inline Lines inGrid(const EntryTableModel& model)
{
    Lines out;
    for (const EditRow& r : model.rows())
        out.push_back(rowText(r.number, r.digits));
    return out;
}

inline Lines sorted(Lines lines)
{
    std::sort(lines.begin(), lines.end(),
              [](const std::string& a, const std::string& b) { return std::stoll(a) < std::stoll(b); });
    return lines;
}

// Rumone.mdb in `folder`, holding `rows`.
inline std::string makeDatabase(const std::string& folder, const std::vector<Row>& rows)
{
    const std::string path = folder + "/" + kDatabaseFileName;
    createDrawDatabase(path);
    if (!rows.empty())
        openDrawEditSet(drawDatabaseAt(path)).importDraws(editRowsOf(rows));
    return path;
}

// Runs SQL on the file behind the program's back (values it never writes).
inline void rawExec(const std::string& dbPath, const std::string& sql)
{
    sqlite::Connection db = openKeyedDatabase(drawDatabaseAt(dbPath), OpenAccess::ReadWrite);
    ASSERT_EQ(sqlite::exec(db.get(), sql), SQLITE_OK) << sqlite3_errmsg(db.get());
}

// Runs a test in `to`, where the options file written at exit lands.
class InFolder {
public:
    explicit InFolder(const std::string& to) : old_(std::filesystem::current_path())
    {
        std::filesystem::current_path(to);
    }
    ~InFolder() { std::filesystem::current_path(old_); }

private:
    std::filesystem::path old_;
};

class FakeHost : public ViewHost {
public:
    void setPropEnd(bool value) override { openViews += value ? -1 : 1; }
    const DrawHistory& drawHistory() const override { return history; }
    void showStatusNote(const QString& text) override { notes.push_back(text); }
    int openViews = 0;
    std::vector<QString> notes;
    DrawHistory history;
};

// An entry view in an MDI area of its own, loaded on the database in
// `folder`.
class HostedEntryView {
public:
    explicit HostedEntryView(const std::string& folder)
    {
        area_.resize(800, 1000);
        area_.show();
        view_ = new EntryView(host_, parseConnectionString(buildConnectionString(folder)));
        sub_ = area_.addSubWindow(view_);
        view_->load();
        sub_->show();
    }
    EntryView& view() const { return *view_; }
    EntryTableModel& model() const { return *view_->model(); }
    EntryGrid& grid() const { return *view_->grid(); }
    QMdiSubWindow* sub() const { return sub_; }
    QMdiArea& area() { return area_; }
    FakeHost& host() { return host_; }
    QModelIndex cell(int row, int column) const { return model().index(row, column); }

private:
    FakeHost host_;
    QMdiArea area_;
    EntryView* view_ = nullptr;
    QMdiSubWindow* sub_ = nullptr;
};

// Waits until the catcher has answered a box, or a few seconds.
inline bool waitFor(const ScriptedAnswers& catcher, int ms = 10000)
{
    return QTest::qWaitFor([&] { return catcher.seen(); }, ms);
}

}  // namespace rumone::test
