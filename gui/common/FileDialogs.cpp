#include "gui/common/FileDialogs.h"

#include <QFileDialog>
#include <QStringList>
#include <algorithm>

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
    choice.path = save ? QFileDialog::getSaveFileName(owner, caption, suggested, filters, &chosen)
                       : QFileDialog::getOpenFileName(owner, caption, suggested, filters, &chosen);
    choice.filter = std::max(0, static_cast<int>(list.indexOf(chosen)));
    return choice;
}

QStringList chooseFilesToRead(QWidget* owner, const QString& caption, const QString& filters)
{
    FileChoice choice;
    if (ScriptedFileChoices::answer(caption, choice))
        return choice.path.isEmpty() ? QStringList() : QStringList{choice.path};
    return QFileDialog::getOpenFileNames(owner, caption, {}, filters);
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
