#include "ui/results_module.h"

#include "classroom/classroom_texts.h"
#include "history/history_texts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#ifndef TIPORA_RESULTS_MODULE_FILE
#error "TIPORA_RESULTS_MODULE_FILE must name the results module's file"
#endif
#ifndef TIPORA_RESULTS_MODULE_DIR
#error "TIPORA_RESULTS_MODULE_DIR must give the installed module's folder, relative to the program"
#endif

namespace tipora::ui {

LateResults::LateResults(QString filePath, QStringList moduleFolders, ClassroomSetup classroom)
    : path_(std::move(filePath)), folders_(std::move(moduleFolders)),
      classroom_(std::move(classroom)) {
    // Never unloaded: the store and the window it makes run its code to the program's end.
    loader_.setLoadHints(QLibrary::PreventUnloadHint);
}

LateResults::~LateResults() {
    releaseWorker();
}

QString LateResults::moduleFileName() {
    return QStringLiteral(TIPORA_RESULTS_MODULE_FILE);
}

QStringList LateResults::installedModuleFolders() {
    const QDir program(QCoreApplication::applicationDirPath());
    return {program.path(),
            QDir::cleanPath(program.filePath(QStringLiteral(TIPORA_RESULTS_MODULE_DIR)))};
}

void LateResults::startLoading() {
    started_ = true;
    QStringList candidates;
    for (const QString& folder : folders_) {
        const QString file = QDir(folder).filePath(moduleFileName());
        if (QFileInfo(file).isFile()) {
            candidates << file;
        }
    }
    // Reading Qt Sql, Qt Charts and their libraries from the disk and relocating them takes
    // tens of milliseconds on a cold start; the learner is reading the first line meanwhile.
    worker_ = std::thread([this, candidates, path = path_.toUtf8()] {
        bool posted = false;
        for (const QString& file : candidates) {
            loader_.setFileName(file);
            if (loader_.load()) {
                loaded_ = true;
                // The same handle as the loader's: nothing is read twice.
                using WarmUp = void (*)(const char*, void (*)(void*), void*);
                if (const auto warmUp = reinterpret_cast<WarmUp>(
                        QLibrary(file).resolve("tipora_results_warm_up"))) {
                    warmUp(path.constData(), &LateResults::whileWarm, this);
                    posted = true;
                }
                break;
            }
        }
        if (!posted) {
            postTakeModule();
        }
    });
}

void LateResults::postTakeModule() {
    QMetaObject::invokeMethod(
        &mailbox_, [this] { takeModule(true); }, Qt::QueuedConnection);
}

void LateResults::whileWarm(void* self) {
    auto* results = static_cast<LateResults*>(self);
    results->postTakeModule();
    // The file stays open here until the UI thread has it open too: closed by its last
    // connection, SQLite would delete the log, and the lesson's first result would pay for
    // making it again. Never longer than a busy UI thread could need.
    std::unique_lock lock(results->releaseMutex_);
    results->releaseSignal_.wait_for(lock, std::chrono::seconds(10),
                                     [results] { return results->released_; });
}

void LateResults::releaseWorker() {
    {
        const std::lock_guard lock(releaseMutex_);
        released_ = true;
    }
    releaseSignal_.notify_all();
    if (worker_.joinable()) {
        worker_.join();
    }
}

void LateResults::takeModule(bool loadingDone) {
    if (!loadingDone) {
        releaseWorker();
    }
    if (!finished_) {
        finished_ = true;
        if (loaded_) {
            module_ = qobject_cast<ResultsModule*>(loader_.instance());
        }
        // The teacher's view alone has no history file of its own.
        if (module_ != nullptr && !path_.isEmpty()) {
            store_ = module_->openStore(path_, classroom_.config ? &*classroom_.config : nullptr);
            // Opened now, so the lesson's end only writes its row.
            store_->prepare();
        }
    }
    releaseWorker();
}

ResultsStore* LateResults::store() {
    if (!started_) {
        startLoading();
    }
    takeModule(false);
    return store_.get();
}

void LateResults::prepare() {
    if (!started_) {
        startLoading();
    } else if (finished_ && store_) {
        store_->prepare();
    }
}

bool LateResults::record(const LessonResult& result) {
    ResultsStore* s = store();
    return s != nullptr && s->record(result);
}

QList<LessonResult> LateResults::results() {
    ResultsStore* s = store();
    return s != nullptr ? s->results() : QList<LessonResult>();
}

std::optional<QList<KeyFigure>> LateResults::keyFigures(const KeyPeriod& period) {
    ResultsStore* s = store();
    return s != nullptr ? s->keyFigures(period) : std::nullopt;
}

bool LateResults::clear() {
    ResultsStore* s = store();
    return s != nullptr && s->clear();
}

QString LateResults::failure() const {
    if (store_) {
        return store_->failure();
    }
    return finished_ ? texts::resultsNotStored(path_, texts::kReasonNoModule) : QString();
}

bool LateResults::showExamResult(const ExamSheet& sheet, Platform& platform, QWidget* parent) {
    if (store() == nullptr) {
        return false;
    }
    module_->showExamResult(sheet, platform, parent);
    return true;
}

std::optional<ClassroomStatus> LateResults::classroomStatus() {
    if (!classroom_.config) {
        if (classroom_.problem.isEmpty()) {
            return std::nullopt;
        }
        ClassroomStatus status;
        status.problem = classroom_.problem;
        return status;
    }
    ResultsStore* s = store();
    if (s == nullptr) {
        ClassroomStatus status;
        status.className = classroom_.config->className;
        status.studentName = classroom_.config->studentName;
        status.problem = texts::resultsUnavailable(moduleFileName());
        return status;
    }
    return s->classroomStatus();
}

QString LateResults::showClassWindow(QWidget* parent) {
    if (!classroom_.config) {
        if (!classroom_.problem.isEmpty()) {
            return classroom_.problem;
        }
        QStringList candidates;
        for (const QString& folder : systemConfigFolders()) {
            candidates << QDir(folder).filePath(kClassroomFile);
        }
        return texts::noClassroomFile(candidates);
    }
    store();
    if (module_ == nullptr) {
        return texts::resultsUnavailable(moduleFileName());
    }
    return module_->showClassWindow(*classroom_.config, parent);
}

std::optional<bool> LateResults::showWindow(Platform& platform, QWidget* parent, int keyboardType) {
    ResultsStore* s = store();
    if (s == nullptr) {
        return std::nullopt;
    }
    return module_->showWindow(*s, platform, keyboardType, parent);
}

} // namespace tipora::ui
