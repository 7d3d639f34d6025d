#pragma once
// The print job's target in the program: the report project of the label
// layouts, the command query, and the sheet sink (printer, PDF file or
// preview pages) that the reports print on.

#include "labels/print/PrintJobTarget.h"

#include <map>

namespace etibarix::store {
class Query;
}

namespace etibarix::labels {

class LabelReport;
class ReportBarCode;
class ReportComponent;
class SheetSink;

class PrintJobProjectTarget : public PrintJobTarget {
public:
    PrintJobProjectTarget(LabelReport &report, store::Query &query, SheetSink &sink);

    void setLayoutFile(const QString &path) override;
    void openLayouts() override;
    void closeLayouts() override;
    void setLayoutParam(const QByteArray &name, const QByteArray &value) override;

    void setSlotCodeSet(const QByteArray &report, int slot, int codeSet) override;
    void setTextFonts(const QByteArray &report, int labelsPerPage, const QString &fontName, int charset) override;
    void removeEmptySlotBarcodes(const QByteArray &report, int first, int last) override;
    void blankSlotBarcodes(const QByteArray &report, int first, int last) override;
    void fitSlotBarcode(const QByteArray &report, int slot, double rightMm) override;
    std::optional<SlotBarcode> slotBarcode(const QByteArray &report, int slot) override;
    void setReportPrinter(const QByteArray &report, const QString &printerName) override;
    bool runLabelReport(const QByteArray &report) override;

    int openQuery(const QByteArray &statement) override;
    PrintRecord currentRecord() override;
    void nextRecord() override;
    void firstRecord() override;
    void closeQuery() override;

private:
    ReportBarCode *slotComponent(const QByteArray &report, int slot) const;

    LabelReport &m_report;
    store::Query &m_query;
    SheetSink &m_sink;
    QString m_printerName;   // the last name given to setReportPrinter
    // The slots blankSlotBarcodes asked for, until the next sheet is printed.
    QByteArray m_blankReport;
    int m_blankFirst = 1;
    int m_blankLast = 0;
    // The layout's module of every barcode fitSlotBarcode narrowed (inches).
    std::map<const ReportComponent *, double> m_layoutModules;
};

} // namespace etibarix::labels
