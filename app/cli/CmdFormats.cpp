// formats: the label format list as the print tab shows it, in sorted order.

#include "base/Parameters.h"
#include "app/cli/Command.h"
#include "i18n/LanguageTable.h"
#include "labels/formats/LabelFormats.h"

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

    if (!ChooseTextLanguage(ctx, lang, QStringLiteral("formats")))
        return Usage;

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
