// A save killed at any moment (a crash, the program killed from a task manager) leaves
// "tipora.ini" whole: either the line it held or the line being written, never a mix or nothing.
#include "app/settings_file.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <random>
#include <thread>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace tipora;

#if defined(__SANITIZE_ADDRESS__)
#define TIPORA_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TIPORA_ASAN 1
#endif
#endif
#ifdef TIPORA_ASAN
// Every kill forks this process. AddressSanitizer's quarantine of freed memory would grow to
// hundreds of megabytes that each fork copies; a small one keeps forks cheap.
extern "C" const char* __asan_default_options() {
    return "quarantine_size_mb=4";
}
#endif

namespace {

const SettingsValues kOld{100, 1, 0, 1};
const SettingsValues kNew{250, 0, 1, 0};

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

// What a save killed between creating its temporary file and renaming it leaves behind.
QStringList leftovers(const QString& folder) {
    static const QRegularExpression name(QStringLiteral("^tipora\\.ini\\.[A-Za-z0-9]{6}$"));
    return QDir(folder).entryList(QDir::Files | QDir::Hidden).filter(name);
}

#ifdef Q_OS_UNIX
// A child process that saves the two lines in turn, starting with `first`, until it is killed;
// it reports on a pipe when it starts and after each save it completed.
class SavingChild {
public:
    SavingChild(const QString& path, const SettingsValues& first, const SettingsValues& second) {
        int ends[2];
        if (pipe(ends) != 0) {
            return;
        }
        pid_ = fork();
        if (pid_ == 0) {
            close(ends[0]);
            const char mark = 's';
            for (bool useFirst = true;; useFirst = !useFirst) {
                if (write(ends[1], &mark, 1) != 1) {
                    _exit(1);
                }
                writeSettingsFile(path, useFirst ? first : second);
            }
        }
        close(ends[1]);
        reports_ = ends[0];
    }
    ~SavingChild() {
        if (reports_ >= 0) {
            close(reports_);
        }
    }

    bool started() const { return pid_ > 0; }
    // Waits for the child's next report: the start, then each completed save.
    bool nextReport() {
        char mark = 0;
        return read(reports_, &mark, 1) == 1;
    }
    // Kills it; returns the saves it had reported complete, or -1 when it did not die killed.
    int kill() {
        ::kill(pid_, SIGKILL);
        int status = 0;
        if (waitpid(pid_, &status, 0) != pid_ || !WIFSIGNALED(status) ||
            WTERMSIG(status) != SIGKILL) {
            return -1;
        }
        int reports = 0;
        while (nextReport()) {
            ++reports;
        }
        return reports;
    }

private:
    pid_t pid_ = -1;
    int reports_ = -1;
};
#endif

} // namespace

class TestSettingsKill : public QObject {
    Q_OBJECT

private slots:
    // A kill leaves the page cache as the process left it whatever the disk, so a folder in
    // memory (where a save takes microseconds, not a disk sync) stands for any; a few hundred
    // kills go to the ordinary temporary folder on disk as well.
    void killedSaveLeavesTheOldOrTheNewLine_data() {
        QTest::addColumn<QString>("parent");
        QTest::addColumn<int>("kills");
        QTest::newRow("memory") << QStringLiteral("/dev/shm") << 1000;
        QTest::newRow("disk") << QDir::tempPath() << 100;
    }

    void killedSaveLeavesTheOldOrTheNewLine() {
#ifndef Q_OS_UNIX
        QSKIP("needs fork and SIGKILL");
#else
        QFETCH(QString, parent);
        QFETCH(int, kills);
        if (!QFileInfo(parent).isDir()) {
            QSKIP("no such folder");
        }
        QTemporaryDir dir(parent + QStringLiteral("/tipora-kill-XXXXXX"));
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("tipora.ini"));
        const QByteArray oldLine = settingsLine(kOld);
        const QByteArray newLine = settingsLine(kNew);
        QVERIFY(writeSettingsFile(path, kOld));

        // Kills are spread over one and a half times a child's first save, timed in a child
        // first, so they land in every step of a save (before the temporary file, while it is
        // written or synced, around the rename) and a third of them after it.
        qint64 spread = 0;
        {
            SavingChild child(path, kNew, kOld);
            QVERIFY(child.started() && child.nextReport());
            QElapsedTimer timer;
            timer.start();
            QVERIFY(child.nextReport());
            spread = timer.nsecsElapsed() / 1000 * 3 / 2;
            QVERIFY(child.kill() >= 0);
        }
        const auto seed = std::random_device{}();
        qInfo("kills within %lld us of the start of saving; seed %u", spread, seed);
        std::mt19937 random(seed);
        std::uniform_int_distribution<qint64> delay(0, spread);

        int inFirstSave = 0;
        int changed = 0;
        for (int kill = 0; kill < kills; ++kill) {
            const QByteArray before = readAll(path);
            QVERIFY(before == oldLine || before == newLine);
            // The child saves the other line first.
            const bool firstNew = before == oldLine;
            SavingChild child(path, firstNew ? kNew : kOld, firstNew ? kOld : kNew);
            QVERIFY(child.started() && child.nextReport());
            std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
            const int saves = child.kill();
            QVERIFY(saves >= 0);

            const QByteArray after = readAll(path);
            if (after != oldLine && after != newLine) {
                QFAIL(qPrintable(QStringLiteral("kill %1 left \"%2\"")
                                     .arg(kill)
                                     .arg(QString::fromLatin1(after.toPercentEncoding()))));
            }
            inFirstSave += saves == 0 ? 1 : 0;
            changed += after != before ? 1 : 0;
        }
        qInfo("%d kills: %d during the first save, the line changed after %d", kills, inFirstSave,
              changed);
        // Kills landed on either side of a save's end.
        QVERIFY(changed > 0);
        QVERIFY(changed < kills);

        // A normal save afterwards clears whatever the killed ones left.
        QVERIFY(writeSettingsFile(path, kNew));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("tipora.ini")});
#endif
    }

    // Qt may save through an unnamed temporary file that dies with the process; where it
    // cannot, a killed save leaves "tipora.ini.AbC123". Those are made here as a kill would.
    void nextSaveRemovesLeftoverTemporaries() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("tipora.ini"));
        QVERIFY(writeSettingsFile(path, kOld));
        const QStringList ours{QStringLiteral("tipora.ini.AbC123"),
                               QStringLiteral("tipora.ini.000000"),
                               QStringLiteral("tipora.ini.zzzZZZ")};
        // Names a save never makes are someone else's and stay.
        const QStringList others{
            QStringLiteral("tipora.ini.bak"), QStringLiteral("tipora.ini.AbC1234"),
            QStringLiteral("tipora.ini.AbC-12"), QStringLiteral("xtipora.ini.AbC123")};
        for (const QString& name : ours + others) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(" 250 ");
        }
        QCOMPARE(leftovers(dir.path()).size(), ours.size());

        QVERIFY(writeSettingsFile(path, kNew));
        QCOMPARE(readAll(path), settingsLine(kNew));
        QStringList expected = others;
        expected << QStringLiteral("tipora.ini");
        expected.sort();
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
    }
};

QTEST_GUILESS_MAIN(TestSettingsKill)
#include "test_settings_kill.moc"
