// The bundled course: its files follow the format, every lesson starts, and every exercise line
// can be typed with the keys its lesson shows.
#include "app/frm_tipora.h"
#include "ground/key_table.h"
#include "ground/lesson_catalogue.h"
#include "ground/windows1250.h"
#include "keyboard/dead_keys.h"
#include "keyboard/demo_keys.h"
#include "keyboard/key_marking.h"
#include "support/fake_platform.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <set>
#include <utility>

using namespace tipora;

namespace {

const QString kDataDir = QStringLiteral(TIPORA_DATA_DIR);

std::set<int> lessonKeys(int lesson) {
    FrmTiporaForm form;
    markLesson(lesson, form.lblKlavesa);
    std::set<int> keys{kKeySpace};
    for (const auto& [code, label] : form.lblKlavesa) {
        if (label.back == kGreen || label.back == kRed) {
            keys.insert(code);
        }
    }
    return keys;
}

// Whether the Czech keyboard types the character with only these keys.
bool typeable(QChar c, const std::set<int>& keys) {
    const bool shift = keys.count(kKeyShift) > 0 || keys.count(kKeyRightShift) > 0;
    const bool capsLock = keys.count(kKeyCapsLock) > 0;
    const KeyForCharacter key = keyForCharacter(c);
    if (key.found && keys.count(key.code) > 0) {
        const bool letter = key.code >= 'A' && key.code <= 'Z';
        if (!key.shifted || shift || (letter && capsLock)) {
            return true;
        }
    }
    if (c == QLatin1Char('"')) {
        return keys.count(186) > 0 && shift; // Shift + ů
    }
    if (c.isUpper()) {
        // Caps Lock gives the capitals of the letters on the number row and of ú and ů.
        const KeyForCharacter lower = keyForCharacter(c.toLower());
        if (lower.found && !lower.shifted && capsLock && keys.count(lower.code) > 0) {
            return true;
        }
    }
    if (const auto parts = decomposeDeadKey(c)) {
        const bool deadKey = keys.count(187) > 0 && (parts->dead == DeadKey::Acute || shift);
        return deadKey && typeable(parts->base, keys);
    }
    return false;
}

// Checks a course folder and names every violation: file, lesson, line and character.
class CourseCheck {
public:
    explicit CourseCheck(QString dir) : dir_(std::move(dir)) {}

    QStringList run() {
        checkDescriptions();
        for (int kk = 1; kk <= 10; ++kk) {
            checkExercises(kk);
        }
        return problems_;
    }

private:
    void problem(const QString& text) { problems_ << text; }

    // The lines of a course file, after checking the bytes: Windows-1250 throughout, CR LF
    // after every line, no byte-order mark, no tabs.
    QStringList lines(const QString& name) {
        QFile file(dir_ + QLatin1Char('/') + name);
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        if (bytes.isEmpty()) {
            problem(name + QStringLiteral(": missing or empty"));
            return {};
        }
        const QString text = fromWindows1250(bytes);
        QStringEncoder encoder("windows-1250");
        if (encoder.encode(text) != bytes || text.contains(QChar(0xFFFD))) {
            problem(name + QStringLiteral(": not Windows-1250 text"));
        }
        if (bytes.startsWith("\xEF\xBB\xBF") || bytes.contains('\t')) {
            problem(name + QStringLiteral(": byte-order mark or tab"));
        }
        if (!bytes.endsWith("\r\n") || bytes.count('\r') != bytes.count('\n') ||
            bytes.count("\r\n") != bytes.count('\n')) {
            problem(name + QStringLiteral(": lines must end with CR LF"));
        }
        QString unified = text;
        unified.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        QStringList result = unified.split(QLatin1Char('\n'));
        if (result.last().isEmpty()) {
            result.removeLast();
        }
        return result;
    }

    void checkDescriptions() {
        const QStringList all = lines(QStringLiteral("cz.dat"));
        QStringList headers;
        int length = 0;
        for (qsizetype i = 0; i <= all.size(); ++i) {
            if (i == all.size() || all[i].startsWith(QStringLiteral("LEKCE"))) {
                if (!headers.isEmpty() && (length < 1 || length > 5)) {
                    problem(QStringLiteral("cz.dat, %1: %2 description lines (1 to 5)")
                                .arg(headers.last())
                                .arg(length));
                }
                if (i < all.size()) {
                    headers << all[i];
                }
                length = 0;
            } else {
                ++length;
                if (all[i].size() > 70 || all[i] != all[i].trimmed()) {
                    problem(
                        QStringLiteral("cz.dat line %1: too long or blanks at an end").arg(i + 1));
                }
            }
        }
        QStringList expected;
        for (int n = 1; n <= kLessonCount; ++n) {
            expected << lessonHeader(n);
        }
        if (!all.isEmpty() && headers != expected) {
            problem(QStringLiteral("cz.dat: the headers must be LEKCE 01 … LEKCE 50 in order, "
                                   "lesson 50 last"));
        }
    }

    void checkExercises(int kk) {
        const QString name = lessonExerciseFile(5 * kk);
        const QStringList all = lines(name);
        if (all.isEmpty()) {
            return;
        }
        if (!all.last().startsWith(QStringLiteral("LEKCE"))) {
            problem(name + QStringLiteral(": must end with a closing LEKCE line (LEKCE KONEC)"));
        }
        qsizetype at = 0;
        for (int lesson = 5 * kk - 4; lesson <= 5 * kk; ++lesson) {
            if (all.value(at) != lessonHeader(lesson)) {
                problem(QStringLiteral("%1 line %2: expected %3")
                            .arg(name)
                            .arg(at + 1)
                            .arg(lessonHeader(lesson)));
                // Find the header further on, if it is there at all.
                at = all.indexOf(lessonHeader(lesson));
                if (at < 0) {
                    return;
                }
            }
            ++at;
            checkLesson(name, lesson, all, at);
        }
        if (at != all.size() - 1) {
            problem(name + QStringLiteral(": lines after the last lesson's closing LEKCE line"));
        }
    }

    // Checks one section from `at` to the next LEKCE line, leaving `at` on it.
    void checkLesson(const QString& name, int lesson, const QStringList& all, qsizetype& at) {
        const std::set<int> keys = lessonKeys(lesson);
        int exercises = 0;
        int messages = 0;
        bool previousWasMessage = true; // the first line must be an exercise line
        for (; at < all.size() && !all[at].startsWith(QStringLiteral("LEKCE")); ++at) {
            const QString& line = all[at];
            const QString where =
                QStringLiteral("%1 line %2 (lesson %3)").arg(name).arg(at + 1).arg(lesson);
            if (line.startsWith(QStringLiteral(">>>"))) {
                if (previousWasMessage) {
                    problem(where +
                            QStringLiteral(": a message line must follow an exercise line"));
                }
                if (line.size() <= 3 || line.size() > 63) {
                    problem(where + QStringLiteral(": message empty or too long"));
                }
                ++messages;
                previousWasMessage = true;
                continue;
            }
            previousWasMessage = false;
            ++exercises;
            if (line.isEmpty() || line.size() > 60) {
                problem(where + QStringLiteral(": %1 characters (1 to 60)").arg(line.size()));
            }
            if (line != line.trimmed() || line.contains(QStringLiteral("  "))) {
                problem(where + QStringLiteral(": blanks at an end or doubled"));
            }
            for (qsizetype col = 0; col < line.size(); ++col) {
                if (!typeable(line[col], keys)) {
                    problem(where + QStringLiteral(", column %1: '%2' needs a key the lesson "
                                                   "does not show")
                                        .arg(col + 1)
                                        .arg(line[col]));
                }
            }
        }
        const QString section = QStringLiteral("%1, lesson %2").arg(name).arg(lesson);
        if (messages > 0 && previousWasMessage) {
            problem(section + QStringLiteral(": ends with a message line"));
        }
        if (exercises < 15 || exercises > 30) {
            problem(section + QStringLiteral(": %1 exercise lines (15 to 30)").arg(exercises));
        }
        if (messages < 1) {
            problem(section + QStringLiteral(": no message line"));
        }
    }

    QString dir_;
    QStringList problems_;
};

QStringList readText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QString text = fromWindows1250(file.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    lines.removeLast();
    return lines;
}

void writeText(const QString& path, const QStringList& lines) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        QStringEncoder encoder("windows-1250");
        file.write(encoder.encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
    }
}

} // namespace

class TestCourse : public QObject {
    Q_OBJECT

private slots:
    void bundledCourseFollowsEveryRule() {
        const QStringList problems = CourseCheck(kDataDir).run();
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    }

    // The check itself must catch what a course writer might get wrong.
    void plantedMistakesAreFound_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("find");
        QTest::addColumn<QString>("replace");
        QTest::addColumn<QString>("named");
        QTest::newRow("č in lesson 20") << "cz04.dat"
                                        << "LEKCE 20\n"
                                        << "LEKCE 20\nčas\n"
                                        << "(lesson 20), column 1: 'č'";
        QTest::newRow("capital in lesson 12") << "cz03.dat"
                                              << "LEKCE 12\n"
                                              << "LEKCE 12\nZed\n"
                                              << "(lesson 12), column 1: 'Z'";
        QTest::newRow("61 characters") << "cz01.dat"
                                       << "LEKCE 02\n"
                                       << QStringLiteral("LEKCE 02\n") + QString(61, u'l') + "\n"
                                       << "(lesson 2): 61 characters";
        QTest::newRow("missing header") << "cz02.dat"
                                        << "LEKCE 08\n"
                                        << ""
                                        << "expected LEKCE 08";
        QTest::newRow("message last in a section") << "cz05.dat"
                                                   << "\nLEKCE 22\n"
                                                   << "\n>>>Konec.\nLEKCE 22\n"
                                                   << "lesson 21: ends with a message line";
        QTest::newRow("description header missing") << "cz.dat"
                                                    << "LEKCE 33\n"
                                                    << ""
                                                    << "cz.dat: the headers";
    }

    void plantedMistakesAreFound() {
        QFETCH(QString, file);
        QFETCH(QString, find);
        QFETCH(QString, replace);
        QFETCH(QString, named);
        QTemporaryDir copy;
        for (const QString& name : QDir(kDataDir).entryList({QStringLiteral("*.dat")})) {
            QVERIFY(QFile::copy(kDataDir + QLatin1Char('/') + name, copy.filePath(name)));
        }
        QString text = readText(copy.filePath(file)).join(QLatin1Char('\n')) + QLatin1Char('\n');
        QVERIFY2(text.contains(find), qPrintable(find));
        text.replace(text.indexOf(find), find.size(), replace);
        QStringList planted = text.split(QLatin1Char('\n'));
        planted.removeLast();
        writeText(copy.filePath(file), planted);
        const QStringList problems = CourseCheck(copy.path()).run();
        QVERIFY2(problems.join(QLatin1Char('\n')).contains(named),
                 qPrintable(problems.join(QLatin1Char('\n'))));
    }

    // Typing every line of every lesson exactly as shown goes through the whole lesson without
    // a single error and ends it.
    void everyLessonCanBeTypedToItsEnd() {
        Promenne shared;
        shared.TypKlavesnice = 1;
        test::FakePlatform platform;
        FrmTipora window(shared, platform, QDir(kDataDir));
        window.Form_Load();
        QVERIFY(platform.messages.empty());
        for (int lesson = 1; lesson <= kLessonCount; ++lesson) {
            window.mnuLekce_Click(lesson);
            QVERIFY2(platform.messages.empty(), qPrintable(QString::number(lesson)));
            QVERIFY(!window.form.txtPopisLekce.text.isEmpty());
            const int linesBefore = window.state.Radky;
            int steps = 0;
            while (window.form.imgDalsi.visible && steps++ < 100) {
                if (window.form.tmrText.enabled()) {
                    window.tmrText_Timer(); // a message's three seconds are over
                    continue;
                }
                for (QChar c : window.state.Zadani) {
                    window.Form_KeyPress(windows1250Code(QStringView(&c, 1)));
                }
                window.Form_KeyPress(13);
            }
            QVERIFY2(!window.form.imgDalsi.visible, qPrintable(QString::number(lesson)));
            QCOMPARE(window.state.Chyby, 0);
            QVERIFY(window.state.Radky - linesBefore >= 15);
            QCOMPARE(platform.messages.size(), std::size_t{1}); // "Chceš smazat statistiku?"
            platform.messages.clear();
        }
    }
};

QTEST_GUILESS_MAIN(TestCourse)
#include "test_course.moc"
