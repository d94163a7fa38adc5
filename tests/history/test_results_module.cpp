// The results history as the tutor reaches it: through the module loaded when first needed.
#include "app/texts.h"
#include "history/history_texts.h"
#include "history/lesson_recorder.h"
#include "support/fake_platform.h"
#include "support/lesson_results.h"
#include "ui/qt_platform.h"
#include "ui/results_module.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace tipora;
using ui::LateResults;

namespace {

const QString kModuleDir = QStringLiteral(TIPORA_MODULE_BUILD_DIR);

LessonResult result(int lesson) {
    LessonResult r;
    r.when = QDateTime(QDate(2026, 12, 8), QTime(9, 30, lesson), Qt::UTC);
    r.lesson = lesson;
    r.caption = QStringLiteral("f j d k");
    r.seconds = 60;
    r.keystrokes = 120;
    r.errors = 3;
    r.lines = 4;
    r.keystrokesPerMinute = 120;
    r.errorsPerLine = 0.8;
    r.finished = true;
    return r;
}

// What "Výsledky" put up: the results window's name, or a message box's text. Closes it.
QString openWindowOf(ui::QtPlatform& platform) {
    QString shown;
    QTimer::singleShot(0, [&shown] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            shown = box->text();
            box->accept();
        } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            shown = dialog->objectName();
            dialog->reject();
        }
    });
    platform.showResultsWindow(1);
    return shown;
}

} // namespace

class TestResultsModule : public QObject {
    Q_OBJECT

private slots:
    void theModuleIsLoadedWhenALessonStartsAndKeepsItsResults() {
        QTemporaryDir home;
        const QString file = home.filePath(texts::kResultsFileName);
        // The first folder has no module: the next one is tried.
        LateResults results(file, {home.filePath(QStringLiteral("nowhere")), kModuleDir});
        QVERIFY(!results.moduleLoaded());
        QVERIFY(!QFile::exists(file));

        results.prepare();
        // Loaded behind the learner's back, and the file opened once it is in.
        QTRY_VERIFY(results.moduleLoaded());
        QVERIFY(QFile::exists(file));
        // Its log is ready too, so the lesson's end does not wait for the log to be made.
        const QString log = file + QStringLiteral("-wal");
        QVERIFY(QFile::exists(log));
        QVERIFY(results.record(result(1)));
        QVERIFY(results.record(result(2)));
        QCOMPARE(results.results(), (QList<LessonResult>{result(2), result(1)}));
        QVERIFY(results.failure().isEmpty());
        QVERIFY(results.clear());
        QVERIFY(results.results().isEmpty());
    }

    // The log goes with the last connection; the next start makes it again before any lesson
    // ends, for a file that is already there as well as for a new one.
    void theNextStartHasTheLogReadyToo() {
        QTemporaryDir home;
        const QString file = home.filePath(texts::kResultsFileName);
        const QString log = file + QStringLiteral("-wal");
        for (int start = 1; start <= 2; ++start) {
            LateResults results(file, {kModuleDir});
            results.prepare();
            QTRY_VERIFY(results.moduleLoaded());
            // Written to, not only opened: SQLite makes an empty log for any reader.
            QVERIFY(QFileInfo(log).size() > 0);
            QVERIFY(results.record(result(start)));
            QCOMPARE(results.results().size(), start);
        }
        QVERIFY(!QFile::exists(log));
    }

    void aLessonEndingBeforeTheModuleIsInWaitsForIt() {
        QTemporaryDir home;
        const QString file = home.filePath(texts::kResultsFileName);
        {
            LateResults results(file, {kModuleDir});
            results.prepare();
            QVERIFY(results.record(result(1)));
        }
        // And "Výsledky" before any lesson reads it without a start.
        LateResults again(file, {kModuleDir});
        QCOMPARE(again.results(), QList<LessonResult>{result(1)});
    }

    void withoutTheModuleTheHistoryIsOffAndSaidSoOnce_data() {
        QTest::addColumn<bool>("strayFile");
        QTest::newRow("no module in the folder") << false;
        QTest::newRow("a file that is no module") << true;
    }
    void withoutTheModuleTheHistoryIsOffAndSaidSoOnce() {
        QFETCH(bool, strayFile);
        QTemporaryDir home;
        QTemporaryDir modules;
        if (strayFile) {
            QFile stray(modules.filePath(LateResults::moduleFileName()));
            QVERIFY(stray.open(QIODevice::WriteOnly));
            stray.write("not a library");
        }
        const QString file = home.filePath(texts::kResultsFileName);
        LateResults results(file, {modules.path()});
        LessonRecorder recorder(results, [] { return QDateTime::currentDateTime(); });

        QStringList said;
        for (int lesson = 1; lesson <= 2; ++lesson) {
            recorder.lessonStarted(LessonId::course(lesson), {});
            if (const auto message = recorder.lessonEnded({10, 0, 1, 5}, LessonEnd::Finished, 1)) {
                said << *message;
            }
        }
        QCOMPARE(said, QStringList{texts::resultsNotStored(file, texts::kReasonNoModule)});
        QVERIFY(results.results().isEmpty());
        QVERIFY(!results.clear());
        test::FakePlatform platform;
        QVERIFY(!results.showWindow(platform, nullptr, 1));
        QVERIFY(!results.moduleLoaded());
        QVERIFY(!QFile::exists(file));
    }

    void resultsOpensTheWindowOrSaysWhyNot() {
        QTemporaryDir home;
        QTemporaryDir empty;
        ui::QtPlatform platform;
        LateResults withModule(home.filePath(texts::kResultsFileName), {kModuleDir});
        platform.setResults(&withModule);
        QCOMPARE(openWindowOf(platform), QStringLiteral("FrmVysledky"));

        LateResults without(home.filePath(texts::kResultsFileName), {empty.path()});
        platform.setResults(&without);
        QCOMPARE(openWindowOf(platform), texts::resultsUnavailable(LateResults::moduleFileName()));
        // Asked again, it says so again: the learner chose it.
        QCOMPARE(openWindowOf(platform), texts::resultsUnavailable(LateResults::moduleFileName()));
    }
};

QTEST_MAIN(TestResultsModule)
#include "test_results_module.moc"
