#include "exam/copy_test.h"

#include "keyboard/character_strokes.h"

#include <algorithm>
#include <array>
#include <vector>

namespace tipora {

namespace {

// The state exam in typing on the keyboard (10 minutes, 10 strokes off per error): the
// published requirements of each grade, as the school regulations for that exam state them. A
// teacher who finds them changed corrects them here.
struct GradeRequirement {
    int grade;
    int netPerMinute;        // at least
    int errorRateHundredths; // at most
};
constexpr std::array<GradeRequirement, 3> kGradeRequirements{{
    {1, 240, 15},
    {2, 220, 30},
    {3, 200, 50},
}};

// Beyond this many cells the word alignment would take too long and too much memory; the rest
// is then compared word by word in order. A ten-minute test has a few hundred words.
constexpr qsizetype kMostAlignmentCells = 16 * 1024 * 1024;

QStringList words(QStringView text) {
    QStringList list;
    QString word;
    const auto flush = [&] {
        if (!word.isEmpty()) {
            list.append(word);
            word.clear();
        }
    };
    for (const QChar c : text) {
        if (c == QLatin1Char('\n')) {
            flush();
            list.append(QStringLiteral("\n"));
        } else if (c.isSpace()) {
            flush();
        } else {
            word += c;
        }
    }
    flush();
    // What ends the file is not a line break the learner typed into the text.
    while (!list.isEmpty() && list.back() == QLatin1String("\n")) {
        list.removeLast();
    }
    return list;
}

// One step of an alignment: a word of each side paired (the same or not), a word of the
// original left out, a word typed that the original does not have.
enum class Step { Pair, Original, Typed };

// The alignment of the typed words with the start of the original that costs the fewest errors:
// a pair of different words, a word left out and a word added cost one each; the original after
// the last word reached costs nothing (the time ran out), and the last word typed costs nothing
// when it is the start of its original word (the time cut it short). Fewest errors, rather than
// most words in common: a few words matched far into the text must not turn everything before
// them into left-out words. Returns the steps and how many words of the original were reached.
std::pair<std::vector<Step>, qsizetype> align(const QStringList& a, const QStringList& b) {
    const qsizetype n = a.size();
    const qsizetype m = b.size();
    std::vector<Step> steps;
    if ((n + 1) * (m + 1) > kMostAlignmentCells) {
        // Compared in order, the original as far as the typed text goes.
        const qsizetype reached = std::min(n, m);
        steps.assign(static_cast<std::size_t>(reached), Step::Pair);
        steps.insert(steps.end(), static_cast<std::size_t>(m - reached), Step::Typed);
        return {steps, reached};
    }
    // cost[i][j]: the fewest errors of a's first i words against b's first j.
    const auto width = static_cast<std::size_t>(m + 1);
    std::vector<int> cost(static_cast<std::size_t>(n + 1) * width, 0);
    const auto at = [&](qsizetype i, qsizetype j) -> int& {
        return cost[static_cast<std::size_t>(i) * width + static_cast<std::size_t>(j)];
    };
    const auto pairCost = [&](qsizetype i, qsizetype j) {
        const QString& original = a[i - 1];
        const QString& typed = b[j - 1];
        return original == typed || (j == m && original.startsWith(typed)) ? 0 : 1;
    };
    for (qsizetype i = 0; i <= n; ++i) {
        for (qsizetype j = 0; j <= m; ++j) {
            if (i == 0 || j == 0) {
                at(i, j) = static_cast<int>(i + j);
                continue;
            }
            at(i, j) =
                std::min({at(i - 1, j - 1) + pairCost(i, j), at(i - 1, j) + 1, at(i, j - 1) + 1});
        }
    }
    // Where the typed text ends in the original: the cheapest, and of those the farthest, so
    // that words typed differently pair with the original's rather than count as added.
    qsizetype reached = 0;
    for (qsizetype i = 1; i <= n; ++i) {
        if (at(i, m) <= at(reached, m)) {
            reached = i;
        }
    }
    qsizetype i = reached;
    qsizetype j = m;
    while (i > 0 || j > 0) {
        if (i > 0 && j > 0 && at(i, j) == at(i - 1, j - 1) + pairCost(i, j)) {
            steps.push_back(Step::Pair);
            --i;
            --j;
        } else if (j > 0 && (i == 0 || at(i, j) == at(i, j - 1) + 1)) {
            steps.push_back(Step::Typed);
            --j;
        } else {
            steps.push_back(Step::Original);
            --i;
        }
    }
    std::reverse(steps.begin(), steps.end());
    return {steps, reached};
}

} // namespace

int characterStrokes(QChar character) {
    const CharacterStroke stroke = characterStroke(character);
    if (!stroke.found) {
        return 1;
    }
    int strokes = stroke.shift ? 2 : 1;
    if (stroke.dead) {
        strokes += *stroke.dead == DeadKey::Caron ? 2 : 1;
    }
    return strokes;
}

int textStrokes(QStringView text) {
    int strokes = 0;
    for (const QChar c : text) {
        strokes += characterStrokes(c);
    }
    return strokes;
}

QList<WordMark> compareWords(const QString& original, const QString& typed) {
    const QStringList a = words(original);
    const QStringList b = words(typed);
    const auto [steps, reached] = align(a, b);
    QList<WordMark> marks;
    qsizetype i = 0;
    qsizetype j = 0;
    for (const Step step : steps) {
        if (step == Step::Pair) {
            const bool right = a[i] == b[j] || (j == b.size() - 1 && a[i].startsWith(b[j]));
            marks.append({right ? WordMark::Kind::Right : WordMark::Kind::Wrong, a[i++], b[j++]});
        } else if (step == Step::Original) {
            marks.append({WordMark::Kind::Missing, a[i++], {}});
        } else {
            marks.append({WordMark::Kind::Added, {}, b[j++]});
        }
    }
    for (; i < a.size(); ++i) {
        marks.append({WordMark::Kind::Unreached, a[i], {}});
    }
    return marks;
}

std::optional<int> copyTestGrade(double minutes, int penalty, double netPerMinute,
                                 int errorRateHundredths) {
    if (minutes != kGradedMinutes || penalty != kGradedPenalty) {
        return std::nullopt;
    }
    for (const GradeRequirement& r : kGradeRequirements) {
        if (netPerMinute >= r.netPerMinute && errorRateHundredths <= r.errorRateHundredths) {
            return r.grade;
        }
    }
    return 0;
}

CopyTestFigures scoreCopyTest(const QList<WordMark>& marks, const QString& typed, double minutes,
                              int penalty) {
    CopyTestFigures f;
    QStringView kept(typed);
    while (!kept.isEmpty() && kept.back().isSpace()) {
        kept.chop(1);
    }
    f.grossStrokes = textStrokes(kept);
    f.errors = static_cast<int>(std::count_if(marks.begin(), marks.end(), [](const WordMark& m) {
        return m.kind == WordMark::Kind::Wrong || m.kind == WordMark::Kind::Missing ||
               m.kind == WordMark::Kind::Added;
    }));
    f.penalty = penalty;
    f.netStrokes = std::max(0, f.grossStrokes - f.errors * penalty);
    f.minutes = minutes;
    f.netPerMinute = minutes > 0 ? f.netStrokes / minutes : 0.0;
    if (f.grossStrokes > 0) {
        f.errorRateHundredths =
            static_cast<int>(std::min<qint64>(10000, qint64{f.errors} * 10000 / f.grossStrokes));
    } else {
        f.errorRateHundredths = f.errors > 0 ? 10000 : 0;
    }
    f.accuracyHundredths = 10000 - f.errorRateHundredths;
    f.grade = copyTestGrade(minutes, penalty, f.netPerMinute, f.errorRateHundredths);
    return f;
}

CopyTestFigures scoreCopyTest(const QString& original, const QString& typed, double minutes,
                              int penalty) {
    return scoreCopyTest(compareWords(original, typed), typed, minutes, penalty);
}

} // namespace tipora
