// print: the print job of the print tab, onto a printer or into a PDF file.
// printers: the installed printers.

#include "records/RecordDatabase.h"
#include "base/DataDir.h"
#include "store/TableFiles.h"
#include "base/Cp1252.h"
#include "base/Parameters.h"
#include "app/cli/Command.h"
#include "app/cli/LabelCommands.h"
#include "i18n/LanguageTable.h"
#include "labels/formats/LabelFormats.h"
#include "labels/print/Calibration.h"
#include "labels/print/LabelReport.h"
#include "labels/print/PrintJob.h"
#include "labels/printer/PrinterList.h"
#include "labels/printer/PrintPipeline.h"
#include "records/ListStatements.h"

#include <QFontDatabase>

namespace etibarix::cli {
namespace {

// The label format list as the program builds it in this directory, in its
// language: the entry it selects first (entry 8 with the built-in texts; a
// language file may order the list otherwise) and the user's own formats.
void buildFormats(labels::LabelFormats &formats)
{
    base::Parameters.Language = 1;
    base::PeekParameters();
    i18n::LoadLanguageTable();
    formats.BuildLabelFormats();
    i18n::ClearLanguageTable();
}

// A number of millimetres within the calibration's limits, or nullopt.
std::optional<double> offsetValue(const QString &text)
{
    bool ok = false;
    const double mm = text.toDouble(&ok);
    if (!ok || !labels::Calibration::inRange(mm))
        return std::nullopt;
    return labels::Calibration::normalised(mm);
}

// One line a finding; the job prints all the same.
void warnFindings(Context &ctx, const labels::PrintFindings &findings)
{
    for (const labels::PrintFinding &f : findings) {
        ctx.err << "warning: record " << f.record << ": barcode ";
        if (f.kind == labels::PrintFinding::LostCharacters)
            ctx.err << '"' << base::fromCp1252(f.barcode) << "\" loses \"" << base::fromCp1252(f.lost) << "\" in Code 128";
        else
            ctx.err << base::fromCp1252(f.barcode) << " is " << QString::number(f.symbolMm, 'f', 1) << " mm wide, the label "
                    << QString::number(f.labelMm, 'f', 1) << " mm";
        ctx.err << Qt::endl;
    }
}
} // namespace

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
    const std::optional<QString> start = args.take(QStringLiteral("--start"));
    const std::optional<QString> offsetX = args.take(QStringLiteral("--offset-x"));
    const std::optional<QString> offsetY = args.take(QStringLiteral("--offset-y"));
    const bool testSheet = args.flag(QStringLiteral("--test-sheet"));
    const bool fit = args.flag(QStringLiteral("--fit"));
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
    labels::LabelFormats formats;
    buildFormats(formats);
    if (!formats.customFormatsError().isEmpty())
        ctx.err << "etibarix-cli: warning: " << formats.customFormatsError() << Qt::endl;
    if (format) {
        settings.formatEntry = formats.EntryNamed(*format);
        if (settings.formatEntry < 0)
            return usageError(ctx, QStringLiteral("print: --format must be 1 to 13 or the name of one of your formats; "
                                                  "no format is named \"%1\"").arg(*format));
    } else {
        settings.formatEntry = formats.SelectedLabelFormat();
    }
    if (const labels::SheetFormat *custom = formats.CustomFormat(settings.formatEntry))
        settings.customFormat = *custom;
    if (start) {
        bool ok = false;
        settings.startSlot = start->toInt(&ok);
        const int slots = formats.SlotCount(settings.formatEntry);
        if (!ok || settings.startSlot < 1 || settings.startSlot > slots)
            return usageError(ctx, QStringLiteral("print: --start must be 1 to %1, the labels of the format").arg(slots));
    }
    if (offsetX || offsetY) {
        const auto x = offsetValue(offsetX.value_or(QStringLiteral("0")));
        const auto y = offsetValue(offsetY.value_or(QStringLiteral("0")));
        if (!x || !y)
            return usageError(ctx, QStringLiteral("print: --offset-x and --offset-y must be -20 to 20 (mm)"));
        settings.offsetMm = QPointF(*x, *y);
    }
    settings.shrinkToFit = fit;
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

    // The table is opened up front, as the program does at start.
    records::RecordDatabase data;
    store::TableCallbacks callbacks;
    callbacks.message = [&ctx](const QString &text) { ctx.err << "etibarix-cli: " << text << Qt::endl; };
    data.table().setCallbacks(std::move(callbacks));
    OpenTable(data.table());
    labels::PrintOutcome outcome;
    try {
        labels::PrintPipeline pipeline(report, data.commandQuery());
        pipeline.setCheckHandler([&ctx](const labels::PrintFindings &findings) {
            warnFindings(ctx, findings);
            return true;
        });
        const labels::PrintDestination destination =
            pdf ? labels::PrintDestination::pdfFile(*pdf) : labels::PrintDestination::printer();
        outcome = testSheet ? pipeline.runTestSheet(settings, destination) : pipeline.run(settings, destination);
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

} // namespace etibarix::cli
