// 一発ルモーネ: the ten reflect switches on the left, the four prediction
// grids on the right. The window comes and goes; the Prediction object
// behind it (flags and working tables) lives from start-up to exit.
#pragma once

#include <array>
#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "core/store/DrawStore.h"
#include "gui/common/ChildView.h"

class QPagedPaintDevice;
class QPaintDevice;
class QLabel;
class QPainter;
class QRadioButton;

namespace rumone {

class GridWidget;
class Prediction;

class PredictionView : public ChildView {
    Q_OBJECT
public:
    PredictionView(ViewHost& host, Prediction& prediction, QWidget* parent = nullptr);
    ~PredictionView() override;

    QRadioButton* reflectButton(int index) const { return reflect_[index]; }
    QRadioButton* doNotReflectButton(int index) const { return doNotReflect_[index]; }
    GridWidget* gridWidget(int index) const { return grids_[index]; }
    // "第N回（2026年8月24日（月））の予想": the draw after the latest one of
    // the history, with its date as the host knows it.
    QLabel* targetLabel() const { return target_; }
    // The line under the grids: how the predictors did walk-forward with
    // the reflect count on the switches, filled in once the walk (off the
    // window's thread, after the first paint) is done.
    QLabel* checkLabel() const { return check_; }
    bool checking() const { return checkStart_ != CheckStart::None || checkThread_.joinable(); }
    // The database that 予想を記録 writes the shown prediction into; empty
    // for none.
    void setLogDatabase(DrawDatabaseRef database) { logDatabase_ = std::move(database); }
    // 予想を記録 is refused with `reason` (the database is open read-only).
    void refuseRecording(const QString& reason) { recordRefusal_ = reason; }
    // 予想を記録: freezes the shown prediction for the next draw in the log.
    void recordShownPrediction();
    // The check line's walk reads the history: it stops before the history
    // is replaced, and build starts it again on the new one.
    void stopReadingHistory() override { stopCheck(); }

    // What 印刷 prints once a printer is chosen: the switches and the four
    // prediction grids as the window shows them, on one page under the
    // window's caption. paintPrintPage paints that page with a painter on
    // `device`; printTo opens and closes the painter itself.
    void paintPrintPage(QPainter& painter, const QPaintDevice& device);
    bool printTo(QPagedPaintDevice& device);

protected:
    QSize sizeInTwips() const override;
    void build() override;

private:
    QWidget* createOptionsFrame();
    QWidget* createPredictionFrame();
    void breakLabelsBetweenPhrases();
    void showFlagsOnSwitches();
    void onSwitchClicked(int index, bool reflect);
    void refreshGrids();
    void startCheck();
    void stopCheck();
    void paintEvent(QPaintEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void onPrintClicked();

    Prediction& prediction_;
    std::array<QRadioButton*, 10> reflect_{};
    std::array<QRadioButton*, 10> doNotReflect_{};
    std::array<GridWidget*, 4> grids_{};
    QWidget* optionsFrame_ = nullptr;
    QWidget* predictionFrame_ = nullptr;
    QLabel* target_ = nullptr;
    DrawDatabaseRef logDatabase_;
    QString recordRefusal_;
    QLabel* check_ = nullptr;
    // The walk behind the check line, and its stop request.
    std::thread checkThread_;
    std::shared_ptr<std::atomic<bool>> checkStop_;
    int checkGeneration_ = 0;
    // A walk to start once the view has painted, and whether it is queued.
    // Built from the start's latest draws, the view asks for the rest once
    // it has painted and walks when they are in (rebuildOnNewHistory).
    enum class CheckStart { None, AfterPaint, Queued, RestAfterPaint, AwaitingRest } checkStart_ = CheckStart::None;
    bool closing_ = false;
};

}  // namespace rumone
