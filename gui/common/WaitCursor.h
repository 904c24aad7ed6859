// The hourglass for the length of a scope.
#pragma once

#include <QApplication>
#include <QCursor>

namespace rumone {

class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// Lets pending window messages run: the program's only re-entry point.
inline void letPendingMessagesRun()
{
    QApplication::processEvents();
}

}  // namespace rumone
