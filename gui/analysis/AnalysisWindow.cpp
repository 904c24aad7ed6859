#include "gui/analysis/AnalysisWindow.h"

#include <algorithm>

#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRadialGradient>
#include <QStyle>

#include "core/grid/ResultGrid.h"
#include "core/history/DrawHistory.h"
#include "gui/analysis/ChanceChartWindow.h"
#include "gui/analysis/LegendPicture.h"
#include "gui/common/PhraseWrap.h"
#include "gui/common/QtConversions.h"
#include "gui/common/Twips.h"
#include "gui/grid/GridCommands.h"
#include "gui/grid/GridPrinter.h"
#include "gui/grid/GridWidget.h"

namespace rumone {

namespace {

constexpr int kMarginTwips = 120;
constexpr int kTopBandTwips = 480;
constexpr int kLeastLabelTwips = 1440;

}  // namespace

AnalysisWindow::AnalysisWindow(ViewHost& host, const AnalysisViewSpec& spec, QWidget* parent)
    : ChildView(host, toQString(spec.objectName), toQString(spec.caption), parent), spec_(spec)
{
    label1_ = new QLabel(toQString(spec.label1), this);
    label1_->setObjectName("Label1");
    label1_->setWordWrap(true);
    label1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    grid_ = new GridWidget(this);
    grid_->setObjectName("fpSpread1");
    grid_->setCsvDataFirst(true);  // a spreadsheet wants the records alone
    // A zoomed table takes the room it needs, up to the window's own size.
    connect(grid_, &GridWidget::zoomChanged, this, [this] { arrangeControls(); });

    close_ = new QPushButton(QStringLiteral("閉じる"), this);
    close_->setObjectName("Command1");
    connect(close_, &QPushButton::clicked, this, [this] { closeWindow(); });
    if (spec.hasPrintButton) {
        print_ = new QPushButton(QStringLiteral("印刷"), this);
        print_->setObjectName("Command2");
        connect(print_, &QPushButton::clicked, this, [this] { printWithPreview(*grid_); });
    }
    if (spec.chance) {
        chart_ = new QPushButton(QStringLiteral("グラフ"), this);
        chart_->setObjectName("CmdChart");
        connect(chart_, &QPushButton::clicked, this, [this] { onChartClicked(); });
    }
    createLegend();
}

AnalysisWindow::~AnalysisWindow() = default;

void AnalysisWindow::createLegend()
{
    for (const LegendItem& item : spec_.legend) {
        QWidget* w = nullptr;
        if (item.kind == LegendItem::Kind::Label) {
            auto* label = new QLabel(toQString(item.text), this);
            label->setObjectName(toQString(item.objectName));
            w = label;
        } else {
            w = new LegendPicture(item, this);
        }
        // A label keeps its place but is never narrower than its text: the
        // screen font may run a little wider than the one it was sized for.
        int width = twipsToPixels(item.width);
        if (item.kind == LegendItem::Kind::Label)
            width = std::max(width, w->sizeHint().width());
        w->setGeometry(twipsToPixels(item.left), twipsToPixels(item.top), width, twipsToPixels(item.height));
        legend_.push_back(w);
    }
}

void AnalysisWindow::onChartClicked()
{
    ChildView* picture = host().showView(ChanceChartWindow::windowNameFor(spec_));
    auto* own = qobject_cast<QWidget*>(parentWidget());
    QWidget* frame = picture ? picture->parentWidget() : nullptr;
    if (!own || !frame || !frame->parentWidget())
        return;
    // Beside the table where the area has room, else as far right as fits.
    const int room = frame->parentWidget()->width() - frame->width();
    frame->move(std::max(std::min(own->geometry().right() + 1, room), 0), own->y());
}

PrintResult AnalysisWindow::printGrid(QPagedPaintDevice& device, int first, int last,
                                      const PrintProgress& progress) const
{
    if (!model_)
        return PrintResult::Failed;
    GridPrinter printer(*model_, windowTitle());
    return printer.print(device, first, last, progress);
}

QSize AnalysisWindow::sizeInTwips() const
{
    return QSize(spec_.widthTwips, spec_.heightTwips);
}

void AnalysisWindow::build()
{
    model_ = std::make_shared<ResultGrid>();
    spec_.build(*model_, host().drawHistory());
    grid_->setGrid(model_);
    arrangeControls();
    // The latest draws are what a player looks at first.
    if (model_->drawColumn() != 0)
        grid_->scrollToLastRows();
}

void AnalysisWindow::resizeEvent(QResizeEvent* event)
{
    ChildView::resizeEvent(event);
    arrangeControls();
}

void AnalysisWindow::arrangeControls()
{
    const int margin = twipsToPixels(kMarginTwips);
    // Label1 runs from the left margin to the first legend item.
    int labelRight = width() - margin;
    int bandBottom = twipsToPixels(kTopBandTwips);
    for (const QWidget* w : legend_) {
        labelRight = std::min(labelRight, w->x() - margin / 2);
        bandBottom = std::max(bandBottom, w->geometry().bottom() + margin / 2);
    }
    // Beside the legend, never under it: where that leaves less than an
    // inch, the description runs across the window below the legend.
    int labelWidth = labelRight - margin;
    int labelTop = margin;
    if (labelWidth < twipsToPixels(kLeastLabelTwips)) {
        labelWidth = std::max(width() - 2 * margin, 0);
        labelTop = bandBottom;
    }
    // Broken between phrases, never inside a word.
    label1_->setText(wrapAtPhrases(toQString(spec_.label1), label1_->fontMetrics(), labelWidth));
    label1_->setGeometry(margin, labelTop, labelWidth, label1_->heightForWidth(labelWidth));
    bandBottom = std::max(bandBottom, label1_->geometry().bottom() + margin / 2);

    // Every button as wide as the widest caption needs: none is cut.
    QSize button = close_->sizeHint();
    for (const QPushButton* b : {print_, chart_})
        if (b)
            button = button.expandedTo(b->sizeHint());
    // From the right edge leftwards; a button the row has no room for
    // starts a row above it.
    int buttonTop = height() - margin / 2 - button.height();
    int x = width() - margin;
    for (QPushButton* b : {close_, print_, chart_}) {
        if (!b)
            continue;
        if (x < width() - margin && x - margin / 2 - button.width() < margin / 2) {
            x = width() - margin;
            buttonTop -= button.height() + margin / 2;
        }
        if (x < width() - margin)
            x -= margin / 2;
        x -= button.width();
        b->setGeometry(x, buttonTop, button.width(), button.height());
    }

    const int availableWidth = width() - 2 * margin;
    const int availableHeight = buttonTop - margin / 2 - bandBottom;
    QSize size = grid_->sizeHint();
    if (!model_ || !model_->autoSize()) {
        size = QSize(availableWidth, availableHeight);
    } else {
        // Where the window cuts the grid short, the scroll bar that appears
        // takes its room beside the cells, not from them.
        const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        const bool cutVertically = size.height() > availableHeight;
        const bool cutHorizontally = size.width() > availableWidth;
        if (cutVertically && model_->visibleRows() >= model_->rows())
            size.rwidth() += bar;
        if (cutHorizontally && model_->visibleColumns() >= model_->columns())
            size.rheight() += bar;
    }
    size = size.boundedTo(QSize(availableWidth, availableHeight));
    grid_->setGeometry(margin, bandBottom, std::max(size.width(), 0), std::max(size.height(), 0));
}

}  // namespace rumone
