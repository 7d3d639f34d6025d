// import: the CSV import of the wizard, with the wizard's choices as options
// and its defaults. Prints the wizard's final message; what did not go in as
// the file had it is told on stderr, and lines the table refused make the
// command fail.

#include "records/RecordDatabase.h"
#include "store/TableFiles.h"
#include "base/Parameters.h"
#include "app/cli/Command.h"
#include "i18n/LanguageTable.h"
#include "i18n/TextFile.h"
#include "records/CsvImport.h"


#include <optional>

namespace etibarix::cli {
namespace {

// A field number 1..10, or "none" when allowed (gives NoField).
std::optional<int> fieldOption(const std::optional<QString> &value, int fallback, bool noneAllowed)
{
    if (!value)
        return fallback;
    if (noneAllowed && *value == u"none")
        return records::NoField;
    bool ok = false;
    const int n = value->toInt(&ok);
    if (!ok || n < 1 || n > records::ImportFieldCount)
        return std::nullopt;
    return n;
}

int runImport(Context &ctx, const QStringList &arguments)
{
    Args args(arguments);
    const auto sep = args.take(QStringLiteral("--sep"));
    const auto skip = args.take(QStringLiteral("--skip"));
    const auto [cb, t1, t2, qty] = FieldOptions::take(args);
    const auto lang = args.take(QStringLiteral("--lang"));
    const auto encoding = args.take(QStringLiteral("--encoding"));
    const bool skipExisting = args.flag(QStringLiteral("--skip-existing"));
    if (args.hasError())
        return usageError(ctx, QStringLiteral("import: ") + args.error());
    if (args.rest().size() != 1)
        return usageError(ctx, args.rest().isEmpty()
                ? QStringLiteral("import: give the CSV file")
                : QStringLiteral("import: unexpected argument: ") + args.rest().at(1));
    const QString path = args.rest().first();
    if (path.startsWith(QStringLiteral("--")))
        return usageError(ctx, QStringLiteral("import: unknown option: ") + path);

    records::CsvImportOptions options;
    if (sep) {
        if (*sep != u"," && *sep != u";")
            return usageError(ctx, QStringLiteral("import: --sep takes , or ;"));
        options.separator = static_cast<char>(sep->at(0).unicode());
    }
    if (skip) {
        bool ok = false;
        options.headerLines = skip->toInt(&ok);
        if (!ok || options.headerLines < 0 || options.headerLines > 6)
            return usageError(ctx, QStringLiteral("import: --skip takes 0 to 6"));
    }
    if (encoding) {
        if (*encoding == u"auto")
            options.encoding = i18n::TextEncoding::Automatic;
        else if (encoding->compare(u"utf-8", Qt::CaseInsensitive) == 0)
            options.encoding = i18n::TextEncoding::Utf8;
        else if (encoding->compare(u"windows-1252", Qt::CaseInsensitive) == 0)
            options.encoding = i18n::TextEncoding::Windows1252;
        else
            return usageError(ctx, QStringLiteral("import: --encoding takes auto, utf-8 or windows-1252"));
    }
    options.skipExisting = skipExisting;
    const struct {
        const char *name;
        const std::optional<QString> &value;
        int *field;
        bool noneAllowed;
    } fields[] = {
        {"--cb", cb, &options.fieldCb, false},
        {"--t1", t1, &options.fieldText1, false},
        {"--t2", t2, &options.fieldText2, true},
        {"--qty", qty, &options.fieldQuantity, true},
    };
    for (const auto &f : fields) {
        const auto n = fieldOption(f.value, *f.field, f.noneAllowed);
        if (!n)
            return usageError(ctx, QStringLiteral("import: %1 takes 1 to 10%2")
                                       .arg(QLatin1StringView(f.name), f.noneAllowed ? QStringLiteral(" or none") : QString()));
        *f.field = *n;
    }
    if (!ChooseTextLanguage(ctx, lang, QStringLiteral("import")))
        return Usage;
    // Opened once before the table is touched, so that a file the reader
    // cannot open is reported in its own words and changes nothing.
    {
        i18n::TextFile probe;
        probe.SetEncoding(i18n::TextEncoding::Windows1252);   // no need to scan it twice
        probe.Open(path);
    }

    records::RecordDatabase data;
    store::TableCallbacks callbacks;
    callbacks.message = [&ctx](const QString &text) { ctx.err << "etibarix-cli: " << text << Qt::endl; };
    data.table().setCallbacks(std::move(callbacks));
    OpenTable(data.table());
    records::CsvImportResult result;
    try {
        result = records::RunCsvImport(data.commandQuery(), path, options);
    } catch (...) {
        store::CloseArticleTable(data.table());
        i18n::ClearLanguageTable();
        throw;
    }
    data.table().close();

    ctx.out << records::ImportCountText(result.recordsStored) << '\n';
    if (result.skipExisting)
        ctx.out << records::ImportSkippedText(result) << '\n';
    const QString notes = records::ImportNotesText(result);
    if (!notes.isEmpty())
        ctx.err << notes << Qt::endl;
    i18n::ClearLanguageTable();
    return result.rejected.lines > 0 ? Failed : Ok;
}

const CommandRegistrar importCommand({QStringLiteral("import"),
    QStringLiteral("FILE [--sep ,|;] [--skip 0..6] [--cb 1..10] [--t1 1..10] [--t2 1..10|none] "
                   "[--qty 1..10|none] [--encoding auto|utf-8|windows-1252] [--skip-existing] [--lang 1|2|3]  "
                   "import a CSV file, print the count"),
    runImport});

} // namespace
} // namespace etibarix::cli
