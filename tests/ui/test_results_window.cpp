// The results window as the learner uses it, drawn offscreen over a real results file.
#include "history/history_texts.h"
#include "history/results_store.h"
#include "support/fake_platform.h"
#include "support/files.h"
#include "ui/results_window.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QScatterSeries>
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

struct Window {
    explicit Window(const QList<LessonResult>& oldestFirst = {})
        : store(dir.filePath(texts::kResultsFileName)) {
        for (const LessonResult& r : oldestFirst) {
            if (!store.record(r)) {
                qFatal("the results file could not be written");
            }
        }
    }

    ui::ResultsWindow& open() {
        window = std::make_unique<ui::ResultsWindow>(store, platform);
        window->show();
        return *window;
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

    void closesWithItsButton() {
        Window w(threeLessons());
        w.open();
        QVERIFY(w.window->isVisible());
        w.click("cmdZavrit");
        QVERIFY(!w.window->isVisible());
    }
};

QTEST_MAIN(TestResultsWindow)
#include "test_results_window.moc"
