#include "labels/print/Calibration.h"

#include "base/SettingsFile.h"
#include "base/Error.h"
#include "i18n/LanguageTable.h"

#include <QSettings>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace etibarix::labels {
namespace {

QString key(const QString &printer, const char *axis)
{
    return QStringLiteral("calibration/") + QString::fromLatin1(QUrl::toPercentEncoding(printer))
        + QLatin1Char('/') + QLatin1String(axis);
}

} // namespace

QString Calibration::DefaultPath()
{
    return base::SettingsFilePath();
}

Calibration::Calibration(QString iniPath) : m_path(std::move(iniPath)) {}

double Calibration::normalised(double mm)
{
    if (std::isnan(mm))
        return 0;
    const double clamped = std::clamp(mm, -Limit, Limit);
    return std::round(clamped * 10) / 10;
}

bool Calibration::inRange(double mm)
{
    return mm >= -Limit && mm <= Limit;
}

PrinterOffset Calibration::offset(const QString &printer) const
{
    const QSettings settings(m_path, QSettings::IniFormat);
    PrinterOffset result;
    result.x = normalised(settings.value(key(printer, "x"), 0.0).toDouble());
    result.y = normalised(settings.value(key(printer, "y"), 0.0).toDouble());
    return result;
}

void Calibration::setOffset(const QString &printer, PrinterOffset offset)
{
    QSettings settings(m_path, QSettings::IniFormat);
    if (base::SettingsFileDamaged(settings))
        throw base::Error(i18n::LangString(i18n::Text::SettingsFileDamaged).arg(m_path));
    settings.setValue(key(printer, "x"), normalised(offset.x));
    settings.setValue(key(printer, "y"), normalised(offset.y));
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw base::Error(i18n::LangString(i18n::Text::CannotWriteFile).arg(m_path));
}

} // namespace etibarix::labels
