// The results module: the SQLite store and the results window, loaded by the tutor when a
// lesson is first chosen or "Výsledky" opens.
#include "history/results_store.h"
#include "ui/exam_result_window.h"
#include "ui/results_module.h"
#include "ui/results_window.h"

#include <QObject>
#include <QtPlugin>

namespace tipora::ui {

class ResultsPlugin final : public QObject, public ResultsModule {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID TIPORA_RESULTS_MODULE_IID)
    Q_INTERFACES(tipora::ui::ResultsModule)

public:
    std::unique_ptr<ResultsStore> openStore(const QString& filePath) override {
        return std::make_unique<SqliteResultsStore>(filePath);
    }

    bool showWindow(ResultsStore& store, Platform& platform, int keyboardType,
                    QWidget* parent) override {
        ResultsWindow window(store, platform, parent, keyboardType);
        window.exec();
        return window.drillRequested();
    }

    void showExamResult(const ExamSheet& sheet, Platform& platform, QWidget* parent) override {
        ExamResultWindow window(sheet, platform, parent);
        window.exec();
    }
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
