// The lesson start and the settings reader over files no course or editor should produce:
// broken, odd, huge, or not files at all. None may crash, hang or leave the window in a state
// the storm's rules reject; each gives a stated message, exercise row and typing.
#include "ground/windows1250.h"
#include "support/invariants.h"
#include "support/tutor.h"
#include "window/frm_tipora.h"

#include <QDir>
#include <QFile>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace tipora;
using test::Tutor;

namespace {

const QString kMissing01 = QStringLiteral("Chybí datový soubor cz01.dat nebo cz.dat");
const QString kSettingsMissing = QStringLiteral("Chybí nastavovací soubor tipora.ini");
const QString kEnd = QStringLiteral("Chceš smazat statistiku?");
constexpr qint64 kLimit = 16 * 1024 * 1024;

// How the hostile file is made in place of the target.
enum class Make { Missing, Bytes, Directory, Unreadable, Dangling, Loop, Fifo, DevZero, Sparse };

// Writes bytes to the file, then makes it the kind asked for. False when this system cannot.
bool makeHostile(const QString& path, Make make, const QByteArray& bytes, qint64 size) {
    QFile::remove(path);
    const auto write = [&path](const QByteArray& content) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
    };
    switch (make) {
    case Make::Missing:
        return true;
    case Make::Bytes:
        return write(bytes);
    case Make::Directory:
        return QDir().mkdir(path);
    case Make::Unreadable:
        return write(bytes) && QFile::setPermissions(path, QFileDevice::Permissions{});
    case Make::Dangling:
        return QFile::link(path + QStringLiteral(".gone"), path);
    case Make::Loop:
        return QFile::link(path + QStringLiteral(".other"), path) &&
               QFile::link(path, path + QStringLiteral(".other"));
    case Make::Fifo:
#ifdef Q_OS_UNIX
        return mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
#else
        return false;
#endif
    case Make::DevZero:
        return QFile::exists(QStringLiteral("/dev/zero")) &&
               QFile::link(QStringLiteral("/dev/zero"), path);
    case Make::Sparse: {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() &&
               file.resize(size);
    }
    }
    return false;
}

QByteArray lesson1(const QByteArray& body) {
    return "LEKCE 01\r\n" + body;
}

} // namespace

Q_DECLARE_METATYPE(Make)

class TestHostileFiles : public QObject {
    Q_OBJECT

private slots:
    void hostileFile_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<Make>("make");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<int>("lesson");
        // Every message shown, from the start through a first key and 3.5 s of waiting.
        QTest::addColumn<QStringList>("messages");
        // The exercise row right after the lesson start (after the load, for tipora.ini).
        QTest::addColumn<QString>("row");
        // Whether the first key typed after it is counted (a keystroke or an error).
        QTest::addColumn<bool>("counted");

        const QString ex = QStringLiteral("cz01.dat");
        const QString desc = QStringLiteral("cz.dat");
        const QString ini = QStringLiteral("tipora.ini");
        const QString error = QStringLiteral("Error");
        const QStringList missing{kMissing01};
        const QByteArray none;
        const auto row = [](const char* name, const QString& target, Make make,
                            const QByteArray& bytes, int lesson, const QStringList& messages,
                            const QString& shown, bool counted, qint64 size = 0) {
            QTest::newRow(name) << target << make << bytes << size << lesson << messages << shown
                                << counted;
        };

        // The exercise file.
        row("exercise missing", ex, Make::Missing, none, 1, missing, error, false);
        row("exercise empty", ex, Make::Bytes, "", 1, missing, error, false);
        row("exercise cut in its header", ex, Make::Bytes, "LEKCE 0", 1, missing, error, false);
        // The last line needs no line end; reaching it ends the lesson.
        row("exercise cut in its first line", ex, Make::Bytes, lesson1("ab c"), 1, {},
            QStringLiteral("ab c"), true);
        row("exercise without headers", ex, Make::Bytes, "ab\r\ncd\r\n", 1, missing, error, false);
        row("header with no lines", ex, Make::Bytes, lesson1(""), 1, missing, error, false);
        row("header followed by the next", ex, Make::Bytes, lesson1("LEKCE 02\r\nab\r\n"), 1,
            missing, error, false);
        row("header with a trailing blank", ex, Make::Bytes, "LEKCE 01 \r\nab\r\n", 1, missing,
            error, false);
        row("header inside a line", ex, Make::Bytes, "xLEKCE 01\r\nab\r\n", 1, missing, error,
            false);
        row("lone CR line ends", ex, Make::Bytes, "LEKCE 01\rab\rcd\rLEKCE 02\r", 1, {},
            QStringLiteral("ab"), true);
        row("lone LF line ends", ex, Make::Bytes, "LEKCE 01\nab\ncd\nLEKCE 02\n", 1, {},
            QStringLiteral("ab"), true);
        row("mixed line ends", ex, Make::Bytes, "LEKCE 01\r\nab\ncd\rLEKCE 02\n", 1, {},
            QStringLiteral("ab"), true);
        row("NUL and high bytes", ex, Make::Bytes,
            lesson1(QByteArray("a\0b\x80\xff\x9a\r\ncd\r\n", 10)), 1, {},
            QStringLiteral("a") + QChar(u'\0') + QStringLiteral("b€˙š"), true);
        // The course is Windows-1250: UTF-8 shows as what its bytes mean there.
        row("UTF-8", ex, Make::Bytes, lesson1("žluť\r\ncd\r\n"), 1, {}, QStringLiteral("ĹľluĹĄ"),
            true);
        // A byte order mark glues itself to the first header, so the file's first lesson is
        // not found; the others are.
        row("UTF-8 with BOM, its first lesson", ex, Make::Bytes,
            "\xEF\xBB\xBF" + lesson1("ab\r\nLEKCE 02\r\ncd\r\nLEKCE 03\r\n"), 1, missing, error,
            false);
        row("UTF-8 with BOM, a later lesson", ex, Make::Bytes,
            "\xEF\xBB\xBF" + lesson1("ab\r\nLEKCE 02\r\ncd\r\nLEKCE 03\r\n"), 2, {},
            QStringLiteral("cd"), true);
        row("a line of 1 MB", ex, Make::Bytes,
            lesson1(QByteArray(1 << 20, 'a') + "\r\ncd\r\nLEKCE 02\r\n"), 1, {},
            QString(1 << 20, u'a'), true);
        // A message as the first line is shown and, before the first key, does not block
        // typing; its end brings the next line.
        row("message first", ex, Make::Bytes, lesson1(">>>Pozor\r\nab\r\ncd\r\nLEKCE 02\r\n"), 1,
            {}, QStringLiteral("Pozor"), true);
        // A message as the file's last line: its end finds nothing more and ends the lesson.
        row("message last in the file", ex, Make::Bytes, lesson1(">>>Konec"), 1, {kEnd},
            QStringLiteral("Konec"), true);
        row("LEKCE as the first line", ex, Make::Bytes, lesson1("LEKCE\r\nab\r\n"), 1, missing,
            error, false);
        // Typing "ab" and Enter reads the next line; a line starting LEKCE ends the lesson.
        row("LEKCE inside the lesson", ex, Make::Bytes, lesson1("a\r\nLEKCEab\r\ncd\r\n"), 1, {},
            QStringLiteral("a"), true);
        row("exercise is a directory", ex, Make::Directory, none, 1, missing, error, false);
        row("exercise unreadable", ex, Make::Unreadable, lesson1("ab\r\ncd\r\n"), 1, missing, error,
            false);
        row("exercise dangling link", ex, Make::Dangling, none, 1, missing, error, false);
        row("exercise looping link", ex, Make::Loop, none, 1, missing, error, false);
        row("exercise is a FIFO", ex, Make::Fifo, none, 1, missing, error, false);
        row("exercise links to /dev/zero", ex, Make::DevZero, none, 1, missing, error, false);
        row("exercise at the size limit", ex, Make::Sparse, lesson1("ab\r\ncd\r\n"), 1, {},
            QStringLiteral("ab"), true, kLimit);
        row("exercise over the size limit", ex, Make::Sparse, lesson1("ab\r\ncd\r\n"), 1,
            {QStringLiteral("Datový soubor cz01.dat je příliš velký (nejvýše 16 MB)")}, error,
            false, kLimit + 1);

        // The description file.
        row("description missing", desc, Make::Missing, none, 1, missing, error, false);
        row("description empty", desc, Make::Bytes, "", 1, missing, error, false);
        // Every description but the last must end at the next header.
        row("description without the next header", desc, Make::Bytes, lesson1("Popis\r\n"), 1,
            missing, error, false);
        row("description is a FIFO", desc, Make::Fifo, none, 1, missing, error, false);
        row("description links to /dev/zero", desc, Make::DevZero, none, 1, missing, error, false);
        row("description over the size limit", desc, Make::Sparse, lesson1("Popis\r\nLEKCE 02"), 1,
            {QStringLiteral("Datový soubor cz.dat je příliš velký (nejvýše 16 MB)")}, error, false,
            kLimit + 1);

        // The settings file: a failure is reported, and lessons still run.
        const QStringList noSettings{kSettingsMissing};
        row("settings missing", ini, Make::Missing, none, 1, noSettings, error, true);
        row("settings empty", ini, Make::Bytes, "", 1, noSettings, error, true);
        row("settings cut after two fields", ini, Make::Bytes, " 100  1", 1, noSettings, error,
            true);
        row("settings on lone CRs", ini, Make::Bytes, "100\r1\r0\r0", 1, {}, QString(), true);
        row("settings with NUL", ini, Make::Bytes, QByteArray("100\0 1 0 0", 10), 1, noSettings,
            error, true);
        row("settings with BOM", ini, Make::Bytes, "\xEF\xBB\xBF 100  0  0  0 \r\n", 1, noSettings,
            error, true);
        row("settings a line of 1 MB", ini, Make::Bytes, QByteArray(1 << 20, '1'), 1, noSettings,
            error, true);
        row("settings is a directory", ini, Make::Directory, none, 1, noSettings, error, true);
        row("settings unreadable", ini, Make::Unreadable, " 100  0  0  0 \r\n", 1, noSettings,
            error, true);
        row("settings dangling link", ini, Make::Dangling, none, 1, noSettings, error, true);
        row("settings looping link", ini, Make::Loop, none, 1, noSettings, error, true);
        row("settings is a FIFO", ini, Make::Fifo, none, 1, noSettings, error, true);
        row("settings links to /dev/zero", ini, Make::DevZero, none, 1, noSettings, error, true);
        // Only the start of a huge file is read; it holds all four fields.
        row("settings over 16 MiB", ini, Make::Sparse, "120 1 0 0\r\n", 1, {}, QString(), true,
            kLimit + 1);
        row("settings over 16 MiB of nothing", ini, Make::Sparse, "", 1, noSettings, error, true,
            kLimit + 1);
    }

    void hostileFile() {
        QFETCH(QString, target);
        QFETCH(Make, make);
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, size);
        QFETCH(int, lesson);
        QFETCH(QStringList, messages);
        QFETCH(QString, row);
        QFETCH(bool, counted);

        Tutor t;
        test::Invariants invariants(t.w(), t.platform);
        const auto sound = [&] {
            const QStringList broken = invariants.broken(t.w(), t.platform, {});
            return broken.isEmpty() ? QString() : broken.join(u';');
        };
        const QString path = t.folder.filePath(target);
        if (!makeHostile(path, make, bytes, size)) {
            QSKIP("this system cannot make such a file");
        }
        if (make == Make::Unreadable) {
            QFile probe(path);
            if (probe.open(QIODevice::ReadOnly)) {
                // Root reads whatever the permissions say: the file is then just a good one.
                QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
                messages.clear();
                counted = true;
                row = target == QLatin1String("tipora.ini") ? QString() : QStringLiteral("ab");
            }
        }
        const qsizetype before = static_cast<qsizetype>(t.platform.messages.size());

        if (target == QLatin1String("tipora.ini")) {
            t.w().Form_Load();
            QCOMPARE(t.f().lblZadani.text, row);
            QCOMPARE(sound(), QString());
        }
        invariants.lessonChosen(lesson, t.w());
        t.w().mnuLekce_Click(lesson);
        if (target != QLatin1String("tipora.ini")) {
            if (t.f().lblZadani.text.size() > 100) {
                QCOMPARE(t.f().lblZadani.text.size(), row.size()); // no megabyte in a report
                QVERIFY(t.f().lblZadani.text == row);
            } else {
                QCOMPARE(t.f().lblZadani.text, row);
            }
        }
        QCOMPARE(sound(), QString());

        // The first key: the expected character, so a loaded line counts it.
        const int counts = t.s().Uhozy + t.s().Chyby;
        const int key = t.s().Pozice <= t.s().Zadani.size()
                            ? windows1250Code(QStringView(t.s().Zadani).sliced(t.s().Pozice - 1, 1))
                            : 'a';
        t.w().Form_KeyPress(key);
        QCOMPARE(t.s().Uhozy + t.s().Chyby > counts, counted);
        QCOMPARE(sound(), QString());

        // A line typed to its end and Enter: the lesson goes on or ends, soundly.
        // (A NUL in the line cannot be typed: the attempts stop at the line's length.)
        for (int n = 0; n < 100 && t.s().LekceNactena && !t.s().Pauza && !t.f().tmrText.enabled() &&
                        t.s().Pozice <= t.s().Zadani.size();
             ++n) {
            t.w().Form_KeyPress(
                windows1250Code(QStringView(t.s().Zadani).sliced(t.s().Pozice - 1, 1)));
        }
        t.w().Form_KeyPress(13);
        QCOMPARE(sound(), QString());
        t.clock->advance(3500);
        QCOMPARE(sound(), QString());

        QStringList shown;
        for (auto i = before; i < static_cast<qsizetype>(t.platform.messages.size()); ++i) {
            shown << t.platform.messages[static_cast<std::size_t>(i)].text;
        }
        // The end of a lesson reached by the line typed above asks its question too; the rows
        // list only what the file itself brings.
        if (!messages.contains(kEnd)) {
            shown.removeAll(kEnd);
        }
        QCOMPARE(shown, messages);
    }
};

QTEST_GUILESS_MAIN(TestHostileFiles)
#include "test_hostile_files.moc"
