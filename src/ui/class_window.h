#pragma once

#include "classroom/class_overview.h"

#include <QAbstractTableModel>
#include <QDateTime>
#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QTableView;

namespace tipora::ui {

// The overview's rows as the table draws them.
class ClassTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    ClassTableModel(const QList<StudentRow>& rows, QLocale locale, QObject* parent = nullptr)
        : QAbstractTableModel(parent), rows_(rows), locale_(std::move(locale)) {}

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void reload();

private:
    const QList<StudentRow>& rows_;
    QLocale locale_;
};

// "Třída": the teacher's overview of one class or all, over the last week, month or the whole
// history, read from the classroom server through an open connection of the teacher. A student's
// row opens their results and their keyboard.
class ClassWindow : public QDialog {
    Q_OBJECT

public:
    // The periods offered, in order.
    enum class Period { LastWeek, LastMonth, Everything };

    explicit ClassWindow(QString connectionName, QWidget* parent = nullptr);

    const ClassOverview& overview() const { return overview_; }
    QTableView& table() const { return *table_; }
    // 0: every class, then the classes in order.
    void chooseClass(int index);
    void choosePeriod(Period period);
    // Reads the overview again for the filters as they stand.
    void reload();

    // False (after a message) when the file cannot be written.
    bool saveCsv(const QString& path);
    bool savePdf(const QString& path);
    void print();
    // The student of a row of the table, in a window of their own.
    void openStudent(int row);

    // Asks where to save; an empty answer cancels. A file dialog unless replaced.
    std::function<QString(const QString& defaultName, const QString& filter)> chooseSaveFile;
    // Where the periods end.
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };

private:
    std::optional<QDateTime> since() const;
    QString periodText() const;
    QString heading() const;
    void showOverview();
    void cannotWrite(const QString& path);

    ClassOverviewReader reader_;
    ClassOverview overview_;
    QString chosenClass_;
    Period period_ = Period::LastWeek;
    QLocale locale_;
    ClassTableModel* model_;
    QComboBox* classes_;
    QComboBox* periods_;
    QLabel* note_;
    QTableView* table_;
    QLabel* weakest_;
};

// Shows the overview until the teacher closes it.
void showClassWindow(const QString& connectionName, QWidget* parent);

} // namespace tipora::ui
