#include "labels/PrintJob.h"

#include <QByteArray>

#include <optional>
#include <utility>

namespace etibarix::labels {

namespace {

struct Format {
    QByteArray reportName;
    int labelsPerPage = 0;
};

// Report and slot count of label format entry n.
std::optional<Format> formatOf(int n)
{
    static const std::pair<const char *, int> table[] = {
        {"etiquette1", 12}, {"etiquette2", 24}, {"etiquette3", 21}, {"etiquette4", 18},
        {"etiquette5", 24}, {"etiquette6", 21}, {"etiquette7", 18}, {"etiquette8", 15},
        {"etiquette9", 44}, {"etiquette10", 40}, {"etiquette11", 21}, {"etiquette12", 65},
        {"etiquette13", 80},
    };
    if (n < 1 || n > 13)
        return std::nullopt;
    return Format{QByteArray(table[n - 1].first), table[n - 1].second};
}

QByteArray sortText(int column, bool descending)
{
    const QByteArray d = descending ? QByteArrayLiteral(" desc") : QByteArray();
    switch (column) {
    case 0: return QByteArrayLiteral("order by num");
    case 1: return " order by cb " + d;
    case 2: return " order by lib1 " + d;
    case 3: return " order by lib2 " + d;
    case 4: return " order by quantite " + d + " , cb";
    case 5: return " order by topp " + d + " , cb ";
    default: return {};
    }
}

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

} // namespace

QByteArray PrintSelection(const PrintJobSettings &settings)
{
    if (settings.allRecords)
        return QByteArrayLiteral(" where  quantite>0 and length(cb)>0 ");
    QByteArray w = settings.criteria.isEmpty()
        ? QByteArrayLiteral(" where quantite > 0 and length(cb)>0 ")
        : " where " + settings.criteria + " and quantite>0 and length(cb)>0 ";
    return w + ' ' + sortText(settings.sortColumn, settings.sortDescending);
}

QByteArray PrintStatement(const PrintJobSettings &settings)
{
    return "select * from article" + PrintSelection(settings);
}

PrintJobResult PrintLabels(const PrintJobSettings &settings, PrintJobTarget &target)
{
    PrintJobResult result;
    const std::optional<Format> format = formatOf(settings.formatEntry);
    if (!format)
        return result;
    const QByteArray &report = format->reportName;
    const int perPage = format->labelsPerPage;

    target.setLayoutFile(settings.layoutFile);
    target.openLayouts();                         // a read error ends the job here
    const int count = target.openQuery(PrintStatement(settings));   // so does a bad statement

    // From here on the query and project are closed whatever happens, so that
    // no removed barcode or filled slot outlives a failed job.
    try {
        int slot = 1;
        bool pending = true;
        int labelsOnSheet = 0;
        // A partial sheet loses the barcodes of its empty slots: an empty
        // parameter would still print a start, check and stop pattern.
        const auto printSheet = [&](bool partial) {
            target.setTextFonts(report, perPage, settings.menuFontName, settings.menuFontCharset);
            if (partial)
                target.removeEmptySlotBarcodes(report, slot, perPage);
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
