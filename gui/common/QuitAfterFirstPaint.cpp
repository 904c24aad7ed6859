#include "gui/common/QuitAfterFirstPaint.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <ctime>
#include <utility>

namespace rumone {

namespace {

long long clockNs(clockid_t clock)
{
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<long long>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

}  // namespace

QuitAfterFirstPaint::QuitAfterFirstPaint(QString objectName, QObject* parent)
    : QObject(parent), objectName_(std::move(objectName))
{
}

bool QuitAfterFirstPaint::eventFilter(QObject* watched, QEvent* event)
{
    if (quitting_ || event->type() != QEvent::Paint || !watched->isWidgetType())
        return false;
    const auto* widget = static_cast<const QWidget*>(watched);
    if (objectName_.isEmpty() ? !widget->isWindow() : widget->objectName() != objectName_)
        return false;
    quitting_ = true;
    // Queued: the paint completes and reaches the screen first.
    QTimer::singleShot(0, qApp, [] {
        std::printf("first-paint %lld %lld\n", clockNs(CLOCK_MONOTONIC), clockNs(CLOCK_PROCESS_CPUTIME_ID));
        std::fflush(stdout);
        QCoreApplication::quit();
    });
    return false;
}

}  // namespace rumone
