// The help call layer. The help file is looked for by the name given: a
// bare name in the current folder first, then beside the program, then in
// the shared folder of an installed program (<prefix>/share/rumone).
#include "gui/help/HtmlHelp.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>

#include <memory>
#include <utility>

#include "core/store/DatabaseLocation.h"
#include "gui/common/Messages.h"
#include "gui/help/ChmFile.h"
#include "gui/help/HelpWindow.h"

namespace rumone {

namespace {

constexpr const char* kProgramHelpFile = "ルモーネ.chm";
constexpr const char* kProgramHelpKeyword = "ヨンケタ４について";
constexpr int kAkLinkSize = 32;  // the record size the help command states

HtmlHelpHook& installedHook()
{
    static HtmlHelpHook hook;
    return hook;
}

void showMessage(QWidget* owner, const QString& title, const QString& text)
{
    rumone::showMessage(owner, QMessageBox::Critical, title, text);
}

void showMessage(QWidget* owner, const QString& text)
{
    showMessage(owner, messageCaption(), text);
}

// The path of the help file, or an empty string when there is none.
QString locateHelpFile(const QString& name)
{
    const QFileInfo given(name);
    if (given.isAbsolute())
        return given.isFile() ? given.absoluteFilePath() : QString();
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QString shared = QString::fromStdString(sharedDataFolder(programFolder.toStdString()));
    for (const QString& folder : {QDir::currentPath(), programFolder, shared}) {
        const QFileInfo candidate(QDir(folder), name);
        if (candidate.isFile())
            return candidate.absoluteFilePath();
    }
    return {};
}

QString missingFileText(const QString& name)
{
    return QStringLiteral("ヘルプファイル「%1」が見つかりません。\nプログラムと同じフォルダーに置いてください。")
        .arg(name);
}

QString unreadableFileText(const QString& name)
{
    return QStringLiteral("ヘルプファイル「%1」を開けません。\nファイルが壊れている可能性があります。").arg(name);
}

// The help window showing the file `name`: the open one when it already
// shows that file, otherwise the open one (or a new one) loaded with it.
// nullptr when the file is missing or unreadable; `problem` then holds the
// message for the user.
HelpWindow* helpWindowFor(QWidget* owner, const QString& name, QString& problem)
{
    const QString path = locateHelpFile(name);
    if (path.isEmpty()) {
        problem = missingFileText(name);
        return nullptr;
    }
    HelpWindow* window = HelpWindow::find();
    if (window != nullptr && window->filePath() == path)
        return window;

    std::shared_ptr<ChmFile> file = ChmFile::open(QFile::encodeName(path).toStdString());
    if (!file) {
        problem = unreadableFileText(name);
        return nullptr;
    }
    if (window == nullptr)
        window = new HelpWindow(owner != nullptr ? owner->window() : nullptr);
    window->setFile(std::move(file), path);
    return window;
}

void present(HelpWindow* window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

QWidget* displayIndex(QWidget* owner, const QString& name, const char* keyword)
{
    QString problem;
    HelpWindow* window = helpWindowFor(owner, name, problem);
    if (window == nullptr) {
        showMessage(owner, problem);
        return nullptr;
    }
    window->showIndex(keyword != nullptr ? QString::fromUtf8(keyword) : QString());
    present(window);
    return window;
}

// A failed lookup shows the record's own message if it has one; the file
// problems are reported by the index display that comes first.
void reportFailedLookup(QWidget* owner, const HH_AKLINK& link)
{
    if (link.pszMsgText == nullptr)
        return;
    const QString title = link.pszMsgTitle != nullptr ? QString::fromUtf8(link.pszMsgTitle) : messageCaption();
    showMessage(owner, title, QString::fromUtf8(link.pszMsgText));
}

QWidget* keywordLookup(QWidget* owner, const QString& name, const HH_AKLINK* link)
{
    if (link == nullptr || link->pszKeywords == nullptr)
        return nullptr;
    QString problem;
    HelpWindow* window = helpWindowFor(owner, name, problem);
    if (window == nullptr) {
        reportFailedLookup(owner, *link);
        return nullptr;
    }
    const QString keywords = QString::fromUtf8(link->pszKeywords);
    if (window->showKeyword(keywords)) {
        present(window);
        return window;
    }
    if (link->fIndexOnFail) {
        window->showIndex(keywords.section(u';', 0, 0).trimmed());
        present(window);
        return window;
    }
    reportFailedLookup(owner, *link);
    return nullptr;
}

}  // namespace

QWidget* htmlHelp(QWidget* owner, const char* file, unsigned command, std::uintptr_t data)
{
    if (const HtmlHelpHook& hook = installedHook())
        return hook(owner, file, command, data);
    if (file == nullptr)
        return nullptr;
    const QString name = QString::fromUtf8(file);
    switch (command) {
        case HH_DISPLAY_INDEX:
            return displayIndex(owner, name, reinterpret_cast<const char*>(data));
        case HH_KEYWORD_LOOKUP:
            return keywordLookup(owner, name, reinterpret_cast<const HH_AKLINK*>(data));
        default:
            return nullptr;
    }
}

ScopedHtmlHelpHook::ScopedHtmlHelpHook(HtmlHelpHook hook) : previous_(std::exchange(installedHook(), std::move(hook)))
{
}

ScopedHtmlHelpHook::~ScopedHtmlHelpHook()
{
    installedHook() = std::move(previous_);
}

void showProgramHelp(QWidget* owner)
{
    htmlHelp(owner, kProgramHelpFile, HH_DISPLAY_INDEX, reinterpret_cast<std::uintptr_t>(kProgramHelpKeyword));
    HH_AKLINK link;
    link.cbStruct = kAkLinkSize;
    link.fReserved = false;
    link.pszKeywords = kProgramHelpKeyword;
    link.fIndexOnFail = false;
    htmlHelp(owner, kProgramHelpFile, HH_KEYWORD_LOOKUP, reinterpret_cast<std::uintptr_t>(&link));
}

void prepareProgramHelp(QWidget* owner)
{
    if (installedHook() || HelpWindow::find() != nullptr)
        return;
    QString problem;
    HelpWindow* window = helpWindowFor(owner, QString::fromUtf8(kProgramHelpFile), problem);
    if (window == nullptr)
        return;
    const QString keyword = QString::fromUtf8(kProgramHelpKeyword);
    window->showIndex(keyword);
    window->showKeyword(keyword);
    window->drawAheadOfShowing();
}

void showHelpFor(QWidget* owner, const QString& keywords)
{
    const QByteArray utf8 = keywords.toUtf8();
    HH_AKLINK link;
    link.cbStruct = kAkLinkSize;
    link.pszKeywords = utf8.constData();
    link.fIndexOnFail = true;
    htmlHelp(owner, kProgramHelpFile, HH_KEYWORD_LOOKUP, reinterpret_cast<std::uintptr_t>(&link));
}

}  // namespace rumone
