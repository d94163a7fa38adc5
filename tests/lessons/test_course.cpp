// The bundled course: its files follow the format, every lesson starts, and every exercise line
// can be typed with the keys its lesson shows.
#include "app/frm_tipora.h"
#include "keyboard/dead_keys.h"
#include "keyboard/demo_keys.h"
#include "keyboard/key_marking.h"
#include "keyboard/key_table.h"
#include "keyboard/windows1250.h"
#include "lessons/lesson_catalogue.h"
#include "support/fake_platform.h"

#include <QFile>
#include <QStringEncoder>
#include <QTest>
#include <set>

using namespace tipora;

namespace {

const QString kDataDir = QStringLiteral(TIPORA_DATA_DIR);

QByteArray readBytes(const QString& name) {
    QFile file(kDataDir + QLatin1Char('/') + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The lines of a course file, after checking the bytes: Windows-1250 throughout, CR LF after
// every line, no byte-order mark, no tabs.
QStringList courseLines(const QString& name) {
    const QByteArray bytes = readBytes(name);
    if (bytes.isEmpty()) {
        qWarning("%s is missing or empty", qPrintable(name));
        return {};
    }
    const QString text = fromWindows1250(bytes);
    QStringEncoder encoder("windows-1250");
    const bool clean = encoder.encode(text) == bytes && !bytes.startsWith("\xEF\xBB\xBF") &&
                       !bytes.contains('\t') && bytes.endsWith("\r\n") &&
                       bytes.count('\r') == bytes.count('\n') &&
                       bytes.count("\r\n") == bytes.count('\n') && !text.contains(QChar(0xFFFD));
    if (!clean) {
        qWarning("%s is not clean Windows-1250 text with CR LF line ends", qPrintable(name));
        return {};
    }
    QStringList lines = text.split(QStringLiteral("\r\n"));
    lines.removeLast(); // after the final CR LF
    return lines;
}

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
        // Caps Lock gives the capitals of the letters on the number row and of ú.
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

} // namespace

class TestCourse : public QObject {
    Q_OBJECT

private slots:
    void descriptionsFitTheirBox() {
        const QStringList lines = courseLines(QStringLiteral("cz.dat"));
        QVERIFY(!lines.isEmpty());
        QStringList headers;
        for (const QString& line : lines) {
            if (line.startsWith(QStringLiteral("LEKCE"))) {
                headers << line;
            }
        }
        QStringList expected;
        for (int n = 1; n <= kLessonCount; ++n) {
            expected << lessonHeader(n);
        }
        QCOMPARE(headers, expected);
        int length = 0;
        for (qsizetype i = 1; i <= lines.size(); ++i) {
            if (i == lines.size() || lines[i].startsWith(QStringLiteral("LEKCE"))) {
                QVERIFY2(length >= 1 && length <= 5, qPrintable(lines[i - length - 1]));
                length = 0;
            } else {
                QVERIFY2(lines[i].size() <= 70 && lines[i] == lines[i].trimmed(),
                         qPrintable(lines[i]));
                ++length;
            }
        }
    }

    void exerciseFilesFollowTheFormat_data() {
        QTest::addColumn<int>("file");
        for (int kk = 1; kk <= 10; ++kk) {
            QTest::addRow("cz%02d.dat", kk) << kk;
        }
    }

    void exerciseFilesFollowTheFormat() {
        QFETCH(int, file);
        const QStringList lines = courseLines(lessonExerciseFile(5 * file));
        QVERIFY(!lines.isEmpty());
        QVERIFY2(lines.last().startsWith(QStringLiteral("LEKCE")), "must end with a LEKCE line");
        qsizetype at = 0;
        for (int lesson = 5 * file - 4; lesson <= 5 * file; ++lesson) {
            QCOMPARE(lines.value(at), lessonHeader(lesson));
            ++at;
            const std::set<int> keys = lessonKeys(lesson);
            int exercises = 0;
            int messages = 0;
            bool previousWasMessage = true; // the first line must be an exercise line
            for (; at < lines.size() && !lines[at].startsWith(QStringLiteral("LEKCE")); ++at) {
                const QString& line = lines[at];
                const QString where = QStringLiteral("lesson %1: \"%2\"").arg(lesson).arg(line);
                if (line.startsWith(QStringLiteral(">>>"))) {
                    QVERIFY2(!previousWasMessage, qPrintable(where));
                    QVERIFY2(line.size() > 3 && line.size() <= 63, qPrintable(where));
                    ++messages;
                    previousWasMessage = true;
                    continue;
                }
                previousWasMessage = false;
                ++exercises;
                QVERIFY2(!line.isEmpty() && line.size() <= 60, qPrintable(where));
                QVERIFY2(line == line.trimmed() && !line.contains(QStringLiteral("  ")),
                         qPrintable(where));
                for (QChar c : line) {
                    QVERIFY2(typeable(c, keys),
                             qPrintable(QStringLiteral("%1 cannot type '%2'").arg(where, c)));
                }
            }
            QVERIFY2(!previousWasMessage, qPrintable(QStringLiteral("lesson %1").arg(lesson)));
            QVERIFY2(exercises >= 15 && exercises <= 30,
                     qPrintable(QStringLiteral("lesson %1: %2 lines").arg(lesson).arg(exercises)));
            QVERIFY2(messages >= 1, qPrintable(QStringLiteral("lesson %1").arg(lesson)));
        }
        QCOMPARE(at, lines.size() - 1);
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
