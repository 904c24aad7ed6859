// The picture of an analysis view beside its table: the view's figures
// against the range chance alone gives, over the whole history or the
// latest draws, with the verdict the figures support under it.
#pragma once

#include "core/analysis/AnalysisView.h"
#include "core/analysis/chance/ChanceVerdict.h"
#include "gui/common/ChildView.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace rumone {

class ChancePicture;

class ChanceChartWindow : public ChildView {
    Q_OBJECT
public:
    ChanceChartWindow(ViewHost& host, const AnalysisViewSpec& spec, QWidget* parent = nullptr);

    // The window name of the picture of view `spec`.
    static QString windowNameFor(const AnalysisViewSpec& spec);

    // Periods in the order of the choice: every draw, the latest 100, 50.
    void choosePeriod(int index);
    const ChanceFigures& figures() const { return figures_; }
    ChancePicture* chartView() const { return chart_; }
    QString verdictText() const;
    // The picture with its verdict line as one image.
    QImage pictureImage() const;
    // False when it could not be saved, with the reason in `problem`.
    bool savePicture(const QString& path, QString* problem = nullptr) const;
    // Closed when the history changes: its figures are those of the
    // history it was opened on.
    bool rebuildOnNewHistory() override { return false; }

protected:
    QSize sizeInTwips() const override;
    void build() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void showPeriod();
    void arrangeControls();
    void onSaveClicked();
    void onPrintClicked();

    const AnalysisViewSpec& spec_;
    ChanceFigures figures_;
    QComboBox* period_ = nullptr;
    QLabel* periodNote_ = nullptr;
    ChancePicture* chart_ = nullptr;
    QLabel* verdict_ = nullptr;
    QPushButton* close_ = nullptr;
    QPushButton* print_ = nullptr;
    QPushButton* save_ = nullptr;
};

}  // namespace rumone
