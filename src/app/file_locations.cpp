#include "app/file_locations.h"

#include "app/texts.h"
#include "ground/lesson_texts.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>

namespace tipora {

namespace {

const QString kFolderName = QStringLiteral("tipora");

bool holds(const QString& folder, const QString& fileName) {
    return !folder.isEmpty() && QFileInfo::exists(QDir(folder).filePath(fileName));
}

// The installed folders, most important first: beside the executable, then the XDG ones.
QStringList installedFolders(const SearchPlaces& places) {
    QStringList folders;
    if (!places.executableFolder.isEmpty()) {
        folders << QDir::cleanPath(places.executableFolder + QStringLiteral("/../share/") +
                                   kFolderName);
    }
    for (const QString& data : places.dataFolders) {
        if (!data.isEmpty()) {
            folders << QDir::cleanPath(data + u'/' + kFolderName);
        }
    }
    folders.removeDuplicates();
    return folders;
}

} // namespace

FileLocations locationsInFolder(const QDir& folder) {
    return {folder, folder.filePath(texts::kSettingsFileName), QString(), false};
}

FileLocations findFileLocations(const SearchPlaces& places) {
    const QStringList installed = installedFolders(places);

    QString course = places.courseOption;
    if (course.isEmpty()) {
        course = places.currentFolder;
        if (!holds(course, texts::kDescriptionFile)) {
            for (const QString& folder : installed) {
                if (holds(folder, texts::kDescriptionFile)) {
                    course = folder;
                    break;
                }
            }
        }
    }

    FileLocations found = locationsInFolder(QDir(course));
    if (holds(places.currentFolder, texts::kSettingsFileName)) {
        found.settings = QDir(places.currentFolder).filePath(texts::kSettingsFileName);
        return found;
    }
    found.settings =
        QDir(places.configFolder).filePath(kFolderName + u'/' + texts::kSettingsFileName);
    found.createSettingsFolder = true;
    for (const QString& folder : QStringList{course} + installed) {
        if (holds(folder, texts::kSettingsFileName)) {
            found.defaultSettings = QDir(folder).filePath(texts::kSettingsFileName);
            break;
        }
    }
    return found;
}

SearchPlaces systemSearchPlaces(const QString& courseOption) {
    return {QDir::currentPath(), courseOption, QCoreApplication::applicationDirPath(),
            QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation),
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)};
}

QString resultsFilePath(const FileLocations& files, const QString& fileName,
                        const QString& userDataFolder) {
    if (!files.createSettingsFolder) {
        return QFileInfo(files.settings).dir().filePath(fileName);
    }
    return QDir(userDataFolder).filePath(fileName);
}

QString userDataFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(kFolderName);
}

} // namespace tipora
