// print: the print job of the print tab, onto a printer or into a PDF file.
// printers: the installed printers.

#include "records/RecordDatabase.h"
#include "base/DataDir.h"
#include "store/TableFiles.h"
#include "base/Cp1252.h"
#include "base/Parameters.h"
#include "app/cli/Command.h"
#include "i18n/LanguageTable.h"
#include "labels/formats/LabelFormats.h"
#include "labels/print/LabelReport.h"
#include "labels/print/PrintJob.h"
#include "labels/printer/PrinterList.h"
#include "labels/printer/PrintPipeline.h"
#include "records/ListStatements.h"

#include <QFontDatabase>

namespace etibarix::cli {
namespace {

// The entry the label format list selects after it is built (entry 8 with
// the built-in texts; a language file may order the list otherwise).
int defaultFormatEntry()
{
    base::Parameters.Language = 1;
    base::PeekParameters();
    i18n::LoadLanguageTable();
    labels::LabelFormats formats;
    formats.BuildLabelFormats();
    const int entry = formats.SelectedLabelFormat();
    i18n::ClearLanguageTable();
    return entry;
}

int runPrint(Context &ctx, const QStringList &arguments)
{
    Args args(arguments);
    const std::optional<QString> pdf = args.take(QStringLiteral("--pdf"));
    const std::optional<QString> printer = args.take(QStringLiteral("--printer"));
    const std::optional<QString> format = args.take(QStringLiteral("--format"));
    const std::optional<QString> codeSet = args.take(QStringLiteral("--codeset"));
    const bool noText1 = args.flag(QStringLiteral("--no-text1"));
    const bool noText2 = args.flag(QStringLiteral("--no-text2"));
    const bool builtin = args.flag(QStringLiteral("--builtin-layouts"));
    const bool matching = args.flag(QStringLiteral("--matching"));
    const ListOptions list = ListOptions::take(args);
    if (args.hasError())
        return usageError(ctx, args.error());
    if (!args.rest().isEmpty())
        return usageError(ctx, QStringLiteral("print: unexpected argument: %1").arg(args.rest().first()));
    if (pdf.has_value() == printer.has_value())
        return usageError(ctx, QStringLiteral("print: give either --pdf FILE or --printer NAME"));
    if (pdf && pdf->isEmpty())
        return usageError(ctx, QStringLiteral("print: --pdf needs a file name"));
    if (!matching && list.any())
        return usageError(ctx, QStringLiteral("print: criteria and sort options need --matching"));

    labels::PrintJobSettings settings;
    if (format) {
        bool ok = false;
        settings.formatEntry = format->toInt(&ok);
        if (!ok || settings.formatEntry < 1 || settings.formatEntry > labels::LabelFormats::Count)
            return usageError(ctx, QStringLiteral("print: --format must be 1 to 13"));
    } else {
        settings.formatEntry = defaultFormatEntry();
    }
    if (codeSet) {
        const qsizetype i = QStringList{u"A"_qs, u"B"_qs, u"C"_qs}.indexOf(codeSet->toUpper());
        if (i < 0)
            return usageError(ctx, QStringLiteral("print: --codeset must be A, B or C"));
        settings.codeSet = int(i) + 1;
    }
    settings.text1 = !noText1;
    settings.text2 = !noText2;
    settings.allRecords = !matching;
    if (matching && !list.toState(ctx, QStringLiteral("print"), settings.list))
        return Usage;
    settings.printerName = printer.value_or(QString());
    const QFont menuFont = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    settings.menuFontName = menuFont.family();
    settings.menuFontCharset = 1;
    settings.layoutFile = base::DataDir() + QStringLiteral("etbdoc.rav");

    labels::LabelReport report;
    // The question about a disk file newer than the built-in layouts.
    report.setQuestionHandler([builtin](const QString &) { return !builtin; });
    report.setMessageHandler([&ctx](const QString &message) { ctx.err << "etibarix-cli: " << message << Qt::endl; });

    // The table is opened up front, as the program does at start, so that a
    // table that cannot be opened is reported with the engine's own reason.
    records::RecordDatabase data;
    store::TableCallbacks callbacks;
    callbacks.message = [&ctx](const QString &text) { ctx.err << "etibarix-cli: " << text << Qt::endl; };
    data.table().setCallbacks(std::move(callbacks));
    store::OpenArticleTable(data.table());
    labels::PrintOutcome outcome;
    try {
        labels::PrintPipeline pipeline(report, data.commandQuery());
        outcome = pipeline.run(settings, pdf ? labels::PrintDestination::pdfFile(*pdf)
                                             : labels::PrintDestination::printer());
    } catch (...) {
        store::CloseArticleTable(data.table());
        throw;
    }
    data.table().close();

    const labels::PrintJobResult &result = outcome.job;
    ctx.out << result.sheets << (result.sheets == 1 ? " sheet, " : " sheets, ") << result.labels
            << (result.labels == 1 ? " label" : " labels") << '\n';
    if (pdf) {
        if (!outcome.pdfFile.isEmpty())
            ctx.out << "written to " << outcome.pdfFile << '\n';
        else
            ctx.out << "nothing to print: " << *pdf << " not written\n";
    } else if (result.sheets > 0) {
        ctx.out << "printed on " << outcome.printer << '\n';
    }
    return Ok;
}

int runPrinters(Context &ctx, const QStringList &arguments)
{
    if (!arguments.isEmpty())
        return usageError(ctx, QStringLiteral("printers: unexpected argument: %1").arg(arguments.first()));
    const labels::PrinterList list = labels::FillPrinterList();
    for (const QString &name : list.names)
        ctx.out << name << (name == list.defaultName ? "\t(default)" : "") << '\n';
    return Ok;
}

const CommandRegistrar printRegistrar{Command{
    QStringLiteral("print"),
    QStringLiteral("(--pdf OUT.pdf | --printer NAME) [--format 1..13] [--codeset A|B|C] [--no-text1] [--no-text2] "
                   "[--builtin-layouts] [--matching [--cb T] [--t1 T] [--t2 T] [--top flagged|unflagged|all] "
                   "[--sort num|cb|lib1|lib2|quantite|topp] [--desc]]   print the records as label sheets"),
    runPrint,
}};

const CommandRegistrar printersRegistrar{Command{
    QStringLiteral("printers"),
    QStringLiteral("  list the installed printers, the default one marked"),
    runPrinters,
}};

} // namespace
} // namespace etibarix::cli
