#pragma once

#include "history/key_heat_map.h"
#include "history/results_view.h"

#include <QAbstractTableModel>
#include <QDateTime>
#include <QDialog>
#include <functional>

class QComboBox;
class QFontMetrics;
class QHBoxLayout;
class QLabel;
class QTabWidget;
class QTableView;

QT_BEGIN_NAMESPACE
class QChart;
class QChartView;
class QLineSeries;
class QScatterSeries;
class QValueAxis;
QT_END_NAMESPACE

namespace tipora {
class Platform;
class ResultsStore;
} // namespace tipora

class QPushButton;

namespace tipora::ui {

class KeyHeatMapView;

// The table's rows, read from the view as they are drawn, so ten thousand results cost no
// more than the rows on screen.
class ResultsTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit ResultsTableModel(const ResultsView& view, QObject* parent = nullptr)
        : QAbstractTableModel(parent), view_(view) {}

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // The view changed underneath.
    void reload();

private:
    const ResultsView& view_;
};

// "Výsledky": the stored results in a table and a chart, one lesson or all, with the export
// and the deletion of the history; and "Klávesnice", the keys' error rates on the keyboard of
// the learner's arrangement. Modal, black like the main window, closed by its button.
class ResultsWindow : public QDialog {
    Q_OBJECT

public:
    // keyboardType: 1 "česká", 2 "česká (QWERTY)".
    ResultsWindow(ResultsStore& store, Platform& platform, QWidget* parent = nullptr,
                  int keyboardType = 1);

    const ResultsView& view() const { return view_; }
    KeyHeatMapView& keyboardView() const { return *keyboard_; }
    // The learner asked to drill the weak keys; the window was closed with accept().
    bool drillRequested() const { return drillRequested_; }
    // The index in the lesson choice (0: all lessons).
    void chooseLesson(int index);
    // Writes the shown results; false (after a message) when the file cannot be written.
    bool exportTo(const QString& path);
    void exportCsv();
    void deleteHistory();

    // Asks where to export; an empty answer cancels. A file dialog unless replaced.
    std::function<QString()> chooseExportFile;
    // Opens the class overview; the window offers it when the server knows the user as the
    // class's teacher.
    std::function<void()> openClass;
    // Where "the last 7 days" end.
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };

private:
    void setUpWindow();
    QHBoxLayout* buildHeading();
    // The lesson choice, the note, the table and the chart.
    QWidget* buildLessonsPage();
    void buildTabs();
    void buildNote(QWidget* page);
    void buildTable(QWidget* page);
    void sizeTableColumns(const QFontMetrics& metrics);
    void buildSeries();
    void buildChart(QWidget* page);
    void buildChartAxes();
    // Export, delete and close, in their row.
    QHBoxLayout* buildButtons();
    void layOut(QHBoxLayout* heading, QHBoxLayout* buttons);

    void reload();
    // Read when the view is first shown, not with the window: summing every key of a long
    // history is the slowest thing the window asks of the store.
    void showKeyFigures();
    void showChosen();
    void fitTableToRows();
    // The class's line: whose results go where and how many wait; read again while shown,
    // as the sender works on.
    void showClassroomStatus();

    ResultsStore& store_;
    Platform& platform_;
    ResultsView view_;
    ResultsTableModel* model_;
    QComboBox* lessons_;
    QTableView* table_;
    QLabel* note_;
    QChartView* chartView_;
    QChart* chart_;
    QLineSeries* speed_;
    QLineSeries* errors_;
    QScatterSeries* best_;
    QValueAxis* axisX_;
    QValueAxis* axisSpeed_;
    QValueAxis* axisErrors_;
    QTabWidget* tabs_;
    KeyHeatMapView* keyboard_;
    int keyboardType_;
    bool keyFiguresShown_ = false;
    bool drillRequested_ = false;
    QLabel* classroom_ = nullptr;
    QPushButton* classButton_ = nullptr;
};

} // namespace tipora::ui
