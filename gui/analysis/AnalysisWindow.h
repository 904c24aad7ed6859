// The window of an analysis view: its description, legend, grid and
// buttons, all as the analysis declares them.
#pragma once

#include <memory>

#include "core/analysis/AnalysisView.h"
#include "gui/common/ChildView.h"
#include "gui/common/PrintProgress.h"

class QLabel;
class QPagedPaintDevice;
class QPushButton;

namespace rumone {

class GridWidget;
class ResultGrid;

class AnalysisWindow : public ChildView {
    Q_OBJECT
public:
    AnalysisWindow(ViewHost& host, const AnalysisViewSpec& spec, QWidget* parent = nullptr);
    ~AnalysisWindow() override;

    GridWidget* gridWidget() const { return grid_; }
    const AnalysisViewSpec& spec() const { return spec_; }
    QString helpKeywords() const override { return QString::fromStdString(spec_.helpKeyword); }
    // The whole table on `device` under the window's caption, pages first
    // to last (0: to the end): what 印刷 does once a printer is chosen.
    PrintResult printGrid(QPagedPaintDevice& device, int first = 1, int last = 0,
                          const PrintProgress& progress = {}) const;

protected:
    QSize sizeInTwips() const override;
    void build() override;
    bool letMessagesRunAfterBuild() const override { return spec_.letMessagesRunAfterBuild; }
    void resizeEvent(QResizeEvent* event) override;

private:
    void createLegend();
    void arrangeControls();
    void onChartClicked();

    const AnalysisViewSpec& spec_;
    std::shared_ptr<ResultGrid> model_;
    QLabel* label1_ = nullptr;
    GridWidget* grid_ = nullptr;
    QPushButton* close_ = nullptr;
    QPushButton* print_ = nullptr;
    QPushButton* chart_ = nullptr;  // グラフ: the picture beside the table
    std::vector<QWidget*> legend_;
};

}  // namespace rumone
