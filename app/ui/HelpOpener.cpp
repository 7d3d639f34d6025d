#include "app/ui/HelpOpener.h"

#include "base/DataDir.h"
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

QString pick(int language, const char16_t *fr, const char16_t *en, const char16_t *pt)
{
    const char16_t *texts[] = {fr, en, pt};
    return QString::fromUtf16(texts[(language >= 1 && language <= 3) ? language - 1 : 0]);
}

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
    for (const QString &dir : {store::ProgramDir(), exeDir, exeDir + QStringLiteral("../share/etibarix")}) {
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
        return pick(language, u"L'aide n'a pas pu être ouverte : aucun programme du bureau ne l'affiche.\nElle se trouve ici :\n%1",
                   u"The help could not be opened: no program of the desktop shows it.\nIt is here:\n%1",
                   u"Não foi possível abrir a ajuda: nenhum programa do ambiente de trabalho a mostra.\nEncontra-se aqui:\n%1")
            .arg(found.join(u'\n'));
    QStringList folders;
    for (const QString &folder : m_folders)
        folders += QDir::toNativeSeparators(folder);
    return pick(language, u"L'aide est introuvable. Elle est cherchée dans :\n%1",
               u"The help was not found. It is looked for in:\n%1",
               u"A ajuda não foi encontrada. É procurada em:\n%1")
        .arg(folders.join(u'\n'));
}

HelpOpener::Outcome HelpOpener::open(QWidget *parent, int language) const
{
    const Outcome outcome = tryOpen();
    if (outcome == Outcome::NotOpened)
        QMessageBox::information(parent, pick(language, u"Aide", u"Help", u"Ajuda"), notOpenedText(language));
    return outcome;
}

} // namespace etibarix::app
