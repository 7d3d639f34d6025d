#include "labels/print/PrintJob.h"

#include "labels/formats/LabelFormats.h"
#include "records/ListStatements.h"

#include <QByteArray>

namespace etibarix::labels {

namespace {

QByteArray slotName(const char *stem, int slot)
{
    return QByteArray(stem) + QByteArray::number(slot);
}

void clearSlots(PrintJobTarget &target, int labelsPerPage)
{
    for (int i = 1; i <= labelsPerPage; ++i) {
        target.setLayoutParam(slotName("cb", i), {});
        target.setLayoutParam(slotName("cbliba", i), {});
        target.setLayoutParam(slotName("cblibb", i), {});
    }
}

// The barcodes of a built-in sheet's layout on its labels. A layout without
// its sheet (none is known for the entry) is not measured.
SlotSymbols layoutSlotSymbols(PrintJobTarget &target, const QByteArray &report,
                              const std::optional<SheetFormat> &sheet, bool fit)
{
    SlotSymbols slots;
    if (!sheet)
        return slots;
    for (int slot = 1; slot <= sheet->slotCount(); ++slot) {
        const std::optional<SlotBarcode> barcode = target.slotBarcode(report, slot);
        if (!barcode) {
            slots.emplace_back();
            continue;
        }
        const QRectF label = sheet->labelRect(slot);
        slots.push_back(SlotSymbol{barcode->moduleMm, barcode->optimize, label.width(),
                                   fit ? label.right() - barcode->leftMm : -1});
    }
    return slots;
}

} // namespace

QByteArray PrintJobStatement(const PrintJobSettings &settings)
{
    return records::PrintStatement(settings.list, settings.allRecords ? records::PrintSelection::AllRecords
                                                                      : records::PrintSelection::MatchingRecords);
}

PrintJobResult PrintLabels(const PrintJobSettings &settings, PrintJobTarget &target, const PrintCheckHandler &check)
{
    PrintJobResult result;
    if (!settings.allRecords)
        records::RefuseQuotedCriteria(settings.list);
    const SheetFormat *custom = settings.customFormat ? &*settings.customFormat : nullptr;
    const QByteArray report = custom ? QByteArrayLiteral("custom") : LabelFormats::ReportName(settings.formatEntry);
    const int perPage = custom ? custom->slotCount() : LabelFormats::LabelsPerPage(settings.formatEntry);
    if (report.isEmpty() || perPage < 1)
        return result;
    // A start outside the sheet starts at its first slot.
    const int start = settings.startSlot >= 1 && settings.startSlot <= perPage ? settings.startSlot : 1;
    // The labels of the built-in sheet, for measuring and shrinking symbols.
    const std::optional<SheetFormat> builtin = custom ? std::nullopt : BuiltinSheet(settings.formatEntry);
    const SheetFormat *sheet = settings.shrinkToFit && builtin ? &*builtin : nullptr;

    target.setLayoutFile(settings.layoutFile);
    target.openLayouts();                         // a read error ends the job here
    const int count = target.openQuery(PrintJobStatement(settings));   // so does a bad statement

    // From here on the query and project are closed whatever happens, so that
    // no removed barcode or filled slot outlives a failed job.
    try {
        if (check && count > 0) {
            PrintChecks checks(custom ? CustomSlotSymbols(*custom, settings.shrinkToFit)
                                      : layoutSlotSymbols(target, report, builtin, settings.shrinkToFit),
                               start, settings.codeSet);
            for (int row = 0; row < count; ++row) {
                checks.check(target.currentRecord());
                target.nextRecord();
            }
            target.firstRecord();
            if (!checks.findings().empty() && !check(checks.findings())) {
                result.declined = true;
                target.closeQuery();
                target.closeLayouts();
                return result;
            }
        }
        int slot = start;
        bool pending = true;
        int labelsOnSheet = 0;
        bool firstSheet = true;
        // A partial sheet loses the barcodes of its empty slots: an empty
        // parameter would still print a start, check and stop pattern. The
        // slots skipped at the start of the first sheet print nothing either.
        const auto printSheet = [&](bool partial) {
            const int firstFilled = firstSheet ? start : 1;
            const int lastFilled = partial ? slot - 1 : perPage;
            target.setTextFonts(report, perPage, settings.menuFontName, settings.menuFontCharset);
            if (partial)
                target.removeEmptySlotBarcodes(report, slot, perPage);
            if (firstSheet && start > 1)
                target.blankSlotBarcodes(report, 1, start - 1);
            if (sheet) {
                for (int k = firstFilled; k <= lastFilled; ++k)
                    target.fitSlotBarcode(report, k, sheet->labelRect(k).right());
            }
            firstSheet = false;
            target.setReportPrinter(report, settings.printerName);
            if (!target.runLabelReport(report))
                return false;
            ++result.sheets;
            result.labels += labelsOnSheet;
            labelsOnSheet = 0;
            return true;
        };

        if (count > 0) {
            clearSlots(target, perPage);
            for (int row = 0; row < count && !result.cancelled; ++row) {
                const PrintRecord record = target.currentRecord();
                const QByteArray t1 = settings.text1 ? record.lib1 : QByteArray();
                const QByteArray t2 = settings.text2 ? record.lib2 : QByteArray();
                for (int copy = 0; copy < record.quantite; ++copy) {
                    pending = true;
                    target.setLayoutParam(slotName("cb", slot), record.cb);
                    target.setLayoutParam(slotName("cbliba", slot), t1);
                    target.setLayoutParam(slotName("cblibb", slot), t2);
                    target.setSlotCodeSet(report, slot, settings.codeSet);
                    ++labelsOnSheet;
                    if (slot == perPage) {
                        if (!printSheet(false)) {
                            result.cancelled = true;
                            break;
                        }
                        slot = 0;
                        clearSlots(target, perPage);
                        pending = false;
                    }
                    ++slot;
                }
                target.nextRecord();
            }
            if (!result.cancelled && pending && !printSheet(true))
                result.cancelled = true;
        }
    } catch (...) {
        target.closeQuery();
        target.closeLayouts();
        throw;
    }
    target.closeQuery();
    target.closeLayouts();
    return result;
}

} // namespace etibarix::labels
