#include "backup/DataBackup.h"

#include "base/Error.h"
#include "backup/BackupArchive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>

#include <filesystem>
#include <vector>

namespace etibarix::backup {
namespace {

namespace fs = std::filesystem;

QString withSlash(const QString &dir)
{
    QString d = QDir(dir.isEmpty() ? QStringLiteral(".") : dir).absolutePath();
    if (!d.endsWith(u'/'))
        d += u'/';
    return d;
}

fs::path fsPath(const QString &path)
{
    return fs::path(QFile::encodeName(path).toStdString());
}

bool isTableFile(const QString &lowerName)
{
    return lowerName == u"article.dbf" || lowerName == u"article.mdx";
}

// The name a restored file gets in the data directory. The table opens
// "article.dbf" by that exact name, so an archive from a system that ignores
// letter case ("ARTICLE.DBF") still brings the table back.
QString placedName(const QString &name)
{
    const QString lower = name.toLower();
    return isTableFile(lower) ? lower : name;
}

// Renames that can be undone in reverse order.
class Moves {
public:
    bool move(const QString &from, const QString &to)
    {
        std::error_code ec;
        fs::rename(fsPath(from), fsPath(to), ec);
        if (ec)
            return false;
        m_done.push_back({from, to});
        return true;
    }
    void undo()
    {
        for (auto it = m_done.rbegin(); it != m_done.rend(); ++it) {
            std::error_code ec;
            fs::rename(fsPath(it->second), fsPath(it->first), ec);
        }
        m_done.clear();
    }

private:
    std::vector<std::pair<QString, QString>> m_done;
};

// Puts the extracted files (names relative to staging) into dataDir: the
// files they replace and the table files first go aside, so that any failing
// rename can put everything back as it was.
bool replaceDataFiles(const QString &dataDir, const QString &staging, const QStringList &names)
{
    QTemporaryDir aside(dataDir + QStringLiteral(".previous-XXXXXX"));
    if (!aside.isValid())
        return false;
    QSet<QString> incoming;
    for (const QString &name : names)
        incoming.insert(name.toLower());

    Moves moves;
    const QStringList present =
        QDir(dataDir).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : present) {
        const QString lower = name.toLower();
        if (!isTableFile(lower) && !incoming.contains(lower))
            continue;
        if (!moves.move(dataDir + name, aside.path() + u'/' + name)) {
            moves.undo();
            return false;
        }
    }
    for (const QString &name : names) {
        if (!moves.move(staging + name, dataDir + placedName(name))) {
            moves.undo();
            return false;
        }
    }
    return true;
}

} // namespace

QStringList dataFilePatterns(const QString &dataDir)
{
    const QString dir = withSlash(dataDir);
    return {dir + QStringLiteral("*.dbf"), dir + QStringLiteral("*.mdx"), dir + QStringLiteral("*.dbt")};
}

SaveResult SaveData(const QString &dataDir, const QString &archivePath, const BackupCallbacks &callbacks,
                    std::int32_t maxSize)
{
    SaveResult result;
    BackupArchive component;
    component.setCallbacks(callbacks);
    component.setCompressionLevel(clMax);
    component.setMaxSize(maxSize);
    bool saved = false;
    try {
        saved = component.Backup(dataFilePatterns(dataDir), archivePath);
    } catch (const base::Error &e) {
        // A data file that cannot be opened while the sizes are counted: no
        // archive, and no message from the component.
        result.message = e.text();
        return result;
    }
    result.volumes = component.volumes();
    result.errorCode = component.errorCode();
    result.outcome = saved ? SaveResult::Saved : result.errorCode != 0 ? SaveResult::Failed : SaveResult::Cancelled;
    return result;
}

RestoreResult RestoreData(const QString &dataDir, const QString &archivePath, const BackupCallbacks &callbacks,
                          const std::function<void()> &closeTable)
{
    RestoreResult result;
    if (!QFileInfo(archivePath).isFile()) {
        result.outcome = RestoreResult::NoArchive;
        return result;
    }
    const QString dir = withSlash(dataDir);
    BackupArchive component;
    component.setCallbacks(callbacks);

    QTemporaryDir staging(dir + QStringLiteral(".restore-XXXXXX"));
    if (!staging.isValid()) {
        component.ShowError(1);
        result.errorCode = 1;
        return result;
    }
    const QString stagingDir = staging.path() + u'/';
    if (!component.Restore(archivePath, stagingDir)) {
        result.errorCode = component.errorCode();
        result.outcome = result.errorCode != 0 ? RestoreResult::Failed : RestoreResult::Cancelled;
        return result;
    }

    // One file per name, letter case ignored; a later entry replaces an
    // earlier one, as it would have on the system that wrote the archive.
    QStringList names;
    QHash<QString, qsizetype> position;
    for (const QString &path : component.restoredFiles()) {
        const QString name = path.mid(stagingDir.size());
        const QString lower = name.toLower();
        if (position.contains(lower))
            names[position[lower]].clear();
        position.insert(lower, names.size());
        names << name;
    }
    names.removeAll(QString());

    if (closeTable)
        closeTable();
    if (!replaceDataFiles(dir, stagingDir, names)) {
        component.ShowError(1);
        result.errorCode = 1;
        return result;
    }
    for (const QString &name : names)
        result.files << dir + placedName(name);
    result.outcome = RestoreResult::Restored;
    return result;
}

} // namespace etibarix::backup
