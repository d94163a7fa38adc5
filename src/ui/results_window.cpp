#include "ui/results_window.h"

#include "app/platform.h"
#include "app/texts.h"
#include "classroom/classroom_texts.h"
#include "classroom/result_sender.h"
#include "history/history_texts.h"
#include "history/results_store.h"
#include "ui/key_heat_map_view.h"

#include <QBoxLayout>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QSaveFile>
#include <QScatterSeries>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QValueAxis>
#include <algorithm>

namespace tipora::ui {

namespace {

const QColor kSpeedColour(0x00, 0xFF, 0x00);
const QColor kErrorsColour(0xFF, 0x00, 0x00);
const QColor kBestColour(0xFF, 0xFF, 0x00);

void paintBlack(QWidget& widget) {
    QPalette palette = widget.palette();
    for (const auto role :
         {QPalette::Window, QPalette::Base, QPalette::AlternateBase, QPalette::Button}) {
        palette.setColor(role, Qt::black);
    }
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(role, Qt::white);
    }
    palette.setColor(QPalette::Highlight, QColor(0x00, 0x00, 0xFF));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

// The class's line follows the sender, which tries again within seconds of a result.
constexpr int kClassroomRefreshMs = 2000;

QPushButton* button(const QString& text, const QString& name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

int ResultsTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(view_.shown().size());
}

int ResultsTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ResultsView::ColumnCount;
}

QVariant ResultsTableModel::data(const QModelIndex& index, int role) const {
    if (role == Qt::DisplayRole) {
        return view_.cell(index.row(), index.column());
    }
    if (role == Qt::ToolTipRole) {
        const QString hint = view_.hint(index.row(), index.column());
        return hint.isEmpty() ? QVariant() : QVariant(hint);
    }
    if (role == Qt::TextAlignmentRole) {
        const bool number =
            index.column() >= ResultsView::Time && index.column() <= ResultsView::Lines;
        return QVariant::fromValue((number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    return {};
}

QVariant ResultsTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return ResultsView::header(section);
    }
    if (role == Qt::ToolTipRole && !ResultsView::headerHint(section).isEmpty()) {
        return ResultsView::headerHint(section);
    }
    return {};
}

void ResultsTableModel::reload() {
    beginResetModel();
    endResetModel();
}

ResultsWindow::ResultsWindow(ResultsStore& store, Platform& platform, QWidget* parent,
                             int keyboardType)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), store_(store), platform_(platform),
      view_({}, platform.locale()), keyboardType_(keyboardType) {
    setUpWindow();
    // Built top to bottom: the widgets' order is also the order Tab walks through them.
    QHBoxLayout* heading = buildHeading();
    buildTabs();
    QHBoxLayout* buttons = buildButtons();
    layOut(heading, buttons);

    chooseExportFile = [this] {
        return QFileDialog::getSaveFileName(this, texts::kExportDialogTitle,
                                            QDir::home().filePath(texts::kCsvDefaultName),
                                            texts::kCsvFilter);
    };

    reload();
}

void ResultsWindow::setUpWindow() {
    setObjectName(QStringLiteral("FrmVysledky"));
    setWindowTitle(texts::kResultsTitle);
    setModal(true);
    paintBlack(*this);
    resize(860, 640);
}

QHBoxLayout* ResultsWindow::buildHeading() {
    auto* title = new QLabel(texts::kResultsTitle, this);
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    title->setFont(bold);

    auto* heading = new QHBoxLayout;
    heading->addWidget(title);
    heading->addStretch();
    return heading;
}

void ResultsWindow::buildTabs() {
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("tabVysledky"));
    tabs_->setDocumentMode(true);
    // On the bar alone: a style sheet on the tab widget would reach the pages and take their
    // black palette.
    tabs_->tabBar()->setStyleSheet(
        QStringLiteral("QTabBar::tab { background: black; color: white; border: 1px solid #404040;"
                       " padding: 4px 14px; }"
                       "QTabBar::tab:selected { background: #0000FF; }"));
    tabs_->addTab(buildLessonsPage(), texts::kLessonsTab);
    keyboard_ = new KeyHeatMapView(keyboardType_, platform_.locale(), tabs_);
    tabs_->addTab(keyboard_, texts::kKeyboardTab);
    connect(tabs_, &QTabWidget::currentChanged, this, [this] {
        if (tabs_->currentWidget() == keyboard_ && !keyFiguresShown_) {
            showKeyFigures();
        }
    });
    connect(keyboard_, &KeyHeatMapView::periodChosen, this, &ResultsWindow::showKeyFigures);
    connect(keyboard_, &KeyHeatMapView::drillRequested, this, [this] {
        drillRequested_ = true;
        accept();
    });
}

QWidget* ResultsWindow::buildLessonsPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("fraLekce"));
    lessons_ = new QComboBox(page);
    lessons_->setObjectName(QStringLiteral("cmbLekce"));
    lessons_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(lessons_, &QComboBox::activated, this, &ResultsWindow::chooseLesson);
    buildNote(page);
    buildTable(page);
    buildChart(page);

    auto* choice = new QHBoxLayout;
    choice->addWidget(lessons_);
    choice->addStretch();
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(choice);
    layout->addWidget(note_);
    // Few results leave the table short and the chart the room (see fitTableToRows).
    layout->addWidget(table_, 1);
    layout->addWidget(chartView_, 1);
    return page;
}

void ResultsWindow::buildNote(QWidget* page) {
    note_ = new QLabel(page);
    note_->setObjectName(QStringLiteral("lblPoznamka"));
    note_->setWordWrap(true);
    QPalette notePalette = note_->palette();
    notePalette.setColor(QPalette::WindowText, kBestColour);
    note_->setPalette(notePalette);
}

void ResultsWindow::buildTable(QWidget* page) {
    model_ = new ResultsTableModel(view_, this);
    table_ = new QTableView(page);
    table_->setObjectName(QStringLiteral("tblVysledky"));
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    // Fixed row heights and column widths: measuring ten thousand rows would freeze the window.
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    // The lesson's caption is the one text that may be long; the room left over is its.
    table_->horizontalHeader()->setSectionResizeMode(ResultsView::Lesson, QHeaderView::Stretch);
    table_->setWordWrap(false);
    const QFontMetrics metrics(table_->font());
    table_->verticalHeader()->setDefaultSectionSize(metrics.height() + 6);
    sizeTableColumns(metrics);
    table_->setStyleSheet(QStringLiteral(
        "QTableView { background: black; color: white; gridline-color: #404040;"
        " selection-background-color: #0000FF; selection-color: white; }"
        "QHeaderView::section { background: black; color: white; border: 1px solid #404040;"
        " padding: 2px; }"
        "QTableCornerButton::section { background: black; }"));
}

void ResultsWindow::sizeTableColumns(const QFontMetrics& metrics) {
    // Wide enough for the header and for the longest figure the column can hold, measured on
    // sample texts rather than on the rows, which may be ten thousand.
    const QLocale locale = platform_.locale();
    const QString samples[] = {
        locale.toString(QDateTime(QDate(2026, 12, 31), QTime(23, 59)), QLocale::ShortFormat),
        texts::lessonChoice(50, QStringLiteral("f j d k")),
        QStringLiteral("00:00:00"),
        QStringLiteral("00000"),
        QStringLiteral("00,0"),
        QStringLiteral("0000"),
        texts::kNo};
    const int padding = 3 * metrics.averageCharWidth();
    for (int column = 0; column < ResultsView::ColumnCount; ++column) {
        table_->setColumnWidth(column,
                               std::max(metrics.horizontalAdvance(samples[column]),
                                        metrics.horizontalAdvance(ResultsView::header(column))) +
                                   padding);
    }
}

void ResultsWindow::buildSeries() {
    speed_ = new QLineSeries(this);
    speed_->setName(texts::kSpeedSeries);
    speed_->setColor(kSpeedColour);
    errors_ = new QLineSeries(this);
    errors_->setName(texts::kErrorsSeries);
    errors_->setColor(kErrorsColour);
    best_ = new QScatterSeries(this);
    best_->setName(texts::kBestSeries);
    best_->setColor(kBestColour);
    best_->setBorderColor(kBestColour);
    best_->setMarkerSize(9);
}

void ResultsWindow::buildChart(QWidget* page) {
    buildSeries();
    chart_ = new QChart();
    chart_->setTheme(QChart::ChartThemeDark);
    chart_->setBackgroundBrush(Qt::black);
    chart_->setAnimationOptions(QChart::NoAnimation);
    chart_->legend()->setAlignment(Qt::AlignBottom);
    chart_->addSeries(speed_);
    chart_->addSeries(errors_);
    chart_->addSeries(best_);
    buildChartAxes();
    // Decimal commas on the axes, as in the table.
    chart_->setLocale(platform_.locale());
    chart_->setLocalizeNumbers(true);
    axisX_->setTickType(QValueAxis::TicksDynamic);
    axisX_->setTickAnchor(0.0);

    chartView_ = new QChartView(chart_, page);
    chartView_->setObjectName(QStringLiteral("chtVysledky"));
    chartView_->setRenderHint(QPainter::Antialiasing);
    chartView_->setMinimumHeight(260);
}

void ResultsWindow::buildChartAxes() {
    axisX_ = new QValueAxis(chart_);
    axisX_->setTitleText(texts::kResultAxis);
    axisX_->setLabelFormat(QStringLiteral("%.0f"));
    axisSpeed_ = new QValueAxis(chart_);
    axisSpeed_->setTitleText(texts::kSpeedSeries);
    axisSpeed_->setLabelFormat(QStringLiteral("%.0f"));
    axisSpeed_->setLabelsColor(kSpeedColour);
    axisErrors_ = new QValueAxis(chart_);
    axisErrors_->setTitleText(texts::kErrorsSeries);
    axisErrors_->setLabelFormat(QStringLiteral("%.1f"));
    axisErrors_->setLabelsColor(kErrorsColour);
    chart_->addAxis(axisX_, Qt::AlignBottom);
    chart_->addAxis(axisSpeed_, Qt::AlignLeft);
    chart_->addAxis(axisErrors_, Qt::AlignRight);
    for (QAbstractSeries* series :
         {static_cast<QAbstractSeries*>(speed_), static_cast<QAbstractSeries*>(best_)}) {
        series->attachAxis(axisX_);
        series->attachAxis(axisSpeed_);
    }
    errors_->attachAxis(axisX_);
    errors_->attachAxis(axisErrors_);
}

QHBoxLayout* ResultsWindow::buildButtons() {
    auto* exportButton = button(texts::kExportCsv, QStringLiteral("cmdExport"), this);
    auto* deleteButton = button(texts::kDeleteHistory, QStringLiteral("cmdSmazat"), this);
    auto* closeButton = button(texts::kClose, QStringLiteral("cmdZavrit"), this);
    closeButton->setDefault(true);
    connect(exportButton, &QPushButton::clicked, this, &ResultsWindow::exportCsv);
    connect(deleteButton, &QPushButton::clicked, this, &ResultsWindow::deleteHistory);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);

    classButton_ = button(texts::kClassButton, QStringLiteral("cmdTrida"), this);
    classButton_->hide();
    connect(classButton_, &QPushButton::clicked, this, [this] {
        if (openClass) {
            openClass();
        }
    });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(exportButton);
    buttons->addWidget(deleteButton);
    buttons->addWidget(classButton_);
    buttons->addStretch();
    buttons->addWidget(closeButton);
    return buttons;
}

void ResultsWindow::layOut(QHBoxLayout* heading, QHBoxLayout* buttons) {
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(heading);
    layout->addWidget(tabs_, 1);
    classroom_ = new QLabel(this);
    classroom_->setObjectName(QStringLiteral("lblTrida"));
    classroom_->setWordWrap(true);
    classroom_->hide();
    layout->addWidget(classroom_);
    layout->addLayout(buttons);
    showClassroomStatus();
    auto* refresh = new QTimer(this);
    connect(refresh, &QTimer::timeout, this, &ResultsWindow::showClassroomStatus);
    refresh->start(kClassroomRefreshMs);
}

void ResultsWindow::showClassroomStatus() {
    const std::optional<ClassroomStatus> status = store_.classroomStatus();
    if (!status) {
        return;
    }
    classroom_->setText(classroomStatusLine(*status));
    classroom_->show();
    classButton_->setVisible(status->teacher);
}

void ResultsWindow::reload() {
    view_.setResults(store_.results());
    lessons_->clear();
    lessons_->addItems(view_.lessonChoiceTexts());
    lessons_->setCurrentIndex(
        std::max<qsizetype>(0, view_.lessonChoices().indexOf(view_.chosenLesson())));
    if (!store_.failure().isEmpty()) {
        note_->setText(store_.failure());
    } else {
        note_->setText(view_.all().isEmpty() ? texts::kNoResults : QString());
    }
    note_->setVisible(!note_->text().isEmpty());
    showChosen();
    keyFiguresShown_ = false;
    if (tabs_->currentWidget() == keyboard_) {
        showKeyFigures();
    }
}

void ResultsWindow::showKeyFigures() {
    keyFiguresShown_ = true;
    keyboard_->showFigures(store_.keyFigures(keyPeriod(keyboard_->period(), now())));
}

void ResultsWindow::chooseLesson(int index) {
    const QList<int>& choices = view_.lessonChoices();
    if (index < 0 || index >= choices.size()) {
        return;
    }
    lessons_->setCurrentIndex(index);
    view_.chooseLesson(choices[index]);
    showChosen();
}

void ResultsWindow::fitTableToRows() {
    // A table taller than its rows is black space between them and the chart.
    const int rows = std::max<qsizetype>(1, view_.shown().size());
    const qint64 needed = qint64{table_->verticalHeader()->defaultSectionSize()} * rows +
                          table_->horizontalHeader()->sizeHint().height() +
                          2 * table_->frameWidth() +
                          table_->horizontalScrollBar()->sizeHint().height();
    table_->setMaximumHeight(static_cast<int>(std::min<qint64>(needed, QWIDGETSIZE_MAX)));
}

void ResultsWindow::showChosen() {
    model_->reload();
    fitTableToRows();
    const QList<QPointF> speed = view_.speedPoints();
    const QList<QPointF> errors = view_.errorPoints();
    speed_->replace(speed);
    errors_->replace(errors);
    best_->replace(view_.bestSpeedPoints());

    const double count = static_cast<double>(speed.size());
    axisX_->setRange(count > 1 ? 1.0 : 0.0, std::max(count, 2.0));
    // Whole results between ticks, about ten ticks at most: 1, 2, 5, 10, 20, 50 …
    double step = 1.0;
    for (int i = 0; count / step > 10.0; ++i) {
        step *= i % 3 == 1 ? 2.5 : 2.0;
    }
    axisX_->setTickInterval(step);
    double fastest = 0.0;
    for (const QPointF& p : speed) {
        fastest = std::max(fastest, p.y());
    }
    double most = 0.0;
    for (const QPointF& p : errors) {
        most = std::max(most, p.y());
    }
    axisSpeed_->setRange(0.0, std::max(10.0, fastest * 1.1));
    axisSpeed_->applyNiceNumbers();
    axisErrors_->setRange(0.0, std::max(1.0, most * 1.1));
    axisErrors_->applyNiceNumbers();
}

bool ResultsWindow::exportTo(const QString& path) {
    QSaveFile file(path);
    const QByteArray bytes = view_.csv();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        platform_.messageBox(texts::csvNotWritten(path), texts::kMessageTitle, MessageButtons::Ok);
        return false;
    }
    return true;
}

void ResultsWindow::exportCsv() {
    const QString path = chooseExportFile ? chooseExportFile() : QString();
    if (!path.isEmpty()) {
        exportTo(path);
    }
}

void ResultsWindow::deleteHistory() {
    if (platform_.messageBox(texts::kDeleteQuestion, texts::kMessageTitle, MessageButtons::YesNo) !=
        MessageResult::Yes) {
        return;
    }
    if (!store_.clear()) {
        platform_.messageBox(texts::kHistoryNotDeleted, texts::kMessageTitle, MessageButtons::Ok);
    }
    reload();
}

} // namespace tipora::ui
