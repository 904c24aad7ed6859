// For the start-up benchmark: ends the program once a window has painted
// for the first time, as a player first sees it, and tells the moment.
#pragma once

#include <QObject>
#include <QString>

namespace rumone {

// Installed on the application, it quits the event loop once the widget
// named `objectName` (any top-level window when empty) has painted and its
// paint has been flushed, and writes to standard output one line
//   first-paint MONOTONIC_NS CPU_NS
// the CLOCK_MONOTONIC time of that moment and the process's CPU time until
// then (all threads), so that a benchmark can time the wait to that paint
// apart from the program's exit.
class QuitAfterFirstPaint : public QObject {
public:
    explicit QuitAfterFirstPaint(QString objectName, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString objectName_;
    bool quitting_ = false;
};

}  // namespace rumone
