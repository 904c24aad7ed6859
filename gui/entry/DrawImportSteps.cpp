#include "gui/entry/DrawImportSteps.h"

#include <QFile>
#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <string>

#include "core/store/CsvFile.h"
#include "core/store/DrawDetailsStore.h"
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

using SourceRead = std::function<std::vector<SourceDraw>(const SourceProgress&)>;

// The source is read on a thread of its own; meanwhile the window shows the
// import's progress (once it takes longer than a frame) and keeps answering.
std::vector<SourceDraw> readOffThread(QWidget* owner, const SourceRead& read)
{
    std::atomic<std::size_t> done = 0, total = 1;
    std::future<std::vector<SourceDraw>> reading = std::async(std::launch::async, [&read, &done, &total] {
        return read([&done, &total](std::size_t d, std::size_t t) {
            total = t;
            done = d;
        });
    });
    DelayedProgress progress(owner, QStringLiteral("取り込んでいます。"));
    while (reading.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready)
        progress.step(done, total);
    return reading.get();
}

// Every import reads its source the same way: a source that cannot be read
// is refused with its reason, and nothing is written.
std::optional<std::vector<SourceDraw>> readSource(QWidget* owner, const std::string& path, const SourceRead& read)
{
    std::vector<SourceDraw> draws;
    try {
        draws = readOffThread(owner, read);
    } catch (const CsvFileError& e) {
        showError(owner, QString::fromUtf8(e.what()));
        return std::nullopt;
    } catch (const DrawSourceError& e) {
        showError(owner, QString::fromStdString(sourceRefusal(path, e)));
        return std::nullopt;
    }
    if (draws.empty()) {
        showInfo(owner, QString::fromStdString(emptySourceNote(path)));
        return std::nullopt;
    }
    return draws;
}

QStringList qtLines(const std::vector<std::string>& lines)
{
    QStringList list;
    for (const std::string& line : lines)
        list << QString::fromStdString(line);
    return list;
}

}  // namespace

std::optional<std::vector<SourceDraw>> readDrawsFromFiles(QWidget* owner, const QStringList& paths)
{
    if (paths.isEmpty())
        return std::nullopt;
    std::vector<std::string> files;
    for (const QString& path : paths)
        files.push_back(QFile::encodeName(path).toStdString());
    // Messages name every file: CSV ファイル「a.csv」「b.csv」.
    return readSource(owner, paths.join(QStringLiteral("」「")).toStdString(),
                      [files](const SourceProgress& progress) { return readDrawSources(files, progress); });
}

std::optional<std::vector<SourceDraw>> readDrawsFromPastedText(QWidget* owner, const QString& text)
{
    // The clipboard's text is Unicode already: read as it is, not decoded again.
    return readSource(owner, {}, [utf8 = text.toStdString()](const SourceProgress& progress) {
        return parseDrawSource(utf8, SourceKind::Pasted, progress);
    });
}

// The question lists each new draw with what its source gave, and each
// draw whose stored digits would change; a long list goes to 詳細.
bool confirmImport(QWidget* owner, const ImportPreview& preview, const std::vector<SourceDraw>& draws)
{
    constexpr int kListedInText = 20;
    QString text = QStringLiteral("取り込む前の確認です。\n\n新しい回: %1\n変わる回: %2\n同じ回: %3")
                       .arg(preview.added.size())
                       .arg(preview.changed.size())
                       .arg(preview.unchanged);
    if (!preview.details.empty())
        text += QStringLiteral("\n抽せん日が加わる・変わる回: %1\n当せん金が加わる・変わる回: %2")
                    .arg(preview.details.dateCount())
                    .arg(preview.details.prizeCount());
    const QStringList added = qtLines(newDrawLines(preview, draws));
    // A stored date or prize that would change is listed like a changed
    // number.
    std::vector<std::string> changeLines = changedLines(preview);
    for (std::string& line : detailLines(preview.details))
        if (line.find(" → ") != std::string::npos)
            changeLines.push_back(std::move(line));
    const QStringList changed = qtLines(changeLines);
    const auto section = [&text](const QString& heading, const QStringList& lines) {
        if (lines.isEmpty())
            return;
        text += heading + lines.mid(0, kListedInText).join(u'\n');
        if (lines.size() > kListedInText)
            text += QStringLiteral("\nほか %1 回（「詳細」にすべて）").arg(lines.size() - kListedInText);
    };
    section(QStringLiteral("\n\n新しく登録する回:\n"), added);
    section(QStringLiteral("\n\n登録済みの数字が変わる回（登録済み → 取り込む数字）:\n"), changed);
    text += QStringLiteral("\n\n「取込」で書き込みます。「キャンセル」では何も書き込みません。");
    QString details;
    if (added.size() > kListedInText || changed.size() > kListedInText)
        details = (added + changed).join(u'\n');
    const bool changes = !changed.isEmpty();
    const QMessageBox::StandardButton answer = showMessage(
        owner, changes ? QMessageBox::Warning : QMessageBox::Question, programCaption(), text,
        QMessageBox::Ok | QMessageBox::Cancel, changes ? QMessageBox::Cancel : QMessageBox::Ok,
        {{QMessageBox::Ok, QStringLiteral("取込")}, {QMessageBox::Cancel, QStringLiteral("キャンセル")}}, details);
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

bool importDrawsIntoDatabase(QWidget* owner, const DrawDatabaseRef& database, const std::vector<SourceDraw>& draws)
{
    try {
        DrawEditSet set = openDrawEditSet(database);
        const ImportPreview preview =
            previewImport(editRowsFrom(draws), detailsFrom(draws), set.rows(), set.readDetails());
        if (preview.writesNothing()) {
            tellNothingToImport(owner, preview);
            return false;
        }
        if (!confirmImport(owner, preview, draws))
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
