// The keyboard a learner sees at the start of each of the 50 lessons: the keys the lesson
// introduces in red, the keys taught before it in green, everything else white. The expected sets
// are written out here from the course plan, key by key, not taken from the program's tables.
#include "support/tutor.h"
#include "window/frm_tipora.h"

#include <QTest>
#include <algorithm>
#include <memory>

using namespace tipora;

namespace {

using Keys = QList<int>;

// Key codes of the keys that are not letters (a letter's code is its capital).
constexpr int kLeftShift = 16;
constexpr int kRightShift = 1016;
constexpr int kCapsLock = 20;
constexpr int kRingU = 186;  // ů
constexpr int kAcuteU = 219; // ú
constexpr int kComma = 188;
constexpr int kPeriod = 190;
constexpr int kMinus = 191;
constexpr int kCaronR = 53; // ř
constexpr int kAcuteA = 56; // á
constexpr int kCaronS = 51; // š
constexpr int kCaronC = 52; // č
constexpr int kAcuteI = 57; // í
constexpr int kAcuteE = 48; // é
constexpr int kCaronE = 50; // ě
constexpr int kCaronZ = 54; // ž
constexpr int kAcuteY = 55; // ý
constexpr int kAcuteAccent = 187;
constexpr int kSemicolon = 192;
constexpr int kClosingParen = 221;
constexpr int kPlus = 49;
constexpr int kEquals = 189;
constexpr int kSection = 222;
constexpr int kEnterKey = 13;

// The green keys of the nine stages of the course; stage 0 is a white keyboard.
Keys stage(int n) {
    const Keys first{'A', 'D', 'F', 'G', 'H', 'J', 'K', 'L', 'S', kRingU, 'R', 'U'};
    const Keys second = first + Keys{'E', 'I', 'O', 'P', kComma, kPeriod};
    const Keys third = second + Keys{'Q', 'T', 'Z', kAcuteU};
    const Keys fourth = third + Keys{'M', 'V'};
    const Keys fifth{'A', 'C', 'D', 'E', 'F',    'G',    'H',     'I',    'J',    'K',
                     'L', 'M', 'O', 'P', 'Q',    'R',    'S',     'T',    'U',    'V',
                     'W', 'X', 'Y', 'Z', kRingU, kComma, kPeriod, kMinus, kAcuteU};
    const Keys sixth = fifth + Keys{'B', 'N'};
    const Keys seventh = sixth + Keys{kLeftShift, kCaronR, kAcuteA, kRightShift};
    const Keys eighth = seventh + Keys{kCaronS, kCaronC, kAcuteI};
    const Keys ninth = eighth + Keys{kAcuteE, kCaronE, kCaronZ, kAcuteY};
    const Keys stages[] = {{}, first, second, third, fourth, fifth, sixth, seventh, eighth, ninth};
    return stages[n];
}

struct LessonKeys {
    int stage;
    Keys furtherGreen;
    Keys red;
};

const LessonKeys kCourse[50] = {
    {0, {}, {'D', 'F', 'J', 'K'}},
    {0, {'D', 'F', 'J', 'K'}, {'L', 'S'}},
    {0, {'D', 'F', 'J', 'K', 'L', 'S'}, {'A', kRingU}},
    {0, {'A', 'D', 'F', 'J', 'K', 'L', 'S', kRingU}, {'G', 'H'}},
    {0, {'A', 'D', 'F', 'G', 'H', 'J', 'K', 'L', 'S', kRingU}, {'R', 'U'}},
    {1, {}, {'E', 'I', kComma}},
    {1, {'E', 'I', kComma}, {}},
    {1, {'E', 'I', kComma}, {'O', kPeriod}},
    {1, {'E', 'I', 'O', kComma, kPeriod}, {'P'}},
    {2, {}, {}},
    {2, {}, {'T'}},
    {2, {'T'}, {'Z'}},
    {2, {'T', 'Z'}, {'Q', kAcuteU}},
    {3, {}, {}},
    {3, {}, {}},
    {3, {}, {}},
    {3, {}, {'V'}},
    {3, {'V'}, {'M'}},
    {4, {}, {}},
    {4, {}, {}},
    {4, {}, {'C'}},
    {4, {'C'}, {'W', 'X', kMinus}},
    {4, {'C', 'W', 'X', kMinus}, {'Y'}},
    {5, {}, {}},
    {5, {}, {}},
    {5, {}, {}},
    {5, {}, {'B'}},
    {5, {'B'}, {'N'}},
    {6, {}, {}},
    {6, {}, {}},
    {6, {}, {kLeftShift}},
    {6, {kLeftShift}, {kRightShift}},
    {6, {kLeftShift, kRightShift}, {}},
    {6, {kLeftShift, kRightShift}, {kCaronR}},
    {6, {kLeftShift, kCaronR, kRightShift}, {kAcuteA}},
    {7, {}, {}},
    {7, {}, {kCaronC}},
    {7, {kCaronC}, {kAcuteI}},
    {7, {kCaronC, kAcuteI}, {}},
    {7, {kCaronC, kAcuteI}, {kCaronS}},
    {8, {}, {kAcuteE}},
    {8, {kAcuteE}, {kCaronE}},
    {8, {kAcuteE, kCaronE}, {}},
    {8, {kAcuteE, kCaronE}, {kCaronZ}},
    {8, {kAcuteE, kCaronE, kCaronZ}, {kAcuteY}},
    {9, {}, {kAcuteAccent}},
    {9, {kAcuteAccent}, {kCapsLock}},
    {9, {kCapsLock, kAcuteAccent}, {kSemicolon, kClosingParen}},
    {9, {kCapsLock, kAcuteAccent, kSemicolon, kClosingParen}, {kPlus}},
    {9, {kCapsLock, kPlus, kAcuteAccent, kSemicolon, kClosingParen}, {kEquals, kSection}},
};

Keys sorted(Keys keys) {
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    return keys;
}

// "a d f …": the captions of the keys, so that a failure reads as the keyboard looks.
QString captions(const FrmTiporaForm& form, const Keys& keys) {
    QStringList names;
    for (int code : sorted(keys)) {
        const auto it = form.lblKlavesa.find(code);
        names << (it == form.lblKlavesa.end()
                      ? QStringLiteral("?%1").arg(code)
                      : QStringLiteral("%1(%2)").arg(it->second.text.trimmed()).arg(code));
    }
    return names.join(QLatin1Char(' '));
}

Keys keysColoured(const FrmTiporaForm& form, Color color) {
    Keys keys;
    for (const auto& [code, label] : form.lblKlavesa) {
        if (label.back == color) {
            keys << code;
        }
    }
    return keys;
}

} // namespace

class TestLessonKeySets : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { tutor_ = std::make_unique<test::Tutor>(); }

    void lessonShowsItsKeys_data() {
        QTest::addColumn<int>("lesson");
        QTest::addColumn<Keys>("green");
        QTest::addColumn<Keys>("red");
        for (int n = 1; n <= 50; ++n) {
            const LessonKeys& row = kCourse[n - 1];
            QTest::addRow("lesson %02d", n) << n << stage(row.stage) + row.furtherGreen << row.red;
        }
    }

    void lessonShowsItsKeys() {
        QFETCH(int, lesson);
        QFETCH(Keys, green);
        QFETCH(Keys, red);
        FrmTiporaForm& form = tutor_->f();
        // Whatever the last lesson left, every marking begins on a white keyboard.
        for (auto& [code, label] : form.lblKlavesa) {
            if (code != kEnterKey) {
                label.back = kRed;
            }
        }
        tutor_->w().mnuLekce_Click(lesson);
        QVERIFY(tutor_->s().LekceNactena);

        QCOMPARE(captions(form, keysColoured(form, kRed)), captions(form, red));
        QCOMPARE(captions(form, keysColoured(form, kGreen)), captions(form, green));
        Keys white;
        for (const auto& [code, label] : form.lblKlavesa) {
            if (!red.contains(code) && !green.contains(code)) {
                white << code;
            }
        }
        QCOMPARE(captions(form, keysColoured(form, kWhite)), captions(form, white));
    }

    void cleanupTestCase() { tutor_.reset(); }

private:
    std::unique_ptr<test::Tutor> tutor_;
};

QTEST_GUILESS_MAIN(TestLessonKeySets)
#include "test_lesson_key_sets.moc"
