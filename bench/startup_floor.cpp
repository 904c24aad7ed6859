// The floors of a cold start: one keyed open of the draw database (the key
// derivation is most of its cost) and a main window of the program's size,
// started, painted once and quit.
//   startup_floor DATABASE [--sqlcipher-key | --text]
// The key is derived as the program derives it, or with --sqlcipher-key by
// SQLCipher itself from the password (its own derivation takes longer).
// Without a flag the window is empty and paints no text, so fontconfig and
// FreeType are never loaded; with --text it carries what any window of the
// program carries: the program's font, a menu bar of the program's width
// with its submenus, a label and a status line (the text floor).
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>

#include <cstdio>
#include <cstring>

#include "core/store/DrawDatabase.h"
#include "gui/common/JapaneseFont.h"
#include "gui/common/QuitAfterFirstPaint.h"
#include "gui/common/Twips.h"

namespace {

// Eight entries as the program's menu bar has, five of them menus of a
// few commands each.
void addMenus(QMainWindow& window)
{
    QMenuBar* bar = window.menuBar();
    for (const char* command : {"終了(&X)", "予想する(&D)", "検証する(&V)"})
        bar->addAction(QString::fromUtf8(command));
    const char* const menus[] = {"データ分析(&S)", "データ管理(&M)", "表示(&Z)", "ウィンドウ(&W)", "ヘルプ(&H)"};
    for (const char* caption : menus) {
        QMenu* menu = bar->addMenu(QString::fromUtf8(caption));
        for (int i = 1; i <= 5; ++i)
            menu->addAction(QStringLiteral("コマンド%1(&%1)").arg(i));
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: startup_floor DATABASE [--sqlcipher-key | --text]\n");
        return 2;
    }
    const bool withText = argc > 2 && std::strcmp(argv[2], "--text") == 0;
    QApplication app(argc, argv);
    if (withText)
        rumone::useJapaneseFontForWindows();
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
    if (withText) {
        addMenus(window);
        auto* label = new QLabel(QStringLiteral("第32768回の予想：各桁の数字を選んでください。"), &window);
        label->setAlignment(Qt::AlignCenter);
        window.setCentralWidget(label);
        window.statusBar()->showMessage(QStringLiteral("当選データを読み込みました（第32767回まで）。"));
    }
    window.show();
    return app.exec();
}
