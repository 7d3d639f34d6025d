#include "base/SettingsFile.h"

#include "base/DataDir.h"

namespace etibarix::base {

QString SettingsFilePath()
{
    return DataDir() + QStringLiteral("etibarix.ini");
}

bool SettingsFileDamaged(QSettings &settings)
{
    // The file is read at the first question, not when the object is made.
    static_cast<void>(settings.allKeys());
    return settings.status() == QSettings::FormatError;
}

} // namespace etibarix::base
