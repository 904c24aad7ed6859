// バージョン情報: the product name, its slogan and version, the database in
// use, and 閉じる.
#pragma once

#include "gui/common/ChildView.h"

namespace rumone {

class VersionWindow : public ChildView {
    Q_OBJECT
public:
    // `databaseInUse`: the database's path and place; no line when empty.
    explicit VersionWindow(ViewHost& host, const QString& databaseInUse = {}, QWidget* parent = nullptr);
    // It shows nothing of the history.
    bool rebuildOnNewHistory() override { return true; }

protected:
    QSize sizeInTwips() const override { return QSize(5400, 2700); }
    void build() override {}
    // Not an analysis: it does not keep the entry view away.
    bool reportsOpenState() const override { return false; }
};

}  // namespace rumone
