// The backup archive: any bytes restored into a data directory that already
// holds a table, its index, a parameter file and a file of another kind.
// Nothing is created outside the data directory, no directory or link is
// left inside it, a restore that does not succeed leaves every old file
// untouched, and one that succeeds keeps the files the archive does not
// replace and puts the ones it brings inside the directory as plain files.

#include "base/Error.h"
#include "backup/DataBackup.h"
#include "tests/fuzz/FuzzTarget.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>

using namespace etibarix;
using namespace etibarix::fuzz;

namespace {

QMap<QString, QByteArray> snapshot(const QString &dir)
{
    QMap<QString, QByteArray> files;
    for (const QString &name : QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System))
        files.insert(name, readFile(dir + name));
    return files;
}

const QMap<QString, QByteArray> &oldFiles()
{
    static const QMap<QString, QByteArray> files{
        {QStringLiteral("article.dbf"), QByteArray("old table")},
        {QStringLiteral("article.mdx"), QByteArray("old index")},
        {QStringLiteral("ETIBARIX.PAR"), QByteArray(120, '\1')},
        {QStringLiteral("notes.dbt"), QByteArray("old memo")},
    };
    return files;
}

} // namespace

ETIBARIX_FUZZ_SEEDS(archive)
{
    // Archives saved by the program from a data directory like the one the
    // target restores into, one with a file over two blocks.
    Seeds seeds;
    const QString dir = scratchDir() + QStringLiteral("seed/");
    for (int variant = 0; variant < 2; ++variant) {
        QDir(dir).removeRecursively();
        QDir().mkpath(dir + QStringLiteral("data"));
        writeFile(dir + QStringLiteral("data/article.dbf"), QByteArray("new table"));
        writeFile(dir + QStringLiteral("data/article.mdx"), QByteArray(variant ? 20000 : 10, 'i'));
        if (variant)
            writeFile(dir + QStringLiteral("data/other.dbt"), QByteArray("memo"));
        const backup::SaveResult saved =
            backup::SaveData(dir + QStringLiteral("data"), dir + QStringLiteral("save.ebk"), {}, 0);
        if (saved.outcome == backup::SaveResult::Saved)
            seeds.push_back({QStringLiteral("save-%1.ebk").arg(variant), readFile(dir + QStringLiteral("save.ebk"))});
    }
    QDir(dir).removeRecursively();
    return seeds;
}

ETIBARIX_FUZZ_TARGET(archive)
{
    const QString root = scratchDir();
    emptyDir(root);
    const QString data = root + QStringLiteral("data/");
    QDir().mkpath(data);
    for (auto it = oldFiles().begin(); it != oldFiles().end(); ++it)
        writeFile(data + it.key(), it.value());
    const QString archive = root + QStringLiteral("in.ebk");
    writeFile(archive, input);

    backup::BackupCallbacks callbacks;
    // No further volume exists: the prompt is cancelled.
    callbacks.askDisk = [](const backup::DiskPrompt &) { return false; };
    backup::RestoreResult result;
    bool thrown = false;
    try {
        result = backup::RestoreData(data, archive, callbacks);
    } catch (const base::Error &) {
        thrown = true;
    }

    const QStringList outside = QDir(root).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    FUZZ_CHECK(outside == (QStringList{QStringLiteral("data"), QStringLiteral("in.ebk")}),
               QStringLiteral("beside the data directory: ") + outside.join(u' '));
    FUZZ_CHECK(readFile(archive) == input, QStringLiteral("the archive changed"));
    const QFileInfoList inside = QDir(data).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : inside)
        FUZZ_CHECK(entry.isFile() && !entry.isSymLink(), QStringLiteral("left in the data directory: ") + entry.fileName());

    const QMap<QString, QByteArray> now = snapshot(data);
    if (thrown || result.outcome != backup::RestoreResult::Restored) {
        FUZZ_CHECK(now == oldFiles(), QStringLiteral("a failed restore changed the data"));
        return;
    }
    QStringList brought;
    for (const QString &file : result.files) {
        const QFileInfo info(file);
        FUZZ_CHECK(info.absolutePath() + u'/' == data && info.isFile(), QStringLiteral("restored outside: ") + file);
        brought << info.fileName().toLower();
    }
    for (auto it = oldFiles().begin(); it != oldFiles().end(); ++it) {
        const QString lower = it.key().toLower();
        if (brought.contains(lower))
            continue;
        if (lower == u"article.dbf" || lower == u"article.mdx")
            FUZZ_CHECK(!now.contains(it.key()), QStringLiteral("old table file kept: ") + it.key());
        else
            FUZZ_CHECK(now.value(it.key()) == it.value(), QStringLiteral("file not in the archive changed: ") + it.key());
    }
    FUZZ_CHECK(now.size() == QSet<QString>(brought.begin(), brought.end()).size()
                   + (now.contains(QStringLiteral("ETIBARIX.PAR")) && !brought.contains(QStringLiteral("etibarix.par")))
                   + (now.contains(QStringLiteral("notes.dbt")) && !brought.contains(QStringLiteral("notes.dbt"))),
               QStringLiteral("files that nobody brought"));
}
