#pragma once

#include <QDir>
#include <QString>
#include <QStringList>

namespace tipora {

// Where the program reads its course and reads and writes "tipora.ini".
struct FileLocations {
    QDir course;
    // Read at start-up and written by the settings dialog.
    QString settings;
    // Read instead while `settings` does not exist yet (the installed default); may be empty.
    QString defaultSettings;
    // The settings dialog makes the folder of `settings` first (the per-user folder).
    bool createSettingsFolder = false;
};

// A folder that holds everything, as the program has always run from its own folder.
FileLocations locationsInFolder(const QDir& folder);

// What the search looks at; each is taken from the system by systemSearchPlaces().
struct SearchPlaces {
    QString currentFolder;
    QString courseOption; // --course DIR, empty when not given
    QString executableFolder;
    QStringList dataFolders; // the XDG data folders, most important first
    QString configFolder;    // $XDG_CONFIG_HOME
};

// The course: the folder given with --course; otherwise the current folder when it holds the
// course; otherwise the installed one, beside the executable (../share/tipora, so a moved
// install keeps working) or in the XDG data folders. When none holds it, the current folder,
// so the lessons report the missing files as they always have.
// "tipora.ini": the current folder's when there is one; otherwise the per-user file, with the
// first "tipora.ini" of the course folder and the installed folders read until it exists.
FileLocations findFileLocations(const SearchPlaces& places);

SearchPlaces systemSearchPlaces(const QString& courseOption);

// The results history lives beside "tipora.ini" when that is the current folder's (the
// repository's data folder, a teacher's folder); otherwise, like the per-user settings, with the
// user: in `userDataFolder` (the XDG data home's tipora folder).
QString resultsFilePath(const FileLocations& files, const QString& fileName,
                        const QString& userDataFolder);

// $XDG_DATA_HOME/tipora.
QString userDataFolder();

} // namespace tipora
