#include <QApplication>

#include "gui/MainWindow.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ルモーネ"));
    rumone::MainWindow frame;
    if (!frame.load(QCoreApplication::applicationDirPath()))
        return 1;
    frame.showAtStart();
    return app.exec();
}
