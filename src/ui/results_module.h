#pragma once

#include "history/results_store.h"

#include <QObject>
#include <QPluginLoader>
#include <QString>
#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

class QWidget;

namespace tipora {
class Platform;
struct ExamSheet;
} // namespace tipora

namespace tipora::ui {

// What the results module offers. It brings Qt Sql, Qt Charts and their libraries with it,
// which nobody needs until a lesson ends or "Výsledky" opens, so the tutor starts without them.
class ResultsModule {
public:
    virtual ~ResultsModule() = default;

    // A store over the SQLite file; nothing is opened yet. With a class set up, each result is
    // also queued for the class's server and sent from a thread of the store's own.
    virtual std::unique_ptr<ResultsStore> openStore(const QString& filePath,
                                                    const ClassroomConfig* classroom) = 0;
    // Shows the results window over the store until it is closed; true when it was closed to
    // drill the weak keys.
    virtual bool showWindow(ResultsStore& store, Platform& platform, int keyboardType,
                            QWidget* parent) = 0;
    // Shows a scored copy test with its result sheet (Qt PrintSupport comes with the module).
    virtual void showExamResult(const ExamSheet& sheet, Platform& platform, QWidget* parent) = 0;
    // The class overview from the server, for the class's teacher. Returns the problem in the
    // teacher's words when it cannot be shown, empty after it was shown and closed.
    virtual QString showClassWindow(const ClassroomConfig& classroom, QWidget* parent) = 0;
};

} // namespace tipora::ui

#define TIPORA_RESULTS_MODULE_IID "cz.tipora.Tipora.ResultsModule/4"
Q_DECLARE_INTERFACE(tipora::ui::ResultsModule, TIPORA_RESULTS_MODULE_IID)

namespace tipora::ui {

// The results history as the main window uses it: a store whose module is read from the disk
// on a worker thread when the first lesson is chosen, so neither the start nor a keystroke nor
// the lesson's end waits for it. Without the module the history is off, said like a file that
// cannot be written, and the tutor runs on.
class LateResults final : public ResultsStore {
public:
    // The module file is looked for in each folder in turn. A class, when one is set up, is
    // sent every result.
    LateResults(QString filePath, QStringList moduleFolders, ClassroomSetup classroom = {});
    ~LateResults() override;
    LateResults(const LateResults&) = delete;
    LateResults& operator=(const LateResults&) = delete;

    // Where the program keeps the module: beside the executable (a build tree, Windows), then
    // in the installed library folder.
    static QStringList installedModuleFolders();
    static QString moduleFileName();

    // Starts reading the module; the file is opened as soon as it is in.
    void prepare() override;
    bool record(const LessonResult& result) override;
    QList<LessonResult> results() override;
    std::optional<QList<KeyFigure>> keyFigures(const KeyPeriod& period) override;
    bool clear() override;
    QString failure() const override;
    // The class's status, or the reason the lab's file cannot be used; nothing without a class.
    std::optional<ClassroomStatus> classroomStatus() override;

    // Shows "Výsledky"; nothing, with nothing shown, when the module could not be loaded, and
    // otherwise whether the learner asked for the weak-key drill.
    std::optional<bool> showWindow(Platform& platform, QWidget* parent, int keyboardType);
    // False, with nothing shown, when the module could not be loaded.
    bool showExamResult(const ExamSheet& sheet, Platform& platform, QWidget* parent);
    // The class overview for the teacher; the problem when it cannot be shown.
    QString showClassWindow(QWidget* parent);
    // Whether the module has been read (loading is never waited for here).
    bool moduleLoaded() const { return module_ != nullptr; }

private:
    void startLoading();
    // The module, loaded or not, waiting for the UI thread; null when there is none.
    ResultsStore* store();
    // On the UI thread: takes the module from the worker and opens the file. Unless
    // `loadingDone`, waits for the worker to finish loading first.
    void takeModule(bool loadingDone);
    void postTakeModule();
    // On the worker, while the module holds the file open for it.
    static void whileWarm(void* self);
    // Lets the worker close its connection and end, and waits for it.
    void releaseWorker();

    QString path_;
    QStringList folders_;
    ClassroomSetup classroom_;
    QPluginLoader loader_;
    std::thread worker_;
    std::mutex releaseMutex_;
    std::condition_variable releaseSignal_;
    bool released_ = false;
    std::atomic<bool> loaded_ = false;
    bool started_ = false;
    bool finished_ = false;
    ResultsModule* module_ = nullptr;
    std::unique_ptr<ResultsStore> store_;
    // Receives the worker's word on the UI thread; gone with the object, and the word with it.
    QObject mailbox_;
};

} // namespace tipora::ui
