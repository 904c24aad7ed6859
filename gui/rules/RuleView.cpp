#include "gui/rules/RuleView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "core/backtest/PredictionLog.h"
#include "core/backtest/Tickets.h"
#include "core/history/DrawHistory.h"
#include "core/prizes/PrizeTheory.h"
#include "core/rules/RecordExport.h"
#include "core/rules/RulePurchases.h"
#include "core/rules/RuleRecords.h"
#include "core/rules/RuleWalk.h"
#include "core/rules/TriedRules.h"
#include "core/store/DrawDetailsStore.h"
#include "core/store/SafeFile.h"
#include "gui/charts/ChartsModule.h"
#include "gui/common/FileDialogs.h"
#include "gui/common/Messages.h"
#include "gui/common/WaitCursor.h"

namespace rumone {

namespace {

constexpr int kWidthTwips = 19500;
constexpr int kHeightTwips = 10200;

QLabel* wrapped(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

// The walk's net yen as the verification's yen picture takes it, in the
// first row.
YenTrack yenTrackOf(const RuleWalkResult& walk)
{
    YenTrack track;
    track.targets = walk.trackTargets;
    track.net[0] = walk.trackNet;
    track.expected[0] = walk.trackExpected;
    track.bandAt = walk.bandAt;
    track.bandLow[0] = walk.bandLow;
    track.bandHigh[0] = walk.bandHigh;
    return track;
}

}  // namespace

QString RuleView::windowName()
{
    return QStringLiteral("自分の条件");
}

RuleView::RuleView(ViewHost& host, DrawDatabaseRef database, int reflect, QWidget* parent)
    : ChildView(host, windowName(), windowName(), parent), database_(std::move(database))
{
    settingRule_ = true;  // the controls' first values turn no condition on
    auto* whole = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    whole->addLayout(top, 1);
    top->addWidget(makeConditions());
    auto* right = new QVBoxLayout;
    top->addLayout(right, 1);
    result_ = wrapped(this, "LabelResult");
    result_->setText(
        QStringLiteral("「過去で検証」を押すと、各回の前の回だけから数字を選び、その回と照らし合わせます。"));
    right->addWidget(result_);
    chart_ = chartMakers().makeExcessPicture(this);
    chart_->widget()->setObjectName("ChartNetYen");
    right->addWidget(chart_->widget(), 1);
    tried_ = wrapped(this, "LabelTried");
    right->addWidget(tried_);
    saved_ = wrapped(this, "LabelSaved");
    right->addWidget(saved_);
    // The buttons take the whole width: beside the conditions, at 150 % they
    // would not fit.
    auto* buttons = new QHBoxLayout;
    whole->addLayout(buttons);
    auto* exportButton = new QPushButton(QStringLiteral("予想記録の書き出し(&N)…"), this);
    exportButton->setObjectName("CommandExportRecords");
    connect(exportButton, &QPushButton::clicked, this, [this] { exportRecords(); });
    buttons->addWidget(exportButton);
    auto* verifyButton = new QPushButton(QStringLiteral("書き出しを確かめる(&O)…"), this);
    verifyButton->setObjectName("CommandVerifyRecords");
    connect(verifyButton, &QPushButton::clicked, this, [this] { verifyRecords(); });
    buttons->addWidget(verifyButton);
    clear_ = new QPushButton(QStringLiteral("試した条件を消去(&C)"), this);
    clear_->setObjectName("CommandClearTried");
    connect(clear_, &QPushButton::clicked, this, [this] { clearTried(); });
    buttons->addWidget(clear_);
    buttons->addStretch(1);
    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    close->setObjectName("CommandClose");
    connect(close, &QPushButton::clicked, this, [this] { closeWindow(); });
    buttons->addWidget(close);
    reflect_->setValue(reflect);
    settingRule_ = false;
}

RuleView::~RuleView() = default;

RuleView::RangeControls RuleView::makeRange(const QString& caption, int top, QWidget* parent, QGridLayout* grid,
                                            int row)
{
    RangeControls c;
    c.on = new QCheckBox(caption, parent);
    c.low = new QSpinBox(parent);
    c.high = new QSpinBox(parent);
    for (QSpinBox* box : {c.low, c.high}) {
        box->setRange(0, top);
        connect(box, &QSpinBox::valueChanged, this, [this, on = c.on] {
            if (!settingRule_)
                on->setChecked(true);
            showNextDraw();
        });
    }
    c.high->setValue(top);
    connect(c.on, &QCheckBox::toggled, this, [this] { showNextDraw(); });
    grid->addWidget(c.on, row, 0);
    auto* pair = new QHBoxLayout;
    pair->addWidget(c.low);
    pair->addWidget(new QLabel(QStringLiteral("〜"), parent));
    pair->addWidget(c.high);
    pair->addStretch(1);
    grid->addLayout(pair, row, 1);
    return c;
}

QWidget* RuleView::makeConditions()
{
    auto* box = new QGroupBox(QStringLiteral("条件（すべてを満たす数字を買います）"), this);
    box->setObjectName("GroupConditions");
    auto* column = new QVBoxLayout(box);
    auto* grid = new QGridLayout;
    column->addLayout(grid);
    int row = 0;
    sum_ = makeRange(QStringLiteral("数字の和(&U)"), 36, box, grid, row++);
    even_ = makeRange(QStringLiteral("偶数の個数(&E)"), 4, box, grid, row++);
    low_ = makeRange(QStringLiteral("0〜4の個数(&L)"), 4, box, grid, row++);

    grid->addWidget(new QLabel(QStringLiteral("種類"), box), row, 0);
    auto* kinds = new QHBoxLayout;
    for (std::size_t k = 0; k < kNumberKindCount; ++k) {
        kinds_[k] = new QCheckBox(QString::fromUtf8(numberKindName(static_cast<NumberKind>(k))), box);
        kinds_[k]->setObjectName(QStringLiteral("CheckKind%1").arg(k));
        kinds_[k]->setChecked(true);
        connect(kinds_[k], &QCheckBox::toggled, this, [this] { showNextDraw(); });
        kinds->addWidget(kinds_[k]);
    }
    grid->addLayout(kinds, row++, 1);

    auto* digits = new QGridLayout;
    for (int d = 0; d <= 9; ++d)
        digits->addWidget(new QLabel(QString::number(d), box), 0, d + 1, Qt::AlignHCenter);
    for (std::size_t p = 0; p < 4; ++p) {
        digits->addWidget(new QLabel(QStringLiteral("第%1数字").arg(p + 1), box), static_cast<int>(p) + 1, 0);
        for (std::size_t d = 0; d < 10; ++d) {
            auto* check = new QCheckBox(box);
            check->setObjectName(QStringLiteral("CheckPos%1Digit%2").arg(p + 1).arg(d));
            check->setAccessibleName(QStringLiteral("第%1数字に%2").arg(p + 1).arg(d));
            check->setChecked(true);
            connect(check, &QCheckBox::toggled, this, [this] { showNextDraw(); });
            positions_[p][d] = check;
            digits->addWidget(check, static_cast<int>(p) + 1, static_cast<int>(d) + 1, Qt::AlignHCenter);
        }
    }
    grid->addWidget(new QLabel(QStringLiteral("各桁の数字"), box), row, 0, Qt::AlignTop);
    grid->addLayout(digits, row++, 1);

    recentOn_ = new QCheckBox(QStringLiteral("直近に出た数字を除く(&R)"), box);
    recent_ = new QSpinBox(box);
    recent_->setRange(1, kMaxRecentDraws);
    recent_->setSuffix(QStringLiteral("回"));
    grid->addWidget(recentOn_, row, 0);
    grid->addWidget(recent_, row++, 1, Qt::AlignLeft);
    methodOn_ = new QCheckBox(QStringLiteral("予想法の数字だけ(&P)"), box);
    method_ = new QComboBox(box);
    for (const char* name : kPredictorNames)
        method_->addItem(QString::fromUtf8(name));
    reflect_ = new QSpinBox(box);
    reflect_->setRange(0, 10);
    reflect_->setPrefix(QStringLiteral("反映数 "));
    auto* methodLine = new QHBoxLayout;
    methodLine->addWidget(method_);
    methodLine->addWidget(reflect_);
    methodLine->addStretch(1);
    grid->addWidget(methodOn_, row, 0);
    grid->addLayout(methodLine, row++, 1);
    type_ = new QComboBox(box);
    type_->setObjectName("ComboType");
    type_->addItem(QStringLiteral("ストレート（数字ごとに1枚）"));
    type_->addItem(QStringLiteral("ボックス（数字の組ごとに1枚、4つ同じは除く）"));
    auto* typeLabel = new QLabel(QStringLiteral("買い方(&T)"), box);
    typeLabel->setBuddy(type_);
    grid->addWidget(typeLabel, row, 0);
    grid->addWidget(type_, row++, 1);
    connect(recentOn_, &QCheckBox::toggled, this, [this] { showNextDraw(); });
    connect(methodOn_, &QCheckBox::toggled, this, [this] { showNextDraw(); });
    connect(recent_, &QSpinBox::valueChanged, this, [this] {
        if (!settingRule_)
            recentOn_->setChecked(true);
        showNextDraw();
    });
    connect(method_, &QComboBox::currentIndexChanged, this, [this] {
        if (!settingRule_)
            methodOn_->setChecked(true);
        showNextDraw();
    });
    connect(reflect_, &QSpinBox::valueChanged, this, [this] { showNextDraw(); });
    connect(type_, &QComboBox::currentIndexChanged, this, [this] { showNextDraw(); });

    text_ = wrapped(box, "LabelRuleText");
    column->addWidget(text_);
    next_ = wrapped(box, "LabelNextDraw");
    column->addWidget(next_);
    walk_ = new QPushButton(QStringLiteral("過去で検証(&K)"), box);
    walk_->setObjectName("CommandWalk");
    connect(walk_, &QPushButton::clicked, this, [this] { walkRuleNow(); });
    column->addWidget(walk_);
    auto* save = new QPushButton(QStringLiteral("条件を保存して次の回から記録(&B)"), box);
    save->setObjectName("CommandSaveRule");
    connect(save, &QPushButton::clicked, this, [this] { saveRuleNow(); });
    column->addWidget(save);
    buy_ = new QPushButton(QStringLiteral("購入記録へ(&Y)"), box);
    buy_->setObjectName("Cmd購入記録へ");
    connect(buy_, &QPushButton::clicked, this, [this] { offerPurchasesNow(); });
    column->addWidget(buy_);
    column->addStretch(1);
    return box;
}

Rule RuleView::rule() const
{
    Rule r;
    if (sum_.on->isChecked())
        r.sum = CountRange{sum_.low->value(), sum_.high->value()};
    if (even_.on->isChecked())
        r.even = CountRange{even_.low->value(), even_.high->value()};
    if (low_.on->isChecked())
        r.low = CountRange{low_.low->value(), low_.high->value()};
    std::uint8_t kinds = 0;
    for (std::size_t k = 0; k < kNumberKindCount; ++k)
        if (kinds_[k]->isChecked())
            kinds |= static_cast<std::uint8_t>(1u << k);
    r.kinds = kinds == (1u << kNumberKindCount) - 1 ? 0 : kinds;
    for (std::size_t p = 0; p < 4; ++p) {
        DigitSet set = 0;
        for (std::size_t d = 0; d < 10; ++d)
            if (positions_[p][d]->isChecked())
                set |= digitBit(static_cast<int>(d));
        r.positions[p] = set;
    }
    if (recentOn_->isChecked())
        r.recent = recent_->value();
    if (methodOn_->isChecked()) {
        r.method = method_->currentIndex();
        r.reflect = reflect_->value();
    }
    r.type = type_->currentIndex() == 1 ? kBoxTicket : kStraightTicket;
    return r;
}

void RuleView::setRule(const Rule& r)
{
    settingRule_ = true;
    const auto setRange = [](const RangeControls& c, const std::optional<CountRange>& range, int top) {
        c.on->setChecked(range.has_value());
        c.low->setValue(range ? range->low : 0);
        c.high->setValue(range ? range->high : top);
    };
    setRange(sum_, r.sum, 36);
    setRange(even_, r.even, 4);
    setRange(low_, r.low, 4);
    for (std::size_t k = 0; k < kNumberKindCount; ++k)
        kinds_[k]->setChecked(r.kinds == 0 || (r.kinds & (1u << k)));
    for (std::size_t p = 0; p < 4; ++p)
        for (std::size_t d = 0; d < 10; ++d)
            positions_[p][d]->setChecked(r.positions[p] & digitBit(static_cast<int>(d)));
    recentOn_->setChecked(r.recent > 0);
    recent_->setValue(std::max(r.recent, 1));
    methodOn_->setChecked(r.method.has_value());
    method_->setCurrentIndex(r.method.value_or(0));
    if (r.method)
        reflect_->setValue(r.reflectCount());
    type_->setCurrentIndex(r.type == kBoxTicket ? 1 : 0);
    settingRule_ = false;
    showNextDraw();
}

QSize RuleView::sizeInTwips() const
{
    return QSize(kWidthTwips, kHeightTwips);
}

void RuleView::build()
{
    showNextDraw();
    showTried();
    showSaved(true);
}

const PositionSets* RuleView::methodSetsFor(const Rule& rule)
{
    if (!rule.method)
        return nullptr;
    const int reflect = rule.reflectCount();
    auto it = methodSets_.find(reflect);
    if (it == methodSets_.end())
        it = methodSets_.emplace(reflect, nextMethodSets(host().drawHistory(), reflect)).first;
    return &it->second.sets[static_cast<std::size_t>(*rule.method)];
}

void RuleView::showNextDraw()
{
    if (settingRule_ || !text_)
        return;
    const Rule r = rule();
    text_->setText(QStringLiteral("条件の書き方: ") + QString::fromStdString(ruleText(r)));
    const DrawHistory& history = host().drawHistory();
    const std::vector<Draw>& draws = history.completeDraws();
    const int next = draws.empty() ? 1 : draws.back().number + 1;
    RuleNumbers numbers(r);
    const RuleDraw tickets = numbers.at(allowedDigitsAfter(r, draws, methodSetsFor(r)));
    next_->setText(QStringLiteral("次の回の購入: ") + QString::fromStdString(nextDrawText(next, tickets)));
}

void RuleView::walkRuleNow()
{
    const WaitCursor wait;
    const Rule r = rule();
    StoredDetails details;
    try {
        details = readStoredDetails(database_);
    } catch (const std::exception&) {
        // The prizes the draws carry are shown apart; without them the
        // theoretical prizes still stand.
    }
    const RuleWalkResult walk = walkRule(host().drawHistory(), r, {}, &details);
    result_->setText(QStringLiteral("条件 ") + QString::fromStdString(ruleText(r)) + u'\n' +
                     QString::fromStdString(walkSummaryText(walk)));
    chart_->showNetYen(yenTrackOf(walk), 0, QStringLiteral("この条件で買った場合の損益（理論配当、累積）"));
    if (!refusal_.isEmpty()) {
        host().showStatusNote(refusal_);
    } else if (walk.targets > 0) {
        try {
            recordTriedRule(database_, triedRuleOf(r, walk));
        } catch (const std::exception& e) {
            showMessage(this, QMessageBox::Warning, messageCaption(),
                        QStringLiteral("試した条件を記録できませんでした。\n") + QString::fromUtf8(e.what()));
        }
    }
    showTried();
}

void RuleView::showTried()
{
    try {
        tried_->setText(QString::fromStdString(triedRulesText(readTriedRules(database_))));
    } catch (const std::exception& e) {
        tried_->setText(QStringLiteral("試した条件を読めませんでした：") + QString::fromUtf8(e.what()));
    }
}

void RuleView::clearTried()
{
    if (!refusal_.isEmpty())
        return host().showStatusNote(refusal_);
    const auto answer = showMessage(
        this, QMessageBox::Question, messageCaption(),
        QStringLiteral("試した条件の一覧を消去しますか？消去した日時と件数は記録され、結論に表示されます。"),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    try {
        clearTriedRules(database_);
    } catch (const std::exception& e) {
        showMessage(this, QMessageBox::Warning, messageCaption(),
                    QStringLiteral("試した条件を消去できませんでした。\n") + QString::fromUtf8(e.what()));
    }
    showTried();
}

void RuleView::showSaved(bool record)
{
    try {
        RuleRecordsRead read = readRuleRecords(database_);
        if (record && refusal_.isEmpty() && !read.rules.empty() &&
            recordSavedRules(database_, host().drawHistory()) > 0)
            read = readRuleRecords(database_);
        QString text = QString::fromStdString(savedRulesText(scoreSavedRules(read, host().drawHistory())));
        for (const std::string& why : read.leftOut)
            text += u'\n' + QString::fromStdString(why);
        saved_->setText(text);
    } catch (const std::exception& e) {
        saved_->setText(QStringLiteral("保存した条件の記録を読めませんでした：") + QString::fromUtf8(e.what()));
    }
}

void RuleView::saveRuleNow()
{
    if (!refusal_.isEmpty())
        return host().showStatusNote(refusal_);
    try {
        saveRule(database_, rule(), host().drawHistory());
    } catch (const std::exception& e) {
        showMessage(this, QMessageBox::Warning, messageCaption(),
                    QStringLiteral("条件を保存できませんでした。\n") + QString::fromUtf8(e.what()));
    }
    showSaved(false);
}

void RuleView::offerPurchasesNow()
{
    const std::vector<Draw>& draws = host().drawHistory().completeDraws();
    const Rule r = rule();
    std::vector<PurchaseGroup> groups{purchasesOfRule(r, draws, methodSetsFor(r), "この条件 ")};
    try {
        for (const SavedRule& saved : readRuleRecords(database_).rules) {
            const RuleParse read = parseRule(saved.rule);
            if (!read.rule)
                continue;
            PurchaseGroup group = purchasesOfRule(*read.rule, draws, methodSetsFor(*read.rule), "保存した条件 ");
            group.offeredChecked = false;
            groups.push_back(std::move(group));
        }
    } catch (const std::exception&) {
        // Unreadable saved rules are named by the saved rules' line; the
        // controls' rule is still offered.
    }
    host().offerPurchaseGroups(std::move(groups),
                               QStringLiteral("条件で選んだ数字を買う組み合わせです（各 1口・次の回）。"));
}

void RuleView::exportRecords()
{
    const FileChoice choice = chooseFile(this, true, QStringLiteral("予想記録の書き出し"),
                                         QStringLiteral("予想記録.txt"), QStringLiteral("テキスト (*.txt)"));
    if (choice.path.isEmpty())
        return;
    try {
        replaceFileWith(choice.path.toStdString(),
                        recordExportText(readRuleRecords(database_).records, readPredictionLog(database_).salted));
        host().showStatusNote(QStringLiteral("予想記録を書き出しました：") + choice.path);
    } catch (const std::exception& e) {
        showMessage(this, QMessageBox::Warning, messageCaption(),
                    QStringLiteral("予想記録を書き出せませんでした。\n") + QString::fromUtf8(e.what()));
    }
}

void RuleView::verifyRecords()
{
    const FileChoice choice = chooseFile(this, false, QStringLiteral("書き出した予想記録を確かめる"), QString(),
                                         QStringLiteral("テキスト (*.txt);;すべてのファイル (*)"));
    if (choice.path.isEmpty())
        return;
    try {
        const RecordCheck check =
            verifyRecordExport(readRegularFile(choice.path.toStdString(), std::size_t{256} << 20));
        showMessage(this, QMessageBox::Information, messageCaption(), QString::fromStdString(recordCheckText(check)));
    } catch (const std::exception& e) {
        showMessage(this, QMessageBox::Warning, messageCaption(),
                    QStringLiteral("ファイルを読めませんでした。\n") + QString::fromUtf8(e.what()));
    }
}

}  // namespace rumone
