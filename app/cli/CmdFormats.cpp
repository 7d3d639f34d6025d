// formats: the label format list as the print tab shows it: the built-in
// formats in sorted order, then the user's own (formats.json), whose entry
// column reads "custom".

#include "base/Parameters.h"
#include "app/cli/Command.h"
#include "app/cli/LabelCommands.h"
#include "i18n/LanguageTable.h"
#include "labels/formats/LabelFormats.h"

namespace etibarix::cli {
namespace {

} // namespace

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
    if (!formats.customFormatsError().isEmpty())
        ctx.err << "etibarix-cli: warning: " << formats.customFormatsError() << Qt::endl;
    const QStringList &items = formats.Items();
    for (int position = 0; position < items.size(); ++position) {
        const QString &item = items.at(position);
        const int entry = labels::LabelFormats::EntryNumberOfItem(item);
        ctx.out << position << '\t' << (formats.CustomFormat(entry) ? QStringLiteral("custom") : QString::number(entry))
                << '\t' << labels::LabelFormats::DisplayPartOfItem(item) << '\n';
    }
    i18n::ClearLanguageTable();
    return Ok;
}

} // namespace etibarix::cli
