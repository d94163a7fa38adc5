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

enum class Step { Match, Original, Typed };

// The alignment of two word lists, from the start: the longest common subsequence.
std::vector<Step> align(const QStringList& a, const QStringList& b) {
    std::vector<Step> steps;
    // Equal ends need no table.
    qsizetype prefix = 0;
    while (prefix < a.size() && prefix < b.size() && a[prefix] == b[prefix]) {
        ++prefix;
    }
    qsizetype suffix = 0;
    while (suffix < a.size() - prefix && suffix < b.size() - prefix &&
           a[a.size() - 1 - suffix] == b[b.size() - 1 - suffix]) {
        ++suffix;
    }
    steps.assign(static_cast<std::size_t>(prefix), Step::Match);
    const qsizetype n = a.size() - prefix - suffix;
    const qsizetype m = b.size() - prefix - suffix;
    if ((n + 1) * (m + 1) > kMostAlignmentCells) {
        for (qsizetype i = 0; i < std::max(n, m); ++i) {
            if (i < n && i < m) {
                steps.push_back(a[prefix + i] == b[prefix + i] ? Step::Match : Step::Original);
                if (a[prefix + i] != b[prefix + i]) {
                    steps.push_back(Step::Typed);
                }
            } else {
                steps.push_back(i < n ? Step::Original : Step::Typed);
            }
        }
    } else {
        // lengths[i][j]: the common words of a's middle from i and b's from j.
        const auto width = static_cast<std::size_t>(m + 1);
        std::vector<int> lengths(static_cast<std::size_t>(n + 1) * width, 0);
        const auto at = [&](qsizetype i, qsizetype j) -> int& {
            return lengths[static_cast<std::size_t>(i) * width + static_cast<std::size_t>(j)];
        };
        for (qsizetype i = n - 1; i >= 0; --i) {
            for (qsizetype j = m - 1; j >= 0; --j) {
                at(i, j) = a[prefix + i] == b[prefix + j] ? at(i + 1, j + 1) + 1
                                                          : std::max(at(i + 1, j), at(i, j + 1));
            }
        }
        qsizetype i = 0;
        qsizetype j = 0;
        while (i < n || j < m) {
            if (i < n && j < m && a[prefix + i] == b[prefix + j]) {
                steps.push_back(Step::Match);
                ++i;
                ++j;
            } else if (j == m || (i < n && at(i + 1, j) >= at(i, j + 1))) {
                steps.push_back(Step::Original);
                ++i;
            } else {
                steps.push_back(Step::Typed);
                ++j;
            }
        }
    }
    steps.insert(steps.end(), static_cast<std::size_t>(suffix), Step::Match);
    return steps;
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
    const std::vector<Step> steps = align(a, b);
    // Where the last typed word lies: what of the original follows it was not reached.
    const auto lastMatch = std::find(steps.rbegin(), steps.rend(), Step::Match);
    const auto tail = lastMatch.base(); // the steps after the last matched word

    QList<WordMark> marks;
    qsizetype i = 0;
    qsizetype j = 0;
    auto step = steps.begin();
    while (step != steps.end()) {
        if (*step == Step::Match) {
            marks.append({WordMark::Kind::Right, a[i++], b[j++]});
            ++step;
            continue;
        }
        // A run of differences: its words pair up in order; the longer side's rest is left
        // out or added.
        QStringList gapOriginal;
        QStringList gapTyped;
        const bool last = step >= tail;
        for (; step != steps.end() && *step != Step::Match; ++step) {
            if (*step == Step::Original) {
                gapOriginal.append(a[i++]);
            } else {
                gapTyped.append(b[j++]);
            }
        }
        for (qsizetype k = 0; k < std::max(gapOriginal.size(), gapTyped.size()); ++k) {
            if (k < gapOriginal.size() && k < gapTyped.size()) {
                // The time may have cut the last word short.
                const bool cutShort =
                    last && k == gapTyped.size() - 1 && gapOriginal[k].startsWith(gapTyped[k]);
                marks.append({cutShort ? WordMark::Kind::Right : WordMark::Kind::Wrong,
                              gapOriginal[k], gapTyped[k]});
            } else if (k < gapOriginal.size()) {
                marks.append({last ? WordMark::Kind::Unreached : WordMark::Kind::Missing,
                              gapOriginal[k],
                              {}});
            } else {
                marks.append({WordMark::Kind::Added, {}, gapTyped[k]});
            }
        }
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
