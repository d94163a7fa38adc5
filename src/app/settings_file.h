#pragma once

#include "app/promenne.h"

#include <QByteArray>
#include <QString>

namespace tipora {

class Platform;

struct SettingsValues {
    int metronom = 0;
    int odezvaKlaves = 0;
    int pipChyba = 0;
    int pipKlavesa = 0;
};

// Reads the four fields of "tipora.ini" in order into the shared settings. Fields may be
// separated by blanks, commas or line ends; anything after the fourth is ignored. Reading stops
// at the first field that is missing or not a whole number: the fields before it keep their
// new values, the rest stay as they were. Returns whether all four were read.
bool readSettings(const QByteArray& content, Promenne& shared);
bool readSettingsFile(const QString& path, Promenne& shared);
// The file at path; while it does not exist yet, the default one instead (when given).
bool readSettingsFile(const QString& path, const QString& defaultPath, Promenne& shared);

// The file's one line: each field between a sign position and a blank, then CR LF.
QByteArray settingsLine(const SettingsValues& values);

// Replaces the file in one step (a temporary file renamed over it), so a crash or a full disk
// never leaves it truncated. Returns false, with the old file untouched, when it cannot.
bool writeSettingsFile(const QString& path, const SettingsValues& values);

// The settings dialog's save: writes, and tells the learner when the file could not be written.
// createFolder: the folder is made first (the per-user folder, which the first save creates).
bool saveSettings(Platform& platform, const QString& path, const SettingsValues& values,
                  bool createFolder = false);

} // namespace tipora
