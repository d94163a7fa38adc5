#include "app/settings_file.h"
#include "app/texts.h"
#include "dialogs/frm_nastaveni.h"
#include "support/fake_platform.h"
#include "support/files.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace tipora;
using test::readAll;
using test::writeAll;

class TestSettingsFile : public QObject {
    Q_OBJECT

private slots:
    void readsFourFieldsInAnyLayout_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("one line as written") << QByteArray(" 120  1  0  1 \r\n");
        QTest::newRow("four lines") << QByteArray("120\r\n1\r\n0\r\n1\r\n");
        QTest::newRow("lone line feeds") << QByteArray("120\n1\n0\n1");
        QTest::newRow("commas") << QByteArray("120,1,0,1");
        QTest::newRow("commas and blanks") << QByteArray("120 , 1,  0 ,1\r\n");
        QTest::newRow("anything after the fourth field") << QByteArray("120 1 0 1 zzz 7\r\n");
        QTest::newRow("no line end") << QByteArray("120 1 0 1");
    }

    void readsFourFieldsInAnyLayout() {
        QFETCH(QByteArray, content);
        Promenne shared;
        QVERIFY(readSettings(content, shared));
        QCOMPARE(shared.Metronom.value(), 120);
        QCOMPARE(shared.OdezvaKlaves.value(), 1);
        QCOMPARE(shared.PipChyba.value(), 0);
        QVERIFY(shared.PipChyba.isSet());
        QCOMPARE(shared.PipKlavesa.value(), 1);
    }

    void stopsAtTheFirstMissingOrBadField_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("fieldsRead");
        QTest::newRow("empty") << QByteArray() << 0;
        QTest::newRow("blank lines only") << QByteArray("  \r\n\r\n") << 0;
        QTest::newRow("three fields") << QByteArray(" 120  1  0 \r\n") << 3;
        QTest::newRow("fraction") << QByteArray("120 1.5 0 1") << 1;
        QTest::newRow("word") << QByteArray("120 1 ano 1") << 2;
        QTest::newRow("empty field") << QByteArray("120,,0,1") << 1;
        QTest::newRow("too large") << QByteArray("99999999999 1 0 1") << 0;
        QTest::newRow("lone sign") << QByteArray("120 - 0 1") << 1;
    }

    void stopsAtTheFirstMissingOrBadField() {
        QFETCH(QByteArray, content);
        QFETCH(int, fieldsRead);
        Promenne shared;
        QVERIFY(!readSettings(content, shared));
        const SharedValue* fields[] = {&shared.Metronom, &shared.OdezvaKlaves, &shared.PipChyba,
                                       &shared.PipKlavesa};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(fields[i]->isSet(), i < fieldsRead);
        }
        if (fieldsRead > 0) {
            QCOMPARE(shared.Metronom.value(), 120);
        }
    }

    void writesOneLineWithSignPositions() {
        QCOMPARE(settingsLine({120, 1, 0, 1}), QByteArray(" 120  1  0  1 \r\n"));
        QCOMPARE(settingsLine({-5, 0, 0, 0}), QByteArray("-5  0  0  0 \r\n"));
    }

    void writtenFileReadsBackAndReplacesTheOld() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("tipora.ini"));
        writeAll(path, QByteArray("100\r\n1\r\n1\r\n1\r\nleftover text that must go\r\n"));

        QVERIFY(writeSettingsFile(path, {250, 0, 1, 0}));
        QCOMPARE(readAll(path), QByteArray(" 250  0  1  0 \r\n"));
        // The temporary file is renamed, not left beside it.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"tipora.ini"});

        Promenne shared;
        QVERIFY(readSettingsFile(path, shared));
        QCOMPARE(shared.Metronom.value(), 250);
        QCOMPARE(shared.PipChyba.value(), 1);
    }

    void missingFileIsAFailure() {
        QTemporaryDir dir;
        Promenne shared;
        QVERIFY(!readSettingsFile(dir.filePath(QStringLiteral("tipora.ini")), shared));
        QVERIFY(!shared.Metronom.isSet());
        // Only a regular file is read: a pipe would hold up the start for ever.
        QVERIFY(!readSettingsFile(dir.path(), shared));
#ifdef Q_OS_UNIX
        const QString pipe = dir.filePath(QStringLiteral("pipe.ini"));
        QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        QVERIFY(!readSettingsFile(pipe, shared));
        QVERIFY(!shared.Metronom.isSet());
#endif
    }

    void unwritableFileIsReportedAndTheOldOneKept() {
        QTemporaryDir dir;
        // A folder standing where the file should be: the save cannot replace it.
        const QString blocked = dir.filePath(QStringLiteral("blocked"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("blocked")));
        test::FakePlatform platform;
        QVERIFY(!saveSettings(platform, blocked, {100, 1, 0, 0}));
        QVERIFY(QFileInfo(blocked).isDir());

        const QString noFolder = dir.filePath(QStringLiteral("missing/tipora.ini"));
        QVERIFY(!saveSettings(platform, noFolder, {100, 1, 0, 0}));
        QVERIFY(!QFile::exists(noFolder));

        QCOMPARE(platform.messages.size(), std::size_t{2});
        QCOMPARE(platform.messages[0].title, QStringLiteral("Tipora 1.0"));
        QCOMPARE(platform.messages[0].text, texts::kSettingsNotSaved);
        QCOMPARE(platform.messages[0].buttons, MessageButtons::Ok);
    }

    void fullOrReadOnlyDiskKeepsTheOldFile() {
#ifdef Q_OS_UNIX
        if (geteuid() != 0) {
            QSKIP("mounting a small filesystem to fill needs root (CI runs as root)");
        }
        QTemporaryDir dir;
        const QString disk = dir.path();
        if (QProcess::execute(QStringLiteral("mount"),
                              {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                               QStringLiteral("size=64k"), QStringLiteral("tmpfs"), disk}) != 0) {
            QSKIP("this machine does not let a test mount a tmpfs");
        }
        const auto unmount = qScopeGuard([&disk] {
            QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), disk});
        });
        const QString ini = disk + QStringLiteral("/tipora.ini");
        const QByteArray old(" 100  1  0  0 \r\n");
        writeAll(ini, old);
        {
            QFile filler(disk + QStringLiteral("/filler"));
            QVERIFY(filler.open(QIODevice::WriteOnly));
            const QByteArray block(4096, 'x');
            while (filler.write(block) == block.size() && filler.flush()) {
            }
        }

        // The learner changes the tempo and presses "Ulož nastavení".
        Promenne shared;
        QVERIFY(readSettingsFile(ini, shared));
        shared.Metronom = 120;
        test::FakePlatform platform;
        FrmNastaveni full(shared, platform, ini);
        full.Form_Load();
        full.cmdSave_Click();
        QCOMPARE(readAll(ini), old);
        QCOMPARE(platform.messages.size(), std::size_t{1});
        QCOMPARE(platform.messages[0].text, texts::kSettingsNotSaved);
        QVERIFY(!full.closed());
        // Nothing half-written is left beside it.
        QCOMPARE(QDir(disk).entryList(QDir::Files),
                 QStringList({QStringLiteral("filler"), QStringLiteral("tipora.ini")}));

        // Room again, but the filesystem is read-only: the file cannot be replaced.
        QVERIFY(QFile::remove(disk + QStringLiteral("/filler")));
        QCOMPARE(QProcess::execute(QStringLiteral("mount"),
                                   {QStringLiteral("-o"), QStringLiteral("remount,ro"), disk}),
                 0);
        FrmNastaveni readOnly(shared, platform, ini);
        readOnly.Form_Load();
        readOnly.cmdSave_Click();
        QCOMPARE(readAll(ini), old);
        QCOMPARE(platform.messages.size(), std::size_t{2});
        QVERIFY(!readOnly.closed());
#else
        QSKIP("needs a filesystem the test can fill");
#endif
    }

    void leftoversOfKilledSavesAreRemovedAtTheNextSave() {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("tipora.ini"));
        const QStringList others{QStringLiteral("tipora.ini.bak"),
                                 QStringLiteral("tipora.ini.Ab12345"),
                                 QStringLiteral("xtipora.ini.Ab1234")};
        for (const QString& name : others + QStringList{QStringLiteral("tipora.ini.Ab1234"),
                                                        QStringLiteral("tipora.ini.zZ9x0Q")}) {
            writeAll(dir.filePath(name), " 1  1  1  1 ");
        }
        QVERIFY(writeSettingsFile(ini, {100, 1, 0, 0}));
        QStringList expected = others + QStringList{QStringLiteral("tipora.ini")};
        expected.sort();
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files, QDir::Name), expected);
    }

    void successfulSaveSaysNothing() {
        QTemporaryDir dir;
        test::FakePlatform platform;
        QVERIFY(saveSettings(platform, dir.filePath(QStringLiteral("tipora.ini")), {1, 1, 1, 1}));
        QVERIFY(platform.messages.empty());
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "test_settings_file.moc"
