#include "classroom/classroom_store.h"

namespace tipora {

ClassroomResultsStore::ClassroomResultsStore(const QString& filePath, const ClassroomConfig& config,
                                             int retryMs)
    : store_(filePath), sender_(filePath, config, retryMs) {
    store_.queueFor({config.className, config.studentName});
}

void ClassroomResultsStore::prepare() {
    store_.prepare();
    if (!started_) {
        // Results left queued by an earlier run go out now, not at the next lesson's end.
        started_ = true;
        sender_.start();
    }
}

bool ClassroomResultsStore::record(const LessonResult& result) {
    prepare();
    const bool stored = store_.record(result);
    if (stored) {
        sender_.wake();
    }
    return stored;
}

std::optional<ClassroomStatus> ClassroomResultsStore::classroomStatus() {
    prepare();
    ClassroomStatus status = sender_.status();
    // Counted here too: a result stored a moment ago waits even before the sender looked.
    if (const std::optional<int> waiting = store_.waitingCount()) {
        status.waiting = *waiting;
    }
    return status;
}

} // namespace tipora
