#include "lessons/weak_key_drill.h"

#include "ground/key_table.h"
#include "ground/lesson_catalogue.h"
#include "ground/lesson_file.h"
#include "ground/lesson_texts.h"
#include "keyboard/character_strokes.h"
#include "keyboard/key_marking.h"
#include "lessons/drill_texts.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <limits>
#include <map>
#include <random>
#include <set>

namespace tipora {

namespace {

// A letter typed fewer times than this says nothing yet about how well it is known.
constexpr int kFewestStrokesToJudge = 10;
// A letter found in fewer usable words than this would make a drill of one word repeated.
constexpr int kFewestWordsToDrill = 3;
// Words tried for each place in a line; the one with most of the missing letters is taken.
constexpr int kWordsTried = 8;
constexpr int kMissingLetterWorth = 4;
constexpr int kUsedWordCost = 3;

const QString kVowels = QStringLiteral("aeiouyáéíóúůýě");

// The course's letter drills ("fjfj", "dkd", "asa") are no words: a word has a vowel and at least
// three different letters.
bool looksLikeWord(const QString& token) {
    if (token.size() < 3 ||
        !std::all_of(token.begin(), token.end(), [](QChar c) { return c.isLetter(); })) {
        return false;
    }
    const QString lower = token.toLower();
    const bool vowel =
        std::any_of(lower.begin(), lower.end(), [](QChar c) { return kVowels.contains(c); });
    QSet<QChar> letters(lower.begin(), lower.end());
    // Words in capitals belong to the Caps Lock lesson, not to a drill of letters.
    const bool capitals = lower.sliced(1) != token.sliced(1);
    return vowel && letters.size() >= 3 && !capitals;
}

struct Figures {
    int strokes = 0;
    int errors = 0;
    int timed = 0;
    qint64 totalMs = 0;

    double rate() const { return strokes > 0 ? static_cast<double>(errors) / strokes : 0.0; }
    double meanMs() const { return timed > 0 ? static_cast<double>(totalMs) / timed : 0.0; }
};

class TaughtKeys {
public:
    explicit TaughtKeys(const std::vector<int>& codes) : codes_(codes.begin(), codes.end()) {}

    bool has(int code) const { return codes_.contains(code); }
    bool canType(QChar c) const {
        const CharacterStroke stroke = characterStroke(c);
        const bool shift = has(kKeyShift) || has(kKeyRightShift);
        const bool deadShift = stroke.dead == DeadKey::Caron;
        return stroke.found && has(stroke.code) && (!stroke.shift || shift) &&
               (!stroke.dead || (has(kKeyDeadAccent) && (!deadShift || shift)));
    }
    bool canType(const QString& word) const {
        return std::all_of(word.begin(), word.end(), [this](QChar c) { return canType(c); });
    }

private:
    std::set<int> codes_;
};

// The learner's figures per letter, capitals counted with their small letter.
std::map<QChar, Figures> letterFigures(const QList<KeyRecord>& keys) {
    std::map<QChar, Figures> letters;
    for (const KeyRecord& key : keys) {
        if (!key.character.isLetter()) {
            continue;
        }
        Figures& f = letters[key.character.toLower()];
        f.strokes += key.strokes;
        f.errors += key.errors;
        f.timed += key.timed;
        f.totalMs += key.totalMs;
    }
    return letters;
}

// The weakest letters first: most errors per stroke, then the slowest.
QString weakLetters(const std::map<QChar, Figures>& letters, const TaughtKeys& taught,
                    const QStringList& words) {
    std::vector<std::pair<QChar, Figures>> candidates;
    for (const auto& [key, figures] : letters) {
        const QChar letter = key; // a lambda cannot take a structured binding
        const auto inWords = std::count_if(words.begin(), words.end(), [letter](const QString& w) {
            return w.contains(letter, Qt::CaseInsensitive);
        });
        if (figures.strokes >= kFewestStrokesToJudge && taught.canType(letter) &&
            inWords >= kFewestWordsToDrill) {
            candidates.emplace_back(letter, figures);
        }
    }
    std::stable_sort(candidates.begin(), candidates.end(), [](const auto& a, const auto& b) {
        if (a.second.rate() != b.second.rate()) {
            return a.second.rate() > b.second.rate();
        }
        return a.second.meanMs() > b.second.meanMs();
    });
    QString weak;
    for (const auto& [letter, figures] : candidates) {
        // Letters without errors only make up the fewest; more of them would dilute the drill.
        if (weak.size() == kMostWeakKeys ||
            (figures.errors == 0 && weak.size() >= kFewestWeakKeys)) {
            break;
        }
        weak += letter;
    }
    return weak;
}

int occurrences(const QString& word, QChar letter) {
    return static_cast<int>(word.count(letter, Qt::CaseInsensitive));
}

class LineFiller {
public:
    LineFiller(const QStringList& words, const QString& weak, quint32 seed)
        : words_(words), weak_(weak), random_(seed),
          counts_(static_cast<std::size_t>(weak.size())) {
        for (const QChar letter : weak) {
            QStringList with;
            for (const QString& w : words) {
                if (w.contains(letter, Qt::CaseInsensitive)) {
                    with.append(w);
                }
            }
            withLetter_.append(with);
        }
    }

    QStringList lines() {
        QStringList lines;
        for (int n = 0; n < kDrillLineCount; ++n) {
            QString line;
            while (const std::optional<QString> word =
                       nextWord(kDrillLineLength - line.size() - (line.isEmpty() ? 0 : 1))) {
                line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + *word;
                for (qsizetype i = 0; i < weak_.size(); ++i) {
                    counts_[static_cast<std::size_t>(i)] += occurrences(*word, weak_[i]);
                }
            }
            lines.append(line);
        }
        return lines;
    }

    bool everyLetterDrilled() const {
        return std::all_of(counts_.begin(), counts_.end(),
                           [](int c) { return c >= kWeakKeyRepeats; });
    }

private:
    // A word of at most `room` characters, none when nothing fits.
    std::optional<QString> nextWord(qsizetype room) {
        if (room < 3) {
            return std::nullopt;
        }
        // The letter furthest behind picks the words; one in four is any word, for variety,
        // once every letter has its share.
        const auto behind = std::min_element(counts_.begin(), counts_.end());
        const bool anyWord = *behind >= kWeakKeyRepeats && random_() % 4 == 0;
        const QStringList& pool =
            anyWord ? words_ : withLetter_[std::distance(counts_.begin(), behind)];
        std::optional<QString> best;
        int bestScore = std::numeric_limits<int>::min();
        for (int i = 0; i < kWordsTried; ++i) {
            const QString& word = pool[static_cast<qsizetype>(random_() % pool.size())];
            if (word.size() > room) {
                continue;
            }
            // The letters still missing count most; a word already taken counts against itself,
            // so that the lines do not repeat the one word richest in weak letters.
            int score = -kUsedWordCost * used_.value(word);
            for (qsizetype l = 0; l < weak_.size(); ++l) {
                if (counts_[static_cast<std::size_t>(l)] < kWeakKeyRepeats) {
                    score += kMissingLetterWorth * occurrences(word, weak_[l]);
                }
            }
            if (score > bestScore) {
                best = word;
                bestScore = score;
            }
        }
        if (best) {
            ++used_[*best];
        }
        return best;
    }

    const QStringList& words_;
    const QString& weak_;
    std::mt19937 random_;
    std::vector<int> counts_;
    QList<QStringList> withLetter_;
    QHash<QString, int> used_;
};

} // namespace

std::vector<int> taughtKeyCodes(const QList<int>& finishedLessons) {
    KeyLabels labels;
    std::set<int> taught{kKeySpace};
    for (const int lesson : finishedLessons) {
        if (lesson < 1 || lesson > kLessonCount) {
            continue;
        }
        for (const KeyDef& key : kKeyTable) {
            labels[key.code].back = kWhite;
        }
        markLesson(lesson, labels);
        for (const auto& [code, label] : labels) {
            if (label.back != kWhite) {
                taught.insert(code);
            }
        }
    }
    return {taught.begin(), taught.end()};
}

QStringList courseWords(const QDir& course) {
    QSet<QString> words;
    QSet<QString> files;
    for (int lesson = 1; lesson <= kLessonCount; ++lesson) {
        files.insert(lessonExerciseFile(lesson));
    }
    for (const QString& name : files) {
        LessonFile file;
        if (!file.open(course.filePath(name))) {
            continue;
        }
        QString line;
        while (file.readLine(line)) {
            if (line.startsWith(texts::kHeaderPrefix) || line.startsWith(texts::kMessagePrefix)) {
                continue;
            }
            for (QString token : line.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
                while (!token.isEmpty() && !token.back().isLetter()) {
                    token.chop(1);
                }
                if (looksLikeWord(token)) {
                    words.insert(token);
                }
            }
        }
    }
    QStringList list(words.begin(), words.end());
    std::sort(list.begin(), list.end());
    return list;
}

WeakKeyDrill weakKeyDrill(const PracticeRecord& record, const QStringList& words, quint32 seed) {
    WeakKeyDrill drill;
    int keystrokes = 0;
    for (const KeyRecord& key : record.keys) {
        keystrokes += key.strokes;
    }
    if (keystrokes < kDrillMinimumKeystrokes) {
        drill.refusal = texts::tooLittleHistory(keystrokes, kDrillMinimumKeystrokes);
        return drill;
    }
    if (record.finishedLessons.isEmpty()) {
        drill.refusal = texts::kNoFinishedLesson;
        return drill;
    }
    drill.taughtKeyCodes = taughtKeyCodes(record.finishedLessons);
    const TaughtKeys taught(drill.taughtKeyCodes);
    QStringList usable;
    std::copy_if(words.begin(), words.end(), std::back_inserter(usable),
                 [&taught](const QString& w) { return taught.canType(w); });
    QString weak = weakLetters(letterFigures(record.keys), taught, usable);
    // Letters found in few words may not reach their count in twenty lines; the drill then
    // keeps fewer of them, the weakest.
    for (quint32 attempt = 0; weak.size() >= 1; ++attempt) {
        LineFiller filler(usable, weak, seed + attempt);
        QStringList lines = filler.lines();
        if (filler.everyLetterDrilled()) {
            drill.lines = std::move(lines);
            break;
        }
        weak.chop(1);
    }
    if (drill.lines.isEmpty()) {
        drill.refusal = texts::kNoWeakKeyWords;
        return drill;
    }
    for (const QChar letter : weak) {
        if (!drill.weakKeys.isEmpty()) {
            drill.weakKeys += QLatin1Char(' ');
        }
        drill.weakKeys += letter;
        const CharacterStroke stroke = characterStroke(letter);
        drill.weakKeyCodes.push_back(stroke.code);
    }
    return drill;
}

SourceLine TextLines::next(bool /*lastLineEnds*/) {
    if (read_ >= lines_.size()) {
        return {};
    }
    const QString& line = lines_[read_++];
    return {SourceLine::Kind::Exercise, line, line};
}

} // namespace tipora
