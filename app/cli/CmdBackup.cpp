// etibarix-cli backup / restore: the save and restore commands on the data
// directory. Disk prompts are answered OK and echoed to stderr; a volume that
// is missing when restoring ends the run instead of asking forever.

#include "app/cli/Command.h"
#include "backup/DataBackup.h"

#include <QDir>
#include <QFileInfo>

#include <limits>

namespace etibarix::cli {
namespace {

backup::BackupCallbacks terminalCallbacks(Context &ctx, bool &errorShown)
{
    backup::BackupCallbacks callbacks;
    callbacks.askDisk = [&ctx](const backup::DiskPrompt &prompt) {
        ctx.err << prompt.text << Qt::endl;
        if (prompt.restoring && !QFileInfo(prompt.volumePath).isFile()) {
            ctx.err << "etibarix-cli: missing volume " << QDir::toNativeSeparators(prompt.volumePath) << Qt::endl;
            return false;
        }
        return true;
    };
    callbacks.showError = [&ctx, &errorShown](const QString &text) {
        ctx.err << "etibarix-cli: " << text << Qt::endl;
        errorShown = true;
    };
    return callbacks;
}

int runBackup(Context &ctx, const QStringList &arguments)
{
    Args args(arguments);
    const std::optional<QString> maxSizeText = args.take(QStringLiteral("--max-size"));
    if (args.hasError())
        return usageError(ctx, args.error());
    if (args.rest().size() != 1 || args.rest().first().startsWith(QStringLiteral("--")))
        return usageError(ctx, QStringLiteral("usage: backup ARCHIVE [--max-size BYTES]"));
    std::int32_t maxSize = 1300000;
    if (maxSizeText) {
        bool ok = false;
        const qlonglong value = maxSizeText->toLongLong(&ok);
        constexpr qlonglong smallest = 16384 + 100 + 5;
        if (!ok || value < 0 || value > std::numeric_limits<std::int32_t>::max() || (value > 0 && value < smallest))
            return usageError(ctx, QStringLiteral("--max-size must be 0 (no limit) or between %1 and %2")
                                       .arg(smallest)
                                       .arg(std::numeric_limits<std::int32_t>::max()));
        maxSize = std::int32_t(value);
    }
    const QString archive = QFileInfo(args.rest().first()).absoluteFilePath();
    bool errorShown = false;
    const backup::SaveResult result = backup::SaveData(ctx.dataDir, archive, terminalCallbacks(ctx, errorShown), maxSize);
    switch (result.outcome) {
    case backup::SaveResult::Saved:
        for (const QString &volume : result.volumes)
            ctx.out << QDir::toNativeSeparators(volume) << '\n';
        return Ok;
    case backup::SaveResult::Cancelled:
        return failure(ctx, QStringLiteral("backup cancelled"));
    case backup::SaveResult::Failed:
        break;
    }
    if (errorShown)
        return Failed;
    return failure(ctx, result.message.isEmpty() ? QStringLiteral("backup failed") : result.message);
}

int runRestore(Context &ctx, const QStringList &arguments)
{
    if (arguments.size() != 1 || arguments.first().startsWith(QStringLiteral("--")))
        return usageError(ctx, QStringLiteral("usage: restore ARCHIVE"));
    const QString archive = QFileInfo(arguments.first()).absoluteFilePath();
    bool errorShown = false;
    // The terminal tool holds no open table, so there is nothing to close.
    const backup::RestoreResult result =
        backup::RestoreData(ctx.dataDir, archive, terminalCallbacks(ctx, errorShown));
    switch (result.outcome) {
    case backup::RestoreResult::Restored:
        for (const QString &file : result.files)
            ctx.out << QDir::toNativeSeparators(file) << '\n';
        return Ok;
    case backup::RestoreResult::NoArchive:
        return failure(ctx, QStringLiteral("no such archive: %1").arg(QDir::toNativeSeparators(archive)));
    case backup::RestoreResult::Cancelled:
        return failure(ctx, QStringLiteral("restore cancelled; the data files were left as they were"));
    case backup::RestoreResult::Failed:
        break;
    }
    return errorShown ? Failed : failure(ctx, QStringLiteral("restore failed"));
}

const CommandRegistrar backupCommand(Command{QStringLiteral("backup"),
                                             QStringLiteral("ARCHIVE [--max-size BYTES]  save the data files into a backup archive"),
                                             runBackup});
const CommandRegistrar restoreCommand(Command{QStringLiteral("restore"),
                                              QStringLiteral("ARCHIVE  restore the data files from a backup archive"),
                                              runRestore});

} // namespace
} // namespace etibarix::cli
