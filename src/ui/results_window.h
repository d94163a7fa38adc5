#pragma once

#include "history/results_view.h"

#include <QAbstractTableModel>
#include <QDialog>
#include <functional>

class QComboBox;
class QFontMetrics;
class QHBoxLayout;
class QLabel;
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

namespace tipora::ui {

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
// and the deletion of the history. Modal, black like the main window, closed by its button.
class ResultsWindow : public QDialog {
    Q_OBJECT

public:
    ResultsWindow(ResultsStore& store, Platform& platform, QWidget* parent = nullptr);

    const ResultsView& view() const { return view_; }
    // The index in the lesson choice (0: all lessons).
    void chooseLesson(int index);
    // Writes the shown results; false (after a message) when the file cannot be written.
    bool exportTo(const QString& path);
    void exportCsv();
    void deleteHistory();

    // Asks where to export; an empty answer cancels. A file dialog unless replaced.
    std::function<QString()> chooseExportFile;

private:
    void setUpWindow();
    // The title and the lesson choice, in the row they share.
    QHBoxLayout* buildHeading();
    void buildNote();
    void buildTable();
    void sizeTableColumns(const QFontMetrics& metrics);
    void buildSeries();
    void buildChart();
    void buildChartAxes();
    // Export, delete and close, in their row.
    QHBoxLayout* buildButtons();
    void layOut(QHBoxLayout* heading, QHBoxLayout* buttons);

    void reload();
    void showChosen();
    void fitTableToRows();

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
};

} // namespace tipora::ui
