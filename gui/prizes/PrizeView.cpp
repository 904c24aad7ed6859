#include "gui/prizes/PrizeView.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>

#include "core/grid/ResultGrid.h"
#include "gui/common/Twips.h"
#include "gui/grid/GridWidget.h"

namespace rumone {

namespace {

constexpr int kMarginTwips = 120;
constexpr int kPictureHeightTwips = 2400;

}  // namespace

void RatioPicture::setPoints(std::vector<RatioPoint> points)
{
    points_ = std::move(points);
    reading_ = false;
    update();
}

void RatioPicture::setReading()
{
    points_.clear();
    reading_ = true;
    update();
}

void RatioPicture::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const QFontMetrics fm = p.fontMetrics();
    const int left = fm.horizontalAdvance(QStringLiteral("0.00")) + 8;
    const int top = fm.height() + 4;
    const QRect plot(left, top, width() - left - 8, height() - top - fm.height() - 6);
    p.setPen(Qt::gray);
    p.drawRect(plot);
    p.setPen(Qt::black);
    p.drawText(4, fm.ascent() + 2, QStringLiteral("ストレートの当せん金 ÷ 理論値（900,000円）、回ごと"));
    if (reading_) {
        p.drawText(plot, Qt::AlignCenter, QStringLiteral("当せん金を読み込んでいます…"));
        return;
    }
    if (points_.empty() || plot.width() < 2 || plot.height() < 2) {
        p.drawText(plot, Qt::AlignCenter, QStringLiteral("当せん金が記録された回がありません"));
        return;
    }
    // One bar a pixel column: the highest of the draws that fall in it.
    const std::vector<RatioColumn> columns = ratioColumns(points_, plot.width());
    double highest = 2.0;
    for (const RatioColumn& column : columns)
        highest = std::max(highest, column.ratio);
    const auto yOf = [&](double ratio) { return plot.bottom() - static_cast<int>(ratio / highest * plot.height()); };
    const int first = points_.front().number, last = points_.back().number;
    for (double r : {0.0, 1.0, highest})
        p.drawText(QRect(0, yOf(r) - fm.height() / 2, left - 4, fm.height()), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(r, 'f', 2));
    p.setPen(QPen(Qt::darkGreen, 1, Qt::DashLine));
    p.drawLine(plot.left(), yOf(1.0), plot.right(), yOf(1.0));
    p.drawText(plot.left() + 4, yOf(1.0) - 3, QStringLiteral("理論値"));
    p.setPen(QPen(Qt::blue, 1));
    for (const RatioColumn& column : columns)
        p.drawLine(plot.left() + column.offset, yOf(0), plot.left() + column.offset, yOf(column.ratio));
    p.setPen(Qt::black);
    const int textTop = plot.bottom() + 2;
    p.drawText(QRect(plot.left(), textTop, plot.width(), fm.height()), Qt::AlignLeft,
               QStringLiteral("第%1回").arg(first));
    p.drawText(QRect(plot.left(), textTop, plot.width(), fm.height()), Qt::AlignRight,
               QStringLiteral("第%1回").arg(last));
}

QString PrizeView::windowName()
{
    return QStringLiteral("当せん金");
}

PrizeView::PrizeView(ViewHost& host, DrawDatabaseRef database, QWidget* parent)
    : ChildView(host, windowName(), windowName(), parent), database_(std::move(database))
{
    note_ = new QLabel(this);
    note_->setObjectName("LabelNote");
    note_->setWordWrap(true);
    note_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    grid_ = new GridWidget(this);
    grid_->setObjectName("fpSpread1");
    picture_ = new RatioPicture(this);
    picture_->setObjectName("RatioPicture");
    close_ = new QPushButton(QStringLiteral("閉じる"), this);
    close_->setObjectName("Command1");
    connect(close_, &QPushButton::clicked, this, [this] { closeWindow(); });
    grid_->viewport()->installEventFilter(this);
}

PrizeView::~PrizeView()
{
    stopReadingHistory();
    if (rest_.joinable())
        rest_.join();
}

QSize PrizeView::sizeInTwips() const
{
    return QSize(15600, 10000);
}

// The latest draws are read and shown at once; the whole table follows
// from a thread of its own once they have painted, so that the thread
// takes no time from their first paint.
void PrizeView::build()
{
    const std::vector<Draw>& complete = host().drawHistory().completeDraws();
    const std::size_t firstCount = std::min(complete.size(), kFirstDraws);
    const bool whole = firstCount == complete.size();
    const std::span<const Draw> latest(complete.data() + (complete.size() - firstCount), firstCount);
    PrizeTableContent first =
        readPrizeTable(database_, latest, whole ? std::nullopt : std::optional<int>(latest.front().number));
    stopReadingHistory();  // an earlier read still under way is stale
    model_ = std::move(first.grid);
    grid_->setGrid(model_);
    grid_->scrollToLastRows();
    if (whole)
        picture_->setPoints(std::move(first.ratios));
    else
        picture_->setReading();
    showNote(first, whole);
    readingRest_ = !whole;
    restAfterPaint_ = !whole;
}

bool PrizeView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint && watched == grid_->viewport() && restAfterPaint_) {
        restAfterPaint_ = false;
        // Queued: this paint reaches the screen first.
        QMetaObject::invokeMethod(
            this,
            [this, generation = restGeneration_] {
                if (generation == restGeneration_ && readingRest_)
                    readRest(host().drawHistory().completeDraws());
            },
            Qt::QueuedConnection);
    }
    return ChildView::eventFilter(watched, event);
}

// On a copy of the draws: the history may be replaced while it reads.
void PrizeView::readRest(const std::vector<Draw>& draws)
{
    const int generation = ++restGeneration_;
    // Assigning joins the earlier thread, asked to stop first.
    rest_ = std::jthread([this, generation, database = database_, draws](std::stop_token stop) {
        auto content = std::make_shared<PrizeTableContent>(readPrizeTable(database, draws, std::nullopt, stop));
        if (stop.stop_requested())
            return;
        // The view joins this thread before it goes, so it is still here;
        // a call still queued then is dropped with it.
        QMetaObject::invokeMethod(
            this, [this, generation, content] { showRest(generation, std::move(*content)); }, Qt::QueuedConnection);
    });
}

void PrizeView::stopReadingHistory()
{
    rest_.request_stop();
    ++restGeneration_;
    restAfterPaint_ = false;
}

// The whole table takes the place of the latest rows: the current cell
// stays on its draw and the same draws stay in sight (the latest ones
// when the table was at its end).
void PrizeView::showRest(int generation, PrizeTableContent content)
{
    if (generation != restGeneration_ || !content.grid)
        return;
    if (rest_.joinable())
        rest_.join();
    readingRest_ = false;
    const int addedRows = content.grid->rows() - (model_ ? model_->rows() : 0);
    const int column = grid_->currentColumn(), row = grid_->currentRow();
    QScrollBar* bar = grid_->verticalScrollBar();
    const int fromEnd = bar->maximum() - bar->value();
    model_ = std::move(content.grid);
    grid_->setGrid(model_);
    if (row > model_->frozenRows())
        grid_->setCurrentCell(column, row + addedRows);
    grid_->scrollToLastRows();
    bar->setValue(bar->maximum() - fromEnd);
    picture_->setPoints(std::move(content.ratios));
    showNote(content, true);
}

// Until the whole table is in, the note says nothing of what it lacks.
void PrizeView::showNote(const PrizeTableContent& content, bool whole)
{
    QString text = QString::fromUtf8(kPrizeTableNote);
    if (whole && content.prizedDrawCount == 0)
        text += QStringLiteral(
            "\nまだ当せん金が記録された回はありません。当せん金のある結果を「データ管理 › 当選データ入力」"
            "の CSV取込・貼り付けて取込で取り込むと、ここに表示されます。");
    if (!content.problem.empty())
        text += QStringLiteral("\n当せん金を読めませんでした：") + QString::fromStdString(content.problem);
    note_->setText(text);
    arrangeControls();
}

void PrizeView::resizeEvent(QResizeEvent* event)
{
    ChildView::resizeEvent(event);
    arrangeControls();
}

void PrizeView::arrangeControls()
{
    const int margin = twipsToPixels(kMarginTwips);
    const int inner = width() - 2 * margin;
    note_->setGeometry(margin, margin, inner, note_->heightForWidth(inner));
    const QSize button = close_->sizeHint();
    const int buttonTop = height() - margin / 2 - button.height();
    close_->setGeometry(width() - margin - button.width(), buttonTop, button.width(), button.height());
    const int pictureHeight = twipsToPixels(kPictureHeightTwips);
    const int pictureTop = buttonTop - margin / 2 - pictureHeight;
    picture_->setGeometry(margin, pictureTop, inner, pictureHeight);
    const int gridTop = note_->geometry().bottom() + margin / 2;
    grid_->setGeometry(margin, gridTop, inner, std::max(pictureTop - margin / 2 - gridTop, 0));
}

}  // namespace rumone
