#pragma once
// The program's settings file, etibarix.ini (Qt INI format) in the data
// directory: the main window's place and the printers' calibration.

#include <QSettings>
#include <QString>

namespace etibarix::base {

// DataDir() + "etibarix.ini".
QString SettingsFilePath();

// True when the file behind settings does not read as settings. Such a file
// is left as it is rather than rewritten without what could not be read.
bool SettingsFileDamaged(QSettings &settings);

} // namespace etibarix::base
