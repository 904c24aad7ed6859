#include "gui/tickets/TicketBookView.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>

#include "core/calendar/HistoryDates.h"
#include "core/grid/ResultGrid.h"
#include "core/tickets/BookAccount.h"
#include "core/tickets/BookGrid.h"
#include "core/tickets/NumberFacts.h"
#include "gui/common/Messages.h"
#include "gui/grid/GridWidget.h"

namespace rumone {

namespace {

QLabel* wrappingLabel(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QSpinBox* spinBox(QWidget* parent, const char* name, int low, int high, int value)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setRange(low, high);
    box->setValue(value);
    return box;
}

// A label with an access key that moves the focus to `field`.
void addLabelled(QHBoxLayout* row, const QString& caption, QWidget* field)
{
    auto* label = new QLabel(caption, field->parentWidget());
    label->setBuddy(field);
    row->addWidget(label);
    row->addWidget(field);
}

}  // namespace

QString TicketBookView::windowName()
{
    return QStringLiteral("購入記録");
}

TicketBookView::TicketBookView(ViewHost& host, DrawDatabaseRef database, QWidget* parent)
    : ChildView(host, windowName(), windowName(), parent), database_(std::move(database))
{
    createTypingArea();
    facts_ = wrappingLabel(this, "LabelFacts");
    book_ = new GridWidget(this);
    book_->setObjectName("fpSpread1");
    months_ = new GridWidget(this);
    months_->setObjectName("fpSpread2");
    account_ = wrappingLabel(this, "LabelAccount");

    budgetRow_ = new QWidget(this);
    auto* budgetLine = new QHBoxLayout(budgetRow_);
    budgetLine->setContentsMargins(0, 0, 0, 0);
    budget_ = spinBox(budgetRow_, "TextBudget", 0, static_cast<int>(kMaxMonthlyBudget), 0);
    budget_->setSingleStep(1000);
    budget_->setSuffix(QStringLiteral(" 円"));
    budget_->setSpecialValueText(QStringLiteral("なし"));
    budget_->setGroupSeparatorShown(true);
    addLabelled(budgetLine, QStringLiteral("月の予算(&B)"), budget_);
    auto* saveBudgetButton = new QPushButton(QStringLiteral("予算を保存(&G)"), budgetRow_);
    saveBudgetButton->setObjectName("CommandBudget");
    connect(saveBudgetButton, &QPushButton::clicked, this, [this] { saveBudget(); });
    budgetLine->addWidget(saveBudgetButton);
    budgetText_ = wrappingLabel(budgetRow_, "LabelBudget");
    budgetLine->addWidget(budgetText_, 1);

    received_ = new QPushButton(QStringLiteral("受取済み(&K)"), this);
    received_->setObjectName("CommandReceived");
    received_->setToolTip(QStringLiteral("選んだ行の当せんを受け取った（もう一度で取り消し）"));
    connect(received_, &QPushButton::clicked, this, [this] { toggleReceived(); });
    close_ = new QPushButton(QStringLiteral("閉じる"), this);
    close_->setObjectName("Command1");
    connect(close_, &QPushButton::clicked, this, [this] { closeWindow(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(typing_);
    layout->addWidget(facts_);
    auto* grids = new QHBoxLayout;
    grids->addWidget(book_, 1);
    grids->addWidget(months_);
    layout->addLayout(grids, 1);
    layout->addWidget(account_);
    layout->addWidget(budgetRow_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(received_);
    buttons->addStretch(1);
    buttons->addWidget(close_);
    layout->addLayout(buttons);
}

TicketBookView::~TicketBookView() = default;

void TicketBookView::createTypingArea()
{
    typing_ = new QWidget(this);
    auto* row = new QHBoxLayout(typing_);
    row->setContentsMargins(0, 0, 0, 0);
    number_ = new QLineEdit(typing_);
    number_->setObjectName("TextNumber");
    number_->setMaxLength(4);
    number_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), number_));
    number_->setPlaceholderText(QStringLiteral("0000"));
    number_->setFixedWidth(number_->fontMetrics().horizontalAdvance(QStringLiteral("00000000")));
    addLabelled(row, QStringLiteral("数字(&N)"), number_);
    type_ = new QComboBox(typing_);
    type_->setObjectName("ComboType");
    for (const TicketType& t : kTicketTypes)
        type_->addItem(QString::fromUtf8(t.name));
    addLabelled(row, QStringLiteral("種類(&T)"), type_);
    firstDraw_ = spinBox(typing_, "TextFirstDraw", 1, kMaxDrawNumber, 1);
    addLabelled(row, QStringLiteral("最初の回(&F)"), firstDraw_);
    draws_ = spinBox(typing_, "TextDraws", 1, kMaxPurchaseDraws, 1);
    addLabelled(row, QStringLiteral("継続(&C)"), draws_);
    units_ = spinBox(typing_, "TextUnits", 1, kMaxPurchaseUnits, 1);
    addLabelled(row, QStringLiteral("口数(&U)"), units_);
    record_ = new QPushButton(QStringLiteral("記録(&R)"), typing_);
    record_->setObjectName("CommandRecord");
    row->addWidget(record_);
    quickPick_ = new QPushButton(QStringLiteral("クイックピック(&Q)"), typing_);
    quickPick_->setObjectName("CommandQuickPick");
    row->addWidget(quickPick_);
    row->addStretch(1);
    connect(record_, &QPushButton::clicked, this, [this] { recordTyped(); });
    connect(number_, &QLineEdit::returnPressed, this, [this] { recordTyped(); });
    connect(quickPick_, &QPushButton::clicked, this, [this] { quickPick(); });
    connect(number_, &QLineEdit::textChanged, this, [this] { showNumberFacts(); });
}

QSize TicketBookView::sizeInTwips() const
{
    return QSize(19000, 9800);
}

CivilDate TicketBookView::today() const
{
    return today_ ? *today_ : localMomentNow().date;
}

void TicketBookView::build()
{
    QString problem;
    std::optional<long long> budget;
    try {
        lines_ = readBookLines(database_, host().drawHistory());
        budget = readMonthlyBudget(database_);
    } catch (const StoreError& e) {
        lines_.clear();
        problem = QStringLiteral("購入記録を読めませんでした：") + QString::fromStdString(e.what());
    }
    // The first draw follows the next draw to come unless the player chose another.
    const int next = std::min(host().drawHistory().latestDrawNumber() + 1, kMaxDrawNumber);
    if (nextDraw_ == 0 || firstDraw_->value() == nextDraw_)
        firstDraw_->setValue(next);
    if (nextDraw_ == 0)
        number_->setFocus();
    nextDraw_ = next;
    bookModel_ = std::make_shared<ResultGrid>();
    fillBookGrid(*bookModel_, lines_, today());
    book_->setGrid(bookModel_);
    book_->scrollToLastRows();
    const BookAccount account = bookAccountOf(lines_);
    monthModel_ = std::make_shared<ResultGrid>();
    fillMonthGrid(*monthModel_, accountByMonth(lines_), account.total);
    months_->setGrid(monthModel_);
    months_->scrollToLastRows();
    int monthWidth = 2 * months_->frameWidth() + months_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4;
    for (int c = 1; c <= monthModel_->columns(); ++c)
        monthWidth += months_->columnWidthPx(c);
    months_->setFixedWidth(monthWidth);
    QString text = problem.isEmpty() ? QString::fromStdString(accountSentence(account)) : problem;
    QStringList byType;
    for (std::size_t t = 0; t < kTicketTypeCount; ++t) {
        const UnitsAgainstChance& u = account.unitsByType[t];
        if (u.bought > 0)
            byType << QStringLiteral("%1 %2口中 当せん%3口（偶然なら平均 %4口・95% は %5～%6口）")
                          .arg(QString::fromUtf8(kTicketTypes[t].name))
                          .arg(u.bought)
                          .arg(u.won)
                          .arg(u.expected, 0, 'g', 2)
                          .arg(u.low)
                          .arg(u.high);
    }
    if (!byType.isEmpty())
        text += QStringLiteral("\n抽せん前に記録した分：") + byType.join(QStringLiteral("、"));
    account_->setText(text);
    budget_->setValue(static_cast<int>(budget.value_or(0)));
    budgetText_->setText(budget ? QString::fromStdString(budgetSentence(budgetFiguresOf(lines_, *budget, today())))
                                : QStringLiteral("月の予算を決めると、その月の購入額と見込まれる損失をここに示します"
                                                 "（超えても記録はできます）。"));
    showNumberFacts();
}

void TicketBookView::showNumberFacts()
{
    const auto digits = parseNumberText(number_->text().toStdString());
    if (!digits) {
        facts_->setText(
            QStringLiteral("4 桁の数字を入れると、その数字の種類・当せんの確率と理論配当・これまでの出方を"
                           "示します。"));
        return;
    }
    facts_->setText(QString::fromStdString(numberTypesText(*digits) + "\n" +
                                           numberHistoryText(numberHistoryOf(*digits, host().drawHistory()))));
}

bool TicketBookView::writable()
{
    if (!writeRefusal_)
        return true;
    host().showStatusNote(*writeRefusal_);
    return false;
}

bool TicketBookView::recordTyped()
{
    const auto digits = parseNumberText(number_->text().toStdString());
    if (!digits) {
        host().showStatusNote(QStringLiteral("数字は 0 から 9 の 4 桁で入れてください。"));
        number_->setFocus();
        return false;
    }
    Purchase p;
    p.firstDraw = firstDraw_->value();
    p.draws = draws_->value();
    p.ticket = Ticket{static_cast<std::size_t>(type_->currentIndex()), *digits};
    p.units = units_->value();
    if (const auto problem = purchaseProblem(p)) {
        host().showStatusNote(QString::fromStdString(*problem));
        return false;
    }
    if (!writable())
        return false;
    try {
        recordPurchase(database_, p);
    } catch (const StoreError& e) {
        showMessage(this, QMessageBox::Critical, messageCaption(), QString::fromStdString(e.what()));
        return false;
    }
    host().showStatusNote(QStringLiteral("%1 %2 %3口を第%4回から %5 回分記録しました。")
                              .arg(number_->text(), type_->currentText())
                              .arg(p.units)
                              .arg(p.firstDraw)
                              .arg(p.draws));
    build();
    number_->selectAll();
    number_->setFocus();
    return true;
}

void TicketBookView::quickPick()
{
    const FourDigits digits = quickPickNumber(QRandomGenerator::global()->bounded(static_cast<quint32>(kNumbers)));
    number_->setText(QString::fromStdString(numberText(digits)));
    if (!isSold(Ticket{static_cast<std::size_t>(type_->currentIndex()), digits}))
        type_->setCurrentIndex(static_cast<int>(kStraightTicket));
    facts_->setText(QString::fromUtf8(kQuickPickNote) + u'\n' + facts_->text());
    number_->setFocus();
}

void TicketBookView::toggleReceived()
{
    const int index = book_->currentRow() - kBookHeaderRows - 1;
    if (index < 0 || index >= static_cast<int>(lines_.size()) || !lines_[index].won()) {
        host().showStatusNote(QStringLiteral("受取済みにできるのは当せんした行です。"));
        return;
    }
    if (!writable())
        return;
    const BookLine& line = lines_[index];
    const int row = book_->currentRow();
    try {
        storeClaimedPrize(database_, line.check.purchase.id, line.check.draw, !line.claimed);
    } catch (const StoreError& e) {
        showMessage(this, QMessageBox::Critical, messageCaption(), QString::fromStdString(e.what()));
        return;
    }
    build();
    book_->setCurrentCell(kBookClaimedColumn, row);
}

void TicketBookView::saveBudget()
{
    if (!writable())
        return;
    try {
        storeMonthlyBudget(database_, budget_->value() > 0 ? std::optional<long long>(budget_->value()) : std::nullopt);
    } catch (const StoreError& e) {
        showMessage(this, QMessageBox::Critical, messageCaption(), QString::fromStdString(e.what()));
        return;
    }
    build();
}

}  // namespace rumone
