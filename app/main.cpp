#include <QApplication>
#include <QEvent>
#include <QStatusBar>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <system_error>

#include "core/store/DatabaseLocation.h"
#include "core/store/DrawStore.h"

#include "core/predict/PredictionTexts.h"
#include "gui/MainWindow.h"
#include "gui/common/Messages.h"
#include "gui/common/ProcessMemory.h"
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

// The folder of the running program, as Qt will report it once started
// (empty when it cannot be told).
std::string programFolderBeforeQt()
{
    std::error_code error;
    const std::filesystem::path program = std::filesystem::canonical("/proc/self/exe", error);
    return error ? std::string() : program.parent_path().string();
}

}  // namespace

int main(int argc, char** argv)
{
    rumone::keepFreedMemoryForReuse();
    // The draws are read while Qt starts: the key derivation is the longest
    // single step of a start, and it needs nothing from Qt.
    const std::string folder = programFolderBeforeQt();
    const rumone::StartingDatabase database = rumone::prepareStartingDatabase(folder);
    rumone::DrawDatabaseRef drawDatabase;
    std::future<rumone::DrawHistory> history;
    if (!folder.empty() && database.problem.empty()) {
        drawDatabase = rumone::parseConnectionString(rumone::buildConnectionString(database.location.folder));
        history = rumone::startLoadingDrawHistory(drawDatabase);
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(rumone::programCaption());
    QApplication::setWindowIcon(rumone::programIcon());
    rumone::installQtJapanese(app);  // without it the standard buttons stay in English
    QuitAfterFirstPaint quitAfterFirstPaint;
    if (QCoreApplication::arguments().contains(QStringLiteral("--quit-after-first-paint")))
        app.installEventFilter(&quitAfterFirstPaint);
    if (!database.problem.empty()) {
        rumone::showMessage(nullptr, QMessageBox::Critical, rumone::messageCaption(),
                            QString::fromStdString(database.problem));
        return 1;
    }
    rumone::MainWindow frame;
    frame.setDatabaseInUse(QString::fromStdString(rumone::databaseInUseText(database.location)));
    const bool loaded = folder.empty() ? frame.load(QCoreApplication::applicationDirPath())
                                       : frame.load(std::move(drawDatabase), std::move(history));
    if (!loaded)
        return 1;
    frame.showAtStart();
    if (!database.note.empty())
        frame.statusBar()->showMessage(QString::fromStdString(database.note));
    return app.exec();
}
