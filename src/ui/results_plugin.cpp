// The results module: the SQLite store and the results window, loaded by the tutor when a
// lesson is first chosen or "Výsledky" opens.
#include "app/platform.h"
#include "app/texts.h"
#include "classroom/classroom_store.h"
#include "classroom/classroom_texts.h"
#include "classroom/server_link.h"
#include "history/results_store.h"
#include "ui/class_window.h"
#include "ui/exam_result_window.h"
#include "ui/results_module.h"
#include "ui/results_window.h"

#include <QGuiApplication>
#include <QObject>
#include <QtPlugin>

namespace tipora::ui {

class ResultsPlugin final : public QObject, public ResultsModule {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID TIPORA_RESULTS_MODULE_IID)
    Q_INTERFACES(tipora::ui::ResultsModule)

public:
    std::unique_ptr<ResultsStore> openStore(const QString& filePath,
                                            const ClassroomConfig* classroom) override {
        if (classroom != nullptr) {
            classroom_ = *classroom;
            return std::make_unique<ClassroomResultsStore>(filePath, *classroom);
        }
        return std::make_unique<SqliteResultsStore>(filePath);
    }

    bool showWindow(ResultsStore& store, Platform& platform, int keyboardType,
                    QWidget* parent) override {
        ResultsWindow window(store, platform, parent, keyboardType);
        window.openClass = [this, &window, &platform] {
            if (!classroom_) {
                return;
            }
            if (const QString problem = showClassWindow(*classroom_, &window); !problem.isEmpty()) {
                platform.messageBox(problem, texts::kMessageTitle, MessageButtons::Ok);
            }
        };
        window.exec();
        return window.drillRequested();
    }

    void showExamResult(const ExamSheet& sheet, Platform& platform, QWidget* parent) override {
        ExamResultWindow window(sheet, platform, parent);
        window.exec();
    }

    QString showClassWindow(const ClassroomConfig& classroom, QWidget* parent) override {
        const QString connection = QStringLiteral("tipora-class-overview");
        // The teacher asked for the server and waits for it (a silent one for seconds).
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        QString problem = openClassroomServer(classroom, connection);
        QGuiApplication::restoreOverrideCursor();
        if (problem.isEmpty()) {
            QSqlDatabase db = QSqlDatabase::database(connection, false);
            if (isClassTeacher(db)) {
                ui::showClassWindow(connection, parent);
            } else {
                problem = texts::kNotTeacher.arg(db.userName().isEmpty() ? classroom.studentName
                                                                         : db.userName());
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(connection);
        return problem;
    }

private:
    std::optional<ClassroomConfig> classroom_;
};

} // namespace tipora::ui

// Run on the loading thread: reads Qt's SQLite driver and SQLite from the disk there, and
// creates or upgrades the file there, with a connection of that thread's own. The connection
// keeps the file's log open while `whileOpen` runs, so that the UI thread, opening the file
// meanwhile, finds it ready and its first result only appends to the log.
extern "C" Q_DECL_EXPORT void tipora_results_warm_up(const char* utf8Path, void (*whileOpen)(void*),
                                                     void* context) {
    tipora::SqliteResultsStore store(QString::fromUtf8(utf8Path));
    store.openLog();
    whileOpen(context);
}

#include "results_plugin.moc"
