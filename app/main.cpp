#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include "core/predict/PredictionTexts.h"
#include "gui/MainWindow.h"
#include "gui/common/Messages.h"
#include "gui/common/ProgramIcon.h"
#include "gui/common/QtJapanese.h"

namespace {

// For the start-up benchmark only: ends the program once the prediction
// view has painted for the first time, as a user would first see it.
class QuitAfterFirstPaint : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!quitting_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
            watched->objectName() == QString::fromUtf8(rumone::kPredictionObjectName)) {
            quitting_ = true;
            // Queued: the paint completes and reaches the screen first.
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }

private:
    bool quitting_ = false;
};

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(rumone::programCaption());
    QApplication::setWindowIcon(rumone::programIcon());
    rumone::installQtJapanese(app);  // without it the standard buttons stay in English
    QuitAfterFirstPaint quitAfterFirstPaint;
    if (QCoreApplication::arguments().contains(QStringLiteral("--quit-after-first-paint")))
        app.installEventFilter(&quitAfterFirstPaint);
    rumone::MainWindow frame;
    if (!frame.load(QCoreApplication::applicationDirPath()))
        return 1;
    frame.showAtStart();
    return app.exec();
}
