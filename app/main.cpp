#include <QApplication>
#include <QEvent>
#include <QStatusBar>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/store/DatabaseLocation.h"
#include "core/store/DrawStore.h"
#include "core/store/StartingLoad.h"

#include "core/predict/OptionsFilePlace.h"
#include "core/predict/Prediction.h"
#include "core/predict/PredictionOptions.h"
#include "core/predict/PredictionTexts.h"
#include "gui/MainWindow.h"
#include "gui/common/JapaneseFont.h"
#include "gui/common/Messages.h"
#include "gui/common/ProcessMemory.h"
#include "gui/common/ProgramIcon.h"
#include "gui/common/QtJapanese.h"
#include "gui/common/QuitAfterFirstPaint.h"

namespace {

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
    // single step of a start, and it needs nothing from Qt. The latest
    // draws come first (the prediction paints from them); the rest is read
    // once the first paint is over.
    const std::string folder = programFolderBeforeQt();
    const rumone::StartingDatabase database = rumone::prepareStartingDatabase(folder);
    rumone::DrawDatabaseRef drawDatabase;
    rumone::StartingLoad history;
    if (!folder.empty() && database.problem.empty()) {
        drawDatabase = rumone::parseConnectionString(rumone::buildConnectionString(database.location.folder));
        history = rumone::StartingLoad::begin(drawDatabase, rumone::latestDrawsSettlePrediction);
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(rumone::programCaption());
    QApplication::setWindowIcon(rumone::programIcon());
    rumone::installQtJapanese(app);  // without it the standard buttons stay in English
    rumone::useJapaneseFontForWindows();
    rumone::QuitAfterFirstPaint quitAfterFirstPaint(QString::fromUtf8(rumone::kPredictionObjectName));
    if (QCoreApplication::arguments().contains(QStringLiteral("--quit-after-first-paint")))
        app.installEventFilter(&quitAfterFirstPaint);
    if (!database.problem.empty()) {
        rumone::showMessage(nullptr, QMessageBox::Critical, rumone::messageCaption(),
                            QString::fromStdString(database.problem));
        return 1;
    }
    rumone::MainWindow frame;
    // An installed copy keeps its options in the user's configuration
    // folder; one left in the working folder by an older start moves there.
    const std::string optionsFile =
        rumone::optionsFilePath(database.location, std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
    if (optionsFile != rumone::kOptionsFileName)
        rumone::moveOptionsFileInto(optionsFile, rumone::kOptionsFileName);
    frame.prediction().setInitFilePath(optionsFile);
    frame.setDatabaseInUse(QString::fromStdString(rumone::databaseInUseText(database.location)));
    const bool loaded = folder.empty() ? frame.load(QCoreApplication::applicationDirPath())
                                       : frame.load(std::move(drawDatabase), std::move(history));
    if (!loaded)
        return 1;
    frame.showAtStart();
    if (!database.note.empty())
        frame.statusBar()->showMessage(QString::fromStdString(database.note));
    const int code = app.exec();
    return frame.startFailed() ? 1 : code;
}
