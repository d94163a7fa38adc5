#include "history/results_store.h"

#include "history/history_texts.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <array>

namespace tipora {

namespace {

constexpr const char* kDriver = "QSQLITE";
constexpr QByteArrayView kSqliteMagic("SQLite format 3\0", 16);

// Each step brings the file from the version of its index to the next one. Steps are never
// changed once released: a file of any older version upgrades by running the rest in order.
constexpr std::array<const char*, SqliteResultsStore::kSchemaVersion> kMigrations{
    "CREATE TABLE results ("
    " id INTEGER PRIMARY KEY,"
    " recorded_at TEXT NOT NULL,"
    " lesson INTEGER NOT NULL,"
    " caption TEXT NOT NULL,"
    " keyboard_type INTEGER NOT NULL,"
    " seconds INTEGER NOT NULL,"
    " keystrokes INTEGER NOT NULL,"
    " errors INTEGER NOT NULL,"
    " lines INTEGER NOT NULL,"
    " keystrokes_per_minute INTEGER NOT NULL,"
    " errors_per_line REAL NOT NULL,"
    " finished INTEGER NOT NULL)",
    // The window lists results newest first; with thousands of them it should not sort.
    "CREATE INDEX results_by_time ON results (recorded_at, id)",
};

constexpr const char* kColumns =
    "recorded_at, lesson, caption, keyboard_type, seconds, keystrokes, errors, lines, "
    "keystrokes_per_minute, errors_per_line, finished";

// SQLite's primary result codes, as the driver reports them.
constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteNotADatabase = 26;

int sqliteCode(const QSqlError& error) {
    // Extended codes carry the primary one in their low byte.
    return error.nativeErrorCode().toInt() & 0xFF;
}

QString writeFailureReason(int code) {
    switch (code) {
    case kSqliteBusy:
    case kSqliteLocked:
        return texts::kReasonBusy;
    case kSqliteCorrupt:
    case kSqliteNotADatabase:
        return texts::kReasonDamaged;
    default:
        return texts::kReasonCannotWrite;
    }
}

QString connectionName(const void* owner) {
    return QStringLiteral("tipora-results-%1").arg(reinterpret_cast<quintptr>(owner), 0, 16);
}

} // namespace

SqliteResultsStore::SqliteResultsStore(QString filePath, int busyTimeoutMs)
    : path_(std::move(filePath)), connection_(connectionName(this)), busyTimeoutMs_(busyTimeoutMs) {
}

SqliteResultsStore::~SqliteResultsStore() {
    closeConnection();
}

void SqliteResultsStore::closeConnection() {
    if (QSqlDatabase::contains(connection_)) {
        QSqlDatabase::database(connection_, false).close();
        QSqlDatabase::removeDatabase(connection_);
    }
}

bool SqliteResultsStore::fail(const QString& reason, bool closeToo) {
    if (failure_.isEmpty()) {
        failure_ = texts::resultsNotStored(path_, reason);
    }
    if (closeToo) {
        // The connection goes once the caller's queries on it are gone: see ensureOpen.
        state_ = State::Off;
    }
    return false;
}

bool SqliteResultsStore::failWrite(int code) {
    return fail(writeFailureReason(code), code == kSqliteCorrupt || code == kSqliteNotADatabase);
}

bool SqliteResultsStore::ensureOpen() {
    if (state_ == State::Unopened && openDatabase() && bringSchemaUpToDate()) {
        state_ = State::Open;
    }
    if (state_ == State::Off) {
        closeConnection();
    }
    return state_ == State::Open;
}

bool SqliteResultsStore::openDatabase() {
    const QFileInfo info(path_);
    if (info.exists()) {
        if (!info.isFile()) {
            return fail(texts::kReasonCannotOpen, true);
        }
        // SQLite would take any file it is given and write its own pages over it; only a file
        // that already is an SQLite database (or an empty one) may be opened.
        QFile file(path_);
        if (!file.open(QIODevice::ReadOnly)) {
            return fail(texts::kReasonCannotOpen, true);
        }
        const QByteArray head = file.read(kSqliteMagic.size());
        if (!head.isEmpty() && head != kSqliteMagic) {
            return fail(texts::kReasonNotResults, true);
        }
    }
    if (!QSqlDatabase::isDriverAvailable(QString::fromLatin1(kDriver))) {
        return fail(texts::kReasonCannotOpen, true);
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QString::fromLatin1(kDriver), connection_);
    db.setDatabaseName(path_);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs_));
    if (!db.open()) {
        return fail(texts::kReasonCannotOpen, true);
    }
    return true;
}

bool SqliteResultsStore::bringSchemaUpToDate() {
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next()) {
        const int code = sqliteCode(query.lastError());
        return fail(code == kSqliteBusy || code == kSqliteLocked ? texts::kReasonBusy
                                                                 : texts::kReasonNotResults,
                    true);
    }
    const int version = query.value(0).toInt();
    if (version > kSchemaVersion) {
        return fail(texts::kReasonNewer, true);
    }
    if (!query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) || !query.next()) {
        return fail(texts::kReasonDamaged, true);
    }
    const int objects = query.value(0).toInt();
    if (version == 0 && objects > 0) {
        // Somebody else's database under our name.
        return fail(texts::kReasonNotResults, true);
    }
    if (version > 0 &&
        !query.exec(
            QStringLiteral("SELECT %1 FROM results LIMIT 0").arg(QLatin1String(kColumns)))) {
        return fail(texts::kReasonNotResults, true);
    }
    if (version == kSchemaVersion) {
        return true;
    }
    // The whole upgrade or nothing: a crash in between leaves the older version intact.
    if (!db.transaction()) {
        return fail(writeFailureReason(sqliteCode(db.lastError())), true);
    }
    bool done = true;
    for (int step = version; done && step < kSchemaVersion; ++step) {
        done = query.exec(QString::fromLatin1(kMigrations[step]));
    }
    done = done && query.exec(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion));
    if (!done) {
        const int code = sqliteCode(query.lastError());
        db.rollback();
        return fail(writeFailureReason(code), true);
    }
    if (!db.commit()) {
        const int code = sqliteCode(db.lastError());
        db.rollback();
        return fail(writeFailureReason(code), true);
    }
    return true;
}

bool SqliteResultsStore::record(const LessonResult& r) {
    if (!failure_.isEmpty() || !ensureOpen()) {
        return false;
    }
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (!db.transaction()) {
        return failWrite(sqliteCode(db.lastError()));
    }
    QSqlQuery query(db);
    query.prepare(
        QStringLiteral("INSERT INTO results (%1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
            .arg(QLatin1String(kColumns)));
    query.addBindValue(r.when.toString(Qt::ISODate));
    query.addBindValue(r.lesson);
    query.addBindValue(r.caption);
    query.addBindValue(r.keyboardType);
    query.addBindValue(r.seconds);
    query.addBindValue(r.keystrokes);
    query.addBindValue(r.errors);
    query.addBindValue(r.lines);
    query.addBindValue(r.keystrokesPerMinute);
    query.addBindValue(r.errorsPerLine);
    query.addBindValue(r.finished ? 1 : 0);
    if (!query.exec()) {
        const int code = sqliteCode(query.lastError());
        db.rollback();
        return failWrite(code);
    }
    if (!db.commit()) {
        const int code = sqliteCode(db.lastError());
        db.rollback();
        return failWrite(code);
    }
    return true;
}

QList<LessonResult> SqliteResultsStore::results() {
    QList<LessonResult> list;
    if (!ensureOpen()) {
        return list;
    }
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT %1 FROM results ORDER BY recorded_at DESC, id DESC")
                        .arg(QLatin1String(kColumns)))) {
        return list;
    }
    while (query.next()) {
        LessonResult r;
        r.when = QDateTime::fromString(query.value(0).toString(), Qt::ISODate);
        r.lesson = query.value(1).toInt();
        r.caption = query.value(2).toString();
        r.keyboardType = query.value(3).toInt();
        r.seconds = query.value(4).toInt();
        r.keystrokes = query.value(5).toInt();
        r.errors = query.value(6).toInt();
        r.lines = query.value(7).toInt();
        r.keystrokesPerMinute = query.value(8).toInt();
        r.errorsPerLine = query.value(9).toDouble();
        r.finished = query.value(10).toInt() != 0;
        list.append(std::move(r));
    }
    return list;
}

bool SqliteResultsStore::clear() {
    if (!failure_.isEmpty() || !ensureOpen()) {
        return false;
    }
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("DELETE FROM results"))) {
        return failWrite(sqliteCode(query.lastError()));
    }
    return true;
}

} // namespace tipora
