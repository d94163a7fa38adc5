#pragma once

#include "app/form_model.h"
#include "history/lesson_result.h"
#include "keyboard/dead_keys.h"

#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QString>
#include <array>
#include <map>
#include <optional>

namespace tipora {

// How a key fared over a period, by its error rate.
enum class Heat { None, Low, Medium, High };

// A key is coloured by the last band its error rate reaches. Rates are compared in per mille as
// whole numbers, so a rate right on an edge (1 error in 50) falls on the same side every time.
struct HeatBand {
    Heat heat;
    int fromPerMille;
    Color colour;
};
inline constexpr Color kNoFiguresColour = kWhite;
inline constexpr std::array<HeatBand, 3> kHeatBands{{
    {Heat::Low, 0, kGreen},
    {Heat::Medium, 20, kYellow},
    {Heat::High, 50, kRed},
}};

// The periods the learner chooses from, in the order they are offered.
enum class HeatPeriod { LastLesson, LastWeek, Everything };
KeyPeriod keyPeriod(HeatPeriod period, const QDateTime& now);

// A character counted on a key, with what it takes besides the key itself.
struct KeyCharacter {
    QChar character;
    bool shift = false;
    std::optional<DeadKey> dead;
};

// One key's figures: its characters' own rows added up, and the character most often typed in
// their place.
struct KeyHeat {
    int code = 0;
    QList<KeyCharacter> characters; // plain ones first, then with Shift, then with a dead key
    int strokes = 0;
    int errors = 0;
    int timed = 0;
    qint64 totalMs = 0;
    QString confusion; // empty when nothing ever came instead
    int confusionCount = 0;

    Heat heat() const;
    // Nothing when no right stroke had a key before it.
    std::optional<qint64> meanMs() const;
};

// The heat map of the "Klávesnice" view: key figures turned into what each key of the on-screen
// keyboard shows, and the weakest and slowest keys.
class KeyHeatMap {
public:
    // Fewer strokes than this say too little about a key to rank it.
    static constexpr int kMinRankedStrokes = 20;
    static constexpr int kRankedKeys = 10;

    explicit KeyHeatMap(const QList<KeyFigure>& figures = {}, QLocale locale = QLocale());

    bool isEmpty() const { return keys_.empty(); }
    // Nothing for a key without strokes.
    const KeyHeat* key(int code) const;
    Heat heat(int code) const;
    Color colour(int code) const;
    // What hovering or focusing the key tells.
    QString hoverText(int code) const;

    // Codes, the highest error rate first (keys without errors are not weak).
    const QList<int>& weakest() const { return weakest_; }
    // Codes, the longest mean time first.
    const QList<int>& slowest() const { return slowest_; }
    QString weakestText(int code) const;
    QString slowestText(int code) const;

    static Color colour(Heat heat);
    QString legendText(Heat heat) const;

private:
    void rank();

    QLocale locale_;
    std::map<int, KeyHeat> keys_;
    QList<int> weakest_;
    QList<int> slowest_;
};

} // namespace tipora
