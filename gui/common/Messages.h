// The program's message boxes: its two captions, one way to show a box, and
// the seam through which tests answer boxes without showing them.
#pragma once

#include <QMessageBox>
#include <QString>
#include <utility>
#include <vector>

namespace rumone {

// The program's title, also the caption of the entry view's confirmations.
QString programCaption();
// The caption of the frame's and the entry view's messages (written with a
// full-width hyphen-minus).
QString messageCaption();

// Captions that stand on standard buttons in place of their own ("取込" on OK).
using ButtonTexts = std::vector<std::pair<QMessageBox::StandardButton, QString>>;

// Shows a modal message box and returns the button that closed it.
// `details`, when not empty, is the box's longer text behind its details button.
QMessageBox::StandardButton showMessage(QWidget* owner, QMessageBox::Icon icon, const QString& caption,
                                        const QString& text, QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton,
                                        const ButtonTexts& buttonTexts = {}, const QString& details = {});

// What a message box said.
struct ShownMessage {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString caption;
    QString text;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// While an object of this class lives, showMessage shows nothing: it records
// each box and answers it with the next of the given answers. The newest
// living object with answers left takes a box; when none has any left, the
// newest takes it and answers as Escape would (No, Cancel or OK). An answer
// that is not among the box's buttons also counts as Escape.
class ScriptedAnswers {
public:
    explicit ScriptedAnswers(std::vector<QMessageBox::StandardButton> answers = {QMessageBox::Ok});
    ~ScriptedAnswers();
    ScriptedAnswers(const ScriptedAnswers&) = delete;
    ScriptedAnswers& operator=(const ScriptedAnswers&) = delete;

    const std::vector<ShownMessage>& shown() const { return shown_; }
    // The first box this object answered; an empty message when none.
    ShownMessage first() const { return shown_.empty() ? ShownMessage{} : shown_.front(); }
    bool seen() const { return !shown_.empty(); }

    // Used by showMessage: answers the box when a script is active.
    static bool answer(const ShownMessage& message, QMessageBox::StandardButton& button);

private:
    std::vector<QMessageBox::StandardButton> answers_;
    std::vector<ShownMessage> shown_;
    ScriptedAnswers* older_ = nullptr;
};

}  // namespace rumone
