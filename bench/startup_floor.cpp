// The floor of a cold start: one keyed open of the draw database (the key
// derivation is most of its cost) and an empty main window of the
// program's size, started, painted once and quit.
//   startup_floor DATABASE
#include <QApplication>
#include <QMainWindow>
#include <QTimer>

#include <cstdio>

#include "core/store/DrawDatabase.h"
#include "gui/common/Twips.h"

namespace {

class QuitAfterFirstPaint : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!quitting_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow()) {
            quitting_ = true;
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
    if (argc < 2) {
        std::fprintf(stderr, "usage: startup_floor DATABASE\n");
        return 2;
    }
    QApplication app(argc, argv);
    QuitAfterFirstPaint quit;
    app.installEventFilter(&quit);
    {
        using namespace rumone;
        const sqlite::Connection db =
            openKeyedDatabase(parseConnectionString(connectionStringForFile(argv[1])), OpenAccess::ReadOnly);
    }
    QMainWindow window;
    window.resize(rumone::twipsToPixels(12300) + 80, rumone::twipsToPixels(13980) + 80);
    window.show();
    return app.exec();
}
