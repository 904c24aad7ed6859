#include "gui/common/Messages.h"

#include <QAbstractButton>

namespace rumone {

namespace {

// The newest living script; each links to the one before it.
ScriptedAnswers* newestScript = nullptr;

QMessageBox::StandardButton escapeAnswer(QMessageBox::StandardButtons buttons)
{
    for (QMessageBox::StandardButton b : {QMessageBox::No, QMessageBox::Cancel, QMessageBox::Ok})
        if (buttons.testFlag(b))
            return b;
    return QMessageBox::NoButton;
}

}  // namespace

QString programCaption()
{
    return QStringLiteral("ルモーネ");
}

QString messageCaption()
{
    return QStringLiteral("メッセ－ジ");
}

QMessageBox::StandardButton showMessage(QWidget* owner, QMessageBox::Icon icon, const QString& caption,
                                        const QString& text, QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton, const ButtonTexts& buttonTexts,
                                        const QString& details)
{
    QMessageBox::StandardButton scripted = QMessageBox::NoButton;
    if (ScriptedAnswers::answer({icon, caption, text, buttons, defaultButton}, scripted))
        return scripted;
    QMessageBox box(icon, caption, text, buttons, owner);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    for (const auto& [button, label] : buttonTexts)
        if (QAbstractButton* b = box.button(button))
            b->setText(label);
    if (!details.isEmpty())
        box.setDetailedText(details);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    return clicked ? box.standardButton(clicked) : escapeAnswer(buttons);
}

ScriptedAnswers::ScriptedAnswers(std::vector<QMessageBox::StandardButton> answers)
    : answers_(std::move(answers)), older_(newestScript)
{
    newestScript = this;
}

ScriptedAnswers::~ScriptedAnswers()
{
    // Scripts end in the reverse order of their start, as scopes do; one
    // that ends early is taken out of the chain wherever it stands.
    for (ScriptedAnswers** link = &newestScript; *link; link = &(*link)->older_)
        if (*link == this) {
            *link = older_;
            break;
        }
}

bool ScriptedAnswers::answer(const ShownMessage& message, QMessageBox::StandardButton& button)
{
    if (!newestScript)
        return false;
    ScriptedAnswers* taker = newestScript;
    for (ScriptedAnswers* s = newestScript; s; s = s->older_)
        if (s->shown_.size() < s->answers_.size()) {
            taker = s;
            break;
        }
    const std::size_t turn = taker->shown_.size();
    taker->shown_.push_back(message);
    const QMessageBox::StandardButton wanted =
        turn < taker->answers_.size() ? taker->answers_[turn] : QMessageBox::NoButton;
    button = message.buttons.testFlag(wanted) ? wanted : escapeAnswer(message.buttons);
    return true;
}

}  // namespace rumone
