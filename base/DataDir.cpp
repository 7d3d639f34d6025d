#include "base/DataDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace etibarix::base {
namespace {
QString g_override;

QString withSlash(QString dir)
{
    if (!dir.endsWith(u'/'))
        dir += u'/';
    return dir;
}

bool isPortableCopy(const DataDirPlaces &places)
{
    const QDir dir(places.programDir);
    if (QFileInfo::exists(dir.filePath(QStringLiteral("article.dbf")))
        || QFileInfo::exists(dir.filePath(QStringLiteral("ETIBARIX.PAR"))))
        return true;
    const QString path = withSlash(QDir::cleanPath(dir.absolutePath()));
    for (const QString &root : places.systemRoots)
        if (path.startsWith(root))
            return false;
    return QFileInfo(path).isWritable();
}
} // namespace

QString DataDir()
{
    return g_override.isEmpty() ? ExecutableDir() : g_override;
}

void setDataDirOverride(const QString &dir)
{
    g_override = dir.isEmpty() ? dir : withSlash(dir);
}

QString ExecutableDir()
{
    QString exe = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    if (exe.isEmpty())
        exe = QCoreApplication::applicationFilePath();
    // Cut after the last separator, never examining the last character.
    for (qsizetype i = exe.size() - 2; i >= 0; --i) {
        if (exe[i] == u'/' || exe[i] == u':')
            return exe.left(i + 1);
    }
    return QStringLiteral("./");
}

DataDirPlaces DataDirPlaces::current(const QString &option)
{
    DataDirPlaces places;
    places.option = option;
    places.environment = qEnvironmentVariable("ETIBARIX_DIR");
    places.programDir = ExecutableDir();
    // A relative XDG_DATA_HOME is invalid and ignored.
    places.userDataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (!QDir::isAbsolutePath(places.userDataHome))
        places.userDataHome = QDir::homePath() + QStringLiteral("/.local/share");
    return places;
}

DataDirChoice ChooseDataDir(const DataDirPlaces &places)
{
    const auto absolute = [](const QString &dir) { return withSlash(QDir(dir).absolutePath()); };
    if (!places.option.isEmpty())
        return {DataDirChoice::Option, absolute(places.option)};
    if (!places.environment.isEmpty())
        return {DataDirChoice::Environment, absolute(places.environment)};
    if (isPortableCopy(places))
        return {DataDirChoice::Program, absolute(places.programDir)};
    return {DataDirChoice::User, absolute(places.userDataHome + QStringLiteral("/etibarix"))};
}

QString DataDirResult::problemText() const
{
    switch (status) {
    case Missing:
        return QStringLiteral("no such directory: %1").arg(QDir::toNativeSeparators(dir));
    case NotCreated:
        return QStringLiteral("cannot create the data directory %1").arg(QDir::toNativeSeparators(dir));
    case Ready:
        break;
    }
    return {};
}

DataDirResult UseDataDir(const DataDirPlaces &places)
{
    const DataDirChoice choice = ChooseDataDir(places);
    switch (choice.source) {
    case DataDirChoice::Option:
    case DataDirChoice::Environment:
        if (!QFileInfo(choice.dir).isDir())
            return {DataDirResult::Missing, choice.source == DataDirChoice::Option ? places.option : places.environment};
        break;
    case DataDirChoice::User:
        if (!QDir().mkpath(choice.dir))
            return {DataDirResult::NotCreated, choice.dir};
        break;
    case DataDirChoice::Program:
        break;
    }
    setDataDirOverride(choice.dir);
    return {DataDirResult::Ready, choice.dir};
}

} // namespace etibarix::base
