// Answers the next modal message box and remembers what it said.
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

namespace rumone::test {

struct CaughtMessage {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    bool seen = false;
};

// Arms a poll that, once a QMessageBox is the active modal widget, records
// it and presses `answer`. Keep the returned object alive until the box
// has been shown.
class MessageBoxCatcher : public QObject {
public:
    explicit MessageBoxCatcher(QMessageBox::StandardButton answer = QMessageBox::Ok) : answer_(answer)
    {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
        timer_.start();
    }
    const CaughtMessage& caught() const { return caught_; }

private:
    void poll()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        caught_.seen = true;
        caught_.caption = box->windowTitle();
        caught_.text = box->text();
        caught_.icon = box->icon();
        caught_.buttons = box->standardButtons();
        if (QAbstractButton* def = box->defaultButton())
            caught_.defaultButton = box->standardButton(def);
        timer_.stop();
        if (QAbstractButton* b = box->button(answer_))
            b->click();
        else
            box->reject();
    }

    QMessageBox::StandardButton answer_;
    QTimer timer_;
    CaughtMessage caught_;
};

}  // namespace rumone::test
