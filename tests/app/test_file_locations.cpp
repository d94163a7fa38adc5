#include "app/file_locations.h"
#include "app/texts.h"
#include "support/fake_platform.h"
#include "window/frm_tipora.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tipora;

namespace {

// A file system laid out as a machine would have it: a home, a current folder, an installed
// program and XDG data folders, all below one temporary folder.
class Machine {
public:
    QString path(const QString& relative) const { return root_.filePath(relative); }

    void put(const QString& relative, const QByteArray& bytes = " 100  0  0  0 \r\n") {
        const QString file = path(relative);
        QDir().mkpath(QFileInfo(file).absolutePath());
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }
    void folder(const QString& relative) { QVERIFY(QDir().mkpath(path(relative))); }

    // The course of a folder: the description file is what marks it.
    void course(const QString& relative) { put(relative + QStringLiteral("/cz.dat"), "LEKCE 01"); }

    SearchPlaces places(const QString& courseOption = {}) const {
        return {path(QStringLiteral("work")),
                courseOption,
                path(QStringLiteral("opt/usr/bin")),
                {path(QStringLiteral("home/.local/share")), path(QStringLiteral("usr/share"))},
                path(QStringLiteral("home/.config"))};
    }

private:
    QTemporaryDir root_;
};

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

} // namespace

class TestFileLocations : public QObject {
    Q_OBJECT

private slots:
    void aFolderWithItsOwnCourseAndSettingsKeepsBoth() {
        Machine m;
        m.course(QStringLiteral("work"));
        m.put(QStringLiteral("work/tipora.ini"));
        m.course(QStringLiteral("opt/usr/share/tipora"));
        const FileLocations found = findFileLocations(m.places());
        QCOMPARE(found.course.path(), m.path(QStringLiteral("work")));
        QCOMPARE(found.settings, m.path(QStringLiteral("work/tipora.ini")));
        QVERIFY(found.defaultSettings.isEmpty());
        QVERIFY(!found.createSettingsFolder);
    }

    void fromAnEmptyFolderTheInstalledCourseBesideTheProgram() {
        Machine m;
        m.folder(QStringLiteral("work"));
        m.course(QStringLiteral("opt/usr/share/tipora"));
        m.put(QStringLiteral("opt/usr/share/tipora/tipora.ini"));
        m.course(QStringLiteral("usr/share/tipora")); // another install, found later
        m.put(QStringLiteral("usr/share/tipora/tipora.ini"));
        const FileLocations found = findFileLocations(m.places());
        QCOMPARE(found.course.path(), m.path(QStringLiteral("opt/usr/share/tipora")));
        QCOMPARE(found.settings, m.path(QStringLiteral("home/.config/tipora/tipora.ini")));
        QCOMPARE(found.defaultSettings, m.path(QStringLiteral("opt/usr/share/tipora/tipora.ini")));
        QVERIFY(found.createSettingsFolder);
    }

    void theXdgDataFoldersInTheirOrder() {
        Machine m;
        m.folder(QStringLiteral("work"));
        m.folder(QStringLiteral("home/.local/share/tipora")); // empty: passed over
        m.course(QStringLiteral("usr/share/tipora"));
        m.put(QStringLiteral("usr/share/tipora/tipora.ini"));
        FileLocations found = findFileLocations(m.places());
        QCOMPARE(found.course.path(), m.path(QStringLiteral("usr/share/tipora")));
        QCOMPARE(found.defaultSettings, m.path(QStringLiteral("usr/share/tipora/tipora.ini")));

        m.course(QStringLiteral("home/.local/share/tipora"));
        found = findFileLocations(m.places());
        QCOMPARE(found.course.path(), m.path(QStringLiteral("home/.local/share/tipora")));
        // Its folder has no settings: the next installed one gives them.
        QCOMPARE(found.defaultSettings, m.path(QStringLiteral("usr/share/tipora/tipora.ini")));
    }

    void theCourseOptionIsTakenEvenOverTheCurrentFolder() {
        Machine m;
        m.course(QStringLiteral("work"));
        m.course(QStringLiteral("teacher"));
        m.put(QStringLiteral("teacher/tipora.ini"));
        m.course(QStringLiteral("usr/share/tipora"));
        m.put(QStringLiteral("usr/share/tipora/tipora.ini"));
        const FileLocations found = findFileLocations(m.places(m.path(QStringLiteral("teacher"))));
        QCOMPARE(found.course.path(), m.path(QStringLiteral("teacher")));
        QCOMPARE(found.settings, m.path(QStringLiteral("home/.config/tipora/tipora.ini")));
        QCOMPARE(found.defaultSettings, m.path(QStringLiteral("teacher/tipora.ini")));
    }

    void settingsOfTheCurrentFolderWithAnInstalledCourse() {
        Machine m;
        m.put(QStringLiteral("work/tipora.ini"));
        m.course(QStringLiteral("usr/share/tipora"));
        const FileLocations found = findFileLocations(m.places());
        QCOMPARE(found.course.path(), m.path(QStringLiteral("usr/share/tipora")));
        QCOMPARE(found.settings, m.path(QStringLiteral("work/tipora.ini")));
        QVERIFY(!found.createSettingsFolder);
    }

    void withNoCourseAnywhereTheCurrentFolderReportsIt() {
        Machine m;
        m.folder(QStringLiteral("work"));
        const FileLocations found = findFileLocations(m.places());
        QCOMPARE(found.course.path(), m.path(QStringLiteral("work")));
        QCOMPARE(found.settings, m.path(QStringLiteral("home/.config/tipora/tipora.ini")));
        QVERIFY(found.defaultSettings.isEmpty());
    }

    void theSystemPlacesFollowTheXdgVariables() {
        QTemporaryDir dir;
        qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toLocal8Bit());
        qputenv("XDG_DATA_DIRS", dir.filePath(QStringLiteral("system")).toLocal8Bit());
        const SearchPlaces places = systemSearchPlaces(QStringLiteral("/somewhere"));
        QCOMPARE(places.configFolder, dir.filePath(QStringLiteral("config")));
        QCOMPARE(places.dataFolders, QStringList({dir.filePath(QStringLiteral("data")),
                                                  dir.filePath(QStringLiteral("system"))}));
        QCOMPARE(places.courseOption, QStringLiteral("/somewhere"));
        QCOMPARE(places.currentFolder, QDir::currentPath());
        QCOMPARE(places.executableFolder, QCoreApplication::applicationDirPath());
    }

    // The program started from the menu: the installed default until the first save, which
    // makes the per-user folder and file; the next start reads that file.
    void perUserSettingsFromTheFirstSaveOn() {
        Machine m;
        m.folder(QStringLiteral("work"));
        m.course(QStringLiteral("opt/usr/share/tipora"));
        m.put(QStringLiteral("opt/usr/share/tipora/tipora.ini"), " 100  1  0  0 \r\n");
        const FileLocations files = findFileLocations(m.places());

        Promenne shared;
        test::FakePlatform platform;
        FrmTipora first(shared, platform, files);
        first.Form_Load();
        QVERIFY(platform.messages.empty());
        QCOMPARE(first.form.lblZadani.text, QString());
        QCOMPARE(shared.Metronom.value(), 100);
        QCOMPARE(shared.OdezvaKlaves.value(), 1);
        QVERIFY(!QFile::exists(files.settings));

        platform.settingsDialog = [](FrmNastaveni& dialog) {
            dialog.setScrollValue(240);
            dialog.chkPipKlavesa.value = 1;
            dialog.cmdSave_Click();
            dialog.cmdZrus_Click();
        };
        first.mnuNastaveni_Click();
        QVERIFY(platform.messages.empty());
        QCOMPARE(readFile(files.settings), QByteArray(" 240  1  0  1 \r\n"));
        QCOMPARE(readFile(files.defaultSettings), QByteArray(" 100  1  0  0 \r\n"));

        Promenne next;
        FrmTipora again(next, platform, findFileLocations(m.places()));
        again.Form_Load();
        QVERIFY(platform.messages.empty());
        QCOMPARE(next.Metronom.value(), 240);
        QCOMPARE(next.PipKlavesa.value(), 1);
    }

    void aBrokenPerUserFileIsReportedNotPassedOver_data() {
        QTest::addColumn<bool>("perUserBroken");
        QTest::addColumn<bool>("defaultThere");
        QTest::newRow("per-user file broken") << true << true;
        QTest::newRow("no file anywhere") << false << false;
    }

    void aBrokenPerUserFileIsReportedNotPassedOver() {
        QFETCH(bool, perUserBroken);
        QFETCH(bool, defaultThere);
        Machine m;
        m.folder(QStringLiteral("work"));
        m.course(QStringLiteral("usr/share/tipora"));
        if (defaultThere) {
            m.put(QStringLiteral("usr/share/tipora/tipora.ini"));
        }
        if (perUserBroken) {
            m.put(QStringLiteral("home/.config/tipora/tipora.ini"), " 120 1 ");
        }
        Promenne shared;
        test::FakePlatform platform;
        FrmTipora w(shared, platform, findFileLocations(m.places()));
        w.Form_Load();
        QCOMPARE(platform.messages.size(), std::size_t{1});
        QCOMPARE(platform.messages[0].text, texts::kSettingsMissing);
        QCOMPARE(w.form.lblZadani.text, texts::kError);
        QCOMPARE(shared.Metronom.value(), perUserBroken ? 120 : 0);
    }

    // The history follows the settings: beside a folder's own tipora.ini, else with the user.
    void theResultsLiveWhereTheSettingsAre() {
        Machine m;
        const QString name = QStringLiteral("vysledky.sqlite");
        m.course(QStringLiteral("work"));
        m.put(QStringLiteral("work/tipora.ini"));
        QCOMPARE(resultsFilePath(findFileLocations(m.places()), name,
                                 m.path(QStringLiteral("home/.local/share/tipora"))),
                 m.path(QStringLiteral("work/vysledky.sqlite")));

        Machine installed;
        installed.folder(QStringLiteral("work"));
        installed.course(QStringLiteral("opt/usr/share/tipora"));
        installed.put(QStringLiteral("opt/usr/share/tipora/tipora.ini"));
        const QString userFolder = installed.path(QStringLiteral("home/.local/share/tipora"));
        QCOMPARE(resultsFilePath(findFileLocations(installed.places()), name, userFolder),
                 userFolder + QStringLiteral("/vysledky.sqlite"));
    }

    void theCourseIsReadFromTheFolderFound() {
        Machine m;
        m.folder(QStringLiteral("work"));
        m.course(QStringLiteral("usr/share/tipora"));
        Promenne shared;
        test::FakePlatform platform;
        const FrmTipora w(shared, platform, findFileLocations(m.places()));
        QCOMPARE(w.dataPath(QStringLiteral("cz07.dat")),
                 m.path(QStringLiteral("usr/share/tipora/cz07.dat")));
    }
};

QTEST_GUILESS_MAIN(TestFileLocations)
#include "test_file_locations.moc"
