// 当せん金: the prizes stored with the draws beside the theoretical ones
// (core/prizes/PrizeTable), with a picture of the straight's ratio. The
// latest draws are read and shown at once; the whole table is made on a
// thread of its own (core/prizes/PrizeTableRead) and takes their place.
#pragma once

#include <memory>
#include <thread>
#include <vector>

#include "core/prizes/PrizeTable.h"
#include "core/prizes/PrizeTableRead.h"
#include "core/store/DrawStore.h"
#include "gui/common/ChildView.h"

class QLabel;
class QPushButton;

namespace rumone {

class GridWidget;
class ResultGrid;

// The straight's prize ÷ its theoretical prize, draw by draw, with the
// line of 1 (the theoretical prize).
class RatioPicture : public QWidget {
    Q_OBJECT
public:
    explicit RatioPicture(QWidget* parent = nullptr) : QWidget(parent) {}
    void setPoints(std::vector<RatioPoint> points);
    // No points yet: the picture says they are being read.
    void setReading();
    bool reading() const { return reading_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<RatioPoint> points_;
    bool reading_ = false;
};

class PrizeView : public ChildView {
    Q_OBJECT
public:
    static QString windowName();

    PrizeView(ViewHost& host, DrawDatabaseRef database, QWidget* parent = nullptr);
    ~PrizeView() override;

    // The draws read and shown first, before the whole table.
    static constexpr std::size_t kFirstDraws = 64;

    GridWidget* gridWidget() const { return grid_; }
    QLabel* noteLabel() const { return note_; }
    RatioPicture* picture() const { return picture_; }
    // Whether the whole table is still being made (the latest draws shown).
    bool readingRest() const { return readingRest_; }
    void stopReadingHistory() override;

protected:
    QSize sizeInTwips() const override;
    void build() override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void readRest(const std::vector<Draw>& draws);
    void showRest(int generation, PrizeTableContent content);
    void showNote(const PrizeTableContent& content, bool whole);
    void arrangeControls();

    DrawDatabaseRef database_;
    std::jthread rest_;       // makes the whole table; joined when replaced or destroyed
    int restGeneration_ = 0;  // a result of an earlier generation is stale
    bool readingRest_ = false;
    bool restAfterPaint_ = false;  // the whole table is read once the grid has painted
    std::shared_ptr<ResultGrid> model_;
    QLabel* note_ = nullptr;
    GridWidget* grid_ = nullptr;
    RatioPicture* picture_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace rumone
