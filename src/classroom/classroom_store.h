#pragma once

#include "classroom/result_sender.h"
#include "history/results_store.h"

namespace tipora {

// The history file with a class set up: each result is stored and queued in one transaction,
// then the sender is told, and the queue is sent from its thread.
class ClassroomResultsStore final : public ResultsStore {
public:
    ClassroomResultsStore(const QString& filePath, const ClassroomConfig& config,
                          int retryMs = ResultSender::kRetryMs);

    void prepare() override;
    bool record(const LessonResult& result) override;
    QList<LessonResult> results() override { return store_.results(); }
    std::optional<QList<KeyFigure>> keyFigures(const KeyPeriod& period) override {
        return store_.keyFigures(period);
    }
    bool clear() override { return store_.clear(); }
    QString failure() const override { return store_.failure(); }
    std::optional<ClassroomStatus> classroomStatus() override;

private:
    SqliteResultsStore store_;
    ResultSender sender_;
    bool started_ = false;
};

} // namespace tipora
