#include <QApplication>

#include "gui/MainWindow.h"
#include "gui/common/Messages.h"
#include "gui/common/ProgramIcon.h"
#include "gui/common/QtJapanese.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(rumone::programCaption());
    QApplication::setWindowIcon(rumone::programIcon());
    rumone::installQtJapanese(app);  // without it the standard buttons stay in English
    rumone::MainWindow frame;
    if (!frame.load(QCoreApplication::applicationDirPath()))
        return 1;
    frame.showAtStart();
    return app.exec();
}
