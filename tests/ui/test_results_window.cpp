// The results window as the learner uses it, drawn offscreen over a real results file.
#include "history/history_texts.h"
#include "history/results_store.h"
#include "support/fake_platform.h"
#include "support/files.h"
#include "ui/exam_result_window.h"
#include "ui/key_heat_map_view.h"
#include "ui/results_window.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QScatterSeries>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QXYSeries>

using namespace tipora;
using test::readAll;

namespace {

LessonResult result(int lesson, const QString& caption, QDateTime when, int seconds, int keystrokes,
                    int errors, int lines, bool finished) {
    LessonResult r;
    r.when = std::move(when);
    r.lesson = lesson;
    r.caption = caption;
    r.seconds = seconds;
    r.keystrokes = keystrokes;
    r.errors = errors;
    r.lines = lines;
    r.keystrokesPerMinute = keystrokes * 60 / seconds;
    r.errorsPerLine = std::round(10.0 * errors / lines) / 10.0;
    r.finished = finished;
    return r;
}

const QDateTime kMonday(QDate(2026, 12, 7), QTime(18, 5, 9));
// Lessons with key figures are a year older, so that "the last seven days" counts from the
// window's own now and not from the test's day.
const QDateTime kKeysMonday = kMonday.addYears(-1);

struct Window {
    explicit Window(const QList<LessonResult>& oldestFirst = {})
        : store(dir.filePath(texts::kResultsFileName)) {
        for (const LessonResult& r : oldestFirst) {
            if (!store.record(r)) {
                qFatal("the results file could not be written");
            }
        }
    }

    ui::ResultsWindow& open(int keyboardType = 1) {
        window = std::make_unique<ui::ResultsWindow>(store, platform, nullptr, keyboardType);
        window->show();
        return *window;
    }
    // "Klávesnice", on the Wednesday after the lessons with key figures.
    ui::KeyHeatMapView& openKeyboard(int keyboardType = 1) {
        open(keyboardType).now = [] { return kKeysMonday.addDays(2); };
        child<QTabWidget>("tabVysledky")->setCurrentIndex(1);
        return window->keyboardView();
    }

    template <typename T> T* child(const char* name) const {
        return window->findChild<T*>(QLatin1String(name));
    }
    QTableView* table() const { return child<QTableView>("tblVysledky"); }
    int rows() const { return table()->model()->rowCount(); }
    QString cell(int row, int column) const {
        return table()->model()->index(row, column).data().toString();
    }
    QXYSeries* series(const QString& name) const {
        for (QAbstractSeries* s : child<QChartView>("chtVysledky")->chart()->series()) {
            if (s->name() == name) {
                return static_cast<QXYSeries*>(s);
            }
        }
        return nullptr;
    }
    QList<QPointF> points(const QString& name) const { return series(name)->points(); }
    void click(const char* name) { QTest::mouseClick(child<QPushButton>(name), Qt::LeftButton); }

    QTemporaryDir dir;
    SqliteResultsStore store;
    test::FakePlatform platform;
    std::unique_ptr<ui::ResultsWindow> window;
};

// Two lessons typed on Monday evening, lesson 3 again on Tuesday.
QList<LessonResult> threeLessons() {
    return {result(3, QStringLiteral("a ů"), kMonday, 120, 240, 5, 4, false),
            result(4, QStringLiteral("g h"), kMonday.addSecs(300), 50, 150, 1, 3, true),
            result(3, QStringLiteral("a ů"), kMonday.addDays(1), 3723, 6205, 2, 2, true)};
}

// Key rows of lessons: ten days ago, Monday, Tuesday.
QList<LessonResult> lessonsWithKeys() {
    QList<LessonResult> lessons = {
        result(33, QStringLiteral("d"), kKeysMonday.addDays(-10), 60, 40, 10, 1, true),
        result(34, QStringLiteral("ř"), kKeysMonday, 120, 332, 16, 4, true),
        result(35, QStringLiteral("a s"), kKeysMonday.addDays(1), 60, 100, 1, 2, true)};
    lessons[0].keys = {{"d", {}, 40, 10, 30, 9000}, {"d", "f", 0, 10, 0, 0}};
    // Ř is made with ˇ and Shift on the key of r, and counts there.
    lessons[1].keys = {{"r", {}, 100, 1, 99, 29700},  {"r", "t", 0, 1, 0, 0},
                       {"ř", {}, 212, 9, 200, 62000}, {"ř", "r", 0, 4, 0, 0},
                       {"ř", "ž", 0, 5, 0, 0},        {"Ř", {}, 20, 8, 12, 4800},
                       {"Ř", "ř", 0, 6, 0, 0},        {"Ř", "ž", 0, 2, 0, 0}};
    // One error in 50 lies right on the edge between green and yellow; ten strokes are too
    // few to rank x.
    lessons[2].keys = {{"a", {}, 50, 0, 50, 10000},
                       {"s", {}, 50, 1, 49, 9800},
                       {"s", "a", 0, 1, 0, 0},
                       {"x", {}, 10, 5, 5, 1500},
                       {"x", "c", 0, 5, 0, 0}};
    return lessons;
}

QColor keyColour(const ui::KeyHeatMapView& view, int code) {
    QWidget* key = view.keyWidget(code);
    return key->grab().toImage().pixelColor(key->width() - 4, key->height() - 4);
}

QStringList entries(const QListWidget* list) {
    QStringList texts;
    for (int row = 0; row < list->count(); ++row) {
        texts << list->item(row)->text();
    }
    return texts;
}

} // namespace

class TestResultsWindow : public QObject {
    Q_OBJECT

private slots:
    // A few results leave no black space under the table: the chart takes the room, and the
    // figures are not cut short.
    void fewResultsLeaveTheRoomToTheChart() {
        Window w(threeLessons());
        auto& window = w.open();
        window.resize(860, 640);
        window.layout()->activate();
        QTableView* table = w.table();
        const int rowHeight = table->verticalHeader()->defaultSectionSize();
        const int spare = table->viewport()->height() - 3 * rowHeight;
        QVERIFY2(spare >= 0 && spare < rowHeight, qPrintable(QString::number(spare)));
        QVERIFY(w.child<QChartView>("chtVysledky")->height() > 2 * table->height());
        // Choosing one lesson shows fewer rows, and the table shrinks with them.
        window.chooseLesson(2);
        window.layout()->activate();
        QVERIFY(table->viewport()->height() - rowHeight < rowHeight);
        const QFontMetrics metrics(table->font());
        for (int column = 0; column < w.table()->model()->columnCount(); ++column) {
            const QString text = w.cell(0, column);
            QVERIFY2(metrics.horizontalAdvance(text) < table->columnWidth(column),
                     qPrintable(text));
        }
    }

    void tableListsTheNewestFirst() {
        Window w(threeLessons());
        w.open();
        QCOMPARE(w.rows(), 3);
        const QStringList header{"Datum",        "Lekce", "Čas",      "Úhozů / min",
                                 "Chyb / řádek", "Řádků", "Dokončena"};
        for (int column = 0; column < header.size(); ++column) {
            QCOMPARE(w.table()->model()->headerData(column, Qt::Horizontal).toString(),
                     header[column]);
        }
        const QStringList newest{
            "08.12.26 18:05", "Lekce 03: a ů", "1:02:03", "100", "1", "2", "ano"};
        const QStringList oldest{
            "07.12.26 18:05", "Lekce 03: a ů", "0:02:00", "120", "1,3", "4", "ne"};
        for (int column = 0; column < newest.size(); ++column) {
            QCOMPARE(w.cell(0, column), newest[column]);
            QCOMPARE(w.cell(2, column), oldest[column]);
        }
        QCOMPARE(w.cell(1, 1), QStringLiteral("Lekce 04: g h"));
        QCOMPARE(w.cell(1, 3), QStringLiteral("180"));
        QVERIFY(!w.child<QLabel>("lblPoznamka")->isVisible());
    }

    void choosingALessonFiltersTableAndChart() {
        Window w(threeLessons());
        w.open();
        auto* choice = w.child<QComboBox>("cmbLekce");
        QCOMPARE(choice->count(), 3);
        QCOMPARE(choice->itemText(0), texts::kAllLessons);
        QCOMPARE(choice->itemText(1), QStringLiteral("Lekce 03: a ů"));
        QCOMPARE(choice->itemText(2), QStringLiteral("Lekce 04: g h"));

        // All lessons, oldest to newest along the chart.
        QCOMPARE(w.points(texts::kSpeedSeries), (QList<QPointF>{{1, 120}, {2, 180}, {3, 100}}));
        QCOMPARE(w.points(texts::kErrorsSeries), (QList<QPointF>{{1, 1.3}, {2, 0.3}, {3, 1}}));
        QCOMPARE(w.points(texts::kBestSeries), (QList<QPointF>{{1, 120}, {2, 180}}));

        w.window->chooseLesson(1);
        QCOMPARE(choice->currentIndex(), 1);
        QCOMPARE(w.rows(), 2);
        QCOMPARE(w.cell(0, 2), QStringLiteral("1:02:03"));
        QCOMPARE(w.cell(1, 2), QStringLiteral("0:02:00"));
        QCOMPARE(w.points(texts::kSpeedSeries), (QList<QPointF>{{1, 120}, {2, 100}}));
        QCOMPARE(w.points(texts::kErrorsSeries), (QList<QPointF>{{1, 1.3}, {2, 1}}));
        QCOMPARE(w.points(texts::kBestSeries), (QList<QPointF>{{1, 120}}));

        w.window->chooseLesson(2);
        QCOMPARE(w.rows(), 1);
        QCOMPARE(w.points(texts::kSpeedSeries), (QList<QPointF>{{1, 180}}));

        w.window->chooseLesson(0);
        QCOMPARE(w.rows(), 3);
    }

    void exportWritesTheShownResults() {
        Window w(threeLessons());
        w.open();
        w.window->chooseLesson(2);
        const QString path = w.dir.filePath(QStringLiteral("lekce4.csv"));
        w.window->chooseExportFile = [&path] { return path; };
        w.click("cmdExport");
        QCOMPARE(readAll(path),
                 QByteArray("\xEF\xBB\xBF"
                            "Datum;Lekce;N\xC3\xA1zev lekce;Kl\xC3\xA1vesnice;\xC4\x8C"
                            "as;\xC3\x9Ahozy;Chyby;\xC5\x98\xC3\xA1\x64ky;\xC3\x9Ahoz\xC5\xAF za "
                            "minutu;Chyb na \xC5\x99\xC3\xA1\x64\x65k;Dokon\xC4\x8D\x65na\r\n"
                            "7.12.2026 18:10:09;4;g h;\xC4\x8D\x65sk\xC3\xA1;0:00:50;150;1;3;180;"
                            "0,3;ano\r\n"));
        QVERIFY(w.platform.messages.empty());

        // Cancelled: nothing written, nothing said.
        w.window->chooseExportFile = [] { return QString(); };
        w.click("cmdExport");
        QVERIFY(w.platform.messages.empty());

        // A folder that is not there: one message, in the program's style.
        const QString nowhere = w.dir.filePath(QStringLiteral("chybi/vysledky.csv"));
        w.window->chooseExportFile = [&nowhere] { return nowhere; };
        w.click("cmdExport");
        QCOMPARE(w.platform.messages.size(), std::size_t{1});
        QCOMPARE(w.platform.messages[0].text, texts::csvNotWritten(nowhere));
        QCOMPARE(w.platform.messages[0].title, QStringLiteral("Tipora 1.0"));
        QVERIFY(!QFile::exists(nowhere));
    }

    void deletingAsksFirst() {
        Window w(threeLessons());
        w.open();
        w.platform.answers = {MessageResult::No};
        w.click("cmdSmazat");
        QCOMPARE(w.platform.messages.size(), std::size_t{1});
        QCOMPARE(w.platform.messages[0].text, texts::kDeleteQuestion);
        QCOMPARE(w.platform.messages[0].title, QStringLiteral("Tipora 1.0"));
        QCOMPARE(w.platform.messages[0].buttons, MessageButtons::YesNo);
        QCOMPARE(w.rows(), 3);
        QCOMPARE(w.store.results().size(), 3);

        w.platform.answers = {MessageResult::Yes};
        w.click("cmdSmazat");
        QCOMPARE(w.rows(), 0);
        QVERIFY(w.store.results().isEmpty());
        QCOMPARE(w.child<QComboBox>("cmbLekce")->count(), 1);
        QVERIFY(w.points(texts::kSpeedSeries).isEmpty());
        QCOMPARE(w.child<QLabel>("lblPoznamka")->text(), texts::kNoResults);
        QVERIFY(w.child<QLabel>("lblPoznamka")->isVisible());
    }

    void aFileItCannotReadIsSaidInTheWindow() {
        Window w;
        QFile file(w.store.filePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a database at all");
        file.close();
        w.open();
        QCOMPARE(w.rows(), 0);
        QCOMPARE(w.child<QLabel>("lblPoznamka")->text(), w.store.failure());
        QVERIFY(!w.store.failure().isEmpty());
        QVERIFY(w.platform.messages.empty());
    }

    // The last seven days: each key coloured by its error rate, its figures on hover and focus,
    // the weakest and slowest keys; the whole history brings the older lesson in.
    void keyboardShowsEachKeysErrorRate() {
        Window w(lessonsWithKeys());
        ui::KeyHeatMapView& view = w.openKeyboard();
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        QCOMPARE(view.period(), HeatPeriod::LastWeek);
        QCOMPARE(keyColour(view, 82), QColor(Qt::red));    // r: 9 in 120
        QCOMPARE(keyColour(view, 53), QColor(Qt::yellow)); // ř: 9 in 212
        QCOMPARE(keyColour(view, 83), QColor(Qt::yellow)); // s: 1 in 50
        QCOMPARE(keyColour(view, 65), QColor(Qt::green));  // a
        QCOMPARE(keyColour(view, 68), QColor(Qt::white));  // d: ten days ago
        QCOMPARE(keyColour(view, 81), QColor(Qt::white));  // q: never typed

        const QString r = QStringLiteral("r, Ř (ˇ + Shift): 120 úhozů, 9 chyb (7,5 %), "
                                         "průměrně 311 ms; nejčastěji zaměněno za ř (6×)");
        const QString rr = QStringLiteral("ř: 212 úhozů, 9 chyb (4,2 %), průměrně 310 ms; "
                                          "nejčastěji zaměněno za ž (5×)");
        QCOMPARE(view.keyWidget(82)->toolTip(), r);
        QCOMPARE(view.keyWidget(81)->toolTip(), QStringLiteral("q: bez úhozů"));
        auto* about = w.child<QLabel>("lblPopisKlavesy");
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(view.keyWidget(53), &enter);
        QCOMPARE(about->text(), rr);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(view.keyWidget(53), &leave);
        view.keyWidget(82)->setFocus(Qt::TabFocusReason);
        QCOMPARE(about->text(), r);
        QTest::keyClick(view.keyWidget(82), Qt::Key_Up); // from r to ř above it
        QVERIFY(view.keyWidget(53)->hasFocus());
        QCOMPARE(about->text(), rr);
        QTest::keyClick(view.keyWidget(53), Qt::Key_Down);
        QVERIFY(view.keyWidget(82)->hasFocus());

        QCOMPARE(entries(w.child<QListWidget>("lstNejvicChyb")),
                 (QStringList{"r: 7,5 %", "ř: 4,2 %", "s: 2,0 %"}));
        QCOMPARE(entries(w.child<QListWidget>("lstNejpomalejsi")).first(2),
                 (QStringList{"r: 311 ms", "ř: 310 ms"}));

        view.choosePeriod(HeatPeriod::Everything);
        QCOMPARE(keyColour(view, 68), QColor(Qt::red));
        view.choosePeriod(HeatPeriod::LastLesson);
        QCOMPARE(keyColour(view, 82), QColor(Qt::white));
        QCOMPARE(keyColour(view, 83), QColor(Qt::yellow));

        w.click("cmdProcvicit");
        QVERIFY(w.window->drillRequested());
        QCOMPARE(w.window->result(), int{QDialog::Accepted});
    }

    // Drawn in the learner's arrangement even with nothing to show yet.
    void keyboardOfAnEmptyPeriodSaysSo() {
        Window w(threeLessons());
        ui::KeyHeatMapView& view = w.openKeyboard(2);
        QCOMPARE(w.child<QLabel>("lblKlavesyPoznamka")->text(), texts::kNoKeyFigures);
        QVERIFY(w.child<QLabel>("lblKlavesyPoznamka")->isVisible());
        QCOMPARE(keyColour(view, 65), QColor(Qt::white));
        // QWERTY: y beside t in the upper row, z beside x in the lower one.
        QCOMPARE(view.keyWidget(89)->y(), view.keyWidget(84)->y());
        QCOMPARE(view.keyWidget(90)->geometry().right(), view.keyWidget(88)->x());
    }

    // Key figures that cannot be read take nothing from the lessons' results.
    void aDamagedKeyTableStillShowsTheResults() {
        Window w(lessonsWithKeys());
        {
            QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "raw");
            raw.setDatabaseName(w.store.filePath());
            QVERIFY(raw.open());
            QVERIFY(QSqlQuery(raw).exec(QStringLiteral("DROP TABLE key_figures")));
            raw.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("raw"));
        ui::KeyHeatMapView& view = w.openKeyboard();
        QCOMPARE(w.rows(), 3);
        QCOMPARE(w.child<QLabel>("lblKlavesyPoznamka")->text(), texts::kKeyFiguresUnreadable);
        QCOMPARE(keyColour(view, 82), QColor(Qt::white));
        QVERIFY(w.platform.messages.empty());
    }

    void closesWithItsButton() {
        Window w(threeLessons());
        w.open();
        QVERIFY(w.window->isVisible());
        w.click("cmdZavrit");
        QVERIFY(!w.window->isVisible());
    }

    // The copy test's result sheet, read back from its PDF as a teacher's program would.
    void examSheetIsSavedAsPdf() {
        test::FakePlatform platform;
        platform.localeInUse = QLocale(QLocale::Czech, QLocale::CzechRepublic);
        const QString original = QStringLiteral("Pes běží lesem.\nKočka spí.");
        const QString typed = QStringLiteral("Pes bezi lesem.\nKočka navíc spí.");
        const QList<WordMark> marks = compareWords(original, typed);
        ui::ExamResultWindow window({QStringLiteral("Eva"), QDateTime(QDate(2026, 12, 9), {}),
                                     QStringLiteral("Zima"), scoreCopyTest(marks, typed, 1, 10),
                                     marks},
                                    platform);
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("opis.pdf"));
        QVERIFY(window.savePdf(pdf));
        QProcess reader;
        reader.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        if (!reader.waitForFinished(20000) || reader.exitCode() != 0) {
            if (qgetenv("CI") == "true") {
                QFAIL("pdftotext (poppler-utils) is needed to read the sheet back");
            }
            QSKIP("pdftotext (poppler-utils) is not installed");
        }
        const QString text = QString::fromUtf8(reader.readAllStandardOutput()).simplified();
        for (const char* expected :
             {"Eva", "Zima", "Chyby 2", "Chybovost 5,88 %", "bezi [běží]", "navíc"}) {
            QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
        }
        QVERIFY(!window.savePdf(dir.filePath(QStringLiteral("nikde/opis.pdf"))));
        QCOMPARE(platform.messages.size(), std::size_t{1});
        // A folder's name where the sheet should go: nothing is saved, and nothing said to be.
        QVERIFY(!window.savePdf(dir.path()));
        QCOMPARE(platform.messages.size(), std::size_t{2});
        QVERIFY(QFileInfo(dir.path()).isDir());
    }
};

QTEST_MAIN(TestResultsWindow)
#include "test_results_window.moc"
