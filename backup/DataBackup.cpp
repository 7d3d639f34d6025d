#include "backup/DataBackup.h"

#include "base/Error.h"
#include "backup/BackupArchive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

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

// A restore swaps the data files in two steps, old ones aside, new ones in.
// A run killed in between must not leave a mix, so the swap is written down
// first: the aside directory holds a journal (the staging directory's name,
// then the names coming in) and the old files under files/, and it gets a
// "done" mark once every new file is in place. The next start finishes the
// job from what it finds (RecoverInterruptedRestore): a done swap loses its
// aside directory, any other is undone. While a restore runs, its staging
// directory is locked, so that a second program leaves it alone.
const QString AsidePrefix = QStringLiteral(".previous-");
const QString StagingPrefix = QStringLiteral(".restore-");
const QString JournalName = QStringLiteral("journal");
const QString DoneName = QStringLiteral("done");
const QString AsideFiles = QStringLiteral("files/");

// An exclusive lock on a directory, held while the object lives.
class DirLock {
public:
    explicit DirLock(const QString &dir)
        : m_fd(::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        if (m_fd >= 0 && ::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    ~DirLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    DirLock(const DirLock &) = delete;
    DirLock &operator=(const DirLock &) = delete;
    bool held() const { return m_fd >= 0; }

private:
    int m_fd;
};

// True when another program holds the staging directory (a restore under way).
bool stagingInUse(const QString &staging)
{
    if (!QFileInfo(staging).isDir())
        return false;
    return !DirLock(staging).held();
}

bool writeWhole(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size() && f.flush();
}

// Puts the extracted files (names relative to staging) into dataDir: the
// files they replace and the table files first go aside, so that any failing
// rename can put everything back as it was.
bool replaceDataFiles(const QString &dataDir, const QString &staging, const QStringList &names)
{
    QTemporaryDir aside(dataDir + AsidePrefix + QStringLiteral("XXXXXX"));
    if (!aside.isValid())
        return false;
    const QString asideDir = aside.path() + u'/';
    QByteArray journal = QFile::encodeName(QFileInfo(staging.chopped(1)).fileName()) + '\n';
    QSet<QString> incoming;
    for (const QString &name : names) {
        incoming.insert(name.toLower());
        journal += QFile::encodeName(placedName(name)) + '\n';
    }
    if (!QDir().mkpath(asideDir + AsideFiles) || !writeWhole(asideDir + JournalName, journal))
        return false;

    Moves moves;
    const QStringList present =
        QDir(dataDir).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : present) {
        const QString lower = name.toLower();
        if (!isTableFile(lower) && !incoming.contains(lower))
            continue;
        if (!moves.move(dataDir + name, asideDir + AsideFiles + name)) {
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
    // From here on the new files stay, whatever happens to the rest.
    if (!writeWhole(asideDir + DoneName, QByteArray())) {
        moves.undo();
        return false;
    }
    return true;
}

// Undoes or completes the swap recorded in one aside directory.
void recoverAside(const QString &dataDir, const QString &asideDir)
{
    const QByteArray journal = [&] {
        QFile f(asideDir + JournalName);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    QList<QByteArray> lines = journal.split('\n');
    const QString stagingName = lines.isEmpty() ? QString() : QFile::decodeName(lines.takeFirst());
    const QString staging = stagingName.startsWith(StagingPrefix) && !stagingName.contains(u'/')
        ? dataDir + stagingName + u'/' : QString();
    if (!staging.isEmpty() && stagingInUse(staging))
        return;   // still running in another program
    if (!QFileInfo::exists(asideDir + DoneName)) {
        // New files that were moved in (no longer in staging) go; the old
        // ones come back.
        QSet<QString> staged;
        if (!staging.isEmpty()) {
            for (const QString &name : QDir(staging).entryList(QDir::Files | QDir::Hidden | QDir::System))
                staged.insert(name.toLower());
        }
        for (const QByteArray &line : lines) {
            const QString name = QFile::decodeName(line);
            if (name.isEmpty() || name.contains(u'/') || name == u"." || name == u"..")
                continue;
            if (!staged.contains(name.toLower()))
                QFile::remove(dataDir + name);
        }
        const QStringList old = QDir(asideDir + AsideFiles).entryList(QDir::Files | QDir::Hidden | QDir::System);
        for (const QString &name : old) {
            std::error_code ec;
            fs::rename(fsPath(asideDir + AsideFiles + name), fsPath(dataDir + name), ec);
        }
    }
    if (!staging.isEmpty())
        QDir(staging).removeRecursively();
    QDir(asideDir).removeRecursively();
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

void RecoverInterruptedRestore(const QString &dataDir)
{
    const QString dir = withSlash(dataDir);
    const QDir d(dir);
    for (const QString &name : d.entryList({AsidePrefix + u'*'}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot))
        recoverAside(dir, dir + name + u'/');
    // Staging directories of restores that ended before their swap began.
    for (const QString &name : d.entryList({StagingPrefix + u'*'}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot)) {
        if (!stagingInUse(dir + name))
            QDir(dir + name).removeRecursively();
    }
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

    RecoverInterruptedRestore(dir);
    QTemporaryDir staging(dir + StagingPrefix + QStringLiteral("XXXXXX"));
    const DirLock stagingLock(staging.path());
    if (!staging.isValid() || !stagingLock.held()) {
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
