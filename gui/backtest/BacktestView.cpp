#include "gui/backtest/BacktestView.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/backtest/BacktestGrid.h"
#include "core/backtest/BacktestTexts.h"
#include "core/backtest/Comparisons.h"
#include "core/backtest/LogDrawGrid.h"
#include "core/backtest/LogScoring.h"
#include "core/backtest/Outlook.h"
#include "core/backtest/PredictionLog.h"
#include "core/backtest/TicketGrid.h"
#include "core/predict/Prediction.h"
#include "gui/backtest/BacktestJob.h"
#include "gui/charts/ChartsModule.h"
#include "gui/common/FutureReady.h"
#include "gui/common/PrintDialog.h"
#include "gui/common/Twips.h"
#include "gui/grid/GridPrinter.h"
#include "gui/grid/GridWidget.h"

namespace rumone {

namespace {

// Settings changed in a row (typing a number) start one run, not many.
constexpr int kRerunDelayMs = 400;
// The hidden pages' work, a piece at a time, this long after the last piece
// of work the player sees (a chart's layout and paint take a few turns).
constexpr int kHiddenWorkGapMs = 12;
constexpr int kProgressEveryMs = 30;
// The lines the conclusion takes at the window's design width.
constexpr int kConclusionLines = 2;

QString drawRange(int from, int to)
{
    return QStringLiteral("第%1回〜第%2回").arg(from).arg(to);
}

QLabel* wrappedLabel(const char* text, QWidget* parent)
{
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setWordWrap(true);
    return label;
}

// A grid widget as large as its model's table.
GridWidget* fixedGrid(const std::shared_ptr<ResultGrid>& model, const char* name, QWidget* parent)
{
    auto* grid = new GridWidget(parent);
    grid->setObjectName(name);
    grid->setGrid(model);
    grid->setFixedSize(grid->sizeHint());
    return grid;
}

QComboBox* predictorChoice(const QString& name, QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    for (const char* predictor : kPredictorNames)
        box->addItem(QString::fromUtf8(predictor));
    return box;
}

// The page's widgets shown and laid out now, not in a later turn: a print
// may follow at once.
void showPage(QWidget* page)
{
    for (QWidget* child : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->show();
    page->layout()->activate();
}

QSpinBox* drawNumberBox(const QString& name, QWidget* parent)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setRange(0, kMaxDrawNumber);
    box->setKeyboardTracking(false);
    return box;
}

}  // namespace

BacktestView::BacktestView(ViewHost& host, const Prediction& prediction, DrawDatabaseRef database, QWidget* parent)
    : ChildView(host, QString::fromUtf8(kBacktestObjectName), QString::fromUtf8(kBacktestCaption), parent),
      prediction_(prediction),
      database_(std::move(database)),
      scoreModel_(std::make_shared<ResultGrid>()),
      ticketModel_(std::make_shared<ResultGrid>()),
      outlookModel_(std::make_shared<ResultGrid>()),
      logModel_(std::make_shared<ResultGrid>()),
      logDrawModel_(std::make_shared<ResultGrid>())
{
    // The walk starts before the window is built: its hits are the longest
    // wait. build() shows it under way.
    const RunSettings start = settingsAtStart();
    launchRun(start.reflect, start.range);
    launchedAhead_ = true;
    fillScoreGrid(*scoreModel_, Scoreboard{});
    fillTicketGrid(*ticketModel_, TicketBoard{});
    fillOutlookGrid(*outlookModel_, OutlookBoard{});
    fillScoreGrid(*logModel_, Scoreboard{});
    fillLogDrawGrid(*logDrawModel_, {});
    auto* outer = new QVBoxLayout(this);
    body_ = new QWidget(this);
    auto* column = new QVBoxLayout(body_);
    column->setContentsMargins(0, 0, 0, 0);

    auto* explanation = new QLabel(QString::fromUtf8(kBacktestExplanation), body_);
    explanation->setObjectName("Label1");
    explanation->setWordWrap(true);
    column->addWidget(explanation);
    column->addWidget(createSettingsRow());

    status_ = new QLabel(body_);
    status_->setObjectName("LabelStatus");
    column->addWidget(status_);
    conclusion_ = new QLabel(body_);
    conclusion_->setObjectName("LabelConclusion");
    conclusion_->setWordWrap(true);
    QFont bold = conclusion_->font();
    bold.setBold(true);
    conclusion_->setFont(bold);
    // Room for the conclusion from the start: arriving at the end of a run,
    // it would otherwise shrink the pages and lay out and paint the chart
    // again.
    conclusion_->setMinimumHeight(kConclusionLines * QFontMetrics(bold).lineSpacing());
    column->addWidget(conclusion_);
    tabs_ = new QTabWidget(body_);
    tabs_->setObjectName("TabPages");
    hitsPage_ = new QWidget(body_);
    ticketsPage_ = new QWidget(body_);
    // Each page scrolls inside the window, whose buttons stay in sight at
    // any size.
    logPage_ = new QWidget(body_);
    outlookPage_ = new QWidget(body_);
    for (auto [page, caption] : {std::pair{hitsPage_, kHitsTab}, std::pair{ticketsPage_, kTicketsTab},
                                 std::pair{logPage_, kLogTab}, std::pair{outlookPage_, kOutlookTab}}) {
        auto* scroll = new QScrollArea(body_);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidgetResizable(true);
        scroll->setWidget(page);
        tabs_->addTab(scroll, QString::fromUtf8(caption));
    }
    // A page chosen before its turn is built at once.
    connect(tabs_, &QTabWidget::currentChanged, this, [this] { settlePages(); });
    column->addWidget(tabs_, 1);
    outer->addWidget(body_, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* print = new QPushButton(QStringLiteral("印刷"), this);
    print->setObjectName("Command2");
    connect(print, &QPushButton::clicked, this, [this] { onPrintClicked(); });
    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    close->setObjectName("Command1");
    connect(close, &QPushButton::clicked, this, [this] { closeWindow(); });
    buttons->addWidget(print);
    buttons->addWidget(close);
    outer->addLayout(buttons);

    hiddenWork_.setSingleShot(true);
    hiddenWork_.setInterval(kHiddenWorkGapMs);
    connect(&hiddenWork_, &QTimer::timeout, this, [this] { doHiddenWork(); });
    rerun_.setSingleShot(true);
    rerun_.setInterval(kRerunDelayMs);
    connect(&rerun_, &QTimer::timeout, this, [this] { startRun(); });
}

BacktestView::~BacktestView() = default;

void BacktestView::paintEvent(QPaintEvent* event)
{
    ChildView::paintEvent(event);
    if (hitsPageAsked_ || pagesMade_ > 0)
        return;
    hitsPageAsked_ = true;
    // Opened now rather than with the view: until the first paint the
    // window thread and the walk have the cores to themselves.
    chartsOpened_ = std::async(std::launch::async, [] { chartMakers(); });
    askHitsPage();
}

bool BacktestView::chartsOpen() const
{
    return futureReady(chartsOpened_);
}

// Until the module is open the page looks again each millisecond instead
// of waiting for it on the window thread.
void BacktestView::askHitsPage()
{
    const auto turn = [this] {
        if (pagesMade_ > 0)
            return;
        if (!chartsOpen())
            return askHitsPage();
        buildNextPage(Drawn::Later);
        hiddenWork_.start();
    };
    if (chartsOpen())
        QMetaObject::invokeMethod(this, turn, Qt::QueuedConnection);
    else
        QTimer::singleShot(1, this, turn);
}

void BacktestView::settlePages()
{
    while (pagesMade_ < kPageCount)
        buildNextPage(Drawn::Now);
    if (yenChartStale_)
        showYenChart();
    while (logStale_ || logRead_.valid()) {
        if (!logRead_.valid())
            scoreLog();
        if (logRead_.valid())
            showLog();  // waits for the read
    }
}

void BacktestView::buildNextPage(Drawn charts)
{
    switch (pagesMade_) {
        case 0:
            fillHitsPage(hitsPage_, charts);
            break;
        case 1:
            fillTicketsPage(ticketsPage_, charts);
            break;
        case 2:
            fillOutlookPage(outlookPage_);
            break;
        case 3:
            fillLogPage(logPage_, charts);
            break;
        default:
            return;
    }
    ++pagesMade_;
}

bool BacktestView::hasHiddenWork() const
{
    return pagesMade_ < kPageCount || yenChartStale_ || logStale_ || logRead_.valid();
}

// A read of the log under way is waited for here, a look each time.
void BacktestView::doHiddenWork()
{
    if (pagesMade_ < kPageCount)
        buildNextPage(Drawn::Later);
    else if (yenChartStale_)
        showYenChart();
    else if (logReadIn())
        showLog();
    else if (logStale_ && !logRead_.valid())
        scoreLog();
    if (hasHiddenWork())
        hiddenWork_.start();
}

void BacktestView::fillHitsPage(QWidget* page, Drawn chart)
{
    auto* column = new QVBoxLayout(page);
    scoreGrid_ = new GridWidget(page);
    scoreGrid_->setObjectName("fpSpread1");
    scoreGrid_->setGrid(scoreModel_);
    scoreGrid_->setFixedSize(scoreGrid_->sizeHint());
    column->addWidget(scoreGrid_);
    column->addWidget(wrappedLabel(kHitLegend, page));

    auto* chartRow = new QHBoxLayout;
    chartRow->addWidget(new QLabel(QStringLiteral("グラフの予想手法："), page));
    chartChoice_ = predictorChoice("CboChart", page);
    chartRow->addWidget(chartChoice_);
    chartRow->addStretch();
    column->addLayout(chartRow);
    chart_ = chartMakers().makeExcessPicture(page);
    chart_->widget()->setObjectName("ChartExcess");
    column->addWidget(chart_->widget(), 1);
    column->addWidget(wrappedLabel(kChartNote, page));
    connect(chartChoice_, &QComboBox::currentIndexChanged, this, [this] { showHitsChart(); });
    connect(scoreGrid_, &GridWidget::currentCellChanged, this, [this](int, int row) {
        if (row >= 2 && row < 2 + kPredictorCount)
            chartChoice_->setCurrentIndex(row - 2);
    });
    showPage(page);
    if (!result_)
        return;
    if (chart == Drawn::Now)
        showHitsChart();
    else
        askHitsChart();
}

// The frozen log: its totals, then draw by draw; read on a thread of its
// own, scored with the hidden pages' work.
void BacktestView::fillLogPage(QWidget* page, Drawn score)
{
    auto* column = new QVBoxLayout(page);
    column->addWidget(new QLabel(QString::fromUtf8(kLogHeading), page));
    logStatus_ = new QLabel(page);
    logStatus_->setObjectName("LabelLog");
    logStatus_->setWordWrap(true);
    column->addWidget(logStatus_);
    logGrid_ = new GridWidget(page);
    logGrid_->setObjectName("fpSpread2");
    logGrid_->setGrid(logModel_);
    logGrid_->setFixedSize(logGrid_->sizeHint());
    column->addWidget(logGrid_);
    logDrawGrid_ = new GridWidget(page);
    logDrawGrid_->setObjectName("fpSpread4");
    logDrawGrid_->setGrid(logDrawModel_);
    column->addWidget(logDrawGrid_);
    column->addStretch();
    showPage(page);
    logStale_ = isLoaded();
    if (score == Drawn::Now && logStale_) {
        scoreLog();
        if (logRead_.valid())
            showLog();
    }
}

void BacktestView::fillOutlookPage(QWidget* page)
{
    auto* column = new QVBoxLayout(page);
    outlookLabel_ = wrappedLabel(outlookText(result_ ? result_->board[0].targets : 0).c_str(), page);
    outlookLabel_->setObjectName("LabelOutlook");
    column->addWidget(outlookLabel_);
    outlookGrid_ = fixedGrid(outlookModel_, "fpSpread5", page);
    column->addWidget(outlookGrid_);
    column->addStretch(1);
    showPage(page);
}

void BacktestView::fillTicketsPage(QWidget* page, Drawn chart)
{
    auto* column = new QVBoxLayout(page);
    column->addWidget(wrappedLabel(kTicketExplanation, page));
    ticketGrid_ = new GridWidget(page);
    ticketGrid_->setObjectName("fpSpread3");
    ticketGrid_->setGrid(ticketModel_);
    ticketGrid_->setFixedSize(ticketGrid_->sizeHint());
    column->addWidget(ticketGrid_);
    ticketNote_ = wrappedLabel("", page);
    ticketNote_->setObjectName("LabelTicketNote");
    ticketNote_->setText(ticketNoteText_);
    column->addWidget(ticketNote_);
    auto* chartRow = new QHBoxLayout;
    chartRow->addWidget(new QLabel(QStringLiteral("グラフの予想手法："), page));
    yenChoice_ = predictorChoice("CboYenChart", page);
    chartRow->addWidget(yenChoice_);
    // Beside the chart's choice, where it takes no height from the chart:
    // what it says never moves the table or resizes the chart.
    ticketState_ = new QLabel(ticketStateText_, page);
    ticketState_->setObjectName("LabelTicketState");
    ticketState_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    chartRow->addSpacing(twipsToPixels(240));
    chartRow->addWidget(ticketState_, 1);
    column->addLayout(chartRow);
    yenChart_ = chartMakers().makeExcessPicture(page);
    yenChart_->widget()->setObjectName("ChartYen");
    column->addWidget(yenChart_->widget(), 1);
    column->addWidget(wrappedLabel(kChartNote, page));
    connect(yenChoice_, &QComboBox::currentIndexChanged, this, [this] { showYenChart(); });
    showPage(page);
    yenChartStale_ = result_ || earlierYen_;
    if (chart == Drawn::Now && yenChartStale_)
        showYenChart();
}

QWidget* BacktestView::createSettingsRow()
{
    auto* row = new QWidget(body_);
    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(0, 0, 0, 0);
    line->addWidget(new QLabel(QStringLiteral("反映する分析の数："), row));
    reflect_ = new QSpinBox(row);
    reflect_->setObjectName("SpinReflect");
    reflect_->setRange(0, kOptionCount);
    reflect_->setKeyboardTracking(false);
    line->addWidget(reflect_);
    line->addSpacing(twipsToPixels(240));
    line->addWidget(new QLabel(QStringLiteral("対象の回：第"), row));
    from_ = drawNumberBox("SpinFrom", row);
    line->addWidget(from_);
    line->addWidget(new QLabel(QStringLiteral("回〜第"), row));
    to_ = drawNumberBox("SpinTo", row);
    line->addWidget(to_);
    line->addWidget(new QLabel(QStringLiteral("回"), row));
    line->addSpacing(twipsToPixels(240));
    progress_ = new QProgressBar(row);
    progress_->setObjectName("ProgressRun");
    progress_->setVisible(false);
    line->addWidget(progress_, 1);
    cancel_ = new QPushButton(QStringLiteral("中止"), row);
    cancel_->setObjectName("CmdCancel");
    cancel_->setEnabled(false);
    connect(cancel_, &QPushButton::clicked, this, [this] { cancelRun(); });
    line->addWidget(cancel_);
    line->addStretch();
    for (QSpinBox* box : {reflect_, from_, to_})
        connect(box, &QSpinBox::valueChanged, this, [this] { rerun_.start(); });
    return row;
}

QSize BacktestView::sizeInTwips() const
{
    return QSize(kBacktestWidthTwips, kBacktestHeightTwips);
}

// The settings start from the prediction view's switches and the whole
// history; the walk starts; the log is read and scored (once the pages
// are there).
void BacktestView::build()
{
    const RunSettings start = settingsAtStart();
    const QSignalBlocker blockReflect(reflect_), blockFrom(from_), blockTo(to_);
    reflect_->setValue(start.reflect);
    from_->setValue(start.range.from);
    to_->setValue(start.range.to);
    if (!launchedAhead_) {
        startRun();
    } else {
        launchedAhead_ = false;
        if (job_)  // not already over while the window was placed
            showRunStarting(start.range);
    }
    logStale_ = logStatus_ != nullptr;
    if (logStale_ && !hiddenWork_.isActive())
        hiddenWork_.start();
}

BacktestView::RunSettings BacktestView::settingsAtStart() const
{
    const auto& draws = host().drawHistory().completeDraws();
    return {prediction_.countReflectedOptions(),
            TargetRange{draws.size() > 1 ? draws[1].number : 0, draws.empty() ? 0 : draws.back().number}};
}

void BacktestView::startRun()
{
    rerun_.stop();
    const TargetRange range{from_->value(), to_->value()};
    launchRun(reflect_->value(), range);
    showRunStarting(range);
}

void BacktestView::showRunStarting(TargetRange range)
{
    status_->setText(QStringLiteral("%1を検証しています…").arg(drawRange(range.from, range.to)));
    progress_->setRange(0, std::max(countTargets(host().drawHistory(), range), 1));
    progress_->setValue(0);
    progressShown_.invalidate();
    progress_->setVisible(true);
    cancel_->setEnabled(true);
}

void BacktestView::launchRun(int reflect, TargetRange range)
{
    job_.reset();
    const int generation = ++generation_;
    const bool earlierTickets = earlierYen_ || (result_ && !result_->yen.targets.empty());
    setTicketState(earlierTickets
                       ? QStringLiteral("設定が変わったため計算し直しています（表とグラフは前の設定のものです）。")
                       : QStringLiteral("計算しています…"));
    job_ = std::make_unique<BacktestJob>(
        host().drawHistory(), host().walkKeeper(), reflect, range, this,
        [this, generation](int done, int total) { onProgress(generation, done, total); },
        [this, generation](BacktestShown shown) { onShown(generation, std::move(shown)); },
        [this, generation](BacktestTickets tickets) { onTickets(generation, std::move(tickets)); },
        [this, generation](std::optional<BacktestEnd> end) { onFinished(generation, std::move(end)); }, workerStep_);
}

void BacktestView::closeEvent(QCloseEvent* event)
{
    rerun_.stop();
    ++generation_;
    job_.reset();
    ChildView::closeEvent(event);
}

void BacktestView::cancelRun()
{
    if (!job_)
        return;
    job_->cancel();
    cancel_->setEnabled(false);
}

// The run's thread is joined here; a result it queued before it ended is
// of the old history and is dropped by its generation.
void BacktestView::stopReadingHistory()
{
    rerun_.stop();
    job_.reset();
    ++generation_;
    progress_->setVisible(false);
    cancel_->setEnabled(false);
}

// The bar repaints itself at once when it moves: once a frame or so is
// enough.
void BacktestView::onProgress(int generation, int done, int total)
{
    if (generation != generation_)
        return;
    if (progressShown_.isValid() && progressShown_.elapsed() < kProgressEveryMs && done < total)
        return;
    progressShown_.start();
    progress_->setRange(0, std::max(total, 1));
    progress_->setValue(done);
}

// The hits of the reflect count asked for are in: their table and chart are
// shown while its tickets and the other counts are walked. The table comes
// filled from the job; the chart is drawn in a turn of its own. The
// tickets' table and chart stay those of the earlier run until this run's
// are in.
void BacktestView::onShown(int generation, BacktestShown shown)
{
    if (generation != generation_)
        return;
    if (result_ && !result_->yen.targets.empty())
        earlierYen_ = std::move(result_->yen);
    result_ = std::move(shown.result);
    *scoreModel_ = std::move(shown.score);
    if (scoreGrid_) {
        scoreGrid_->refresh();
        askHitsChart();
    }
    if (outlookLabel_)
        outlookLabel_->setText(QString::fromStdString(outlookText(result_->board[0].targets)));
}

// The tickets of that count are in: their table now, their chart with the
// hidden pages' work.
void BacktestView::onTickets(int generation, BacktestTickets tickets)
{
    if (generation != generation_ || !result_)
        return;
    result_->tickets = std::move(tickets.board);
    result_->yen = std::move(tickets.yen);
    result_->years = tickets.years;
    earlierYen_.reset();
    *ticketModel_ = std::move(tickets.grid);
    ticketNoteText_ = QString::fromStdString(tickets.note);
    setTicketState({});
    if (!ticketGrid_)
        return;
    ticketGrid_->refresh();
    ticketNote_->setText(ticketNoteText_);
    yenChartStale_ = true;
    if (!hiddenWork_.isActive())
        hiddenWork_.start();
}

// A run that ends right after its hit chart was drawn shows its end once
// the chart's layout and paint are over, not in the same turns.
void BacktestView::onFinished(int generation, std::optional<BacktestEnd> end)
{
    if (generation != generation_)
        return;
    const qint64 sinceChart = hitsChartAsked_.isValid() ? hitsChartAsked_.elapsed() : kHiddenWorkGapMs;
    if (sinceChart >= kHiddenWorkGapMs)
        return showEnd(std::move(end));
    auto held = std::make_shared<std::optional<BacktestEnd>>(std::move(end));
    QTimer::singleShot(static_cast<int>(kHiddenWorkGapMs - sinceChart), this, [this, generation, held] {
        if (generation == generation_)
            showEnd(std::move(*held));
    });
}

void BacktestView::showEnd(std::optional<BacktestEnd> end)
{
    job_.reset();
    progress_->setVisible(false);
    cancel_->setEnabled(false);
    if (end && result_) {
        result_->boards = std::move(end->boards);
        result_->sameRows = std::move(end->sameRows);
    } else {
        result_.reset();
    }
    if (!result_)
        showResult();
    if (end && result_)
        *outlookModel_ = std::move(end->outlook);
    else
        fillOutlookGrid(*outlookModel_, OutlookBoard{});
    if (outlookGrid_)
        outlookGrid_->refresh();
    conclusion_->setText(end && result_ ? QString::fromStdString(end->conclusion) : QString());
    if (result_) {
        const auto& targets = result_->track.targets;
        status_->setText(targets.empty() ? QStringLiteral("検証できる回がありません。")
                                         : QStringLiteral("%1の %2 回を、反映数 %3 で検証しました。")
                                               .arg(drawRange(targets.front(), targets.back()))
                                               .arg(targets.size())
                                               .arg(result_->reflect));
    } else {
        status_->setText(QStringLiteral("検証を中止しました。"));
    }
    // A run over before the first paint has its page all the same.
    if (pagesMade_ == 0) {
        buildNextPage(Drawn::Later);
        if (!hiddenWork_.isActive())
            hiddenWork_.start();
    }
    emit runFinished(result_.has_value());
}

// The tables and charts of the last run (empty when it was cancelled).
void BacktestView::showResult()
{
    earlierYen_.reset();
    fillScoreGrid(*scoreModel_, result_ ? result_->board : Scoreboard{});
    fillTicketGrid(*ticketModel_, result_ ? result_->tickets : TicketBoard{});
    ticketNoteText_ = QString::fromStdString(straightWinNote(result_ ? result_->tickets : TicketBoard{}));
    setTicketState({});
    if (scoreGrid_) {
        scoreGrid_->refresh();
        showHitsChart();
    }
    if (ticketGrid_) {
        ticketGrid_->refresh();
        ticketNote_->setText(ticketNoteText_);
        showYenChart();
    }
    if (outlookLabel_)
        outlookLabel_->setText(QString::fromStdString(outlookText(result_ ? result_->board[0].targets : 0)));
}

void BacktestView::showHitsChart()
{
    if (!chart_)
        return;
    if (result_)
        chart_->showTrack(result_->track, chartChoice_->currentIndex());
    else
        chart_->showTrack(ExcessTrack{}, chartChoice_->currentIndex());
}

void BacktestView::showYenChart()
{
    if (!yenChart_)
        return;
    yenChartStale_ = false;
    if (earlierYen_)
        yenChart_->showYen(*earlierYen_, yenChoice_->currentIndex());
    else if (result_)
        yenChart_->showYen(result_->yen, yenChoice_->currentIndex());
    else
        yenChart_->showYen(YenTrack{}, yenChoice_->currentIndex());
}

void BacktestView::askHitsChart()
{
    hitsChartAsked_.start();
    QMetaObject::invokeMethod(
        this,
        [this, generation = generation_] {
            if (generation != generation_)
                return;
            showHitsChart();
            if (hiddenWork_.isActive())
                hiddenWork_.start();  // after what the chart leaves to do
        },
        Qt::QueuedConnection);
}

void BacktestView::setTicketState(const QString& text)
{
    ticketStateText_ = text;
    if (!ticketState_)
        return;
    ticketState_->setText(text);
}

// The log is read on a thread of its own (the database may hold many
// draws); showLog scores it once it is in.
void BacktestView::scoreLog()
{
    logStale_ = false;
    if (database_.path.empty()) {
        logStatus_->setText(QStringLiteral("記録した予想を読むデータベースがありません。"));
        return;
    }
    logRead_ = std::async(std::launch::async, [database = database_] { return readPredictionLog(database); });
    if (!hiddenWork_.isActive())
        hiddenWork_.start();
}

bool BacktestView::logReadIn() const
{
    return futureReady(logRead_);
}

void BacktestView::showLog()
{
    try {
        const PredictionLogRead log = logRead_.get();
        const std::vector<WalkStep> steps = loggedSteps(log.entries, host().drawHistory());
        fillScoreGrid(*logModel_, scoreSteps(steps));
        logGrid_->refresh();
        fillLogDrawGrid(*logDrawModel_, loggedOutcomes(steps));
        logDrawGrid_->refresh();
        logDrawGrid_->setFixedSize(logDrawGrid_->sizeHint());
        QString text = log.entries.empty()
                           ? QStringLiteral(
                                 "記録した予想はまだありません。予想画面の「予想を記録」で、抽せん前の予想を"
                                 "記録できます。")
                           : QStringLiteral("記録した予想 %1 件のうち、当選数字が入力された %2 件の成績です。")
                                 .arg(log.entries.size())
                                 .arg(steps.size());
        if (log.unreadable > 0)
            text += QStringLiteral("（読み取れない記録 %1 件は除きました）").arg(log.unreadable);
        text += QString::fromStdString(leftOutText(log));
        logStatus_->setText(text);
    } catch (const std::exception& e) {
        logStatus_->setText(QStringLiteral("記録した予想を読めません：") + QString::fromStdString(e.what()));
    }
}

void BacktestView::onPrintClicked()
{
    printThroughDialog(this, windowTitle(), [this](QPrinter& printer, const PrintProgress&) {
        return printTo(printer) ? PrintResult::Printed : PrintResult::Failed;
    });
}

// The content drawn by the widgets into a picture (up to four times their
// size on screen), placed on the page no larger than on screen.
bool BacktestView::printTo(QPagedPaintDevice& device)
{
    settlePages();
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const PageFrame frame(device, windowTitle(), QDate::currentDate());
    frame.paint(painter, 1, 1);
    const QRect body = frame.body();
    const QSize source = body_->size();
    if (!source.isEmpty() && !body.isEmpty()) {
        const double scale = std::min({device.logicalDpiX() / double(logicalDpiX()),
                                       body.width() / double(source.width()), body.height() / double(source.height())});
        const double detail = std::clamp(scale, 1.0, 4.0);
        QImage picture((QSizeF(source) * detail).toSize(), QImage::Format_RGB32);
        picture.setDevicePixelRatio(detail);
        picture.fill(Qt::white);
        {
            QPainter onPicture(&picture);
            body_->render(&onPicture, QPoint(0, 0), QRegion(), QWidget::DrawChildren);
        }
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(QPointF(body.topLeft()), QSizeF(source) * scale), picture);
    }
    return painter.end();
}

}  // namespace rumone
