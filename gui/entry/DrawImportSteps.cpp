#include "gui/entry/DrawImportSteps.h"

#include <QFile>
#include <algorithm>
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

constexpr std::size_t kListedInText = 20;

// `work` runs on a thread of its own; meanwhile the window shows the
// import's progress (once it takes longer than a frame) and keeps answering.
template <typename Result>
Result offThread(QWidget* owner, const std::function<Result(const SourceProgress&)>& work)
{
    std::atomic<std::size_t> done = 0, total = 1;
    std::future<Result> running = std::async(std::launch::async, [&work, &done, &total] {
        return work([&done, &total](std::size_t d, std::size_t t) {
            total = t;
            done = d;
        });
    });
    DelayedProgress progress(owner, QStringLiteral("取り込んでいます。"));
    while (running.wait_for(std::chrono::milliseconds(4)) != std::future_status::ready)
        progress.step(done, total);
    return running.get();
}

std::vector<SourceDraw> readOffThread(QWidget* owner, const SourceRead& read)
{
    return offThread<std::vector<SourceDraw>>(owner, read);
}

ImportQuestion questionOf(const std::vector<SourceDraw>& draws, const std::vector<EditRow>& stored,
                          const StoredDetails& storedDetails, const SourceProgress& progress)
{
    progress(0, 3);
    ImportQuestion q;
    q.preview = previewImport(editRowsFrom(draws), detailsFrom(draws), stored, storedDetails);
    progress(1, 3);
    q.added = newDrawLines(q.preview, draws);
    q.changed = changedLines(q.preview);
    // A stored date or prize that would change is listed like a changed
    // number.
    for (std::string& line : detailLines(q.preview.details))
        if (line.find(" → ") != std::string::npos)
            q.changed.push_back(std::move(line));
    progress(2, 3);
    if (q.added.size() > kListedInText || q.changed.size() > kListedInText)
        for (const auto* lines : {&q.added, &q.changed})
            for (const std::string& line : *lines)
                q.allLines.append(q.allLines.empty() ? "" : "\n").append(line);
    progress(3, 3);
    return q;
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

ImportQuestion importQuestion(QWidget* owner, const std::vector<SourceDraw>& draws, std::vector<EditRow> stored,
                              StoredDetails storedDetails)
{
    return offThread<ImportQuestion>(
        owner, [&](const SourceProgress& progress) { return questionOf(draws, stored, storedDetails, progress); });
}

// The question lists each new draw with what its source gave, and each
// draw whose stored digits would change; a long list goes to 詳細.
bool confirmImport(QWidget* owner, const ImportQuestion& question)
{
    const ImportPreview& preview = question.preview;
    QString text = QStringLiteral("取り込む前の確認です。\n\n新しい回: %1\n変わる回: %2\n同じ回: %3")
                       .arg(preview.added.size())
                       .arg(preview.changed.size())
                       .arg(preview.unchanged);
    if (!preview.details.empty())
        text += QStringLiteral("\n抽せん日が加わる・変わる回: %1\n当せん金が加わる・変わる回: %2")
                    .arg(preview.details.dateCount())
                    .arg(preview.details.prizeCount());
    const auto section = [&text](const QString& heading, const std::vector<std::string>& lines) {
        if (lines.empty())
            return;
        QStringList listed;
        for (std::size_t i = 0; i < std::min(lines.size(), kListedInText); ++i)
            listed << QString::fromStdString(lines[i]);
        text += heading + listed.join(u'\n');
        if (lines.size() > kListedInText)
            text += QStringLiteral("\nほか %1 回（「詳細」にすべて）").arg(lines.size() - kListedInText);
    };
    section(QStringLiteral("\n\n新しく登録する回:\n"), question.added);
    section(QStringLiteral("\n\n登録済みの数字が変わる回（登録済み → 取り込む数字）:\n"), question.changed);
    text += QStringLiteral("\n\n「取込」で書き込みます。「キャンセル」では何も書き込みません。");
    const bool changes = !question.changed.empty();
    const QMessageBox::StandardButton answer =
        showMessage(owner, changes ? QMessageBox::Warning : QMessageBox::Question, programCaption(), text,
                    QMessageBox::Ok | QMessageBox::Cancel, changes ? QMessageBox::Cancel : QMessageBox::Ok,
                    {{QMessageBox::Ok, QStringLiteral("取込")}, {QMessageBox::Cancel, QStringLiteral("キャンセル")}},
                    QString::fromStdString(question.allLines));
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
        // The file is read and the question worked out off the window thread.
        struct Opened {
            DrawEditSet set;
            ImportQuestion question;
        };
        Opened opened = offThread<Opened>(owner, [&](const SourceProgress& progress) {
            DrawEditSet set = openDrawEditSet(database);
            ImportQuestion question = questionOf(draws, set.rows(), set.readDetails(), progress);
            return Opened{std::move(set), std::move(question)};
        });
        DrawEditSet& set = opened.set;
        const ImportPreview& preview = opened.question.preview;
        if (preview.writesNothing()) {
            tellNothingToImport(owner, preview);
            return false;
        }
        if (!confirmImport(owner, opened.question))
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
