#pragma once

#include "app/classroom_config.h"

#include <QString>
#include <QThread>
#include <memory>
#include <mutex>

namespace tipora {

class SenderWorker;

// "Třída 3.B, Jana Nováková: na odeslání čekají 2 výsledky. Server třídy není dostupný: …"
QString classroomStatusLine(const ClassroomStatus& status);

// Sends the results queued in the history file to the classroom server from a thread of its
// own, so that no key, lesson end or window ever waits for the network. A result leaves the
// queue only when the server has acknowledged it; the server keeps each result's id once, so a
// send repeated after a crash or a lost answer stores nothing twice.
class ResultSender {
public:
    // Every this many milliseconds the queue is tried again, results or not.
    static constexpr int kRetryMs = 3 * 60 * 1000;

    ResultSender(QString resultsFile, ClassroomConfig config, int retryMs = kRetryMs);
    // Waits for a send under way (a silent server is given up on after seconds).
    ~ResultSender();
    ResultSender(const ResultSender&) = delete;
    ResultSender& operator=(const ResultSender&) = delete;

    // Starts the thread, which sends whatever an earlier run left queued.
    void start();
    // A result was queued: sends it soon. Never waits.
    void wake();
    ClassroomStatus status() const;
    // Blocks until the thread has gone through the queue once more; for tests and benchmarks.
    void sendNowAndWait();

private:
    friend class SenderWorker;

    // "Třída 3.B, Jana Nováková: na odeslání čekají 2 výsledky. Server třídy není dostupný: …"
    QString classroomStatusLine(const ClassroomStatus& status);
    void setStatus(const ClassroomStatus& status);

    QString file_;
    ClassroomConfig config_;
    int retryMs_;
    QThread thread_;
    SenderWorker* worker_ = nullptr; // lives on thread_
    mutable std::mutex mutex_;
    ClassroomStatus status_;
};

} // namespace tipora
