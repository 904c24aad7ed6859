// Progress of a long step on the window thread, shown only once the step
// has taken longer than a frame: a short step shows nothing at all.
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <cstddef>
#include <memory>

class QProgressDialog;
class QWidget;

namespace rumone {

class DelayedProgress {
public:
    static constexpr int kShowAfterMs = 16;

    DelayedProgress(QWidget* owner, QString label);
    ~DelayedProgress();
    DelayedProgress(const DelayedProgress&) = delete;
    DelayedProgress& operator=(const DelayedProgress&) = delete;

    // `done` of `total`: shows the dialog once kShowAfterMs have passed
    // and lets the window system paint it (it is modal to the owner's window).
    void step(std::size_t done, std::size_t total);
    bool shown() const { return dialog_ != nullptr; }

private:
    QWidget* owner_;
    QString label_;
    QElapsedTimer clock_;
    std::unique_ptr<QProgressDialog> dialog_;
};

}  // namespace rumone
