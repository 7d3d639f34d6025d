// reset: erases every record, as the reset button does after its two
// questions; --yes stands for both answers, so nothing is erased by accident.

#include "app/cli/Command.h"
#include "records/RecordDatabase.h"
#include "store/TableFiles.h"

namespace etibarix::cli {
namespace {

int runReset(Context &ctx, const QStringList &arguments)
{
    Args args(arguments);
    const bool yes = args.flag(QStringLiteral("--yes"));
    if (args.hasError())
        return usageError(ctx, QStringLiteral("reset: ") + args.error());
    if (!args.rest().isEmpty())
        return usageError(ctx, QStringLiteral("reset: unexpected argument: ") + args.rest().first());
    if (!yes)
        return usageError(ctx, QStringLiteral("reset: every record would be erased; give --yes to go ahead"));

    records::RecordDatabase data;
    store::DeleteArticleFiles(data.table());
    // The table is created again, empty, as the program's next list does.
    store::OpenArticleTable(data.table());
    data.table().close();
    return Ok;
}

const CommandRegistrar resetCommand({QStringLiteral("reset"),
    QStringLiteral("--yes  erase every record (the table is created again, empty)"), runReset});

} // namespace
} // namespace etibarix::cli
