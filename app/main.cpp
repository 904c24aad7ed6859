#include <QApplication>

#include "app/MainFrm.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ルモーネ"));
    rumone::MainFrm frame;
    if (!frame.Load(QCoreApplication::applicationDirPath()))
        return 1;
    frame.ShowAtStart();
    return app.exec();
}
