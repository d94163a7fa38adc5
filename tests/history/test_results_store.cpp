#include "history/history_texts.h"
#include "history/results_store.h"
#include "support/files.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <ctime>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

using namespace tipora;
using test::readAll;
using test::writeAll;

namespace {

LessonResult result(int lesson, const QString& caption, const QDateTime& when, int kpm, double epl,
                    bool finished) {
    LessonResult r;
    r.when = when;
    r.lesson = lesson;
    r.caption = caption;
    r.keyboardType = lesson % 2 == 0 ? 2 : 1;
    r.seconds = 65 + lesson;
    r.keystrokes = 100 + lesson;
    r.errors = 4;
    r.lines = 3;
    r.keystrokesPerMinute = kpm;
    r.errorsPerLine = epl;
    r.finished = finished;
    return r;
}

const QDateTime kMonday(QDate(2026, 12, 7), QTime(18, 5, 9));

// A connection of the test's own, beside the store's, to look at or prepare a file as another
// program would.
class RawConnection {
public:
    explicit RawConnection(const QString& path)
        : name_(QStringLiteral("raw-%1").arg(reinterpret_cast<quintptr>(this))) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(path);
        ok_ = db.open();
    }
    ~RawConnection() {
        QSqlDatabase::database(name_, false).close();
        QSqlDatabase::removeDatabase(name_);
    }
    bool ok() const { return ok_; }
    bool exec(const QString& sql) {
        QSqlQuery query(QSqlDatabase::database(name_, false));
        return query.exec(sql);
    }
    QVariant value(const QString& sql) {
        QSqlQuery query(QSqlDatabase::database(name_, false));
        return query.exec(sql) && query.next() ? query.value(0) : QVariant();
    }

private:
    QString name_;
    bool ok_ = false;
};

} // namespace

class TestResultsStore : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // A learner's zone with summer time, so local time and UTC differ.
        qputenv("TZ", "Europe/Prague");
#ifdef Q_OS_UNIX
        tzset();
#endif
    }

    void writesAndReadsBackNewestFirst() {
        QTemporaryDir dir;
        const QString path = dir.filePath(texts::kResultsFileName);
        const QList<LessonResult> written{
            result(3, QStringLiteral("a ů"), kMonday, 142, 1.3, true),
            result(48, QStringLiteral("? ! : ; \" ( ) /"), kMonday.addDays(1), 96, 0.0, false),
            result(3, QStringLiteral("a ů"), kMonday.addSecs(-3600), 120, 2.5, false),
        };
        {
            SqliteResultsStore store(path);
            // Nothing is touched before the first use.
            QVERIFY(!QFile::exists(path));
            for (const LessonResult& r : written) {
                QVERIFY(store.record(r));
            }
            QVERIFY(store.failure().isEmpty());
            QCOMPARE(store.results(), (QList<LessonResult>{written[1], written[0], written[2]}));
        }
        // Another run of the tutor finds them all.
        SqliteResultsStore again(path);
        QCOMPARE(again.results(), (QList<LessonResult>{written[1], written[0], written[2]}));

        QVERIFY(again.clear());
        QVERIFY(again.results().isEmpty());
        QVERIFY(again.record(written[0]));
        QCOMPARE(SqliteResultsStore(path).results(), QList<LessonResult>{written[0]});
    }

    // A fresh install's per-user data folder does not exist until the first result.
    void theFirstResultMakesItsFolder() {
        QTemporaryDir dir;
        const QString path =
            dir.filePath(QStringLiteral("share/tipora/") + texts::kResultsFileName);
        SqliteResultsStore store(path);
        QVERIFY(store.record(result(1, QStringLiteral("f j d k"), kMonday, 100, 0.5, true)));
        QVERIFY(store.failure().isEmpty());
        QCOMPARE(SqliteResultsStore(path).results().size(), 1);
    }

    void upgradesAFileOfTheFirstVersion() {
        QTemporaryDir dir;
        const QString path = dir.filePath(texts::kResultsFileName);
        {
            // The first version's layout, as a tutor of that version left it.
            RawConnection old(path);
            QVERIFY(old.ok());
            QVERIFY(old.exec(QStringLiteral(
                "CREATE TABLE results (id INTEGER PRIMARY KEY, recorded_at TEXT NOT NULL,"
                " lesson INTEGER NOT NULL, caption TEXT NOT NULL, keyboard_type INTEGER NOT NULL,"
                " seconds INTEGER NOT NULL, keystrokes INTEGER NOT NULL, errors INTEGER NOT NULL,"
                " lines INTEGER NOT NULL, keystrokes_per_minute INTEGER NOT NULL,"
                " errors_per_line REAL NOT NULL, finished INTEGER NOT NULL)")));
            QVERIFY(old.exec(QStringLiteral(
                "INSERT INTO results VALUES (1, '2026-11-30T09:00:00', 12, 'z', 2, 300, 600, 9,"
                " 10, 120, 0.9, 1)")));
            QVERIFY(old.exec(QStringLiteral("PRAGMA user_version = 1")));
        }
        SqliteResultsStore store(path);
        const QList<LessonResult> found = store.results();
        QCOMPARE(found.size(), 1);
        QCOMPARE(found[0].when, QDateTime(QDate(2026, 11, 30), QTime(9, 0)));
        QCOMPARE(found[0].lesson, 12);
        QCOMPARE(found[0].keyboardType, 2);
        QCOMPARE(found[0].keystrokesPerMinute, 120);
        QCOMPARE(found[0].kind, LessonId::Kind::Course);
        QCOMPARE(found[0].errorsPerLine, 0.9);
        QVERIFY(found[0].finished);
        LessonResult withKeys = result(13, QStringLiteral("ú q"), kMonday, 130, 0.5, true);
        withKeys.keys = {{QStringLiteral("ú"), {}, 40, 3, 36, 11200},
                         {QStringLiteral("ú"), QStringLiteral("ů"), 0, 3, 0, 0}};
        QVERIFY(store.record(withKeys));

        RawConnection look(path);
        // Old results have no key figures; the new one has its rows, readable by plain SQL.
        QCOMPARE(look.value(QStringLiteral("SELECT group_concat(result_id || ':' || expected ||"
                                           " ifnull(typed, '-') || strokes || '/' || errors ||"
                                           " '/' || timed || '/' || total_ms, ' ') FROM"
                                           " key_figures"))
                     .toString(),
                 QStringLiteral("2:ú-40/3/36/11200 2:úů0/3/0/0"));
        QCOMPARE(look.value(QStringLiteral("PRAGMA user_version")).toInt(),
                 SqliteResultsStore::kSchemaVersion);
        QCOMPARE(look.value(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = "
                                           "'index' AND tbl_name = 'results'"))
                     .toInt(),
                 1);
        QCOMPARE(look.value(QStringLiteral("SELECT count(*) FROM results")).toInt(), 2);
        // Kept in UTC now: 9:00 in Prague in November is 8:00 UTC.
        QCOMPARE(
            look.value(QStringLiteral("SELECT recorded_at FROM results WHERE id = 1")).toString(),
            QStringLiteral("2026-11-30T08:00:00Z"));
    }

    // The heat map's periods, a drill kept as a drill, and a key table that breaks without
    // taking the results with it.
    void addsUpKeyFiguresOverAPeriod() {
        QTemporaryDir dir;
        const QString path = dir.filePath(texts::kResultsFileName);
        SqliteResultsStore store(path);
        LessonResult older = result(34, QStringLiteral("ř"), kMonday, 100, 0.5, true);
        older.keys = {{QStringLiteral("ř"), {}, 50, 6, 40, 16000},
                      {QStringLiteral("ř"), QStringLiteral("ž"), 0, 6, 0, 0}};
        LessonResult drill =
            result(0, QStringLiteral("Slabé klávesy: ř ž"), kMonday.addDays(8), 110, 0.2, true);
        drill.kind = LessonId::Kind::Drill;
        drill.keys = {{QStringLiteral("ř"), {}, 30, 2, 30, 9000},
                      {QStringLiteral("ř"), QStringLiteral("ž"), 0, 1, 0, 0},
                      {QStringLiteral("ř"), QStringLiteral("r"), 0, 1, 0, 0}};
        LessonResult last = result(35, QStringLiteral("á"), kMonday.addDays(9), 120, 0.0, true);
        last.keys = {{QStringLiteral("á"), {}, 20, 0, 19, 5700}};
        for (const LessonResult& r : {older, drill, last}) {
            QVERIFY(store.record(r));
        }
        const auto everything = store.keyFigures(KeyPeriod::everything());
        QVERIFY(everything);
        QCOMPARE(*everything,
                 (QList<KeyFigure>{{QStringLiteral("á"), {}, 20, 0, 19, 5700},
                                   {QStringLiteral("ř"), {}, 80, 8, 70, 25000},
                                   {QStringLiteral("ř"), QStringLiteral("r"), 0, 1, 0, 0},
                                   {QStringLiteral("ř"), QStringLiteral("ž"), 0, 7, 0, 0}}));
        const auto week = store.keyFigures(KeyPeriod::from(kMonday.addDays(2)));
        QVERIFY(week);
        QCOMPARE(week->size(), 4);
        QCOMPARE(week->at(1).strokes, 30);
        QCOMPARE(store.keyFigures(KeyPeriod::lastLesson()),
                 std::optional(QList<KeyFigure>{last.keys}));
        QCOMPARE(store.results().at(1).kind, LessonId::Kind::Drill);
        QCOMPARE(store.results().at(1).lesson, 0);

        RawConnection(path).exec(QStringLiteral("DROP TABLE key_figures"));
        QCOMPARE(store.keyFigures(KeyPeriod::everything()), std::nullopt);
        QCOMPARE(store.results().size(), 3);
    }

    // Files the store must not take: each is left byte for byte as it was, the store reports
    // one failure and then stays off.
    void leavesFilesItCannotUseAlone_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("not a database") << "text" << texts::kReasonNotResults;
        QTest::newRow("damaged pages") << "damaged" << texts::kReasonDamaged;
        QTest::newRow("another program's database") << "foreign" << texts::kReasonNotResults;
        QTest::newRow("versioned, without results")
            << "foreign-versioned" << texts::kReasonNotResults;
        QTest::newRow("a newer version") << "newer" << texts::kReasonNewer;
    }
    void leavesFilesItCannotUseAlone() {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(texts::kResultsFileName);
        if (kind == QStringLiteral("text")) {
            writeAll(path, "Datum;Lekce\r\n7.12.2026;3\r\n");
        } else {
            RawConnection other(path);
            QVERIFY(other.ok());
            if (kind == QStringLiteral("foreign") || kind == QStringLiteral("damaged")) {
                QVERIFY(other.exec(QStringLiteral("CREATE TABLE people (name TEXT)")));
                QVERIFY(other.exec(QStringLiteral("INSERT INTO people VALUES ('Eva')")));
            } else if (kind == QStringLiteral("foreign-versioned")) {
                QVERIFY(other.exec(QStringLiteral("CREATE TABLE results (name TEXT)")));
                QVERIFY(other.exec(QStringLiteral("PRAGMA user_version = 2")));
            } else {
                QVERIFY(other.exec(QStringLiteral("CREATE TABLE results (name TEXT)")));
                QVERIFY(other.exec(QStringLiteral("PRAGMA user_version = %1")
                                       .arg(SqliteResultsStore::kSchemaVersion + 1)));
            }
        }
        if (kind == QStringLiteral("damaged")) {
            // The header survives, the first page with the schema does not.
            QByteArray bytes = readAll(path);
            QVERIFY(bytes.size() > 200);
            for (qsizetype i = 100; i < bytes.size(); ++i) {
                bytes[i] = static_cast<char>(0xA5 ^ i);
            }
            writeAll(path, bytes);
        }
        const QByteArray before = readAll(path);

        SqliteResultsStore store(path);
        QVERIFY(!store.record(result(1, QStringLiteral("f j d k"), kMonday, 100, 0.0, true)));
        QCOMPARE(store.failure(), texts::resultsNotStored(path, reason));
        QVERIFY(store.results().isEmpty());
        QVERIFY(!store.clear());
        QVERIFY(!store.record(result(2, QStringLiteral("s l"), kMonday, 100, 0.0, true)));
        QCOMPARE(store.failure(), texts::resultsNotStored(path, reason));
        QCOMPARE(readAll(path), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{texts::kResultsFileName});
    }

    void aFolderThatCannotBeWrittenTurnsRecordingOff() {
#ifdef Q_OS_UNIX
        QTemporaryDir dir;
        const QString disk = dir.path();
        const bool root = geteuid() == 0;
        auto makeReadOnly = [&](bool readOnly) {
            if (root) {
                // Permissions do not stop root; a read-only filesystem does.
                return QProcess::execute(
                           QStringLiteral("mount"),
                           {QStringLiteral("-o"),
                            readOnly ? QStringLiteral("remount,ro") : QStringLiteral("remount,rw"),
                            disk}) == 0;
            }
            return QFile::setPermissions(disk, readOnly ? QFile::ReadOwner | QFile::ExeOwner
                                                        : QFile::ReadOwner | QFile::WriteOwner |
                                                              QFile::ExeOwner);
        };
        if (root &&
            QProcess::execute(QStringLiteral("mount"),
                              {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                               QStringLiteral("size=256k"), QStringLiteral("tmpfs"), disk}) != 0) {
            QSKIP("this machine does not let a test mount a tmpfs");
        }
        const auto restore = qScopeGuard([&] {
            makeReadOnly(false);
            if (root) {
                QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), disk});
            }
        });
        const QString path = disk + QLatin1Char('/') + texts::kResultsFileName;
        const LessonResult first = result(1, QStringLiteral("f j d k"), kMonday, 100, 0.5, true);

        // No file yet, and none can be made.
        QVERIFY(makeReadOnly(true));
        {
            SqliteResultsStore store(path);
            QVERIFY(!store.record(first));
            QVERIFY(!store.failure().isEmpty());
            QVERIFY(!QFile::exists(path));
        }

        // A history kept before the folder turned read-only is still shown, but not added to.
        QVERIFY(makeReadOnly(false));
        QVERIFY(SqliteResultsStore(path).record(first));
        const QByteArray before = readAll(path);
        QVERIFY(makeReadOnly(true));
        SqliteResultsStore store(path);
        QCOMPARE(store.results(), QList<LessonResult>{first});
        QVERIFY(!store.record(result(2, QStringLiteral("s l"), kMonday, 90, 0.0, true)));
        QVERIFY(!store.failure().isEmpty());
        QCOMPARE(store.results(), QList<LessonResult>{first});
        QCOMPARE(readAll(path), before);

        if (root) {
            // A full disk: the result is lost, the history before it is not.
            QVERIFY(makeReadOnly(false));
            QFile filler(disk + QStringLiteral("/filler"));
            QVERIFY(filler.open(QIODevice::WriteOnly));
            const QByteArray block(4096, 'x');
            while (filler.write(block) == block.size() && filler.flush()) {
            }
            SqliteResultsStore full(path);
            bool stored = true;
            for (int i = 0; i < 200 && stored; ++i) {
                stored =
                    full.record(result(3, QString(500, QLatin1Char('a')), kMonday, 80, 0, true));
            }
            QVERIFY(!stored);
            QCOMPARE(full.failure(), texts::resultsNotStored(path, texts::kReasonCannotWrite));
            filler.close();
            QVERIFY(QFile::remove(filler.fileName()));
            const QList<LessonResult> kept = SqliteResultsStore(path).results();
            QVERIFY(!kept.isEmpty());
            QCOMPARE(kept.back(), first);
        }
#else
        QSKIP("needs a folder the test can make read-only");
#endif
    }

    void twoTutorsBothRecord() {
        QTemporaryDir dir;
        const QString path = dir.filePath(texts::kResultsFileName);
        SqliteResultsStore one(path);
        SqliteResultsStore two(path);
        for (int i = 0; i < 20; ++i) {
            QVERIFY(one.record(
                result(1, QStringLiteral("f j d k"), kMonday.addSecs(2 * i), i, 0.0, true)));
            QVERIFY(two.record(
                result(2, QStringLiteral("s l"), kMonday.addSecs(2 * i + 1), i, 0.0, true)));
        }
        QCOMPARE(one.results().size(), 40);
        QCOMPARE(two.results().size(), 40);
        QCOMPARE(one.results().front().lesson, 2);
    }

    // Two stores of one tutor on the file (the loading thread's and the window's), then another
    // program reading it and closing: the tutor's write-ahead log must stay, or what the tutor
    // writes after would be lost with it.
    void anotherProgramClosingTheFileLeavesTheTutorsLog() {
        QTemporaryDir dir;
        const QString path = dir.filePath(texts::kResultsFileName);
        SqliteResultsStore loading(path);
        QVERIFY(loading.openLog());
        SqliteResultsStore window(path);
        QVERIFY(window.record(result(1, QStringLiteral("f j d k"), kMonday, 100, 0.5, true)));
        QProcess other;
        other.setProcessEnvironment([&] {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("TIPORA_READ_HISTORY_AND_CLOSE"), path);
            return environment;
        }());
        other.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(other.waitForFinished(30000));
        QCOMPARE(other.readAllStandardOutput().trimmed(), QByteArray("1"));
        QVERIFY(QFile::exists(path + QStringLiteral("-wal")));
    }

    void aFileLockedTooLongIsReportedAsSuch() {
        QTemporaryDir dir;
        const QString path = dir.filePath(texts::kResultsFileName);
        const LessonResult first = result(1, QStringLiteral("f j d k"), kMonday, 100, 0.5, true);
        QVERIFY(SqliteResultsStore(path).record(first));

        // Locked before the store first looks, and while it writes.
        for (const bool openedBefore : {false, true}) {
            SqliteResultsStore store(path, 50);
            if (openedBefore) {
                QCOMPARE(store.results(), QList<LessonResult>{first});
            }
            RawConnection other(path);
            QVERIFY(other.exec(QStringLiteral("BEGIN EXCLUSIVE")));
            QVERIFY(!store.record(result(2, QStringLiteral("s l"), kMonday, 90, 0.0, true)));
            QCOMPARE(store.failure(), texts::resultsNotStored(path, texts::kReasonBusy));
            QVERIFY(other.exec(QStringLiteral("COMMIT")));
        }
        QCOMPARE(SqliteResultsStore(path).results(), QList<LessonResult>{first});
    }
};

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    // Run again by a test as another program that reads the history and closes it.
    if (const QString path = qEnvironmentVariable("TIPORA_READ_HISTORY_AND_CLOSE");
        !path.isEmpty()) {
        RawConnection other(path);
        std::printf(
            "%s\n",
            qPrintable(other.value(QStringLiteral("SELECT count(*) FROM results")).toString()));
        return 0;
    }
    TestResultsStore test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "test_results_store.moc"
