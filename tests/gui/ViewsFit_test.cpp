// Every view opened in a frame of a 1366 x 768 laptop screen (and, run
// again with QT_SCALE_FACTOR=1.5, at 150 %) fits the frame's client area:
// its buttons and the row of its latest draw are in sight.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <filesystem>

#include "core/analysis/AnalysisView.h"
#include "core/grid/ResultGrid.h"
#include "entry/EntryTestHelpers.h"
#include "gui/MainWindow.h"
#include "gui/analysis/AnalysisWindow.h"
#include "gui/analysis/ChanceChartWindow.h"
#include "gui/grid/GridWidget.h"

namespace rumone::test {
namespace {

std::vector<QString> everyViewName()
{
    std::vector<QString> names = {QStringLiteral("当選データ入力"), QStringLiteral("一発ルモーネ"),
                                  QStringLiteral("予想検証"),       QStringLiteral("バージョン情報"),
                                  QStringLiteral("購入記録"),       QStringLiteral("自分の条件")};
    for (const AnalysisViewSpec& spec : analysisViews()) {
        names.push_back(QString::fromStdString(spec.objectName));
        if (spec.chance)
            names.push_back(ChanceChartWindow::windowNameFor(spec));
    }
    return names;
}

// The last row of a table that opens at the latest draws; 0 for none.
int lastDrawRow(const GridWidget& grid)
{
    const ResultGrid* model = grid.grid();
    if (!model || model->drawColumn() == 0)
        return 0;
    for (int row = model->rows(); row > model->frozenRows(); --row)
        if (model->numberAt(model->drawColumn(), row))
            return row;
    return 0;
}

// Whole inside the area's viewport, in its coordinates.
::testing::AssertionResult inSight(const QWidget& w, const QRect& rect, const QWidget& area)
{
    const QRect seen(w.mapTo(&area, rect.topLeft()), rect.size());
    if (area.rect().contains(seen))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << w.objectName().toStdString() << " at (" << seen.x() << "," << seen.y()
                                         << " " << seen.width() << "x" << seen.height() << ") outside " << area.width()
                                         << "x" << area.height();
}

TEST(ViewsFit, EveryViewShowsItsButtonsAndLatestDrawOnALaptopScreen)
{
    TempDir dir;
    InFolder inDir(dir.path());
    std::vector<Row> rows;
    for (int n = 1; n <= 400; ++n)
        rows.push_back({n, {n % 10, (n * 3) % 10, (n * 7) % 10, (n * 9) % 10}});
    makeDatabase(dir.path(), rows);
    MainWindow frame;
    ASSERT_TRUE(frame.load(QString::fromStdString(dir.path())));
    const qreal ratio = frame.devicePixelRatioF();
    frame.resize(QSize(1366, 768) / ratio);
    frame.show();
    QApplication::processEvents();
    QWidget& area = *frame.mdiArea()->viewport();

    for (const QString& name : everyViewName()) {
        SCOPED_TRACE(name.toStdString() + " at ratio " + std::to_string(ratio));
        ChildView* view = frame.showView(name);
        ASSERT_NE(view, nullptr);
        QApplication::processEvents();
        EXPECT_TRUE(inSight(*view->parentWidget(), view->parentWidget()->rect(), area));
        for (QPushButton* button : view->findChildren<QPushButton*>()) {
            if (button->isVisible()) {
                EXPECT_TRUE(inSight(*button, button->rect(), area));
                EXPECT_GE(button->width(), button->sizeHint().width()) << button->text().toStdString();
            }
        }
        for (GridWidget* grid : view->findChildren<GridWidget*>()) {
            if (const int row = lastDrawRow(*grid)) {
                EXPECT_TRUE(inSight(*grid->viewport(), grid->cellRect(1, row), area));
            }
        }
        if (auto* entry = qobject_cast<EntryView*>(view)) {
            const QModelIndex last = entry->model()->index(entry->model()->rowCount() - 1, 1);
            EXPECT_TRUE(inSight(*entry->grid()->viewport(), entry->grid()->visualRect(last), area));
        }
        // Maximised, an analysis view's description stays clear of its
        // legend, its table and its buttons.
        if (QWidget* label = view->findChild<QWidget*>("Label1", Qt::FindDirectChildrenOnly);
            label && qobject_cast<AnalysisWindow*>(view)) {
            view->parentWidget()->showMaximized();
            QApplication::processEvents();
            for (QWidget* other : view->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (other != label && other->isVisible()) {
                    EXPECT_FALSE(label->geometry().intersects(other->geometry())) << other->objectName().toStdString();
                }
            }
        }
        frame.closeAllViews();
        QApplication::processEvents();
    }
}

}  // namespace
}  // namespace rumone::test
