#pragma once

#include "app/classroom_config.h"
#include "history/lesson_result.h"

#include <QList>
#include <QString>
#include <optional>

class QFileInfo;

namespace tipora {

// Where finished lessons are kept. The main window and the results window see only this.
class ResultsStore {
public:
    virtual ~ResultsStore() = default;

    // Opens the file ahead of the first result, so that a lesson's end does not wait for it.
    virtual void prepare() = 0;
    // One result with its key figures, committed on its own. False when it was not stored;
    // failure() says why.
    virtual bool record(const LessonResult& result) = 0;
    // Every stored result, newest first, without its key figures.
    virtual QList<LessonResult> results() = 0;
    // The key figures of the period's results added up per character and per confusion: each
    // character's own row first, then its confusions, characters in code order. Nothing when
    // they cannot be read; the results themselves are not affected by that.
    virtual std::optional<QList<KeyFigure>> keyFigures(const KeyPeriod& period) = 0;
    // Forgets every stored result.
    virtual bool clear() = 0;
    // Empty while the store works; once set, nothing more is written.
    virtual QString failure() const = 0;
    // How the results reach the class's server; nothing when no class is set up.
    virtual std::optional<ClassroomStatus> classroomStatus() { return std::nullopt; }
};

// The results in an SQLite file. Nothing is opened until the first use, so the tutor's start
// does not wait for it. A file that is not a results database of this program, or that cannot
// be written, is left exactly as it is: the store switches itself off instead.
// Whose results a classroom server is sent, as the lab's file names them.
struct ClassroomTag {
    QString className;
    QString studentName;
};

// A result waiting for the classroom server: its unique id and what the server is sent.
struct QueuedResult {
    QString uid;
    QByteArray payload;
};

// What the classroom server's submitting function takes for one result, as compact JSON.
QByteArray classroomPayload(const LessonResult& result, const QString& uid,
                            const ClassroomTag& tag);

class SqliteResultsStore final : public ResultsStore {
public:
    static constexpr int kSchemaVersion = 5;
    // Another tutor writing its result holds the file for milliseconds; waiting longer than
    // this means something is wrong with it.
    static constexpr int kDefaultBusyTimeoutMs = 2000;

    explicit SqliteResultsStore(QString filePath, int busyTimeoutMs = kDefaultBusyTimeoutMs);
    ~SqliteResultsStore() override;
    SqliteResultsStore(const SqliteResultsStore&) = delete;
    SqliteResultsStore& operator=(const SqliteResultsStore&) = delete;

    void prepare() override;
    bool record(const LessonResult& result) override;
    QList<LessonResult> results() override;
    std::optional<QList<KeyFigure>> keyFigures(const KeyPeriod& period) override;
    bool clear() override;
    QString failure() const override { return failure_; }

    const QString& filePath() const { return path_; }
    // Opens the file and makes its write-ahead log, which SQLite keeps while any connection
    // has the file open. Another connection's first result then only appends to it, rather
    // than creating and syncing a new file. False when the store cannot write.
    bool openLog();

    // From now on every result is also queued for the classroom server, in its transaction.
    void queueFor(const ClassroomTag& tag) { classroom_ = tag; }
    // Results queued and not yet acknowledged by the server; nothing when unreadable.
    std::optional<int> waitingCount();
    // The oldest waiting results, at most `limit`.
    QList<QueuedResult> waiting(int limit);
    // The server has it (a null problem), or refused it for the reason given: it stays queued.
    bool markQueued(const QString& uid, const QString& problem = QString());

private:
    enum class State { Unopened, Open, Off };

    bool ensureOpen();
    void closeConnection();
    bool openDatabase();
    bool openConnection(const QFileInfo& info);
    bool bringSchemaUpToDate();
    // Switches writing off for good (and everything off when the file could not be opened).
    bool fail(const QString& reason, bool closeToo);
    bool failWrite(int sqliteCode);

    QString path_;
    QString connection_;
    int busyTimeoutMs_;
    State state_ = State::Unopened;
    bool readOnly_ = false;
    QString failure_;
    std::optional<ClassroomTag> classroom_;
    QString openPath_; // the file's canonical path while this store has it open
};

} // namespace tipora
