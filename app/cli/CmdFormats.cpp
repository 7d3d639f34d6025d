// formats: the label format list as the print tab shows it, in sorted order.

#include "app/Parameters.h"
#include "app/cli/Command.h"
#include "i18n/LanguageTable.h"
#include "labels/LabelFormats.h"

namespace etibarix::cli {
namespace {

int runFormats(Context &ctx, const QStringList &arguments)
{
    Args args(arguments);
    const std::optional<QString> lang = args.take(QStringLiteral("--lang"));
    if (args.hasError())
        return usageError(ctx, args.error());
    if (!args.rest().isEmpty())
        return usageError(ctx, QStringLiteral("formats: unexpected argument: %1").arg(args.rest().first()));

    if (lang) {
        bool ok = false;
        const int language = lang->toInt(&ok);
        if (!ok || language < 1 || language > 3)
            return usageError(ctx, QStringLiteral("formats: --lang must be 1, 2 or 3"));
        // An explicit language means the built-in texts of that language.
        i18n::ClearLanguageTable();
        app::Parameters.Language = language;
    } else {
        // As the program starts: language 1 unless the parameter file says
        // otherwise, and the language file's texts when it is there. Only
        // looks: a damaged parameter file is left for the program to handle.
        app::Parameters.Language = 1;
        app::PeekParameters();
        i18n::LoadLanguageTable();
    }

    labels::LabelFormats formats;
    formats.BuildLabelFormats();
    const QStringList &items = formats.Items();
    for (int position = 0; position < items.size(); ++position) {
        const QString &item = items.at(position);
        ctx.out << position << '\t' << labels::LabelFormats::EntryNumberOfItem(item) << '\t'
                << labels::LabelFormats::DisplayPartOfItem(item) << '\n';
    }
    i18n::ClearLanguageTable();
    return Ok;
}

const CommandRegistrar registrar{Command{
    QStringLiteral("formats"),
    QStringLiteral("[--lang 1|2|3]   list the label formats in sorted order: position, entry, text"),
    runFormats,
}};

} // namespace
} // namespace etibarix::cli
