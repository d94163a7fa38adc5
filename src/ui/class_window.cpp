#include "ui/class_window.h"

#include "app/texts.h"
#include "classroom/classroom_texts.h"
#include "history/history_texts.h"
#include "history/results_view.h"
#include "ui/document_printing.h"
#include "ui/key_heat_map_view.h"
#include "ui/results_window.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QTabWidget>
#include <QTableView>

namespace tipora::ui {

namespace {

QPushButton* button(const QString& text, const QString& name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    // Enter on a student's row opens the student; it must not also press a button.
    b->setAutoDefault(false);
    return b;
}

QLabel* noteLabel(const QString& name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

void prepareTable(QTableView& table) {
    table.setSelectionBehavior(QAbstractItemView::SelectRows);
    table.setSelectionMode(QAbstractItemView::SingleSelection);
    table.setEditTriggers(QAbstractItemView::NoEditTriggers);
    table.verticalHeader()->hide();
    table.setWordWrap(false);
}

// One student: their results of the period and their keys on their own arrangement.
class StudentWindow : public QDialog {
public:
    StudentWindow(const StudentRow& row, StudentHistory history, const QString& period,
                  const QLocale& locale, QWidget* parent)
        : QDialog(parent), view_(std::move(history.results), locale) {
        setObjectName(QStringLiteral("frmZak"));
        setWindowTitle(texts::studentTitle(row.fullName, row.login));
        auto* heading =
            new QLabel(QStringLiteral("<b>%1</b> – %2")
                           .arg(texts::studentTitle(row.fullName, row.login).toHtmlEscaped(),
                                period.toHtmlEscaped()),
                       this);
        QLabel* note = noteLabel(QStringLiteral("lblPoznamka"), this);
        note->setText(history.error);
        note->setVisible(!history.error.isEmpty());

        auto* tabs = new QTabWidget(this);
        auto* model = new ResultsTableModel(view_, this);
        auto* table = new QTableView(tabs);
        table->setObjectName(QStringLiteral("tblVysledkyZaka"));
        table->setModel(model);
        prepareTable(*table);
        table->horizontalHeader()->setSectionResizeMode(ResultsView::Lesson, QHeaderView::Stretch);
        tabs->addTab(table, texts::kStudentResultsTab);

        auto* keys = new KeyHeatMapView(row.keyboardType, locale, tabs);
        // The period is the overview's, and a drill is the student's own business.
        for (const char* name : {"lblObdobi", "cmbObdobi", "cmdProcvicit"}) {
            if (QWidget* w = keys->findChild<QWidget*>(QLatin1String(name))) {
                w->hide();
            }
        }
        keys->showFigures(history.error.isEmpty()
                              ? std::optional<QList<KeyFigure>>(std::move(history.keys))
                              : std::nullopt);
        tabs->addTab(keys, texts::kStudentKeyboardTab);

        auto* close = button(texts::kClose, QStringLiteral("cmdZavrit"), this);
        connect(close, &QPushButton::clicked, this, &QDialog::accept);
        auto* buttons = new QHBoxLayout;
        buttons->addStretch();
        buttons->addWidget(close);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(heading);
        layout->addWidget(note);
        layout->addWidget(tabs, 1);
        layout->addLayout(buttons);
        resize(860, 640);
    }

private:
    ResultsView view_;
};

} // namespace

int ClassTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ClassTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(ClassColumn::Count);
}

QVariant ClassTableModel::data(const QModelIndex& index, int role) const {
    const auto column = static_cast<ClassColumn>(index.column());
    if (role == Qt::DisplayRole) {
        return classCell(rows_.at(index.row()), column, locale_);
    }
    if (role == Qt::TextAlignmentRole) {
        const bool figure = column >= ClassColumn::Results && column != ClassColumn::LastPractice;
        return QVariant::fromValue((figure ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    return {};
}

QVariant ClassTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return classHeader(static_cast<ClassColumn>(section));
    }
    const QString& hint = texts::kClassHeaderHints.at(static_cast<std::size_t>(section));
    if (role == Qt::ToolTipRole && !hint.isEmpty()) {
        return hint;
    }
    return {};
}

void ClassTableModel::reload() {
    beginResetModel();
    endResetModel();
}

ClassWindow::ClassWindow(QString connectionName, QWidget* parent)
    : QDialog(parent), reader_(std::move(connectionName)) {
    setObjectName(QStringLiteral("frmTrida"));
    setWindowTitle(texts::kClassTitle);

    auto* classLabel = new QLabel(texts::kClassLabel, this);
    classes_ = new QComboBox(this);
    classes_->setObjectName(QStringLiteral("cmbTrida"));
    classes_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    classLabel->setBuddy(classes_);
    auto* periodLabel = new QLabel(texts::kPeriodLabel, this);
    periods_ = new QComboBox(this);
    periods_->setObjectName(QStringLiteral("cmbObdobi"));
    periods_->addItems({texts::kPeriods[1], texts::kLastMonth, texts::kPeriods[2]});
    periodLabel->setBuddy(periods_);
    connect(classes_, &QComboBox::activated, this, &ClassWindow::chooseClass);
    connect(periods_, &QComboBox::activated, this,
            [this](int index) { choosePeriod(static_cast<Period>(index)); });

    note_ = noteLabel(QStringLiteral("lblPoznamka"), this);
    QPalette notePalette = note_->palette();
    notePalette.setColor(QPalette::WindowText, QColor(0xC0, 0x00, 0x00));
    note_->setPalette(notePalette);

    model_ = new ClassTableModel(overview_.students, locale_, this);
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("tblTrida"));
    table_->setModel(model_);
    prepareTable(*table_);
    table_->setToolTip(texts::kOpenStudentHint);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // Enter and a double click, as the style activates rows.
    connect(table_, &QTableView::activated, this,
            [this](const QModelIndex& index) { openStudent(index.row()); });
    weakest_ = noteLabel(QStringLiteral("lblNejslabsiKlavesy"), this);

    auto* csv = button(texts::kSaveCsv, QStringLiteral("cmdCsv"), this);
    auto* print = button(texts::kPrint, QStringLiteral("cmdTisk"), this);
    auto* pdf = button(texts::kSavePdf, QStringLiteral("cmdPdf"), this);
    auto* close = button(texts::kClose, QStringLiteral("cmdZavrit"), this);
    connect(csv, &QPushButton::clicked, this, [this] {
        const QString path = chooseSaveFile(texts::kCsvDefaultClassName, texts::kCsvFilterClass);
        if (!path.isEmpty()) {
            saveCsv(path);
        }
    });
    connect(pdf, &QPushButton::clicked, this, [this] {
        const QString path = chooseSaveFile(texts::kPdfDefaultClassName, texts::kPdfFilterClass);
        if (!path.isEmpty()) {
            savePdf(path);
        }
    });
    connect(print, &QPushButton::clicked, this, &ClassWindow::print);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    chooseSaveFile = [this](const QString& defaultName, const QString& filter) {
        return QFileDialog::getSaveFileName(this, windowTitle(), QDir::home().filePath(defaultName),
                                            filter);
    };

    auto* filters = new QHBoxLayout;
    filters->addWidget(classLabel);
    filters->addWidget(classes_);
    filters->addSpacing(16);
    filters->addWidget(periodLabel);
    filters->addWidget(periods_);
    filters->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(csv);
    buttons->addWidget(print);
    buttons->addWidget(pdf);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(note_);
    layout->addWidget(table_, 1);
    layout->addWidget(weakest_);
    layout->addLayout(buttons);
    resize(980, 600);

    reload();
}

std::optional<QDateTime> ClassWindow::since() const {
    switch (period_) {
    case Period::LastWeek:
        return now().addDays(-7);
    case Period::LastMonth:
        return now().addDays(-30);
    case Period::Everything:
        break;
    }
    return std::nullopt;
}

QString ClassWindow::periodText() const {
    return periods_->itemText(static_cast<int>(period_));
}

QString ClassWindow::heading() const {
    const QString classes =
        chosenClass_.isEmpty() ? texts::kAllClasses : texts::kClassTitle + u' ' + chosenClass_;
    return texts::printedHeading(classes, periodText(),
                                 locale_.toString(now().date(), QLocale::ShortFormat));
}

void ClassWindow::chooseClass(int index) {
    chosenClass_ = index <= 0 ? QString() : classes_->itemText(index);
    reload();
}

void ClassWindow::choosePeriod(Period period) {
    period_ = period;
    periods_->setCurrentIndex(static_cast<int>(period));
    reload();
}

void ClassWindow::reload() {
    ClassOverview read = reader_.overview({chosenClass_, since()});
    // A failed reading keeps the classes offered, so the teacher can try again.
    if (!read.error.isEmpty() && read.classes.isEmpty()) {
        read.classes = overview_.classes;
    }
    overview_ = std::move(read);
    showOverview();
}

void ClassWindow::showOverview() {
    classes_->clear();
    classes_->addItem(texts::kAllClasses);
    classes_->addItems(overview_.classes);
    classes_->setCurrentIndex(
        chosenClass_.isEmpty() ? 0 : std::max(0, classes_->findText(chosenClass_)));
    periods_->setCurrentIndex(static_cast<int>(period_));
    model_->reload();

    QString note = overview_.error;
    if (note.isEmpty() && overview_.students.isEmpty()) {
        note = texts::kNoStudents;
    }
    note_->setText(note);
    note_->setVisible(!note.isEmpty());

    QStringList keys;
    for (const ClassKey& key : overview_.weakestKeys) {
        keys.append(
            texts::weakestEntry(keyName(key.expected), locale_.toString(key.errorRate(), 'f', 1)));
    }
    weakest_->setText(texts::kWeakestKeysTitle + u' ' +
                      (keys.isEmpty() ? texts::kNoWeakKeys : keys.join(QStringLiteral(", "))) +
                      u' ' + texts::weakestKeysNote(ClassOverviewReader::kMinRankedStrokes));
}

void ClassWindow::cannotWrite(const QString& path) {
    QMessageBox::warning(this, texts::kMessageTitle, texts::classFileNotWritten(path));
}

bool ClassWindow::saveCsv(const QString& path) {
    QSaveFile file(path);
    const QByteArray bytes = toCsv(overview_.students);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        cannotWrite(path);
        return false;
    }
    return true;
}

bool ClassWindow::savePdf(const QString& path) {
    if (!writeHtmlPdf(overviewHtml(overview_, heading(), locale_), path, QPageLayout::Landscape)) {
        cannotWrite(path);
        return false;
    }
    return true;
}

void ClassWindow::print() {
    // Eleven columns fit across the page, not down it.
    printHtml(overviewHtml(overview_, heading(), locale_), this, QPageLayout::Landscape);
}

void ClassWindow::openStudent(int row) {
    if (row < 0 || row >= overview_.students.size()) {
        return;
    }
    const StudentRow student = overview_.students.at(row);
    StudentWindow window(student, reader_.student(student.studentId, since()), periodText(),
                         locale_, this);
    window.exec();
}

void showClassWindow(const QString& connectionName, QWidget* parent) {
    ClassWindow window(connectionName, parent);
    window.exec();
}

} // namespace tipora::ui
