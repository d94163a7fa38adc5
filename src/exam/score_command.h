#pragma once

#include <QString>

namespace tipora {

// `tipora --score ORIGINAL TYPED [--minutes N] [--penalty P] [--json]`: a copy test typed
// elsewhere, scored as the exam scores it.
struct ScoreRequest {
    QString program; // for the messages
    QString originalPath;
    QString typedPath;
    QString minutes = QStringLiteral("10"); // as typed on the command line
    QString penalty = QStringLiteral("10");
    bool json = false;
};

struct ScoreRun {
    int exitCode = 0; // 0 scored, 2 a problem, named in `error`
    QString output;
    QString error;
};

ScoreRun runScore(const ScoreRequest& request);

} // namespace tipora
