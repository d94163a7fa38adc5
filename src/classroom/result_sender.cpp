#include "classroom/result_sender.h"

#include "classroom/classroom_texts.h"
#include "classroom/server_link.h"
#include "history/results_store.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimer>
#include <QVariant>

namespace tipora {

QString classroomStatusLine(const ClassroomStatus& status) {
    QStringList parts;
    if (!status.className.isEmpty()) {
        QString line = texts::kClassAndName.arg(status.className, status.studentName);
        if (status.waiting == 0) {
            line += QStringLiteral(": ") + texts::kAllSent;
        } else if (status.waiting > 0) {
            line += QStringLiteral(": ") + texts::waitingResults(status.waiting);
        }
        parts << line + QLatin1Char('.');
    }
    if (!status.problem.isEmpty()) {
        parts << status.problem;
    }
    return parts.join(QLatin1Char(' '));
}

class SenderWorker : public QObject {
public:
    SenderWorker(ResultSender& owner, int retryMs)
        : owner_(owner), store_(owner.file_),
          connection_(
              QStringLiteral("tipora-classroom-%1").arg(reinterpret_cast<quintptr>(this), 0, 16)) {
        // A child, so that it moves to the sender's thread with its worker.
        retry_ = new QTimer(this);
        retry_->setInterval(retryMs);
        QObject::connect(retry_, &QTimer::timeout, this, [this] { sendAll(); });
    }

    void begin() {
        retry_->start();
        sendAll();
    }

    // `again`: a connection that had worked was found broken (the server restarted, say), and
    // one new connection is tried at once rather than at the next retry.
    void sendAll(bool again = false) {
        const bool wasConnected = connected_;
        ClassroomStatus status = owner_.status();
        status.problem.clear();
        if (!connected_) {
            status.problem = openClassroomServer(owner_.config_, connection_);
            connected_ = status.problem.isEmpty();
            if (connected_) {
                status.teacher = isClassTeacher(QSqlDatabase::database(connection_, false));
            }
        }
        bool lost = false;
        if (connected_) {
            // One pass over what waits now: a refused result stays queued for the next pass.
            const QList<QueuedResult> queued = store_.waiting(kPassLimit);
            const QSqlDatabase db = QSqlDatabase::database(connection_, false);
            for (const QueuedResult& result : queued) {
                QSqlQuery submit(db);
                submit.prepare(QStringLiteral("SELECT tipora.submit_result(CAST(? AS jsonb))"));
                submit.addBindValue(QString::fromUtf8(result.payload));
                if (submit.exec()) {
                    store_.markQueued(result.uid);
                    continue;
                }
                const QSqlError error = submit.lastError();
                const QString code = error.nativeErrorCode();
                status.problem = describeServerError(error);
                if (code == QLatin1String("TP001") || code == QLatin1String("TP002")) {
                    store_.markQueued(result.uid, status.problem);
                    continue;
                }
                lost = true;
                break;
            }
        }
        if (lost) {
            disconnect();
            if (wasConnected && !again) {
                owner_.setStatus(status);
                sendAll(true);
                return;
            }
        }
        status.waiting = store_.waitingCount().value_or(-1);
        owner_.setStatus(status);
    }

    void disconnect() {
        if (QSqlDatabase::contains(connection_)) {
            QSqlDatabase::database(connection_, false).close();
            QSqlDatabase::removeDatabase(connection_);
        }
        connected_ = false;
    }

    ~SenderWorker() override { disconnect(); }

private:
    static constexpr int kPassLimit = 1000;
    ResultSender& owner_;
    SqliteResultsStore store_;
    QString connection_;
    bool connected_ = false;
    QTimer* retry_ = nullptr;
};

ResultSender::ResultSender(QString resultsFile, ClassroomConfig config, int retryMs)
    : file_(std::move(resultsFile)), config_(std::move(config)), retryMs_(retryMs) {
    status_.className = config_.className;
    status_.studentName = config_.studentName;
}

ResultSender::~ResultSender() {
    if (worker_ != nullptr) {
        // The worker's connections belong to its thread and are closed there.
        QMetaObject::invokeMethod(
            worker_, [w = worker_] { delete w; }, Qt::BlockingQueuedConnection);
    }
    thread_.quit();
    thread_.wait();
}

void ResultSender::start() {
    if (worker_ != nullptr) {
        return;
    }
    thread_.setObjectName(QStringLiteral("tipora-classroom"));
    worker_ = new SenderWorker(*this, retryMs_);
    worker_->moveToThread(&thread_);
    // Sending is never urgent: the thread runs when the learner's keys leave the processor idle.
    thread_.start(QThread::IdlePriority);
    QMetaObject::invokeMethod(
        worker_, [w = worker_] { w->begin(); }, Qt::QueuedConnection);
}

void ResultSender::wake() {
    if (worker_ != nullptr) {
        QMetaObject::invokeMethod(
            worker_, [w = worker_] { w->sendAll(); }, Qt::QueuedConnection);
    }
}

void ResultSender::sendNowAndWait() {
    if (worker_ != nullptr) {
        QMetaObject::invokeMethod(
            worker_, [w = worker_] { w->sendAll(); }, Qt::BlockingQueuedConnection);
    }
}

ClassroomStatus ResultSender::status() const {
    const std::lock_guard lock(mutex_);
    return status_;
}

void ResultSender::setStatus(const ClassroomStatus& status) {
    const std::lock_guard lock(mutex_);
    status_ = status;
}

} // namespace tipora
