#include "app/classroom_config.h"

#include "ground/text_decoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

namespace tipora {

namespace {

const QString kSection = QStringLiteral("trida");

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

bool isKeyCharacter(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

} // namespace

std::optional<ServerAddress> parseServerAddress(const QString& connection, QString* problem) {
    ServerAddress address;
    const auto fail = [&](const QString& why) {
        *problem = why;
        return std::nullopt;
    };
    qsizetype i = 0;
    const qsizetype n = connection.size();
    const auto skipSpace = [&] {
        while (i < n && connection[i].isSpace()) {
            ++i;
        }
    };
    for (skipSpace(); i < n; skipSpace()) {
        const qsizetype keyStart = i;
        while (i < n && isKeyCharacter(connection[i])) {
            ++i;
        }
        const QString key = connection.mid(keyStart, i - keyStart);
        skipSpace();
        if (key.isEmpty() || i >= n || connection[i] != QLatin1Char('=')) {
            return fail(text("v adrese serveru chybí „klíč=hodnota“ (u znaku %1)").arg(i + 1));
        }
        ++i;
        skipSpace();
        QString value;
        if (i < n && connection[i] == QLatin1Char('\'')) {
            ++i;
            bool closed = false;
            for (; i < n; ++i) {
                if (connection[i] == QLatin1Char('\\') && i + 1 < n) {
                    value += connection[++i];
                } else if (connection[i] == QLatin1Char('\'')) {
                    closed = true;
                    ++i;
                    break;
                } else {
                    value += connection[i];
                }
            }
            if (!closed) {
                return fail(text("v adrese serveru chybí uzavírací apostrof"));
            }
        } else {
            while (i < n && !connection[i].isSpace()) {
                value += connection[i++];
            }
        }
        if (key == QLatin1String("password")) {
            return fail(text("heslo do souboru třídy nepatří: uložte ho do souboru ~/.pgpass"));
        }
        if (key == QLatin1String("host") || key == QLatin1String("hostaddr")) {
            address.host = value;
        } else if (key == QLatin1String("port")) {
            bool ok = false;
            address.port = value.toInt(&ok);
            if (!ok || address.port <= 0 || address.port > 65535) {
                return fail(text("port serveru „%1“ není číslo od 1 do 65535").arg(value));
            }
        } else if (key == QLatin1String("dbname")) {
            address.database = value;
        } else if (key == QLatin1String("user")) {
            address.user = value;
        } else {
            address.options.append({key, value});
        }
    }
    return address;
}

std::optional<ClassroomConfig> parseClassroomConfig(const QString& file, const QByteArray& bytes,
                                                    const QString& accountName, QString* problem) {
    ClassroomConfig config;
    config.file = file;
    QString section;
    int lineNumber = 0;
    // Read by hand rather than as QSettings: that would take the backslashes of a Windows path
    // (sslrootcert=C:\skola\ca.pem) for escapes and the commas of a value for a list.
    // Saved by any editor of a lab's administrator: with a byte order mark, with CR LF, or in
    // Windows-1250.
    for (const QString& raw : decodeText(bytes).text.split(QLatin1Char('\n'))) {
        ++lineNumber;
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')) ||
            line.startsWith(QLatin1Char(';'))) {
            continue;
        }
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2).trimmed().toLower();
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0) {
            *problem = text("%1, řádek %2: čekám „klíč=hodnota“").arg(file).arg(lineNumber);
            return std::nullopt;
        }
        if (section != kSection) {
            continue;
        }
        const QString key = line.left(equals).trimmed().toLower();
        const QString value = line.mid(equals + 1).trimmed();
        if (key == QLatin1String("server")) {
            config.server = value;
        } else if (key == QLatin1String("trida")) {
            config.className = value;
        } else if (key == QLatin1String("jmeno")) {
            config.studentName = value;
        }
    }
    if (config.server.isEmpty() || config.className.isEmpty()) {
        *problem = text("%1: v oddílu [trida] chybí „server=“ nebo „trida=“").arg(file);
        return std::nullopt;
    }
    QString addressProblem;
    if (!parseServerAddress(config.server, &addressProblem)) {
        *problem = QStringLiteral("%1: %2").arg(file, addressProblem);
        return std::nullopt;
    }
    if (config.studentName.isEmpty()) {
        config.studentName = accountName;
    }
    return config;
}

QString findClassroomConfigFile(const QStringList& configFolders) {
    for (const QString& folder : configFolders) {
        const QString path = QDir(folder).filePath(kClassroomFile);
        if (QFileInfo(path).isFile()) {
            return path;
        }
    }
    return {};
}

QStringList systemConfigFolders() {
    return QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
}

QString loginAccountName() {
#ifdef Q_OS_UNIX
    if (const passwd* account = getpwuid(getuid()); account != nullptr) {
        const QString gecos =
            QString::fromLocal8Bit(account->pw_gecos).section(QLatin1Char(','), 0, 0);
        if (!gecos.trimmed().isEmpty()) {
            return gecos.trimmed();
        }
        return QString::fromLocal8Bit(account->pw_name);
    }
#endif
    return qEnvironmentVariable("USERNAME", qEnvironmentVariable("USER"));
}

ClassroomSetup loadClassroomSetup(const QStringList& configFolders) {
    ClassroomSetup setup;
    const QString path = findClassroomConfigFile(configFolders);
    if (path.isEmpty()) {
        return setup;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setup.problem = text("%1 nelze přečíst: %2").arg(path, file.errorString());
        return setup;
    }
    setup.config = parseClassroomConfig(path, file.readAll(), loginAccountName(), &setup.problem);
    return setup;
}

} // namespace tipora
