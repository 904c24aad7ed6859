#include "gui/common/FileDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>
#include <algorithm>

#include "gui/common/AppSettings.h"

namespace rumone {

namespace {

ScriptedFileChoices* newestChoices = nullptr;

}  // namespace

FileChoice chooseFile(QWidget* owner, bool save, const QString& caption, const QString& suggested,
                      const QString& filters)
{
    FileChoice choice;
    if (ScriptedFileChoices::answer(caption, choice))
        return choice;
    const QStringList list = filters.split(QStringLiteral(";;"));
    QString chosen = list.front();
    const QString start = dialogStartPath(suggested, AppSettings().lastFolder(),
                                          QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    choice.path = save ? QFileDialog::getSaveFileName(owner, caption, start, filters, &chosen)
                       : QFileDialog::getOpenFileName(owner, caption, start, filters, &chosen);
    choice.filter = std::max(0, static_cast<int>(list.indexOf(chosen)));
    if (!choice.path.isEmpty())
        AppSettings().setLastFolder(QFileInfo(choice.path).absolutePath());
    return choice;
}

QStringList chooseFilesToRead(QWidget* owner, const QString& caption, const QString& filters)
{
    FileChoice choice;
    if (ScriptedFileChoices::answer(caption, choice))
        return choice.path.isEmpty() ? QStringList() : QStringList{choice.path};
    const QStringList paths = QFileDialog::getOpenFileNames(
        owner, caption,
        dialogStartPath({}, AppSettings().lastFolder(),
                        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)),
        filters);
    if (!paths.isEmpty())
        AppSettings().setLastFolder(QFileInfo(paths.front()).absolutePath());
    return paths;
}

QString dialogStartPath(const QString& suggested, const QString& lastFolder, const QString& documents)
{
    if (QFileInfo(suggested).isAbsolute())
        return suggested;
    QString folder = documents;
    if (!lastFolder.isEmpty() && QFileInfo(lastFolder).isDir())
        folder = lastFolder;
    if (folder.isEmpty())
        folder = QDir::homePath();
    return suggested.isEmpty() ? folder : QDir(folder).filePath(suggested);
}

std::optional<CsvTarget> chooseCsvTarget(QWidget* owner, const QString& suggestedName)
{
    const FileChoice choice = chooseFile(owner, true, QStringLiteral("書き出す CSV ファイル"), suggestedName,
                                         QStringLiteral("CSV ファイル UTF-8 (*.csv);;CSV ファイル Shift-JIS (*.csv)"));
    if (choice.path.isEmpty())
        return std::nullopt;
    return CsvTarget{choice.path, choice.filter == 1};
}

ScriptedFileChoices::ScriptedFileChoices(std::vector<FileChoice> choices)
    : choices_(std::move(choices)), older_(newestChoices)
{
    newestChoices = this;
}

ScriptedFileChoices::~ScriptedFileChoices()
{
    newestChoices = older_;
}

bool ScriptedFileChoices::answer(const QString& caption, FileChoice& choice)
{
    if (!newestChoices)
        return false;
    std::vector<QString>& asked = newestChoices->asked_;
    const std::vector<FileChoice>& choices = newestChoices->choices_;
    choice = asked.size() < choices.size() ? choices[asked.size()] : FileChoice{};
    asked.push_back(caption);
    return true;
}

}  // namespace rumone
