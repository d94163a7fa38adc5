#include "classroom/server_link.h"

#include "classroom/classroom_texts.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace tipora {

namespace {

constexpr const char* kDriver = "QPSQL";
// A server that does not answer is given up on after this many seconds, so that a send never
// holds the tutor's exit for long.
const QString kDefaultConnectTimeout = QStringLiteral("5");

// libpq's own values are passed through as they stand; the driver joins them with spaces,
// so a value with a space or a quote is quoted the way libpq reads it.
QString quoted(const QString& value) {
    if (!value.isEmpty() && !value.contains(QLatin1Char(' ')) &&
        !value.contains(QLatin1Char('\'')) && !value.contains(QLatin1Char('\\'))) {
        return value;
    }
    QString escaped = value;
    escaped.replace(QLatin1String("\\"), QLatin1String("\\\\"));
    escaped.replace(QLatin1String("'"), QLatin1String("\\'"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

} // namespace

QString describeServerError(const QSqlError& error) {
    const QString code = error.nativeErrorCode();
    const QString message = error.databaseText().trimmed().isEmpty()
                                ? error.text().trimmed()
                                : error.databaseText().trimmed();
    if (code == QLatin1String("TP001") || code == QLatin1String("TP002")) {
        return texts::kResultRefused.arg(message);
    }
    if (code == QLatin1String("3F000") || code == QLatin1String("42883") ||
        code == QLatin1String("42P01")) {
        return texts::kNoSchema;
    }
    if (code == QLatin1String("42501")) {
        return texts::kNotAllowed;
    }
    if (code == QLatin1String("28P01") || code == QLatin1String("28000") ||
        message.contains(QLatin1String("password authentication failed")) ||
        message.contains(QLatin1String("no password supplied")) ||
        message.contains(QLatin1String("does not exist")) ||
        message.contains(QLatin1String("no pg_hba.conf entry"))) {
        return texts::kLoginRefused;
    }
    if (error.type() == QSqlError::ConnectionError || message.contains(QLatin1String("connect"))) {
        return texts::kUnreachable.arg(message.section(QLatin1Char('\n'), 0, 0));
    }
    return texts::kServerError.arg(message.section(QLatin1Char('\n'), 0, 0));
}

QString openClassroomServer(const ClassroomConfig& config, const QString& connectionName) {
    if (!QSqlDatabase::isDriverAvailable(QString::fromLatin1(kDriver))) {
        return texts::kNoDriver;
    }
    QString problem;
    const std::optional<ServerAddress> address = parseServerAddress(config.server, &problem);
    if (!address) {
        return problem;
    }
    QString result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QString::fromLatin1(kDriver), connectionName);
        db.setHostName(address->host);
        if (address->port > 0) {
            db.setPort(address->port);
        }
        db.setDatabaseName(address->database);
        db.setUserName(address->user);
        QStringList options;
        bool timeout = false;
        for (const auto& [key, value] : address->options) {
            options.append(key + QLatin1Char('=') + quoted(value));
            timeout = timeout || key == QLatin1String("connect_timeout");
        }
        if (!timeout) {
            options.append(QStringLiteral("connect_timeout=") + kDefaultConnectTimeout);
        }
        db.setConnectOptions(options.join(QLatin1Char(';')));
        if (!db.open()) {
            result = describeServerError(db.lastError());
        } else {
            QSqlQuery query(db);
            if (!query.exec(QStringLiteral("SELECT tipora.schema_version()")) || !query.next()) {
                result = describeServerError(query.lastError());
            } else if (const int version = query.value(0).toInt();
                       version > kClassroomSchemaVersion) {
                result = texts::kNewerSchema.arg(version).arg(kClassroomSchemaVersion);
            }
        }
    }
    if (!result.isEmpty()) {
        QSqlDatabase::database(connectionName, false).close();
        QSqlDatabase::removeDatabase(connectionName);
    }
    return result;
}

bool isClassTeacher(const QSqlDatabase& db) {
    QSqlQuery query(db);
    return query.exec(
               QStringLiteral("SELECT pg_has_role(session_user, 'tipora_teacher', 'MEMBER')")) &&
           query.next() && query.value(0).toBool();
}

} // namespace tipora
