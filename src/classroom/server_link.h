#pragma once

#include "app/classroom_config.h"

#include <QSqlDatabase>
#include <QString>

namespace tipora {

// The classroom server's schema this program reads and writes.
inline constexpr int kClassroomSchemaVersion = 1;

// Opens a connection to the classroom server under `connectionName`, on the calling thread, and
// checks that the server has the schema this program knows. Returns the problem in the
// learner's words, empty when the connection is ready; a failed connection is removed again.
QString openClassroomServer(const ClassroomConfig& config, const QString& connectionName);

// Whether the connected user is the class's teacher (member of the teacher's role).
bool isClassTeacher(const QSqlDatabase& db);

// A server's error in the learner's words: a refused password, an unreachable server, a
// missing or newer schema, a refused result.
QString describeServerError(const QSqlError& error);

} // namespace tipora
