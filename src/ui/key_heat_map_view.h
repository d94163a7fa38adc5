#pragma once

#include "app/form_model.h"
#include "history/key_heat_map.h"

#include <QHash>
#include <QLocale>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

class QComboBox;
class QFrame;
class QLabel;
class QListWidget;

namespace tipora::ui {

class KeyboardSurface;

// "Klávesnice" of the results window: the main window's keyboard, drawn by the same binder at
// the same geometry, each key coloured by its error rate over the chosen period, with the
// legend, the weakest and slowest keys, and what a hovered or focused key's figures are.
class KeyHeatMapView : public QWidget {
    Q_OBJECT

public:
    // keyboardType: 1 "česká", 2 "česká (QWERTY)".
    KeyHeatMapView(int keyboardType, QLocale locale, QWidget* parent = nullptr);
    ~KeyHeatMapView() override;

    HeatPeriod period() const;
    // As the learner chooses it: periodChosen() follows.
    void choosePeriod(HeatPeriod period);
    // The chosen period's figures; nothing when they cannot be read.
    void showFigures(const std::optional<QList<KeyFigure>>& figures);

    const KeyHeatMap& heatMap() const { return map_; }
    QWidget* keyWidget(int code) const;

signals:
    void periodChosen(tipora::HeatPeriod period);
    void drillRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildKeyboard(int keyboardType);
    QWidget* buildLegend();
    QListWidget* buildRanking(const char* name);
    void fillRanking(QListWidget& list, const QList<int>& codes, bool weakest);

    // The key whose figures stand under the keyboard while the pointer is not over one.
    void choose(int code);
    void describe();
    int neighbour(int code, int direction) const;

    QLocale locale_;
    KeyHeatMap map_;
    // The main window's key labels and the marks of F and J, moved to this view's corner.
    std::unique_ptr<KeyboardSurface> keyboard_;
    QHash<const QObject*, int> codes_;
    QComboBox* periods_ = nullptr;
    QLabel* note_ = nullptr;
    QWidget* surface_ = nullptr;
    QFrame* ring_ = nullptr;
    QLabel* about_ = nullptr;
    QListWidget* weakest_ = nullptr;
    QListWidget* slowest_ = nullptr;
    int hovered_ = 0;
    int chosen_ = 0;
};

} // namespace tipora::ui
