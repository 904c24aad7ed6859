#include "gui/entry/DrawImportSteps.h"

#include <QFile>
#include <QStringList>
#include <string>

#include "core/store/CsvFile.h"
#include "core/store/DrawCsv.h"
#include "gui/common/DelayedProgress.h"
#include "gui/common/Messages.h"

namespace rumone {

namespace {

void showError(QWidget* owner, const QString& text)
{
    showMessage(owner, QMessageBox::Critical, messageCaption(), text);
}

void showInfo(QWidget* owner, const QString& text)
{
    showMessage(owner, QMessageBox::Information, messageCaption(), text);
}

}  // namespace

std::optional<std::vector<EditRow>> readDrawsFromCsvFile(QWidget* owner, const QString& path)
{
    std::string bytes;
    try {
        bytes = readCsvFile(QFile::encodeName(path).toStdString());
    } catch (const CsvFileError& e) {
        showError(owner, QString::fromUtf8(e.what()));
        return std::nullopt;
    }
    std::vector<EditRow> draws;
    try {
        draws = parseDrawCsv(bytes);
    } catch (const DrawCsvError& e) {
        showError(owner, QStringLiteral("CSV ファイル「%1」を取り込めません。\n\n%2\n\n何も取り込んでいません。")
                             .arg(path, QString::fromUtf8(e.what())));
        return std::nullopt;
    }
    if (draws.empty()) {
        showInfo(owner, QStringLiteral("CSV ファイル「%1」に取り込むデータがありません。").arg(path));
        return std::nullopt;
    }
    return draws;
}

std::optional<std::vector<EditRow>> readDrawsFromPastedText(QWidget* owner, const QString& text)
{
    std::vector<EditRow> draws;
    try {
        draws = parsePastedDraws(text.toStdString());
    } catch (const DrawCsvError& e) {
        showError(owner, QStringLiteral("貼り付けた文字を取り込めません。\n\n%1\n\n何も取り込んでいません。")
                             .arg(QString::fromUtf8(e.what())));
        return std::nullopt;
    }
    if (draws.empty()) {
        showInfo(owner, QStringLiteral("貼り付けた文字に、回と 4 桁の当せん番号のある行がありません。"));
        return std::nullopt;
    }
    return draws;
}

bool confirmImport(QWidget* owner, const ImportPreview& preview)
{
    constexpr int kListedInText = 20;
    QString text = QStringLiteral("取り込む前の確認です。\n\n新しい回: %1\n変わる回: %2\n同じ回: %3")
                       .arg(preview.added.size())
                       .arg(preview.changed.size())
                       .arg(preview.unchanged);
    QStringList all;
    for (const std::string& line : changedLines(preview))
        all << QString::fromStdString(line);
    if (!all.isEmpty()) {
        text += QStringLiteral("\n\n登録済みの数字が変わる回（登録済み → 取り込む数字）:\n") +
                all.mid(0, kListedInText).join(u'\n');
        if (all.size() > kListedInText)
            text += QStringLiteral("\nほか %1 回（「詳細」にすべて）").arg(all.size() - kListedInText);
    }
    text += QStringLiteral("\n\n「取込」で書き込みます。「キャンセル」では何も書き込みません。");
    const QMessageBox::StandardButton answer =
        showMessage(owner, all.isEmpty() ? QMessageBox::Question : QMessageBox::Warning, programCaption(), text,
                    QMessageBox::Ok | QMessageBox::Cancel, all.isEmpty() ? QMessageBox::Ok : QMessageBox::Cancel,
                    {{QMessageBox::Ok, QStringLiteral("取込")}, {QMessageBox::Cancel, QStringLiteral("キャンセル")}},
                    all.size() > kListedInText ? all.join(u'\n') : QString());
    return answer == QMessageBox::Ok;
}

void tellImported(QWidget* owner, const ImportCounts& counts, const ImportPreview& preview)
{
    showInfo(owner, QStringLiteral("取り込みました（新しい回 %1、変わった回 %2、同じ回 %3）。")
                        .arg(counts.added)
                        .arg(counts.replaced)
                        .arg(preview.unchanged));
}

void tellNothingToImport(QWidget* owner, const ImportPreview& preview)
{
    showInfo(owner, QStringLiteral("取り込む %1 回はすべて登録済みの数字と同じです。何も書き込んでいません。")
                        .arg(preview.unchanged));
}

bool importDrawsIntoDatabase(QWidget* owner, const DrawDatabaseRef& database, const std::vector<EditRow>& draws)
{
    try {
        DrawEditSet set = openDrawEditSet(database);
        const ImportPreview preview = previewImport(draws, set.rows());
        if (preview.writesNothing()) {
            tellNothingToImport(owner, preview);
            return false;
        }
        if (!confirmImport(owner, preview))
            return false;
        ImportCounts counts;
        {
            DelayedProgress progress(owner, QStringLiteral("取り込んでいます。"));
            counts = set.importPreviewed(
                preview, [&progress](std::size_t done, std::size_t total) { progress.step(done, total); });
        }
        tellImported(owner, counts, preview);
        return true;
    } catch (const StoreError& e) {
        showError(owner,
                  QStringLiteral("取り込めませんでした。何も取り込んでいません。\n\n") + QString::fromUtf8(e.what()));
        return false;
    }
}

}  // namespace rumone
