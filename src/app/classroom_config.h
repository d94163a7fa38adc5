#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

namespace tipora {

// A school lab's file, "trida.conf": where results go and whose they are. The server is a
// PostgreSQL connection string of key=value pairs; the password never stands there, the
// client's password file holds it.
struct ClassroomConfig {
    QString file; // where it was read from, for messages
    QString server;
    QString className;
    QString studentName;
};

// The server's connection string taken apart: what Qt's driver has fields for, and every other
// key=value (sslmode, sslrootcert, connect_timeout, …) handed to the client library as it is.
struct ServerAddress {
    QString host;
    int port = -1;
    QString database;
    QString user;
    QList<std::pair<QString, QString>> options;
};

// The pairs of a key=value connection string, values quoted with '…' where they hold spaces,
// \' and \\ inside quotes. A password, or anything that does not parse, is refused with the
// reason in `problem`.
std::optional<ServerAddress> parseServerAddress(const QString& connection, QString* problem);

// The lab's file from its text: [trida] with server=, trida= and optionally jmeno= (the name
// of the login account when absent). Nullopt with the reason when it cannot be used.
std::optional<ClassroomConfig> parseClassroomConfig(const QString& file, const QByteArray& bytes,
                                                    const QString& accountName, QString* problem);

// The lab's file, in each configuration folder.
inline const QString kClassroomFile = QStringLiteral("tipora/trida.conf");

// The first of the candidate files that exists, the per-user one first: a learner's own file
// wins over the lab's. Empty when none does.
QString findClassroomConfigFile(const QStringList& configFolders);
// $XDG_CONFIG_HOME, then $XDG_CONFIG_DIRS (/etc/xdg), as the desktop sees them.
QStringList systemConfigFolders();
// The full name of the login account (its GECOS name on Unix), else the login name.
QString loginAccountName();

// What the tutor runs with: no file, a usable file, or a file that cannot be used (the tutor
// then keeps its results locally and says why where the learner looks).
struct ClassroomSetup {
    std::optional<ClassroomConfig> config;
    QString problem;
};
ClassroomSetup loadClassroomSetup(const QStringList& configFolders);

// How the results reach the class's server, as "Výsledky" tells the learner.
struct ClassroomStatus {
    QString className;
    QString studentName;
    int waiting = -1; // results queued and not yet acknowledged; -1 while unknown
    QString problem;  // what went wrong at the last attempt; empty when it worked
    bool teacher = false;
};

} // namespace tipora
