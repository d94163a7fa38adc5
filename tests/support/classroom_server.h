#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>

namespace tipora::test {

// A private PostgreSQL server with the classroom schema, started by the project's harness in a
// folder of its own: logins student1, student2 and teacher, their passwords in its pgpass.
class ClassroomServer {
public:
    // 0 when it runs; 77 when PostgreSQL is not installed (a skip); anything else a failure.
    int start() {
        QByteArray output;
        const int code = harness(QStringLiteral("start"), &output);
        const QRegularExpressionMatch match =
            QRegularExpression(QStringLiteral("PGHOST=(\\S+) PGPORT=(\\d+).*PGPASSFILE=(\\S+)"))
                .match(QString::fromUtf8(output));
        if (code == 0 && match.hasMatch()) {
            socket = match.captured(1);
            port = match.captured(2).toInt();
            passFile = match.captured(3);
            // libpq reads the passwords from there, as a lab machine's ~/.pgpass.
            qputenv("PGPASSFILE", passFile.toLocal8Bit());
        }
        return code;
    }
    bool down() { return harness(QStringLiteral("down")) == 0; }
    bool up() { return harness(QStringLiteral("up")) == 0; }
    ~ClassroomServer() {
        if (port != 0) {
            harness(QStringLiteral("stop"));
        }
    }

    // "host=… port=… dbname=tipora user=LOGIN", as a lab's file names the server.
    QString address(const QString& login) const {
        return QStringLiteral("host=%1 port=%2 dbname=tipora user=%3")
            .arg(socket)
            .arg(port)
            .arg(login);
    }

    // A connection as the server's superuser, for looking and for breaking things.
    QSqlDatabase admin() {
        const QString name = QStringLiteral("classroom-admin");
        if (QSqlDatabase::contains(name)) {
            return QSqlDatabase::database(name);
        }
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(socket);
        db.setPort(port);
        db.setDatabaseName(QStringLiteral("tipora"));
        db.setUserName(QStringLiteral("postgres"));
        db.open();
        return db;
    }
    // The first column of the first row of a query as the superuser; -1 when it fails.
    qlonglong number(const QString& sql) {
        QSqlQuery query(admin());
        return query.exec(sql) && query.next() ? query.value(0).toLongLong() : -1;
    }
    void closeAdmin() {
        QSqlDatabase::database(QStringLiteral("classroom-admin"), false).close();
        QSqlDatabase::removeDatabase(QStringLiteral("classroom-admin"));
    }

    QString socket;
    int port = 0;
    QString passFile;

private:
    int harness(const QString& command, QByteArray* output = nullptr) {
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QStringLiteral("bash"),
                      {QStringLiteral(TIPORA_PG_CLUSTER), command, dir_.path()});
        process.waitForFinished(120000);
        if (output != nullptr) {
            *output = process.readAllStandardOutput();
        }
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    QTemporaryDir dir_;
};

} // namespace tipora::test
