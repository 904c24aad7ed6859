#include <QApplication>

#include "gui/MainWindow.h"
#include "gui/common/Messages.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(rumone::programCaption());
    rumone::MainWindow frame;
    if (!frame.load(QCoreApplication::applicationDirPath()))
        return 1;
    frame.showAtStart();
    return app.exec();
}
