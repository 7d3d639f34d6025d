#include "app/ui/HelpOpener.h"

#include "base/DataDir.h"
#include "i18n/AddedTexts.h"
#include "store/TableFiles.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>

namespace etibarix::app {
namespace {

const QString HelpFileName = QStringLiteral("ebk.chm");
const QString HtmlIndexName = QStringLiteral("help/index.html");

// Whether the desktop's own lookup (xdg-mime) names a program for the type.
bool desktopHasViewer(const QString &mimeType)
{
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        return false;
    QProcess query;
    query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), mimeType});
    if (!query.waitForFinished(3000)) {
        query.kill();
        query.waitForFinished();
        return false;
    }
    return query.exitStatus() == QProcess::NormalExit && query.exitCode() == 0
        && !query.readAllStandardOutput().trimmed().isEmpty();
}

} // namespace

HelpOpener::HelpOpener(QStringList folders, UrlOpener open)
    : m_folders(std::move(folders)), m_open(std::move(open))
{
}

QStringList HelpOpener::HelpFolders()
{
    // The data directory first: a portable copy keeps its help there.
    const QString exeDir = base::ExecutableDir();
    QStringList folders;
    for (const QString &dir : {store::ProgramDir(), exeDir, QString(exeDir + QStringLiteral("../share/etibarix"))}) {
        const QString folder = QDir::cleanPath(dir) + u'/';
        if (!dir.isEmpty() && !folders.contains(folder))
            folders += folder;
    }
    for (const QString &dir : QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("etibarix"),
                                                        QStandardPaths::LocateDirectory)) {
        const QString folder = QDir::cleanPath(dir) + u'/';
        if (!folders.contains(folder))
            folders += folder;
    }
    return folders;
}

bool HelpOpener::DesktopOpen(const QUrl &url)
{
    if (url.isLocalFile()) {
        const QMimeType type = QMimeDatabase().mimeTypeForFile(url.toLocalFile());
        if (!desktopHasViewer(type.name()))
            return false;
    }
    return QDesktopServices::openUrl(url);
}

QString HelpOpener::find(const QString &name) const
{
    for (const QString &folder : m_folders) {
        const QString path = QDir(folder).filePath(name);
        if (QFileInfo(path).isFile())
            return QDir::cleanPath(path);
    }
    return {};
}

HelpOpener::Outcome HelpOpener::tryOpen() const
{
    const QString helpFile = find(HelpFileName);
    if (!helpFile.isEmpty() && m_open(QUrl::fromLocalFile(helpFile)))
        return Outcome::HelpFile;
    const QString index = find(HtmlIndexName);
    if (!index.isEmpty() && m_open(QUrl::fromLocalFile(index)))
        return Outcome::HtmlPages;
    return Outcome::NotOpened;
}

QString HelpOpener::notOpenedText(int language) const
{
    QStringList found;
    for (const QString &name : {HtmlIndexName, HelpFileName}) {
        const QString path = find(name);
        if (!path.isEmpty())
            found += QDir::toNativeSeparators(path);
    }
    if (!found.isEmpty())
        return i18n::AddedText(i18n::Text::HelpNotOpened, language).arg(found.join(u'\n'));
    QStringList folders;
    for (const QString &folder : m_folders)
        folders += QDir::toNativeSeparators(folder);
    return i18n::AddedText(i18n::Text::HelpNotFound, language).arg(folders.join(u'\n'));
}

HelpOpener::Outcome HelpOpener::open(QWidget *parent, int language) const
{
    const Outcome outcome = tryOpen();
    if (outcome == Outcome::NotOpened)
        QMessageBox::information(parent, i18n::AddedText(i18n::Text::HelpMessageCaption, language), notOpenedText(language));
    return outcome;
}

} // namespace etibarix::app
