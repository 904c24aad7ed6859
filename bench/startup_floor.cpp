// The floor of a cold start: one keyed open of the draw database (the key
// derivation is most of its cost) and an empty main window of the
// program's size, started, painted once and quit.
//   startup_floor DATABASE [--sqlcipher-key]
// The key is derived as the program derives it, or with the flag by
// SQLCipher itself from the password (its own derivation takes longer).
#include <QApplication>
#include <QMainWindow>
#include <QTimer>

#include <cstdio>
#include <cstring>

#include "core/store/DrawDatabase.h"
#include "gui/common/QuitAfterFirstPaint.h"
#include "gui/common/Twips.h"

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: startup_floor DATABASE\n");
        return 2;
    }
    QApplication app(argc, argv);
    rumone::QuitAfterFirstPaint quit{QString()};
    app.installEventFilter(&quit);
    {
        using namespace rumone;
        const DrawDatabaseRef info = drawDatabaseAt(argv[1]);
        if (argc > 2 && std::strcmp(argv[2], "--sqlcipher-key") == 0) {
            sqlite3* raw = nullptr;
            sqlite3_open_v2(info.path.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
            const sqlite::Connection db(raw);
            sqlite3_key(db.get(), info.password.data(), static_cast<int>(info.password.size()));
            if (sqlite3_exec(db.get(), "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK)
                return 1;
        } else {
            const sqlite::Connection db = openKeyedDatabase(info, OpenAccess::ReadOnly);
        }
    }
    QMainWindow window;
    window.resize(rumone::twipsToPixels(12300) + 80, rumone::twipsToPixels(13980) + 80);
    window.show();
    return app.exec();
}
