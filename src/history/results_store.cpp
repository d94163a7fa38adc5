#include "history/results_store.h"

#include "history/history_texts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUuid>
#include <QVariant>
#include <array>
#include <mutex>

namespace tipora {

namespace {

constexpr const char* kDriver = "QSQLITE";
constexpr QByteArrayView kSqliteMagic("SQLite format 3\0", 16);

// Each step brings the file to the version it names. Steps are never changed once released: a
// file of any older version upgrades by running the steps above its version, in order.
struct Migration {
    int toVersion;
    const char* sql;
};
constexpr std::array<Migration, 10> kMigrations{
    {{1, "CREATE TABLE results ("
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
         " finished INTEGER NOT NULL)"},
     // Version 1 kept the local time, which a change of summer time makes ambiguous and which
     // takes a time zone lookup per result to read; version 2 keeps UTC ("…Z").
     {2, "UPDATE results SET recorded_at ="
         " strftime('%Y-%m-%dT%H:%M:%SZ', recorded_at, 'utc')"
         " WHERE recorded_at NOT LIKE '%Z'"},
     // The window lists results newest first; with thousands of them it should not sort.
     {2, "CREATE INDEX results_by_time ON results (recorded_at, id)"},
     // Version 3 keeps how each character fared, a row per character and per confusion of a
     // result: a year of daily lessons stays a few thousand rows a month.
     {3, "CREATE TABLE key_figures ("
         " result_id INTEGER NOT NULL REFERENCES results (id),"
         " expected TEXT NOT NULL,"
         " typed TEXT,"
         " strokes INTEGER NOT NULL,"
         " errors INTEGER NOT NULL,"
         " timed INTEGER NOT NULL,"
         " total_ms INTEGER NOT NULL)"},
     {3, "CREATE INDEX key_figures_by_result ON key_figures (result_id)"},
     // Version 4 keeps drills beside the course's lessons: 'course', 'drill' or 'own_text', the
     // lesson 0 and the caption naming what was practised.
     {4, "ALTER TABLE results ADD COLUMN kind TEXT NOT NULL DEFAULT 'course'"},
     // The whole history's key figures add up from this index alone, in its order, without
     // reading the table or sorting.
     {4, "CREATE INDEX key_figures_by_key ON key_figures"
         " (expected, typed, strokes, errors, timed, total_ms)"},
     // A copy test's figures beside its result: the error rate in per cent, cut to hundredths;
     // grade 1 to 3, 0 not passed, NULL where the exam's conditions were not those of a grade.
     {4, "CREATE TABLE exam_figures ("
         " result_id INTEGER NOT NULL REFERENCES results (id),"
         " minutes INTEGER NOT NULL,"
         " minutes_used REAL NOT NULL,"
         " penalty INTEGER NOT NULL,"
         " gross_strokes INTEGER NOT NULL,"
         " errors INTEGER NOT NULL,"
         " net_strokes INTEGER NOT NULL,"
         " net_per_minute REAL NOT NULL,"
         " error_rate REAL NOT NULL,"
         " grade INTEGER)"},
     // Version 5 queues each result for a classroom server, when one is set up, in the same
     // transaction as the result: what the server is sent is built then, so clearing the
     // history never takes a result the server has not had yet.
     {5, "CREATE TABLE outbox ("
         " uid TEXT PRIMARY KEY,"
         " payload TEXT NOT NULL,"
         " sent_at TEXT,"
         " problem TEXT)"}}};

// "2026-12-07T17:05:09Z", as version 2 stores it; anything else reads as no time at all.
QDateTime utcTime(const QString& text) {
    if (text.size() != 20 || !text.endsWith(QLatin1Char('Z'))) {
        return {};
    }
    const QStringView t(text);
    const QDate date(t.sliced(0, 4).toInt(), t.sliced(5, 2).toInt(), t.sliced(8, 2).toInt());
    const QTime time(t.sliced(11, 2).toInt(), t.sliced(14, 2).toInt(), t.sliced(17, 2).toInt());
    return date.isValid() && time.isValid() ? QDateTime(date, time, Qt::UTC) : QDateTime();
}

// What every version has; the kind came with version 4 and is read where it is known.
constexpr const char* kColumns =
    "recorded_at, lesson, caption, keyboard_type, seconds, keystrokes, errors, lines, "
    "keystrokes_per_minute, errors_per_line, finished";

constexpr std::array<std::pair<LessonId::Kind, const char*>, 4> kKindNames{{
    {LessonId::Kind::Course, "course"},
    {LessonId::Kind::Drill, "drill"},
    {LessonId::Kind::OwnText, "own_text"},
    {LessonId::Kind::Exam, "exam"},
}};

QString kindName(LessonId::Kind kind) {
    for (const auto& [k, name] : kKindNames) {
        if (k == kind) {
            return QString::fromLatin1(name);
        }
    }
    return QStringLiteral("course");
}

LessonId::Kind kindOf(const QString& name) {
    for (const auto& [k, text] : kKindNames) {
        if (name == QLatin1String(text)) {
            return k;
        }
    }
    return LessonId::Kind::Course;
}

QString utcText(const QDateTime& when) {
    return when.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ"));
}

// SQLite's primary result codes, as the driver reports them.
constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteCantOpen = 14;
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

QString readFailureReason(int code) {
    switch (code) {
    case kSqliteNotADatabase:
        return texts::kReasonNotResults;
    case kSqliteCantOpen:
        return texts::kReasonCannotOpen;
    default:
        return writeFailureReason(code);
    }
}

// The history files this process has open through SQLite, by canonical path, with how many
// stores have each open.
class OpenFiles {
public:
    static bool isOpen(const QString& path) {
        const std::lock_guard lock(mutex());
        return files().value(path) > 0;
    }
    static void opened(const QString& path) {
        const std::lock_guard lock(mutex());
        ++files()[path];
    }
    static void closed(const QString& path) {
        const std::lock_guard lock(mutex());
        if (--files()[path] <= 0) {
            files().remove(path);
        }
    }

private:
    static std::mutex& mutex() {
        static std::mutex m;
        return m;
    }
    static QHash<QString, int>& files() {
        static QHash<QString, int> f;
        return f;
    }
};

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
    if (!openPath_.isEmpty()) {
        OpenFiles::closed(openPath_);
        openPath_.clear();
    }
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
        // that already is an SQLite database (or an empty one) may be opened. A file another
        // store of this process has open was checked when that one opened it, and must not be
        // opened and closed here: closing it would drop every lock SQLite holds on it for the
        // process (the locks belong to the process, not to a descriptor), and another program
        // closing the file could then delete the write-ahead log this one still writes to.
        if (OpenFiles::isOpen(info.canonicalFilePath())) {
            return openConnection(info);
        }
        QFile file(path_);
        if (!file.open(QIODevice::ReadOnly)) {
            return fail(texts::kReasonCannotOpen, true);
        }
        const QByteArray head = file.read(kSqliteMagic.size());
        if (!head.isEmpty() && head != kSqliteMagic) {
            return fail(texts::kReasonNotResults, true);
        }
    }
    // The per-user data folder does not exist before the first result of a fresh install.
    if (!info.exists()) {
        QDir().mkpath(info.absolutePath());
    }
    return openConnection(info);
}

bool SqliteResultsStore::openConnection(const QFileInfo& info) {
    if (!QSqlDatabase::isDriverAvailable(QString::fromLatin1(kDriver))) {
        return fail(texts::kReasonCannotOpen, true);
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QString::fromLatin1(kDriver), connection_);
    const QString busy = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs_);
    // A history in a folder or file that cannot be written is still shown. Nobody can change
    // it there, so SQLite may read it as it is, without the shared-memory file it would want
    // to create beside it.
    readOnly_ =
        info.exists() && (!info.isWritable() || !QFileInfo(info.absolutePath()).isWritable());
    if (readOnly_) {
        db.setDatabaseName(
            QUrl::fromLocalFile(info.absoluteFilePath()).toString(QUrl::FullyEncoded) +
            QStringLiteral("?immutable=1"));
        db.setConnectOptions(busy + QStringLiteral(";QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"));
    } else {
        db.setDatabaseName(path_);
        db.setConnectOptions(busy);
    }
    if (!db.open()) {
        return fail(texts::kReasonCannotOpen, true);
    }
    openPath_ = QFileInfo(path_).canonicalFilePath();
    if (!openPath_.isEmpty()) {
        OpenFiles::opened(openPath_);
    }
    return true;
}

bool SqliteResultsStore::bringSchemaUpToDate() {
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next()) {
        return fail(readFailureReason(sqliteCode(query.lastError())), true);
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
    if (readOnly_) {
        // Shown as it is; an older layout reads the same, it only cannot be upgraded.
        fail(texts::kReasonCannotWrite, false);
        return true;
    }
    // A write-ahead log: a result costs one sync of the log instead of several of the file and
    // its journal, and a tutor reading the history does not hold up another one writing.
    // The mode stays with the file, and only a file known to be ours is switched.
    query.exec(QStringLiteral("PRAGMA journal_mode = WAL"));
    if (version == kSchemaVersion) {
        return true;
    }
    // The whole upgrade or nothing: a crash in between leaves the older version intact.
    if (!db.transaction()) {
        return fail(writeFailureReason(sqliteCode(db.lastError())), true);
    }
    bool done = true;
    for (const Migration& step : kMigrations) {
        if (done && step.toVersion > version) {
            done = query.exec(QString::fromLatin1(step.sql));
        }
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
        QStringLiteral("INSERT INTO results (%1, kind) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
            .arg(QLatin1String(kColumns)));
    query.addBindValue(utcText(r.when));
    query.addBindValue(r.lesson);
    // A caption never read from anywhere is null, which the column refuses; it is empty.
    query.addBindValue(r.caption.isNull() ? QStringLiteral("") : r.caption);
    query.addBindValue(r.keyboardType);
    query.addBindValue(r.seconds);
    query.addBindValue(r.keystrokes);
    query.addBindValue(r.errors);
    query.addBindValue(r.lines);
    query.addBindValue(r.keystrokesPerMinute);
    query.addBindValue(r.errorsPerLine);
    query.addBindValue(r.finished ? 1 : 0);
    query.addBindValue(kindName(r.kind));
    bool done = query.exec();
    int code = done ? 0 : sqliteCode(query.lastError());
    const QVariant id = done ? query.lastInsertId() : QVariant();
    if (done && r.exam) {
        QSqlQuery exam(db);
        exam.prepare(QStringLiteral("INSERT INTO exam_figures (result_id, minutes, minutes_used,"
                                    " penalty, gross_strokes, errors, net_strokes, net_per_minute,"
                                    " error_rate, grade) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        const ExamFigures& f = *r.exam;
        for (const QVariant& value :
             {id, QVariant(f.minutes), QVariant(f.minutesUsed), QVariant(f.penalty),
              QVariant(f.grossStrokes), QVariant(f.errors), QVariant(f.netStrokes),
              QVariant(f.netPerMinute), QVariant(f.errorRateHundredths / 100.0),
              f.grade ? QVariant(*f.grade) : QVariant()}) {
            exam.addBindValue(value);
        }
        done = exam.exec();
        code = done ? 0 : sqliteCode(exam.lastError());
    }
    // The key figures go in the same transaction: a result never stands without its keys.
    if (done && !r.keys.isEmpty()) {
        QSqlQuery keys(db);
        keys.prepare(QStringLiteral("INSERT INTO key_figures (result_id, expected, typed, strokes,"
                                    " errors, timed, total_ms) VALUES (?, ?, ?, ?, ?, ?, ?)"));
        for (const KeyFigure& key : r.keys) {
            keys.addBindValue(id);
            keys.addBindValue(key.expected);
            keys.addBindValue(key.typed.isEmpty() ? QVariant() : QVariant(key.typed));
            keys.addBindValue(key.strokes);
            keys.addBindValue(key.errors);
            keys.addBindValue(key.timed);
            keys.addBindValue(key.totalMs);
            if (!keys.exec()) {
                code = sqliteCode(keys.lastError());
                done = false;
                break;
            }
        }
    }
    if (done && classroom_) {
        QSqlQuery queue(db);
        queue.prepare(QStringLiteral("INSERT INTO outbox (uid, payload) VALUES (?, ?)"));
        const QString uid = QUuid::createUuid().toString(QUuid::WithoutBraces);
        queue.addBindValue(uid);
        queue.addBindValue(QString::fromUtf8(classroomPayload(r, uid, *classroom_)));
        done = queue.exec();
        code = done ? 0 : sqliteCode(queue.lastError());
    }
    if (!done) {
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

std::optional<int> SqliteResultsStore::waitingCount() {
    if (!ensureOpen()) {
        return std::nullopt;
    }
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    if (!query.exec(QStringLiteral("SELECT count(*) FROM outbox WHERE sent_at IS NULL")) ||
        !query.next()) {
        return std::nullopt;
    }
    return query.value(0).toInt();
}

QList<QueuedResult> SqliteResultsStore::waiting(int limit) {
    QList<QueuedResult> list;
    if (!ensureOpen()) {
        return list;
    }
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.setForwardOnly(true);
    query.prepare(QStringLiteral(
        "SELECT uid, payload FROM outbox WHERE sent_at IS NULL ORDER BY rowid LIMIT ?"));
    query.addBindValue(limit);
    if (query.exec()) {
        while (query.next()) {
            list.append({query.value(0).toString(), query.value(1).toString().toUtf8()});
        }
    }
    return list;
}

bool SqliteResultsStore::markQueued(const QString& uid, const QString& problem) {
    if (!ensureOpen() || readOnly_) {
        return false;
    }
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    if (problem.isNull()) {
        query.prepare(
            QStringLiteral("UPDATE outbox SET sent_at = ?, problem = NULL WHERE uid = ?"));
        query.addBindValue(utcText(QDateTime::currentDateTimeUtc()));
    } else {
        query.prepare(QStringLiteral("UPDATE outbox SET problem = ? WHERE uid = ?"));
        query.addBindValue(problem);
    }
    query.addBindValue(uid);
    return query.exec() && query.numRowsAffected() == 1;
}

QByteArray classroomPayload(const LessonResult& r, const QString& uid, const ClassroomTag& tag) {
    QJsonArray keys;
    for (const KeyFigure& key : r.keys) {
        keys.append(QJsonObject{
            {QStringLiteral("expected"), key.expected},
            {QStringLiteral("typed"), key.typed.isEmpty() ? QJsonValue() : QJsonValue(key.typed)},
            {QStringLiteral("strokes"), key.strokes},
            {QStringLiteral("errors"), key.errors},
            {QStringLiteral("timed"), key.timed},
            {QStringLiteral("total_ms"), key.totalMs}});
    }
    QJsonValue exam;
    if (r.exam) {
        const ExamFigures& f = *r.exam;
        exam =
            QJsonObject{{QStringLiteral("minutes"), f.minutes},
                        {QStringLiteral("minutes_used"), f.minutesUsed},
                        {QStringLiteral("penalty"), f.penalty},
                        {QStringLiteral("gross_strokes"), f.grossStrokes},
                        {QStringLiteral("errors"), f.errors},
                        {QStringLiteral("net_strokes"), f.netStrokes},
                        {QStringLiteral("net_per_minute"), f.netPerMinute},
                        {QStringLiteral("error_rate"), f.errorRateHundredths / 100.0},
                        {QStringLiteral("grade"), f.grade ? QJsonValue(*f.grade) : QJsonValue()}};
    }
    const QJsonObject payload{
        {QStringLiteral("uid"), uid},
        {QStringLiteral("class"), tag.className},
        {QStringLiteral("name"), tag.studentName},
        {QStringLiteral("recorded_at"), utcText(r.when)},
        {QStringLiteral("kind"), kindName(r.kind)},
        {QStringLiteral("lesson"), r.lesson},
        {QStringLiteral("caption"), r.caption.isNull() ? QString() : r.caption},
        {QStringLiteral("keyboard_type"), r.keyboardType},
        {QStringLiteral("seconds"), r.seconds},
        {QStringLiteral("keystrokes"), r.keystrokes},
        {QStringLiteral("errors"), r.errors},
        {QStringLiteral("lines"), r.lines},
        {QStringLiteral("keystrokes_per_minute"), r.keystrokesPerMinute},
        {QStringLiteral("errors_per_line"), r.errorsPerLine},
        {QStringLiteral("finished"), r.finished},
        {QStringLiteral("keys"), keys},
        {QStringLiteral("exam"), exam}};
    return QJsonDocument(payload).toJson(QJsonDocument::Compact);
}

void SqliteResultsStore::prepare() {
    ensureOpen();
}

bool SqliteResultsStore::openLog() {
    if (!ensureOpen() || readOnly_ || !failure_.isEmpty()) {
        return false;
    }
    // Writing the version it already has is the smallest write there is.
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    return query.exec(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion));
}

QList<LessonResult> SqliteResultsStore::results() {
    QList<LessonResult> list;
    if (!ensureOpen()) {
        return list;
    }
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.setForwardOnly(true);
    // A history shown read-only may be older than version 4.
    const bool hasKind = query.exec(QStringLiteral("SELECT kind FROM results LIMIT 0"));
    if (!query.exec(QStringLiteral("SELECT %1, %2 FROM results ORDER BY recorded_at DESC, id DESC")
                        .arg(QLatin1String(kColumns),
                             hasKind ? QStringLiteral("kind") : QStringLiteral("'course'")))) {
        return list;
    }
    while (query.next()) {
        LessonResult r;
        r.when = utcTime(query.value(0).toString());
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
        r.kind = kindOf(query.value(11).toString());
        list.append(std::move(r));
    }
    return list;
}

std::optional<QList<KeyFigure>> SqliteResultsStore::keyFigures(const KeyPeriod& period) {
    if (!ensureOpen()) {
        return std::nullopt;
    }
    QString where;
    switch (period.kind) {
    // A few results' rows are found through their result; the whole history's from the index
    // that holds every figure, which SQLite would otherwise also take for a few.
    case KeyPeriod::Kind::LastLesson:
        where = QStringLiteral("INDEXED BY key_figures_by_result WHERE k.result_id = (SELECT id"
                               " FROM results ORDER BY recorded_at DESC, id DESC LIMIT 1)");
        break;
    case KeyPeriod::Kind::Since:
        where = QStringLiteral("INDEXED BY key_figures_by_result WHERE k.result_id IN (SELECT id"
                               " FROM results WHERE recorded_at >= ?)");
        break;
    case KeyPeriod::Kind::Everything:
        break;
    }
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.setForwardOnly(true);
    // A history shown read-only may be older than version 3 and have no key table at all.
    if (!query.exec(QStringLiteral("SELECT 1 FROM key_figures LIMIT 0"))) {
        return readOnly_ ? std::optional<QList<KeyFigure>>(QList<KeyFigure>()) : std::nullopt;
    }
    // The own row (no `typed`) sorts before the confusions of its character.
    query.prepare(QStringLiteral("SELECT k.expected, k.typed, sum(k.strokes), sum(k.errors),"
                                 " sum(k.timed), sum(k.total_ms) FROM key_figures k %1"
                                 " GROUP BY k.expected, k.typed ORDER BY k.expected, k.typed")
                      .arg(where));
    if (period.kind == KeyPeriod::Kind::Since) {
        query.addBindValue(utcText(period.since));
    }
    if (!query.exec()) {
        return std::nullopt;
    }
    QList<KeyFigure> figures;
    while (query.next()) {
        KeyFigure f;
        f.expected = query.value(0).toString();
        f.typed = query.value(1).toString();
        f.strokes = query.value(2).toInt();
        f.errors = query.value(3).toInt();
        f.timed = query.value(4).toInt();
        f.totalMs = query.value(5).toLongLong();
        figures.append(std::move(f));
    }
    return figures;
}

bool SqliteResultsStore::clear() {
    if (!failure_.isEmpty() || !ensureOpen()) {
        return false;
    }
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("DELETE FROM key_figures")) ||
        !query.exec(QStringLiteral("DELETE FROM exam_figures")) ||
        !query.exec(QStringLiteral("DELETE FROM results"))) {
        return failWrite(sqliteCode(query.lastError()));
    }
    return true;
}

} // namespace tipora
