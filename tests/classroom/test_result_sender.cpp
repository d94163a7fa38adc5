// Results reaching the class's server from the tutor's history file, against a private
// PostgreSQL server: sent once with their keys, kept while the server is away, never stored
// twice, and every refusal named where the learner looks.
#include "app/classroom_config.h"
#include "classroom/classroom_store.h"
#include "classroom/classroom_texts.h"
#include "classroom/server_link.h"
#include "support/classroom_server.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace tipora;

namespace {

LessonResult result(int lesson) {
    LessonResult r;
    r.when = QDateTime(QDate(2026, 12, 9), QTime(10, lesson), Qt::UTC);
    r.lesson = lesson;
    r.caption = QStringLiteral("Lekce %1").arg(lesson);
    r.keystrokes = 600;
    r.errors = 6;
    r.lines = 10;
    r.seconds = 180;
    r.keystrokesPerMinute = 200;
    r.errorsPerLine = 0.6;
    r.finished = true;
    r.keys = {{QStringLiteral("ř"), {}, 40, 3, 36, 9000},
              {QStringLiteral("ř"), QStringLiteral("r"), 0, 3, 0, 0}};
    return r;
}

} // namespace

class TestResultSender : public QObject {
    Q_OBJECT

    test::ClassroomServer server_;
    QTemporaryDir dir_;

    ClassroomConfig student(const QString& login) const {
        return {{}, server_.address(login), QStringLiteral("3.B"), QStringLiteral("Jana Nováková")};
    }
    qlonglong onServer(const QString& what) {
        return server_.number(QStringLiteral("SELECT count(*) FROM tipora.") + what);
    }

private slots:
    void initTestCase() {
        const int started = server_.start();
        if (started == 77) {
            QSKIP("PostgreSQL is not installed");
        }
        QCOMPARE(started, 0);
    }

    // The lab's file: the per-user one wins, a password is refused, a Windows path is kept.
    void readsTheLabsFile() {
        QTemporaryDir user, system;
        QVERIFY(QDir(system.path()).mkpath(QStringLiteral("tipora")) &&
                QDir(user.path()).mkpath(QStringLiteral("tipora")));
        QCOMPARE(findClassroomConfigFile({user.path(), system.path()}), QString());
        QFile lab(QDir(system.path()).filePath(kClassroomFile));
        QVERIFY(lab.open(QIODevice::WriteOnly));
        lab.write(
            "[trida]\nserver=host=skola sslrootcert='C:\\\\ca b.pem' user=novak\ntrida=3.B\n");
        lab.close();
        const ClassroomSetup setup = loadClassroomSetup({user.path(), system.path()});
        QVERIFY2(setup.config, qPrintable(setup.problem));
        QCOMPARE(setup.config->studentName, loginAccountName());
        QString problem;
        const auto address = parseServerAddress(setup.config->server, &problem);
        QCOMPARE(address->options.value(0).second, QStringLiteral("C:\\ca b.pem"));
        QVERIFY(!parseServerAddress(QStringLiteral("host=a password=x"), &problem));
        QVERIFY(problem.contains(QStringLiteral(".pgpass")));
        QFile own(QDir(user.path()).filePath(kClassroomFile));
        QVERIFY(own.open(QIODevice::WriteOnly));
        own.write(
            "[trida]\r\nserver=host=doma\r\ntrida=4.A\r\njmeno=Eva Mal\xE1\r\n"); // Windows-1250
        own.close();
        QCOMPARE(loadClassroomSetup({user.path(), system.path()}).config->studentName,
                 QStringLiteral("Eva Malá"));
    }

    // Stored locally and queued in one step, sent with its keys and exam figures; with the
    // server away it waits, said once in the status line, and goes when the server is back.
    void aResultArrivesOnceAndWaitsOutAnAbsentServer() {
        const QString file = dir_.filePath(QStringLiteral("arrive.sqlite"));
        ClassroomResultsStore store(file, student(QStringLiteral("student1")), 200);
        LessonResult exam = result(1);
        exam.kind = LessonId::Kind::Exam;
        exam.exam = ExamFigures{10, 10.0, 10, 2500, 3, 2470, 247.0, 12, 1};
        QVERIFY(store.record(exam));
        QTRY_COMPARE(store.classroomStatus()->waiting, 0);
        QCOMPARE(onServer(QStringLiteral("results")), 1);
        QCOMPARE(onServer(QStringLiteral("key_figures")), 2);
        QCOMPARE(server_.number(QStringLiteral("SELECT grade FROM tipora.exam_figures")), 1);
        QCOMPARE(classroomStatusLine(*store.classroomStatus()),
                 QStringLiteral("Třída 3.B, Jana Nováková: všechny výsledky jsou odeslány."));

        server_.closeAdmin();
        QVERIFY(server_.down());
        QVERIFY(store.record(result(2)));
        QVERIFY(store.record(result(3)));
        QTRY_VERIFY(store.classroomStatus()->problem.startsWith(
            texts::kUnreachable.section(QLatin1Char(':'), 0, 0)));
        QCOMPARE(store.classroomStatus()->waiting, 2);
        QCOMPARE(store.results().size(), 3);
        QVERIFY(server_.up());
        QTRY_COMPARE(store.classroomStatus()->waiting, 0);
        QCOMPARE(store.classroomStatus()->problem, QString());
        QCOMPARE(onServer(QStringLiteral("results")), 3);
    }

    // The tutor ended after the server stored a result and before it heard so: the result is
    // sent again at the next start, and the server keeps it once.
    void aResendAfterALostAnswerStoresNothingTwice() {
        const QString file = dir_.filePath(QStringLiteral("resend.sqlite"));
        QueuedResult queued;
        {
            SqliteResultsStore local(file);
            local.queueFor({QStringLiteral("3.B"), QStringLiteral("Jan Dvořák")});
            QVERIFY(local.record(result(4)));
            queued = local.waiting(10).value(0);
        }
        const qlonglong before = onServer(QStringLiteral("results"));
        {
            const QString name = QStringLiteral("lost-answer");
            QCOMPARE(openClassroomServer(student(QStringLiteral("student2")), name), QString());
            QSqlQuery submit(QSqlDatabase::database(name));
            submit.prepare(QStringLiteral("SELECT tipora.submit_result(CAST(? AS jsonb))"));
            submit.addBindValue(QString::fromUtf8(queued.payload));
            QVERIFY(submit.exec());
        }
        QSqlDatabase::removeDatabase(QStringLiteral("lost-answer"));
        ClassroomResultsStore store(file, student(QStringLiteral("student2")), 200);
        store.prepare();
        QTRY_COMPARE(store.classroomStatus()->waiting, 0);
        QCOMPARE(onServer(QStringLiteral("results")), before + 1);
    }

    // A refused login and a newer server are each named; nothing queued is dropped.
    void refusalsAreNamedAndTheQueueKept() {
        QFile wrong(dir_.filePath(QStringLiteral("wrong.pgpass")));
        QVERIFY(wrong.open(QIODevice::WriteOnly));
        wrong.write("*:*:*:student1:nespravne\n");
        wrong.close();
        wrong.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        qputenv("PGPASSFILE", wrong.fileName().toLocal8Bit());
        {
            ClassroomResultsStore store(dir_.filePath(QStringLiteral("login.sqlite")),
                                        student(QStringLiteral("student1")), 200);
            QVERIFY(store.record(result(5)));
            QTRY_COMPARE(store.classroomStatus()->problem, texts::kLoginRefused);
            QCOMPARE(store.classroomStatus()->waiting, 1);
        }
        qputenv("PGPASSFILE", server_.passFile.toLocal8Bit());

        QCOMPARE(server_.number(QStringLiteral("UPDATE tipora.schema_info SET version = 2 "
                                               "RETURNING version")),
                 2);
        {
            ClassroomResultsStore store(dir_.filePath(QStringLiteral("newer.sqlite")),
                                        student(QStringLiteral("student1")), 200);
            QVERIFY(store.record(result(6)));
            QTRY_COMPARE(store.classroomStatus()->problem,
                         texts::kNewerSchema.arg(2).arg(kClassroomSchemaVersion));
            QCOMPARE(store.classroomStatus()->waiting, 1);
        }
        server_.number(QStringLiteral("UPDATE tipora.schema_info SET version = 1 RETURNING 1"));

        // A database without the schema; then a result the server refuses, which stays queued
        // with its reason while the one after it goes.
        ClassroomConfig elsewhere = student(QStringLiteral("student1"));
        elsewhere.server.replace(QStringLiteral("dbname=tipora"),
                                 QStringLiteral("dbname=postgres"));
        const QString name = QStringLiteral("no-schema");
        QCOMPARE(openClassroomServer(elsewhere, name), texts::kNoSchema);
        const QString file = dir_.filePath(QStringLiteral("refused.sqlite"));
        {
            SqliteResultsStore local(file);
            QVERIFY(local.record(result(7)));
        }
        {
            QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            raw.setDatabaseName(file);
            QVERIFY(raw.open());
            QVERIFY(QSqlQuery(raw).exec(QStringLiteral(
                "INSERT INTO outbox (uid, payload) VALUES ('x', '{\"uid\": \"x\"}')")));
            raw.close();
        }
        QSqlDatabase::removeDatabase(name);
        ClassroomResultsStore store(file, student(QStringLiteral("student1")), 200);
        QVERIFY(store.record(result(8)));
        QTRY_VERIFY(store.classroomStatus()->problem.startsWith(
            texts::kResultRefused.section(QLatin1Char(':'), 0, 0)));
        QCOMPARE(store.classroomStatus()->waiting, 1);
    }
};

QTEST_GUILESS_MAIN(TestResultSender)
#include "test_result_sender.moc"
