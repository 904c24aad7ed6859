// Answers the message boxes that the program shows while the catcher lives,
// through the program's own message seam, and remembers what they said.
#pragma once

#include <vector>

#include "gui/common/Messages.h"

namespace rumone::test {

struct CaughtMessage {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    bool seen = false;
};

inline CaughtMessage caughtFrom(const ShownMessage& m)
{
    return {m.caption, m.text, m.icon, m.buttons, m.defaultButton, true};
}

// Answers the next box with `answer`.
class MessageBoxCatcher {
public:
    explicit MessageBoxCatcher(QMessageBox::StandardButton answer = QMessageBox::Ok) : script_({answer}) {}
    CaughtMessage caught() const { return script_.seen() ? caughtFrom(script_.first()) : CaughtMessage{}; }

private:
    ScriptedAnswers script_;
};

// Answers the coming boxes in turn (as Escape would once the list is used
// up) and remembers what each said.
class MessageBoxAnswers {
public:
    explicit MessageBoxAnswers(std::vector<QMessageBox::StandardButton> answers) : script_(std::move(answers)) {}
    std::vector<CaughtMessage> caught() const
    {
        std::vector<CaughtMessage> out;
        for (const ShownMessage& m : script_.shown())
            out.push_back(caughtFrom(m));
        return out;
    }

private:
    ScriptedAnswers script_;
};

}  // namespace rumone::test
