// The draws the program shows, apart from the frame that shows them: the
// database reference, its lock and the read-only state, the start's load,
// the history and its reloads. The frame keeps the windows and the menus;
// what the document has to tell or ask on screen it asks of the frame
// (DocumentWindows).
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>

#include "core/history/DrawHistory.h"
#include "core/store/DrawStore.h"
#include "core/store/StartingLoad.h"

namespace rumone {

class DatabaseLock;
class WaitCursor;

// What the document needs from the windows that show it.
class DocumentWindows {
public:
    virtual ~DocumentWindows() = default;
    // Another copy of the program holds the database at `path`: true to
    // open it read-only, false to end.
    virtual bool askToOpenReadOnly(const std::string& path) = 0;
    virtual void showError(const QString& text) = 0;
    // The start's draws could not be read: told, and the frame closes.
    virtual void endAfterFailedStart(const QString& reason) = 0;
    // Every open view lets go of the history before `swap` replaces it,
    // then shows the new draws (or is closed).
    virtual void changeHistory(const std::function<void()>& swap) = 0;
    // The start's draws are in (the first view may now show them).
    virtual void startDrawsRead() {}
};

class DrawDocument : public QObject {
    Q_OBJECT
public:
    explicit DrawDocument(DocumentWindows& windows);
    ~DrawDocument() override;

    // Claims the database (asking to open it read-only when another copy
    // holds it) and reads its draws; with `begun` valid the read goes on
    // off the window thread until finishStart. False when the program is
    // to end: the refusal or the failed read was told.
    bool open(DrawDatabaseRef database, StartingLoad begun);
    // A history already in memory (tests, tools).
    void openWithHistory(DrawHistory history);
    // Takes the start's draws once they are read. False when that read
    // failed; the first time, the frame is told (endAfterFailedStart).
    bool finishStart();
    bool startFailed() const { return startFailed_; }
    // The draws were read: only then is there anything to save at exit.
    bool started() const { return started_; }
    // The draws are still being read at start.
    bool loadingAtStart() const { return starting_.valid(); }
    // While the start reads the rest: its latest draws, once read (waited
    // for), when they settle the prediction and are not every draw;
    // nullptr otherwise (the whole history is to be waited for).
    const LatestDraws* takeLatestAtStart();
    // Those latest draws, until every draw is in.
    const LatestDraws* latestAtStart() const { return starting_.valid() && latest_ ? &*latest_ : nullptr; }
    // The first paint is over: every draw is read now, off the window
    // thread, and taken (finishStart) once in.
    void readTheRestOfTheStart();

    const DrawHistory& history() const { return history_; }
    const DrawDatabaseRef& database() const { return database_; }
    // Another copy of the program holds the database: this one only reads.
    bool readOnly() const { return readOnly_; }
    // The sentence that refuses `what` in a read-only copy.
    QString readOnlyRefusal(const QString& what) const;
    // The database named in the version window (path and place).
    void setDatabaseInUse(const QString& text) { databaseInUse_ = text; }
    const QString& databaseInUse() const { return databaseInUse_; }

    // Draws were written to the file: it is read again off the window
    // thread, and the views follow once the result is in.
    void drawsWritten();
    bool reloadPending() const { return reload_.valid(); }
    // Waits for a reload under way, if any, and shows its result.
    void finishReload();

    // At exit, before anything goes: the start's draws are taken once
    // read, a reload under way is waited for and dropped, and nothing is
    // read again.
    void finishForExit();
    void releaseHistory() { history_.releaseDrawHistory(); }

private:
    bool claim();
    void pollReload();
    void pollStart();

    DocumentWindows& windows_;
    DrawHistory history_;
    DrawDatabaseRef database_;
    QString databaseInUse_;
    std::unique_ptr<DatabaseLock> lock_;
    bool readOnly_ = false;
    bool started_ = false;
    bool closed_ = false;
    StartingLoad starting_;                   // the start's load, until the first view takes it
    std::optional<LatestDraws> latest_;       // its latest draws, while it reads the rest
    bool startFailed_ = false;                // that load failed: the program is ending
    std::future<DrawHistory> reload_;         // a reload under way
    std::unique_ptr<WaitCursor> reloadWait_;  // shown once the reload takes longer than a frame
};

}  // namespace rumone
